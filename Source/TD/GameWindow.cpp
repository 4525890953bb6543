#include "Source/TD/GameWindow.h"

#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDGameSheets.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDProfile.h"
#include "Source/TD/TDUtil.h"

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
    delete mMap;
    mMap = nullptr;
}

VNResultEnum GameWindow::Init()
{
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

VNResultEnum GameWindow::Update(float dt)
{
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

VNResultEnum GameWindow::PostDraw(render::Graphics*, layer::Layer*)
{
    return VN_OK;
}

VNResultEnum GameWindow::OnKeyDown(int32_t key)
{
    if (!mMap)
        return VN_OK;
    mMap->mHud->onKeyDown(key);
    if (!mMap->mDeveloperMode || mMap->mState != kStatePlaying)
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
        mMap->mDebugDrawSecond = !mMap->mDebugDrawSecond;
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
    if (mMap)
        mMap->mHud->onChar(character);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseDown(const math::Point3& point, int32_t button)
{
    if (button == 1 && mMap)
        mMap->onClick(truncated(point.x), truncated(point.y));
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseUp(const math::Point3& point, int32_t)
{
    if (mMap)
        mMap->onMouseUp(truncated(point.x), truncated(point.y));
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseMove(const math::Point3& point)
{
    mCursorX = truncated(point.x);
    mCursorY = truncated(point.y);
    if (mMap)
        mMap->onMouseMove(mCursorX, mCursorY);
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseDrag(const math::Point3& point)
{
    if (mMap)
        mMap->onMouseMove(truncated(point.x), truncated(point.y));
    return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseWheel(const math::Point3&, uint16_t wheel)
{
    if (mMap)
        mMap->onMouseWheel(static_cast<int16_t>(wheel));
    return VN_OK;
}
