#pragma once

namespace math
{

// Moves *value by step toward target. True when it already equals target or lies closer than step (then it
// becomes target); a distance of exactly one step reaches target now but reports true only on the next call.
bool Approach(float* value, float step, float target);

// Hash-based random float in [0, 1] of seed; seed 0 takes the next value of the shared running seed.
// The running seed becomes the seed used, explicit or not.
float Random(unsigned seed = 0);

// Hash-based random float in [low, high) of seed, sharing Random's running seed.
float RandomRange(float low, float high, unsigned seed = 0);

// Sets the shared running seed (tests and replays).
void SetRandomCounter(unsigned counter);
unsigned GetRandomCounter();

} // namespace math
