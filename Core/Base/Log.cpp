#include "Core/Base/Log.h"

#include "Core/Base/LogChannel.h"
#include "Core/Base/TextFormat.h"

namespace base
{

// One channel's share of a statement: its own formatter and the markup around the text.
struct LogEntry
{
    LogEntry(HtmlLogChannel* html, TextLogChannel* text, const std::wstring& format)
        : html(html), text(text), format(format), complete(this->format.IsComplete())
    {
    }

    HtmlLogChannel* html;
    TextLogChannel* text;
    TextFormat format;
    bool complete;
    bool styled = false;
    std::wstring opening;
    std::wstring closing;
};

namespace
{

// Statement text is data, not markup: a name holding '<' or '&' must not break the page.
std::wstring EscapeHtml(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text)
    {
        switch (c)
        {
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'&':
            out += L"&amp;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

} // namespace

LogStyle::LogStyle(const std::wstring& className)
    : mOpening(L"<div class=\"" + className + L"\">"), mClosing(L"</div>")
{
}

Log::~Log()
{
    for (HtmlLogChannel* channel : mHtmlChannels)
        delete channel;
    mHtmlChannels.clear();
    for (TextLogChannel* channel : mTextChannels)
        delete channel;
    mTextChannels.clear();
}

void Log::AddHtmlOutput(LogOutput* output)
{
    if (output)
        mHtmlChannels.push_back(new HtmlLogChannel(output));
}

void Log::AddTextOutput(LogOutput* output)
{
    if (output)
        mTextChannels.push_back(new TextLogChannel(output));
}

LogMessage::LogMessage(Log& log, const wchar_t* format) : LogMessage(log, std::wstring(format ? format : L""))
{
}

LogMessage::LogMessage(Log& log, const std::wstring& format)
{
    mEntries.reserve(log.GetHtmlChannels().size() + log.GetTextChannels().size());
    for (HtmlLogChannel* channel : log.GetHtmlChannels())
        mEntries.push_back(new LogEntry(channel, nullptr, format));
    for (TextLogChannel* channel : log.GetTextChannels())
        mEntries.push_back(new LogEntry(nullptr, channel, format));
}

LogMessage::~LogMessage()
{
    // Not a static: statements may come from singleton destructors after static objects are gone.
    const DefaultLogStyle defaultStyle;
    for (LogEntry* entry : mEntries)
    {
        entry->format.Finish();
        if (entry->html)
        {
            // A statement given no style still gets its own div, like the default style.
            const std::wstring& opening = entry->styled ? entry->opening : defaultStyle.GetOpening();
            const std::wstring& closing = entry->styled ? entry->closing : defaultStyle.GetClosing();
            entry->html->Write(opening + EscapeHtml(entry->format.GetResult()) + closing);
        }
        else if (entry->text)
        {
            entry->text->Write(entry->format.GetResult());
        }
        delete entry;
    }
}

LogMessage& LogMessage::SetStyle(const LogStyle& style)
{
    // A later style replaces an earlier one, so the divs always balance.
    for (LogEntry* entry : mEntries)
    {
        if (!entry->html)
            continue;
        entry->opening = style.GetOpening();
        entry->closing = style.GetClosing();
        entry->styled = true;
    }
    return *this;
}

namespace
{

template <class T>
void Feed(std::vector<LogEntry*>& entries, const T& value)
{
    for (LogEntry* entry : entries)
    {
        if (entry->complete)
            continue;
        entry->format % value;
        entry->complete = entry->format.IsComplete();
    }
}

} // namespace

LogMessage& LogMessage::operator%(int value)
{
    Feed(mEntries, value);
    return *this;
}

LogMessage& LogMessage::operator%(unsigned value)
{
    Feed(mEntries, value);
    return *this;
}

LogMessage& LogMessage::operator%(float value)
{
    Feed(mEntries, value);
    return *this;
}

LogMessage& LogMessage::operator%(double value)
{
    Feed(mEntries, static_cast<float>(value));
    return *this;
}

LogMessage& LogMessage::operator%(const wchar_t* value)
{
    Feed(mEntries, value);
    return *this;
}

LogMessage& LogMessage::operator%(const std::wstring& value)
{
    Feed(mEntries, value);
    return *this;
}

} // namespace base
