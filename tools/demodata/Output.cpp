#include "tools/demodata/Output.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace demodata
{

Output::Output(std::string root) : mRoot(std::move(root)) {}

void Output::Write(std::string_view path, const Bytes& bytes)
{
    std::filesystem::path full = std::filesystem::path(mRoot) / std::filesystem::path(path);
    std::error_code ec;
    std::filesystem::create_directories(full.parent_path(), ec);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    if (out)
    {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    if (!out)
    {
        Fail("cannot write " + full.string());
        return;
    }
    ++mFileCount;
}

void Output::WriteText(std::string_view path, std::string_view text)
{
    Write(path, Bytes(text.begin(), text.end()));
}

void Output::Fail(std::string_view what)
{
    mFailures.emplace_back(what);
    std::fprintf(stderr, "demodata: %.*s\n", static_cast<int>(what.size()), what.data());
}

void ByteWriter::F32(float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    U32(bits);
}

void ByteWriter::Raw(const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    mBytes.insert(mBytes.end(), p, p + size);
}

void ByteWriter::PatchBE32(std::size_t at, std::uint32_t v)
{
    mBytes[at] = v >> 24;
    mBytes[at + 1] = (v >> 16) & 0xFF;
    mBytes[at + 2] = (v >> 8) & 0xFF;
    mBytes[at + 3] = v & 0xFF;
}

} // namespace demodata
