// The game application and its board, headless on the demo data: start-up (caption, screen mode from the
// profile, shader, fonts, particles, the player's gems, the first level), the side images, the pointer
// through the frame manager, keys that always reach the board, and the developer keys.
#include "Core/File/AtomicFile.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Units/TMobShader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace
{
using tdtest::GameHarness;

int countLines(const std::vector<std::string>& frame, const std::string& start)
{
    return static_cast<int>(std::count_if(
        frame.begin(), frame.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
}

void writeProfiles(const GameHarness& harness, const std::string& inside)
{
    std::ofstream(harness.userFolder() / "profiles.xml")
        << "<Profiles currentProfile=\"Ada\"><Profile name=\"Ada\">" << inside << "</Profile></Profiles>";
}

TEST(Game, StartsOnTheFirstLevelWithEverythingItLoads)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    Game* game = harness.game();
    ASSERT_EQ(Game::Get(), game);
    GameWindow* board = game->GetGameWindow();
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(game->GetCurrentScreen(), board);
    EXPECT_EQ(Game::GetMap(), board->mMap);
    EXPECT_FALSE(game->IsWindowed()) << "a new player starts in full screen";
    ASSERT_NE(game->GetMobShader(), nullptr);
    EXPECT_TRUE(game->GetMobShader()->IsLoaded());
    for (const CountedHandle<render::BMFont>* font :
         {&board->mFontMain32_1, &board->mFontMain32_2, &board->mFontMain42_1, &board->mFontMain42_2,
          &board->mFontMain80, &board->mFontMain42_3})
        EXPECT_TRUE(*font && (*font)->IsLoaded());
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    EXPECT_GT(particles->GetEmitterCount(), 0);
    EXPECT_NE(particles->GetAtlas(0), nullptr);
    EXPECT_NE(LocalStrings::Instance()->get(L"game_caption"), L"???");

    TDMap* map = harness.map();
    EXPECT_EQ(map->mState, kStatePlaying);
    EXPECT_EQ(map->mEpisode, 0);
    EXPECT_EQ(map->mLevel, 0);
    EXPECT_NE(map->mActiveMarker, nullptr);
    EXPECT_NE(map->mActiveButtonMarker, nullptr);
    harness.step(10);
    EXPECT_TRUE(harness.sounds().unknownTags.empty());
}

TEST(Game, TheProfileChoosesTheScreenModeAndItsGemsFillThePurse)
{
    GameHarness harness;
    writeProfiles(harness, "<fs v=\"0\"/><gems amount=\"250\"/>");
    ASSERT_TRUE(harness.start());
    EXPECT_TRUE(harness.game()->IsWindowed());
    TDMap* map = harness.map();
    EXPECT_EQ(map->mEconomy->mGems, 250);
    EXPECT_EQ(map->mHud->getText(L"text/crystals"), L"250");
    // The next gems add to what the profile held instead of writing the purse's own count over it.
    map->mEconomy->addGems(5);
    EXPECT_EQ(map->mProfile->getGems(), 255);
}

TEST(Game, SideImagesFrameThePlayfieldBehindTheSelectScreens)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    EXPECT_GT(countLines(harness.lastFrame(), "DrawIndexedPrimitive"), 5)
        << "ground, spots, the next-wave marker, its countdown text, glow, the HUD";
    // The level-start banner is the board's own and goes by itself; the level stands still meanwhile.
    harness.map()->mSpeed = 0.0f;
    for (int frame = 0; frame < 1200 && harness.game()->GetGameWindow()->mLevelBanner; ++frame)
        harness.step();
    ASSERT_EQ(harness.game()->GetGameWindow()->mLevelBanner, nullptr);
    harness.map()->mState = kStateEpisodeSelect;
    harness.step();
    // No world and no HUD overlay behind the episode select: only the two side images.
    EXPECT_EQ(countLines(harness.lastFrame(), "DrawIndexedPrimitive"), 2);
    EXPECT_EQ(countLines(harness.lastFrame(), "SetTexture"), 2);
}

TEST(Game, ThePointerReachesTheBoardAndTheMapThroughTheFrameManager)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    TDMap* map = harness.map();
    TDButtonFrame* play = map->mHud->findButton(L"play_btn");
    ASSERT_NE(play, nullptr);
    const float x = play->mRect.x + play->mRect.width * 0.5f;
    const float y = play->mRect.y + play->mRect.height * 0.5f;
    harness.move(x, y);
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorX, static_cast<int>(x));
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorY, static_cast<int>(y));
    EXPECT_EQ(play->mHover, 1);
    // A release acts on the button under it (here the lit twin of the current speed, which does nothing
    // and keeps the hover); a release that does not act on a button ends with no hover.
    harness.click(x, y);
    EXPECT_EQ(play->mHover, 1);
    harness.release(x, y - 300.0f);
    EXPECT_EQ(play->mHover, 0);
    // Points beyond the 1024-wide layout (the wide screen's margins) reach the board too.
    harness.move(-150.0f, 20.0f);
    EXPECT_EQ(harness.game()->GetGameWindow()->mCursorX, -150);
}

// On the wide screen the map's view rectangle starts left of the layout; a window's scale grows its buttons
// about half the view's size, not about the view's centre.
TEST(Game, ButtonsScaleAboutHalfTheMapsViewSize)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    const TDMap* map = harness.map();
    ASSERT_FLOAT_EQ(map->mScreenRect[0], -171.0f);
    ASSERT_FLOAT_EQ(map->mScreenRect[2], 1366.0f);
    ASSERT_FLOAT_EQ(map->mScreenRect[3], 768.0f);
    const TDButtonFrame* play = map->mHud->findButton(L"play_btn");
    ASSERT_NE(play, nullptr);
    ASSERT_NE(play->mTexture, nullptr);
    TDButtonFrame button;
    button.mTexture = play->mTexture;
    const float w = static_cast<float>(play->mTexture->GetWidth());
    const float h = static_cast<float>(play->mTexture->GetHeight());
    button.mRect = math::Rect(100.0f - w * 0.5f, 200.0f - h * 0.5f, w, h); // centred on (100, 200)
    struct Case
    {
        float scale;
        math::Point2 centre;
    };
    // (100, 200) scaled about (683, 384).
    const Case cases[] = {{1.0f, {100.0f, 200.0f}}, {2.0f, {-483.0f, 16.0f}}, {0.5f, {391.5f, 292.0f}}};
    render::RecordingRender& render = *harness.recording();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.scale);
        ASSERT_EQ(render.BeginFrame(), VN_OK);
        {
            render::Graphics graphics(&render);
            button.draw(&graphics, c.scale);
            auto* cache = static_cast<render::BufferDoubleCache<render::VertexBuffer<render::SVertex2D>>*>(
                render.GetVertexCache(render::SVertex2D::Format().mId));
            void* end = nullptr;
            uint32_t free = 0;
            ASSERT_EQ(cache->GetFirst()->GetImpl()->Reserve(0, &end, &free), VN_OK);
            const render::SVertex2D* quad = static_cast<const render::SVertex2D*>(end) - 4;
            // Every vertex is moved by -0.5 as the last step of a draw.
            EXPECT_NEAR((quad[0].x + quad[2].x) * 0.5f + 0.5f, c.centre.x, 1e-3f);
            EXPECT_NEAR((quad[0].y + quad[2].y) * 0.5f + 0.5f, c.centre.y, 1e-3f);
            EXPECT_NEAR(quad[2].x - quad[0].x, w * c.scale, 1e-3f);
        }
        ASSERT_EQ(render.EndFrame(), VN_OK);
        ASSERT_EQ(render.Playback(), VN_OK);
        (void)render.TakeLog();
    }
}

TEST(Game, DeveloperKeysNeedTheDeveloperFlagAndAPlayedLevel)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    harness.step();
    TDMap* map = harness.map();
    TDEconomy& purse = *map->mEconomy;
    const int money = purse.mMoney;
    harness.key('m');
    EXPECT_EQ(purse.mMoney, money) << "without the developer flag";

    map->mDeveloperMode = true;
    harness.key('m');
    EXPECT_EQ(purse.mMoney, money + 1000);
    const int gems = purse.mGems;
    harness.key('c');
    EXPECT_EQ(purse.mGems, gems + 100);
    harness.key('h');
    EXPECT_FLOAT_EQ(map->mLives, 100.0f);
    EXPECT_FLOAT_EQ(map->mMaxLives, 100.0f);
    EXPECT_EQ(map->mHud->getText(L"text/mana"), L"100/100");
    harness.key('1');
    harness.key('3');
    EXPECT_TRUE(map->mDebugDrawFirst);
    EXPECT_TRUE(map->mDebugDrawSecond);
    EXPECT_TRUE(map->mDebugUnitInfo) << "the second switch shows the unit info too";
    harness.step(); // the developer overlays draw
    harness.key('4');
    harness.key('x');
    harness.key('r');
    EXPECT_TRUE(harness.dismissUnlockMessage()) << "the restarted 1-1 shows its news again";
    EXPECT_EQ(purse.mMoney, map->mBudget) << "restarted";
    EXPECT_FLOAT_EQ(map->mLives, 25.0f);

    // A modal frame takes the keys: none reaches the board below it until it has gone.
    auto* modal = new widget::Frame;
    harness.game()->GetFrameManager()->AddModal(modal, false);
    harness.key('m');
    harness.key('w');
    EXPECT_EQ(purse.mMoney, map->mBudget);
    EXPECT_EQ(map->mState, kStatePlaying);
    harness.game()->GetFrameManager()->RemoveFrame(modal, true, false);
    harness.key('m');
    EXPECT_EQ(purse.mMoney, map->mBudget + 1000);

    harness.key('w');
    EXPECT_EQ(map->mState, kStateWon);
    harness.key('m');
    EXPECT_EQ(purse.mMoney, map->mBudget + 1000) << "nothing outside a played level";
    harness.step(); // the result window joins the screens; the level start clears them
    map->startLevel();
    // The modal frame takes the pointer: the news are closed as their "ok" does.
    harness.step();
    (void)map->releaseInSelectScreens(L"ok", 0, 0);
    harness.key('l');
    EXPECT_EQ(map->mState, kStateLost);
}

// A window that counts what reaches it.
class CountingWindow : public HUDWindow
{
public:
    explicit CountingWindow(int* deleted = nullptr) : mDeleted(deleted) {}
    ~CountingWindow() override
    {
        if (mDeleted)
            ++*mDeleted;
    }
    void update(float dt) override
    {
        ++updates;
        HUDWindow::update(dt);
    }
    void draw(render::Graphics*) override { ++draws; }
    void mouseDown(int x, int y) override
    {
        ++downs;
        lastX = x;
        lastY = y;
    }
    void mouseUp(int, int) override { ++ups; }
    void mouseMove(int, int) override { ++moves; }
    void onClose() override { ++closes; }
    void onKeyDown(int) override { ++keys; }
    void onChar(int) override { ++chars; }
    std::wstring click(int, int) override { return answer; }
    int hitTest(int, int) override { return index; }

    int* mDeleted;
    int updates = 0, draws = 0, downs = 0, ups = 0, moves = 0, closes = 0, keys = 0, chars = 0;
    int lastX = 0, lastY = 0;
    std::wstring answer;
    int index = -1;
};

TEST(Game, TheBoardIsTheScreensContextAndShowsItsOverlayWindowsOverEverything)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    GameWindow* board = harness.game()->GetGameWindow();
    ASSERT_EQ(TDScreenContext::current(), board);
    EXPECT_EQ(boardFont(TDBoardFont::Main80).Get(), board->mFontMain80.Get());
    EXPECT_EQ(boardRootLayer(), board->GetLayer());
    harness.step();

    int deleted = 0;
    auto* dialog = new CountingWindow(&deleted);
    board->mOverlayDialog = dialog;
    harness.move(300.5f, 200.7f);
    harness.press(300.5f, 200.7f);
    harness.release(300.5f, 200.7f);
    EXPECT_EQ(dialog->downs, 1) << "the press goes to the dialog, not to the map";
    EXPECT_EQ(dialog->lastX, 300);
    EXPECT_EQ(dialog->lastY, 200);
    EXPECT_EQ(dialog->ups, 1);
    EXPECT_EQ(dialog->moves, 2) << "the move, and the move that follows the press";
    harness.step();
    EXPECT_EQ(dialog->updates, 1);
    EXPECT_EQ(dialog->draws, 1);
    dialog->mActive = 0;
    harness.step();
    EXPECT_EQ(board->mOverlayDialog, nullptr);
    EXPECT_EQ(deleted, 1);

    // Keys reach the HUD's windows through the board.
    auto* screen = new CountingWindow;
    harness.map()->mHud->showWindow(screen);
    harness.step();
    harness.key('a');
    harness.game()->OnChar(L'b');
    EXPECT_EQ(screen->keys, 1);
    EXPECT_EQ(screen->chars, 1);
}

TEST(Game, TheScreensContextGoesWithTheBoard)
{
    {
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        EXPECT_NE(TDScreenContext::current(), nullptr);
    }
    EXPECT_EQ(TDScreenContext::current(), nullptr);
}

TEST(Game, TheHUDStacksQueuedWindowsAndClosesThemAsTheyAsk)
{
    // Outlives the harness: the windows still open when the game ends count themselves on the way out.
    int deleted = 0;
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    HUD& hud = *harness.map()->mHud;
    auto* first = new CountingWindow(&deleted);
    auto* second = new CountingWindow(&deleted);
    hud.showWindow(first);
    hud.showWindow(second);
    EXPECT_TRUE(hud.getWindows().empty()) << "queued until the next update";
    harness.step();
    ASSERT_EQ(hud.getWindows().size(), 2u);
    EXPECT_EQ(hud.getWindows().back(), second) << "the last queued is on top";
    EXPECT_EQ(first->updates, 0) << "joined at the end of the update";
    EXPECT_EQ(first->draws, 1);

    // The top window answers; hitTest asks from the top down.
    second->answer = L"ok";
    first->index = 3;
    EXPECT_EQ(hud.click(10, 10), L"ok");
    EXPECT_EQ(hud.hitTest(10, 10), 3);
    harness.press(10.0f, 10.0f);
    EXPECT_EQ(second->downs, 1);
    EXPECT_EQ(first->downs, 0);

    // A window that clears its flag gets onClose and goes at the next update; closeTopWindow deletes at once.
    first->mActive = 0;
    harness.step();
    EXPECT_EQ(deleted, 1);
    ASSERT_EQ(hud.getWindows().size(), 1u);
    hud.closeTopWindow();
    EXPECT_EQ(deleted, 2);
    EXPECT_TRUE(hud.getWindows().empty());
    hud.closeTopWindow();

    // A level start deletes the open windows and keeps the queued ones.
    hud.showWindow(new CountingWindow(&deleted));
    harness.step();
    auto* queued = new CountingWindow(&deleted);
    hud.showWindow(queued);
    harness.map()->startLevel();
    EXPECT_EQ(deleted, 3);
    harness.step();
    ASSERT_EQ(hud.getWindows().size(), 2u) << "the queued window, then the level's news";
    EXPECT_EQ(hud.getWindows()[0], queued);
}

// Every step of an atomic write fails as on a read-only folder.
bool readOnly(const char*)
{
    errno = EROFS;
    return true;
}

TEST(Game, ASaveThatFailsIsShownOnceInAMessageBoxAndPlayGoesOn)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    widget::FrameManager* frames = harness.game()->GetFrameManager();
    auto boxes = [frames]
    {
        std::vector<TMessageBox*> found;
        for (const widget::FrameEntry& entry : frames->GetFrames())
            if (auto* box = dynamic_cast<TMessageBox*>(entry.frame);
                box && entry.tier == widget::FrameTierModal)
                found.push_back(box);
        return found;
    };
    ASSERT_TRUE(boxes().empty());
    file::SetAtomicFaultHook(readOnly);
    map->mProfile->setGems(map->mProfile->getGems() + 1);
    harness.step(2);
    map->mProfile->setGems(map->mProfile->getGems() + 1);
    harness.step(2);
    file::SetAtomicFaultHook(nullptr);
    const std::vector<TMessageBox*> shown = boxes();
    ASSERT_EQ(shown.size(), 1u) << "told once";
    EXPECT_EQ(shown[0]->mTextKey, L"save_failed");
    EXPECT_NE(shown[0]->mDetail.find(L"Read-only file system"), std::wstring::npos);
    EXPECT_TRUE(shown[0]->mCommand.empty()) << "a plain message: its one button only closes it";
    EXPECT_EQ(map->mState, kStatePlaying);
}
} // namespace
