#include "Core/Animation/AnimData.h"
#include "Core/Animation/Lightwave/MeshLibrary.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Resource/ResourceManager.h"

#include "Core/Animation/AnimTestUtil.h"

#include <gtest/gtest.h>

using lightwave::MeshLibrary;
using lightwave::MeshSource;

namespace
{

// A library whose textures are only written down.
class NoteTextures : public MeshLibrary
{
public:
    VNResultEnum LoadTexture(const std::wstring& path, render::Image** out) override
    {
        loaded.push_back(path);
        if (path.find(L"missing") != std::wstring::npos)
            return VN_FAIL;
        *out = new render::Image();
        return VN_OK;
    }
    std::vector<std::wstring> loaded;
};

// Three meshes: a lone vertex padding the arrays, a triangle and a quad that share one texture.
std::vector<MeshSource> Sources()
{
    MeshSource pad{"pad", "pad.png", {9, 9, 9, 0, 0}, {}};
    MeshSource pad2{"pad2", "pad.png", {9, 9, 9, 0, 0, 9, 9, 9, 0, 0, 9, 9, 9, 0, 0}, {}};
    MeshSource tri{"tri", "sub\\tri.png", {1, 2, 3, 0.25f, 0.25f, 4, 0, 0, 1, 0, -1, 5, -2, 0, 1}, {0, 1, 2}};
    MeshSource quad{
        "quad", "pad.png", {0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 0, 0, 1}, {0, 1, 2, 0, 2, 3}};
    return {pad, pad2, tri, quad};
}

VNResultEnum ReadBytes(MeshLibrary& library, const std::string& bytes)
{
    base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
    return library.Read(stream);
}

void PutU32(std::string& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

TEST(MeshLibrary, ReadsVerticesIndicesAndBoxes)
{
    MeshLibrary library;
    ASSERT_EQ(ReadBytes(library, lightwave::WriteMeshLibrary(Sources())), VN_OK);
    ASSERT_EQ(library.GetVertices().size(), 11u);
    ASSERT_EQ(library.GetMeshes().size(), 4u);

    const lightwave::Mesh* tri = library.FindMesh("tri");
    ASSERT_NE(tri, nullptr);
    // First vertex 4, stored indices 5, 6, 7: local 0, 1, 2 over vertices 4..6.
    EXPECT_EQ(tri->vertices, library.GetVertices().data() + 4);
    ASSERT_EQ(tri->indexCount, 3u);
    EXPECT_EQ(std::vector<uint32_t>(tri->indices, tri->indices + 3), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(tri->textureName, L"sub\\tri.png");
    // Vertices (1, 2, 3), (4, 0, 0) and (-1, 5, -2).
    EXPECT_EQ(tri->box.mMin.x, -1.0f);
    EXPECT_EQ(tri->box.mMin.y, 0.0f);
    EXPECT_EQ(tri->box.mMin.z, -2.0f);
    EXPECT_EQ(tri->box.mMax.x, 4.0f);
    EXPECT_EQ(tri->box.mMax.y, 5.0f);
    EXPECT_EQ(tri->box.mMax.z, 3.0f);

    const render::SVertex2D& v = tri->vertices[0];
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(v.y, 2.0f);
    EXPECT_EQ(v.z, 3.0f);
    EXPECT_EQ(v.w, 1.0f);
    EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(v.specular, 0xFFFFFFFFu);
    EXPECT_EQ(v.u, 0.25f);
    EXPECT_EQ(v.v, 0.75f);

    const lightwave::Mesh* quad = library.FindMesh("quad");
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(quad->indices, quad->indices + 6),
              (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(library.FindMesh("qua"), nullptr);
    EXPECT_EQ(library.GetTextures().size(), 2u);
}

TEST(MeshLibrary, TrailerValues)
{
    const struct
    {
        uint32_t trailer;
        VNResultEnum result;
    } cases[] = {{2012, VN_OK}, {2011, VN_OK}, {2013, VN_FAIL}, {0, VN_FAIL}};
    for (const auto& c : cases)
    {
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, lightwave::WriteMeshLibrary(Sources(), c.trailer)), c.result)
            << c.trailer;
    }
}

TEST(MeshLibrary, DamagedFilesAreRefusedAndKeepNothing)
{
    const std::string full = lightwave::WriteMeshLibrary(Sources());
    for (size_t length = 0; length < full.size(); ++length)
    {
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, full.substr(0, length)), VN_FAIL) << length;
        EXPECT_TRUE(library.GetMeshes().empty() && library.GetVertices().empty() &&
                    library.GetIndices().empty());
    }

    // Indices: 9 of them first (tri 3, quad 6); tri's first stored index is at byte 4.
    const size_t vertexCountAt = 4 + 9 * 4;
    const size_t meshCountAt = vertexCountAt + 4 + 11 * 20;
    const struct
    {
        const char* what;
        size_t at;
        uint32_t value;
    } damage[] = {
        {"index count beyond the file", 0, 0xFFFFFFFFu},
        {"vertex count beyond the file", vertexCountAt, 0x40000000u},
        {"mesh count beyond the file", meshCountAt, 0xFFFFFFFFu},
        {"index zero (one-based)", 4, 0},
        {"index past the vertex array", 4, 12},
        {"index into another mesh's vertices", 4, 1},
        {"index just past its own mesh", 8, 8},
    };
    for (const auto& d : damage)
    {
        std::string bytes = full;
        PutU32(bytes, d.at, d.value);
        MeshLibrary library;
        EXPECT_EQ(ReadBytes(library, bytes), VN_FAIL) << d.what;
    }
}

TEST(MeshLibrary, MeshRangesOutsideTheArraysOrSharedAreRefused)
{
    // Two meshes claiming the same index entries would be rebased twice.
    std::string shared;
    {
        std::vector<MeshSource> two = {{"a", "t.png", {0, 0, 0, 0, 0, 1, 1, 1, 0, 0}, {0, 1}}};
        shared = lightwave::WriteMeshLibrary(two);
        // Append a second mesh record over the same ranges: rewrite the mesh count and add the record.
        const size_t meshCountAt = 4 + 2 * 4 + 4 + 2 * 20;
        PutU32(shared, meshCountAt, 2);
        std::string record = shared.substr(meshCountAt + 4, shared.size() - meshCountAt - 8);
        shared.insert(shared.size() - 4, record);
    }
    MeshLibrary library;
    EXPECT_EQ(ReadBytes(library, shared), VN_FAIL);

    // A record whose first index plus count runs past the index array.
    std::string past = lightwave::WriteMeshLibrary({{"a", "t.png", {0, 0, 0, 0, 0}, {0}}});
    PutU32(past, past.size() - 8, 0xFFFFFFFFu); // index count of the only record
    EXPECT_EQ(ReadBytes(library, past), VN_FAIL);
    std::string vertexPast = lightwave::WriteMeshLibrary({{"a", "t.png", {0, 0, 0, 0, 0}, {0}}});
    PutU32(vertexPast, vertexPast.size() - 20, 0xFFFFFFFFu); // first vertex
    EXPECT_EQ(ReadBytes(library, vertexPast), VN_FAIL);
}

TEST(MeshLibrary, TexturesResolvedOncePerNameWithForwardSlashes)
{
    NoteTextures library;
    ASSERT_EQ(ReadBytes(library, lightwave::WriteMeshLibrary(Sources())), VN_OK);
    ASSERT_EQ(library.ResolveTextures(L"td/data/anim/images/"), VN_OK);
    EXPECT_EQ(library.loaded, (std::vector<std::wstring>{L"td/data/anim/images/pad.png",
                                                         L"td/data/anim/images/sub/tri.png"}));
    EXPECT_NE(library.FindMesh("quad")->texture, nullptr);
    EXPECT_EQ(library.FindMesh("quad")->texture, library.FindMesh("pad")->texture);
    EXPECT_NE(library.FindMesh("tri")->texture, library.FindMesh("pad")->texture);

    NoteTextures failing;
    ASSERT_EQ(ReadBytes(failing, lightwave::WriteMeshLibrary({{"m", "missing.png", {0, 0, 0, 0, 0}, {0}}})),
              VN_OK);
    EXPECT_EQ(failing.ResolveTextures(L"images/"), VN_FAIL);
}

TEST(MeshLibrary, AnimationRecordsFindTheirMeshes)
{
    test::ScratchRoot root;
    render::RecordingRender render;
    root.Write("td/anim/shapes.lib", lightwave::WriteMeshLibrary(Sources()));
    animation::LayerRecord withMesh = test::FadeRecord(test::Constant(0), "shapes", "quad");
    animation::LayerRecord second = test::FadeRecord(test::Constant(0), "shapes", "tri");
    animation::LayerRecord noMesh = test::FadeRecord(test::Constant(0), "shapes", "null");
    root.Write("td/anim/ok.anim", animation::WriteAnimData("ok", 0, 1, {withMesh, second, noMesh}));
    animation::LayerRecord wrongMesh = test::FadeRecord(test::Constant(0), "shapes", "nothing");
    root.Write("td/anim/wrong_mesh.anim", animation::WriteAnimData("bad", 0, 1, {wrongMesh}));
    animation::LayerRecord wrongLib = test::FadeRecord(test::Constant(0), "absent", "quad");
    root.Write("td/anim/wrong_lib.anim", animation::WriteAnimData("bad", 0, 1, {wrongLib}));

    auto* manager = resource::ResourceManager::Instance();
    // The library the animation asks for is one whose textures are only written down: put it in the manager's
    // map under the path the animation will request.
    auto* library = new NoteTextures();
    ASSERT_EQ(library->SetName(L"td/anim/shapes.lib"), VN_OK);
    manager->GetMap<MeshLibrary>().emplace(L"td/anim/shapes.lib", std::make_pair(library, new int(0)));
    {
        auto anim = manager->Get<animation::AnimData>(L"td/anim/ok.anim");
        anim->SetRender(&render);
        ASSERT_EQ(anim->Load(), VN_OK);
        const auto& records = anim->GetRecords();
        ASSERT_NE(records[0]->mesh, nullptr);
        EXPECT_EQ(records[0]->mesh->name, "quad");
        EXPECT_EQ(records[1]->mesh->name, "tri");
        EXPECT_EQ(records[2]->mesh, nullptr);
        // One library shared by both records, given the animation's renderer, textures from "images/" beside
        // it.
        EXPECT_TRUE(library->IsLoaded());
        EXPECT_EQ(library->GetRender(), &render);
        EXPECT_EQ(library->loaded,
                  (std::vector<std::wstring>{L"td/anim/images/pad.png", L"td/anim/images/sub/tri.png"}));
    }
    // The animation's last handle gave the library back.
    EXPECT_EQ(manager->GetMap<MeshLibrary>().size(), 0u);

    for (const wchar_t* path : {L"td/anim/wrong_mesh.anim", L"td/anim/wrong_lib.anim"})
    {
        // A library that loads, so the missing mesh (or the missing library file) is what fails.
        auto* again = new NoteTextures();
        ASSERT_EQ(again->SetName(L"td/anim/shapes.lib"), VN_OK);
        manager->GetMap<MeshLibrary>().emplace(L"td/anim/shapes.lib", std::make_pair(again, new int(0)));
        auto anim = manager->Get<animation::AnimData>(path);
        anim->SetRender(&render);
        EXPECT_EQ(anim->Load(), VN_FAIL) << path;
        EXPECT_TRUE(anim->GetRecords().empty());
        // The refused animation handed its library back; drop the unused stand-in too.
        auto& map = manager->GetMap<MeshLibrary>();
        if (auto it = map.find(L"td/anim/shapes.lib"); it != map.end())
        {
            EXPECT_EQ(*it->second.second, 0) << path;
            delete it->second.first;
            delete it->second.second;
            map.erase(it);
        }
    }
    EXPECT_EQ(manager->GetMap<MeshLibrary>().size(), 0u);
}
