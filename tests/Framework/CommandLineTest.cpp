#include "Framework/CommandLine.h"

#include <gtest/gtest.h>

namespace
{

using Mode = framework::CommandLine::Mode;

TEST(CommandLine, OptionsCountOnlyAsTheFirstOfExactlyTwoArguments)
{
    struct Case
    {
        std::vector<std::wstring> args;
        Mode mode;
        std::wstring value;
    };
    const Case cases[] = {
        {{}, Mode::Play, L""},
        {{L"--data_path", L"/srv/data"}, Mode::DataPath, L"/srv/data"},
        {{L"--data_path", L""}, Mode::DataPath, L""},
        {{L"--pack", L"x"}, Mode::Pack, L"x"},
        // Missing value, extra arguments.
        {{L"--data_path"}, Mode::Invalid, L""},
        {{L"--data_path", L"a", L"b"}, Mode::Invalid, L""},
        {{L"--pack"}, Mode::Invalid, L""},
        {{L"--pack", L"x", L"y"}, Mode::Invalid, L""},
        // Not first, other spelling or unknown: ignored.
        {{L"x", L"--data_path", L"/d"}, Mode::Play, L""},
        {{L"--DATA_PATH", L"/d"}, Mode::Play, L""},
        {{L"--data-path", L"/d"}, Mode::Play, L""},
        {{L"--fullscreen"}, Mode::Play, L""},
        {{L"--pack", L"--data_path"}, Mode::Pack, L"--data_path"},
    };
    for (const Case& c : cases)
    {
        const framework::CommandLine line = framework::ParseCommandLine(c.args);
        std::wstring joined;
        for (const auto& a : c.args)
            joined += a + L" ";
        EXPECT_EQ(line.mode, c.mode) << std::string(joined.begin(), joined.end());
        EXPECT_EQ(line.value, c.value) << std::string(joined.begin(), joined.end());
    }
    EXPECT_EQ(framework::ParseCommandLine({L"--pack"}).option, L"--pack");
}

} // namespace
