// The level object's construction and teardown, the level start and the small services of the level core.
#include "Source/TD/Map/TDMap.h"

#include "Core/Base/Containers.h"
#include "Core/Base/Delegate.h"
#include "Core/Base/Log.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Effects/TDAmbientEffect.h"
#include "Source/TD/Effects/TDParticle.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDIngameMenu.h"
#include "Source/TD/HUD/Play/TDContextIcons.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDLevelSettlement.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDSpellList.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

namespace
{
// The marker effects play at once; a particle file without them leaves the markers out, with a log line.
render::ParticleEmitter* startMarker(const char* name)
{
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter(name);
    if (!emitter)
    {
        base::LogMessage(*base::MainLog::Instance(),
                         L"Effect '%s' is not in the particle file: no marker.\n") %
            std::wstring(name, name + std::char_traits<char>::length(name));
        return nullptr;
    }
    emitter->SetState(1);
    return emitter;
}
} // namespace

std::wstring& shopReturnScreen()
{
    static std::wstring name;
    return name;
}

std::wstring& gemShopReturnScreen()
{
    static std::wstring name;
    return name;
}

bool compareDepth(const TDFrameEntry* a, const TDFrameEntry* b)
{
    return a->mSortKey < b->mSortKey;
}

TDMap::TDMap()
{
    mUpgrades = std::make_unique<TDUpgradeList>(L"td/upgrades.xml");
    loadResources();
    mUnlocks = std::make_unique<TDUnlocks>(*this);
    mEnemySpot = std::make_unique<TDSpriteAnimation>(L"td/enemy_spot", L"");
    mState = kStateConstructed;
    mSpeed = 1.0f;
    mLevel = 0;
    mEpisode = 0;
    w7::SoundTags::Instance()->Load();
    mEconomy = std::make_unique<TDEconomy>();
    mHud = std::make_unique<HUD>(*this);
    for (const wchar_t* name : {L"speed_btn_ac", L"pause_btn_ac", L"play_btn_ac", L"options_btn_ac"})
        if (TDButtonFrame* button = mHud->findButton(name))
            button->mVisible = false;
    mProfile = std::make_unique<TDProfile>(*this, mEpisodes);
    mProfile->setUpgradeList(mUpgrades.get());
    mProfile->setHooks(this);
    mUnlocks->setProfile(mProfile.get());
    mUpgrades->setProfile(mProfile.get());
    mUpgrades->setUnlocks(mUnlocks.get());
    mEconomy->setProfile(mProfile.get());
    mEconomy->setView(mHud.get());
    w7::SoundTags::Instance()->SetProfile(mProfile.get());
    mMode = mProfile->getMode();
    mWaves = std::make_unique<TDWaves>();
    mWaves->setMap(this);
    mBullets = std::make_unique<TDBullets>();
    mMapScale = 1.0f;
    loadSheets();
    mSpellList = std::make_unique<TDSpellList>(L"td/spells_sheet.csv");
    mActiveMarker = startMarker("active");
    mActiveButtonMarker = startMarker("active_btn");
    updateSpeedButtons();
    mPurchaseService = std::make_unique<TDPurchaseService>();
    TDPurchaseService::Listener listener;
    listener.Reset(
        new base::MemberDelegate1<TDMap, const TPurchaseResult&, void>(this, &TDMap::onPurchaseResult));
    mPurchaseService->setListener(listener);
}

TDMap::~TDMap()
{
    delete mContextMenu;
    mContextMenu = nullptr;
    mUpgrades.reset();
    mEnemySpot.reset();
    mUnlocks.reset();
    delete mActiveMarker;
    mActiveMarker = nullptr;
    delete mRouteLayer;
    mRouteLayer = nullptr;
    base::DeleteAll(mAmbientEffects);
    base::DeleteAll(mSprites);
    mWaveCallMarkers.reset();
    mPrebuiltTowers.clear();
    deleteSpotList(mBuildSpots);
    mLevelArt.reset();
    mEconomy.reset();
    mHud.reset();
    mWaves.reset();
    mRoutes.clear();
    mProtoTable.reset();
    mBullets.reset();
    if (mPopups)
        mPopups->clear();
    mPopups.reset();
    base::DeleteAll(mModifiers);
    base::DeleteAll(mEmitters);
    base::DeleteAll(mLateEmitters);
    base::DeleteAll(mParticles);
    base::DeleteAll(mTowers);
    // The glow, the bursts and the loading picture go too: nothing else holds them.
    delete mActiveButtonMarker;
    mActiveButtonMarker = nullptr;
    base::DeleteAll(mBuildEmitters);
    delete mLoadingTexture;
    mLoadingTexture = nullptr;
    mPurchaseService.reset();
    for (auto& list : mFrameLists)
        list.clear();
    TDResources::Instance()->clear();
    // Its pictures hang on the board and belong to this game's renderer, its states to this profile.
    TDTutorial::onMapDestroyed(this);
    // The sound tags outlive the map: they must not keep reading its profile.
    if (base::Singletone<w7::SoundTags>::Exists() &&
        w7::SoundTags::Instance()->GetProfile() == mProfile.get())
        w7::SoundTags::Instance()->SetProfile(nullptr);
    mProfile.reset();
}

void TDMap::loadResources()
{
    for (const wchar_t* folder :
         {L"td/units/t1units", L"td/units/t2units", L"td/units/t3units", L"td/towers/artillery",
          L"td/towers/dart", L"td/towers/cannon", L"td/towers/support", L"td/data/ui_parts"})
        TDResources::Instance()->loadFolder(folder);
    loadContextIcons();
    mResourcesLoaded = true;
}

void TDMap::loadContextIcons()
{
    mWaveCallMarkers = std::make_unique<TDWaveCallMarkers>();
    mPopups = std::make_unique<HUDPopupTexts>();
    mPopupFont = boardFont(TDBoardFont::Main42_3);
    mPopups->mFont = mPopupFont.Get();
    mBrushImage = TDResources::Instance()->findUiImage(L"ui/brush");
    mRangeImage = TDResources::Instance()->findUiImage(L"ui/radius");
    mContextIcons = std::make_unique<TDContextIcons>();
    mContextIcons->load();
}

void TDMap::startLevel()
{
    mHud->mFadeState = 0;
    mViewScale = 1.0f;
    mViewOffsetX = 0.0f;
    mViewOffsetY = 0.0f;
    if (Game* game = Game::Get())
        (void)game->DrawLoadingScreen();
    mEconomy->reset();
    mEnemyCostBonus = 0.0f;
    mStartBudgetBonus = 0.0f;
    mMaxLivesBonus = 0;
    const TDGlobalBonuses bonuses = mUpgrades->applyGlobal();
    mEnemyCostBonus = bonuses.killRewardBonus;
    mStartBudgetBonus = bonuses.startBudgetBonus;
    mMaxLivesBonus = bonuses.extraLives;
    loadSheets();
    mArmedSpell = nullptr;
    mState = kStateStarting;
    mSpeed = 0.0f;
    mHud->mFadeState = 0;
    mHud->resetSpells();
    mWaves->reset();
    mWaves->mClock = 0.0f;
    mWaveCallMarkers->clear();
    mWaves->clearUnits();
    base::DeleteAll(mTowers);
    base::DeleteAll(mModifiers);
    mBullets->clear();
    mLives = static_cast<float>(levelStartLives(mMaxLivesBonus, mMode == kModeHardcore));
    mMaxLives = mLives;
    if (mLevelArt)
        for (TDFrameEntry* frame : mLevelArt->mSpotFrames)
            frame->mVisible = true;
    mHud->deleteWindows();
    parseLevel(mLevelFile);
    buildPrebuiltTowers();
    mSpeed = 1.0f;
    mState = kStatePlaying;
    updateSpeedButtons();
    w7::PlayMusic(w7::LevelMusic(mEpisode));
    preparePaths();
    renderRouteLayer();
    TDTutorial::Instance()->rearm();
    showLevelStartMessage();
    mHud->updateWavesText();
    mHud->updateGemsText();
    mHud->updateMoneyText();
    mHud->updateLivesText();
}

float TDMap::getDifficultyFactor() const
{
    if (mMode == kModeEasy)
        return -0.1f;
    if (mMode == kModeHard)
        return 0.1f;
    return 0.0f;
}

void TDMap::updateSpeedButtons()
{
    auto show = [this](const wchar_t* name, bool visible)
    {
        if (TDButtonFrame* button = mHud->findButton(name))
            button->mVisible = visible;
    };
    show(L"play_btn_ac", mSpeed == 1.0f);
    show(L"play_btn", mSpeed != 1.0f);
    show(L"speed_btn_ac", mSpeed == 2.0f);
    show(L"speed_btn", mSpeed != 2.0f);
    show(L"options_btn_ac", false);
    show(L"pause_btn_ac", mSpeed == 0.0f);
    show(L"pause_btn", mSpeed != 0.0f);
    if (!mActiveButtonMarker)
        return;
    const wchar_t* active = mSpeed == 0.0f   ? L"pause_btn_ac"
                            : mSpeed == 1.0f ? L"play_btn_ac"
                            : mSpeed == 2.0f ? L"speed_btn_ac"
                                             : nullptr;
    math::Point2 at(0.0f, 0.0f);
    if (const TDButtonFrame* button = active ? mHud->findButton(active) : nullptr)
        at = math::Point2(button->mRect.x + button->mRect.width * 0.5f,
                          button->mRect.y + button->mRect.height * 0.5f);
    mActiveButtonMarker->SetPosition(at, 1);
}

void TDMap::setSelectedUnit(TDUnit* unit)
{
    mSelectedUnit = TDWatch<TDUnit>(unit);
}

void TDMap::onDeactivate()
{
    if (mState == kStatePlaying)
        openIngameMenu();
}

void TDMap::openIngameMenu()
{
    mSpeed = 0.0f;
    updateSpeedButtons();
    mState = kStateIngameMenu;
    TDTutorial::Instance()->pause();
    mHud->showWindow(new HUDIngameMenu);
}

void TDMap::onUnitRemoved(TDUnit* unit)
{
    if (!unit)
        return;
    if (mSelectedUnit.get() == unit)
        mSelectedUnit.reset();
    mBullets->forgetUnit(unit);
    for (TDTower* tower : mTowers)
        if (tower->mTarget.get() == unit)
            tower->dropTarget();
    if (TDWaveEntry* entry = unit->mEntry; entry && entry->mWave)
        entry->mWave->onEntryDone(unit->getProto() ? unit->getProto()->id : entry->mUnitId,
                                  unit->mReportedValue, entry);
}

namespace
{
// A live unit near the tower whose prototype carries the flag and that is not held in place.
bool unitNearTower(const TDWaves& waves, const TDTower* tower, bool TDUnitProto::*flag, float radiusShare)
{
    if (!tower || tower->mExempt)
        return false;
    for (const TDUnit* unit : waves.getUnits())
    {
        const TDUnitProto* proto = unit->getProto();
        if (!proto || !(proto->*flag) || unit->mSpeedReduction == proto->speed)
            continue;
        if (pointDistance(tower->mX, tower->mY, unit->mX, unit->mY) <= proto->r * radiusShare)
            return true;
    }
    return false;
}
} // namespace

bool TDMap::isTowerBlocked(const TDTower* tower) const
{
    return unitNearTower(*mWaves, tower, &TDUnitProto::blocktower, 0.5f);
}

bool TDMap::isTowerDebuffed(const TDTower* tower) const
{
    return unitNearTower(*mWaves, tower, &TDUnitProto::debufftower, 1.0f);
}

void TDMap::levelWon()
{
    mSpeed = 0.0f;
    updateSpeedButtons();
    mState = kStateWon;
    mResultAction = 2;
    w7::StopMusic();
    w7::SoundTags::Instance()->Play(L"winSound");
    TDTutorial::Instance()->endLevel();
    mHud->showLevelResult(true);
}

void TDMap::levelLost()
{
    mSpeed = 0.0f;
    updateSpeedButtons();
    mResultAction = 1;
    mState = kStateLost;
    w7::StopMusic();
    w7::SoundTags::Instance()->Play(L"loseSound");
    TDTutorial::Instance()->endLevel();
    mHud->showLevelResult(false);
}
