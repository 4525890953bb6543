#include "Core/Animation/Lightwave/MeshLibrary.h"
#include "Core/Animation/BinaryWriter.h"

#include "Core/Animation/BinaryReader.h"
#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"

#include <cstring>
#include <memory>

namespace lightwave
{

namespace
{

// Bytes of a stored vertex and of the fixed part of a mesh record (two empty strings and four counts).
constexpr unsigned kFileVertexSize = 20;
constexpr unsigned kMinMeshRecordSize = 24;

// Texture names are 8-bit text taken byte for byte.
std::wstring WidenBytes(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

VNResultEnum Refuse(const std::wstring& name, const wchar_t* why)
{
    base::LogMessage(*base::MainLog::Instance(), L"Mesh library '%s' refused: %s\n") % name % why;
    return VN_FAIL;
}

} // namespace

MeshLibrary::~MeshLibrary()
{
    Clear();
}

VNResultEnum MeshLibrary::Release()
{
    return resource::ResourceManager::Instance()->Release<MeshLibrary>(this);
}

const Mesh* MeshLibrary::FindMesh(const std::string& name) const
{
    for (const Mesh& mesh : mMeshes)
    {
        if (mesh.name == name)
            return &mesh;
    }
    return nullptr;
}

void MeshLibrary::Clear()
{
    mMeshes.clear();
    mIndices.clear();
    mVertices.clear();
    for (auto& entry : mTextures)
        delete entry.second;
    mTextures.clear();
}

VNResultEnum MeshLibrary::Read(base::Stream& stream)
{
    Clear();
    const VNResultEnum result = Parse(stream);
    if (result != VN_OK)
        Clear();
    return result;
}

VNResultEnum MeshLibrary::Parse(base::Stream& stream)
{
    animation::BinaryReader in(stream);

    uint32_t indexCount = 0;
    if (!in.U32(indexCount) || !in.Fits(indexCount, 4))
        return Refuse(mName, L"index count");
    mIndices.resize(indexCount);
    for (uint32_t& index : mIndices)
    {
        if (!in.U32(index))
            return Refuse(mName, L"indices");
    }

    uint32_t vertexCount = 0;
    if (!in.U32(vertexCount) || !in.Fits(vertexCount, kFileVertexSize))
        return Refuse(mName, L"vertex count");
    mVertices.resize(vertexCount);
    for (render::SVertex2D& vertex : mVertices)
    {
        float f[5];
        for (float& value : f)
        {
            if (!in.F32(value))
                return Refuse(mName, L"vertices");
        }
        vertex = render::SVertex2D{f[0], f[1], f[2], 1.0f, 0xFFFFFFFFu, 0xFFFFFFFFu, f[3], 1.0f - f[4]};
    }

    uint32_t meshCount = 0;
    if (!in.U32(meshCount) || !in.Fits(meshCount, kMinMeshRecordSize))
        return Refuse(mName, L"mesh count");
    mMeshes.reserve(meshCount);
    // Indices are rebased in place, so two meshes sharing index entries would rebase them twice.
    std::vector<bool> claimed(indexCount, false);
    for (uint32_t m = 0; m < meshCount; ++m)
    {
        Mesh mesh;
        std::string texture;
        uint32_t firstVertex = 0;
        uint32_t meshVertices = 0;
        uint32_t firstIndex = 0;
        uint32_t meshIndices = 0;
        if (!in.String(mesh.name) || !in.String(texture) || !in.U32(firstVertex) || !in.U32(meshVertices) ||
            !in.U32(firstIndex) || !in.U32(meshIndices))
            return Refuse(mName, L"mesh record");
        if (uint64_t(firstVertex) + meshVertices > vertexCount ||
            uint64_t(firstIndex) + meshIndices > indexCount)
            return Refuse(mName, L"mesh range outside the arrays");

        mesh.textureName = WidenBytes(texture);
        mTextures.emplace(mesh.textureName, nullptr);
        mesh.box.Clear();
        for (uint32_t i = firstIndex; i < firstIndex + meshIndices; ++i)
        {
            // Stored indices are one-based positions in the shared vertex array and must address this mesh's
            // own vertices.
            const uint32_t stored = mIndices[i];
            if (claimed[i] || stored <= firstVertex || stored - 1 - firstVertex >= meshVertices)
                return Refuse(mName, L"index outside its mesh");
            claimed[i] = true;
            const render::SVertex2D& v = mVertices[stored - 1];
            mesh.box.Extend(math::Point3(v.x, v.y, v.z));
            mIndices[i] = stored - (firstVertex + 1);
        }
        mesh.indexCount = meshIndices;
        mesh.indices = mIndices.data() + firstIndex;
        mesh.vertexCount = meshVertices;
        mesh.vertices = mVertices.data() + firstVertex;
        mMeshes.push_back(std::move(mesh));
    }

    uint32_t trailer = 0;
    if (!in.U32(trailer) || (trailer != kMeshLibraryTrailer && trailer != kMeshLibraryOldTrailer))
        return Refuse(mName, L"trailer");
    return VN_OK;
}

VNResultEnum MeshLibrary::ResolveTextures(const std::wstring& folder)
{
    for (auto& entry : mTextures)
    {
        if (entry.second)
            continue;
        render::Image* image = nullptr;
        const VNResultEnum result = LoadTexture(folder + base::ToForwardSlashes(entry.first), &image);
        if (result != VN_OK)
        {
            delete image;
            return result;
        }
        entry.second = image;
    }
    for (Mesh& mesh : mMeshes)
    {
        const auto it = mTextures.find(mesh.textureName);
        if (it == mTextures.end() || !it->second)
            return VN_FAIL;
        mesh.texture = it->second;
    }
    return VN_OK;
}

VNResultEnum MeshLibrary::LoadTexture(const std::wstring& path, render::Image** out)
{
    if (!mRender)
        return Refuse(mName, L"no renderer for its textures");
    return mRender->LoadTexture(path, nullptr, out, nullptr);
}

VNResultEnum MeshLibrary::DoLoad()
{
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->FindFile(mName));
    if (!info)
        return Refuse(mName, L"no such file");
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    if (!stream)
        return Refuse(mName, L"cannot open");
    VNResultEnum result = Read(*stream);
    if (result == VN_OK)
        result = ResolveTextures(base::GetDirectoryWithoutDrive(mName) + L"images/");
    // A failed load is never unloaded: keep nothing of it.
    if (result != VN_OK)
        Clear();
    return result;
}

VNResultEnum MeshLibrary::DoUnload()
{
    Clear();
    return VN_OK;
}

using animation::PutF32;
using animation::PutString;
using animation::PutU32;

std::string WriteMeshLibrary(const std::vector<MeshSource>& meshes, uint32_t trailer)
{
    std::string out;
    uint32_t totalIndices = 0;
    for (const MeshSource& mesh : meshes)
        totalIndices += static_cast<uint32_t>(mesh.indices.size());
    PutU32(out, totalIndices);
    uint32_t firstVertex = 0;
    for (const MeshSource& mesh : meshes)
    {
        for (const uint32_t local : mesh.indices)
            PutU32(out, firstVertex + local + 1);
        firstVertex += static_cast<uint32_t>(mesh.vertices.size() / 5);
    }
    PutU32(out, firstVertex);
    for (const MeshSource& mesh : meshes)
    {
        for (size_t i = 0; i + 5 <= mesh.vertices.size(); i += 5)
            for (size_t k = 0; k < 5; ++k)
                PutF32(out, mesh.vertices[i + k]);
    }
    PutU32(out, static_cast<uint32_t>(meshes.size()));
    firstVertex = 0;
    uint32_t firstIndex = 0;
    for (const MeshSource& mesh : meshes)
    {
        const uint32_t vertices = static_cast<uint32_t>(mesh.vertices.size() / 5);
        const uint32_t indices = static_cast<uint32_t>(mesh.indices.size());
        PutString(out, mesh.name);
        PutString(out, mesh.textureName);
        PutU32(out, firstVertex);
        PutU32(out, vertices);
        PutU32(out, firstIndex);
        PutU32(out, indices);
        firstVertex += vertices;
        firstIndex += indices;
    }
    PutU32(out, trailer);
    return out;
}

} // namespace lightwave
