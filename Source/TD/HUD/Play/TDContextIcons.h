#pragma once

#include <map>
#include <string>

namespace render
{
class Image;
}

// The pictures of the sheet "td/ui" that the context menu and the map's tower marks use, looked up once when
// the map loads its interface pieces. None is owned (the sprite registry keeps the sheet); a frame the sheet
// lacks stays null and is drawn as nothing.
struct TDContextIcons
{
    // Fills every slot from the registry's "td/ui" sheet.
    void load();

    // The tower picture of a prototype id; null for an id without one.
    render::Image* towerIcon(int protoId) const;
    // The effect picture of a prototype's add-on ("dot", "aim", "splash", ...); null for any other add-on.
    render::Image* addonIcon(const std::string& addon) const;

    render::Image* brush = nullptr;
    render::Image* boostMarker = nullptr;
    render::Image* level2 = nullptr;
    render::Image* level3 = nullptr;
    render::Image* sell = nullptr;
    render::Image* buy = nullptr;
    render::Image* bar = nullptr;
    // The range disc, 336 across at scale 1.
    render::Image* range = nullptr;
    render::Image* starMarks[3] = {nullptr, nullptr, nullptr};
    std::map<int, render::Image*> towers;
    // By effect key ("dot", "aimed", "splash", "firesplash", ...).
    std::map<std::string, render::Image*> effects;
};
