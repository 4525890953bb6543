#include "Core/Base/LogOutput.h"

#include "Core/Base/TextEncoding.h"

#include <cstdio>
#include <fstream>

namespace base
{

void LogDebugOutput::Write(const std::wstring& text)
{
    // There is no debugger channel on Linux: standard error is where developers look.
    const std::string bytes = ToNarrow(text, kEncodingUtf8);
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

struct LogUtf8File::File
{
    std::ofstream stream;
};

LogUtf8File::LogUtf8File(const std::wstring& path) : mFile(new File)
{
    // Truncates: each run replaces the previous run's log.
    mFile->stream.open(ToNarrow(path, kEncodingUtf8), std::ios::out | std::ios::binary | std::ios::trunc);
}

LogUtf8File::~LogUtf8File()
{
    delete mFile;
}

void LogUtf8File::Write(const std::wstring& text)
{
    // A file that failed to open stays failed and drops the write.
    if (!mFile->stream.is_open() || !mFile->stream.good())
        return;
    const std::string bytes = ToNarrow(text, kEncodingUtf8);
    mFile->stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // Flushed at once, so the log survives a crash.
    mFile->stream.flush();
}

bool LogUtf8File::IsOpen() const
{
    return mFile->stream.is_open();
}

} // namespace base
