// Level files through the level object on the demo data: the file names, the art path, a table of damaged
// files (each refused or repaired with one log line, the map left playable), the build spots with their
// frames and icons, and the next-wave markers.
#include "Core/Render/Image/GraphicsTestUtil.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>

namespace
{
namespace fs = std::filesystem;
using tdtest::LogCapture;

TEST(TDLevelFile, FileNamesFollowModeEpisodeAndLevel)
{
    EXPECT_EQ(TDMap::levelFileName(kModeNormal, 0, 2), L"td/levels_normal/level_01_03.xml");
    EXPECT_EQ(TDMap::levelFileName(kModeHard, 0, 2), L"td/levels_normal/level_01_03.xml");
    EXPECT_EQ(TDMap::levelFileName(kModeHardcore, 0, 2), L"td/levels_hardcore/level_01_03.xml");
    EXPECT_EQ(TDMap::levelFileName(kModeEasy, 9, 11), L"td/levels_normal/level_10_12.xml");
    // The width is a minimum, not a limit.
    EXPECT_EQ(TDMap::levelFileName(kModeEasy, 99, 0), L"td/levels_normal/level_100_01.xml");
}

TEST(TDLevelFile, ArtPathGivesTheArtDocumentAndTheKeptName)
{
    struct Case
    {
        std::string li;
        std::string document; // empty: no art
        std::string kept;
    };
    const Case cases[] = {
        {"/td/data/maps/forest/back.psd", "td/data/maps/forest/back.psd", "forest/back.psd"},
        {"td/data/maps/forest/back.psd", "td/data/maps/forest/back.psd", "forest/back.psd"},
        {"C:/work/art/td/data/maps/a/b.psd", "td/data/maps/a/b.psd", "a/b.psd"},
        // Below the data folder without naming it: not cut as if it did.
        {"./maps/forest/back.psd", "td/data/maps/forest/back.psd", "forest/back.psd"},
        {"maps/a/b.psd", "td/data/maps/a/b.psd", "a/b.psd"},
        {"/td/data/back.psd", "", "data/back.psd"}, // no folder part
        {"short", "", "short"},
        {"", "", ""},
        {"/td/data/../../etc/a.psd", "", "etc/a.psd"}, // would leave the data tree
        {"/td/data/maps/..\\..\\x/a.psd", "", "..\\..\\x/a.psd"},
        {"/td/data/maps/x../a.psd", "td/data/maps/x../a.psd", "x../a.psd"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.li);
        std::wstring why;
        EXPECT_EQ(levelArtDocument(c.li, &why), c.document);
        EXPECT_EQ(why.empty(), !c.document.empty());
        EXPECT_EQ(normaliseArtPath(c.li), c.kept);
    }
}

// A level file made of parts; each part replaces its element.
struct LevelText
{
    std::string li = "<li>/td/data/maps/e1_l1/back.psd</li>";
    std::string budget = "<budget>120</budget>";
    std::string points = "<points><p id=\"1\" x=\"-20\" y=\"100\"><a name=\"spawn\" value=\"1\"/></p>"
                         "<p id=\"2\" x=\"500\" y=\"120\"><a name=\"goal\" value=\"1\"/></p></points>";
    std::string links = "<links><l sid=\"1\" eid=\"2\" anchor_x=\"250\" anchor_y=\"60\"/></links>";
    std::string spots = spot("300", "300", "0", "0", "0", "");
    std::string waves = "<waves timeout=\"2\"><wave timeout=\"5\" spawn=\"1\"><e id=\"1\" x=\"0\" y=\"-65\"/>"
                        "</wave></waves>";

    static std::string spot(const std::string& x, const std::string& y, const std::string& gold,
                            const std::string& gems, const std::string& type, const std::string& extra)
    {
        return "<spots><spot x=\"" + x + "\" y=\"" + y + "\"><a name=\"cost_gold\" value=\"" + gold +
               "\"/><a name=\"cost_real\" value=\"" + gems + "\"/><a name=\"type\" value=\"" + type +
               "\"/><a name=\"radius_mult\" value=\"1\"/><a name=\"damage_mult\" value=\"1\"/>"
               "<a name=\"income_mult\" value=\"1\"/>" +
               extra + "</spot></spots>";
    }
    std::string text() const { return "<map>" + li + budget + points + links + spots + waves + "</map>"; }
};

// Episode 9, level 1 of the demo data: a file the tests write.
constexpr int kEpisode = 8;
const char* const kLevelFile = "td/levels_normal/level_09_01.xml";

class LevelFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove(tdtest::demoDataRoot() / kLevelFile, ignored);
    }

    // The demo's first level, then the file with the text (none: no file) in its place.
    void play(const std::string* text)
    {
        mHarness.loadLevel(kModeNormal, 0, 0);
        const fs::path file = tdtest::demoDataRoot() / kLevelFile;
        std::error_code ignored;
        fs::remove(file, ignored);
        if (text)
            std::ofstream(file, std::ios::binary) << *text;
        LogCapture::Reset();
        mHarness.loadLevel(kModeNormal, kEpisode, 0);
    }
    int dataProblems() const { return LogCapture::CountLines(L"Data file '"); }

    tdtest::GameHarness mHarness;
    TDMap* mMap = nullptr;
};

TEST_F(LevelFileTest, DamagedFilesAreRefusedOrRepairedWithALogLine)
{
    auto edited = [](const std::function<void(LevelText&)>& edit)
    {
        LevelText level;
        edit(level);
        return std::optional<std::string>(level.text());
    };
    auto withSpot = [&](const std::string& x, const std::string& type, const std::string& extra)
    { return edited([&](LevelText& l) { l.spots = LevelText::spot(x, "300", "5", "0", type, extra); }); };
    auto onlyOldArt = [](TDMap& map)
    {
        // The level is empty; the previous art stays, without the previous level's spots.
        EXPECT_TRUE(map.mBuildSpots.empty());
        ASSERT_NE(map.mLevelArt, nullptr);
        EXPECT_TRUE(map.mLevelArt->mSpotFrames.empty());
        EXPECT_FALSE(map.mLevelArt->mFrames.empty());
        for (const TDFrameEntry* frame : map.mLevelArt->mFrames)
            EXPECT_EQ(frame->mLink, nullptr);
        EXPECT_EQ(map.mLevelArt->spotAt(896, 563), nullptr);
        EXPECT_TRUE(map.mWaves->getWaves().empty());
        EXPECT_EQ(map.mEconomy->mMoney, 0);
    };
    auto noArt = [](TDMap& map)
    {
        // No art, but the spot is there and can be found.
        ASSERT_NE(map.mLevelArt, nullptr);
        EXPECT_EQ(map.mLevelArt->mFrames.size(), 1u);
        EXPECT_NE(map.mLevelArt->spotAt(300, 300), nullptr);
    };
    struct Case
    {
        const char* name;
        std::optional<std::string> text; // none: no file
        const wchar_t* logged;           // null: no data problem logged
        std::function<void(TDMap&)> check;
    };
    const Case cases[] = {
        {"a sound file", LevelText().text(), nullptr,
         [](TDMap& map)
         {
             EXPECT_EQ(map.mEconomy->mMoney, 120);
             EXPECT_EQ(map.mEconomy->mShownMoney, 120);
             EXPECT_EQ(map.mBuildSpots.size(), 1u);
             EXPECT_EQ(map.mWaves->getWaves().size(), 1u);
             EXPECT_EQ(map.mRoutes.getPoints().size(), 2u);
             EXPECT_EQ(map.mArtPath, "e1_l1/back.psd");
             EXPECT_GT(map.mLevelArt->mFrames.size(), 1u);
         }},
        {"no file", std::nullopt, L"': missing", onlyOldArt},
        {"an empty file", std::string(), L"empty; the level is empty", onlyOldArt},
        {"text that is not XML", std::string("<map><budget>1</budget><spots>"), L"not well-formed XML",
         onlyOldArt},
        {"another root element", "<level>" + LevelText().text() + "</level>", L"no root element map",
         onlyOldArt},
        {"no budget", edited([](LevelText& l) { l.budget.clear(); }), L"no budget",
         [](TDMap& map)
         {
             EXPECT_EQ(map.mEconomy->mMoney, 0);
             EXPECT_EQ(map.mBuildSpots.size(), 1u); // the rest of the level is read
         }},
        {"a budget without digits", edited([](LevelText& l) { l.budget = "<budget>lots</budget>"; }),
         L"is no number", [](TDMap& map) { EXPECT_EQ(map.mEconomy->mMoney, 0); }},
        {"a negative budget", edited([](LevelText& l) { l.budget = "<budget>-50</budget>"; }),
         L"negative budget", [](TDMap& map) { EXPECT_EQ(map.mEconomy->mMoney, 0); }},
        {"a budget followed by words", edited([](LevelText& l) { l.budget = "<budget>150 coins</budget>"; }),
         nullptr, [](TDMap& map) { EXPECT_EQ(map.mEconomy->mMoney, 150); }},
        {"no art path", edited([](LevelText& l) { l.li.clear(); }), L"the previous level's art is used",
         [](TDMap& map)
         {
             EXPECT_EQ(map.mArtPath, "e1_l1/back.psd");
             EXPECT_GT(map.mLevelArt->mFrames.size(), map.mLevelArt->mSpotFrames.size());
         }},
        {"an art path without a folder", edited([](LevelText& l) { l.li = "<li>/td/data/back.psd</li>"; }),
         L"names no art folder", noArt},
        {"an art path leaving the data tree",
         edited([](LevelText& l) { l.li = "<li>/td/data/../../../etc/a.psd</li>"; }),
         L"leaves the data folder", noArt},
        {"an art folder that does not exist",
         edited([](LevelText& l) { l.li = "<li>/td/data/maps/nowhere/a.psd</li>"; }),
         L"art folder of 'td/data/maps/nowhere/a.psd' not found", noArt},
        {"an unknown pre-built tower", withSpot("300", "0", "<a name=\"tower_id\" value=\"424242\"/>"),
         L"unknown tower 424242", [](TDMap& map) { EXPECT_TRUE(map.mPrebuiltTowers.empty()); }},
        {"a known pre-built tower", withSpot("300", "0", "<a name=\"tower_id\" value=\"10000\"/>"), nullptr,
         [](TDMap& map)
         {
             ASSERT_EQ(map.mPrebuiltTowers.size(), 1u);
             EXPECT_EQ(map.mPrebuiltTowers[0].first, map.mLevelArt->mSpotFrames.at(0));
             EXPECT_EQ(map.mPrebuiltTowers[0].second, 10000);
             EXPECT_EQ(map.mEconomy->mMoney, 120); // left to the towers: nothing paid, nothing given
         }},
        {"an unknown spot type", withSpot("300", "9", ""), L"unknown type 9",
         [](TDMap& map)
         {
             ASSERT_EQ(map.mLevelArt->mSpotFrames.size(), 1u);
             EXPECT_EQ(map.mLevelArt->mSpotFrames[0]->mTexture,
                       map.mLevelArt->mSpotImages[TDLevelArt::kSpotOwned]);
         }},
        {"a spot position that is no number", withSpot("nan", "0", ""), L"is no usable number",
         [](TDMap& map) { EXPECT_EQ(map.mBuildSpots.at(0)->mX, 0.0f); }},
        {"no points and no links",
         edited(
             [](LevelText& l)
             {
                 l.points.clear();
                 l.links.clear();
             }),
         L"no points",
         [](TDMap& map)
         {
             EXPECT_TRUE(map.mRoutes.getPoints().empty());
             EXPECT_EQ(map.mRoutes.getPathTable().laneCount(), 0u);
         }},
        {"a wave scale that is no number",
         edited([](LevelText& l) { l.waves = "<waves><wave scale=\"inf\"><e id=\"1\"/></wave></waves>"; }),
         L"is no usable number", [](TDMap& map) { EXPECT_EQ(map.mWaves->getWaves().at(0)->mScale, 1.0f); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        play(c.text ? &*c.text : nullptr);
        // Whatever the file, the level starts and plays.
        EXPECT_EQ(mMap->mState, kStatePlaying);
        EXPECT_FLOAT_EQ(mMap->mSpeed, 1.0f);
        if (c.logged)
        {
            EXPECT_EQ(LogCapture::CountLines(c.logged), 1) << LogCapture::Text();
            EXPECT_NE(LogCapture::Text().find(L"level_09_01.xml"), std::wstring::npos) << LogCapture::Text();
        }
        else
        {
            EXPECT_EQ(dataProblems(), 0) << LogCapture::Text();
        }
        if (c.check)
            c.check(*mMap);
        mHarness.step(5);
        // A file left without waves is won at once; any other plays on.
        EXPECT_EQ(mMap->mState, mMap->mWaves->getWaves().empty() ? kStateWon : kStatePlaying);
    }
}

TEST_F(LevelFileTest, StartMoneyIsTheBudgetWithTheBoughtBonus)
{
    LevelText level;
    level.budget = "<budget>300</budget>";
    mMap->mEconomy->mMoney = 0;
    mMap->mStartBudgetBonus = 0.1f;
    mMap->parseLevelText(L"bonus.xml", level.text());
    EXPECT_EQ(mMap->mEconomy->mMoney, 330);
    EXPECT_EQ(mMap->mEconomy->mBudget, 330);
    EXPECT_EQ(mMap->mEconomy->mShownMoney, 330);
    EXPECT_EQ(mMap->mBudget, 300);
    mMap->mEconomy->mMoney = 0;
    mMap->mStartBudgetBonus = -0.5f;
    mMap->parseLevelText(L"bonus.xml", level.text());
    EXPECT_EQ(mMap->mEconomy->mMoney, 150);
}

TEST_F(LevelFileTest, SpotsGetFramesPicturesAndBoostIcons)
{
    LevelText level;
    level.spots =
        "<spots><skipped x=\"1\" y=\"1\"/>"
        "<spot x=\"200\" y=\"300\"><a name=\"cost_gold\" value=\"2.9\"/><a name=\"type\" value=\"1\"/>"
        "<a name=\"radius_mult\" value=\"1.5\"/><a name=\"damage_mult\" value=\"2\"/>"
        "<a name=\"income_mult\" value=\"3\"/></spot>"
        "<other x=\"600\" y=\"400\"><a name=\"cost_real\" value=\"5\"/><a name=\"type\" value=\"2\"/>"
        "<a name=\"radius_mult\" value=\"1\"/><a name=\"damage_mult\" value=\"1\"/></other>"
        "<spot x=\"800\" y=\"500\"><a name=\"radius_mult\" value=\"1\"/><a name=\"damage_mult\" value=\"1\"/>"
        "<a name=\"income_mult\" value=\"1\"/></spot></spots>";
    const std::string text = level.text();
    play(&text);
    EXPECT_EQ(dataProblems(), 0) << LogCapture::Text();
    ASSERT_EQ(mMap->mBuildSpots.size(), 3u)
        << "elements before the first spot are skipped, every later one is a spot";
    const TDLevelArt& art = *mMap->mLevelArt;
    ASSERT_EQ(art.mSpotFrames.size(), 3u);

    TDBuildSpot& bought = *mMap->mBuildSpots[0];
    EXPECT_EQ(bought.mCostGold, 2);
    EXPECT_FALSE(bought.mOwned);
    EXPECT_EQ(mMap->mBuildSpots[1]->mCostReal, 5);
    EXPECT_FALSE(mMap->mBuildSpots[1]->mOwned);
    EXPECT_TRUE(mMap->mBuildSpots[2]->mOwned) << "a spot that costs nothing is owned";

    const TDFrameEntry& frame = *art.mSpotFrames[0];
    EXPECT_EQ(frame.mName, L"#0");
    EXPECT_EQ(art.mSpotFrames[2]->mName, L"#2");
    EXPECT_EQ(frame.mLink, &bought);
    ASSERT_NE(frame.mTexture, nullptr);
    EXPECT_EQ(frame.mTexture, art.mSpotImages[TDLevelArt::kSpotGold]);
    EXPECT_EQ(art.mSpotFrames[1]->mTexture, art.mSpotImages[TDLevelArt::kSpotGems]);
    EXPECT_EQ(art.mSpotFrames[2]->mTexture, art.mSpotImages[TDLevelArt::kSpotOwned]);
    const float width = static_cast<float>(frame.mTexture->GetWidth());
    EXPECT_EQ(frame.mRect.x, static_cast<float>(static_cast<int>(200.0f - width * 0.5f)));
    EXPECT_EQ(frame.mRect.width, width);

    // Three icons 33 units apart, centred under the spot, 25 units below its centre; the second spot lacks
    // "income_mult", which reads 0 and so shows its icon.
    ASSERT_EQ(bought.mIcons.size(), 3u);
    const float centre = frame.mRect.x + frame.mRect.width * 0.5f;
    for (std::size_t k = 0; k < 3; ++k)
    {
        const TDFrameEntry& icon = *bought.mIcons[k];
        EXPECT_EQ(icon.mName, L"##");
        EXPECT_NE(icon.mTexture, nullptr) << k;
        EXPECT_EQ(icon.mRect.x,
                  static_cast<float>(static_cast<int>(centre - 33.0f + 33.0f * static_cast<float>(k))));
        EXPECT_EQ(icon.mRect.y, frame.mRect.y + frame.mRect.height * 0.5f + 25.0f);
        EXPECT_EQ(icon.mSortKey, icon.mRect.y + 30.0f);
    }
    EXPECT_EQ(mMap->mBuildSpots[1]->mIcons.size(), 1u);
    EXPECT_TRUE(mMap->mBuildSpots[2]->mIcons.empty());

    // Found within 40 units of a visible frame's centre, not when hidden (a tower stands there).
    const int cx = static_cast<int>(centre);
    const int cy = static_cast<int>(frame.mRect.y + frame.mRect.height * 0.5f);
    EXPECT_EQ(art.spotAt(cx + 40, cy), &frame);
    EXPECT_EQ(art.spotAt(cx + 41, cy), nullptr);
    art.mSpotFrames[0]->mVisible = false;
    EXPECT_EQ(art.spotAt(cx, cy), nullptr);
    // A restart shows every spot again.
    mMap->startLevel();
    ASSERT_EQ(mMap->mLevelArt->mSpotFrames.size(), 3u);
    EXPECT_TRUE(mMap->mLevelArt->mSpotFrames[0]->mVisible);
}

TEST_F(LevelFileTest, ASpotTheProfileRecordsAsBoughtIsOwnedWithTheBoughtPicture)
{
    LevelText level;
    level.spots = LevelText::spot("300", "300", "40", "0", "1", "");
    const std::string text = level.text();
    play(&text);
    ASSERT_EQ(mMap->mBuildSpots.size(), 1u);
    EXPECT_FALSE(mMap->mBuildSpots[0]->mOwned);
    mMap->mProfile->addOwnedSpot(L"#0", kEpisode, 0);
    mMap->startLevel();
    ASSERT_EQ(mMap->mBuildSpots.size(), 1u);
    EXPECT_TRUE(mMap->mBuildSpots[0]->mOwned);
    EXPECT_EQ(mMap->mLevelArt->mSpotFrames[0]->mTexture,
              mMap->mLevelArt->mSpotImages[TDLevelArt::kSpotOwned]);
}

TEST_F(LevelFileTest, WavesAreReadAsTheirPartDescribes)
{
    LevelText level;
    level.waves = "<waves timeout=\"2.9\">"
                  "<wave timeout=\"5\" spawn=\"-1\" wipeAward=\"30\" scale=\"0\"><e id=\"3\" upgrade=\"2\" "
                  "x=\"90\" y=\"-20\"/>"
                  "<other/></wave>"
                  "<empty timeout=\"1\"/>"
                  "<wave linked=\"\"><e id=\"4\"/></wave>"
                  "<wave linked=\"0\" scale=\"2\"><e id=\"5\"/></wave></waves>";
    const std::string text = level.text();
    play(&text);
    EXPECT_EQ(LogCapture::CountLines(L"LOADED ENEMY WAVE=(timeout=5, spawner=-1)"), 1) << LogCapture::Text();
    const std::vector<TDWaveProto*>& waves = mMap->mWaves->getWaves();
    ASSERT_EQ(waves.size(), 3u) << "a wave without entries is dropped";
    EXPECT_EQ(waves[0]->mTimeout, 7) << "the base delay counts in whole seconds";
    EXPECT_EQ(waves[0]->mSpawnId, -1);
    EXPECT_EQ(waves[0]->mWipeAward, 30);
    EXPECT_EQ(waves[0]->mScale, 1.0f);
    EXPECT_EQ(waves[0]->mLinked, -1);
    ASSERT_EQ(waves[0]->mEntries.size(), 2u) << "every child of a wave is an entry";
    const TDWaveEntry& entry = *waves[0]->mEntries[0];
    EXPECT_EQ(entry.mUnitId, 3);
    EXPECT_EQ(entry.mUpgrade, 2);
    EXPECT_EQ(entry.mX, 90.0f);
    EXPECT_EQ(entry.mY, -20.0f);
    EXPECT_EQ(entry.mState, kEntryWaiting);
    EXPECT_EQ(entry.mWave, waves[0]);
    EXPECT_EQ(waves[0]->mEntries[1]->mUpgrade, 1) << "an entry without upgrade is the first tier, not the top";
    EXPECT_EQ(waves[1]->mLinked, 0) << "a linked value that is there but empty reads 0";
    EXPECT_EQ(waves[2]->mScale, 2.0f);
    EXPECT_EQ(mMap->mWaves->getWaveCount(), 1);
    // The route preparation knows each wave's spawn and lane keys: the spawn -1 is the first spawn point.
    EXPECT_GT(mMap->mRoutes.getPathTable().laneCount(), 0u);

    // A restart drops the entries made while the level ran and sets the others waiting again.
    auto* made = new TDWaveEntry(waves[0]);
    made->mX = -1.0f;
    waves[0]->mEntries.push_back(made);
    waves[0]->mEntries[0]->setState(kEntryEscaped);
    mMap->mWaves->reset();
    EXPECT_EQ(waves[0]->mEntries.size(), 2u);
    EXPECT_EQ(waves[0]->mEntries[0]->mState, kEntryWaiting);
}

TEST_F(LevelFileTest, WaveCallMarkersStayInsideTheScreen)
{
    TDWaveCallMarkers markers;
    render::test::TestImage image(60, 40);
    markers.mImage = &image;
    const TDPoint low(1, -20.0f, 700.0f);
    const TDPoint right(2, 2000.0f, 50.0f);
    const TDPoint inside(3, 300.0f, 300.0f);
    markers.add(&low);
    markers.add(&right);
    markers.add(&inside);
    markers.add(nullptr);
    ASSERT_EQ(markers.getMarkers().size(), 3u);
    EXPECT_EQ(markers.getMarkers()[0]->mRect.x, 0.0f);
    EXPECT_EQ(markers.getMarkers()[0]->mRect.y, 628.0f);
    EXPECT_EQ(markers.getMarkers()[1]->mRect.x, 964.0f);
    EXPECT_EQ(markers.getMarkers()[1]->mRect.y, 100.0f);
    // Strictly inside.
    EXPECT_TRUE(markers.hitTest(301, 301));
    EXPECT_FALSE(markers.hitTest(300, 310));
    EXPECT_FALSE(markers.hitTest(360, 310));
    markers.clear();
    EXPECT_FALSE(markers.hitTest(301, 301));
}

} // namespace
