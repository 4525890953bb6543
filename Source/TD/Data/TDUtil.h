#pragma once

#include "Core/Base/MathTypes.h"

#include <functional>
#include <string>

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

// An index into an array of count elements drawn with math::Random (seed 0: the running seed). Random may
// answer exactly 1.0, so the product is kept below count; 0 for an empty array.
int randomIndex(int count, unsigned seed = 0);

// Clamps an index computed from random values (math::RandomRange may answer its upper bound) into
// [0, count - 1]; 0 for an empty array.
int clampIndex(int index, int count);

// Reads a leading decimal integer as C's atoi does (blanks, an optional sign, digits; the rest of the text
// is ignored), saturated to the int range. False, and *value untouched, when the text starts with no digit.
bool readLeadingInt(const char* text, int* value);
// atoi: the leading integer, 0 when there is none.
int leadingInt(const char* text);
// Reads a leading decimal float ("1.5", "-2", ".5", "3e2"; the rest ignored). False, and *value untouched,
// when the text starts with no number or the number is not finite as a float (a data file must never hand
// infinities or NaNs to the game).
bool readLeadingFloat(const char* text, float* value);

// A float truncated toward zero into the int range (saturated; NaN gives 0), for values that come from data
// files, whose size nothing bounds.
int truncToInt(float value);

// Spaces and tabs (only these) removed from both ends.
std::string trimBlanks(const std::string& text);

// One log line about damaged or missing game data: "Data file 'name': what."
void logDataProblem(const std::wstring& file, const std::wstring& what);

// The whole text file through the file manager (from the pack when its prefix is mounted, else loose), with
// a leading UTF-8 byte-order mark dropped. A missing file reads as an empty text; when required is set that
// is logged as a data problem.
std::string readGameTextFile(const std::wstring& path, bool required);

// Walks the lines of a headerless sheet (episodes, unlocks, sounds): each line, split at line feeds, loses
// its spaces and a carriage return left by CR LF ends; blank lines are passed over. The callback gets the
// line's number in the file (from 1) and the line.
void forEachSheetLine(const std::string& text,
                      const std::function<void(int lineNumber, const std::string& line)>& each);
