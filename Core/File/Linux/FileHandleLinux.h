#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace file
{
// A raw file descriptor with the engine's open modes. Without an open file every operation fails or does
// nothing. mode: 0 read, 1 write, 2 read and write; disposition: 0 create always (truncate), 1 create new, 2
// open existing.
class FileHandleLinux
{
public:
    FileHandleLinux() = default;
    FileHandleLinux(const FileHandleLinux&) = delete;
    FileHandleLinux& operator=(const FileHandleLinux&) = delete;
    virtual ~FileHandleLinux();

    // Stores the path (also when the open fails); 1 when the file cannot be opened as a regular file.
    VNResultEnum Open(const std::wstring& path, int mode, int disposition);
    // 1 when nothing is open or closing reports an error (a write that failed late shows here).
    VNResultEnum Close();
    // The count moved is stored in *done when given; 1 on failure. A short count is not a failure here.
    VNResultEnum Read(void* buffer, unsigned bytes, int* done);
    VNResultEnum Write(const void* buffer, unsigned bytes, int* done);
    // origin 0 begin, 1 current, any other end; returns the new position, or the current one when the move
    // fails.
    int Seek(int distance, int origin);
    // Size in bytes, 0xFFFFFFFF for a file of 4 GiB or more; 0 without an open file.
    unsigned Size() const;
    // Pushes written data to the disk (fsync); 1 on failure or without an open file.
    VNResultEnum Sync();

    bool IsOpen() const { return mFd >= 0; }
    const std::wstring& GetPath() const { return mPath; }

private:
    int mFd = -1;
    std::wstring mPath;
};
} // namespace file
