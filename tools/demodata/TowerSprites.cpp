// The tower sprite folders "td/towers/dart", "cannon", "artillery" and "support": one group per tower
// record. Standing towers have "idle" and "blast"; turning towers hold 4 frames for each of 32 directions at
// the root. Every tower marks its base point ("base_point") and shot points ("s_point").
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameArt.h"
#include "tools/demodata/SpriteFolder.h"

namespace demodata
{

void WriteTowerSprites(Output& out)
{
    using namespace game;
    for (Family family : {Family::Dart, Family::Cannon, Family::Artillery, Family::Support})
    {
        SpriteFolder sheet;
        for (const TowerKind& t : Towers())
        {
            if (t.family != family)
                continue;
            const std::string g = t.key;
            TowerFrameSize s = TowerFrameSizeOf(t);
            if (HasFlag(t.flags, "rotating"))
            {
                // Sector k shows the directions from 11.25 x (31 - k) on, drawn at the sector's middle.
                PointF muzzles[32];
                char name[64];
                for (int k = 0; k < 32; ++k)
                    for (int f = 0; f < 4; ++f)
                    {
                        std::snprintf(name, sizeof name, "/r%03d", k * 4 + f);
                        PointF m;
                        sheet.Add(g + name, 0, 0, DrawTurret(t, 11.25f * (31 - k) + 5.625f, f, &m));
                        if (f == 0)
                            muzzles[k] = m;
                    }
                // Shot point i belongs to sector (32 - i) mod 32. The bullet start counts a shot point's x
                // from the right edge of the sheet, so it is stored mirrored.
                for (int i = 0; i < 32; ++i)
                {
                    const PointF& m = muzzles[(32 - i) % 32];
                    sheet.AddMarker(g + "/s_point/" + std::to_string(i),
                                    s.width - static_cast<int>(std::lround(m.x)),
                                    static_cast<int>(std::lround(m.y)));
                }
            }
            else
            {
                for (int f = 0; f < 4; ++f)
                    sheet.Add(g + "/idle/" + std::to_string(f), 0, 0, DrawTower(t, 0, f));
                for (int f = 0; f < 4; ++f)
                    sheet.Add(g + "/blast/" + std::to_string(f), 0, 0, DrawTower(t, 1, f));
                sheet.AddMarker(g + "/s_point/0", s.shotX, s.shotY);
            }
            sheet.AddMarker(g + "/base_point/0", s.baseX, s.baseY);
        }
        sheet.Write(out, "td/towers/" + TowerFolder(family));
    }
}

} // namespace demodata
