// The level file and the level art: which file a level is, reading it into the map, the spots' frames and
// icons, the ambient effects of the art, and what the player is told when a level starts.
#include "Source/TD/Map/TDMap.h"

#include "Core/Base/Containers.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Base/TextFormat.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/TDAmbientEffect.h"
#include "Source/TD/Effects/TDParticle.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdint>

namespace
{
constexpr float kIconSpacing = 33.0f;

const tinyxml2::XMLElement* child(const tinyxml2::XMLElement& element, const char* name)
{
    return element.FirstChildElement(name);
}

std::string textOf(const tinyxml2::XMLElement* element)
{
    const char* text = element ? element->GetText() : nullptr;
    return text ? trimBlanks(text) : std::string();
}
} // namespace

std::wstring TDMap::levelFileName(int mode, int episode, int level)
{
    return base::Format(L"td/levels_%s/level_%02d_%02d.xml") %
           (mode == kModeHardcore ? L"hardcore" : L"normal") % (episode + 1) % (level + 1);
}

std::wstring TDMap::ambientEffectName(int episode)
{
    static const wchar_t* const kNames[] = {L"btfly", L"sh_snow", L"tr1", L"bird", L"lava_3", L"fire_fly_2"};
    return episode >= 0 && episode < 6 ? kNames[episode] : L"";
}

float TDMap::ambientEffectInterval(int episode)
{
    static const float kIntervals[] = {0.0f, 0.0f, 30.0f, 30.0f, 30.0f, 0.0f};
    return episode >= 0 && episode < 6 ? kIntervals[episode] : 0.0f;
}

void TDMap::loadLevel()
{
    mLevelFile = levelFileName(mMode, mEpisode, mLevel);
    startLevel();
    mHud->mFadeState = 0;
    mDropChanceOverride = static_cast<float>(mProfile->getTutorialParam(L"dropChanceOverride"));
    TDTutorial::Instance()->onEvent(base::Format(L"level_%d_%d_start") % (mEpisode + 1) % (mLevel + 1));
}

void TDMap::clearLevelContainers()
{
    mWaveCallMarkers->clear();
    mWaves->clearWaves();
    mWaves->clearUnits();
    base::DeleteAll(mModifiers);
    base::DeleteAll(mTowers);
    // The spots' frames and icons leave the art with their spots, so the art of a level kept after a failed
    // read points at no deleted spot.
    if (mLevelArt)
    {
        std::vector<TDFrameEntry*> kept;
        for (TDFrameEntry* frame : mLevelArt->mFrames)
        {
            // Art layers have their layer index; the parse gives spot frames and icons -1.
            if (frame->mDepth < 0)
                delete frame;
            else
                kept.push_back(frame);
        }
        mLevelArt->mFrames = std::move(kept);
        mLevelArt->mSpotFrames.clear();
    }
    mPrebuiltTowers.clear();
    deleteSpotList(mBuildSpots);
    base::DeleteAll(mSprites);
    base::DeleteAll(mAmbientEffects);
    base::DeleteAll(mEmitters);
    base::DeleteAll(mLateEmitters);
    base::DeleteAll(mParticles);
}

std::string TDMap::readLevelDocument(const std::wstring& path)
{
    std::string text = readGameTextFile(path, true);
    if (text.empty() && file::FileManager::Instance()->Exists(path))
        logDataProblem(path, L"empty; the level is empty");
    return text;
}

void TDMap::parseLevel(const std::wstring& path)
{
    parseLevelText(path, readLevelDocument(path));
}

void TDMap::parseLevelText(const std::wstring& path, const std::string& text)
{
    delete mContextMenu;
    mContextMenu = nullptr;
    mHud->deleteSpellButtons();
    for (int spell = 0; spell < 5; ++spell)
        mHud->addSpellButton(spell);
    base::DeleteAll(mSprites);
    mArmedSpell = nullptr;
    mSelectedUnit.reset();
    mLevelFile = path;
    mRoutes.setLevelName(mLevelFile);
    clearLevelContainers();

    if (text.empty())
        return;
    tinyxml2::XMLDocument document;
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
    {
        logDataProblem(path, L"not well-formed XML (" +
                                 base::ToWide(document.ErrorStr(), base::kEncodingUtf8) +
                                 L"); the level is empty");
        return;
    }
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root || std::string(root->Name()) != "map")
    {
        logDataProblem(path, L"no root element map; the level is empty");
        return;
    }

    const std::string budget = textOf(child(*root, "budget"));
    mBudget = 0;
    if (budget.empty())
        logDataProblem(path, L"no budget; the level starts without money");
    else if (!readLeadingInt(budget.c_str(), &mBudget))
        logDataProblem(path, L"budget \"" + base::ToWide(budget, base::kEncodingUtf8) +
                                 L"\" is no number; the level starts without money");
    else if (mBudget == INT32_MAX || mBudget == INT32_MIN)
    {
        // Read saturated: the money would overflow with the first reward.
        logDataProblem(path, L"budget \"" + base::ToWide(budget, base::kEncodingUtf8) +
                                 L"\" is past the largest amount; the level starts without money");
        mBudget = 0;
    }
    if (mBudget < 0)
    {
        logDataProblem(path, L"negative budget; the level starts without money");
        mBudget = 0;
    }

    const tinyxml2::XMLElement* points = child(*root, "points");
    const tinyxml2::XMLElement* links = child(*root, "links");
    if (!points)
        logDataProblem(path, L"no points; units have no routes");
    if (!links)
        logDataProblem(path, L"no links; units have no routes");
    loadPoints(points);
    loadLinks(links);
    TDBuildSpot::loadList(mBuildSpots, child(*root, "spots"), path);
    mWaves->load(child(*root, "waves"), path);

    const int money = levelStartMoney(mBudget, mStartBudgetBonus);
    mEconomy->mMoney = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(mEconomy->mMoney) + money, INT32_MIN, INT32_MAX));
    mEconomy->mBudget = money;
    mEconomy->mShownMoney = mEconomy->mMoney;

    const std::string art = textOf(child(*root, "li"));
    if (!art.empty())
        mArtSource = art;
    else if (!mArtSource.empty())
        logDataProblem(path, L"no art path (li); the previous level's art is used");
    mArtPath = normaliseArtPath(mArtSource);
    std::wstring why;
    const std::string artDocument = levelArtDocument(mArtSource, &why);
    if (artDocument.empty())
        logDataProblem(path, L"art path \"" + base::ToWide(mArtSource, base::kEncodingUtf8) + L"\" " + why +
                                 L"; the level has no art");
    mLevelArt.reset();
    mLevelArt = std::make_unique<TDLevelArt>(artDocument, this);
    if (!artDocument.empty() && !mLevelArt->mArtLoaded)
        logDataProblem(path, L"art folder of '" + base::ToWide(artDocument, base::kEncodingUtf8) +
                                 L"' not found; the level has no art");

    buildSpotFrames();
    mLevelArt->sortFrames();
    mState = kStatePlaying;
}

void TDMap::buildSpotFrames()
{
    for (std::size_t i = 0; i < mBuildSpots.size(); ++i)
    {
        TDBuildSpot& spot = *mBuildSpots[i];
        auto* frame = new TDFrameEntry;
        frame->mName = L"#" + std::to_wstring(i);
        frame->mDepth = -1;
        render::Image* image = nullptr;
        if (mProfile->isSpotOwned(frame->mName, mEpisode, mLevel))
        {
            image = mLevelArt->getSpotImage(TDLevelArt::kSpotOwned);
            spot.mOwned = true;
        }
        else
        {
            if (spot.mType < 0 || spot.mType > 2)
                logDataProblem(mLevelFile, L"build spot " + std::to_wstring(i) + L" has the unknown type " +
                                               std::to_wstring(spot.mType) + L"; drawn as type 0");
            image = mLevelArt->getSpotImage(spot.mType);
        }
        frame->mTexture = image;
        const float width = image ? static_cast<float>(image->GetWidth()) : 0.0f;
        const float height = image ? static_cast<float>(image->GetHeight()) : 0.0f;
        frame->mRect = math::Rect(static_cast<float>(truncToInt(spot.mX - width * 0.5f)),
                                  static_cast<float>(truncToInt(spot.mY - height * 0.5f)), width, height);
        frame->mSortKey = frame->mRect.y + frame->mRect.height;
        frame->mLink = &spot;
        mLevelArt->mSpotFrames.push_back(frame);
        mLevelArt->mFrames.push_back(frame);
        addBoostIcons(spot, *frame);

        const int towerId = truncToInt(spot.getFloat("tower_id"));
        if (towerId == 0)
            continue;
        if (!mProtoTable || !mProtoTable->find(towerId))
        {
            logDataProblem(mLevelFile, L"build spot " + std::to_wstring(i) + L" names the unknown tower " +
                                           std::to_wstring(towerId) + L"; the spot starts empty");
            continue;
        }
        // The tower is built on the spot at no cost when the level starts; the towers do that.
        mPrebuiltTowers.emplace_back(frame, towerId);
    }
}

void TDMap::addBoostIcons(TDBuildSpot& spot, TDFrameEntry& frame)
{
    auto addIcon = [&](render::Image* image, bool ownsImage)
    {
        auto* icon = new TDFrameEntry;
        icon->mName = L"##";
        icon->mTexture = image;
        icon->mOwnsTexture = ownsImage && image != nullptr;
        icon->mDepth = -1;
        if (image)
            icon->mRect = math::Rect(0.0f, 0.0f, static_cast<float>(image->GetWidth()),
                                     static_cast<float>(image->GetHeight()));
        mLevelArt->mFrames.push_back(icon);
        spot.mIcons.push_back(icon);
    };
    const TDResources& resources = *TDResources::Instance();
    if (spot.getFloat("radius_mult") != 1.0f)
        addIcon(resources.findUiImage(L"ui/radius_boost"), false);
    if (spot.getFloat("damage_mult") != 1.0f)
        addIcon(resources.findUiImage(L"ui/power_boost"), false);
    if (spot.getFloat("income_mult") != 1.0f)
    {
        framework::GameApplication* application = framework::GetGameApplication();
        addIcon(application ? application->LoadTexture(L"td/data/context/small_icons/income", nullptr)
                            : nullptr,
                true);
    }
    const float count = static_cast<float>(spot.mIcons.size());
    const float c = std::max(count - 1.0f, 0.0f);
    for (std::size_t k = 0; k < spot.mIcons.size(); ++k)
    {
        TDFrameEntry* icon = spot.mIcons[k];
        icon->mRect.x =
            static_cast<float>(truncToInt(frame.mRect.x + frame.mRect.width * 0.5f - c * kIconSpacing * 0.5f +
                                          static_cast<float>(k) * kIconSpacing));
        icon->mRect.y = frame.mRect.y + frame.mRect.height * 0.5f + 25.0f;
        icon->mSortKey = icon->mRect.y + 30.0f;
    }
}

void TDMap::loadAmbientEffects(file::ImageContainer& container)
{
    forEachLayoutImage(container, L"fx", false,
                       [this](const std::wstring&, const base::ImageInfo& info)
                       {
                           mAmbientEffects.push_back(new TDAmbientEffect(ambientEffectName(mEpisode),
                                                                         info.mRect[0], info.mRect[1],
                                                                         ambientEffectInterval(mEpisode)));
                       });
}

void TDMap::showLevelStartMessage()
{
    // A level whose line unlocks no tower is lost by the data, not by the player: said once per start (a
    // sheet without towers has said so itself).
    const auto towers = [this](bool unlocked)
    {
        const std::vector<TDUnitProto*>& protos = mProtoTable->getProtos();
        return std::any_of(protos.begin(), protos.end(),
                           [&](const TDUnitProto* p)
                           { return p->type == 1 && (!unlocked || mUnlocks->isUnlocked(p->id)); });
    };
    if (mMode != kModeHardcore && mProtoTable && mUnlocks && mUnlocks->hasLine(mEpisode, mLevel) &&
        towers(false) && !towers(true))
        logDataProblem(L"td/unlocks.csv",
                       base::Format(L"episode %d level %d unlocks no tower; nothing can be built") %
                           mEpisode % mLevel);
    std::vector<int> ids;
    mUnlocks->getNewIds(ids);
    if (!ids.empty() && ids.front() == -1)
    {
        onLevelNoticeDone();
        return;
    }
    if (!ids.empty() && mHud->showUnlockMessage(ids))
        return;
    mHud->showLevelName();
    onLevelNoticeDone();
}

void TDMap::onLevelNoticeDone()
{
    // Once the spell step is done, the message's close stands for a bought spot (later hints wait for that).
    TDTutorial::Instance()->onEvent(mProfile->getTutorialStepState(5) == kTutorialCompleted
                                        ? L"buildspot_bought"
                                        : L"unlock_window_close");
}
