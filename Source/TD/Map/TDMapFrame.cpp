// One frame of the level: the update (what advances in which state, in which order) and the draw (the world
// in depth order, then the HUD, its screens and the effects), and the route layer shown while a spell is
// aimed.
#include "Source/TD/Map/TDMap.h"

#include "Core/Base/Containers.h"
#include "Core/Base/Transform3D.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Effects/TDAmbientEffect.h"
#include "Source/TD/Effects/TDParticle.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Play/TDContextMenu.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Routes/TDBezier.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"
#include "Source/TD/Units/TMobShader.h"

#include <algorithm>
#include <cmath>

namespace
{
enum FrameList
{
    kFrameList = 0,
    kGround = 1,
    kGroundShadow = 2,
    kAir = 3,
    kAirShadow = 4
};

// The world is painted while a level is played and behind the screens that stand over a level.
bool showsWorld(int state)
{
    switch (state)
    {
    case kStatePlaying:
    case kStateWon:
    case kStateLost:
    case kStateIngameMenu:
    case kStateUnlockMessage:
    case kStateRefillOffer:
    case kStateRefillWait:
        return true;
    default:
        return false;
    }
}

// A frame entry of this draw showing an existing picture, centred on its rectangle.
TDFrameEntry* drawCopy(const TDFrameEntry& source)
{
    auto* copy = new TDFrameEntry(source);
    copy->mOwnsTexture = false;
    copy->mTransform.Reset();
    copy->mTransform.Translate(source.mRect.x + source.mRect.width * 0.5f,
                               source.mRect.y + source.mRect.height * 0.5f);
    return copy;
}

// Runs a drawing step under the camera and restores the transform it found.
class CameraScope
{
public:
    CameraScope(render::Graphics* graphics, const math::Transform3D& camera)
        : mGraphics(graphics), mSaved(graphics->mTransform)
    {
        graphics->mTransform = &camera;
    }
    ~CameraScope() { mGraphics->mTransform = mSaved; }
    CameraScope(const CameraScope&) = delete;
    CameraScope& operator=(const CameraScope&) = delete;

private:
    render::Graphics* mGraphics;
    const math::Transform3D* mSaved;
};
} // namespace

void TDMap::updateBursts(float dt)
{
    for (std::size_t i = 0; i < mBuildEmitters.size();)
    {
        render::ParticleEmitter* emitter = mBuildEmitters[i];
        if (emitter && emitter->GetState() == 1)
        {
            emitter->Update(dt);
            ++i;
            continue;
        }
        delete emitter;
        mBuildEmitters.erase(mBuildEmitters.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void TDMap::update(float dt)
{
    if (!mResourcesLoaded)
        return;
    if (mLoadRequest == 2)
    {
        mHud->closeTopWindow();
        loadLevel();
        mLoadRequest = 0;
        return;
    }
    mFrameTime = dt;
    const float s = dt * mSpeed;
    mGameTime += s;
    mEnemySpot->advance(dt);
    if (const TDUnit* selected = mSelectedUnit.get(); selected && selected->mState == kUnitDying)
        mSelectedUnit.reset();
    if (mContextMenu)
        mContextMenu->update(dt);
    if (mArmedSpell && mActiveMarker)
        mActiveMarker->Update(s);
    if (mActiveButtonMarker)
    {
        mActiveButtonMarker->Update(s);
        if (mActiveButtonMarker->GetState() != 1)
            mActiveButtonMarker->SetState(1);
    }
    mHud->update(dt);
    TDTutorial::Instance()->update(dt);
    mPurchaseService->update(dt);
    updateEmitters(mLateEmitters, s);
    updateBursts(dt);
    // Like the build burst it comes with, a new tower's fade runs in real time, so a tower built while the
    // game is paused stands on the map at once.
    for (TDTower* tower : mTowers)
        tower->advanceFade(dt);
    if (mState != kStatePlaying)
    {
        delete mContextMenu;
        mContextMenu = nullptr;
        return;
    }
    updateAmbientEffects(mAmbientEffects, s, mLateEmitters);
    updateSprites(mSprites, s);
    mEconomy->update(dt);
    updateParticles(mParticles, s);
    updateEmitters(mEmitters, s);
    mPopups->update(s);
    for (TDTower* tower : mTowers)
        tower->resetBoost();
    // Modifiers appended during the walk are updated in the same walk.
    for (std::size_t i = 0; i < mModifiers.size(); ++i)
        mModifiers[i]->update(nullptr, s);
    for (std::size_t i = 0; i < mTowers.size(); ++i)
    {
        mTowers[i]->applyUpgrades();
        mTowers[i]->update(s);
    }
    mWaves->updateModifiers(s);
    mWaves->updateUnits(s);
    mBullets->update(s);
    deleteInactive(mModifiers);
    mWaves->update(s);
    mWaves->clearSpeedReductions();
}

bool TDMap::showsWorld() const
{
    return ::showsWorld(mState);
}

void TDMap::draw(render::Graphics* graphics)
{
    if (!mResourcesLoaded || !graphics)
        return;
    if (mLoadRequest == 1)
    {
        if (!mLoadingTexture)
            if (framework::GameApplication* application = framework::GetGameApplication())
                mLoadingTexture = application->LoadTexture(L"td/data/loading.jpg", nullptr);
        if (mLoadingTexture)
            graphics->DrawImage(mLoadingTexture);
        mLoadRequest = 2;
        return;
    }
    math::Transform3D camera;
    camera.Scale(mViewScale, mViewScale, 1.0f);
    camera.Translate(mViewOffsetX, mViewOffsetY, 0.0f);

    if (showsWorld())
        drawWorld(graphics);

    {
        CameraScope scope(graphics, camera);
        mPopups->draw(graphics);
        for (TDSprite* sprite : mSprites)
            sprite->draw(graphics);
    }
    // The level's effects belong to the level: shown with it, never over the screens that replace it, and
    // under the in-game menu and the result window that stand over it.
    if (showsWorld())
        for (TDParticle* particle : mParticles)
            particle->draw(graphics);
    (void)graphics->SetBlendMode(1);
    mHud->draw(graphics);
    if (showsWorld())
    {
        CameraScope scope(graphics, camera);
        for (render::ParticleEmitter* emitter : mBuildEmitters)
            graphics->DrawParticles(emitter);
        for (TDEmitter* effect : mLateEmitters)
            if (effect->mEmitter)
                graphics->DrawParticles(effect->mEmitter);
        (void)graphics->SetBlendMode(1);
    }
    mHud->drawWindows(graphics, 0);
    if (mContextMenu && !mContextMenu->mAlive)
    {
        delete mContextMenu;
        mContextMenu = nullptr;
    }
    else if (mContextMenu)
    {
        CameraScope scope(graphics, camera);
        mContextMenu->draw(graphics);
    }
    if (mArmedSpell && mActiveMarker)
        graphics->DrawParticles(mActiveMarker);
    if (showsWorld() && mActiveButtonMarker)
        graphics->DrawParticles(mActiveButtonMarker);
    mHud->drawWindows(graphics, 1);
    if (mDebugWaveSchedule)
        drawWaveSchedule(graphics);
}

void TDMap::drawWorld(render::Graphics* graphics)
{
    (void)graphics->SetBlendMode(1);
    for (TDTower* tower : mTowers)
        tower->collectDrawEntry();
    for (TDUnit* unit : mWaves->getUnits())
        unit->draw();
    std::sort(mFrameLists[kGround].begin(), mFrameLists[kGround].end(), compareDepth);
    std::sort(mFrameLists[kAir].begin(), mFrameLists[kAir].end(), compareDepth);

    std::vector<TDFrameEntry*>& frames = mFrameLists[kFrameList];
    // The entries at the front that lie under everything standing on the ground.
    std::size_t ground = 0;
    frames.insert(frames.end(), mFrameLists[kGroundShadow].begin(), mFrameLists[kGroundShadow].end());
    frames.insert(frames.end(), mFrameLists[kGround].begin(), mFrameLists[kGround].end());
    if (mLevelArt)
    {
        // Ordinary art goes under everything, each image under those before it in the layout (so the layout
        // is painted from its last layer up); front layers ("^", "$", "##") over the ground objects.
        for (const TDFrameEntry* image : mLevelArt->mFrames)
        {
            if (!image->mVisible)
                continue;
            TDFrameEntry* copy = drawCopy(*image);
            const std::wstring& name = image->mName;
            const bool front = (!name.empty() && (name[0] == L'^' || name[0] == L'$')) || name == L"##";
            if (front)
            {
                frames.push_back(copy);
            }
            else
            {
                frames.insert(frames.begin(), copy);
                ++ground;
            }
        }
    }
    frames.insert(frames.end(), mFrameLists[kAirShadow].begin(), mFrameLists[kAirShadow].end());
    frames.insert(frames.end(), mFrameLists[kAir].begin(), mFrameLists[kAir].end());
    for (TDEmitter* effect : mEmitters)
    {
        auto* entry = new TDFrameEntry;
        entry->mParticles = effect->mEmitter;
        frames.push_back(entry);
    }
    if (mRouteLayer && mArmedSpell)
    {
        auto* entry = new TDFrameEntry;
        entry->mTexture = mRouteLayer;
        entry->mTransform.Translate(512.0f, 384.0f - mScreenRect[1]);
        entry->mAdditive = true;
        const float alpha = 0.2f + 0.2f * (std::sin(mGameTime * 5.0f) + 1.0f) * 0.5f;
        entry->mColor = render::Color(0.804f, 0.75f, 0.171f, alpha);
        // Right over the ordinary level art: at the very front the opaque ground would paint over the glow.
        frames.insert(frames.begin() + static_cast<std::ptrdiff_t>(ground), entry);
        ++ground;
    }
    for (const TDFrameEntry* marker : mWaveCallMarkers->getMarkers())
        frames.push_back(drawCopy(*marker));

    math::Transform3D camera;
    camera.Scale(mViewScale, mViewScale, 1.0f);
    camera.Translate(mViewOffsetX, mViewOffsetY, 0.0f);
    {
        CameraScope scope(graphics, camera);
        for (std::size_t i = 0; i <= frames.size(); ++i)
        {
            if (i == ground)
            {
                // Units that have no frames for their state show their sheet's picture on the ground.
                for (const TDUnit* unit : mWaves->getUnits())
                    unit->drawStandIn(graphics);
                graphics->SetShader(nullptr);
            }
            if (i == frames.size())
                break;
            TDFrameEntry* entry = frames[i];
            if (entry->mParticles)
            {
                graphics->DrawParticles(entry->mParticles);
                (void)graphics->SetBlendMode(1);
                continue;
            }
            if (!entry->mTexture)
                continue;
            graphics->SetColor(entry->mColor);
            if (entry->mShader)
            {
                graphics->SetShader(entry->mShader);
                if (auto* mob = dynamic_cast<TMobShader*>(entry->mShader))
                {
                    const math::Point4 second(entry->mShaderColor.r, entry->mShaderColor.g,
                                              entry->mShaderColor.b, entry->mShaderColor.a);
                    if (!(mob->getColor2() == second))
                        mob->setColor2(second);
                }
            }
            else
            {
                graphics->SetShader(nullptr);
            }
            if (entry->mAdditive)
                (void)graphics->SetBlendMode(2);
            {
                auto image = graphics->DrawImage(entry->mTexture).Transform(entry->mTransform);
                image->mAlignH = 2;
                image->mAlignV = 2;
                image->mFlipX = entry->mMirrored;
            }
            if (entry->mAdditive)
                (void)graphics->SetBlendMode(1);
        }
        graphics->SetShader(nullptr);
    }

    for (TDUnit* unit : mWaves->getUnits())
        unit->drawOverlay(graphics);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    for (TDTower* tower : mTowers)
        tower->drawExtras(graphics);
    if (const TDUnit* selected = mSelectedUnit.get())
    {
        CameraScope scope(graphics, camera);
        const math::Point2 target = selected->getTargetPoint();
        mEnemySpot->draw(graphics, target.x, target.y - selected->getRootFrameTop(), 0.0f);
    }
    drawWaveCallTexts(graphics);
    if (mDebugDrawSecond)
        drawDeveloperOverlays(graphics);

    base::DeleteAll(frames);
    for (auto& list : mFrameLists)
        list.clear();
    {
        CameraScope scope(graphics, camera);
        mBullets->draw(graphics);
    }
}

void TDMap::drawWaveCallTexts(render::Graphics* graphics)
{
    const std::vector<TDFrameEntry*>& markers = mWaveCallMarkers->getMarkers();
    if (markers.empty())
        return;
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main42_3);
    if (!font)
        return;
    render::Font* savedFont = graphics->mFont;
    graphics->mFont = font.Get();
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    const int seconds = truncToInt(mWaveCallMarkers->mDueTime - mWaves->mClock);
    const std::wstring text =
        seconds == 0 ? LocalStrings::Instance()->get(L"game_incoming")
                     : LocalStrings::Instance()->get(L"game_nextwave") + std::to_wstring(seconds);
    for (std::size_t i = 0; i < markers.size(); ++i)
    {
        const math::Rect& r = markers[i]->mRect;
        const float y = r.y + r.height * 0.5f - 25.0f * static_cast<float>(i);
        const bool left = r.x < 512.0f;
        const float x = left ? r.x + r.width * 0.5f + 32.0f : r.x - r.width * 0.5f - 32.0f;
        auto draw =
            graphics->DrawText(text).Translate(x * mViewScale + mViewOffsetX, y * mViewScale + mViewOffsetY);
        draw->mAlignH = left ? 0 : 1;
        draw->mAlignV = 2;
    }
    graphics->mFont = savedFont;
}

void TDMap::drawDeveloperOverlays(render::Graphics* graphics)
{
    if (!mRangeImage)
        return;
    math::Transform3D camera;
    camera.Scale(mViewScale, mViewScale, 1.0f);
    camera.Translate(mViewOffsetX, mViewOffsetY, 0.0f);
    CameraScope scope(graphics, camera);
    for (const TDModifier* modifier : mModifiers)
    {
        const float alpha = modifier->mKind == 101 && modifier->mDuration > 0.0f
                                ? 1.0f - modifier->mElapsed / modifier->mDuration
                                : 0.5f;
        graphics->SetColor(1.0f, 0.0f, 0.0f, alpha);
        auto circle = graphics->DrawImage(mRangeImage).Scale(modifier->mRadius / 336.0f);
        circle.Translate(modifier->mX, modifier->mY);
        circle->mAlignH = 2;
        circle->mAlignV = 2;
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main32_2);
    render::Font* savedFont = graphics->mFont;
    for (const TDTower* tower : mTowers)
    {
        if (!tower->mProto)
            continue;
        {
            auto circle = graphics->DrawImage(mRangeImage).Scale(tower->mProto->r / 336.0f);
            circle.Translate(tower->mX, tower->mY);
            circle->mAlignH = 2;
            circle->mAlignV = 2;
        }
        if (!font)
            continue;
        graphics->mFont = font.Get();
        graphics->DrawText(std::to_wstring(tower->mDebugNumber)).Translate(tower->mX, tower->mY);
    }
    graphics->mFont = savedFont;
}

void TDMap::drawWaveSchedule(render::Graphics* graphics)
{
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main32_2);
    if (!font)
        return;
    render::Font* savedFont = graphics->mFont;
    graphics->mFont = font.Get();
    const std::vector<TDWaveProto*>& waves = mWaves->getWaves();
    for (std::size_t w = 0; w < waves.size(); ++w)
    {
        std::wstring line;
        for (const TDWaveEntry* entry : waves[w]->mEntries)
        {
            const int seconds = truncToInt(static_cast<float>(waves[w]->mTimeout) + entry->mX / 45.0f -
                                           mWaves->mClock + 0.5f);
            line += std::to_wstring(entry->mUnitId) + L"(" + std::to_wstring(seconds) + L"), ";
        }
        graphics->DrawText(line).Translate(0.0f, 20.0f * static_cast<float>(w));
    }
    graphics->mFont = savedFont;
}

void TDMap::renderRouteLayer()
{
    delete mRouteLayer;
    mRouteLayer = nullptr;
    framework::GameApplication* application = framework::GetGameApplication();
    if (application)
    {
        const math::Rect& visible = application->GetVisibleRect();
        if (visible.width > 0.0f && visible.height > 0.0f)
            mScreenRect = {visible.x, visible.y, visible.width, visible.height};
    }
    render::Render* render = application ? application->GetRender() : nullptr;
    if (!render || !mBrushImage)
        return;
    render::Image* target = nullptr;
    if (render->CreateRenderTarget(truncToInt(mScreenRect[2]), truncToInt(mScreenRect[3]), &target, true) !=
            VN_OK ||
        !target)
    {
        delete target;
        return;
    }
    mRouteLayer = target;
    render::Graphics graphics(static_cast<render::RenderTarget*>(target));
    (void)graphics.Clear(1, render::Color(0.0f, 0.0f, 0.0f, 0.0f), 1.0f, 0);
    graphics.SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    math::Transform3D shift;
    shift.Translate(-mScreenRect[0], 0.0f, 0.0f);
    graphics.mTransform = &shift;
    drawRouteLinks(&graphics, mBrushImage);
    graphics.mTransform = nullptr;
}

void TDMap::drawRouteLinks(render::Graphics* graphics, render::Image* dot)
{
    for (const auto& link : mRoutes.getLinks())
        drawLinkDots(link.get(), graphics, dot);
    (void)graphics->Flush();
}

void TDMap::drawLinkDots(const TDLink* link, render::Graphics* graphics, render::Image* dot)
{
    TDCurve curve;
    if (!mRoutes.getCurve(link, curve))
        return;
    // A dot every 25 units of arc; the walk stops when it makes no progress, so no curve can hold it.
    float t = 0.0f;
    for (int dots = 0; dots < 100000; ++dots)
    {
        const math::Point2 at = bezierPoint(curve, t);
        {
            auto image = graphics->DrawImage(dot).Translate(at.x, at.y);
            image->mAlignH = 2;
            image->mAlignV = 2;
        }
        const float next = advanceOnLink(link, t, 25.0f, 0.0f);
        if (!(next > t) || next >= 1.0f)
            break;
        t = next;
    }
}
