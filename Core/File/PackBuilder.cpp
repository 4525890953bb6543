#include "Core/File/PackBuilder.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/File/AtomicFile.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackIndex.h"

#include <vector>

namespace file
{
namespace
{
constexpr unsigned kChunk = 1u << 20; // copies go through one buffer of at most 1 MiB

// Collects the index in memory; growing a MemoryStream to the exact size on every small write would copy the
// whole index once per field.
class ByteSink : public base::Stream
{
public:
    unsigned Size() const override { return static_cast<unsigned>(bytes.size()); }
    unsigned Read(void*, unsigned) override { return 0; }
    unsigned Write(const void* data, unsigned length) override
    {
        bytes.insert(bytes.end(), static_cast<const char*>(data), static_cast<const char*>(data) + length);
        return length;
    }
    unsigned Seek(int, int) override { return Size(); }

    std::vector<char> bytes;
};

VNResultEnum Refuse(const std::wstring& packPath, const std::wstring& why)
{
    base::LogMessage(*base::MainLog::Instance(), L"Pack '%s' not built: %s.\n") % packPath % why;
    return VN_FAIL;
}

// Appends exactly size bytes of the file to the writer; a file that changed size since it was listed fails.
bool CopyExactly(const std::wstring& path, std::uint32_t size, AtomicFileWriter& writer,
                 std::vector<char>& buffer)
{
    base::FileStream file;
    if (file.Open(path, base::FileStream::ModeRead, base::FileStream::OpenExisting) != VN_OK ||
        file.Size() != size)
        return false;
    std::uint32_t left = size;
    while (left > 0)
    {
        const unsigned n = left < kChunk ? left : kChunk;
        if (file.Read(buffer.data(), n) != n || writer.Write(buffer.data(), n) != VN_OK)
            return false;
        left -= n;
    }
    return true;
}
} // namespace

VNResultEnum BuildPack(const std::wstring& folder, const std::wstring& packPath)
{
    const std::wstring dir = base::NormalizeDirPath(folder);
    FileManager* manager = FileManager::Instance();
    std::vector<std::wstring> names;
    if (manager->ListLooseFiles(dir, &names) != VN_OK)
        return Refuse(packPath, L"the folder '" + dir + L"' or a folder below it cannot be read");

    PackIndex index;
    // Temporary files of this pack (also one left by a build that was killed) are never packed.
    const std::wstring tempPrefix = packPath + L".tmp";
    for (const std::wstring& name : names)
    {
        const std::wstring path = dir + name;
        // A pack kept inside its own folder must not swallow itself or its half-written successor.
        if (path == packPath || path.rfind(tempPrefix, 0) == 0)
            continue;
        base::FileStream file;
        if (file.Open(path, base::FileStream::ModeRead, base::FileStream::OpenExisting) != VN_OK)
            return Refuse(packPath, L"cannot read '" + path + L"'");
        PackEntry entry;
        entry.size = file.Size();
        index.emplace(name, entry);
    }

    std::uint64_t offset = index.GetHeaderSize();
    for (auto& [name, entry] : index)
    {
        if (offset > 0xFFFFFFFFu)
            return Refuse(packPath, L"the files do not fit in a pack (4 GiB)");
        entry.offset = static_cast<std::uint32_t>(offset);
        offset += entry.size;
    }
    if (offset > 0xFFFFFFFFu)
        return Refuse(packPath, L"the files do not fit in a pack (4 GiB)");

    ByteSink header;
    if (index.Write(&header) != VN_OK)
        return Refuse(packPath, L"cannot make the index");

    AtomicFileWriter writer;
    if (writer.Open(packPath) != VN_OK)
        return Refuse(packPath, L"cannot create a temporary file beside it");
    if (writer.Write(header.bytes.data(), header.Size()) != VN_OK)
        return Refuse(packPath, L"writing the index failed");
    std::vector<char> buffer(kChunk);
    for (const auto& [name, entry] : index)
    {
        if (!CopyExactly(dir + name, entry.size, writer, buffer))
            return Refuse(packPath, L"copying '" + dir + name + L"' failed or the file changed");
    }
    if (writer.Commit() != VN_OK)
        return Refuse(packPath, L"finishing the file failed");
    base::LogMessage(*base::MainLog::Instance(), L"Pack '%s' built from '%s': %u files.\n") % packPath % dir %
        static_cast<unsigned>(index.size());
    return VN_OK;
}

VNResultEnum BuildMountedPacks()
{
    for (const auto& [prefix, packPath] : FileManager::Instance()->mMounts)
    {
        const VNResultEnum result = BuildPack(prefix, packPath);
        if (result != VN_OK)
            return result;
    }
    return VN_OK;
}
} // namespace file
