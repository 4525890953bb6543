#pragma once

#include <string>

namespace base
{

// A sink of log text.
class LogOutput
{
public:
    virtual ~LogOutput() = default;
    virtual void Write(const std::wstring& text) = 0;
};

// The debugger output; on Linux the process's standard error.
class LogDebugOutput : public LogOutput
{
public:
    void Write(const std::wstring& text) override;
};

// A file written in UTF-8 and flushed after every write. Constructing one creates the file,
// replacing an existing one; a file that cannot be created drops every write silently.
class LogUtf8File : public LogOutput
{
public:
    explicit LogUtf8File(const std::wstring& path);
    ~LogUtf8File() override;

    LogUtf8File(const LogUtf8File&) = delete;
    LogUtf8File& operator=(const LogUtf8File&) = delete;

    void Write(const std::wstring& text) override;
    bool IsOpen() const;

private:
    struct File;
    File* mFile;
};

} // namespace base
