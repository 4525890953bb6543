#pragma once

#include <string>
#include <vector>

namespace framework
{

// What the arguments (program name dropped) ask for. "--data_path DIR" and "--pack X" count only as
// the first of exactly two arguments; any other first argument leaves the defaults.
struct CommandLine
{
    enum class Mode
    {
        Play,     // no recognised option: the data root is the executable's folder
        DataPath, // "--data_path DIR": DIR is the data root
        Pack,     // "--pack X": build the packs instead of playing (X is required, unused)
        Invalid,  // a recognised option without exactly one value after it
    };

    Mode mode = Mode::Play;
    // The option that made the line invalid ("--data_path" or "--pack").
    std::wstring option;
    // DIR of "--data_path", X of "--pack".
    std::wstring value;
};

CommandLine ParseCommandLine(const std::vector<std::wstring>& args);

} // namespace framework
