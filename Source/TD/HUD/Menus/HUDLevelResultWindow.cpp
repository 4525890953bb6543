#include "Source/TD/HUD/Menus/HUDLevelResultWindow.h"

#include "Core/Base/TextStream.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Map/TDLevelSettlement.h"
#include "Source/TD/Map/TDMap.h"

#include <algorithm>
#include <cmath>

namespace
{
std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

int lifeScore(const TDMap& map)
{
    return static_cast<int>(std::floor(map.mLives * 100.0f));
}
} // namespace

HUDLevelResultWindow::HUDLevelResultWindow(TDMap& map)
    : HUDWindow(L"td/ui_levelresult"), mMap(map), mWon(map.mState == kStateWon)
{
    mScale = 0.0f;
    mPhase = 0;
    const TDLevelSettlement settled = settleLevelResult(map);
    map.mLastSettlement = settled;
    for (int i = 0; i < 3; ++i)
        setImageVisible(L"star" + decimal(i), i < settled.stars);
    LocalStrings* strings = LocalStrings::Instance();
    // A loss shows what the level itself gave (the gems picked up while it ran); the settlement paid nothing.
    const int gems = mWon ? settled.gems : (map.mEconomy ? map.mEconomy->mGemsGained : 0);
    setText(L"gems", strings->get(L"gems") + L": " + decimal(gems));
    setText(L"bestScore", strings->get(L"game_best_score") + decimal(settled.bestScore));
}

void HUDLevelResultWindow::update(float dt)
{
    HUDWindow::update(dt);
    const TDEconomy* economy = mMap.mEconomy.get();
    switch (mPhase)
    {
    case 0:
        mScale += 4.0f * dt;
        if (mElapsed > 0.25f)
        {
            mElapsed = 0.0f;
            mPhase = 1;
        }
        break;
    case 1:
        mOffsetY = 0.0f;
        mScale = 1.0f;
        // A lost level scores nothing: its rows keep the zeros they opened with.
        if (!mWon)
        {
            mPhase = 5;
            mElapsed = 0.0f;
        }
        else if (!economy || economy->mKillScore == 0)
        {
            mPhase = 2;
            mElapsed = 0.0f;
        }
        break;
    case 2:
        if (!economy || economy->mComboBonus == 0)
        {
            mPhase = 3;
            mElapsed = 0.0f;
        }
        break;
    default:
        break;
    }
}

void HUDLevelResultWindow::countRow(const wchar_t* rectName, const wchar_t* captionKey, int target)
{
    const float p = std::min(mElapsed, 1.0f);
    setText(rectName, LocalStrings::Instance()->get(captionKey) +
                          decimal(static_cast<int>(static_cast<float>(target) * p + 0.5f)));
    if (mElapsed > 1.0f)
    {
        ++mPhase;
        mElapsed = 0.0f;
    }
}

void HUDLevelResultWindow::draw(render::Graphics* graphics)
{
    const TDEconomy* economy = mMap.mEconomy.get();
    const int kills = economy ? economy->mKillScore : 0;
    const int combo = economy ? economy->mComboBonus : 0;
    switch (mPhase)
    {
    case 0:
        if (graphics)
            graphics->SetColor(1.0f, 1.0f, 1.0f, 2.0f * mElapsed);
        break;
    case 1:
        countRow(L"killScore", L"game_kill_score", kills);
        break;
    case 2:
        countRow(L"goldBonus", L"game_combo_bonus", combo * 10);
        break;
    case 3:
        countRow(L"lifeBonus", L"game_life_bonus", lifeScore(mMap));
        break;
    case 4:
        countRow(L"totalScore", L"game_total_score", kills + lifeScore(mMap));
        break;
    default:
        break;
    }
    if (graphics && mPhase >= 1)
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    HUDWindow::draw(graphics);
}
