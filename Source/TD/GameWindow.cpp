#include "Source/TD/GameWindow.h"

#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/Map/TDGameSheets.h"
#include "Source/TD/Map/TDMap.h"

namespace
{
// Engine key codes of the developer keys.
constexpr int kKeyReload = 'r';
constexpr int kKeyWin = 'w';
constexpr int kKeyLose = 'l';
constexpr int kKeyDebugFirst = '1';
constexpr int kKeyDebugSecond = '3';
constexpr int kKeySpells = '4';
constexpr int kKeyGems = 'c';
constexpr int kKeyMoney = 'm';
constexpr int kKeyLives = 'h';

CountedHandle<render::BMFont> loadFont(const wchar_t* name)
{
    CountedHandle<render::BMFont> font =
        resource::ResourceManager::Instance()->Get<render::BMFont>(std::wstring(L"td/data/fonts/") + name);
    if (!font)
        return font;
    font->mRender = framework::GetGameApplication() ? framework::GetGameApplication()->GetRender() : nullptr;
    if (!font->IsLoaded() && font->Load() != VN_OK)
        return CountedHandle<render::BMFont>();
    return font;
}

int truncated(float value)
{
    return truncToInt(value);
}
} // namespace

GameWindow::GameWindow() = default;

GameWindow::~GameWindow()
{
    delete mOverlayDialog;
    mOverlayDialog = nullptr;
    delete mLevelBanner;
    mLevelBanner = nullptr;
    delete mMap;
    mMap = nullptr;
    if (TDScreenContext::current() == this)
        TDScreenContext::setCurrent(nullptr);
}

CountedHandle<render::Font> GameWindow::getFont(TDBoardFont font) const
{
    const CountedHandle<render::BMFont>* fonts[kBoardFontCount] = {
        &mFontMain32_1, &mFontMain32_2, &mFontMain42_1, &mFontMain42_2, &mFontMain80, &mFontMain42_3};
    const int index = static_cast<int>(font);
    if (index < 0 || index >= kBoardFontCount || !*fonts[index])
        return CountedHandle<render::Font>();
    return CountedHandle<render::Font>(*fonts[index]);
}

layer::Layer* GameWindow::getRootLayer() const
{
    return GetLayer();
}

VNResultEnum GameWindow::Init()
{
    TDScreenContext::setCurrent(this);
    SetHitRect(math::Rect(-10000.0f, -10000.0f, 20000.0f, 20000.0f));
    mCursorX = 0;
    mCursorY = 0;
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    particles->mFolder = "td/fx/";
    particles->Load("fx2.ptc",
                    framework::GetGameApplication() ? framework::GetGameApplication()->GetRender() : nullptr);
    mFontMain32_1 = loadFont(L"main_32_1");
    mFontMain32_2 = loadFont(L"main_32_2");
    mFontMain42_1 = loadFont(L"main_42_1");
    mFontMain42_2 = loadFont(L"main_42_2");
    mFontMain80 = loadFont(L"main_80");
    mFontMain42_3 = loadFont(L"main_42_3");
    mMap = new TDMap;
    mMap->mEconomy->addGems(mMap->mProfile->getGems());
    mMap->mHud->openSplashScreens();
    return VN_OK;
}

namespace
{
// An overlay window lives while its active flag is set; one that cleared it goes at the next update.
void updateOverlay(HUDWindow*& window, float dt)
{
    if (!window)
        return;
    if (window->mActive)
    {
        window->update(dt);
        return;
    }
    delete window;
    window = nullptr;
}
} // namespace

VNResultEnum GameWindow::Update(float dt)
{
    updateOverlay(mOverlayDialog, dt);
    updateOverlay(mLevelBanner, dt);
    if (mMap)
        mMap->update(dt);
    return VN_OK;
}

VNResultEnum GameWindow::PreDraw(render::Graphics* graphics, layer::Layer*)
{
    (void)graphics->SetBlendMode(1);
    if (mMap)
        mMap->draw(graphics);
    return VN_OK;
}

VNResultEnum GameWindow::PostDraw(render::Graphics* graphics, layer::Layer*)
{
    if (mOverlayDialog)
        mOverlayDialog->draw(graphics);
    // The banner names the level in play; it is not painted over the menus and select screens that replace
    // it.
    if (mLevelBanner && (!mMap || mMap->showsWorld()))
        mLevelBanner->draw(graphics);
    return VN_OK;
}

VNResultEnum GameWindow::OnKeyDown(int32_t key)
{
    // The overlay dialog takes the pointer instead of the map; the keys must not reach the level either.
    if (!mMap || mOverlayDialog)
        return VN_OK;
    mMap->mHud->onKeyDown(key);
    // A screen on the HUD's stack stands over the level: the developer keys wait until it has gone.
    if (!mMap->mDeveloperMode || mMap->mState != kStatePlaying || !mMap->mHud->getWindows().empty())
        return VN_OK;
    switch (key)
    {
    case kKeyReload:
        mMap->loadSheets();
        mMap->startLevel();
        break;
    case kKeyWin:
        mMap->levelWon();
        break;
    case kKeyLose:
        mMap->levelLost();
        break;
    case kKeyDebugFirst:
        mMap->mDebugDrawFirst = !mMap->mDebugDrawFirst;
        break;
    case kKeyDebugSecond:
        // The second drawing switch shows the developer's overlays of the world: modifier and tower ranges,
        // and each unit's health and frame.
        mMap->mDebugDrawSecond = !mMap->mDebugDrawSecond;
        mMap->mDebugUnitInfo = mMap->mDebugDrawSecond;
        break;
    case kKeySpells:
        mMap->mHud->resetSpells();
        break;
    case kKeyGems:
        mMap->mEconomy->addGems(100);
        break;
    case kKeyMoney:
        mMap->mEconomy->addMoney(1000);
        break;
    case kKeyLives:
        mMap->mLives = 100.0f;
        mMap->mMaxLives = 100.0f;
        mMap->mHud->updateLivesText();
        break;
    default:
        break;
    }
    return VN_OK;
}

VNResultEnum GameWindow::OnChar(wchar_t character)
{
    if (mMap && !mOverlayDialog)
        mMap->mHud->onChar(character);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseDown(const math::Point3& point, int32_t button)
{
    if (button != 1)
        return VN_OK;
    const int x = truncated(point.x);
    const int y = truncated(point.y);
    if (mOverlayDialog)
    {
        mOverlayDialog->mouseDown(x, y);
        mOverlayDialog->mouseMove(x, y);
    }
    else if (mMap)
    {
        mMap->onClick(x, y);
    }
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseUp(const math::Point3& point, int32_t)
{
    const int x = truncated(point.x);
    const int y = truncated(point.y);
    if (mOverlayDialog)
        mOverlayDialog->mouseUp(x, y);
    else if (mMap)
        mMap->onMouseUp(x, y);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseMove(const math::Point3& point)
{
    mCursorX = truncated(point.x);
    mCursorY = truncated(point.y);
    if (mOverlayDialog)
        mOverlayDialog->mouseMove(mCursorX, mCursorY);
    else if (mMap)
        mMap->onMouseMove(mCursorX, mCursorY);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseDrag(const math::Point3& point)
{
    const int x = truncated(point.x);
    const int y = truncated(point.y);
    if (mMap)
        mMap->onMouseMove(x, y);
    if (mOverlayDialog)
        mOverlayDialog->mouseMove(x, y);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseWheel(const math::Point3&, uint16_t wheel)
{
    if (mMap)
        mMap->onMouseWheel(static_cast<int16_t>(wheel));
    return VN_OK;
}
