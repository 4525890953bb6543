#include "Core/Base/FloatText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace base
{

namespace
{

// Collects the characters of one number; never writes beyond its capacity.
struct Scratch
{
    char* out;
    int count = 0;

    void Put(char c)
    {
        if (count < kFloatTextCapacity)
            out[count++] = c;
    }
    void Put(const char* text)
    {
        while (*text)
            Put(*text++);
    }
};

// 2^64 as a double: integer parts from here on do not fit the 64-bit conversion.
constexpr double kTwoPow64 = 18446744073709551616.0;

int EffectivePrecision(int precision)
{
    if (precision >= 1 && precision <= 6)
        return precision;
    if (precision == 0)
        return 6;
    return 7;
}

void PutUnsigned64(Scratch& s, std::uint64_t value)
{
    char reversed[24];
    int n = 0;
    do
    {
        reversed[n++] = static_cast<char>('0' + value % 10u);
        value /= 10u;
    } while (value != 0);
    while (n > 0)
        s.Put(reversed[--n]);
}

// Integer part of a non-negative r; beyond 2^64 the exact decimal value of the double is written.
void PutIntegerPart(Scratch& s, double r)
{
    if (r < kTwoPow64)
    {
        PutUnsigned64(s, static_cast<std::uint64_t>(r));
        return;
    }
    char text[kFloatTextCapacity];
    const int n = std::snprintf(text, sizeof(text), "%.0f", std::floor(r));
    for (int i = 0; i < n && i < kFloatTextCapacity - 1; ++i)
        s.Put(text[i]);
}

// P digits of the fraction of r, truncated: rounding comes only from the half unit added before.
void PutFraction(Scratch& s, double r, int precision)
{
    double f = r - std::floor(r);
    for (int i = 0; i < precision; ++i)
    {
        f *= 10.0;
        int digit = static_cast<int>(f);
        if (digit > 9)
            digit = 9;
        s.Put(static_cast<char>('0' + digit));
        f -= digit;
    }
}

void PutExponent(Scratch& s, int e, bool upperCase)
{
    s.Put(upperCase ? 'E' : 'e');
    s.Put(e < 0 ? '-' : '+');
    int magnitude = e < 0 ? -e : e;
    if (magnitude > 999)
        magnitude = 999;
    s.Put(static_cast<char>('0' + magnitude / 100));
    s.Put(static_cast<char>('0' + magnitude / 10 % 10));
    s.Put(static_cast<char>('0' + magnitude % 10));
}

// Decimal exponent of a > 0: log10 truncated toward zero, one less below 1.
int DecimalExponent(double a)
{
    const int t = static_cast<int>(std::log10(a));
    return a < 1.0 ? t - 1 : t;
}

void PutSign(Scratch& s, double v, const FloatTextOptions& options)
{
    if (v < 0.0)
        s.Put('-');
    else if (options.plusSign)
        s.Put('+');
    else if (options.spaceSign)
        s.Put(' ');
}

void WriteFixed(Scratch& s, double v, int precision, const FloatTextOptions& options)
{
    if (v == 0.0)
    {
        s.Put("0.");
        for (int i = 0; i < precision; ++i)
            s.Put('0');
        return;
    }
    PutSign(s, v, options);
    const double r = std::fabs(v) + 0.5 * std::pow(0.1, precision);
    PutIntegerPart(s, r);
    s.Put('.');
    PutFraction(s, r, precision);
}

void WriteScientific(Scratch& s, double v, int precision, const FloatTextOptions& options)
{
    if (v == 0.0)
    {
        s.Put("0.");
        for (int i = 0; i < precision; ++i)
            s.Put('0');
        s.Put("e+000");
        return;
    }
    PutSign(s, v, options);
    const double a = std::fabs(v);
    int e = DecimalExponent(a);
    const double m = a * std::pow(0.1, e);
    double r = m + 0.5 * std::pow(0.1, precision);
    if (r >= 10.0)
    {
        r /= 10.0;
        ++e;
    }
    PutIntegerPart(s, r);
    s.Put('.');
    PutFraction(s, r, precision);
    PutExponent(s, e, options.upperCase);
}

void WriteGeneral(Scratch& s, double v, int precision, const FloatTextOptions& options)
{
    if (precision < 1)
        precision = 1;
    if (v == 0.0)
    {
        s.Put('0');
        return;
    }
    PutSign(s, v, options);
    const double a = std::fabs(v);
    int e = DecimalExponent(a);
    const int h = precision - e;
    const double r = a + 5.0 * std::pow(0.1, h);
    const double scaled = r * std::pow(10.0, h - 1);
    std::uint64_t d = scaled < kTwoPow64 ? static_cast<std::uint64_t>(scaled) : UINT64_MAX;
    std::uint64_t limit = 1;
    for (int i = 0; i < precision; ++i)
        limit *= 10u;
    if (d >= limit)
    {
        // The rounding carried into a new leading digit.
        d /= 10u;
        ++e;
    }

    char digits[24];
    int k = 0;
    {
        char reversed[24];
        int n = 0;
        do
        {
            reversed[n++] = static_cast<char>('0' + d % 10u);
            d /= 10u;
        } while (d != 0);
        while (n > 0)
            digits[k++] = reversed[--n];
    }
    while (k > 1 && digits[k - 1] == '0')
        --k;

    if (e >= -4 && e < precision)
    {
        if (e < 0)
        {
            s.Put("0.");
            for (int i = 0; i < -e - 1; ++i)
                s.Put('0');
            for (int i = 0; i < k; ++i)
                s.Put(digits[i]);
        }
        else
        {
            for (int i = 0; i <= e; ++i)
                s.Put(i < k ? digits[i] : '0');
            if (k > e + 1)
            {
                s.Put('.');
                for (int i = e + 1; i < k; ++i)
                    s.Put(digits[i]);
            }
        }
        return;
    }
    s.Put(digits[0]);
    if (k > 1)
    {
        s.Put('.');
        for (int i = 1; i < k; ++i)
            s.Put(digits[i]);
    }
    PutExponent(s, e, options.upperCase);
}

} // namespace

int FormatFloatText(float value, const FloatTextOptions& options, char* out)
{
    Scratch s{out};
    const double v = static_cast<double>(value);
    if (std::isnan(v))
    {
        s.Put("NaN");
        return s.count;
    }
    if (std::isinf(v))
    {
        s.Put(std::signbit(v) ? "-INF" : "+INF");
        return s.count;
    }
    const int precision = EffectivePrecision(options.precision);
    switch (options.style)
    {
    case 1:
        WriteScientific(s, v, precision, options);
        break;
    case 2:
        WriteFixed(s, v, precision, options);
        break;
    default:
        WriteGeneral(s, v, precision, options);
        break;
    }
    return s.count;
}

} // namespace base
