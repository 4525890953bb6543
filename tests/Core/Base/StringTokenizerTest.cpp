#include "Core/Base/StringTokenizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

template <typename StringT>
std::vector<StringT> AllTokens(const StringT& text, typename StringT::value_type delimiter, bool skipEmpty)
{
    base::StringTokenizer<StringT> tokenizer(text, delimiter, skipEmpty);
    std::vector<StringT> tokens;
    StringT token;
    while (tokenizer.Next(&token))
        tokens.push_back(token);
    return tokens;
}

struct SplitCase
{
    std::string text;
    bool skipEmpty;
    std::vector<std::string> tokens;
    int count;
};

TEST(StringTokenizer, SplitsTrimsAndSkipsByTheRules)
{
    const SplitCase cases[] = {
        {"", false, {""}, 1},
        {"", true, {}, 0},
        {" \t ", false, {""}, 1},
        {"a;;b", false, {"a", "", "b"}, 3},
        {"a;;b", true, {"a", "b"}, 2},
        {"a;", false, {"a", ""}, 2},
        {"a;", true, {"a"}, 1},
        {";a", true, {"a"}, 1},
        {"a; ;\t;", true, {"a"}, 1},
        {" a ; b c \t", false, {"a", "b c"}, 2},
        {"x;12\r", false, {"x", "12\r"}, 2},
        {"one", false, {"one"}, 1},
    };
    for (const SplitCase& c : cases)
    {
        EXPECT_EQ(AllTokens(c.text, ';', c.skipEmpty), c.tokens) << testing::PrintToString(c.text);
        base::StringTokenizer tokenizer(c.text, ';', c.skipEmpty);
        EXPECT_EQ(tokenizer.CountTokens(), c.count) << testing::PrintToString(c.text);
    }
}

TEST(StringTokenizer, CountDoesNotDependOnTokensTaken)
{
    for (bool skipEmpty : {false, true})
    {
        base::StringTokenizer tokenizer("a;;b", ';', skipEmpty);
        EXPECT_TRUE(tokenizer.Next(nullptr));
        EXPECT_EQ(tokenizer.CountTokens(), skipEmpty ? 2 : 3);
        std::string token;
        ASSERT_TRUE(tokenizer.Next(&token));
        EXPECT_EQ(token, skipEmpty ? "b" : "");
    }
}

TEST(StringTokenizer, NextAfterTheLastTokenLeavesTheTokenAlone)
{
    base::StringTokenizer tokenizer("a", ';', false);
    std::string token;
    ASSERT_TRUE(tokenizer.Next(token));
    token = "kept";
    EXPECT_FALSE(tokenizer.Next(token));
    EXPECT_EQ(token, "kept");
}

TEST(StringTokenizer, ReadsNumbersLikeAtoiAndAtof)
{
    base::StringTokenizer tokenizer("12\r; -3 ;2.5;abc", ';', false);
    int a = 0, b = 0, d = 7, after = 99;
    float c = 0.0f;
    tokenizer >> a >> b >> c >> d >> after;
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, -3);
    EXPECT_FLOAT_EQ(c, 2.5f);
    EXPECT_EQ(d, 0);
    EXPECT_EQ(after, 99);
    float untouched = 1.5f;
    tokenizer >> untouched;
    EXPECT_EQ(untouched, 1.5f);

    // Numbers too long for an int saturate instead of overflowing.
    base::StringTokenizer big("99999999999999999999;-99999999999;+42x", ';', false);
    int high = 0, low = 0, plus = 0;
    big >> high >> low >> plus;
    EXPECT_EQ(high, INT_MAX);
    EXPECT_EQ(low, INT_MIN);
    EXPECT_EQ(plus, 42);
}

TEST(StringTokenizer, WideVariantFollowsTheSameRules)
{
    EXPECT_EQ(AllTokens(std::wstring(L" x , ,y\u00E9 "), L',', true),
              (std::vector<std::wstring>{L"x", L"y\u00E9"}));
    EXPECT_EQ(AllTokens(std::wstring(L"a,,b"), L',', false), (std::vector<std::wstring>{L"a", L"", L"b"}));
    base::WideStringTokenizer tokenizer(L"4, 5.5", L',', false);
    int i = 0;
    float f = 0.0f;
    tokenizer >> i >> f;
    EXPECT_EQ(i, 4);
    EXPECT_FLOAT_EQ(f, 5.5f);
}

TEST(StringTokenizer, NamedByCharacterTypeOrStringType)
{
    base::StringTokenizer<char> narrow(std::string("a;b"), ';', false);
    base::StringTokenizer<wchar_t> wide(std::wstring(L"a;b;c"), L';', false);
    EXPECT_EQ(narrow.CountTokens(), 2);
    EXPECT_EQ(wide.CountTokens(), 3);
    int n = 0;
    narrow >> n;
    EXPECT_EQ(n, 0);
}

TEST(StringTokenizer, TrimRemovesOnlySpacesAndTabs)
{
    std::string text = " \t a b\r\t ";
    base::StringTokenizer<>::Trim(text);
    EXPECT_EQ(text, "a b\r");
    std::string blank = "\t \t";
    base::StringTokenizer<>::Trim(blank);
    EXPECT_EQ(blank, "");
}

} // namespace
