#include "Source/TD/Tutorial/TDTutorial.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/TutorialButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <tinyxml2.h>

#include <memory>

namespace
{
constexpr const wchar_t* kScript = L"td/tutorial.xml";
constexpr const wchar_t* kPictures = L"td/data/tutorial";
constexpr const wchar_t* kSkipPictures = L"td/data/tutorial/skip";

TDMap* gMap = nullptr;

// An image of the folder carries a picture when it is a rectangle of an atlas or has a file of its own;
// one that has neither only marks a place for a text. Asking first keeps a text place from being loaded
// (and logged) as a missing picture.
bool hasPicture(file::ImageContainer& container, const std::wstring& name, const base::ImageInfo& info)
{
    if (info.mInAtlas)
        return true;
    std::unique_ptr<file::ImageFileInfo> found(
        container.FindImage(name, file::kImageExtensions, file::kImageExtensionCount, nullptr));
    return found != nullptr;
}

// The level has a build spot of that index (its frame is named "#" and the index).
bool levelHasSpot(const TDMap& map, int spot)
{
    if (!map.mLevelArt)
        return false;
    const std::wstring name = L"#" + std::to_wstring(spot);
    for (const TDFrameEntry* frame : map.mLevelArt->mSpotFrames)
        if (frame && frame->mName == name)
            return true;
    return false;
}
} // namespace

TDTutorial::TDTutorial()
{
    file::RegisterImageContainers();
    mPictures.reset(file::FileManager::Instance()->OpenImageContainer(kPictures));
    TDMap* map = getMap();
    mEnabled = map && map->mProfile ? map->mProfile->isTutorialAvailable() : true;
    mPictureContainer = std::make_unique<layer::Layer>();
    mTextContainer = std::make_unique<layer::Layer>();
    // Without its script a new player gets no guidance: worth a line, whether the file is missing or empty.
    const std::string script = readGameTextFile(kScript, true);
    if (script.empty() && file::FileManager::Instance()->Exists(kScript))
        logDataProblem(kScript, L"empty; the tutorial has no steps");
    loadScript(script, kScript);
    rearm();
    buildSkipButton();
}

TDTutorial::~TDTutorial()
{
    hide();
}

void TDTutorial::useMap(TDMap* map)
{
    gMap = map;
}

TDMap* TDTutorial::getMap() const
{
    return gMap ? gMap : Game::GetMap();
}

void TDTutorial::onMapDestroyed(TDMap* map)
{
    if (gMap == map)
        gMap = nullptr;
    if (Exists())
        delete Instance();
}

void TDTutorial::loadScript(const std::string& text, const std::wstring& path)
{
    hide();
    mSteps.clear();
    if (text.empty())
        return;
    tinyxml2::XMLDocument document;
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
    {
        logDataProblem(path, L"cannot be read; the tutorial has no steps");
        return;
    }
    const tinyxml2::XMLElement* root = document.FirstChildElement("tutorial");
    if (!root)
    {
        logDataProblem(path, L"has no `tutorial` element; the tutorial has no steps");
        return;
    }
    if (!mPictures)
        logDataProblem(kPictures, L"not found; the tutorial shows only texts of steps and the skip button");
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("step"); element;
         element = element->NextSiblingElement("step"))
    {
        auto step = std::make_unique<TDTutorialStep>();
        std::wstring why;
        if (!step->load(*element, &why))
        {
            logDataProblem(path, L"step " + std::to_wstring(step->mId) + L" " + why + L"; left out");
            continue;
        }
        // A step without pictures still completes on its event and can be skipped; the skip button shows.
        std::vector<std::wstring> pictures;
        if (mPictures)
            (void)mPictures->ListImages(step->mFolder, true, &pictures, false);
        if (mPictures && pictures.empty())
            logDataProblem(path, L"step " + std::to_wstring(step->mId) + L" shows the folder '" +
                                     step->mFolder + L"', which " + kPictures +
                                     L" lacks; only the skip button shows");
        step->mState = storedState(step->mId);
        mSteps.push_back(std::move(step));
    }
}

void TDTutorial::buildSkipButton()
{
    std::unique_ptr<file::ImageContainer> skin(
        file::FileManager::Instance()->OpenImageContainer(kSkipPictures));
    mSkipOver.reset(createFrameEntryFromPsd(skin.get(), L"button/b4_over"));
    mSkipNormal.reset(createFrameEntryFromPsd(skin.get(), L"button/b4_normal"));
    mSkipButton = std::make_unique<TutorialButton>(
        mSkipOver.get(), mSkipNormal.get(), LocalStrings::Instance()->get(L"tutorial_skip_label"), *this);
    const math::Rect& place = mSkipOver->mRect;
    mSkipButton->SetPosition(math::Point3(place.x + place.width * 0.5f, place.y + place.height * 0.5f, 0.0f));
}

void TDTutorial::onEvent(const std::wstring& name)
{
    if (!mEnabled)
        return;
    for (const std::unique_ptr<TDTutorialStep>& step : mSteps)
        step->onEvent(name, *this);
}

void TDTutorial::onPress(int x, int y)
{
    mouseMove(x, y);
}

void TDTutorial::onRelease(int x, int y)
{
    mouseUp(x, y);
}

void TDTutorial::mouseMove(int x, int y)
{
    if (mShown && mEnabled && mSkipButton)
        mSkipButton->updateHover(x, y);
}

void TDTutorial::mouseUp(int x, int y)
{
    if (mShown && mEnabled && mSkipButton)
        mSkipButton->onClick(x, y);
}

void TDTutorial::update(float dt)
{
    if (mShown && mEnabled && mSkipButton)
        mSkipButton->update(dt);
}

void TDTutorial::pause()
{
    mShownBeforePause = mShown;
    mShown = false;
    for (layer::Layer* part :
         {mPictureContainer.get(), mTextContainer.get(), static_cast<layer::Layer*>(mSkipButton.get())})
        if (part)
            part->SetVisible(false);
}

void TDTutorial::resume()
{
    mShown = mShownBeforePause;
    for (layer::Layer* part :
         {mPictureContainer.get(), mTextContainer.get(), static_cast<layer::Layer*>(mSkipButton.get())})
        if (part)
            part->SetVisible(true);
}

int TDTutorial::storedState(int id) const
{
    if (TDMap* map = getMap(); map && map->mProfile)
        return map->mProfile->getTutorialStepState(id);
    for (const std::unique_ptr<TDTutorialStep>& step : mSteps)
        if (step->mId == id)
            return step->mState;
    return kTutorialWaiting;
}

void TDTutorial::storeState(int id, int state)
{
    if (TDMap* map = getMap(); map && map->mProfile)
        map->mProfile->setTutorialStepState(id, state);
    for (const std::unique_ptr<TDTutorialStep>& step : mSteps)
        if (step->mId == id)
            step->mState = state;
}

void TDTutorial::resetStep(int id)
{
    storeState(id, kTutorialWaiting);
}

bool TDTutorial::isCompleted(int id) const
{
    return storedState(id) == kTutorialCompleted;
}

void TDTutorial::rearm()
{
    if (!isCompleted(1))
    {
        resetStep(0);
        resetStep(1);
    }
    if (!isCompleted(2))
        resetStep(2);
    if (!isCompleted(4))
    {
        resetStep(4);
        resetStep(3);
    }
    if (!isCompleted(51))
    {
        if (!isCompleted(5))
            resetStep(5);
        resetStep(51);
    }
    for (int id : {6, 7, 8})
        if (!isCompleted(id))
            resetStep(id);
    liftRestrictions();
    // A step left shown by the level that ended must not stay up over the new one: it shows again on its
    // event.
    hide();
}

void TDTutorial::reloadState()
{
    TDMap* map = getMap();
    if (!map || !map->mProfile)
        return;
    mEnabled = map->mProfile->isTutorialAvailable();
    for (const std::unique_ptr<TDTutorialStep>& step : mSteps)
        step->mState = map->mProfile->getTutorialStepState(step->mId);
}

void TDTutorial::endLevel()
{
    hide();
    mShownBeforePause = false;
    liftRestrictions();
}

void TDTutorial::liftRestrictions()
{
    TDMap* map = getMap();
    if (!map)
        return;
    map->mDropChanceOverride = 0.0f;
    if (map->mHud)
    {
        map->mHud->mBlockShop = 0;
        map->mHud->mBlockUI = 0;
    }
    map->mTutorialSpot = -1;
}

void TDTutorial::show(const TDTutorialStep& step)
{
    hide();
    if (TDMap* map = getMap())
    {
        map->mViewScale = 1.0f;
        map->mViewOffsetX = 0.0f;
        map->mViewOffsetY = 0.0f;
    }
    if (layer::Layer* root = boardRootLayer())
    {
        root->AddChild(mPictureContainer.get());
        root->AddChild(mTextContainer.get());
        if (mSkipButton)
            root->AddChild(mSkipButton.get());
    }
    for (layer::Layer* part :
         {mPictureContainer.get(), mTextContainer.get(), static_cast<layer::Layer*>(mSkipButton.get())})
        if (part)
            part->SetVisible(true);
    mShown = true;
    if (!mPictures)
        return;
    std::vector<std::wstring> names;
    (void)mPictures->ListImages(step.mFolder, true, &names, false);
    for (const std::wstring& name : names)
    {
        const base::ImageInfo* info = mPictures->FindImageInfo(name);
        if (!info)
            continue;
        const float x = info->mRect[0];
        const float y = info->mRect[1];
        const float width = info->mRect[2];
        const float height = info->mRect[3];
        render::Image* image =
            hasPicture(*mPictures, name, *info) ? loadPsdLayerImage(mPictures.get(), name) : nullptr;
        if (image)
        {
            auto* picture = new layer::ImageLayer(image, true);
            picture->SetPosition(math::Point3(x, y, 0.0f));
            mPictureLayers.push_back(picture);
            mPictureContainer->AddChild(picture);
            continue;
        }
        auto* text =
            new layer::TextLayer(boardFont(TDBoardFont::Main32_1), step.textFor(name), width, 0.0f, 2, false);
        text->SetAlignment(2, 2);
        text->SetPosition(math::Point3(x + width * 0.5f, y + height * 0.5f, 0.0f));
        mTextLayers.push_back(text);
        mTextContainer->AddChild(text);
    }
}

void TDTutorial::hide()
{
    for (std::vector<layer::Layer*>* list : {&mPictureLayers, &mTextLayers})
    {
        for (layer::Layer* part : *list)
        {
            removeFromParent(part);
            delete part;
        }
        list->clear();
    }
    for (layer::Layer* part :
         {mPictureContainer.get(), mTextContainer.get(), static_cast<layer::Layer*>(mSkipButton.get())})
        removeFromParent(part);
    mShown = false;
}

void TDTutorial::skip()
{
    mEnabled = false;
    mSkipRequested = false;
    hide();
    TDMap* map = getMap();
    if (!map)
        return;
    liftRestrictions();
    if (map->mProfile)
    {
        map->mProfile->setTutorialParam(L"dropChanceOverride", 0);
        map->mProfile->setTutorialAvailable(false);
    }
}

void TDTutorial::requestSkip()
{
    mShown = false;
    mSkipRequested = true;
    if (TDMap* map = getMap(); map && map->mHud)
        map->mHud->showTutorialCancelDialog();
}

void TDTutorial::confirmSkip()
{
    hide();
    skip();
}

void TDTutorial::cancelSkip()
{
    mSkipRequested = false;
    mShown = true;
}

void TDTutorial::runCommand(const TDTutorialCmd& command)
{
    TDMap* map = getMap();
    if (!map)
        return;
    const std::wstring& param = command.param;
    const int value = command.value;
    if (param == L"pause")
    {
        if (value == 0)
            map->mSpeed = 1.0f;
        else if (value == 1)
            map->mSpeed = 0.0f;
        map->updateSpeedButtons();
    }
    else if (param == L"dropChanceOverride")
    {
        if (map->mProfile)
            map->mProfile->setTutorialParam(L"dropChanceOverride", value);
        map->mDropChanceOverride = static_cast<float>(value);
    }
    else if (param == L"blockShop")
    {
        if (map->mHud)
            map->mHud->mBlockShop = value;
    }
    else if (param == L"blockUI")
    {
        if (map->mHud)
            map->mHud->mBlockUI = value;
    }
    else if (param == L"addGems")
    {
        if (map->mEconomy)
            map->mEconomy->addGems(value);
    }
    else if (param == L"addMoney")
    {
        if (map->mEconomy)
            map->mEconomy->addMoney(value);
    }
    else if (param == L"spot")
    {
        // A spot the level lacks would refuse every spot (only the named one may be opened) and lock the
        // player out of building: such a value lifts the restriction instead.
        if (value != -1 && !levelHasSpot(*map, value))
        {
            logDataProblem(kScript, L"a step points at build spot " + std::to_wstring(value) + L", which " +
                                        map->mLevelFile + L" lacks; every spot stays open");
            map->mTutorialSpot = -1;
        }
        else
        {
            map->mTutorialSpot = value;
        }
    }
    else if (param == L"resetSpell")
    {
        if (map->mHud)
            map->mHud->resetSpells();
    }
    else if (param == L"completeStep")
    {
        storeState(value, kTutorialCompleted);
    }
}
