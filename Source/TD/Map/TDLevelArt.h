#pragma once

#include <array>
#include <string>
#include <vector>

namespace render
{
class Image;
}

class TDFrameEntry;
class TDMap;

// The pictures of one level: the root layers of its art folder (ground, scenery, front layers), one frame per
// build spot with the boost icons under it, and the three spot pictures. The map draws the frames every frame
// and finds spots under the pointer here.
class TDLevelArt
{
public:
    enum SpotImage
    {
        kSpotOwned = 0,
        kSpotGold = 1,
        kSpotGems = 2
    };

    // The spot pictures ("spots/s", "spots/g", "spots/p" of the preloaded sheet "td/spots"), then the art of
    // the folder holding artPath ("td/data/maps/forest/back.psd" reads the folder "td/data/maps/forest"); an
    // empty path reads no art. map (may be null) receives the folder's ambient effect places.
    TDLevelArt(const std::string& artPath, TDMap* map);
    TDLevelArt(const TDLevelArt&) = delete;
    TDLevelArt& operator=(const TDLevelArt&) = delete;
    // Deletes every frame.
    ~TDLevelArt();

    // One frame per root layer of the folder, owning its texture, sorted by layer index; then the ambient
    // effects of its group "fx". False, and no frames, when the folder is missing.
    bool loadArt(const std::string& artPath, TDMap* map);
    // Stable sort of the frames by layer index (spot frames and icons come first, at -1).
    void sortFrames();
    // The first visible spot frame, in spot order, whose centre lies within 40 units of the map point.
    TDFrameEntry* spotAt(int x, int y) const;

    // The picture of a spot type (0 owned or free, 1 bought with money, 2 bought with gems); other types
    // read as 0. Null when the sheet lacks it.
    render::Image* getSpotImage(int type) const;

    // Not owned: the spot frames, in spot order.
    std::vector<TDFrameEntry*> mSpotFrames;
    // Owned: the art layers, the spot frames and their icons, in drawing order of the layout.
    std::vector<TDFrameEntry*> mFrames;
    // Not owned.
    std::array<render::Image*, 3> mSpotImages{};
    // The art folder was found.
    bool mArtLoaded = false;
};

// The level file's art path ("li") made into the art document under "td/data/": the text after the last
// "/td/data/" (or after a leading "td/data/"); a path without the folder is taken as below it. Empty, with
// the reason in why, when it names no folder or leaves the data tree.
std::string levelArtDocument(const std::string& artPath, std::wstring* why);
// The art path as the map keeps it: a leading "./" dropped, then only the last two components (folder and
// file name) without a leading "/".
std::string normaliseArtPath(std::string artPath);
