#include "tools/demodata/SpriteFolder.h"

#include <algorithm>

#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/ImageFolder.h"

namespace demodata
{
namespace
{

constexpr int kPad = 2;         // transparent gap around every cell, so filtering never picks a neighbour
constexpr int kMaxWidth = 1024; // atlas rows wrap at this width

std::string TopGroup(const std::string& name)
{
    std::size_t slash = name.find('/');
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
}

} // namespace

void SpriteFolder::Add(const std::string& name, int x, int y, const Canvas& image)
{
    mImages.push_back(image);
    mLayers.push_back({name, x, y, static_cast<int>(mImages.size()) - 1});
}

void SpriteFolder::AddMarker(const std::string& name, int x, int y)
{
    Add(name, x, y, Canvas(2, 2, Rgba{255, 255, 255, 200}));
}

void SpriteFolder::Write(Output& out, const std::string& dir) const
{
    // Group the layers by their top-level group, keeping the order of first appearance.
    std::vector<std::string> groups;
    std::map<std::string, std::vector<std::size_t>> members;
    for (std::size_t i = 0; i < mLayers.size(); ++i)
    {
        std::string g = mOneAtlas ? std::string() : TopGroup(mLayers[i].name);
        if (!members.count(g))
            groups.push_back(g);
        members[g].push_back(i);
    }
    std::vector<FolderLayer> layers(mLayers.size());
    for (const std::string& g : groups)
    {
        // Shelf packing in layer order: rows of cells, a new row when the width is used up.
        const std::vector<std::size_t>& list = members[g];
        std::vector<std::pair<int, int>> at(list.size());
        int x = 0, y = 0, rowHeight = 0, width = 0;
        for (std::size_t k = 0; k < list.size(); ++k)
        {
            const Canvas& c = mImages[mLayers[list[k]].image];
            if (x > 0 && x + c.Width() + kPad > kMaxWidth)
            {
                x = 0;
                y += rowHeight;
                rowHeight = 0;
            }
            at[k] = {x + kPad, y + kPad};
            x += c.Width() + 2 * kPad;
            rowHeight = std::max(rowHeight, c.Height() + 2 * kPad);
            width = std::max(width, x);
        }
        int height = y + rowHeight;
        Canvas atlas(width, height);
        const std::string atlasName = (g.empty() ? std::string("sheet") : g) + "_atlas.png";
        for (std::size_t k = 0; k < list.size(); ++k)
        {
            const Layer& l = mLayers[list[k]];
            const Canvas& c = mImages[l.image];
            for (int j = 0; j < c.Height(); ++j)
                for (int i = 0; i < c.Width(); ++i)
                    atlas.At(at[k].first + i, at[k].second + j) = c.At(i, j);
            FolderLayer f{l.name, l.x, l.y, c.Width(), c.Height(), atlasName};
            f.tu1 = static_cast<double>(at[k].first) / width;
            f.tu2 = static_cast<double>(at[k].first + c.Width()) / width;
            f.tv1 = 1.0 - static_cast<double>(at[k].second + c.Height()) / height;
            f.tv2 = 1.0 - static_cast<double>(at[k].second) / height;
            layers[list[k]] = f;
        }
        out.Write(dir + "/" + atlasName, EncodePng(atlas));
    }
    out.WriteText(dir + "/layers.xml", LayersXml(layers));
}

} // namespace demodata
