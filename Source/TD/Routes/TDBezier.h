#pragma once

#include "Core/Base/MathTypes.h"

#include <cstdint>
#include <vector>

// Curve arithmetic of the route links: quadratic Bezier curves and the lanes that run parallel to them.

// One sample of a lane: where a unit stands and which way is sideways there.
struct TDLaneSample
{
    std::uint32_t reserved = 0; // kept as read from a route cache; nothing interprets it
    float nx = 0.0f;            // unit normal (-tangent y, tangent x); (0, 0) where the curve stands still
    float ny = 0.0f;
    float x = 0.0f; // position in map units
    float y = 0.0f;
};

// The samples of one lane, equally spaced along it.
using TDLaneSamples = std::vector<TDLaneSample>;

// A link's curve: start point, control point (the link's anchor), end point.
struct TDCurve
{
    float sx = 0.0f;
    float sy = 0.0f;
    float cx = 0.0f;
    float cy = 0.0f;
    float ex = 0.0f;
    float ey = 0.0f;
};

// (1 - t)^2 start + 2t(1 - t) control + t^2 end; t is not clamped.
math::Point2 bezierPoint(const TDCurve& curve, float t);

// Unit normal at t (t clamped to at most 1). Near the end the direction is taken backwards from 0.98 and the
// sign turned, so the normal keeps to one side: on a y-down screen a positive offset lies to the right of
// the direction of travel.
math::Point2 bezierNormal(const TDCurve& curve, float t);

// The point of the lane at t: bezierPoint + bezierNormal * offset (beyond t = 1 the normal stays that of 1).
math::Point2 lanePointAt(const TDCurve& curve, float t, float offset);

// Length of the lane, summed over steps of 0.0001 in t.
float laneLength(const TDCurve& curve, float offset);

// The parameter reached after travelling distance along the lane from t0 (the lane continues past t = 1).
// A distance that is not positive gives t0; a lane that stands still gives up after a bounded walk.
float laneAdvance(const TDCurve& curve, float t0, float distance, float offset);

// False for a curve shorter than a hundredth of a map unit: its points coincide.
bool curveHasLength(const TDCurve& curve);

// Appends the samples of the lane cut into n pieces of equal length: the start, then one sample every
// length / n while t <= 1, so n + 1 samples (n when rounding carries the last step past the end).
// A curve without length gets two samples, its ends with a zero normal; a lane whose values or length are
// not finite gets none.
void sampleLane(float sx, float sy, float cx, float cy, float ex, float ey, float offset, int n,
                TDLaneSamples& out);

// The normal that walking along a link uses: d = B(t + 0.01) - B(t) turned left, t clamped to at most 1;
// (0, 0) where d has no length.
math::Point2 linkNormal(const TDCurve& curve, float t);

// Arc length of the curve summed over chords of 0.1 in t, accumulated in single precision: nine chords, to
// t = 0.9 (a straight link of 100 measures about 90).
float curveArcLength(const TDCurve& curve);

// The parameter reached after travelling distance along the curve displaced by offset (steps of 0.001 in
// t, normal of linkNormal); 1 as soon as t passes 1.
float advanceOnCurve(const TDCurve& curve, float t0, float distance, float offset);

// Position on a lane at progress t in [0, 1]: the samples are joined by straight pieces. t outside [0, 1]
// gives the first or the last sample; an empty list gives (0, 0).
math::Point2 getLanePosition(const TDLaneSamples& samples, float t);

// Progress after walking distance from t: t + distance / (|S1 - S0| (n - 1)), the first piece standing
// for every piece. A lane that cannot be walked (fewer than two samples, or a first piece without length)
// gives 1, so the walker moves on to its next link.
float advanceOnLane(const TDLaneSamples& samples, float t, float distance);
