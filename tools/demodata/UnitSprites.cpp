// The unit sprite folders "td/units/t1units", "t2units" and "t3units": one group per unit kind, named by its
// "psd" column, with the anchor frame at the root and the groups "walk", "death" and "special".
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameArt.h"
#include "tools/demodata/SpriteFolder.h"

namespace demodata
{

void WriteUnitSprites(Output& out)
{
    using namespace game;
    for (const char* folder : {"t1units", "t2units", "t3units"})
    {
        SpriteFolder sheet;
        for (const UnitKind& u : Units())
        {
            if (std::string(u.folder) != folder)
                continue;
            const std::string g = u.key;
            UnitFrameSize s = UnitFrameSizeOf(u);
            sheet.AddMarker(g + "/anchor", s.anchorX, s.anchorY);
            for (int f = 0; f < kWalkFrames; ++f)
                sheet.Add(g + "/walk/" + std::to_string(f), 0, 0, DrawUnit(u, 0, f));
            for (int f = 0; f < kDeathFrames; ++f)
                sheet.Add(g + "/death/" + std::to_string(f), 0, 0, DrawUnit(u, 1, f));
            for (int f = 0; f < kSpecialFrames; ++f)
                sheet.Add(g + "/special/" + std::to_string(f), 0, 0, DrawUnit(u, 2, f));
        }
        sheet.Write(out, std::string("td/units/") + folder);
    }
}

} // namespace demodata
