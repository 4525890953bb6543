#include "Core/File/PackIndex.h"

#include "Core/Base/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
// Little-endian pack bytes, built field by field.
struct PackBytes
{
    std::string bytes;

    PackBytes& U32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>(v >> (8 * i)));
        return *this;
    }
    PackBytes& Raw(const std::string& s)
    {
        bytes += s;
        return *this;
    }
    PackBytes& Name(const std::u16string& name)
    {
        U32(static_cast<std::uint32_t>(name.size()));
        for (char16_t c : name)
        {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        return *this;
    }
    PackBytes& Entry(std::uint32_t size, std::uint32_t offset)
    {
        U32(size).U32(offset);
        bytes.push_back('\0');
        return U32(0);
    }
    PackBytes& Header(std::uint32_t count) { return U32(6).Raw("vnpack").U32(count); }
};

// The two-file pack of the format's reference example: a.png (3 bytes) and ui/b.png (5 bytes).
std::string GoldenPack()
{
    return PackBytes()
        .Header(2)
        .Name(u"a.png")
        .Entry(3, 74)
        .Name(u"ui/b.png")
        .Entry(5, 77)
        .Raw("abcdefgh")
        .bytes;
}

VNResultEnum ReadIndex(const std::string& bytes, file::PackIndex& index, std::wstring* why = nullptr)
{
    base::MemoryStream stream(bytes.data(), static_cast<unsigned>(bytes.size()));
    return index.Read(&stream, why);
}

TEST(PackIndex, GoldenPackReadsAndWritesBackByteForByte)
{
    const std::string golden = GoldenPack();
    ASSERT_EQ(golden.size(), 82u);
    file::PackIndex index;
    ASSERT_EQ(ReadIndex(golden, index), VN_OK);
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index.GetHeaderSize(), 74u);
    EXPECT_EQ(index.at(L"a.png").offset, 74u);
    EXPECT_EQ(index.at(L"ui/b.png").size, 5u);

    base::MemoryStream out;
    ASSERT_EQ(index.Write(&out), VN_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.GetData()), out.Size()), golden.substr(0, 74));
}

TEST(PackIndex, DamagedIndexesAreRefusedWhole)
{
    const std::string golden = GoldenPack();
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"magic length 7", PackBytes().U32(7).Raw("vnpackx").U32(0).bytes},
        {"magic length huge", PackBytes().U32(0xFFFFFFF0u).Raw("vnpack").bytes},
        {"wrong magic", PackBytes().U32(6).Raw("vnpacc").U32(0).bytes},
        {"count missing", PackBytes().U32(6).Raw("vnpack").bytes},
        {"truncated index", golden.substr(0, 50)},
        {"truncated inside the first name", golden.substr(0, 20)},
        {"count too large", PackBytes().Header(0xFFFFFFFFu).Name(u"a").Entry(0, 14).bytes},
        {"count one more than present", PackBytes()
                                            .Header(3)
                                            .Name(u"a.png")
                                            .Entry(3, 74)
                                            .Name(u"ui/b.png")
                                            .Entry(5, 77)
                                            .Raw("abcdefgh")
                                            .bytes},
        {"name length huge", PackBytes().Header(1).U32(0x7FFFFFFFu).Raw("a\0").Entry(0, 0).bytes},
        {"name length beyond the file", PackBytes().Header(1).U32(40).Raw(std::string(20, 'x')).bytes},
        {"offset past end", PackBytes().Header(1).Name(u"a").Entry(1, 1000).Raw("z").bytes},
        {"size past end", PackBytes().Header(1).Name(u"a").Entry(100, 33).Raw("z").bytes},
        {"offset plus size wraps 32 bits",
         PackBytes().Header(1).Name(u"a").Entry(0xFFFFFFF0u, 0x20).Raw("z").bytes},
        {"second entry past end",
         PackBytes().Header(2).Name(u"a").Entry(1, 50).Name(u"b").Entry(1, 53).Raw("z").bytes},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        file::PackIndex index;
        std::wstring why;
        EXPECT_EQ(ReadIndex(c.bytes, index, &why), VN_FAIL);
        EXPECT_TRUE(index.empty()) << "a refused pack serves nothing";
        EXPECT_FALSE(why.empty());
    }
}

TEST(PackIndex, NamesSortByUtf16CodeUnits)
{
    file::PackIndex index;
    for (const wchar_t* name : {L"a/b.png", L"a.png", L"A.png", L"b", L"\U00010000", L"\uFFFD", L"a"})
        index.emplace(name, file::PackEntry());
    std::vector<std::wstring> order;
    for (const auto& [name, entry] : index)
        order.push_back(name);
    // '.' (0x2E) before '/' (0x2F), upper case first, a prefix first, and a surrogate pair (0xD800..) before
    // U+FFFD.
    const std::vector<std::wstring> expected = {L"A.png", L"a",          L"a.png", L"a/b.png",
                                                L"b",     L"\U00010000", L"\uFFFD"};
    EXPECT_EQ(order, expected);
}

TEST(PackIndex, RepeatedNameKeepsTheFirstEntryAndNonAsciiNamesRoundTrip)
{
    const std::string bytes = PackBytes()
                                  .Header(3)
                                  .Name(u"x")
                                  .Entry(1, 59)
                                  .Name(u"x")
                                  .Entry(1, 60)
                                  .Name(u"\u00E9t\u00E9/\U0001F600")
                                  .Entry(0, 61)
                                  .Raw("12")
                                  .bytes;
    file::PackIndex index;
    ASSERT_EQ(ReadIndex(bytes, index), VN_OK);
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index.at(L"x").offset, 59u);
    ASSERT_EQ(index.count(L"\u00E9t\u00E9/\U0001F600"), 1u);

    base::MemoryStream out;
    ASSERT_EQ(file::WriteWideString(&out, L"\U0001F600"), VN_OK);
    EXPECT_EQ(out.Size(), 4u + 4u) << "one supplementary character is two UTF-16 units";
}
} // namespace
