// Entry points, header statuses, load tags and image resources.

#include "Core/Psd/PsdWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

using namespace psdtest;

namespace
{

std::vector<uint8_t> header(const char* sig, uint16_t version, uint16_t channels, uint32_t h, uint32_t w,
                            uint16_t depth, uint16_t mode)
{
    Bytes b;
    b.key(sig).u16(version).zeros(6).u16(channels).u32(h).u32(w).u16(depth).u16(mode);
    b.u32(0).u32(0).u32(0).u16(0); // empty sections, raw merged image (absent)
    return b.d;
}

struct StatusCase
{
    const char* what;
    std::vector<uint8_t> bytes;
    psdr_status expected;
};

TEST(PsdDocument, HeaderStatusTable)
{
    std::vector<uint8_t> valid = header("8BPS", 1, 3, 4, 4, 8, 3);
    std::vector<uint8_t> cut(valid.begin(), valid.begin() + 25);
    const StatusCase cases[] = {
        {"empty", {}, PSDR_ERR_SHORT},
        {"25 bytes", cut, PSDR_ERR_SHORT},
        {"bad signature", header("8BPX", 1, 3, 4, 4, 8, 3), PSDR_ERR_SIGNATURE},
        {"version 2", header("8BPS", 2, 3, 4, 4, 8, 3), PSDR_ERR_VERSION},
        {"depth 32", header("8BPS", 1, 3, 4, 4, 32, 3), PSDR_ERR_DEPTH},
        {"mode 5", header("8BPS", 1, 3, 4, 4, 8, 5), PSDR_ERR_MODE},
        {"bitmap at depth 8", header("8BPS", 1, 1, 4, 4, 8, 0), PSDR_ERR_DEPTH},
        {"rgb at depth 1", header("8BPS", 1, 3, 4, 4, 1, 3), PSDR_ERR_DEPTH},
        {"indexed at depth 16", header("8BPS", 1, 1, 4, 4, 16, 2), PSDR_ERR_DEPTH},
        {"width 0", header("8BPS", 1, 3, 4, 0, 8, 3), PSDR_ERR_RANGE},
        {"height over the limit", header("8BPS", 1, 3, 30001, 4, 8, 3), PSDR_ERR_RANGE},
        {"negative width", header("8BPS", 1, 3, 4, 0xFFFFFFFF, 8, 3), PSDR_ERR_RANGE},
        {"no channels", header("8BPS", 1, 0, 4, 4, 8, 3), PSDR_ERR_RANGE},
        {"57 channels", header("8BPS", 1, 57, 4, 4, 8, 3), PSDR_ERR_RANGE},
        {"rgb with 2 channels", header("8BPS", 1, 2, 4, 4, 8, 3), PSDR_ERR_RANGE},
        // A huge canvas over a tiny file would allocate gigabytes for nothing.
        {"canvas far beyond the file", header("8BPS", 1, 3, 30000, 30000, 8, 3), PSDR_ERR_RANGE},
        {"valid", valid, PSDR_OK},
    };
    for (const StatusCase& c : cases)
    {
        Loaded l(c.bytes);
        EXPECT_EQ(l.status, c.expected) << c.what;
        EXPECT_EQ(l.doc != nullptr, c.expected == PSDR_OK) << c.what;
    }
}

TEST(PsdDocument, EntryPointArguments)
{
    psdr_document* doc = reinterpret_cast<psdr_document*>(0x1);
    EXPECT_EQ(psdr_load(nullptr, "x.psd"), PSDR_ERR_ARGUMENT);
    EXPECT_EQ(psdr_load(&doc, nullptr), PSDR_ERR_OPEN);
    EXPECT_EQ(psdr_load(&doc, "/nonexistent/file.psd"), PSDR_ERR_OPEN);
    EXPECT_EQ(doc, reinterpret_cast<psdr_document*>(0x1)) << "an unopened file leaves the out-pointer alone";
    EXPECT_EQ(psdr_free(nullptr), PSDR_ERR_ARGUMENT);

    // A failing load yields null.
    std::vector<uint8_t> bad = header("8BPS", 2, 3, 4, 4, 8, 3);
    EXPECT_EQ(load(bad, &doc), PSDR_ERR_VERSION);
    EXPECT_EQ(doc, nullptr);
}

Document oneLayerDocument()
{
    Document d;
    d.width = 2;
    d.height = 2;
    d.merged = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    Layer l;
    l.bottom = 1;
    l.right = 2;
    l.channels = {{0, {200, 201}}, {1, {100, 101}}, {2, {50, 51}}};
    d.layers.push_back(l);
    Bytes thumb;
    thumb.u32(0).u32(2).u32(2).u32(8).u32(16).u32(0).u16(24).u16(1);
    d.resources.push_back({1036, thumb});
    return d;
}

TEST(PsdDocument, LoadTags)
{
    Document withLayer = oneLayerDocument();
    Document noLayers = oneLayerDocument();
    noLayers.layers.clear();
    const auto a = write(withLayer), b = write(noLayers);

    {
        Loaded l(a, PSDR_LOAD_HEADER);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->width, 2);
        EXPECT_EQ(l.doc->channel_count, 3);
        EXPECT_EQ(l.doc->layer_count, 0);
        EXPECT_EQ(l.doc->merged_image, nullptr);
        EXPECT_EQ(l.doc->thumbnail_present, 0);
    }
    {
        Loaded l(a, PSDR_LOAD_ALL);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->layer_count, 1);
        ASSERT_NE(l.doc->merged_image, nullptr);
        EXPECT_EQ(l.doc->merged_image[0], 0xFF010509u);
        EXPECT_EQ(l.doc->thumbnail_present, 1);
        EXPECT_EQ(l.doc->thumbnail_pixels, nullptr) << "a raw thumbnail keeps no pixels";
        ASSERT_NE(l.doc->layers[0].pixels, nullptr);
        EXPECT_EQ(l.doc->layers[0].pixels[1], 0xFFC96533u);
    }
    {
        Loaded l(a, PSDR_LOAD_NO_THUMBNAIL);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->thumbnail_present, 0);
        EXPECT_EQ(l.doc->layer_count, 1);
        EXPECT_EQ(l.doc->merged_image, nullptr) << "documents with layers skip the merged image";
    }
    {
        Loaded l(a, PSDR_LOAD_MERGED);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->layer_count, 0);
        ASSERT_NE(l.doc->merged_image, nullptr);
    }
    {
        Loaded l(a, PSDR_LOAD_THUMBNAIL);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->thumbnail_present, 1);
        EXPECT_EQ(l.doc->layer_count, 0);
        EXPECT_EQ(l.doc->merged_image, nullptr);
    }
    {
        // Without layer records the merged image becomes layer record 0.
        Loaded l(b, PSDR_LOAD_ALL);
        ASSERT_EQ(l.status, PSDR_OK);
        ASSERT_EQ(l.doc->layer_count, 1);
        const psdr_layer& layer = l.doc->layers[0];
        EXPECT_EQ(layer.width, 2);
        EXPECT_EQ(layer.height, 2);
        EXPECT_EQ(layer.visible, 1);
        EXPECT_EQ(layer.channel_count, 3);
        ASSERT_NE(layer.pixels, nullptr);
        EXPECT_EQ(0, std::memcmp(layer.pixels, l.doc->merged_image, 16));
    }
    {
        Loaded l(b, PSDR_LOAD_NO_THUMBNAIL);
        ASSERT_EQ(l.status, PSDR_OK);
        ASSERT_EQ(l.doc->layer_count, 1);
        EXPECT_EQ(l.doc->merged_image, nullptr) << "tag 2 moves the merged image into the layer";
        ASSERT_NE(l.doc->layers[0].pixels, nullptr);
        EXPECT_EQ(l.doc->layers[0].pixels[3], 0xFF04080Cu);
    }
    {
        // Other tags read everything but make no layer from the merged image.
        Loaded l(b, 9);
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->layer_count, 0);
        EXPECT_NE(l.doc->merged_image, nullptr);
    }
}

TEST(PsdDocument, Resources)
{
    Document d = oneLayerDocument();
    d.resources.clear();
    d.resources.push_back(
        {1005, Bytes().u32(72u << 16 | 0x8000).u16(1).u16(2).u32(300u << 16).u16(1).u16(3)});
    d.resources.push_back({1008, Bytes().u8(5).key("capt").u8('n')});
    d.resources.push_back({1024, Bytes().u16(7)});
    d.resources.push_back({1026, Bytes().u16(1).u16(2).u16(3)});
    d.resources.push_back({1037, Bytes().u32(45)});
    d.resources.push_back({9999, Bytes().u32(1).u32(2)});
    Bytes version;
    version.u32(1).u8(1).u32(2).u16('A').u16('B').u32(1).u16('R').u32(5);
    d.resources.push_back({1057, version});
    Loaded l(write(d));
    ASSERT_EQ(l.status, PSDR_OK);
    const psdr_document& doc = *l.doc;
    EXPECT_EQ(doc.resolution_present, 1);
    EXPECT_FLOAT_EQ(doc.horizontal_resolution, 72.5f);
    EXPECT_EQ(doc.width_unit, 2);
    EXPECT_FLOAT_EQ(doc.vertical_resolution, 300.0f);
    EXPECT_EQ(doc.height_unit, 3);
    EXPECT_STREQ(doc.caption, "captn");
    EXPECT_EQ(doc.target_layer, 7);
    ASSERT_EQ(doc.layer_group_count, 3);
    EXPECT_EQ(doc.layer_group_ids[2], 3);
    EXPECT_EQ(doc.global_angle, 45);
    EXPECT_EQ(doc.global_altitude, 30) << "absent resource keeps its default";
    EXPECT_EQ(doc.version_info_present, 1);
    EXPECT_EQ(doc.has_real_merged_data, 1);
    EXPECT_EQ(doc.writer_name_length, 2);
    EXPECT_EQ(doc.reader_name_length, 1);
    EXPECT_EQ(doc.file_version, 5u);
    EXPECT_EQ(doc.layer_count, 1) << "the layer section after the resources is still read";
}

TEST(PsdDocument, AlphaResourcesAreClampedToTheSparePlanes)
{
    // Four channels of RGB leave one spare plane: five announced names fill one record.
    Document d;
    d.width = d.height = 1;
    d.channels = 4;
    d.layerSection = false;
    Bytes names;
    for (int i = 0; i < 5; ++i)
        names.u8(1).u8('a' + i);
    d.resources.push_back({1006, names});
    d.resources.push_back({1053, Bytes().u32(11).u32(12)});
    d.merged = {{1}, {2}, {3}, {99}};
    Loaded l(write(d));
    ASSERT_EQ(l.status, PSDR_OK);
    ASSERT_EQ(l.doc->alpha_channel_count, 1);
    EXPECT_EQ(l.doc->colour_channel_count, 3);
    EXPECT_STREQ(l.doc->alpha_channels[0].name, "a");
    EXPECT_EQ(l.doc->alpha_channels[0].identifier, 11);
    ASSERT_NE(l.doc->alpha_channels[0].pixels, nullptr);
    EXPECT_EQ(l.doc->alpha_channels[0].pixels[0], 99);
    EXPECT_EQ(l.doc->merged_image[0], 0xFF010203u) << "a named alpha channel is not transparency";
}

TEST(PsdDocument, DamagedResources)
{
    Document d = oneLayerDocument();
    std::vector<uint8_t> bytes = write(d);
    // The resource signature sits right after the colour-mode data length and section length.
    std::vector<uint8_t> badSig = bytes;
    badSig[26 + 4 + 4] = 'X';
    Loaded a(badSig);
    EXPECT_EQ(a.status, PSDR_ERR_RESOURCE);

    // A resource whose length runs past its section is refused, never read into the next one.
    std::vector<uint8_t> longBlock = bytes;
    const size_t lengthAt = 26 + 4 + 4 + 4 + 2 + 2;
    longBlock[lengthAt] = 0x10;
    Loaded b(longBlock);
    EXPECT_EQ(b.status, PSDR_ERR_RANGE);

    // A version block announcing more name units than it holds stops at its end.
    Document v = oneLayerDocument();
    v.resources.push_back({1057, Bytes().u32(1).u8(1).u32(0x7FFFFFFF).u16('A')});
    Loaded c(write(v));
    EXPECT_EQ(c.status, PSDR_OK);
    EXPECT_EQ(c.doc->writer_name, nullptr);
}

TEST(PsdDocument, FilesBeyondTheVersionOneLimitAreRefused)
{
    // A sparse file of 3 GiB whose header is valid.
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> h = header("8BPS", 1, 3, 4, 4, 8, 3);
    std::fwrite(h.data(), 1, h.size(), f);
    ASSERT_EQ(ftruncate(fileno(f), off_t(3) << 30), 0);
    std::rewind(f);
    psdr_document* doc = nullptr;
    EXPECT_EQ(psdr_load_stream(f, &doc, 0), PSDR_ERR_RANGE);
    EXPECT_EQ(doc, nullptr);
    std::fclose(f);
}

TEST(PsdDocument, DuotoneColourDataOfAnyLength)
{
    Document d;
    d.width = d.height = 1;
    d.channels = 1;
    d.mode = PSDR_MODE_DUOTONE;
    d.layerSection = false;
    d.colourModeData.raw(std::vector<uint8_t>(11, 7));
    d.resources.push_back({1037, Bytes().u32(12)});
    d.merged = {{40}};
    Loaded l(write(d));
    ASSERT_EQ(l.status, PSDR_OK);
    EXPECT_EQ(l.doc->palette_size, 3);
    EXPECT_EQ(l.doc->global_angle, 12) << "resources after odd colour data are still found";
    EXPECT_EQ(l.doc->merged_image[0], 0xFF282828u);
}

} // namespace
