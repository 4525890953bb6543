#include "Core/Base/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string AllBytesFrom(int first)
{
    std::string bytes;
    for (int b = first; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

TEST(TextEncoding, BytesWidenSignedAndNarrowToTheLowByte)
{
    EXPECT_EQ(base::ToWide("\xE9", base::kEncodingBytes), std::wstring(1, static_cast<wchar_t>(0xFFE9)));
    EXPECT_EQ(base::ToWide("A\x80", base::kEncodingBytes),
              (std::wstring{L'A', static_cast<wchar_t>(0xFF80)}));
    EXPECT_EQ(base::ToNarrow(std::wstring(1, static_cast<wchar_t>(0xFFE9)), base::kEncodingBytes), "\xE9");
    const std::string all = AllBytesFrom(0);
    EXPECT_EQ(base::ToNarrow(base::ToWide(all, base::kEncodingBytes), base::kEncodingBytes), all);
}

TEST(TextEncoding, Utf8RoundTripsIncludingCharactersAboveTheBasicPlane)
{
    const std::string utf8 = "h\xC3\xA9llo \xE2\x82\xAC \xF0\x9F\x98\x80!";
    const std::wstring wide = base::ToWide(utf8, base::kEncodingUtf8);
    EXPECT_EQ(wide, (std::wstring{L'h', 0xE9, L'l', L'l', L'o', L' ', 0x20AC, L' ', 0x1F600, L'!'}));
    EXPECT_EQ(base::ToNarrow(wide, base::kEncodingUtf8), utf8);
    // A byte-order mark is ordinary text here, and NUL bytes are kept.
    EXPECT_EQ(base::ToWide(std::string("\xEF\xBB\xBF"
                                       "a\0b",
                                       6),
                           base::kEncodingUtf8),
              (std::wstring{0xFEFF, L'a', L'\0', L'b'}));
}

struct MalformedCase
{
    std::string input;
    std::wstring expected;
};

TEST(TextEncoding, MalformedUtf8BecomesReplacementCharactersInsteadOfFailing)
{
    const MalformedCase cases[] = {
        {"\xFF", L"\uFFFD"},
        {"a\xE2\x82", L"a\uFFFD"}, // truncated at the end
        {"\xE2\x82"
         "b",
         L"\uFFFD"
         "b"},                           // truncated before an ASCII byte
        {"\x80x", L"\uFFFDx"},           // lone continuation byte
        {"\xC0\xAF", L"\uFFFD"},         // overlong
        {"\xED\xA0\x80z", L"\uFFFDz"},   // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD"}, // above U+10FFFF
        {"ok\xC3\xA9\xFE", L"ok\u00E9\uFFFD"},
    };
    for (const MalformedCase& c : cases)
        EXPECT_EQ(base::ToWide(c.input, base::kEncodingUtf8), c.expected) << testing::PrintToString(c.input);
}

TEST(TextEncoding, InvalidWideCodePointsNarrowToReplacementAndPairsJoin)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(base::ToNarrow(std::wstring{L'a', 0xD800, L'b'}, base::kEncodingUtf8), "a" + replacement + "b");
    EXPECT_EQ(base::ToNarrow(std::wstring{0xDC00}, base::kEncodingUtf8), replacement);
    EXPECT_EQ(base::ToNarrow(std::wstring{static_cast<wchar_t>(0x110000)}, base::kEncodingUtf8), replacement);
    EXPECT_EQ(base::ToNarrow(std::wstring{static_cast<wchar_t>(-1)}, base::kEncodingUtf8), replacement);
    // Text that arrived as UTF-16 units keeps its character.
    EXPECT_EQ(base::ToNarrow(std::wstring{0xD83D, 0xDE00}, base::kEncodingUtf8), "\xF0\x9F\x98\x80");
}

TEST(TextEncoding, AnsiIsWindows1252AndEndsAtWhatItCannotRepresent)
{
    EXPECT_EQ(base::ToWide("caf\xE9 \x80", base::kEncodingAnsi), L"caf\u00E9 \u20AC");
    EXPECT_EQ(base::ToNarrow(L"caf\u00E9 \u20AC", base::kEncodingAnsi), "caf\xE9 \x80");
    EXPECT_EQ(base::ToNarrow(L"data/\u0100x.psd", base::kEncodingAnsi), "data/");
    EXPECT_EQ(base::ToNarrow(L"a\U0001F600b", base::kEncodingAnsi), "a");
    EXPECT_EQ(base::ToWide(std::string("ab\0cd", 5), base::kEncodingAnsi), L"ab");
    const std::string bytes = AllBytesFrom(1);
    EXPECT_EQ(base::ToNarrow(base::ToWide(bytes, base::kEncodingAnsi), base::kEncodingAnsi), bytes);
}

TEST(TextEncoding, OemIsCodePage437AndWritesQuestionMarks)
{
    EXPECT_EQ(base::ToWide("\x82\xB0\xE1", base::kEncodingOem), L"\u00E9\u2591\u00DF");
    EXPECT_EQ(base::ToNarrow(L"\u00E9\u2591\u00DF", base::kEncodingOem), "\x82\xB0\xE1");
    EXPECT_EQ(base::ToNarrow(L"a\u20ACb", base::kEncodingOem), "a?b");
    EXPECT_EQ(base::ToNarrow(std::wstring(L"a\0b", 3), base::kEncodingOem), "a");
    const std::string bytes = AllBytesFrom(1);
    EXPECT_EQ(base::ToNarrow(base::ToWide(bytes, base::kEncodingOem), base::kEncodingOem), bytes);
}

TEST(TextEncoding, UnknownEncodingGivesEmptyText)
{
    for (int encoding : {-1, 4, 65001})
    {
        EXPECT_EQ(base::ToWide("abc", encoding), L"");
        EXPECT_EQ(base::ToNarrow(L"abc", encoding), "");
    }
}

TEST(TextEncoding, ExplicitUtf16UsesSurrogatePairs)
{
    const std::wstring wide{L'a', 0xE9, 0x1F600};
    const std::u16string utf16 = base::ToUtf16(wide);
    EXPECT_EQ(utf16, (std::u16string{u'a', 0xE9, 0xD83D, 0xDE00}));
    EXPECT_EQ(base::FromUtf16(utf16), wide);
    EXPECT_EQ(base::FromUtf16(std::u16string{0xDE00, u'x'}), (std::wstring{0xFFFD, L'x'}));
    // Code unit order differs from code point order above the basic plane.
    EXPECT_LT(base::ToUtf16(std::wstring{0x1F600}), base::ToUtf16(std::wstring{0xFF01}));
}

} // namespace
