#include "Core/Base/TextEncoding.h"

#include "Core/Base/CodePages.h"

#include <utf8.h>

#include <cstdint>
#include <exception>
#include <iterator>

namespace base
{

namespace
{

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(std::uint32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Wide text may carry surrogate pairs (text built as UTF-16): pairs are joined, anything else that is not a
// valid code point becomes U+FFFD. Calls sink(code point) for each.
template <typename Sink>
void ForEachCodePoint(const std::wstring& text, Sink sink)
{
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i)
    {
        const std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1])))
        {
            const std::uint32_t low = static_cast<std::uint32_t>(text[i + 1]);
            sink(0x10000u + ((c - 0xD800u) << 10) + (low - 0xDC00u));
            ++i;
        }
        else if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c))
            sink(kReplacement);
        else
            sink(c);
    }
}

std::wstring Utf8ToWide(const std::string& text)
{
    // utfcpp's validating conversion throws on malformed input; repair such bytes first (U+FFFD) so the
    // decoding below only ever sees valid UTF-8.
    const std::string* source = &text;
    std::string repaired;
    if (utf8::find_invalid(text.begin(), text.end()) != text.end())
    {
        repaired.reserve(text.size() + 8);
        utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(repaired));
        source = &repaired;
    }
    std::wstring result;
    result.reserve(source->size());
    auto it = source->begin();
    const auto end = source->end();
    while (it != end)
        result.push_back(static_cast<wchar_t>(utf8::unchecked::next(it)));
    return result;
}

std::string WideToUtf8(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    auto out = std::back_inserter(result);
    ForEachCodePoint(text, [&out](std::uint32_t cp) { out = utf8::append(cp, out); });
    return result;
}

// Bytes of a code page widen up to the first NUL, as the system conversion's terminated buffer would.
std::wstring CodePageToWide(const std::string& text, const char16_t* upperHalf)
{
    std::wstring result;
    for (char byte : text)
    {
        const unsigned char b = static_cast<unsigned char>(byte);
        if (b == 0)
            break;
        result.push_back(static_cast<wchar_t>(b < 0x80 ? b : upperHalf[b - 0x80]));
    }
    return result;
}

// Returns 0 when the code page has no byte for c.
unsigned char CodePageByte(std::uint32_t c, const char16_t* upperHalf)
{
    if (c < 0x80)
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 128; ++i)
    {
        if (upperHalf[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

std::string WideToAnsi(const std::wstring& text)
{
    // What the code page cannot represent becomes NUL, so the text ends right before it.
    std::string result;
    bool ended = false;
    ForEachCodePoint(text,
                     [&](std::uint32_t cp)
                     {
                         if (ended)
                             return;
                         const unsigned char b = CodePageByte(cp, kWindows1252UpperHalf);
                         if (b == 0)
                             ended = true;
                         else
                             result.push_back(static_cast<char>(b));
                     });
    return result;
}

std::string WideToOem(const std::wstring& text)
{
    // The OEM conversion writes '?' for what it cannot represent; a NUL still ends the text.
    std::string result;
    bool ended = false;
    ForEachCodePoint(text,
                     [&](std::uint32_t cp)
                     {
                         if (ended)
                             return;
                         if (cp == 0)
                         {
                             ended = true;
                             return;
                         }
                         const unsigned char b = CodePageByte(cp, kCodePage437UpperHalf);
                         result.push_back(b == 0 ? '?' : static_cast<char>(b));
                     });
    return result;
}

} // namespace

std::wstring ToWide(const std::string& text, int encoding)
{
    try
    {
        switch (encoding)
        {
        case kEncodingBytes:
        {
            std::wstring result(text.size(), L'\0');
            for (std::size_t i = 0; i < text.size(); ++i)
            {
                // A byte read as signed, kept as a 16-bit code unit: 0xE9 gives U+FFE9.
                const auto widened = static_cast<std::uint16_t>(static_cast<signed char>(text[i]));
                result[i] = static_cast<wchar_t>(widened);
            }
            return result;
        }
        case kEncodingUtf8:
            return Utf8ToWide(text);
        case kEncodingAnsi:
            return CodePageToWide(text, kWindows1252UpperHalf);
        case kEncodingOem:
            return CodePageToWide(text, kCodePage437UpperHalf);
        default:
            return std::wstring();
        }
    }
    catch (const std::exception&)
    {
        return std::wstring();
    }
}

std::string ToNarrow(const std::wstring& text, int encoding)
{
    try
    {
        switch (encoding)
        {
        case kEncodingBytes:
        {
            std::string result(text.size(), '\0');
            for (std::size_t i = 0; i < text.size(); ++i)
                result[i] = static_cast<char>(static_cast<std::uint32_t>(text[i]) & 0xFFu);
            return result;
        }
        case kEncodingUtf8:
            return WideToUtf8(text);
        case kEncodingAnsi:
            return WideToAnsi(text);
        case kEncodingOem:
            return WideToOem(text);
        default:
            return std::string();
        }
    }
    catch (const std::exception&)
    {
        return std::string();
    }
}

std::u16string ToUtf16(const std::wstring& text)
{
    std::u16string result;
    result.reserve(text.size());
    ForEachCodePoint(text,
                     [&result](std::uint32_t cp)
                     {
                         if (cp >= 0x10000)
                         {
                             cp -= 0x10000;
                             result.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
                             result.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
                         }
                         else
                             result.push_back(static_cast<char16_t>(cp));
                     });
    return result;
}

std::wstring FromUtf16(const std::u16string& text)
{
    std::wstring units(text.begin(), text.end());
    std::wstring result;
    result.reserve(units.size());
    ForEachCodePoint(units, [&result](std::uint32_t cp) { result.push_back(static_cast<wchar_t>(cp)); });
    return result;
}

} // namespace base
