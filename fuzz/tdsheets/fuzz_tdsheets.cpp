// Reads arbitrary bytes as the towers, units and ammo sheets (split at the first two NUL bytes) and builds
// the prototype table from them: every row must load, every id be found again, and the upgrade price of every
// branch chain must come back, whatever the rows say.
#include "Source/TD/Data/TDCsvSheet.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <tinyxml2.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string sheets[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i)
    {
        const std::size_t end = i < 2 ? bytes.find('\0', start) : std::string::npos;
        sheets[i] = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }

    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* root = document.NewElement("data");
    document.InsertEndChild(root);
    const char* names[3] = {"towers", "units", "ammo"};
    for (int i = 0; i < 3; ++i)
        parseCsvSheet(sheets[i], root->InsertNewChildElement(names[i]), L"fuzz.csv");

    TDProtoTable table(root);
    for (const TDUnitProto* proto : table.getProtos())
    {
        if (!table.find(proto->id))
            std::abort();
        TDUnitProto copy;
        copy.copyFrom(*proto);
        for (const TDUnitProto* branch : proto->branches)
        {
            if (!table.find(branch->id) || !branch->branches.empty())
                std::abort();
            sumTierCosts(0, proto->branches, *branch);
            sumTierCosts(branch->levelid, proto->branches, *branch);
        }
    }
    table.clear();
    table.load(root);
    return 0;
}
