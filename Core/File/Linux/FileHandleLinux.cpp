#include "Core/File/Linux/FileHandleLinux.h"

#include "Core/Base/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file
{
FileHandleLinux::~FileHandleLinux()
{
    if (mFd >= 0)
        ::close(mFd);
}

VNResultEnum FileHandleLinux::Open(const std::wstring& path, int mode, int disposition)
{
    if (mFd >= 0)
        Close();
    mPath = path;
    int flags = O_CLOEXEC;
    switch (mode)
    {
    case 0:
        flags |= O_RDONLY;
        break;
    case 1:
        flags |= O_WRONLY;
        break;
    case 2:
        flags |= O_RDWR;
        break;
    default:
        return VN_FAIL;
    }
    switch (disposition)
    {
    case 0:
        flags |= O_CREAT | O_TRUNC;
        break;
    case 1:
        flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
        break;
    case 2:
        break;
    default:
        return VN_FAIL;
    }
    if (path.empty())
        return VN_FAIL;
    const std::string native = base::ToNativePath(path);
    int fd;
    do
        fd = ::open(native.c_str(), flags, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return VN_FAIL;
    // A folder opens fine for reading on Linux; the engine's files are regular files only.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        ::close(fd);
        return VN_FAIL;
    }
    mFd = fd;
    return VN_OK;
}

VNResultEnum FileHandleLinux::Close()
{
    if (mFd < 0)
        return VN_FAIL;
    const int rc = ::close(mFd);
    mFd = -1;
    mPath.clear();
    return rc == 0 ? VN_OK : VN_FAIL;
}

VNResultEnum FileHandleLinux::Read(void* buffer, unsigned bytes, int* done)
{
    if (mFd < 0)
        return VN_FAIL;
    std::size_t total = 0;
    auto* p = static_cast<char*>(buffer);
    // A read may return less than asked before the end; keep going so callers see a short count only at the
    // end.
    while (total < bytes)
    {
        const ssize_t n = ::read(mFd, p + total, bytes - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return VN_FAIL;
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    if (done)
        *done = static_cast<int>(total);
    return VN_OK;
}

VNResultEnum FileHandleLinux::Write(const void* buffer, unsigned bytes, int* done)
{
    if (mFd < 0)
        return VN_FAIL;
    std::size_t total = 0;
    const auto* p = static_cast<const char*>(buffer);
    while (total < bytes)
    {
        const ssize_t n = ::write(mFd, p + total, bytes - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return VN_FAIL;
        total += static_cast<std::size_t>(n);
    }
    if (done)
        *done = static_cast<int>(total);
    return VN_OK;
}

int FileHandleLinux::Seek(int distance, int origin)
{
    if (mFd < 0)
        return 0;
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    off_t pos = ::lseek(mFd, distance, whence);
    if (pos < 0)
        pos = ::lseek(mFd, 0, SEEK_CUR);
    return static_cast<int>(pos);
}

unsigned FileHandleLinux::Size() const
{
    struct stat st;
    if (mFd < 0 || ::fstat(mFd, &st) != 0 || st.st_size < 0)
        return 0;
    // A file of 4 GiB or more reports the largest size: its low 32 bits would pass for a small file.
    return st.st_size > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<unsigned>(st.st_size);
}

VNResultEnum FileHandleLinux::Sync()
{
    if (mFd < 0)
        return VN_FAIL;
    return ::fsync(mFd) == 0 ? VN_OK : VN_FAIL;
}
} // namespace file
