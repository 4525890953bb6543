#include "Core/Base/TextStream.h"

#include <gtest/gtest.h>

namespace
{

TEST(TextStream, MadeStreamWritesPlainDecimalIntoItsOwnText)
{
    for (const auto& [value, expected] :
         {std::pair{0, L"0"}, {1250, L"1250"}, {-7, L"-7"}, {100000, L"100000"}})
    {
        base::TextStream stream = base::MakeTextStream(0, 0);
        stream.WriteInt(value);
        EXPECT_EQ(stream.GetText(), expected);
    }
}

TEST(TextStream, FloatsInGeneralStyleWithPrecisionSix)
{
    const std::pair<float, const wchar_t*> cases[] = {
        {25.0f, L"25"}, {24.5f, L"24.5"}, {0.1f, L"0.1"}, {1.0f / 3.0f, L"0.333333"}, {-2.75f, L"-2.75"}};
    for (const auto& [value, expected] : cases)
    {
        base::TextStream stream = base::MakeTextStream(0, 0);
        stream.WriteFloat(value);
        EXPECT_EQ(stream.GetText(), expected);
    }
}

TEST(TextStream, WidthAndPrecisionOfMakeTextStream)
{
    base::TextStream stream = base::MakeTextStream(6, 2);
    stream.WriteFloat(3.14159f);
    stream.WriteChar(L'|');
    stream.WriteInt(42);
    EXPECT_EQ(stream.GetText(), L"   3.1|    42");
}

TEST(TextStream, WritesAccumulateAndSingleCharactersAppendAsIs)
{
    base::TextStream stream = base::MakeTextStream(0, 0);
    stream.WriteChar(L'+');
    stream.WriteInt(5);
    stream.WriteString(L" gems");
    stream.WriteUnsigned(3000000000u);
    EXPECT_EQ(stream.GetText(), L"+5 gems3000000000");
}

TEST(TextStream, CopyKeepsWritingIntoItsOwnText)
{
    base::TextStream original = base::MakeTextStream(0, 0);
    original.WriteInt(1);
    base::TextStream copy = original;
    copy.WriteInt(2);
    base::TextStream assigned = base::MakeTextStream(0, 0);
    assigned = original;
    assigned.WriteInt(3);
    EXPECT_EQ(original.GetText(), L"1");
    EXPECT_EQ(copy.GetText(), L"12");
    EXPECT_EQ(assigned.GetText(), L"13");
}

TEST(TextStream, NarrowInstanceAndRedirectedOutput)
{
    base::TextStreamA stream = base::MakeTextStream<char>(0, 0);
    std::string target = "x=";
    stream.SetOutput(&target);
    stream.SetRadix(base::TextStreamA::kHexadecimal);
    stream.SetAlternate(true);
    stream.SetUpperCase(true);
    stream.WriteInt(48879);
    EXPECT_EQ(target, "x=0XBEEF");
    EXPECT_EQ(stream.GetText(), "");
    stream.SetOutput(nullptr);
    stream.WriteInt(1);
    EXPECT_EQ(stream.GetText(), "0X1");
}

TEST(TextStream, CentredPaddingPutsTheSmallerHalfFirst)
{
    base::TextStream stream = base::MakeTextStream(7, 0);
    stream.SetAlignment(base::TextStream::kCentre);
    stream.WriteString(L"ab");
    EXPECT_EQ(stream.GetText(), L"  ab   ");
}

} // namespace
