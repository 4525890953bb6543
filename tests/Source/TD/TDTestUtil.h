#pragma once
// Shared by the game world tests: a fresh data root with a user-data folder of its own, small writers, the
// level position the rules ask, and a capture of the log.

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/File/FileTestUtil.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Source/TD/Data/TDLevelCursor.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include <unistd.h>

namespace tdtest
{
namespace fs = std::filesystem;

// Runs the demo-data generator (exe) into a new temporary folder named after pattern (ending in XXXXXX):
// the folder, or an empty path (nothing left behind) when the folder or the data could not be made.
inline fs::path generateDemoData(const char* exe, const char* pattern)
{
    std::string folder = (fs::temp_directory_path() / pattern).string();
    if (mkdtemp(folder.data()) == nullptr)
        return {};
    const std::string command = std::string("'") + exe + "' '" + folder + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        return {};
    }
    return folder;
}

// Where the player stands, set by the test.
struct Cursor : TDLevelCursor
{
    int mode = kModeNormal;
    int episode = 0;
    int level = 0;

    int getGameMode() const override { return mode; }
    int getEpisodeIndex() const override { return episode; }
    int getLevelIndex() const override { return level; }
};

// Collects what is written to the process log while it is alive (one capture per test).
class LogCapture : public base::LogOutput
{
public:
    void Write(const std::wstring& text) override { Text() += text; }
    // Never destroyed: the log writes its last line at exit, after the statics of the test are gone.
    static std::wstring& Text()
    {
        static std::wstring* text = new std::wstring;
        return *text;
    }
    // Installs one capture in the process log (once) and empties what it holds.
    static void Reset()
    {
        static bool installed = false;
        if (!installed)
        {
            base::MainLog::Instance()->AddTextOutput(new LogCapture);
            installed = true;
        }
        Text().clear();
    }
    static int CountLines(const std::wstring& part)
    {
        int count = 0;
        for (std::size_t at = Text().find(part); at != std::wstring::npos; at = Text().find(part, at + 1))
            ++count;
        return count;
    }
};

// A fresh data root (the current directory) with a user-data folder below it; "profiles.xml" starts
// missing and nothing is saved at exit.
class GameDataTest : public filetest::DataRootTest
{
protected:
    void SetUp() override
    {
        filetest::DataRootTest::SetUp();
        mUser = mRoot / "user";
        fs::create_directories(mUser);
        file::UserDataFileContainer::Instance()->SetPath(mUser.wstring());
        file::Profiles::mCorrupt = false;
        file::Profiles::mNoSaveAtExit = true;
        LogCapture::Reset();
    }

    void Write(const std::string& path, const std::string& text) { filetest::WriteBytes(mRoot / path, text); }
    std::string Read(const std::string& path) { return filetest::ReadBytes(mRoot / path); }
    std::string ReadProfiles() { return filetest::ReadBytes(mUser / "profiles.xml"); }

    fs::path mUser;
};
} // namespace tdtest
