#include "Core/File/FileManager.h"
#include "Core/File/FileTestUtil.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image/ImageTestUtil.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/ResourceTexture.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using resource::ResourceTexture;

namespace
{

std::string Str(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class ResourceTextureTest : public filetest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        render::RenderInitParam param;
        param.mWidth = 64;
        param.mHeight = 64;
        ASSERT_EQ(render.InitRender(nullptr, param), VN_OK);
        file::RegisterImageContainers();
    }

    CountedHandle<ResourceTexture> Get(const std::wstring& name, file::ImageContainer* source = nullptr,
                                       const std::wstring& image = L"")
    {
        auto t = resource::ResourceManager::Instance()->Get<ResourceTexture>(name);
        t->SetRender(&render);
        if (source)
            t->SetSource(source, image);
        return t;
    }

    render::RecordingRender render;
};

} // namespace

TEST_F(ResourceTextureTest, LooseFilesDecodeIntoTexturesAndGiveThemBack)
{
    filetest::WriteBytes("td/pic.tga",
                         Str(render::test::MakeTGA(2, 3, {0xFF000000, 0, 0, 0, 0, 0xFF00FF00}, true)));
    const size_t before = render.GetTextures().size();
    {
        auto t = Get(L"td/pic");
        ASSERT_EQ(t->Load(), VN_OK);
        EXPECT_EQ(t->mRect[2], 2.0f);
        EXPECT_EQ(t->mRect[3], 3.0f);
        render::Texture* device = t->GetDeviceTexture();
        ASSERT_TRUE(device);
        EXPECT_EQ(device->GetWidth(), 2u);
        EXPECT_TRUE(device->HitTest(0, 0));
        EXPECT_FALSE(device->HitTest(1, 0));
        EXPECT_TRUE(device->HitTest(1, 2));
        EXPECT_EQ(render.GetTextures().size(), before + 1);
    }
    EXPECT_EQ(render.GetTextures().size(), before); // the last handle unloaded and freed it
}

TEST_F(ResourceTextureTest, MissingAndDamagedImagesAreRefused)
{
    auto dds = render::test::MakeDDS(4, 4, 1, "", std::vector<uint8_t>(64, 0xFF));
    dds.resize(dds.size() - 1);
    filetest::WriteBytes("td/short.dds", Str(dds));
    filetest::WriteBytes("td/junk.png", "not an image at all");
    const size_t before = render.GetTextures().size();
    for (const wchar_t* name : {L"td/none", L"td/short", L"td/junk"})
    {
        auto t = Get(name);
        EXPECT_EQ(t->Load(), VN_FAIL);
        EXPECT_FALSE(t->IsLoaded());
        EXPECT_EQ(t->GetDeviceTexture(), nullptr);
    }
    EXPECT_EQ(render.GetTextures().size(), before);
}

TEST_F(ResourceTextureTest, FolderImagesAndAtlasSubImages)
{
    filetest::WriteBytes(
        "td/ui/layers.xml",
        R"(<Layers><Layer name="btn" x="5" y="6" width="40" height="30"/>)"
        R"(<Layer name="icon" width="2" height="2" atlas="sheet.tga" tu1="0.5" tv1="0.5" tu2="1" tv2="1"/>)"
        R"(</Layers>)");
    filetest::WriteBytes("td/ui/btn.tga",
                         Str(render::test::MakeTGA(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF), true)));
    filetest::WriteBytes("td/ui/sheet.tga",
                         Str(render::test::MakeTGA(4, 4, std::vector<uint32_t>(16, 0xFF0000FF), true)));
    std::unique_ptr<file::ImageContainer> ui(file::FileManager::Instance()->OpenImageContainer(L"td/ui"));
    ASSERT_TRUE(ui);
    auto btn = Get(L"td/ui/btn", ui.get(), L"btn");
    ASSERT_EQ(btn->Load(), VN_OK);
    EXPECT_EQ(btn->mRect[0], 5.0f); // the layout's rectangle, not the file's size
    EXPECT_EQ(btn->mRect[2], 40.0f);
    ASSERT_TRUE(btn->GetDeviceTexture());
    EXPECT_EQ(btn->GetDeviceTexture()->GetWidth(), 4u);

    auto icon = Get(L"td/ui/icon", ui.get(), L"icon");
    ASSERT_EQ(icon->Load(), VN_OK);
    EXPECT_EQ(icon->GetTexture(), nullptr); // drawn from the atlas
    ASSERT_TRUE(icon->GetAtlas().Get());
    EXPECT_TRUE(icon->GetAtlas()->IsLoaded());
    EXPECT_EQ(icon->GetDeviceTexture(), icon->GetAtlas()->GetTexture());
    EXPECT_FLOAT_EQ(icon->mAtlasRect[0], 0.5f);
    EXPECT_FLOAT_EQ(icon->mAtlasRect[1], 0.0f);

    auto missing = Get(L"td/ui/none", ui.get(), L"none");
    EXPECT_EQ(missing->Load(), VN_FAIL);
}
