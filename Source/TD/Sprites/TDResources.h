#pragma once

#include "Core/Base/Singleton.h"

#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDFrameEntry;
class TDSpriteSheet;

namespace render
{
class Image;
}

// The registry of sprite sheets: each loaded once, in registration order, and shared by every user, who
// keeps plain pointers into it until clear.
class TDResources : public base::Singletone<TDResources>
{
public:
    TDResources() = default;
    ~TDResources() override;

    // Sheets hold textures: they go before the application (and its renderer) and the resource manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // The sheet an element names by "psd" or "img" (registered first, else made and registered); null when
    // the element names neither.
    TDSpriteSheet* getSheet(const tinyxml2::XMLElement& element);
    // The sheet of a document path (registered first, else opened and registered).
    TDSpriteSheet* getSheet(const std::wstring& path);
    // The registered sheet of a path, or null; never loads.
    TDSpriteSheet* findSheet(const std::wstring& path) const;
    // The named frame of a group ("" the root) of a registered sheet, or null; never loads a sheet.
    TDFrameEntry* findFrame(const std::wstring& sheetPath, const std::wstring& group,
                            const std::wstring& name) const;
    // The picture of a root frame of the interface sheet ("td/ui") by name, or null (a missing frame is
    // reported as findFrame does).
    render::Image* findUiImage(const std::wstring& name) const;
    // Registers one sheet per top-level group of a preloaded image folder, keyed "td/" + group.
    void loadFolder(const std::wstring& path);
    // Deletes every sheet.
    void clear();

    const std::vector<TDSpriteSheet*>& getSheets() const { return mSheets; }

private:
    std::vector<TDSpriteSheet*> mSheets;
};
