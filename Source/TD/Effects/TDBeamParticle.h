#pragma once

#include "Core/Base/MathTypes.h"
#include "Source/TD/Effects/TDParticle.h"
#include "Source/TD/Sprites/TDTargetPoint.h"

#include <cstddef>

// A beam tower's ray: looping emitters laid every 30 units along the line from the tower to its target,
// turned along that line and following the target; it grows to full length within a tenth of a second.
class TDBeamParticle : public TDParticle
{
public:
    static constexpr float kSpacing = 30.0f;
    static constexpr float kGrowthPerSecond = 10.0f;
    // A guard against absurd lengths; a beam across the widest screen has about 55 pieces.
    static constexpr std::size_t kMaxPieces = 1000;

    // From the start point to the target's target point, with one piece per started 30 units. Without a
    // target the beam has no pieces and is dropped by the map.
    TDBeamParticle(float x, float y, TDTargetPoint* target, const std::string& name);

    // Grows, follows the target (gaining every missing piece at once, losing one surplus piece per update),
    // turns and advances the pieces. A target that has gone away stops the beam.
    void update(float dt) override;
    // Each piece turned along the beam at its place.
    void draw(render::Graphics* graphics) override;

    // Piece count for a length: one per started spacing, none for no or an unusable length.
    static std::size_t pieceCount(float distance);
    // Where piece index is drawn: spacing x index along the beam, the last piece ending at the target, all
    // scaled by the growth.
    math::Point2 getPiecePosition(std::size_t index) const;
    // The beam direction in degrees, in [0, 360): 0 down the screen, 90 right.
    float getRotationDegrees() const;

    std::string mName;
    float mSpacing = kSpacing;
    // 0 to 1: the share of the full length shown.
    float mGrowth = 0.0f;
    float mStartX = 0.0f;
    float mStartY = 0.0f;
    // The target point last read.
    float mTargetX = 0.0f;
    float mTargetY = 0.0f;
    TDWatch<TDTargetPoint> mTarget;

private:
    // Reads the target point while the target lives; false once it has gone.
    bool readTarget();
    void turnTowardsTarget();
    bool addPiece();
};
