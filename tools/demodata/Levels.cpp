// The level files "td/levels_normal/level_EE_LL.xml" and "td/levels_hardcore/level_EE_LL.xml": art path,
// budget, route points and curved links, build spots and waves, from the level catalogue.
#include <cstdio>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameLevels.h"

namespace demodata
{
namespace
{

using namespace game;

std::string Attr(const char* name, float value)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "<a name=\"%s\" value=\"%g\"/>", name, static_cast<double>(value));
    return buf;
}

std::string LevelXml(const LevelDesc& level, const MapDesc& map)
{
    char buf[256];
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<map>\n";
    xml += "  <li>" + ArtPath(map) + "</li>\n";
    xml += "  <budget>" + std::to_string(level.budget) + "</budget>\n  <points>\n";
    for (const MapPoint& p : map.points)
    {
        std::snprintf(buf, sizeof buf, "    <p id=\"%d\" x=\"%g\" y=\"%g\">", p.id, static_cast<double>(p.x),
                      static_cast<double>(p.y));
        xml += buf;
        if (p.spawn)
            xml += Attr("spawn", 1);
        if (p.goal)
            xml += Attr("goal", 1);
        if (p.upper)
            xml += Attr("upper", 1);
        xml += "</p>\n";
    }
    xml += "  </points>\n  <links>\n";
    for (const MapLink& l : map.links)
    {
        std::snprintf(buf, sizeof buf, "    <l sid=\"%d\" eid=\"%d\" anchor_x=\"%.1f\" anchor_y=\"%.1f\"/>\n",
                      l.sid, l.eid, static_cast<double>(l.ax), static_cast<double>(l.ay));
        xml += buf;
    }
    xml += "  </links>\n  <spots>\n";
    for (const SpotDesc& s : map.spots)
    {
        std::snprintf(buf, sizeof buf, "    <spot x=\"%g\" y=\"%g\">", static_cast<double>(s.x),
                      static_cast<double>(s.y));
        xml += buf;
        xml += Attr("cost_gold", static_cast<float>(s.costGold)) +
               Attr("cost_real", static_cast<float>(s.costGems)) + Attr("type", static_cast<float>(s.type)) +
               Attr("radius_mult", s.radiusMult) + Attr("damage_mult", s.damageMult) +
               Attr("income_mult", s.incomeMult);
        if (s.towerId)
            xml += Attr("tower_id", static_cast<float>(s.towerId));
        xml += "</spot>\n";
    }
    std::snprintf(buf, sizeof buf, "  </spots>\n  <waves timeout=\"%g\">\n",
                  static_cast<double>(level.wavesTimeout));
    xml += buf;
    for (const WaveDesc& w : level.waves)
    {
        std::snprintf(buf, sizeof buf,
                      "    <wave timeout=\"%d\" spawn=\"%d\" wipeAward=\"%d\" scale=\"%g\" linked=\"%d\">\n",
                      w.timeout, w.spawn, w.award, static_cast<double>(w.scale), w.linked);
        xml += buf;
        for (const EntryDesc& e : w.entries)
        {
            std::snprintf(buf, sizeof buf, "      <e id=\"%d\" upgrade=\"%d\" x=\"%g\" y=\"%g\"/>\n", e.id,
                          e.upgrade, static_cast<double>(e.x), static_cast<double>(e.y));
            xml += buf;
        }
        xml += "    </wave>\n";
    }
    xml += "  </waves>\n</map>\n";
    return xml;
}

} // namespace

void WriteLevels(Output& out)
{
    for (const LevelDesc& level : Levels())
        out.WriteText(LevelFileName(level), LevelXml(level, Maps()[static_cast<std::size_t>(level.map)]));
}

} // namespace demodata
