#pragma once
// Sprite documents written as image folders: every layer is a rectangle of a packed atlas picture, one atlas
// per top-level group, so a folder of many sprites stays a handful of files.
#include <map>
#include <string>
#include <vector>

#include "tools/demodata/Canvas.h"
#include "tools/demodata/Output.h"

namespace demodata
{

class SpriteFolder
{
public:
    // With `oneAtlas` every layer goes into one atlas (small documents), else one atlas per top-level group.
    explicit SpriteFolder(bool oneAtlas = false) : mOneAtlas(oneAtlas) {}

    // A layer named `name` (lower case, '/' between groups) at (x, y) of its document.
    void Add(const std::string& name, int x, int y, const Canvas& image);
    // A small marker layer whose top-left corner is the point (x, y): anchors, shot and base points.
    void AddMarker(const std::string& name, int x, int y);
    // Packs the atlases ("<group>_atlas.png") and writes them with "layers.xml" below `dir`.
    void Write(Output& out, const std::string& dir) const;
    bool Empty() const { return mLayers.empty(); }

private:
    struct Layer
    {
        std::string name;
        int x, y;
        int image; // index into mImages
    };
    bool mOneAtlas;
    std::vector<Layer> mLayers;
    std::vector<Canvas> mImages;
};

} // namespace demodata
