#include "Core/Base/Log.h"
#include "Core/Base/LogChannel.h"
#include "Core/Base/LogOutput.h"

#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// Records every write, tagged with the output's name, into a record shared by several outputs.
struct Record
{
    std::vector<std::wstring> writes;
    std::vector<std::wstring> deleted;
};

class RecordingOutput : public base::LogOutput
{
public:
    RecordingOutput(Record& record, std::wstring name) : mRecord(record), mName(std::move(name)) {}
    ~RecordingOutput() override { mRecord.deleted.push_back(mName); }
    void Write(const std::wstring& text) override { mRecord.writes.push_back(mName + L":" + text); }

private:
    Record& mRecord;
    std::wstring mName;
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LogFileTest : public basetest::TempFolderTest
{
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        mPath = mDir / "log.html";
    }
    std::wstring WidePath() const { return mPath.wstring(); }

    std::filesystem::path mPath;
};

TEST_F(LogFileTest, RunLeavesHeadEntriesOfBothStylesAndFoot)
{
    Record record;
    {
        base::Log log;
        log.AddTextOutput(new RecordingOutput(record, L"dbg"));
        // Reaches the debugger channel only: the file is not attached yet.
        base::LogMessage(log, L"%s(0): Html log file\n") % WidePath();
        log.AddHtmlOutput(new base::LogUtf8File(WidePath()));

        base::LogMessage(log, L"Max texture Width: %d\n").SetStyle(base::DefaultLogStyle()) % 4096;
        base::LogMessage(log, L"Trying to Load already loaded resource '%s'.\n")
                .SetStyle(base::BlockLogStyle()) %
            std::wstring(L"td/ui/a.png");
        base::LogMessage(log, L"no line end").SetStyle(base::DefaultLogStyle());
    }

    const std::string expected = std::string(
        "<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
        "<meta http-equiv=Content-Language content=ru><style>\n"
        "body {font-family:verdana;}\n"
        "hr { size:1px;color:000000 }\n"
        "div.error { border-width:0 0 0 0px;border-style:solid;border-color:FF0000;color:AA0000;"
        "background:#CCCCCC;font-weight:bold;padding-bottom:0px; }\n"
        "span.info { color:000000; }\n"
        "div.block { border-width:1px;border-style:solid;border-color:000000;padding:3px;margin-bottom:5px; "
        "}\n"
        "div.blockhead { border-width:0px;padding:3px; font-weight:bold ;color:000000;background:#DDDDDD;}\n"
        "</style></head>\n"
        "<body>\n"
        "<div class=\"\">Max texture Width: 4096\n</div>"
        "<div class=\"block\">Trying to Load already loaded resource 'td/ui/a.png'.\n</div>"
        "<div class=\"\">no line end</div>"
        "</body></html>");
    EXPECT_EQ(ReadFile(mPath), expected);
    EXPECT_EQ(ReadFile(mPath).find("Html log file"), std::string::npos);

    const std::vector<std::wstring> debugger = {
        L"dbg:log initialized\n",
        L"dbg:" + WidePath() + L"(0): Html log file\n",
        L"dbg:Max texture Width: 4096\n",
        L"dbg:Trying to Load already loaded resource 'td/ui/a.png'.\n",
        L"dbg:no line end",
        L"dbg:log terminated\n",
    };
    EXPECT_EQ(record.writes, debugger);
}

TEST_F(LogFileTest, FileIsFlushedAfterEveryStatement)
{
    base::Log log;
    log.AddHtmlOutput(new base::LogUtf8File(WidePath()));
    base::LogMessage(log, L"alive").SetStyle(base::DefaultLogStyle());
    // Still open: what a crash right now would leave on disk.
    const std::string text = ReadFile(mPath);
    EXPECT_NE(text.find("<div class=\"\">alive</div>"), std::string::npos);
    EXPECT_EQ(text.find("</body></html>"), std::string::npos);
}

TEST_F(LogFileTest, NewFileReplacesPreviousRun)
{
    {
        base::Log first;
        first.AddHtmlOutput(new base::LogUtf8File(WidePath()));
        base::LogMessage(first, L"first run").SetStyle(base::DefaultLogStyle());
    }
    {
        base::Log second;
        second.AddHtmlOutput(new base::LogUtf8File(WidePath()));
    }
    const std::string text = ReadFile(mPath);
    EXPECT_EQ(text.find("first run"), std::string::npos);
    EXPECT_EQ(text.rfind("<html>", 0), 0u);
    EXPECT_EQ(text.find("<html>", 1), std::string::npos);
}

TEST_F(LogFileTest, TextIsUtf8AndEscapedOnlyInHtml)
{
    Record record;
    {
        base::Log log;
        log.AddHtmlOutput(new base::LogUtf8File(WidePath()));
        log.AddTextOutput(new RecordingOutput(record, L"dbg"));
        base::LogMessage(log, L"%s").SetStyle(base::BlockLogStyle()) % L"Игрок <a & b>";
    }
    const std::string text = ReadFile(mPath);
    EXPECT_NE(
        text.find("<div class=\"block\">\xD0\x98\xD0\xB3\xD1\x80\xD0\xBE\xD0\xBA &lt;a &amp; b&gt;</div>"),
        std::string::npos);
    ASSERT_EQ(record.writes.size(), 3u);
    EXPECT_EQ(record.writes[1], L"dbg:Игрок <a & b>");
}

TEST_F(LogFileTest, UncreatableFileDropsWritesSilently)
{
    const std::wstring path = (mDir / "missing" / "log.html").wstring();
    auto* file = new base::LogUtf8File(path);
    EXPECT_FALSE(file->IsOpen());
    {
        base::Log log;
        log.AddHtmlOutput(file);
        base::LogMessage(log, L"dropped %d") % 1;
    }
    EXPECT_FALSE(std::filesystem::exists(mDir / "missing"));
}

TEST(Log, StatementBeforeAnyChannelWritesNothing)
{
    Record record;
    base::Log log;
    base::LogMessage(log, L"nobody hears %d") % 5;
    log.AddTextOutput(new RecordingOutput(record, L"t"));
    EXPECT_EQ(record.writes, std::vector<std::wstring>{L"t:log initialized\n"});
}

TEST(Log, ChannelsReceiveInOrderAndCloseHtmlFirst)
{
    Record record;
    {
        base::Log log;
        log.AddTextOutput(new RecordingOutput(record, L"t1"));
        log.AddHtmlOutput(new RecordingOutput(record, L"h1"));
        log.AddHtmlOutput(new RecordingOutput(record, L"h2"));
        record.writes.clear();
        base::LogMessage(log, L"%d|%s|%g|%u").SetStyle(base::DefaultLogStyle()) % -3 % L"w" % 0.5f % 7u;
        EXPECT_EQ(record.writes, (std::vector<std::wstring>{
                                     L"h1:<div class=\"\">-3|w|0.5|7</div>",
                                     L"h2:<div class=\"\">-3|w|0.5|7</div>",
                                     L"t1:-3|w|0.5|7",
                                 }));
        record.writes.clear();
    }
    EXPECT_EQ(record.writes, (std::vector<std::wstring>{L"h1:</body></html>", L"h2:</body></html>",
                                                        L"t1:log terminated\n"}));
    EXPECT_EQ(record.deleted, (std::vector<std::wstring>{L"h1", L"h2", L"t1"}));
}

TEST(Log, StyleHandling)
{
    struct Case
    {
        const char* name;
        std::vector<std::wstring> styles; // applied in order; "-" = none
        std::wstring expected;
    };
    const Case cases[] = {
        {"no style gets the default div", {}, L"<div class=\"\">x</div>"},
        {"block", {L"block"}, L"<div class=\"block\">x</div>"},
        {"later style replaces earlier", {L"block", L""}, L"<div class=\"\">x</div>"},
    };
    for (const Case& c : cases)
    {
        Record record;
        base::Log log;
        log.AddHtmlOutput(new RecordingOutput(record, L"h"));
        {
            base::LogMessage message(log, std::wstring(L"x"));
            for (const std::wstring& style : c.styles)
                message.SetStyle(base::LogStyle(style));
        }
        ASSERT_EQ(record.writes.size(), 2u) << c.name;
        EXPECT_EQ(record.writes[1], L"h:" + c.expected) << c.name;
    }
}

TEST(Log, MissingAndExtraArgumentsFollowTheFormatter)
{
    Record record;
    base::Log log;
    log.AddTextOutput(new RecordingOutput(record, L"t"));
    base::LogMessage(log, L"a %d b %d c") % 1;
    base::LogMessage(log, L"only %d") % 1 % 2 % 3;
    base::LogMessage(log, static_cast<const wchar_t*>(nullptr));
    ASSERT_EQ(record.writes.size(), 4u);
    EXPECT_EQ(record.writes[1], L"t:a 1 b  c");
    EXPECT_EQ(record.writes[2], L"t:only 1");
    EXPECT_EQ(record.writes[3], L"t:");
}

TEST(Log, MainLogIsASingleton)
{
    base::MainLog* log = base::MainLog::Instance();
    EXPECT_EQ(log, base::MainLog::Instance());
    Record record;
    log->AddTextOutput(new RecordingOutput(record, L"t"));
    base::LogMessage(*log, L"hello\n");
    EXPECT_EQ(record.writes.back(), L"t:hello\n");
    // The exit teardown closes the channels (done here while the record is still alive).
    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(record.writes.back(), L"t:log terminated\n");
    EXPECT_FALSE(base::MainLog::Exists());
}

} // namespace
