#include "ShopTestSupport.h"

#include <fstream>
#include <sstream>

namespace shoptest
{

void writeProfile(const tdtest::GameHarness& harness, const std::string& inside)
{
    std::ofstream(harness.userFolder() / "profiles.xml")
        << "<Profiles currentProfile=\"Ada\"><Profile name=\"Ada\">" << inside << "</Profile></Profiles>";
}

std::string savedProfiles(const tdtest::GameHarness& harness)
{
    std::ifstream in(harness.userFolder() / "profiles.xml");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace shoptest
