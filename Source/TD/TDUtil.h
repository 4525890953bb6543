#pragma once

// Small helpers shared by every moving part of the game world.

// The straight distance between two map points; units, towers, bullets and modifiers all measure with it.
float pointDistance(float x1, float y1, float x2, float y2);
