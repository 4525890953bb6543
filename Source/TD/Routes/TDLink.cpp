#include "Source/TD/Routes/TDLink.h"

#include "Core/Base/Log.h"

#include <tinyxml2.h>

#include <cmath>

TDLink::TDLink(const tinyxml2::XMLElement& element, float mapScale, const std::wstring& source)
{
    anchor_x = element.FloatAttribute("anchor_x", 0.0f) * mapScale;
    anchor_y = element.FloatAttribute("anchor_y", 0.0f) * mapScale;
    sid = element.IntAttribute("sid", 0);
    eid = element.IntAttribute("eid", 0);
    if (!std::isfinite(anchor_x) || !std::isfinite(anchor_y))
    {
        base::LogMessage(*base::MainLog::Instance(),
                         L"%s: route link %d-%d has an anchor that is not a number; read as 0\n") %
            source % sid % eid;
        if (!std::isfinite(anchor_x))
            anchor_x = 0.0f;
        if (!std::isfinite(anchor_y))
            anchor_y = 0.0f;
    }
    base::LogMessage(*base::MainLog::Instance(), L"link loaded!\n");
}

TDLink::TDLink(int startId, int endId, float anchorX, float anchorY)
    : sid(startId), eid(endId), anchor_x(anchorX), anchor_y(anchorY)
{
}
