// "td/upgrades.xml": the permanent upgrades of the catalogue with their steps, gem prices and bonuses.
#include <cstdio>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"

namespace demodata
{

void WriteUpgrades(Output& out)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<upgrades>\n";
    char buf[256];
    for (const game::UpgradeKind& u : game::Upgrades())
    {
        std::snprintf(buf, sizeof buf, "  <upgrade id=\"%d\" section=\"%d\" icon=\"%s\">\n", u.id, u.section,
                      u.icon);
        xml += buf;
        std::snprintf(buf, sizeof buf, "    <unlock episode=\"%d\" level=\"%d\"/>\n", u.unlockEpisode,
                      u.unlockLevel);
        xml += buf;
        xml += "    <targets>";
        for (int t : u.targets)
            xml += "<target id=\"" + std::to_string(t) + "\"/>";
        xml += "</targets>\n    <steps>\n";
        for (const game::UpgradeStep& s : u.steps)
        {
            std::snprintf(buf, sizeof buf, "      <step cost_g=\"0\" cost_r=\"%d\"><attributes>", s.costGems);
            xml += buf;
            for (const auto& [name, value] : s.bonuses)
            {
                std::snprintf(buf, sizeof buf, "<a name=\"%s\" value=\"%g\"/>", name,
                              static_cast<double>(value));
                xml += buf;
            }
            xml += "</attributes></step>\n";
        }
        xml += "    </steps>\n  </upgrade>\n";
    }
    xml += "</upgrades>\n";
    out.WriteText("td/upgrades.xml", xml);
}

} // namespace demodata
