#pragma once

#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDLevelCursor.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Map/TDLevelSettlement.h"
#include "Source/TD/Purchase/TPurchaseResult.h"
#include "Source/TD/Routes/TDRoutes.h"
#include "Source/TD/Sprites/TDWatch.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
class Image;
class ParticleEmitter;
} // namespace render

class HUD;
class HUDPopupTexts;
class HUDSpellButton;
class TDAmbientEffect;
class TDBuildSpot;
class TDBullets;
class TDContextMenu;
struct TDContextIcons;
class TDEconomy;
class TDEmitter;
class TDFrameEntry;
class TDLevelArt;
class TDModifier;
class TDParticle;
class TDProtoTable;
class TDPurchaseService;
class TDSpell;
class TDSpellList;
class TDSprite;
class TDSpriteAnimation;
class TDTower;
class TDUnit;
class TDUnitProto;
class TDUnlocks;
class TDUpgradeList;
class TDWaveCallMarkers;
class TDWaveEntry;
class TDWaves;

// The game's situation: which screen is up and what input means. The level simulates only while playing.
enum TDMapState : int
{
    kStateConstructed = -1,
    kStatePlaying = 0,
    kStateWon = 1,
    kStateLost = 2,
    kStateStarting = 3,
    kStateIngameMenu = 4,
    kStateEpisodeSelect = 5,
    kStateLevelSelect = 6,
    kStateMainMenu = 7,
    kStateShop = 8,
    kStateUnlockMessage = 11,
    kStateSplash = 12,
    kStateProfiles = 13,
    kStateNewProfileName = 14,
    kStateRenameProfile = 15,
    kStateModal = 16,
    kStateGemShop = 18,
    kStateRefillOffer = 22,
    kStateRefillWait = 23
};

// Where the upgrade shop's back button returns ("mmenu", "levels", "episodes", "game") and where the gem
// shop's returns ("game", "shop0", "shop1", "episodes", "levels"); both start empty.
std::wstring& shopReturnScreen();
std::wstring& gemShopReturnScreen();

// The draw order of the map's frame lists: by sort key, ascending.
bool compareDepth(const TDFrameEntry* a, const TDFrameEntry* b);

// The level and the hub of the game world. One lives as long as the game board; it holds the game's state,
// mode, episode, level, lives and speed, and owns the HUD, the purse, the player's progress, the data tables
// and every moving part of a level. Its operations are spread by concern: construction, level start and the
// small services (TDMap.cpp), the level file and art (TDMapLevel.cpp), the frame (TDMapFrame.cpp), routes
// (TDMapRoutes.cpp), input (TDMapInput.cpp), sheets, episodes, profile and purchases (TDMapData.cpp).
class TDMap final : public TDLevelCursor, public TDProfileHooks, public TDPurchaseHooks
{
public:
    // Builds everything the game needs before the first level; state -1. Nothing of it reaches the map
    // through the game board (Game::GetMap() is still null while the board builds its map): the parts that
    // need the map are given it.
    TDMap();
    TDMap(const TDMap&) = delete;
    TDMap& operator=(const TDMap&) = delete;
    ~TDMap();

    // The level cursor: mode, episode and level being played.
    int getGameMode() const override { return mMode; }
    int getEpisodeIndex() const override { return mEpisode; }
    int getLevelIndex() const override { return mLevel; }

    // Level core.
    // Resets the map and (re)starts the level named by mLevelFile; ends in state 0 whatever the file holds.
    void startLevel();
    // -0.1 easy, +0.1 hard, 0 otherwise; units scale their health by (1 + factor).
    float getDifficultyFactor() const;
    // Shows the inactive or active speed button of each speed by mSpeed and puts the glow on the active one.
    void updateSpeedButtons();
    // The sprite folders, then the interface pieces; sets the level-ready flag.
    void loadResources();
    // What the map keeps of the interface sheet: the route dot, the range circle, the notices and the
    // next-wave markers.
    void loadContextIcons();
    // Losing the window's focus while playing opens the in-game menu.
    void onDeactivate();
    // Pauses and enters the in-game menu (state 4).
    void openIngameMenu();
    // The unit leaves the game: it is no longer selected, aimed at or waited for.
    void onUnitRemoved(TDUnit* unit);
    // A live unit whose prototype blocks (or weakens) towers is near the tower; never for an exempt tower.
    bool isTowerBlocked(const TDTower* tower) const;
    bool isTowerDebuffed(const TDTower* tower) const;
    // The end of a level: frozen, the result action, the sound, and the result window (which settles the
    // play).
    void levelWon();
    void levelLost();
    // Units (TDMapUnits.cpp).
    // Makes the entry's unit at the spawn point with its innate modifiers, its route to the goal (a straight
    // flier: the spawn point and the goal) and its first link.
    TDUnit* spawnUnit(TDWaveEntry* entry, TDPoint* spawn);
    // A unit reached the goal: it leaves as escaped and takes its base prototype's strength off the lives;
    // the level is lost when none remain.
    void onUnitEscaped(TDUnit* unit);
    // A dying carrier lets out n units of id 11 at its place, spread along its lane.
    void spawnCarriedUnits(TDUnit* unit, int n);
    // The early wave call of a press on a next-wave marker at the screen point: two money for every second
    // skipped (shown as a notice there), the wave clocks jump to the markers' due time, the markers go.
    // Returns the bonus paid.
    int callWaveEarly(int x, int y);
    // What the OK of a confirmation runs: "restart" closes the top window and restarts the level, "mmenu"
    // closes it and opens the main menu, "levels" closes it and opens the level select; others nothing.
    void executeConfirmedCommand(const std::wstring& command);

    // Level file and art.
    // The file of mMode, mEpisode and mLevel ("td/levels_normal/level_01_03.xml"); then startLevel.
    void loadLevel();
    // Reads the level file into the emptied level containers; a file that cannot be read or parsed, or has
    // no root `map`, leaves them empty with a log line.
    void parseLevel(const std::wstring& path);
    // The same with the file's text already read (empty: a file that could not be read); path names it.
    void parseLevelText(const std::wstring& path, const std::string& text);
    // One ambient effect per layer of the art folder's group "fx".
    void loadAmbientEffects(file::ImageContainer& container);
    // The unlock message for what the level brings, else the level name banner.
    void showLevelStartMessage();
    // The news before a level are done with (closed by the player, or there were none to show): the
    // tutorial hears it, so a guided level starts its first hint either way.
    void onLevelNoticeDone();
    // "td/levels_normal/" (mode 3: "td/levels_hardcore/") + "level_EE_LL.xml", both counted from 1.
    static std::wstring levelFileName(int mode, int episode, int level);
    // The episode's ambient effect and the longest interval between its firings (0: it loops).
    static std::wstring ambientEffectName(int episode);
    static float ambientEffectInterval(int episode);

    // The frame.
    // One frame: the HUD, the screens and the effects always; the world only in state 0, at the game speed.
    void update(float dt);
    // The world in depth order (in the states that show it), then the HUD, its screens and the effects.
    void draw(render::Graphics* graphics);
    // Whether the level's world is on screen in the current state (not behind a full-screen menu).
    bool showsWorld() const;
    // Paints the route dots of every link into a render target, shown while a spell is aimed.
    void renderRouteLayer();
    void drawRouteLinks(render::Graphics* graphics, render::Image* dot);
    void drawLinkDots(const TDLink* link, render::Graphics* graphics, render::Image* dot);
    // Developer overlay: the waves' spawn times.
    void drawWaveSchedule(render::Graphics* graphics);

    // Routes (the level's route network is mRoutes).
    void loadPoints(const tinyxml2::XMLElement* points);
    void loadLinks(const tinyxml2::XMLElement* links);
    std::vector<TDPoint*> getNeighbours(int pointId) const;
    TDLink* findLink(const TDPoint* a, const TDPoint* b) const;
    std::vector<int> findRoute(const TDPoint* from, const TDPoint* to) const;
    float linkDistance(const TDPoint* a, const TDPoint* b) const;
    TDPoint* getGoalPoint() const;
    TDPoint* getFirstSpawnPoint() const;
    TDPoint* findPoint(int id) const;
    float getLinkLength(const TDLink* link) const;
    float advanceOnLink(const TDLink* link, float t, float distance, float offset) const;
    // The unit normal of the link's curve at t; (0, 0) for a link without a curve.
    math::Point2 getLinkNormal(const TDLink* link, float t) const;
    std::wstring getPathCacheName() const;
    VNResultEnum loadPathCache();
    // The lane tables for this level's waves, from the route cache when it is sound.
    void preparePaths();

    // Input (screen points). The presses and releases reach the HUD and the tutorial; the commands on the
    // map come with the map's input.
    void onClick(int x, int y);
    void onMouseUp(int x, int y);
    void onMouseMove(int x, int y);
    void onMouseWheel(int wheel);
    // The release's answer c of the HUD, dispatched by state (the release table); each returns true when its
    // row skips the common tail. Each screen group keeps its rows in a file of its own.
    bool releaseInPlay(int x, int y, float mapX, float mapY); // state 0: TDMapInput.cpp
    bool releaseInMenus(const std::wstring& c, int x, int y); // 1, 2, 4, 7, 16: TDMapReleaseMenus.cpp
    bool releaseInSelectScreens(const std::wstring& c, int x,
                                int y);                        // 5, 6, 11, 13, 14, 15: TDMapReleaseSelect.cpp
    bool releaseInShops(const std::wstring& c, int x, int y);  // 8, 18: TDMapReleaseShops.cpp
    bool releaseInRefill(const std::wstring& c, int x, int y); // 22: TDMapReleaseRefill.cpp

    // Sheets, episodes, purchases.
    // The prototypes, the episode table and the constants of the sheets.
    void loadSheets();
    int getEpisodeCount() const;
    int getLevelCount(int episode) const;
    int getHardcoreLevelCount(int episode) const;
    int getStarsRequired(int episode) const;
    int getTotalLevelCount() const;
    bool isEpisodeUnlocked(int episode) const;
    bool isHardcoreUnlocked(int episode) const;
    void onPurchaseResult(const TPurchaseResult& result);
    // The gem-shop side of a purchase result: a bought or restored pack adds its gems and the screen on top
    // shows the new count at once. True when the result was a pack's (TDMapGemPurchase.cpp).
    bool onGemShopPurchase(const TPurchaseResult& result);
    // The refill side: a result of the lives refill acts only while a level is played or waits for it
    // (states 0, 22, 23). True when the result was the refill's (TDMapReleaseRefill.cpp).
    bool onRefillPurchase(const TPurchaseResult& result);

    // Profile hooks.
    void onProfileSelected(TDProfile& profile) override;
    bool isFullscreen() const override;
    void switchScreenMode() override;
    // A message box over whatever is shown: progress cannot be saved, and why; the game goes on.
    bool onSaveFailed(const std::wstring& why) override;
    // Purchase hooks (the lives refill).
    void onHealthRefilled() override;
    void onHealthPurchaseFailed(const std::wstring& caption, const std::wstring& message) override;

    // Map commands (TDMapCommands.cpp).
    // Builds a tower of the table's prototype on a free spot frame, paying the price of the prototype with
    // the bought upgrades; null (and nothing changed) when the money does not suffice.
    TDTower* buildTower(TDUnitProto* proto, TDFrameEntry* spotFrame);
    // Refunds the tower (TDTower::sellValue), frees its spot and removes it with its bullets, beam, marks and
    // the map modifiers it owns. A tower that is not on the map is only refunded.
    void sellTower(TDTower* tower);
    // The first free spot frame whose centre lies within 40 of the map point; the first tower whose aim
    // point lies closer than 50.
    TDFrameEntry* findSpotAt(int x, int y) const;
    TDTower* findTowerAt(int x, int y) const;
    // A tower prototype's price with the bought upgrades (the build menu's figure); 0 for an unknown id.
    float getTowerPrice(int protoId) const;
    // Buys a spot not yet owned for its money and gem prices; false (nothing paid) when either falls short.
    bool buySpot(TDFrameEntry* spotFrame);
    // Places the spell of the spell id at the map point and casts it; null for a spell id without a row.
    TDSpell* castSpell(int spellId, float x, float y);
    // The recharge time of a spell's button: its prototype's cooldown with the bought upgrades (0 unknown).
    float getSpellCooldown(int spellId) const;
    // The towers the level file places, built free of charge (level start).
    void buildPrebuiltTowers();

    // The unit last pressed on, or null (also once it has been deleted).
    TDUnit* getSelectedUnit() const { return mSelectedUnit.get(); }
    void setSelectedUnit(TDUnit* unit);

    // Fields, in the order of the level's description.
    float mGameTime = 0.0f;
    // The route dots of the level, painted while a spell is aimed; owned.
    render::Image* mRouteLayer = nullptr;
    // Frame "ui/brush" of the sheet "td/ui"; not owned.
    render::Image* mBrushImage = nullptr;
    // Frame "ui/radius" of the sheet "td/ui" (range circles of the developer overlay); not owned.
    render::Image* mRangeImage = nullptr;
    // 0 none; 1 the next draw shows the loading picture and moves it to 2; 2 the next update loads the level.
    int mLoadRequest = 0;
    // "td/data/loading.jpg", loaded when first needed; owned.
    render::Image* mLoadingTexture = nullptr;
    // The logical viewport, copied when the route layer is painted (x, y, width, height).
    std::array<float, 4> mScreenRect{0.0f, 0.0f, 1024.0f, 768.0f};
    TDEpisodeTable mEpisodes;
    std::wstring mLanguage = L"en";
    float mViewScale = 1.0f;
    float mViewOffsetX = 0.0f;
    float mViewOffsetY = 0.0f;
    // The level-ready flag: update and draw do nothing before the resources are loaded.
    bool mResourcesLoaded = false;
    std::wstring mTypedName;
    int mRestoreState = kStatePlaying;
    int mResultAction = -1;
    int mTutorialSpot = -1;
    bool mDeveloperMode = false;
    int mMode = kModeEasy;
    float mDropChanceOverride = 0.0f;
    float mFrameTime = 0.0f;
    float mSpeed = 1.0f;
    std::wstring mCurrentScreen;
    std::unique_ptr<TDUpgradeList> mUpgrades;
    // The spell button waiting for a target, or null; not owned.
    HUDSpellButton* mArmedSpell = nullptr;
    int mState = kStateConstructed;
    int mLevel = 0;
    int mEpisode = 0;
    std::unique_ptr<TDUnlocks> mUnlocks;
    std::unique_ptr<TDProfile> mProfile;
    bool mDebugDrawFirst = false;
    bool mDebugDrawSecond = false;
    bool mDebugWaveSchedule = false;
    // Each unit's health and the edges of its frame over the world.
    bool mDebugUnitInfo = false;
    float mEnemyCostBonus = 0.0f;
    float mStartBudgetBonus = 0.0f;
    int mMaxLivesBonus = 0;
    float mSellRatio = 0.5f;
    int mBudget = 0;
    int mNewProfileGems = 0;
    // Owned.
    std::vector<TDSprite*> mSprites;
    // The draw lists of one frame (the composed list, ground, ground shadow, air, air shadow); empty between
    // frames.
    std::array<std::vector<TDFrameEntry*>, 5> mFrameLists;
    // Owned, in level-art order.
    std::vector<TDAmbientEffect*> mAmbientEffects;
    std::wstring mLevelFile;
    // "active" on the armed spell button, "active_btn" on the active speed button; owned, null when the
    // particle file lacks them.
    render::ParticleEmitter* mActiveMarker = nullptr;
    render::ParticleEmitter* mActiveButtonMarker = nullptr;
    // The selection marker over the selected unit.
    std::unique_ptr<TDSpriteAnimation> mEnemySpot;
    // Owned; null when none is open.
    TDContextMenu* mContextMenu = nullptr;
    std::unique_ptr<HUD> mHud;
    // Owned, in file order.
    std::vector<TDBuildSpot*> mBuildSpots;
    // The route points, links and lane tables.
    TDRoutes mRoutes;
    std::unique_ptr<TDBullets> mBullets;
    std::unique_ptr<TDWaves> mWaves;
    std::unique_ptr<TDWaveCallMarkers> mWaveCallMarkers;
    // Owned.
    std::vector<TDTower*> mTowers;
    std::vector<TDModifier*> mModifiers;
    // The map effect list (advanced only in play), the persistent effect list (advanced in every state) and
    // the burst list (bare emitters, unscaled time); all owned.
    std::vector<TDEmitter*> mEmitters;
    std::vector<TDEmitter*> mLateEmitters;
    std::vector<render::ParticleEmitter*> mBuildEmitters;
    // Owned.
    std::vector<TDParticle*> mParticles;
    std::unique_ptr<HUDPopupTexts> mPopups;
    // The notices' font, the board's "main_42_3" (empty without a board).
    CountedHandle<render::Font> mPopupFont;
    std::unique_ptr<TDEconomy> mEconomy;
    std::unique_ptr<TDProtoTable> mProtoTable;
    // The level's art path, normalised (folder and file name).
    std::string mArtPath;
    std::unique_ptr<TDLevelArt> mLevelArt;
    float mLives = 0.0f;
    float mMaxLives = 0.0f;
    float mMapScale = 1.0f;
    std::unique_ptr<TDPurchaseService> mPurchaseService;
    // The towers the level file puts on spots at the start, in spot order, for the towers to build: the spot
    // frame and the prototype id.
    std::vector<std::pair<TDFrameEntry*, int>> mPrebuiltTowers;
    // The context menu's and the tower marks' pictures of the sheet "td/ui", looked up by loadContextIcons.
    std::unique_ptr<TDContextIcons> mContextIcons;
    // The spells sheet, read once with the map.
    std::unique_ptr<TDSpellList> mSpellList;
    // What the result window of the last ended level settled (stars, gems, best score, the stored result).
    TDLevelSettlement mLastSettlement;

private:
    // Closes the top window and opens the screen; the main menu when that screen queues no window.
    void leaveTopWindowFor(void (HUD::*opener)());
    // The parse's parts.
    std::string readLevelDocument(const std::wstring& path);
    void buildSpotFrames();
    void addBoostIcons(TDBuildSpot& spot, TDFrameEntry& frame);
    void clearLevelContainers();
    // The frame's parts.
    void updateBursts(float dt);
    void drawWorld(render::Graphics* graphics);
    void drawWaveCallTexts(render::Graphics* graphics);
    void drawDeveloperOverlays(render::Graphics* graphics);

    // The raw art path of the level being played, which a level file without one keeps.
    std::string mArtSource;
    TDWatch<TDUnit> mSelectedUnit;
};
