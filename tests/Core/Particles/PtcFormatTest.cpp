#include "Core/Particles/Lib/PtcFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace ptl;

namespace
{
PtcDesc Sample()
{
    PtcDesc d;
    d.atlases = {"fx_atlas.png", "sparks.png"};
    EmitterDesc e;
    e.name = "build";
    e.duration = 0.5f;
    e.warmup = 0.25f;
    e.loopMode = 1;
    e.interpolation = true;
    e.seed = 77;
    ParticleTypeDesc t;
    t.atlas = 1;
    t.u0 = 0.25f;
    t.v1 = 0.5f;
    t.additive = true;
    t.burst = 12;
    t.colorStart = 0x80FF8000;
    e.types = {t, ParticleTypeDesc{}};
    d.root.emitters.push_back(e);
    FolderDesc sub;
    sub.name = "Map \xC3\xA9"
               "ffects"; // UTF-8 bytes kept as they are
    EmitterDesc f = e;
    f.name = "fire";
    f.types.resize(1);
    sub.emitters.push_back(f);
    d.root.folders.push_back(sub);
    return d;
}

std::size_t FindBytes(const std::vector<std::uint8_t>& hay, const std::string& needle)
{
    auto it = std::search(hay.begin(), hay.end(), needle.begin(), needle.end());
    return std::size_t(it - hay.begin());
}
} // namespace

TEST(PtcFormat, WrittenFileReadsBackTheSameTree)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(WritePtc(Sample(), bytes));
    PtcDesc back;
    ASSERT_TRUE(ReadPtc(bytes.data(), bytes.size(), back));
    EXPECT_EQ(back.atlases, Sample().atlases);
    ASSERT_EQ(back.root.emitters.size(), 1u);
    const EmitterDesc& e = back.root.emitters[0];
    EXPECT_EQ(e.name, "build");
    EXPECT_EQ(e.duration, 0.5f);
    EXPECT_EQ(e.warmup, 0.25f);
    EXPECT_EQ(e.loopMode, 1);
    EXPECT_TRUE(e.interpolation);
    EXPECT_EQ(e.seed, 77u);
    ASSERT_EQ(e.types.size(), 2u);
    EXPECT_EQ(e.types[0].atlas, 1);
    EXPECT_EQ(e.types[0].u0, 0.25f);
    EXPECT_EQ(e.types[0].v1, 0.5f);
    EXPECT_TRUE(e.types[0].additive);
    EXPECT_EQ(e.types[0].burst, 12u);
    EXPECT_EQ(e.types[0].colorStart, 0x80FF8000u);
    EXPECT_FALSE(e.types[1].additive);
    ASSERT_EQ(back.root.folders.size(), 1u);
    EXPECT_EQ(back.root.folders[0].name, "Map \xC3\xA9"
                                         "ffects");
    EXPECT_EQ(back.root.folders[0].emitters[0].name, "fire");
    // Header bytes as documented.
    EXPECT_EQ(std::memcmp(bytes.data(), "CVPT\x01\x00\x00\x00\x02\x00\x00\x00", 12), 0);
}

TEST(PtcFormat, EveryTruncationIsRefused)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(WritePtc(Sample(), bytes));
    PtcDesc out;
    for (std::size_t n = 0; n < bytes.size(); ++n)
        ASSERT_FALSE(ReadPtc(bytes.data(), n, out)) << "prefix of " << n << " bytes";
    bytes.push_back(0);
    EXPECT_FALSE(ReadPtc(bytes.data(), bytes.size(), out)) << "trailing byte";
}

TEST(PtcFormat, DamagedFieldsAreRefused)
{
    std::vector<std::uint8_t> good;
    ASSERT_TRUE(WritePtc(Sample(), good));
    std::size_t name = FindBytes(good, "build");
    // Offsets of emitter fields after the name "build": duration +5, warmup +9, step +13, loop +17.
    std::size_t firstType = name + 5 + 4 * 3 + 4 + 4 + 1;
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    const float nan = std::nanf("");
    std::uint8_t nanBytes[4];
    std::memcpy(nanBytes, &nan, 4);
    const Case cases[] = {
        {"magic", 0, {'X'}},
        {"version 2", 4, {2}},
        {"atlas count beyond limit", 8, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"duration NaN", name + 5, {nanBytes[0], nanBytes[1], nanBytes[2], nanBytes[3]}},
        {"duration zero", name + 5, {0, 0, 0, 0}},
        {"loop mode 3", name + 17, {3}},
        {"interpolation flag 2", name + 18, {2}},
        {"no particle types", name + 5 + 12 + 8, {0}},
        {"blend 2", firstType + 2 + 2 + 16, {2}},
        {"max particles 0", firstType + 2 + 2 + 16 + 4 + 4 + 4, {0, 0, 0, 0}},
        {"entry kind 7", name - 3, {7}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bad = good;
        ASSERT_LE(c.offset + c.bytes.size(), bad.size());
        std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + std::ptrdiff_t(c.offset));
        PtcDesc out;
        EXPECT_FALSE(ReadPtc(bad.data(), bad.size(), out));
        EXPECT_TRUE(out.root.emitters.empty());
    }
}

TEST(PtcFormat, WriterRefusesWhatTheReaderWouldRefuse)
{
    std::vector<std::uint8_t> bytes;
    PtcDesc noTypes = Sample();
    noTypes.root.emitters[0].types.clear();
    EXPECT_FALSE(WritePtc(noTypes, bytes));
    EXPECT_TRUE(bytes.empty());

    PtcDesc deep;
    FolderDesc* f = &deep.root;
    for (std::uint32_t i = 0; i < kMaxDepth; ++i)
    {
        f->folders.emplace_back();
        f->folders.back().name = "d";
        f = &f->folders.back();
    }
    EXPECT_FALSE(WritePtc(deep, bytes));

    PtcDesc badLife = Sample();
    badLife.root.emitters[0].types[0].lifeMin = 2.0f;
    badLife.root.emitters[0].types[0].lifeMax = 1.0f;
    EXPECT_FALSE(WritePtc(badLife, bytes));
}
