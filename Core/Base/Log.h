#pragma once

#include "Core/Base/Singleton.h"

#include <string>
#include <vector>

namespace base
{

class LogOutput;
class HtmlLogChannel;
class TextLogChannel;
struct LogEntry;

// The markup an HTML channel wraps around a statement: <div class="name"> ... </div>.
class LogStyle
{
public:
    explicit LogStyle(const std::wstring& className);

    const std::wstring& GetOpening() const { return mOpening; }
    const std::wstring& GetClosing() const { return mClosing; }

private:
    std::wstring mOpening;
    std::wstring mClosing;
};

// <div class=""> ... </div>: every ordinary statement.
class DefaultLogStyle : public LogStyle
{
public:
    DefaultLogStyle() : LogStyle(L"") {}
};

// <div class="block"> ... </div>: resource warnings and shader compilation messages.
class BlockLogStyle : public LogStyle
{
public:
    BlockLogStyle() : LogStyle(L"block") {}
};

// Sends every statement to its HTML channels, then to its text channels.
class Log
{
public:
    Log() = default;
    // Closes the HTML channels (page foot), then the text channels ("log terminated\n").
    virtual ~Log();

    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // Takes ownership of output and writes the page head to it at once.
    void AddHtmlOutput(LogOutput* output);
    // Takes ownership of output and writes "log initialized\n" to it at once.
    void AddTextOutput(LogOutput* output);

    const std::vector<HtmlLogChannel*>& GetHtmlChannels() const { return mHtmlChannels; }
    const std::vector<TextLogChannel*>& GetTextChannels() const { return mTextChannels; }

private:
    std::vector<HtmlLogChannel*> mHtmlChannels;
    std::vector<TextLogChannel*> mTextChannels;
};

// The process log.
class MainLog : public Singletone<MainLog>, public Log
{
};

// One statement: a printf-like format fed with % and written to every channel of the log when
// the message is destroyed, normally at the end of the statement:
//   base::LogMessage(*base::MainLog::Instance(), L"Loaded %s\n") % name;
// HTML channels wrap the text in the style's div (the default style when none is set) and escape
// '<', '>' and '&' in it; text channels get the bare text. A statement made while the log has no
// channel writes nothing.
class LogMessage
{
public:
    LogMessage(Log& log, const wchar_t* format);
    LogMessage(Log& log, const std::wstring& format);
    ~LogMessage();

    LogMessage(const LogMessage&) = delete;
    LogMessage& operator=(const LogMessage&) = delete;

    // A later style replaces an earlier one.
    LogMessage& SetStyle(const LogStyle& style);

    LogMessage& operator%(int value);
    LogMessage& operator%(unsigned value);
    LogMessage& operator%(float value);
    LogMessage& operator%(double value); // written as a float
    LogMessage& operator%(const wchar_t* value);
    LogMessage& operator%(const std::wstring& value);

private:
    std::vector<LogEntry*> mEntries;
};

} // namespace base
