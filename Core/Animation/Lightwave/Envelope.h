#pragma once

#include <cstdint>
#include <vector>

namespace lightwave
{

// Interpolation shape of the span that ends at a key.
enum KeyShape : uint32_t
{
    ShapeTCB = 0,
    ShapeHermite = 1,
    ShapeBezier = 2,
    ShapeLinear = 3,
    ShapeStepped = 4,
    ShapeBezier2D = 5,
};

// What an envelope answers outside its key range.
enum Behaviour : uint32_t
{
    BehaviourReset = 0,
    BehaviourConstant = 1,
    BehaviourRepeat = 2,
    BehaviourOscillate = 3,
    BehaviourOffsetRepeat = 4,
    BehaviourLinear = 5,
};

// One key of an envelope; p0..p3 mean tension/continuity/bias (TCB), tangents (Hermite, Bezier) or control
// offsets (2D Bezier).
struct Key
{
    float value = 0.0f;
    float time = 0.0f;
    uint32_t shape = ShapeTCB;
    float p0 = 0.0f;
    float p1 = 0.0f;
    float p2 = 0.0f;
    float p3 = 0.0f;
};

// Bytes of one key in an animation file (the last 8 are not used).
inline constexpr unsigned kKeyFileSize = 36;

// A key-framed curve with its behaviours before the first and after the last key.
struct Envelope
{
    std::vector<Key> keys;
    uint32_t pre = BehaviourConstant;
    uint32_t post = BehaviourConstant;

    // The curve's value at time t (seconds).
    float Evaluate(float t) const;
};

} // namespace lightwave
