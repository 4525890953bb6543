#pragma once

#include "Source/TD/Routes/TDRoutes.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>

namespace routestest
{
// The shared log capture, under the names these tests use.
struct LogCapture
{
    static std::wstring& text() { return tdtest::LogCapture::Text(); }
    // Installs the capture (once) and empties it.
    static void start() { tdtest::LogCapture::Reset(); }
    static bool has(const std::wstring& part) { return text().find(part) != std::wstring::npos; }
    static int count(const std::wstring& part) { return tdtest::LogCapture::CountLines(part); }
};

// Loads the points and links of a level document's `map` element.
inline void loadLevel(TDRoutes& routes, const char* xml, float mapScale = 1.0f)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(xml), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* map = doc.FirstChildElement("map");
    ASSERT_NE(map, nullptr);
    routes.loadPoints(map->FirstChildElement("points"), mapScale);
    routes.loadLinks(map->FirstChildElement("links"), mapScale);
}

// Two spawns, one goal, a fork with a short chord over a long curve and a straight detour, and an island:
//
//   1 (spawn) -- 2 --(curve)-- 3 -- 5 (goal)        7 (alone)
//                 \-- 4 -------/
//   6 (spawn) ----/
inline const char* kForkLevel = R"(<map><points>
  <p id="1" x="0" y="100"><a name="spawn" value="1"/></p>
  <p id="2" x="100" y="100"/>
  <p id="3" x="200" y="60"/>
  <p id="4" x="200" y="160"/>
  <p id="5" x="300" y="100"><a name="goal" value="1"/></p>
  <p id="6" x="100" y="300"><a name="spawn" value="1"/></p>
  <p id="7" x="600" y="600"/>
</points><links>
  <l sid="1" eid="2" anchor_x="50" anchor_y="100"/>
  <l sid="2" eid="3" anchor_x="150" anchor_y="-200"/>
  <l sid="2" eid="4" anchor_x="150" anchor_y="130"/>
  <l sid="3" eid="5" anchor_x="250" anchor_y="80"/>
  <l sid="4" eid="5" anchor_x="250" anchor_y="130"/>
  <l sid="6" eid="4" anchor_x="150" anchor_y="230"/>
</links></map>)";

inline bool sameSamples(const TDLaneSamples& a, const TDLaneSamples& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (a[i].nx != b[i].nx || a[i].ny != b[i].ny || a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    }
    return true;
}
} // namespace routestest
