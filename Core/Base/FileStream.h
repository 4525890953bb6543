#pragma once

#include "Core/Base/Stream.h"

#include <string>

namespace base
{

// A stream over an operating-system file.
class FileStream : public Stream
{
public:
    // Open modes.
    static constexpr int ModeRead = 0;
    static constexpr int ModeWrite = 1;
    static constexpr int ModeReadWrite = 2;
    // Open dispositions.
    static constexpr int CreateAlways = 0; // create or truncate
    static constexpr int CreateNew = 1;    // fail when the file exists
    static constexpr int OpenExisting = 2; // fail when the file is missing

    FileStream();
    ~FileStream() override;

    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Opens path (closing any file held before); the path is kept also when the open fails.
    // A folder is not a file: opening one fails.
    VNResultEnum Open(const std::wstring& path, int mode, int disposition);
    // VN_FAIL when no file is open.
    VNResultEnum Close();
    bool IsOpen() const { return mFile >= 0; }
    const std::wstring& GetPath() const { return mPath; }

    // Without an open file: size 0, reads and writes 0 bytes, seeks stay at 0.
    unsigned Size() const override;
    unsigned Read(void* buffer, unsigned length) override;
    unsigned Write(const void* buffer, unsigned length) override;
    // Returns the new position, or the current one when the move fails (before the start).
    unsigned Seek(int offset, int origin) override;

private:
    int mFile = -1;
    std::wstring mPath;
};

} // namespace base
