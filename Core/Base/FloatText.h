#pragma once

namespace base
{

// Options of the float writer behind TextStream::WriteFloat.
struct FloatTextOptions
{
    // 1-6 as given, 0 means 6, 7 or more (or negative) means 7.
    int precision = 0;
    // 0 general, 1 scientific, 2 fixed.
    int style = 0;
    bool upperCase = false;
    bool plusSign = false;
    bool spaceSign = false;
};

inline constexpr int kFloatTextCapacity = 256;

// Writes value as ASCII into out (at least kFloatTextCapacity chars, not terminated); returns the length.
// Exponents have three digits; NaN and infinities give "NaN", "+INF" and "-INF".
int FormatFloatText(float value, const FloatTextOptions& options, char* out);

} // namespace base
