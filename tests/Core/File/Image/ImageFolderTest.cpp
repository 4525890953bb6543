#include "Core/File/ImageFolder.h"
#include "Core/Base/Stream.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileManager.h"
#include "Core/File/FileTestUtil.h"
#include "Core/File/PackBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using file::PsdFolder;

namespace
{

std::unique_ptr<PsdFolder> FromXml(const std::string& xml)
{
    auto folder = std::make_unique<PsdFolder>(L"ui", nullptr);
    folder->Parse(xml.data(), xml.size());
    return folder;
}

std::vector<std::wstring> ListNames(PsdFolder& folder)
{
    std::vector<std::wstring> names;
    for (unsigned i = 0; i < folder.GetImageCount(); ++i)
        names.push_back(folder.GetImageInfo(i)->mName);
    return names;
}

} // namespace

// Each row: a "layers.xml" text and the image names the folder then lists, in order.
TEST(ImageFolder, LayersXmlTable)
{
    struct Case
    {
        const char* what;
        std::string xml;
        std::vector<std::wstring> names;
    } cases[] = {
        {"plain", R"(<Layers><Layer name="a"/><Layer name="b/c"/></Layers>)", {L"a", L"b/c"}},
        {"no name ends the list",
         R"(<Layers><Layer name="a"/><Layer x="3"/><Layer name="b"/></Layers>)",
         {L"a"}},
        {"duplicate listed twice",
         R"(<Layers><Layer name="a" x="1"/><Layer name="a" x="2"/></Layers>)",
         {L"a", L"a"}},
        {"other elements skipped", R"(<Layers><Other name="z"/><Layer name="a"/></Layers>)", {L"a"}},
        {"utf-8 name", "<Layers><Layer name=\"caf\xC3\xA9\"/></Layers>", {L"caf\u00E9"}},
        {"no Layers root", R"(<Root><Layer name="a"/></Root>)", {}},
        {"broken xml", R"(<Layers><Layer name="a"></Layers>)", {}},
        {"empty text", "", {}},
    };
    for (const Case& c : cases)
    {
        auto folder = FromXml(c.xml);
        EXPECT_EQ(ListNames(*folder), c.names) << c.what;
    }
}

TEST(ImageFolder, LayerValues)
{
    auto folder = FromXml(R"(<Layers>
        <Layer name="a" x="1" y="2" width="10" height="20" opacity="128" ind="7"/>
        <Layer name="a" x="99"/>
        <Layer name="bare"/>
        <Layer name="icons/money" width="64" height="64" atlas="icons.png" tu1="0.25" tv1="0.5" tu2="0.75" tv2="1.0"/>
    </Layers>)");
    const base::ImageInfo* a = folder->FindImageInfo(L"a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->mRect[0], 1.0f); // the first of two equal names wins
    EXPECT_EQ(a->mRect[2], 10.0f);
    EXPECT_EQ(a->mRect[3], 20.0f);
    EXPECT_EQ(a->mOpacity, 128);
    EXPECT_EQ(a->mIndex, 7);
    EXPECT_TRUE(a->mVisible);
    EXPECT_FALSE(a->mRaw);
    EXPECT_EQ(folder->GetImageInfo(1), a);
    const base::ImageInfo* bare = folder->FindImageInfo(L"bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->mOpacity, 255);
    EXPECT_EQ(bare->mRect[2], 0.0f);
    const base::ImageInfo* money = folder->FindImageInfo(L"icons/money");
    ASSERT_TRUE(money);
    EXPECT_TRUE(money->mInAtlas);
    EXPECT_EQ(money->mAtlasPath, L"ui/icons.png");
    EXPECT_FLOAT_EQ(money->mAtlasRect[0], 0.25f);
    EXPECT_FLOAT_EQ(money->mAtlasRect[1], 0.0f);
    EXPECT_FLOAT_EQ(money->mAtlasRect[2], 0.5f);
    EXPECT_FLOAT_EQ(money->mAtlasRect[3], 0.5f);
    EXPECT_EQ(folder->GetImageCount(), 4u);
    EXPECT_EQ(folder->GetImageInfo(4), nullptr);
    EXPECT_EQ(folder->GetImageInfo(0xFFFFFFFFu), nullptr);
    EXPECT_EQ(folder->FindImageInfo(L"A"), nullptr);
}

TEST(ImageFolder, ImageScaleTruncates)
{
    file::FileManager::Instance()->mImageScale = 1.5f;
    auto folder = FromXml(R"(<Layers><Layer name="a" x="3" width="10" height="11"/></Layers>)");
    file::FileManager::Instance()->mImageScale = 1.0f;
    const base::ImageInfo* a = folder->FindImageInfo(L"a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->mRect[0], 4.0f);
    EXPECT_EQ(a->mRect[2], 15.0f);
    EXPECT_EQ(a->mRect[3], 16.0f);
}

TEST(ImageFolder, ListingQueries)
{
    auto folder = FromXml(R"(<Layers>
        <Layer name="buttons/ok"/><Layer name="buttons/sub/x"/><Layer name="Buttons/ok"/>
        <Layer name="a/x"/><Layer name="a/y"/><Layer name="b/c/z"/><Layer name="top"/><Layer name="Caps"/>
    </Layers>)");
    struct Case
    {
        std::wstring prefix;
        bool all;
        bool strip;
        std::vector<std::wstring> images;
    } cases[] = {
        {L"Buttons", false, true, {L"ok"}},
        {L"Buttons", true, true, {L"ok", L"sub/x"}},
        {L"buttons/", false, false, {L"buttons/ok"}},
        {L"buttons\\sub", false, true, {L"x"}},
        {L"", false, false, {L"top", L"Caps"}},
        {L"",
         true,
         false,
         {L"buttons/ok", L"buttons/sub/x", L"Buttons/ok", L"a/x", L"a/y", L"b/c/z", L"top", L"Caps"}},
    };
    for (const Case& c : cases)
    {
        std::vector<std::wstring> out;
        EXPECT_EQ(folder->ListImages(c.prefix, c.all, &out, c.strip), VN_OK);
        EXPECT_EQ(out, c.images) << std::string(c.prefix.begin(), c.prefix.end()) << c.all << c.strip;
    }
    std::vector<std::wstring> groups;
    folder->ListGroups(L"", &groups, false);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"Buttons", L"a", L"b", L"buttons"}));
    groups.clear();
    folder->ListGroups(L"BUTTONS", &groups, false);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"sub"}));
    EXPECT_TRUE(folder->HasGroup(L"b"));
    EXPECT_FALSE(folder->HasGroup(L"b/c")); // holds an image, no group
    EXPECT_FALSE(folder->HasGroup(L"b/c/z"));
    EXPECT_FALSE(folder->HasGroup(L"top"));
    EXPECT_TRUE(folder->HasImage(L"TOP"));
    EXPECT_TRUE(folder->HasImage(L"a/x"));
    EXPECT_TRUE(folder->HasImage(L"BUTTONS/OK"));
    EXPECT_FALSE(folder->HasImage(L"Caps")); // lower-cased before the lookup
}

class ImageFolderOnDisk : public filetest::DataRootTest
{
};

TEST_F(ImageFolderOnDisk, FindsImageFilesThroughTheFileLayer)
{
    filetest::WriteBytes(
        "td/ui/layers.xml",
        R"(<Layers><Layer name="btn/ok" width="4"/><Layer name="missing"/>)"
        R"(<Layer name="icon" atlas="sheet.png" tu1="0" tv1="0" tu2="1" tv2="1"/></Layers>)");
    filetest::WriteBytes("td/ui/btn/ok.png", "PNGDATA");
    file::RegisterImageContainers();
    file::FileManager* fm = file::FileManager::Instance();
    std::unique_ptr<file::ImageContainer> ui(fm->OpenImageContainer(L"td/ui"));
    ASSERT_TRUE(ui);
    EXPECT_EQ(ui->GetPath(), L"td/ui/");
    EXPECT_EQ(ui->GetImageCount(), 3u);

    unsigned index = 99;
    std::unique_ptr<file::ImageFileInfo> ok(
        ui->FindImage(L"btn/ok", file::kImageExtensions, file::kImageExtensionCount, &index));
    ASSERT_TRUE(ok);
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(ok->name, L"ok");
    EXPECT_EQ(ok->path, L"btn/ok.png");
    EXPECT_EQ(ok->container, ui.get());
    EXPECT_EQ(ok->mRect[2], 4.0f);
    std::unique_ptr<base::Stream> stream(ok->OpenStream());
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Size(), 7u);

    EXPECT_EQ(ui->FindImage(L"missing", file::kImageExtensions, file::kImageExtensionCount, &index), nullptr);
    EXPECT_EQ(ui->FindImage(L"nothere", file::kImageExtensions, file::kImageExtensionCount, &index), nullptr);
    std::unique_ptr<file::ImageFileInfo> icon(
        ui->FindImage(L"icon", file::kImageExtensions, file::kImageExtensionCount, &index));
    ASSERT_TRUE(icon); // an atlas sub-image has no file of its own
    EXPECT_EQ(icon->path, L"icon");
    EXPECT_EQ(icon->mAtlasPath, L"td/ui/sheet.png");
    EXPECT_TRUE(ui->FileExists(L"btn/ok"));
    EXPECT_FALSE(ui->FileExists(L"missing"));

    std::unique_ptr<file::ImageContainer> none(fm->OpenImageContainer(L"td/nothing"));
    EXPECT_FALSE(none);
}

// The same folder served from the mounted pack once the loose copy is gone: the description and the images
// are read through the archive.
TEST_F(ImageFolderOnDisk, FolderInsideAMountedPack)
{
    filetest::WriteBytes("td/ui/layers.xml", R"(<Layers><Layer name="btn/ok" width="4"/></Layers>)");
    filetest::WriteBytes("td/ui/btn/ok.png", "PNGDATA");
    ASSERT_EQ(file::BuildPack(L"td", L"data.dat"), VN_OK);
    std::filesystem::remove_all("td");
    file::RegisterImageContainers();
    file::FileManager* fm = file::FileManager::Instance();
    fm->mMounts[L"td/"] = L"data.dat";
    std::unique_ptr<file::ImageContainer> ui(fm->OpenImageContainer(L"td/ui"));
    ASSERT_TRUE(ui);
    ASSERT_EQ(ui->GetImageCount(), 1u);
    std::unique_ptr<file::ImageFileInfo> ok(
        ui->FindImage(L"btn/ok", file::kImageExtensions, file::kImageExtensionCount, nullptr));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->mRect[2], 4.0f);
    std::unique_ptr<base::Stream> stream(ok->OpenStream());
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->Size(), 7u);
}

TEST_F(ImageFolderOnDisk, UnreadableDescriptionLeavesFolderEmpty)
{
    filetest::WriteBytes("td/empty/other.txt", "x");
    filetest::WriteBytes("td/bad/layers.xml", "<Layers><Layer name=");
    file::RegisterImageContainers();
    for (const wchar_t* name : {L"td/empty", L"td/bad"})
    {
        std::unique_ptr<file::ImageContainer> c(file::FileManager::Instance()->OpenImageContainer(name));
        ASSERT_TRUE(c);
        EXPECT_EQ(c->GetImageCount(), 0u);
        EXPECT_EQ(c->GetImageInfo(0), nullptr);
        EXPECT_EQ(c->FindImageInfo(L"a"), nullptr);
    }
}
