#include "Core/File/PsdFile.h"
#include "Core/Base/Stream.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileManager.h"
#include "Core/File/FileTestUtil.h"
#include "Core/File/ReadFile.h"
#include "Core/Psd/Psd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

struct LayerSpec
{
    int type;
    const char* name;
    int left, top, width, height;
    uint8_t opacity;
    bool pixels;
};

// A decoded document as the decoder hands it out (its memory is freed by psdr_free), layers bottom first.
psdr_document* MakeDocument(const std::vector<LayerSpec>& specs)
{
    auto* doc = static_cast<psdr_document*>(std::calloc(1, sizeof(psdr_document)));
    doc->layer_count = static_cast<int16_t>(specs.size());
    doc->layers = static_cast<psdr_layer*>(std::calloc(specs.size(), sizeof(psdr_layer)));
    for (size_t i = 0; i < specs.size(); ++i)
    {
        psdr_layer& l = doc->layers[i];
        const LayerSpec& s = specs[i];
        l.type = s.type;
        std::strncpy(l.name, s.name, sizeof(l.name) - 1);
        l.left = s.left;
        l.top = s.top;
        l.width = s.width;
        l.height = s.height;
        l.opacity = s.opacity;
        if (s.pixels && s.width > 0 && s.height > 0)
        {
            const size_t n = static_cast<size_t>(s.width) * static_cast<size_t>(s.height);
            l.pixels = static_cast<uint32_t*>(std::malloc(n * 4));
            for (size_t p = 0; p < n; ++p)
                l.pixels[p] = 0xFF000000u | static_cast<uint32_t>(i << 8) | static_cast<uint32_t>(p);
        }
    }
    return doc;
}

} // namespace

TEST(PsdFile, LayerNamesIndicesAndMarkers)
{
    file::PsdFile psd(L"menu.psd", nullptr);
    psd.Adopt(MakeDocument({
        {0, "background", 0, 0, 4, 2, 255, true}, // record 0 becomes an image too
        {1, "</Layer group>", 0, 0, 0, 0, 255, false},
        {0, "ok", 5, 6, 2, 2, 200, true},
        {0, "hit|box", 1, 2, 30, 40, 255, true},
        {2, "button", 0, 0, 0, 0, 255, false},
        {0, "pivot|center", 10, 20, 40, 11, 255, true},
        {0, "empty", 0, 0, 3, 2, 255, false},
        {0, "ok", 9, 9, 1, 1, 255, true}, // same full name as no other: top level
    }));
    std::vector<std::wstring> names;
    for (unsigned i = 0; i < 7; ++i)
        if (const base::ImageInfo* info = psd.GetImageInfo(i))
            names.push_back(info->mName);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"ok", L"empty", L"pivot|center", L"button/hit|box",
                                                L"button/ok", L"background"}));
    EXPECT_EQ(psd.GetImageCount(), 6u);
    EXPECT_EQ(psd.GetImageInfo(6), nullptr);

    const base::ImageInfo* ok = psd.FindImageInfo(L"button/ok");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->mIndex, 2);
    EXPECT_EQ(ok->mOpacity, 200);
    EXPECT_TRUE(ok->mRaw);
    EXPECT_TRUE(ok->mVisible);
    EXPECT_EQ(ok->mRect[0], 5.0f);
    EXPECT_EQ(ok->mRect[1], 6.0f);
    const base::ImageInfo* box = psd.FindImageInfo(L"button/hit|box");
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->mVisible);
    EXPECT_EQ(box->mRect[2], 30.0f);
    const base::ImageInfo* pivot = psd.FindImageInfo(L"pivot|center");
    ASSERT_TRUE(pivot);
    EXPECT_FALSE(pivot->mVisible);
    EXPECT_EQ(pivot->mRect[0], 30.0f);
    EXPECT_EQ(pivot->mRect[1], 25.0f);
    EXPECT_EQ(pivot->mRect[2], 0.0f);
    const base::ImageInfo* background = psd.FindImageInfo(L"background");
    ASSERT_TRUE(background);
    EXPECT_EQ(background->mIndex, 0);

    // Pixels as a stream; a layer without decoded pixels reads as transparent pixels of its size.
    std::unique_ptr<base::Stream> px(psd.OpenStream(L"button/ok"));
    ASSERT_TRUE(px);
    ASSERT_EQ(px->Size(), 16u);
    uint32_t first = 0;
    ASSERT_EQ(px->Read(&first, 4), 4u);
    EXPECT_EQ(first, 0xFF000200u);
    std::unique_ptr<base::Stream> empty(psd.OpenStream(L"empty"));
    ASSERT_TRUE(empty);
    ASSERT_EQ(empty->Size(), 24u);
    std::vector<uint8_t> zeros(24, 0xAB);
    ASSERT_EQ(empty->Read(zeros.data(), 24), 24u);
    EXPECT_EQ(zeros, std::vector<uint8_t>(24, 0));
    EXPECT_EQ(psd.OpenStream(L"nothing"), nullptr);

    unsigned index = 99;
    std::unique_ptr<file::ImageFileInfo> found(
        psd.FindImage(L"button/ok", file::kImageExtensions, file::kImageExtensionCount, &index));
    ASSERT_TRUE(found);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(found->name, L"ok");
    EXPECT_EQ(found->path, L"button/ok");
    EXPECT_EQ(found->packed, 1);
    EXPECT_EQ(psd.FindImage(L"nothing", nullptr, 0, nullptr), nullptr);

    std::vector<std::wstring> listed;
    EXPECT_EQ(psd.ListImages(L"", true, &listed, false), VN_OK);
    EXPECT_TRUE(listed.empty());
    EXPECT_FALSE(psd.HasImage(L"ok"));
}

TEST(PsdFile, UnbalancedGroupEndIsHarmless)
{
    file::PsdFile psd(L"x.psd", nullptr);
    psd.Adopt(MakeDocument({{0, "a", 0, 0, 1, 1, 255, true}, {1, "end", 0, 0, 0, 0, 255, false}}));
    ASSERT_EQ(psd.GetImageCount(), 1u);
    EXPECT_EQ(psd.GetImageInfo(0)->mName, L"a");
}

class PsdFileOnDisk : public filetest::DataRootTest
{
};

TEST_F(PsdFileOnDisk, LoadsThroughTheFileLayerOrStaysEmpty)
{
    const std::string real = filetest::ReadBytes(std::string(CORV_TESTDATA_DIR) + "/psd/hidden-layer.psd");
    ASSERT_FALSE(real.empty());
    filetest::WriteBytes("td/layouts/real.psd", real);
    filetest::WriteBytes("td/layouts/broken.psd", real.substr(0, real.size() / 3));
    filetest::WriteBytes("td/layouts/junk.psd", "not a document");
    // Sparse: a document size no reader should try to hold in memory.
    filetest::WriteBytes("td/layouts/huge.psd", real);
    std::filesystem::resize_file("td/layouts/huge.psd", file::kMaxWholeFileSize + 1ull);
    file::RegisterImageContainers();
    file::FileManager* fm = file::FileManager::Instance();
    std::unique_ptr<file::ImageContainer> psd(fm->OpenImageContainer(L"td/layouts/real"));
    ASSERT_TRUE(psd);
    EXPECT_EQ(psd->GetPath(), L"td/layouts/real.psd/");
    ASSERT_GT(psd->GetImageCount(), 0u);
    for (unsigned i = 0; i < psd->GetImageCount(); ++i)
    {
        const base::ImageInfo* info = psd->GetImageInfo(i);
        ASSERT_TRUE(info);
        std::unique_ptr<base::Stream> px(psd->OpenStream(info->mName));
        if (info->mRect[2] > 0 && info->mRect[3] > 0)
        {
            ASSERT_TRUE(px);
            EXPECT_EQ(px->Size(), static_cast<unsigned>(info->mRect[2] * info->mRect[3] * 4));
        }
    }
    for (const wchar_t* name : {L"td/layouts/broken", L"td/layouts/junk", L"td/layouts/huge"})
    {
        std::unique_ptr<file::ImageContainer> c(fm->OpenImageContainer(name));
        ASSERT_TRUE(c);
        EXPECT_EQ(c->GetImageCount(), 0u);
    }
}
