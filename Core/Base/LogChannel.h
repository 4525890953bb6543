#pragma once

#include <string>

namespace base
{

class LogOutput;

// An HTML page on an owned output: the head when created, "</body></html>" when destroyed.
class HtmlLogChannel
{
public:
    explicit HtmlLogChannel(LogOutput* output);
    // Writes the foot and deletes the output.
    ~HtmlLogChannel();

    HtmlLogChannel(const HtmlLogChannel&) = delete;
    HtmlLogChannel& operator=(const HtmlLogChannel&) = delete;

    void Write(const std::wstring& text);
    LogOutput* GetOutput() const { return mOutput; }

    // The page head written by every HTML channel (a literal: usable at any time during exit).
    static const wchar_t* Head();

private:
    LogOutput* mOutput;
};

// Plain text on an owned output: "log initialized\n" when created, "log terminated\n" when destroyed.
class TextLogChannel
{
public:
    explicit TextLogChannel(LogOutput* output);
    ~TextLogChannel();

    TextLogChannel(const TextLogChannel&) = delete;
    TextLogChannel& operator=(const TextLogChannel&) = delete;

    void Write(const std::wstring& text);
    LogOutput* GetOutput() const { return mOutput; }

private:
    LogOutput* mOutput;
};

} // namespace base
