#pragma once
// Writes the generated files below one root folder and remembers what failed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace demodata
{

using Bytes = std::vector<std::uint8_t>;

class Output
{
public:
    explicit Output(std::string root);

    // Writes a file at a '/'-separated path below the root, creating its folders.
    void Write(std::string_view path, const Bytes& bytes);
    void WriteText(std::string_view path, std::string_view text);

    // Records a failure of a generator step; the run then ends with a non-zero code.
    void Fail(std::string_view what);

    bool Ok() const { return mFailures.empty(); }
    const std::vector<std::string>& Failures() const { return mFailures; }
    std::size_t FileCount() const { return mFileCount; }

private:
    std::string mRoot;
    std::vector<std::string> mFailures;
    std::size_t mFileCount = 0;
};

// Little-endian byte writer used by the binary formats.
class ByteWriter
{
public:
    void U8(std::uint8_t v) { mBytes.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(v & 0xFF);
        U8(v >> 8);
    }
    void U32(std::uint32_t v)
    {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void F32(float v);
    void Raw(const void* data, std::size_t size);
    void Text(std::string_view s) { Raw(s.data(), s.size()); }
    // Big-endian forms, for the formats that need them.
    void BE16(std::uint16_t v)
    {
        U8(v >> 8);
        U8(v & 0xFF);
    }
    void BE32(std::uint32_t v)
    {
        BE16(v >> 16);
        BE16(v & 0xFFFF);
    }
    void PatchBE32(std::size_t at, std::uint32_t v);
    std::size_t Size() const { return mBytes.size(); }
    Bytes Take() { return std::move(mBytes); }

private:
    Bytes mBytes;
};

} // namespace demodata
