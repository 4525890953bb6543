#include "Source/TD/Effects/TDBeamParticle.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/TDUtil.h"

#include <cmath>

namespace
{
constexpr float kDegreesPerRadian = 180.0f / 3.1415927f;
}

TDBeamParticle::TDBeamParticle(float x, float y, TDTargetPoint* target, const std::string& name)
    : TDParticle(std::string()), mName(name), mStartX(x), mStartY(y), mTargetX(x), mTargetY(y),
      mTarget(target)
{
    if (!readTarget())
        return;
    turnTowardsTarget();
    const std::size_t count = pieceCount(pointDistance(mStartX, mStartY, mTargetX, mTargetY));
    while (mEmitters.size() < count && addPiece())
    {
    }
}

std::size_t TDBeamParticle::pieceCount(float distance)
{
    if (!(distance > 0.0f) || !std::isfinite(distance))
        return 0;
    const float pieces = std::ceil(distance / kSpacing);
    return pieces >= static_cast<float>(kMaxPieces) ? kMaxPieces : static_cast<std::size_t>(pieces);
}

bool TDBeamParticle::readTarget()
{
    const TDTargetPoint* target = mTarget.get();
    if (target == nullptr)
        return false;
    const math::Point2 point = target->getTargetPoint();
    mTargetX = point.x;
    mTargetY = point.y;
    return true;
}

void TDBeamParticle::turnTowardsTarget()
{
    // atan2 with the x difference first: 0 degrees points down the screen, 90 to the right.
    const float degrees = std::atan2(mTargetX - mStartX, mTargetY - mStartY) * kDegreesPerRadian;
    mTransform.RotateDegrees(wrapAngleMinus90(degrees + 90.0f));
}

bool TDBeamParticle::addPiece()
{
    render::ParticleEmitter* piece = render::ParticleSystem::Instance()->GetEmitter(mName);
    if (piece == nullptr)
        return false;
    piece->SetLoopMode(1);
    piece->SetState(1);
    mEmitters.push_back(piece);
    return true;
}

void TDBeamParticle::update(float dt)
{
    mGrowth = minOf(1.0f, mGrowth + kGrowthPerSecond * dt);
    mTransform.Reset();
    const bool targetLives = readTarget();
    if (!targetLives)
        stop();
    const std::size_t count = pieceCount(pointDistance(mStartX, mStartY, mTargetX, mTargetY));
    if (mEmitters.size() > count)
    {
        render::ParticleEmitter* last = mEmitters.back();
        last->SetState(2);
        mEmitters.pop_back();
        delete last;
    }
    // A stopped beam gains nothing: new playing pieces would keep it alive.
    while (targetLives && mEmitters.size() < count && addPiece())
    {
    }
    turnTowardsTarget();
    for (render::ParticleEmitter* piece : mEmitters)
        piece->Update(static_cast<double>(dt));
}

float TDBeamParticle::getRotationDegrees() const
{
    return mTransform.mRotation * kDegreesPerRadian;
}

math::Point2 TDBeamParticle::getPiecePosition(std::size_t index) const
{
    float targetX = mTargetX;
    float targetY = mTargetY;
    if (const TDTargetPoint* target = mTarget.get())
    {
        const math::Point2 point = target->getTargetPoint();
        targetX = point.x;
        targetY = point.y;
    }
    const float length = pointDistance(mStartX, mStartY, targetX, targetY);
    const float offset =
        index + 1 == mEmitters.size() ? length - mSpacing : mSpacing * static_cast<float>(index);
    const float theta = mTransform.mRotation;
    return math::Point2(mStartX + mGrowth * offset * std::sin(theta),
                        mStartY + mGrowth * offset * std::cos(theta));
}

void TDBeamParticle::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    for (std::size_t i = 0; i < mEmitters.size(); ++i)
    {
        const math::Point2 at = getPiecePosition(i);
        render::Transform2D place;
        place.Rotate(mTransform.mRotation);
        place.Translate(at.x, at.y);
        graphics->DrawParticles(mEmitters[i]).Transform(place);
    }
}
