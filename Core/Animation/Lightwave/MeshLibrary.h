#pragma once

#include "Core/Base/AABB.h"
#include "Core/Base/Result.h"
#include "Core/Render/VertexFormat.h"
#include "Core/Resource/Resource.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace base
{
class Stream;
}
namespace render
{
class Image;
class Render;
} // namespace render

namespace lightwave
{

// Trailer values a mesh library may end with.
inline constexpr uint32_t kMeshLibraryTrailer = 2012;
inline constexpr uint32_t kMeshLibraryOldTrailer = 2011;

// One textured triangle mesh: a range of the library's shared index and vertex arrays.
struct Mesh
{
    std::string name;
    std::wstring textureName;
    uint32_t firstLocalIndex = 0;
    uint32_t indexCount = 0;
    // Indices local to this mesh's vertices, pointing into the library's index array.
    const uint32_t* indices = nullptr;
    uint32_t vertexCount = 0;
    const render::SVertex2D* vertices = nullptr;
    math::AABB box;
    // Shared from the library's texture map.
    render::Image* texture = nullptr;
};

// A ".lib" file of meshes sharing one index array and one vertex array; textures come from "images/" beside
// it.
class MeshLibrary : public resource::Resource
{
public:
    MeshLibrary() = default;
    ~MeshLibrary() override;

    VNResultEnum Release() override;

    // The first mesh of that name, or null.
    const Mesh* FindMesh(const std::string& name) const;
    // The renderer that loads the textures; set before loading.
    void SetRender(render::Render* render) { mRender = render; }
    render::Render* GetRender() const { return mRender; }

    // Reads the arrays and meshes (no textures) and checks every index against its mesh's vertex range; on
    // failure nothing read is kept.
    VNResultEnum Read(base::Stream& stream);
    // Loads each texture named by a mesh from folder + name (forward slashes) and hands it to its meshes.
    VNResultEnum ResolveTextures(const std::wstring& folder);

    const std::vector<uint32_t>& GetIndices() const { return mIndices; }
    const std::vector<render::SVertex2D>& GetVertices() const { return mVertices; }
    const std::vector<Mesh>& GetMeshes() const { return mMeshes; }
    const std::map<std::wstring, render::Image*>& GetTextures() const { return mTextures; }

protected:
    // One texture through the renderer (no image container).
    virtual VNResultEnum LoadTexture(const std::wstring& path, render::Image** out);
    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;

private:
    VNResultEnum Parse(base::Stream& stream);
    void Clear();

    std::vector<uint32_t> mIndices;
    std::vector<render::SVertex2D> mVertices;
    std::vector<Mesh> mMeshes;
    std::map<std::wstring, render::Image*> mTextures; // owned
    render::Render* mRender = nullptr;
};

// What a mesh of a written library holds: its vertices (x, y, z, u, v) and one-based indices into them.
struct MeshSource
{
    std::string name;
    std::string textureName;
    std::vector<float> vertices;   // 5 floats per vertex
    std::vector<uint32_t> indices; // zero-based within this mesh's own vertices
};

// The bytes of a ".lib" file holding these meshes, their arrays laid one after another.
std::string WriteMeshLibrary(const std::vector<MeshSource>& meshes, uint32_t trailer = kMeshLibraryTrailer);

} // namespace lightwave
