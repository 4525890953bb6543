#pragma once

#include <string>

namespace tinyxml2
{
class XMLElement;
} // namespace tinyxml2

// A route link: a quadratic Bezier curve from point sid through the anchor to point eid. Searches treat it
// as undirected; units walk it from sid to eid.
class TDLink
{
public:
    // Reads "sid", "eid", "anchor_x" and "anchor_y" (0 when absent; the anchor times mapScale). An anchor
    // that is not finite reads as 0 with a warning naming source.
    TDLink(const tinyxml2::XMLElement& element, float mapScale, const std::wstring& source);
    TDLink(int sid, int eid, float anchorX, float anchorY);

    // True when the link joins the two point ids, in either direction.
    bool joins(int a, int b) const { return (sid == a && eid == b) || (sid == b && eid == a); }

    int sid = 0;
    int eid = 0;
    float anchor_x = 0.0f;
    float anchor_y = 0.0f;
};
