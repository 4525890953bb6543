#pragma once

#include <map>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Image;
}
namespace tinyxml2
{
class XMLElement;
}

class TDFrameEntry;

// One layered document used as a sprite: its layer groups, each the list of images lying directly in a
// folder of that name ("walk", "death", "f_00" ... and the root group ""), in the document's order.
class TDSpriteSheet
{
public:
    // The 28 groups every sheet is read as, in reading order.
    static const std::vector<std::string>& groupNames();

    // From an element's "psd" (a document or image folder below "td/") and "img" (a plain picture).
    explicit TDSpriteSheet(const tinyxml2::XMLElement& element);
    // The document at a path, keyed by that path.
    explicit TDSpriteSheet(const std::wstring& path);
    // The group of a preloaded folder, keyed "td/" + group; keeps no container.
    TDSpriteSheet(file::ImageContainer& container, const std::wstring& group);
    TDSpriteSheet(const TDSpriteSheet&) = delete;
    TDSpriteSheet& operator=(const TDSpriteSheet&) = delete;
    // Releases every entry's texture, the entries, the sheet's own texture and the container.
    ~TDSpriteSheet();

    // Opens the document through the file manager and reads its groups; a missing one leaves no groups.
    void openDocument(const std::string& path);
    // Reads every group below the prefix (empty: the top of the container), replacing what the group held.
    void loadGroups(file::ImageContainer& container, const std::wstring& prefix);

    // The group's first entry of exactly that name, or null.
    TDFrameEntry* findFrame(const std::wstring& group, const std::wstring& name) const;
    // The entries of a group; an empty list for a group the sheet lacks.
    const std::vector<TDFrameEntry*>& getGroup(const std::string& group) const;
    const std::vector<TDFrameEntry*>& getGroup(const std::wstring& group) const;

    std::wstring mPsdPath;
    std::wstring mImgPath;
    // Loaded from mImgPath; owned.
    render::Image* mTexture = nullptr;
    // Owned; null for sheets cut from a preloaded folder or without a document.
    file::ImageContainer* mContainer = nullptr;
    // The element named a "psd" document.
    bool mFromDocument = false;
    // Group name to owned entries.
    std::map<std::string, std::vector<TDFrameEntry*>> mGroups;

private:
    void deleteGroup(std::vector<TDFrameEntry*>& entries);
};
