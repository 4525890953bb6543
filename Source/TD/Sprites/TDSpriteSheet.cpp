#include "Source/TD/Sprites/TDSpriteSheet.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <tinyxml2.h>

namespace
{

render::Image* loadTexture(const std::wstring& name, file::ImageContainer* container)
{
    framework::GameApplication* application = framework::GetGameApplication();
    return application != nullptr ? application->LoadTexture(name, container) : nullptr;
}

std::wstring attributeText(const tinyxml2::XMLElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value != nullptr ? base::ToWide(value, base::kEncodingUtf8) : std::wstring();
}

const std::vector<TDFrameEntry*>& emptyGroup()
{
    static const std::vector<TDFrameEntry*> empty;
    return empty;
}

} // namespace

const std::vector<std::string>& TDSpriteSheet::groupNames()
{
    static const std::vector<std::string> names = {
        "rotate", "f_00", "f_01",    "f_02", "f_03",       "f_04", "f_05",  "f_06",   "f_07", "f_08",
        "f_09",   "f_10", "f_11",    "f_12", "f_13",       "f_14", "f_15",  "blast",  "idle", "shot",
        "pivot",  "fire", "s_point", "",     "base_point", "walk", "death", "special"};
    return names;
}

TDSpriteSheet::TDSpriteSheet(const tinyxml2::XMLElement& element)
{
    const std::wstring psd = attributeText(element, "psd");
    mPsdPath = L"td/" + psd;
    mImgPath = L"td/" + attributeText(element, "img");
    if (!psd.empty())
    {
        mFromDocument = true;
        openDocument(base::ToNarrow(mPsdPath, base::kEncodingUtf8));
    }
    if (mImgPath != L"td/")
    {
        mTexture = loadTexture(mImgPath, nullptr);
        if (mTexture == nullptr)
            base::LogMessage(*base::MainLog::Instance(), L"Sprite sheet picture '%s' cannot be loaded.\n") %
                mImgPath;
    }
}

TDSpriteSheet::TDSpriteSheet(const std::wstring& path) : mPsdPath(path)
{
    openDocument(base::ToNarrow(path, base::kEncodingUtf8));
}

TDSpriteSheet::TDSpriteSheet(file::ImageContainer& container, const std::wstring& group)
    : mPsdPath(L"td/" + group), mImgPath(L"td/" + group)
{
    loadGroups(container, group);
}

TDSpriteSheet::~TDSpriteSheet()
{
    for (auto& [name, entries] : mGroups)
        deleteGroup(entries);
    mGroups.clear();
    delete mTexture;
    mTexture = nullptr;
    delete mContainer;
    mContainer = nullptr;
}

void TDSpriteSheet::openDocument(const std::string& path)
{
    file::RegisterImageContainers();
    const std::wstring wide = base::ToWide(path, base::kEncodingUtf8);
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(wide);
    if (container == nullptr)
    {
        base::LogMessage(*base::MainLog::Instance(), L"Sprite sheet '%s' not found: it has no frames.\n") %
            wide;
        return;
    }
    delete mContainer;
    mContainer = container;
    loadGroups(*mContainer, std::wstring());
}

void TDSpriteSheet::loadGroups(file::ImageContainer& container, const std::wstring& prefix)
{
    const std::string narrowPrefix = base::ToNarrow(prefix, base::kEncodingUtf8);
    for (const std::string& group : groupNames())
    {
        const std::string folder = prefix.empty() ? group : narrowPrefix + "/" + group;
        std::vector<std::wstring> names;
        (void)container.ListImages(base::ToWide(folder, base::kEncodingUtf8), false, &names, false);
        std::vector<TDFrameEntry*> entries;
        entries.reserve(names.size());
        for (const std::wstring& name : names)
        {
            auto* entry = new TDFrameEntry;
            entry->mTexture = loadTexture(name, &container);
            if (const base::ImageInfo* info = container.FindImageInfo(name))
                entry->mRect = layoutRect(*info);
            entry->mName = name;
            entries.push_back(entry);
        }
        std::vector<TDFrameEntry*>& slot = mGroups[group];
        deleteGroup(slot);
        slot = std::move(entries);
    }
}

TDFrameEntry* TDSpriteSheet::findFrame(const std::wstring& group, const std::wstring& name) const
{
    auto it = mGroups.find(base::ToNarrow(group, base::kEncodingUtf8));
    if (it == mGroups.end())
        return nullptr;
    for (TDFrameEntry* entry : it->second)
        if (entry->mName == name)
            return entry;
    return nullptr;
}

const std::vector<TDFrameEntry*>& TDSpriteSheet::getGroup(const std::string& group) const
{
    auto it = mGroups.find(group);
    return it != mGroups.end() ? it->second : emptyGroup();
}

const std::vector<TDFrameEntry*>& TDSpriteSheet::getGroup(const std::wstring& group) const
{
    return getGroup(base::ToNarrow(group, base::kEncodingUtf8));
}

void TDSpriteSheet::deleteGroup(std::vector<TDFrameEntry*>& entries)
{
    // The sheet's entries share nothing: each texture was loaded for its entry alone.
    for (TDFrameEntry* entry : entries)
    {
        delete entry->mTexture;
        entry->mTexture = nullptr;
        delete entry;
    }
    entries.clear();
}
