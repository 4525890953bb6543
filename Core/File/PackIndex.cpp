#include "Core/File/PackIndex.h"

#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"

#include <cstring>
#include <vector>

namespace file
{
namespace
{
constexpr std::uint32_t kMagicLength = 6;
// Smallest entry on disk: name length, an empty name, size, offset, flag, reserved.
constexpr std::uint64_t kMinEntryBytes = 4 + 13;

bool ReadExact(base::Stream* stream, void* data, unsigned n)
{
    return n == 0 || stream->Read(data, n) == n;
}

bool WriteExact(base::Stream* stream, const void* data, unsigned n)
{
    return n == 0 || stream->Write(data, n) == n;
}

bool ReadU32(base::Stream* stream, std::uint32_t& value)
{
    unsigned char b[4];
    if (!ReadExact(stream, b, 4))
        return false;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
    return true;
}

bool WriteU32(base::Stream* stream, std::uint32_t value)
{
    const unsigned char b[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value >> 16),
                                static_cast<unsigned char>(value >> 24)};
    return WriteExact(stream, b, 4);
}

// Bytes between the stream's position and its end.
std::uint64_t Remaining(base::Stream* stream)
{
    const std::uint32_t size = stream->Size();
    const std::uint32_t pos = stream->Seek(0, 1);
    return pos < size ? size - pos : 0;
}

VNResultEnum Fail(std::wstring* why, const wchar_t* text)
{
    if (why)
        *why = text;
    return VN_FAIL;
}
} // namespace

VNResultEnum PackEntry::Read(base::Stream* stream)
{
    unsigned char b[13];
    if (!ReadExact(stream, b, sizeof b))
        return VN_FAIL;
    auto u32 = [&](int at)
    { return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24); };
    size = u32(0);
    offset = u32(4);
    flag = b[8];
    reserved = u32(9);
    return VN_OK;
}

VNResultEnum PackEntry::Write(base::Stream* stream) const
{
    if (!WriteU32(stream, size) || !WriteU32(stream, offset) || !WriteExact(stream, &flag, 1) ||
        !WriteU32(stream, reserved))
        return VN_FAIL;
    return VN_OK;
}

VNResultEnum ReadWideString(base::Stream* stream, std::wstring& text)
{
    std::uint32_t n = 0;
    if (!ReadU32(stream, n))
        return VN_FAIL;
    // Checked before anything is reserved: a damaged length must not turn into a huge allocation.
    if (std::uint64_t(n) * 2 > Remaining(stream))
        return VN_FAIL;
    std::vector<unsigned char> bytes(std::size_t(n) * 2);
    if (!ReadExact(stream, bytes.data(), static_cast<unsigned>(bytes.size())))
        return VN_FAIL;
    std::u16string units(n, u'\0');
    for (std::uint32_t i = 0; i < n; ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    text = base::FromUtf16(units);
    return VN_OK;
}

VNResultEnum WriteWideString(base::Stream* stream, const std::wstring& text)
{
    const std::u16string units = base::ToUtf16(text);
    std::vector<unsigned char> bytes(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i)
    {
        bytes[2 * i] = static_cast<unsigned char>(units[i]);
        bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    if (units.size() > 0xFFFFFFFFu / 2 || !WriteU32(stream, static_cast<std::uint32_t>(units.size())) ||
        !WriteExact(stream, bytes.data(), static_cast<unsigned>(bytes.size())))
        return VN_FAIL;
    return VN_OK;
}

VNResultEnum PackIndex::Read(base::Stream* stream, std::wstring* why)
{
    clear();
    if (!stream)
        return Fail(why, L"no stream");
    const std::uint64_t fileSize = stream->Size();

    std::uint32_t magicLength = 0;
    char magic[kMagicLength];
    if (!ReadU32(stream, magicLength) || magicLength != kMagicLength ||
        !ReadExact(stream, magic, kMagicLength) || std::memcmp(magic, kPackMagic, kMagicLength) != 0)
        return Fail(why, L"not a pack (bad magic)");

    std::uint32_t count = 0;
    if (!ReadU32(stream, count))
        return Fail(why, L"index cut short");
    if (count > Remaining(stream) / kMinEntryBytes)
        return Fail(why, L"entry count larger than the file can hold");

    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::wstring name;
        PackEntry entry;
        if (ReadWideString(stream, name) != VN_OK || entry.Read(stream) != VN_OK)
        {
            clear();
            return Fail(why, L"index cut short or name length beyond the file");
        }
        if (std::uint64_t(entry.offset) + entry.size > fileSize)
        {
            clear();
            return Fail(why, L"entry data lies beyond the end of the file");
        }
        // A repeated name keeps its first entry.
        emplace(std::move(name), entry);
    }
    return VN_OK;
}

VNResultEnum PackIndex::Write(base::Stream* stream) const
{
    if (!stream || !WriteU32(stream, kMagicLength) || !WriteExact(stream, kPackMagic, kMagicLength) ||
        size() > 0xFFFFFFFFu || !WriteU32(stream, static_cast<std::uint32_t>(size())))
        return VN_FAIL;
    for (const auto& [name, entry] : *this)
    {
        if (WriteWideString(stream, name) != VN_OK || entry.Write(stream) != VN_OK)
            return VN_FAIL;
    }
    return VN_OK;
}

std::uint64_t PackIndex::GetHeaderSize() const
{
    std::uint64_t total = kMagicLength + 8;
    for (const auto& [name, entry] : *this)
        total += 2 * base::ToUtf16(name).size() + 4 + 13;
    return total;
}
} // namespace file
