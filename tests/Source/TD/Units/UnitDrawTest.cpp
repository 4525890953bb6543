// How a unit shows on the recording back end: a sheet without the frames of the unit's state stands in with
// its own picture at half size, drawn at once; the developer's unit info writes the health over the unit and
// marks its frame, only while its switch is on.
#include "Core/Base/Containers.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/VertexFormat.h"
#include "Source/TD/Harness/TDBoxFont.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Units/TDWaves.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <memory>

namespace
{
using tdtest::GameHarness;

struct Quad
{
    float left, top, right, bottom;
};

class UnitDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mHarness.start());
        mMap = mHarness.map();
        mRecording = mHarness.recording();
        ASSERT_NE(mRecording, nullptr);
        ASSERT_FALSE(mRecording->IsFrameOpen());
        ASSERT_EQ(mRecording->BeginFrame(), VN_OK);
        mGraphics = std::make_unique<render::Graphics>(mRecording);
    }
    void TearDown() override
    {
        mGraphics.reset();
        if (mRecording && mRecording->IsFrameOpen())
        {
            mRecording->EndFrame();
            mRecording->Playback();
        }
    }

    // A goblin as a wave makes it, at the level's first spawn point.
    // A dart tower on the first spot the level owns, paid for; null when the level has no such spot.
    TDTower* buildDart()
    {
        for (TDFrameEntry* frame : mMap->mLevelArt->mSpotFrames)
            if (frame->mLink && frame->mLink->mOwned)
            {
                mMap->mEconomy->mMoney += 1000;
                return mMap->buildTower(mMap->mProtoTable->find(10000), frame);
            }
        return nullptr;
    }

    TDUnit* spawnGoblin()
    {
        TDWaveProto* wave = mMap->mWaves->getWaves().at(0);
        auto* entry = new TDWaveEntry(wave);
        entry->mUnitId = 1;
        entry->mUpgrade = 1;
        entry->mX = -1.0f;
        wave->mEntries.push_back(entry);
        return mMap->spawnUnit(entry, mMap->getFirstSpawnPoint());
    }

    template <typename T>
    uint32_t used()
    {
        auto* cache = static_cast<render::BufferDoubleCache<render::VertexBuffer<T>>*>(
            mRecording->GetVertexCache(T::Format().mId));
        return cache->GetFirst()->GetImpl()->GetUsed();
    }
    template <typename T>
    std::vector<T> verticesSince(uint32_t before)
    {
        const uint32_t now = used<T>();
        if (now <= before)
            return {};
        auto* cache = static_cast<render::BufferDoubleCache<render::VertexBuffer<T>>*>(
            mRecording->GetVertexCache(T::Format().mId));
        void* p = nullptr;
        uint32_t got = 0;
        EXPECT_EQ(cache->GetFirst()->GetImpl()->Reserve(0, &p, &got), VN_OK);
        const T* end = static_cast<T*>(p);
        return std::vector<T>(end - (now - before), end);
    }
    // Image quads: four corners each, top-left first and bottom-right third, moved by half a unit.
    std::vector<Quad> quadsSince(uint32_t before)
    {
        std::vector<Quad> quads;
        const std::vector<render::SVertex2D> v = verticesSince<render::SVertex2D>(before);
        for (std::size_t i = 0; i + 3 < v.size(); i += 4)
            quads.push_back(Quad{v[i].x + 0.5f, v[i].y + 0.5f, v[i + 2].x + 0.5f, v[i + 2].y + 0.5f});
        return quads;
    }
    std::size_t queued() const
    {
        std::size_t n = 0;
        for (const auto& list : mMap->mFrameLists)
            n += list.size();
        return n;
    }

    GameHarness mHarness;
    TDMap* mMap = nullptr;
    render::RecordingRender* mRecording = nullptr;
    std::unique_ptr<render::Graphics> mGraphics;
};

TEST_F(UnitDrawTest, ASheetWithoutTheStatesFramesShowsItsOwnPictureAtHalfSizeUnqueued)
{
    TDUnit* unit = spawnGoblin();
    ASSERT_NE(unit, nullptr);
    TDUnitProto* proto = unit->getProto();
    ASSERT_NE(proto, nullptr);
    TDSpriteSheet* framed = proto->sheet;
    ASSERT_NE(framed, nullptr);

    tinyxml2::XMLDocument xml;
    xml.Parse(R"(<row img="data/sides/l.png"/><row/>)");
    TDSpriteSheet picture(*xml.FirstChildElement("row"));
    TDSpriteSheet bare(*xml.FirstChildElement("row")->NextSiblingElement("row"));
    ASSERT_NE(picture.mTexture, nullptr) << "the demo data's side picture";
    const float w = static_cast<float>(picture.mTexture->GetWidth());
    const float h = static_cast<float>(picture.mTexture->GetHeight());

    const struct
    {
        const char* name;
        TDSpriteSheet* sheet;
        int state;
        bool drawn;  // the picture, at once
        bool queued; // a frame for the depth-sorted lists
    } cases[] = {
        {"walking, sheet with a picture only", &picture, kUnitWalking, true, false},
        {"dying, sheet with a picture only", &picture, kUnitDying, true, false},
        {"walking, sheet with neither", &bare, kUnitWalking, false, false},
        {"hidden after death", &picture, kUnitGone, false, false},
        {"walking, sheet with frames", framed, kUnitWalking, false, true},
    };
    const float x = 300.0f;
    const float y = 200.0f;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        proto->sheet = c.sheet;
        unit->mState = c.state;
        unit->mTargetX = x;
        unit->mTargetY = y;
        const uint32_t before = used<render::SVertex2D>();
        const std::size_t listed = queued();
        unit->draw();
        unit->drawStandIn(mGraphics.get());
        const std::vector<Quad> quads = quadsSince(before);
        EXPECT_EQ(queued() - listed, c.queued ? 1u : 0u);
        ASSERT_EQ(quads.size(), c.drawn ? 1u : 0u);
        if (c.drawn)
        {
            EXPECT_NEAR(quads[0].left, x, 0.01f) << "top-left corner on the target point";
            EXPECT_NEAR(quads[0].top, y, 0.01f);
            EXPECT_NEAR(quads[0].right - quads[0].left, w * 0.5f, 0.01f);
            EXPECT_NEAR(quads[0].bottom - quads[0].top, h * 0.5f, 0.01f);
        }
    }
    proto->sheet = framed;

    // Through the map's whole frame the picture is drawn and the unit keeps to its state.
    unit->mState = kUnitWalking;
    proto->sheet = &picture;
    mGraphics.reset();
    mRecording->EndFrame();
    mRecording->Playback();
    mHarness.step();
    proto->sheet = framed;
    EXPECT_EQ(unit->mState, kUnitWalking);
    ASSERT_EQ(mRecording->BeginFrame(), VN_OK);
    mGraphics = std::make_unique<render::Graphics>(mRecording);
}

TEST_F(UnitDrawTest, TheDeveloperUnitInfoShowsHealthAndFrameEdgesOnlyWhileSwitchedOn)
{
    TDUnit* unit = spawnGoblin();
    ASSERT_NE(unit, nullptr);
    unit->mTargetX = 400.0f;
    unit->mTargetY = 300.0f;
    unit->draw();
    for (auto& list : mMap->mFrameLists)
        base::DeleteAll(list); // as the map's frame does after painting; the entry itself is not needed here
    const math::Rect frame = unit->getFrameRect();
    ASSERT_GT(frame.width, 0.0f);
    unit->hit(unit->getMaxHealth() * 0.25f);
    unit->mHealthBarTime = 0.0f; // the health bar stays out of the picture

    const struct
    {
        bool on;
        float scale;
        float offsetX;
    } cases[] = {{false, 1.0f, 0.0f}, {true, 1.0f, 0.0f}, {true, 2.0f, -100.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "on " << c.on << ", camera scale " << c.scale);
        mMap->mDebugUnitInfo = c.on;
        mMap->mViewScale = c.scale;
        mMap->mViewOffsetX = c.offsetX;
        tdtest::BoxFontBoard board;
        const uint32_t lines = used<render::SVertexGeom>();
        unit->drawOverlay(mGraphics.get());
        const std::vector<render::SVertexGeom> ends = verticesSince<render::SVertexGeom>(lines);
        if (!c.on)
        {
            EXPECT_TRUE(board.font.draws.empty());
            EXPECT_TRUE(ends.empty());
            continue;
        }
        ASSERT_EQ(board.font.draws.size(), 1u);
        const tdtest::BoxFont::Draw& text = board.font.draws[0];
        const std::wstring expected = std::to_wstring(static_cast<int>(unit->mHealth)) + L"/" +
                                      std::to_wstring(static_cast<int>(unit->getMaxHealth()));
        EXPECT_EQ(text.text, expected);
        const float sx = c.scale * 400.0f + c.offsetX;
        const float sy = c.scale * 300.0f;
        EXPECT_NEAR(text.topLeft.x, sx, 0.01f) << "at the target point";
        EXPECT_NEAR(text.topLeft.y, sy, 0.01f);
        EXPECT_NEAR(text.bottomRight.x - text.topLeft.x, 0.5f * c.scale * 10.0f * expected.size(), 0.01f)
            << "half scale";

        // Two edges of the frame rectangle, from its top-left corner.
        ASSERT_EQ(ends.size(), 4u);
        const float left = c.scale * (frame.x - frame.width * 0.5f) + c.offsetX;
        const float top = c.scale * (frame.y - frame.height * 0.5f);
        const float tolerance = 0.6f; // the half-unit move of every vertex
        for (std::size_t i = 0; i < ends.size(); i += 2)
        {
            EXPECT_NEAR(ends[i].x, left, tolerance);
            EXPECT_NEAR(ends[i].y, top, tolerance);
        }
        EXPECT_NEAR(ends[1].x - ends[0].x, c.scale * frame.width, 0.01f);
        EXPECT_NEAR(ends[1].y, ends[0].y, 0.01f);
        EXPECT_NEAR(ends[3].y - ends[2].y, c.scale * frame.height, 0.01f);
        EXPECT_NEAR(ends[3].x, ends[2].x, 0.01f);
    }
    mMap->mViewScale = 1.0f;
    mMap->mViewOffsetX = 0.0f;
}
TEST_F(UnitDrawTest, APlainBulletPictureIsTranslatedToTheBulletsPoint)
{
    // The dart's ammunition has a plain picture (no layered document): its corner stands at the bullet.
    TDTower* tower = buildDart();
    ASSERT_NE(tower, nullptr);
    TDUnit* unit = spawnGoblin();
    TDBullet bullet(tower, unit);
    const TDUnitProto* ammo = bullet.ammo();
    ASSERT_TRUE(ammo && ammo->sheet && !ammo->sheet->mFromDocument && ammo->sheet->mTexture);
    bullet.mX = 300.0f;
    bullet.mY = 200.0f;
    const uint32_t before = used<render::SVertex2D>();
    bullet.draw(mGraphics.get());
    const std::vector<Quad> quads = quadsSince(before);
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].left, 300.0f, 0.01f);
    EXPECT_NEAR(quads[0].top, 200.0f, 0.01f);
    EXPECT_NEAR(quads[0].right - quads[0].left, static_cast<float>(ammo->sheet->mTexture->GetWidth()), 0.01f);
}
TEST_F(UnitDrawTest, TheDeveloperOverlayWritesEachTowersDebugNumberInTheSmallFont)
{
    TDTower* tower = buildDart();
    ASSERT_NE(tower, nullptr);
    EXPECT_EQ(tower->mDebugNumber, 0) << "a tower built from the menu";
    tower->mDebugNumber = 7;
    for (bool on : {false, true})
    {
        SCOPED_TRACE(on);
        mMap->mDebugDrawSecond = on;
        tdtest::BoxFontBoard board;
        mMap->draw(mGraphics.get());
        const auto number = std::find_if(board.font.draws.begin(), board.font.draws.end(),
                                         [](const tdtest::BoxFont::Draw& d) { return d.text == L"7"; });
        ASSERT_EQ(number != board.font.draws.end(), on);
        if (!on)
            continue;
        EXPECT_NEAR(number->topLeft.x, tower->mX, 0.01f);
        EXPECT_NEAR(number->topLeft.y, tower->mY, 0.01f);
        EXPECT_NE(std::find(board.asked.begin(), board.asked.end(), TDBoardFont::Main32_2),
                  board.asked.end());
    }
    mMap->mDebugDrawSecond = false;
}
} // namespace
