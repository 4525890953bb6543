#pragma once

#include "Core/Base/MathTypes.h"

// Small helpers shared by every moving part of the game world.

// The straight distance between two map points; units, towers, bullets and modifiers all measure with it.
float pointDistance(float x1, float y1, float x2, float y2);

// v, or 0 when v is negative.
float clampNonNegative(float v);
// The smaller of the two (b when a > b).
float minOf(float a, float b);
// An angle shifted back by 90 degrees into [0, 360) for angles from -270 to 450: a - 90 from 90 on, else
// a + 270.
float wrapAngleMinus90(float degrees);
// A random point of the ring between the two radii around the centre: first a random angle, then a random
// radius (two draws of math::Random, in this order).
math::Point2 randomPointInRing(float centreX, float centreY, float outerRadius, float innerRadius);
