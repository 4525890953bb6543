#pragma once

#include <cstdint>
#include <string>

namespace base
{
class Stream;
class StreamCreator;
} // namespace base

namespace file
{
class Container;

// What a container's search returns; the caller owns it.
class FileInfo
{
public:
    FileInfo() = default;
    FileInfo(std::wstring name, std::wstring path, Container* container, std::uint8_t packed)
        : name(std::move(name)), path(std::move(path)), container(container), packed(packed)
    {
    }
    virtual ~FileInfo() = default;

    // The owning container's stream of path: a new stream or null, deleted by the caller.
    base::Stream* OpenStream() const;

    std::wstring name;              // file-name part of the requested name, without an added extension
    std::wstring path;              // requested name plus the extension found, relative to the container
    Container* container = nullptr; // the container that found the file; not owned
    std::uint8_t packed = 0;        // 1 when the file lies in a pack
};

// A source of files: loose folders, packs and the user-data folder. Paths use '/' separators.
// Whoever asks for a FileInfo, a stream or a stream creator owns it and deletes it.
class Container
{
public:
    virtual ~Container() = default;
    // Finds name + extensions[i] for the first i that exists as a file (name alone without a list).
    virtual FileInfo* FindFile(const std::wstring& name, const wchar_t* const* extensions = nullptr,
                               unsigned count = 0, unsigned* foundIndex = nullptr) = 0;
    // A new stream open for reading, or null. Mounts are not consulted: open what a search of this container
    // found.
    virtual base::Stream* OpenStream(const std::wstring& path) = 0;
    // A creator that opens the same data later; null only for a name an archive does not hold.
    virtual base::StreamCreator* OpenStreamCreator(const std::wstring& path) = 0;
    // The container's root as other containers see it.
    virtual std::wstring GetPath() = 0;
};
} // namespace file
