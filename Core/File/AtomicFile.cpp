#include "Core/File/AtomicFile.h"

#include "Core/Base/Paths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace file
{
namespace
{
AtomicFaultHook gFaultHook = nullptr;

bool Fault(const char* step)
{
    return gFaultHook && gFaultHook(step);
}

// Makes a rename durable: the folder's entry must reach the disk too.
void SyncFolderOf(const std::wstring& path)
{
    std::wstring dir = base::GetDirectory(path);
    const std::string native = base::ToNativePath(dir.empty() ? std::wstring(L".") : dir);
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

// A name nobody can have prepared: a link or file planted at a fixed name would otherwise be written through.
std::wstring UniqueTempName(const std::wstring& path)
{
    static std::mt19937_64 generator{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    static const wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
    std::wstring name = path + L".tmp-";
    std::uint64_t bits = generator();
    for (int i = 0; i < 8; ++i, bits /= 36)
        name += kDigits[bits % 36];
    return name;
}
} // namespace

void SetAtomicFaultHook(AtomicFaultHook hook)
{
    gFaultHook = hook;
}

AtomicFileWriter::~AtomicFileWriter()
{
    Abort();
}

VNResultEnum AtomicFileWriter::Open(const std::wstring& path)
{
    Abort();
    mPath = path;
    mFailed = false;
    if (!Fault("open"))
    {
        // Exclusive creation never follows a link and never opens an existing file; a taken name is retried.
        for (int attempt = 0; attempt < 16; ++attempt)
        {
            const std::wstring candidate = UniqueTempName(path);
            if (mHandle.Open(candidate, 1, 1) == VN_OK)
            {
                mTempPath = candidate;
                return VN_OK;
            }
            if (errno != EEXIST)
                break;
        }
    }
    mFailed = true;
    return VN_FAIL;
}

VNResultEnum AtomicFileWriter::Write(const void* data, unsigned size)
{
    if (mFailed || !mHandle.IsOpen())
        return VN_FAIL;
    if (size == 0)
        return VN_OK;
    int done = 0;
    if (Fault("write"))
    {
        // A disk that fills up takes part of the data before it refuses the rest.
        static_cast<void>(mHandle.Write(data, size / 2, &done));
        mFailed = true;
        return VN_FAIL;
    }
    if (mHandle.Write(data, size, &done) != VN_OK || done != static_cast<int>(size))
    {
        mFailed = true;
        return VN_FAIL;
    }
    return VN_OK;
}

VNResultEnum AtomicFileWriter::Commit()
{
    if (mFailed || !mHandle.IsOpen())
    {
        Abort();
        return VN_FAIL;
    }
    if (Fault("sync") || mHandle.Sync() != VN_OK)
    {
        Abort();
        return VN_FAIL;
    }
    if (Fault("close") || mHandle.Close() != VN_OK)
    {
        Abort();
        return VN_FAIL;
    }
    if (Fault("rename") ||
        std::rename(base::ToNativePath(mTempPath).c_str(), base::ToNativePath(mPath).c_str()) != 0)
    {
        Abort();
        return VN_FAIL;
    }
    SyncFolderOf(mPath);
    mTempPath.clear();
    return VN_OK;
}

void AtomicFileWriter::Abort()
{
    // The cause of the failed step stays for the caller to report; cleaning up must not replace it.
    const int cause = errno;
    if (mHandle.IsOpen())
        mHandle.Close();
    if (!mTempPath.empty())
    {
        ::unlink(base::ToNativePath(mTempPath).c_str());
        mTempPath.clear();
    }
    mFailed = true;
    errno = cause;
}

VNResultEnum WriteFileAtomically(const std::wstring& path, const void* data, unsigned size)
{
    AtomicFileWriter writer;
    if (writer.Open(path) != VN_OK || writer.Write(data, size) != VN_OK)
        return VN_FAIL;
    return writer.Commit();
}
} // namespace file
