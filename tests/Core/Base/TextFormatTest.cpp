#include "Core/Base/TextFormat.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <variant>
#include <vector>

namespace
{

using Arg = std::variant<int, unsigned, float, std::wstring>;

struct FormatCase
{
    const wchar_t* format;
    std::vector<Arg> args;
    const wchar_t* expected;
};

std::wstring Formatted(const FormatCase& c)
{
    base::TextFormat format = base::Format(c.format);
    for (const Arg& arg : c.args)
        std::visit([&format](const auto& value) { format % value; }, arg);
    format.Finish();
    return format.GetResult();
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

// (format, arguments, expected text): the writers' width, fill, sign, radix, case, float styles and the
// directive grammar's handling of invalid characters.
const FormatCase kCases[] = {
    {L"a%db", {5}, L"a5b"},
    {L"%5d|%-5d|%=5d", {42, 42, 42}, L"   42|42   | 42  "},
    {L"%=6d|", {1}, L"  1   |"},
    {L"%05d", {-42}, L"-0042"},
    {L"%+05d", {42}, L"+0042"},
    {L"%#06x", {255}, L"0x00ff"},
    {L"%#06X", {255}, L"0X00FF"},
    {L"% 05d", {42}, L"00 42"},
    {L"% d", {42}, L" 42"},
    {L"%-05d|", {7}, L"00007|"},
    {L"%x", {-1}, L"ffffffff"},
    {L"%X", {0xABCDEF}, L"ABCDEF"},
    {L"%b", {5}, L"101"},
    {L"%b", {-1}, L"11111111111111111111111111111111"},
    {L"%b", {0}, L"0"},
    {L"%#o", {8}, L"010"},
    {L"%#o", {0}, L"00"},
    {L"%o", {-1}, L"37777777777"},
    {L"%#x", {0}, L"0x0"},
    {L"%#05x", {0}, L"0x000"},
    {L"%+x", {255}, L"ff"},
    {L"%+d", {0}, L"+0"},
    {L"%d", {INT_MIN}, L"-2147483648"},
    {L"%d", {INT_MAX}, L"2147483647"},
    {L"%3d", {12345}, L"12345"},
    {L"%u", {4294967295u}, L"4294967295"},
    {L"%+u", {5u}, L"5"},
    {L"%05u", {42u}, L"00042"},
    {L"%x", {255u}, L"ff"},
    {L"%hd %ld %lld %Lf", {1, 2, 3, 4.0f}, L"1 2 3 4.000000"},
    // Fixed style: half unit added to the float's exact value, fraction digits truncated.
    {L"%f", {1.5f}, L"1.500000"},
    {L"%.2f", {2.345f}, L"2.35"},
    {L"%.0f", {1.5f}, L"1.500000"},
    {L"%.9f", {1.5f}, L"1.5000000"},
    {L"%.7f", {0.25f}, L"0.2500000"},
    {L"%f", {-1.25f}, L"-1.250000"},
    {L"%f", {-0.0f}, L"0.000000"},
    {L"%f", {0.0f}, L"0.000000"},
    {L"%.1f", {0.05f}, L"0.1"},
    {L"%.3f", {0.125f}, L"0.125"},
    {L"%.2f", {0.125f}, L"0.13"},
    {L"%+.1f", {2.0f}, L"+2.0"},
    {L"% .1f", {2.0f}, L" 2.0"},
    {L"%08.3f", {3.14159f}, L"   3.142"},
    {L"%-8.1f|", {3.0f}, L"3.0     |"},
    {L"%.2f", {1e20f}, L"100000002004087734272.00"},
    {L"%.1f", {FLT_MAX}, L"340282346638528859811704183484516925440.0"},
    // Scientific style: three exponent digits.
    {L"%e", {1234.5f}, L"1.234500e+003"},
    {L"%E", {0.5f}, L"5.000000E-001"},
    {L"%e", {0.0f}, L"0.000000e+000"},
    {L"%e", {-1.0f}, L"-1.000000e+000"},
    {L"%.2e", {9.999f}, L"1.00e+001"},
    {L"%.3e", {1e-10f}, L"1.000e-010"},
    {L"%e", {1.401298464e-45f}, L"1.401298e-045"},
    {L"%+.1e", {250.0f}, L"+2.5e+002"},
    // General style: P significant digits, trailing zeros dropped.
    {L"%g", {0.5f}, L"0.5"},
    {L"%g", {100.0f}, L"100"},
    {L"%g", {1234567.0f}, L"1.23457e+006"},
    {L"%g", {123456.0f}, L"123456"},
    {L"%g", {0.0001234f}, L"0.0001234"},
    {L"%g", {0.0000123f}, L"1.23e-005"},
    {L"%g", {0.0f}, L"0"},
    {L"%g", {0.01f}, L"0.01"},
    {L"%g", {9.9999995f}, L"10"},
    {L"%g", {25.0f}, L"25"},
    {L"%g", {24.5f}, L"24.5"},
    {L"%g", {-0.5f}, L"-0.5"},
    {L"%+g", {2.0f}, L"+2"},
    {L"%G", {1e-10f}, L"1E-010"},
    {L"%g", {1e10f}, L"1e+010"},
    {L"%.3g", {3.14159f}, L"3.14"},
    {L"%.1g", {0.96f}, L"1"},
    {L"%8g|", {1.5f}, L"     1.5|"},
    {L"%d", {24.5f}, L"24.5"},
    {L"%x", {0.5f}, L"0.5"},
    // NaN and infinities are padded like text.
    {L"%f", {kNaN}, L"NaN"},
    {L"%6e", {kInf}, L"  +INF"},
    {L"%-6g|", {-kInf}, L"-INF  |"},
    // The argument's type picks the writer.
    {L"%s", {7}, L"7"},
    {L"%s!", {std::wstring(L"hi")}, L"hi!"},
    {L"%5s|%-5s|%=5s", {std::wstring(L"ab"), std::wstring(L"ab"), std::wstring(L"ab")}, L"   ab|ab   | ab  "},
    {L"%5.2s", {std::wstring(L"abcdef")}, L"abcdef"},
    {L"%05s", {std::wstring(L"ab")}, L"   ab"},
    // Grammar: invalid characters are literal text, an abandoned directive's direct flags carry over.
    {L"100%%", {}, L"100%"},
    {L"%y", {}, L"y"},
    {L"50%", {}, L"50%"},
    {L"ab%5", {}, L"ab5"},
    {L"ab%-", {}, L"ab-"},
    {L"a %d b %d c", {1}, L"a 1 b  c"},
    {L"a %d b %d c", {1, 2, 3}, L"a 1 b 2 c"},
    {L"%-y%5d", {7}, L"y7    "},
    {L"%5-d", {3}, L"-d"},
    {L"%..2f", {1.0f}, L".2f"},
    {L"%l5d", {1}, L"5d"},
    {L"%*d", {1}, L"*d"},
    {L"%5y%d", {1}, L"y1"},
    {L"%#y%x", {255}, L"yff"},
    {L"no directives", {1, 2}, L"no directives"},
    {L"", {1}, L""},
    {L"%\u00e9d", {1}, L"\u00e9d"},
};

TEST(TextFormat, TableOfFormatsArgumentsAndTexts)
{
    for (const FormatCase& c : kCases)
        EXPECT_EQ(Formatted(c), c.expected) << "format: " << testing::PrintToString(std::wstring(c.format));
}

TEST(TextFormat, LiteralTextBeforeFirstDirectiveIsWrittenAtOnce)
{
    base::TextFormat format = base::Format(std::wstring(L"tower%dshot"));
    EXPECT_EQ(format.GetResult(), L"tower");
    EXPECT_FALSE(format.IsComplete());
    format % 3;
    EXPECT_TRUE(format.IsComplete());
    const std::wstring text = format;
    EXPECT_EQ(text, L"tower3shot");
    format % 4;
    EXPECT_EQ(format.GetResult(), L"tower3shot");
}

TEST(TextFormat, FinishDropsTheUnfedDirectiveAndCopiesTheRestUnchanged)
{
    base::TextFormat format = base::Format(L"%d%% of %s, 100%");
    format % 5;
    EXPECT_EQ(format.GetResult(), L"5% of ");
    format.Finish();
    EXPECT_EQ(format.GetResult(), L"5% of , 100%");
    EXPECT_TRUE(format.IsComplete());
    format % std::wstring(L"late");
    EXPECT_EQ(format.GetResult(), L"5% of , 100%");
}

TEST(TextFormat, NullStringCountsAsEmpty)
{
    const wchar_t* nothing = nullptr;
    EXPECT_EQ((base::Format(L"[%3s]") % nothing).GetResult(), L"[   ]");
}

TEST(TextFormat, CopyWritesIntoItsOwnResult)
{
    base::TextFormat original = base::Format(L"%d-%d");
    original % 1;
    base::TextFormat copy = original;
    copy % 2;
    original % 9;
    EXPECT_EQ(copy.GetResult(), L"1-2");
    EXPECT_EQ(original.GetResult(), L"1-9");
}

TEST(TextFormat, NarrowInstanceTreatsHighBytesAsInvalid)
{
    EXPECT_EQ((base::Format("level_%02d_%02d.cache") % 3 % 12).GetResult(), "level_03_12.cache");
    EXPECT_EQ((base::Format("%\xE9%d") % 1).GetResult(), "\xE9"
                                                         "1");
    EXPECT_EQ((base::Format(std::string("\xC3\xA9=%s")) % "x").GetResult(), "\xC3\xA9=x");
}

TEST(TextFormat, HugeWidthFromDataIsClamped)
{
    // Formats come from data files: a run of digits must neither overflow nor exhaust memory.
    const std::wstring text = (base::Format(L"%99999999999999999999d") % 1).GetResult();
    ASSERT_EQ(text.size(), static_cast<std::size_t>(base::kMaxFieldWidth));
    EXPECT_EQ(text.back(), L'1');
    EXPECT_EQ((base::Format(L"%.99999999999999f") % 1.5f).GetResult(), L"1.5000000");
}

// Printf's text of a double with the exponent widened to three digits, as the writers print it.
std::string PrintfText(char style, int precision, float value)
{
    char buffer[128];
    const char format[] = {'%', '.', '*', style, '\0'};
    std::snprintf(buffer, sizeof(buffer), format, precision, static_cast<double>(value));
    std::string text(buffer);
    const std::size_t e = text.find('e');
    if (e != std::string::npos)
    {
        std::string digits = text.substr(e + 2);
        while (digits.size() < 3)
            digits.insert(0, "0");
        text = text.substr(0, e + 2) + digits;
    }
    return text;
}

// Away from exact ties, every style rounds like a correctly rounding printf (ties round up here).
TEST(TextFormat, FloatStylesAgreeWithCorrectRoundingAwayFromTies)
{
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> exponent(-12.0f, 12.0f);
    for (const char style : {'f', 'e', 'g'})
    {
        int compared = 0;
        for (int i = 0; i < 3000; ++i)
        {
            const float magnitude =
                std::pow(10.0f, style == 'f' ? exponent(random) / 3.0f : exponent(random));
            const float value = (i & 1) ? -magnitude : magnitude;
            const int precision = 1 + i % (style == 'f' ? 6 : 7);
            // The digits just beyond the printed ones; skip values within rounding noise of a tie.
            char exact[128];
            const int kept = style == 'f' ? precision : (style == 'e' ? precision : precision - 1);
            std::snprintf(exact, sizeof(exact), style == 'f' ? "%.*f" : "%.*e", kept + 10,
                          static_cast<double>(value));
            const std::string digits(exact);
            const std::size_t cut = style == 'f' ? digits.find('.') + 1 + kept : digits.find('e') - 10;
            const std::string tail = digits.substr(cut, 6);
            if (tail == "500000" || tail == "499999" || tail == "999999" || tail == "000000")
                continue;
            const std::string expected = PrintfText(style, precision, value);
            const std::wstring format = L"%." + std::to_wstring(precision) + std::wstring(1, style);
            const std::wstring got = (base::Format(format) % value).GetResult();
            ASSERT_EQ(std::string(got.begin(), got.end()), expected) << exact;
            ++compared;
        }
        EXPECT_GT(compared, 2500) << style;
    }
}

} // namespace
