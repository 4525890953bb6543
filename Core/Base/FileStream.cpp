#include "Core/Base/FileStream.h"

#include "Core/Base/TextEncoding.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base
{

namespace
{

int OpenFlags(int mode, int disposition)
{
    int flags = O_CLOEXEC;
    switch (mode)
    {
    case FileStream::ModeRead:
        flags |= O_RDONLY;
        break;
    case FileStream::ModeWrite:
        flags |= O_WRONLY;
        break;
    case FileStream::ModeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        return -1;
    }
    switch (disposition)
    {
    case FileStream::CreateAlways:
        flags |= O_CREAT | O_TRUNC;
        break;
    case FileStream::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case FileStream::OpenExisting:
        break;
    default:
        return -1;
    }
    return flags;
}

} // namespace

FileStream::FileStream() = default;

FileStream::~FileStream()
{
    Close();
}

VNResultEnum FileStream::Open(const std::wstring& path, int mode, int disposition)
{
    Close();
    mPath = path;
    const int flags = OpenFlags(mode, disposition);
    if (flags < 0 || path.empty())
        return VN_FAIL;
    const std::string narrow = ToNarrow(path, kEncodingUtf8);
    int file;
    do
        file = ::open(narrow.c_str(), flags, 0666);
    while (file < 0 && errno == EINTR);
    if (file < 0)
        return VN_FAIL;
    // Folders open on this platform; a stream over one would only fail later.
    struct stat info;
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode))
    {
        ::close(file);
        return VN_FAIL;
    }
    mFile = file;
    return VN_OK;
}

VNResultEnum FileStream::Close()
{
    if (mFile < 0)
        return VN_FAIL;
    const int result = ::close(mFile);
    mFile = -1;
    mPath.clear();
    return result == 0 ? VN_OK : VN_FAIL;
}

unsigned FileStream::Size() const
{
    struct stat info;
    if (mFile < 0 || ::fstat(mFile, &info) != 0 || info.st_size < 0)
        return 0;
    // Streams are 32-bit; a larger file reports the largest size instead of a wrapped one.
    return info.st_size > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<unsigned>(info.st_size);
}

unsigned FileStream::Read(void* buffer, unsigned length)
{
    if (mFile < 0 || buffer == nullptr)
        return 0;
    unsigned done = 0;
    while (done < length)
    {
        const ssize_t got = ::read(mFile, static_cast<char*>(buffer) + done, length - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<unsigned>(got);
    }
    return done;
}

unsigned FileStream::Write(const void* buffer, unsigned length)
{
    if (mFile < 0 || buffer == nullptr)
        return 0;
    unsigned done = 0;
    while (done < length)
    {
        const ssize_t put = ::write(mFile, static_cast<const char*>(buffer) + done, length - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += static_cast<unsigned>(put);
    }
    return done;
}

unsigned FileStream::Seek(int offset, int origin)
{
    if (mFile < 0)
        return 0;
    const int whence = origin == kSeekBegin ? SEEK_SET : origin == kSeekCurrent ? SEEK_CUR : SEEK_END;
    const off_t current = ::lseek(mFile, 0, SEEK_CUR);
    off_t moved = ::lseek(mFile, offset, whence);
    if (moved < 0 || moved > 0xFFFFFFFF)
    {
        // A move before the start fails; one beyond 4 GiB is undone. The position stays.
        if (moved > 0xFFFFFFFF)
            ::lseek(mFile, current, SEEK_SET);
        moved = current;
    }
    return moved < 0 ? 0u : static_cast<unsigned>(moved);
}

} // namespace base
