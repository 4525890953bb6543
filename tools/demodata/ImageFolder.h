#pragma once
// Image folders: one picture per layer (or rectangles of an atlas) listed in "layers.xml".
#include <string>
#include <vector>

namespace demodata
{

struct FolderLayer
{
    std::string name; // path with '/' between groups
    int x, y, width, height;
    std::string atlas;                         // empty: a file named like the layer
    double tu1 = 0, tv1 = 0, tu2 = 0, tv2 = 0; // atlas corners, v counted from the atlas bottom
    int opacity = 255;
    bool textPlace = false; // no picture file: a place the game writes a text into (marked place="1")
};

// The "layers.xml" text; `ind` is each layer's position in the list.
std::string LayersXml(const std::vector<FolderLayer>& layers);

} // namespace demodata
