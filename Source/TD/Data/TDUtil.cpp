#include "Source/TD/Data/TDUtil.h"

#include "Core/Base/StringUtils.h"

#include "Core/Base/Log.h"
#include "Core/Base/MathUtil.h"
#include "Core/File/FileManager.h"
#include "Core/File/ReadFile.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

float pointDistance(float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    return std::sqrt(dy * dy + dx * dx);
}

float clampNonNegative(float v)
{
    return v < 0.0f ? 0.0f : v;
}

float minOf(float a, float b)
{
    return a > b ? b : a;
}

float wrapAngleMinus90(float degrees)
{
    return degrees >= 90.0f ? degrees - 90.0f : degrees + 270.0f;
}

math::Point2 randomPointInRing(float centreX, float centreY, float outerRadius, float innerRadius)
{
    const float angle = math::Random() * 360.0f * 3.1415927f / 180.0f;
    const float radius = math::Random() * (outerRadius - innerRadius) + innerRadius;
    return math::Point2(centreX + std::cos(angle) * radius, centreY + std::sin(angle) * radius);
}

int clampIndex(int index, int count)
{
    if (count <= 0 || index < 0)
        return 0;
    return index < count ? index : count - 1;
}

int randomIndex(int count, unsigned seed)
{
    if (count <= 0)
        return 0;
    const float r = math::Random(seed);
    // In float a product close to count may round up to it.
    return clampIndex(static_cast<int>(r * static_cast<float>(count)), count);
}

namespace
{
const char* skipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    return p;
}
} // namespace

bool readLeadingInt(const char* text, int* value)
{
    if (!text)
        return false;
    const char* p = skipBlanks(text);
    bool negative = false;
    if (*p == '+' || *p == '-')
    {
        negative = *p == '-';
        ++p;
    }
    if (*p < '0' || *p > '9')
        return false;
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (*p - '0');
    }
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        signedValue = INT_MAX;
    if (signedValue < INT_MIN)
        signedValue = INT_MIN;
    *value = static_cast<int>(signedValue);
    return true;
}

int leadingInt(const char* text)
{
    int value = 0;
    readLeadingInt(text, &value);
    return value;
}

bool readLeadingFloat(const char* text, float* value)
{
    if (!text)
        return false;
    const char* p = skipBlanks(text);
    if (*p == '+')
    {
        ++p;
        if (*p == '-')
            return false;
    }
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(p, p + std::strlen(p), parsed, std::chars_format::general);
    if (error != std::errc() || end == p)
        return false;
    const float narrowed = static_cast<float>(parsed);
    if (!std::isfinite(parsed) || !std::isfinite(narrowed))
        return false;
    *value = narrowed;
    return true;
}

int truncToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(value);
}

std::string trimBlanks(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}

void forEachSheetLine(const std::string& text,
                      const std::function<void(int lineNumber, const std::string& line)>& each)
{
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;

        std::string line;
        base::RemoveChar(raw, ' ', line);
        // A carriage return left by CR LF line ends belongs to no field.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!trimBlanks(line).empty())
            each(lineNumber, line);
    }
}

void logDataProblem(const std::wstring& file, const std::wstring& what)
{
    base::LogMessage(*base::MainLog::Instance(), L"Data file '%s': %s.\n") % file % what;
}

std::string readGameTextFile(const std::wstring& path, bool required)
{
    std::string text = base::ReadTextFile(path);
    if (text.empty() && required && !file::FileManager::Instance()->Exists(path))
        logDataProblem(path, L"missing");
    return text;
}
