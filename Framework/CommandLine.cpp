#include "Framework/CommandLine.h"

namespace framework
{

CommandLine ParseCommandLine(const std::vector<std::wstring>& args)
{
    CommandLine line;
    if (args.empty())
        return line;
    const std::wstring& first = args[0];
    CommandLine::Mode mode;
    if (first == L"--data_path")
        mode = CommandLine::Mode::DataPath;
    else if (first == L"--pack")
        mode = CommandLine::Mode::Pack;
    else
        return line;
    line.option = first;
    if (args.size() != 2)
    {
        line.mode = CommandLine::Mode::Invalid;
        return line;
    }
    line.mode = mode;
    line.value = args[1];
    return line;
}

} // namespace framework
