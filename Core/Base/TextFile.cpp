#include "Core/Base/TextFile.h"

#include "Core/Base/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base
{

namespace
{

// Owns one descriptor.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return mFd; }

private:
    int mFd;
};

// Reads exactly count bytes; false on error or end of file before that.
bool ReadExactly(int fd, char* buffer, std::size_t count)
{
    std::size_t done = 0;
    while (done < count)
    {
        const ssize_t got = ::read(fd, buffer + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace

std::string ReadPlainTextFile(const std::wstring& path, bool* hadByteOrderMark)
{
    if (hadByteOrderMark)
        *hadByteOrderMark = false;
    FileDescriptor file(::open(ToNativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0)
        return std::string();
    struct stat info;
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<unsigned long long>(info.st_size) > kMaxTextFileSize)
        return std::string();

    std::size_t size = static_cast<std::size_t>(info.st_size);
    std::string text;
    try
    {
        text.resize(size);
    }
    catch (const std::exception&)
    {
        return std::string();
    }
    // Every byte the size promised must arrive: a short read is a failure, not a shorter text.
    if (!ReadExactly(file.Get(), text.data(), size))
        return std::string();

    if (size >= 3 && static_cast<unsigned char>(text[0]) == 0xEF && static_cast<unsigned char>(text[1]) == 0xBB &&
        static_cast<unsigned char>(text[2]) == 0xBF)
    {
        if (hadByteOrderMark)
            *hadByteOrderMark = true;
        text.erase(0, 3);
    }
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

} // namespace base
