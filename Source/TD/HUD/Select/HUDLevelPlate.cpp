#include "Source/TD/HUD/Select/HUDLevelPlate.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{
constexpr int kColumns = 7;
constexpr int kGridLeft = 80;
constexpr int kGridTop = 220;
constexpr int kGridStep = 125;
constexpr float kMaxZoom = 1.1f;

int widthOf(const render::Image* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}

int heightOf(const render::Image* image)
{
    return image != nullptr ? image->GetHeight() : 0;
}

layer::ImageLayer* pictureLayer(render::Image* image, float x, float y, float z)
{
    auto* picture = new layer::ImageLayer;
    picture->SetImage(image, true);
    picture->SetPosition(math::Point3(x, y, z));
    return picture;
}

void detachAndDelete(layer::Layer*& layer)
{
    removeFromParent(layer);
    delete layer;
    layer = nullptr;
}
} // namespace

HUDLevelPlate::HUDLevelPlate(int episode, int level, file::ImageContainer* layout)
    : mEpisode(episode), mLevel(level)
{
    TDMap& map = *Game::GetMap();
    const int mode = map.mMode;
    int progress = -1;
    if (map.mProfile)
    {
        mOpen = map.mProfile->isLevelUnlocked(episode, level, mode);
        // A hand-edited file may hold more; a plate has three star places.
        mStars = std::clamp(map.mProfile->getLevelResult(episode, level, mode).stars, 0, 3);
        progress = map.mProfile->getProgress(episode, mode);
    }
    mCompleted = mStars != 0;

    mRoot = new layer::Layer;
    mPlate = new layer::ImageLayer;
    const wchar_t* stateName = mCompleted ? (mStars == 3 ? L"plate/super" : L"plate/complete")
                               : mOpen    ? L"plate/incomplete"
                                          : L"plate/locked";
    mStateImage = loadPsdLayerImage(layout, stateName);
    mWidth = widthOf(mStateImage);
    mHeight = heightOf(mStateImage);
    mPlate->SetImage(mStateImage, false);

    if (mCompleted)
    {
        render::Image* platePicture = loadPsdLayerImage(layout, L"stars_plate/plate");
        mStarsPlate = pictureLayer(platePicture, static_cast<float>((mWidth - widthOf(platePicture)) / 2),
                                   static_cast<float>(mHeight - heightOf(platePicture) + 16), 0.0f);
        for (int k = 0; k < mStars; ++k)
        {
            mStarLayers[static_cast<std::size_t>(k)] =
                pictureLayer(loadPsdLayerImage(layout, L"stars_plate/star"), 27.0f * k + 4.0f, 4.0f, -1.0f);
            mStarsPlate->AddChild(mStarLayers[static_cast<std::size_t>(k)]);
        }
    }

    mNumber = new layer::TextLayer(boardFont(TDBoardFont::Main80), std::to_wstring(level + 1), 170.0f, 0.0f, 2,
                                   true);
    mNumber->SetAlignment(2, 2);
    mNumber->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    mNumber->SetPosition(math::Point3(mWidth / 2.0f - 3.0f, mHeight / 2.0f - 3.0f, 0.0f));
    mPlate->AddChild(mNumber);

    mX = kGridLeft + kGridStep * (level % kColumns);
    mY = kGridTop + kGridStep * (level / kColumns);
    mPlate->SetPosition(math::Point3(-mWidth / 2.0f, -mHeight / 2.0f, 0.0f));

    if (level == progress && !mCompleted)
    {
        if (render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter("active_lvl"))
        {
            emitter->SetState(1);
            mParticles = new layer::ParticlesLayer;
            mParticles->SetEmitter(emitter, true);
            mParticles->SetPosition(math::Point3(mWidth / 2.0f, mHeight / 2.0f, 0.0f));
            mPlate->AddChild(mParticles);
        }
        mNumber->SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    }
    if (mStarsPlate != nullptr)
        mPlate->AddChild(mStarsPlate);

    const int visited = map.mProfile ? map.mProfile->getEpisodeVisited(episode, mode) : 0;
    if (visited < level + 1 && mOpen)
    {
        render::Image* badge = loadPsdLayerImage(layout, L"plate/new");
        mNewBadge = pictureLayer(badge, 50.0f, -20.0f, -1.0f);
        mNewText = new layer::TextLayer(boardFont(TDBoardFont::Main42_3),
                                        LocalStrings::Instance()->get(L"episodeSelectNew"), 80.0f, 0.0f, 2, true);
        mNewText->SetAlignment(2, 2);
        mNewText->SetPosition(
            math::Point3(static_cast<float>(widthOf(badge) / 2), static_cast<float>(heightOf(badge) / 2), -1.0f));
        mNewBadge->AddChild(mNewText);
        mPlate->AddChild(mNewBadge);
    }
    if (!mOpen || mStars == 3)
        mNumber->SetVisible(false);

    mRoot->AddChild(mPlate);
    mRoot->SetPosition(math::Point3(mX + mWidth / 2.0f, mY + mHeight / 2.0f, 0.0f));
}

HUDLevelPlate::~HUDLevelPlate()
{
    layer::Layer* layers[] = {mNewText, mNewBadge, mParticles, mNumber};
    for (layer::Layer*& layer : layers)
        detachAndDelete(layer);
    for (layer::ImageLayer*& star : mStarLayers)
    {
        layer::Layer* l = star;
        detachAndDelete(l);
        star = nullptr;
    }
    layer::Layer* starsPlate = mStarsPlate;
    detachAndDelete(starsPlate);
    layer::Layer* plate = mPlate;
    detachAndDelete(plate);
    delete mStateImage;
    delete mRoot;
}

bool HUDLevelPlate::contains(int x, int y) const
{
    return x > mX && x < mX + mWidth && y > mY && y < mY + mHeight;
}

void HUDLevelPlate::update(float dt)
{
    if (mHover == 0)
        mZoom = std::max(mZoom - dt, 1.0f);
    else
        mZoom = std::min(mZoom + dt * 0.5f, kMaxZoom);
    mRoot->SetScale(math::Point3(mZoom, mZoom, 0.0f));
    if (mParticles != nullptr && mParticles->GetEmitter() != nullptr)
        mParticles->GetEmitter()->Update(dt);
}

void HUDLevelPlate::draw(render::Graphics* graphics)
{
    if (graphics != nullptr)
        (void)mRoot->Draw(graphics);
}
