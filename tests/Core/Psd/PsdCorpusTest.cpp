// Real documents written by several editors: every one opens or is refused with the expected
// status, merged images agree with ImageMagick, and truncated copies never crash the decoder.

#include "Core/Psd/PsdWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#ifdef PSD_WITH_MAGICK
#include <Magick++.h>
#endif

namespace fs = std::filesystem;

namespace
{

const fs::path kCorpus = fs::path(CORV_TESTDATA_DIR) / "psd";

// Documents the decoder refuses: version 2 and 32-bit ones.
const std::map<std::string, psdr_status> kRefused = {
    {"1layer.psb", PSDR_ERR_VERSION},
    {"layers/pattern-fill.psb", PSDR_ERR_VERSION},
    {"32bit5x5.psd", PSDR_ERR_DEPTH},
    {"colormodes/4x4_32bit_grayscale.psd", PSDR_ERR_DEPTH},
    {"colormodes/4x4_32bit_rgb.psd", PSDR_ERR_DEPTH},
    {"gradient-fill.psd", PSDR_ERR_DEPTH},
    {"vector-mask.psd", PSDR_ERR_DEPTH},
};

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> files;
    if (!fs::is_directory(kCorpus))
        return files;
    for (const auto& e : fs::recursive_directory_iterator(kCorpus))
    {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".psd" || ext == ".psb"))
            files.push_back(fs::relative(e.path(), kCorpus).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(PsdCorpus, EveryDocumentOpensOrIsRefused)
{
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty()) << "corpus not found at " << kCorpus;
    EXPECT_GE(files.size(), 80u);
    int opened = 0;
    for (const std::string& f : files)
    {
        psdr_document* doc = nullptr;
        const psdr_status status = psdr_load(&doc, (kCorpus / f).c_str());
        const auto refused = kRefused.find(f);
        const psdr_status expected = refused == kRefused.end() ? PSDR_OK : refused->second;
        EXPECT_EQ(status, expected) << f;
        if (status == PSDR_OK)
        {
            ++opened;
            ASSERT_NE(doc, nullptr);
            EXPECT_GE(doc->layer_count, 1) << f << ": every document has at least one layer record";
            for (int i = 0; i < doc->layer_count; ++i)
            {
                const psdr_layer& l = doc->layers[i];
                EXPECT_EQ(l.pixels != nullptr, l.width > 0 && l.height > 0) << f << " layer " << i;
            }
            if (doc->thumbnail_present && doc->thumbnail_format != 0)
            {
                EXPECT_NE(doc->thumbnail_pixels, nullptr) << f;
                EXPECT_GT(doc->thumbnail_width * doc->thumbnail_height, 0u) << f;
            }
        }
        EXPECT_EQ(psdr_free(doc), status == PSDR_OK ? PSDR_OK : PSDR_ERR_ARGUMENT);
    }
    EXPECT_EQ(opened, int(files.size() - kRefused.size()));
}

TEST(PsdCorpus, KnownDocuments)
{
    const fs::path two = kCorpus / "2layers.psd";
    ASSERT_TRUE(fs::exists(two)) << two;
    psdr_document* doc = nullptr;
    ASSERT_EQ(psdr_load(&doc, two.c_str()), PSDR_OK);
    ASSERT_EQ(doc->layer_count, 2);
    // Record 0 is the bottom layer and an image like the others.
    EXPECT_EQ(doc->layers[0].right, 101);
    EXPECT_EQ(doc->layers[0].bottom, 55);
    EXPECT_NE(doc->layers[0].pixels, nullptr);
    EXPECT_EQ(doc->layers[1].channel_count, 4);
    ASSERT_EQ(doc->layers[0].unicode_name_length, 3);
    psdr_free(doc);

    // Masks written with parameters and real user masks.
    const fs::path mask = kCorpus / "layer_mask_data.psd";
    ASSERT_EQ(psdr_load(&doc, mask.c_str()), PSDR_OK);
    int masks = 0;
    for (int i = 0; i < doc->layer_count; ++i)
        masks += doc->layers[i].mask_pixels != nullptr;
    EXPECT_GT(masks, 0);
    psdr_free(doc);

    // Sixteen-bit layers come from the 'Lr16' block.
    const fs::path sixteen = kCorpus / "16bit5x5.psd";
    ASSERT_EQ(psdr_load(&doc, sixteen.c_str()), PSDR_OK);
    ASSERT_EQ(doc->layer_count, 3);
    EXPECT_NE(doc->layers[0].pixels, nullptr);
    EXPECT_EQ(doc->layers[2].left, 4);
    EXPECT_EQ(doc->layers[2].height, 3);
    psdr_free(doc);
}

#ifdef PSD_WITH_MAGICK
TEST(PsdCorpus, MergedImagesMatchImageMagick)
{
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty()) << kCorpus;
    Magick::InitializeMagick(nullptr);
    int compared = 0;
    for (const std::string& f : files)
    {
        psdr_document* doc = nullptr;
        if (psdr_load(&doc, (kCorpus / f).c_str()) != PSDR_OK)
            continue;
        const uint32_t mode = doc->colour_mode;
        const bool comparable =
            (mode == PSDR_MODE_RGB || mode == PSDR_MODE_GREYSCALE || mode == PSDR_MODE_CMYK) &&
            doc->depth != 1 && (!doc->version_info_present || doc->has_real_merged_data);
        if (!comparable)
        {
            psdr_free(doc);
            continue;
        }
        const int tolerance = mode == PSDR_MODE_CMYK ? 3 : 1;
        std::vector<uint8_t> theirs(size_t(doc->width) * size_t(doc->height) * 4);
        try
        {
            Magick::Image image;
            image.read((kCorpus / f).string() + "[0]");
            image.colorSpace(Magick::sRGBColorspace);
            ASSERT_EQ(int(image.columns()), doc->width) << f;
            ASSERT_EQ(int(image.rows()), doc->height) << f;
            image.write(0, 0, image.columns(), image.rows(), "RGBA", Magick::CharPixel, theirs.data());
        }
        catch (const std::exception& e)
        {
            ADD_FAILURE() << f << ": " << e.what();
            psdr_free(doc);
            continue;
        }
        const bool greyMatte = mode == PSDR_MODE_GREYSCALE && doc->merged_transparency;
        int worst = 0;
        for (size_t i = 0; i < theirs.size() / 4; ++i)
        {
            const uint32_t ours = doc->merged_image[i];
            const int a = int(ours >> 24), ta = theirs[4 * i + 3];
            worst = std::max(worst, std::abs(a - ta));
            for (int c = 0; c < 3; ++c)
            {
                const int colour = int((ours >> (16 - 8 * c)) & 0xFF);
                int mine, other;
                if (greyMatte)
                {
                    // ImageMagick keeps the white matte of grey documents; put it back on ours.
                    mine = (colour * a + 255 * (255 - a) + 127) / 255;
                    other = theirs[4 * i + size_t(c)];
                }
                else
                {
                    // Colours weighted by coverage: an almost transparent pixel has no colour to speak of.
                    mine = colour * a / 255;
                    other = int(theirs[4 * i + size_t(c)]) * ta / 255;
                }
                worst = std::max(worst, std::abs(mine - other));
            }
        }
        // Removing and restoring the matte rounds twice.
        EXPECT_LE(worst, tolerance + (greyMatte ? 1 : 0)) << f;
        ++compared;
        psdr_free(doc);
    }
    EXPECT_GE(compared, 50);
}
#endif

TEST(PsdCorpus, TruncationAtEveryOffset)
{
    for (const char* name :
         {"transparentbg-gimp.psd", "1layer.psd", "layers/curves.psd", "layers/gradient-fill.psd"})
    {
        const std::vector<uint8_t> whole = readFile(kCorpus / name);
        ASSERT_FALSE(whole.empty()) << name;
        for (size_t n = 0; n < whole.size(); ++n)
        {
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(n));
            psdr_document* doc = nullptr;
            const psdr_status status = psdtest::load(cut, &doc);
            ASSERT_LE(status, 0) << name << " cut at " << n;
            ASSERT_EQ(doc != nullptr, status == PSDR_OK) << name << " cut at " << n;
            psdr_free(doc);
        }
    }
}

} // namespace
