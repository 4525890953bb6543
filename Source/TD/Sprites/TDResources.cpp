#include "Source/TD/Sprites/TDResources.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"

#include <tinyxml2.h>

#include <memory>

TDResources::~TDResources()
{
    clear();
}

std::vector<base::SingletoneBase*> TDResources::GetDependencies()
{
    std::vector<base::SingletoneBase*> dependencies = {resource::ResourceManager::Instance(),
                                                       file::FileManager::Instance()};
    if (framework::GameApplication* application = framework::GetGameApplication())
        dependencies.push_back(application);
    return dependencies;
}

TDSpriteSheet* TDResources::getSheet(const tinyxml2::XMLElement& element)
{
    const char* psdValue = element.Attribute("psd");
    const char* imgValue = element.Attribute("img");
    const bool hasPsd = psdValue != nullptr && psdValue[0] != '\0';
    const bool hasImg = imgValue != nullptr && imgValue[0] != '\0';
    if (!hasPsd && !hasImg)
        return nullptr;
    const std::wstring psdPath = L"td/" + (hasPsd ? base::ToWide(psdValue, base::kEncodingUtf8) : L"");
    const std::wstring imgPath = L"td/" + (hasImg ? base::ToWide(imgValue, base::kEncodingUtf8) : L"");
    for (TDSpriteSheet* sheet : mSheets)
        if ((hasPsd && sheet->mPsdPath == psdPath) || (hasImg && sheet->mImgPath == imgPath))
            return sheet;
    auto* sheet = new TDSpriteSheet(element);
    mSheets.push_back(sheet);
    return sheet;
}

TDSpriteSheet* TDResources::getSheet(const std::wstring& path)
{
    if (TDSpriteSheet* sheet = findSheet(path))
        return sheet;
    auto* sheet = new TDSpriteSheet(path);
    mSheets.push_back(sheet);
    return sheet;
}

TDSpriteSheet* TDResources::findSheet(const std::wstring& path) const
{
    for (TDSpriteSheet* sheet : mSheets)
        if (sheet->mPsdPath == path)
            return sheet;
    return nullptr;
}

TDFrameEntry* TDResources::findFrame(const std::wstring& sheetPath, const std::wstring& group,
                                     const std::wstring& name) const
{
    const TDSpriteSheet* sheet = findSheet(sheetPath);
    if (sheet == nullptr)
    {
        base::LogMessage(*base::MainLog::Instance(),
                         L"Sprite sheet '%s' is not loaded (looking for '%s').\n") %
            sheetPath % name;
        return nullptr;
    }
    TDFrameEntry* frame = sheet->findFrame(group, name);
    if (frame == nullptr)
        base::LogMessage(*base::MainLog::Instance(),
                         L"Sprite sheet '%s' has no frame '%s' in group '%s'.\n") %
            sheetPath % name % group;
    return frame;
}

render::Image* TDResources::findUiImage(const std::wstring& name) const
{
    const TDFrameEntry* frame = findFrame(L"td/ui", std::wstring(), name);
    return frame != nullptr ? frame->mTexture : nullptr;
}

void TDResources::loadFolder(const std::wstring& path)
{
    file::RegisterImageContainers();
    std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(path));
    if (!container)
    {
        base::LogMessage(*base::MainLog::Instance(), L"Sprite folder '%s' not found.\n") % path;
        return;
    }
    std::vector<std::wstring> groups;
    (void)container->ListGroups(std::wstring(), &groups, false);
    for (const std::wstring& group : groups)
        mSheets.push_back(new TDSpriteSheet(*container, group));
}

void TDResources::clear()
{
    for (TDSpriteSheet* sheet : mSheets)
        delete sheet;
    mSheets.clear();
}
