#include "Core/File/PackBuilder.h"
#include "Source/TD/Routes/TDPathCache.h"
#include "Source/TD/Routes/TDRoutes.h"

#include "Core/File/FileTestUtil.h"
#include "Source/TD/Routes/PathCacheWriter.h"
#include "Source/TD/Routes/RoutesTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>

using routestest::LogCapture;

namespace
{
const std::vector<TDRouteWave> kWaves = {{-1, {0, -20}}, {6, {20}}};
const std::wstring kCacheName = L"td/levels_normal/level_01_02.cache";
const char* const kCachePath = "td/levels_normal/level_01_02.cache";

// A level in a temporary data root, with the lanes it computes when it has no cache.
class TDPathCacheTest : public filetest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        LogCapture::start();
        routestest::loadLevel(computed, routestest::kForkLevel);
        computed.preparePaths(L"no-such.cache", kWaves);
        ASSERT_EQ(computed.getPathTable().getRecords().size(), 5u);
        routestest::loadLevel(level, routestest::kForkLevel);
        LogCapture::text().clear();
    }

    // The computed lanes as a cache file: links are written as indexes, the same in both levels.
    std::string goodCache() const
    {
        return routestest::writePathCache(computed.getPathTable(), computed.getLinks());
    }

    VNResultEnum read(const std::string& bytes, TDPathTable& table, std::wstring& error) const
    {
        return readPathCache(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                             level.getLinks(), table, error);
    }

    // Same links (by index) and the same lanes.
    bool sameAsComputed(const TDRoutes& routes) const
    {
        const auto& a = computed.getPathTable().getRecords();
        const auto& b = routes.getPathTable().getRecords();
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
        {
            const auto indexOf = [](const TDRoutes& r, const TDLink* link)
            {
                for (std::size_t k = 0; k < r.getLinks().size(); ++k)
                {
                    if (r.getLinks()[k].get() == link)
                        return static_cast<int>(k);
                }
                return -1;
            };
            if (indexOf(computed, a[i]->link) != indexOf(routes, b[i]->link) ||
                a[i]->lanes.size() != b[i]->lanes.size())
                return false;
            for (const auto& [key, samples] : a[i]->lanes)
            {
                const auto other = b[i]->lanes.find(key);
                if (other == b[i]->lanes.end() || !routestest::sameSamples(samples, other->second))
                    return false;
            }
        }
        return true;
    }

    TDRoutes computed;
    TDRoutes level;
};

void patchU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void patchF32(std::string& bytes, std::size_t at, float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    patchU32(bytes, at, bits);
}
} // namespace

TEST_F(TDPathCacheTest, CacheReadEqualsComputedLanes)
{
    filetest::WriteBytes(kCachePath, goodCache());
    level.preparePaths(kCacheName, {});
    EXPECT_TRUE(sameAsComputed(level)) << "read from the cache although no wave announces a lane";
    EXPECT_TRUE(LogCapture::text().find(L"refused") == std::wstring::npos);
}

TEST_F(TDPathCacheTest, ValuesAndReservedWordsAreKept)
{
    TDPathTable table;
    auto first = std::make_unique<TDLinkLanes>();
    first->link = level.getLinks()[2].get();
    first->cachedValues = {{-3, 1.5f}, {8, -0.25f}};
    TDLaneSamples lane(2);
    lane[0].reserved = 0xDEADBEEF;
    lane[1].x = 12.0f;
    first->lanes[4] = lane;
    table.appendRecord(std::move(first));
    // A second record of the same link is kept but never looked at.
    auto second = std::make_unique<TDLinkLanes>();
    second->link = level.getLinks()[2].get();
    second->lanes[9] = lane;
    table.appendRecord(std::move(second));

    TDPathTable read;
    std::wstring error;
    ASSERT_EQ(this->read(routestest::writePathCache(table, level.getLinks()), read, error), VN_OK) << error;
    ASSERT_EQ(read.getRecords().size(), 2u);
    const TDLinkLanes& r = *read.getRecords()[0];
    EXPECT_EQ(r.link, level.getLinks()[2].get());
    EXPECT_EQ(r.cachedValues, (std::map<int, float>{{-3, 1.5f}, {8, -0.25f}}));
    EXPECT_EQ(r.lanes.at(4)[0].reserved, 0xDEADBEEFu);
    EXPECT_EQ(r.lanes.at(4)[1].x, 12.0f);
    EXPECT_EQ(read.findLane(level.getLinks()[2].get(), 9), nullptr);

    // No records at all is a sound, empty cache.
    TDPathTable empty;
    EXPECT_EQ(this->read(std::string(4, '\0'), empty, error), VN_OK);
    EXPECT_TRUE(empty.empty());
}

TEST_F(TDPathCacheTest, EveryTruncationIsRefused)
{
    const std::string bytes = goodCache();
    for (std::size_t size = 0; size < bytes.size(); ++size)
    {
        TDPathTable table;
        std::wstring error;
        ASSERT_EQ(read(bytes.substr(0, size), table, error), VN_FAIL) << size;
        ASSERT_TRUE(table.empty()) << size;
        ASSERT_FALSE(error.empty()) << size;
    }
}

TEST_F(TDPathCacheTest, DamagedFieldsAreRefused)
{
    const std::string good = goodCache();
    // Offsets in the first record: link index 4, pair count 8, lane count 12, its first lane's key 16 and
    // sample count 20, its first sample from 24 (reserved, normal x, normal y, x, y).
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char* name;
        std::size_t at;
        bool isFloat;
        std::uint32_t u;
        float f;
        const wchar_t* error;
    };
    const Case cases[] = {
        {"record count beyond the file", 0, false, 0x40000000u, 0, L"announces 1073741824 records"},
        {"one record too many", 0, false, 6, 0, L"record 5 is cut short"},
        {"link index negative", 4, false, 0xFFFFFFFFu, 0, L"record 0 names link -1; the level has 6 links"},
        {"link index past the links", 4, false, 6, 0, L"record 0 names link 6"},
        {"pair count beyond the file", 8, false, 0xFFFFFFF0u, 0, L"record 0 announces 4294967280 values"},
        {"lane count beyond the file", 12, false, 0x7FFFFFFFu, 0, L"record 0 announces 2147483647 lanes"},
        {"no samples", 20, false, 0, 0, L"record 0: lane -20 has 0 samples; a lane needs 2"},
        {"one sample", 20, false, 1, 0, L"lane -20 has 1 samples"},
        {"sample count beyond the file", 20, false, 100000, 0, L"lane -20 announces 100000 samples"},
        {"normal not a number", 28, true, 0, kNaN, L"record 0: lane -20 holds a sample out of range"},
        {"normal too long", 32, true, 0, 3.0f, L"holds a sample out of range"},
        {"position not a number", 36, true, 0, kNaN, L"holds a sample out of range"},
        {"position infinite", 40, true, 0, std::numeric_limits<float>::infinity(), L"out of range"},
        {"position far off the map", 36, true, 0, 3e7f, L"out of range"},
    };
    for (const Case& c : cases)
    {
        std::string bytes = good;
        if (c.isFloat)
            patchF32(bytes, c.at, c.f);
        else
            patchU32(bytes, c.at, c.u);
        TDPathTable table;
        std::wstring error;
        EXPECT_EQ(read(bytes, table, error), VN_FAIL) << c.name;
        EXPECT_TRUE(table.empty()) << c.name;
        EXPECT_NE(error.find(c.error), std::wstring::npos)
            << c.name << ": " << std::string(error.begin(), error.end());
    }

    // A cached value that is not a number, and bytes after the last record.
    TDPathTable withValue;
    auto record = std::make_unique<TDLinkLanes>();
    record->link = level.getLinks()[0].get();
    record->cachedValues[1] = kNaN;
    withValue.appendRecord(std::move(record));
    TDPathTable table;
    std::wstring error;
    EXPECT_EQ(read(routestest::writePathCache(withValue, level.getLinks()), table, error), VN_FAIL);
    EXPECT_EQ(error, L"record 0 holds a value that is not a number");
    EXPECT_EQ(read(good + "x", table, error), VN_FAIL);
    EXPECT_EQ(error, L"1 bytes follow the last record");
    EXPECT_TRUE(table.empty());
}

TEST_F(TDPathCacheTest, DamagedCacheFallsBackToComputing)
{
    std::string bytes = goodCache();
    patchF32(bytes, 36, std::numeric_limits<float>::quiet_NaN());
    filetest::WriteBytes(kCachePath, bytes);
    level.preparePaths(kCacheName, kWaves);
    EXPECT_TRUE(sameAsComputed(level));
    EXPECT_TRUE(
        LogCapture::has(L"Route cache 'td/levels_normal/level_01_02.cache' refused: record 0: lane -20 "
                        L"holds a sample out of range; the lanes are computed"));

    // An empty file, and a folder in the file's place.
    for (bool folder : {false, true})
    {
        std::filesystem::remove_all(kCachePath);
        if (folder)
            std::filesystem::create_directories(kCachePath);
        else
            filetest::WriteBytes(kCachePath, "");
        LogCapture::text().clear();
        TDRoutes again;
        routestest::loadLevel(again, routestest::kForkLevel);
        again.preparePaths(kCacheName, kWaves);
        EXPECT_TRUE(sameAsComputed(again)) << folder;
        EXPECT_EQ(LogCapture::has(L"shorter than its record count"), !folder) << folder;
    }
}

TEST_F(TDPathCacheTest, MissingCacheIsComputedQuietly)
{
    level.preparePaths(kCacheName, kWaves);
    EXPECT_TRUE(sameAsComputed(level));
    EXPECT_FALSE(LogCapture::has(L"Route cache"));
    EXPECT_EQ(level.loadPathCache(kCacheName), VN_FAIL);
}

TEST_F(TDPathCacheTest, CacheInsideThePackIsNotRead)
{
    filetest::WriteBytes(kCachePath, goodCache());
    ASSERT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_OK);
    std::filesystem::remove(kCachePath);
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    std::unique_ptr<file::FileInfo> packed(file::FileManager::Instance()->FindFile(kCacheName));
    ASSERT_NE(packed, nullptr);
    ASSERT_EQ(packed->packed, 1) << "the file manager finds the cache in the pack";

    EXPECT_EQ(level.loadPathCache(kCacheName), VN_FAIL);
    level.preparePaths(kCacheName, {});
    EXPECT_TRUE(level.getPathTable().empty()) << "nothing read, and no wave to compute lanes for";
}
