#pragma once

#include "Core/Base/Result.h"
#include "Core/File/FileHandle.h"

#include <string>

namespace file
{
// Replaces a file so that, whatever fails or however the process ends, the path holds either the old file or
// the complete new one: the data go to a temporary file in the same folder, which is flushed to disk and then
// renamed over the target. Destroying the writer before Commit removes the temporary file and leaves the
// target alone.
class AtomicFileWriter
{
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    // Creates the temporary file beside path under a fresh name ("<path>.tmp-" and eight characters),
    // exclusively: never through a link, never over an existing file.
    VNResultEnum Open(const std::wstring& path);
    // Every byte must be written; 1 otherwise, and the writer is then failed for good.
    VNResultEnum Write(const void* data, unsigned size);
    // Flush, fsync, close and rename; 1 when any step fails (the target is then unchanged).
    VNResultEnum Commit();
    // Drops the temporary file.
    void Abort();

    const std::wstring& GetTempPath() const { return mTempPath; }

private:
    FileHandle mHandle;
    std::wstring mPath;
    std::wstring mTempPath;
    bool mFailed = false;
};

// Writes a whole file through AtomicFileWriter.
VNResultEnum WriteFileAtomically(const std::wstring& path, const void* data, unsigned size);

// Test hook: called before each step of an atomic write ("open", "write", "sync", "close", "rename"); when it
// returns true the step fails as a full disk or a crash would make it fail (a write then lands only in part).
using AtomicFaultHook = bool (*)(const char* step);
void SetAtomicFaultHook(AtomicFaultHook hook);
} // namespace file
