#include "Core/Base/LogChannel.h"

#include "Core/Base/LogOutput.h"

namespace base
{

const wchar_t* HtmlLogChannel::Head()
{
    // The bytes are UTF-8, so the page says so (a legacy code page here would garble every
    // non-ASCII name in a browser).
    return L"<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
           L"<meta http-equiv=Content-Language content=ru><style>\n"
           L"body {font-family:verdana;}\n"
           L"hr { size:1px;color:000000 }\n"
           L"div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;"
           L"background:#CCCCCC;font-weight:bold;padding-bottom:0px; }\n"
           L"span.info { color:000000; }\n"
           L"div.block { "
           L"border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; }\n"
           L"div.blockhead { border-width:0px;padding:3px; font-weight:bold "
           L";color:000000;background:#DDDDDD;}\n"
           L"</style></head>\n"
           L"<body>\n";
}

HtmlLogChannel::HtmlLogChannel(LogOutput* output) : mOutput(output)
{
    Write(Head());
}

HtmlLogChannel::~HtmlLogChannel()
{
    Write(L"</body></html>");
    delete mOutput;
}

void HtmlLogChannel::Write(const std::wstring& text)
{
    if (mOutput)
        mOutput->Write(text);
}

TextLogChannel::TextLogChannel(LogOutput* output) : mOutput(output)
{
    Write(L"log initialized\n");
}

TextLogChannel::~TextLogChannel()
{
    Write(L"log terminated\n");
    delete mOutput;
}

void TextLogChannel::Write(const std::wstring& text)
{
    if (mOutput)
        mOutput->Write(text);
}

} // namespace base
