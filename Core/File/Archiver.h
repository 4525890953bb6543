#pragma once

#include "Core/File/FileContainer.h"
#include "Core/File/PackIndex.h"

#include <string>

namespace file
{
// A pack file mounted on a prefix, served as a container. Its index is read and checked once, at
// construction; a damaged pack is refused as a whole (logged, no entries), so lookups under its prefix find
// nothing.
class Archiver : public FileContainer
{
public:
    Archiver(const std::wstring& prefix, const std::wstring& packPath, Container* parent);

    base::Stream* OpenStream(const std::wstring& path) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& path) override;
    std::wstring GetPath() override;

    const PackIndex& GetIndex() const { return mIndex; }
    const std::wstring& GetPrefix() const { return mPrefix; }
    const std::wstring& GetPackPath() const { return mPackPath; }

protected:
    friend class FileContainer;
    VNResultEnum DoListFiles(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>* out, bool relative) override;
    VNResultEnum DoListDirs(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                            std::vector<std::wstring>* out, bool relative) override;
    bool DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                  unsigned* foundIndex) override;
    bool DoIsDirectory(const std::wstring& path) override;

private:
    Container* mParent;
    std::wstring mPrefix;
    std::wstring mPackPath;
    PackIndex mIndex;
};
} // namespace file
