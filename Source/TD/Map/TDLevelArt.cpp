#include "Source/TD/Map/TDLevelArt.h"

#include "Core/Base/Containers.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"
#include "Source/TD/Sprites/TDResources.h"

#include <algorithm>
#include <memory>

namespace
{
render::Image* spotPicture(const wchar_t* name)
{
    const TDFrameEntry* frame = TDResources::Instance()->findFrame(L"td/spots", std::wstring(), name);
    return frame ? frame->mTexture : nullptr;
}
} // namespace

TDLevelArt::TDLevelArt(const std::string& artPath, TDMap* map)
{
    mSpotImages[kSpotOwned] = spotPicture(L"spots/s");
    mSpotImages[kSpotGold] = spotPicture(L"spots/g");
    mSpotImages[kSpotGems] = spotPicture(L"spots/p");
    mArtLoaded = !artPath.empty() && loadArt(artPath, map);
}

TDLevelArt::~TDLevelArt()
{
    mSpotFrames.clear();
    base::DeleteAll(mFrames);
}

bool TDLevelArt::loadArt(const std::string& artPath, TDMap* map)
{
    std::wstring folder = base::GetDirectoryWithoutDrive(base::ToWide(artPath, base::kEncodingUtf8));
    if (!folder.empty())
        folder.pop_back();
    file::RegisterImageContainers();
    std::unique_ptr<file::ImageContainer> container(
        folder.empty() ? nullptr : file::FileManager::Instance()->OpenImageContainer(folder));
    if (!container)
        return false;
    framework::GameApplication* application = framework::GetGameApplication();
    file::ImageContainer* folderContainer = container.get();
    forEachLayoutImage(
        *container, std::wstring(), false,
        [this, application, folderContainer](const std::wstring& name, const base::ImageInfo& info)
        {
            auto* frame = new TDFrameEntry;
            frame->mRect = layoutRect(info);
            frame->mVisible = true;
            frame->mName = name;
            frame->mTexture = application ? application->LoadTexture(name, folderContainer) : nullptr;
            frame->mOwnsTexture = true;
            frame->mSortKey = frame->mRect.y + frame->mRect.height;
            frame->mDepth = info.mIndex;
            mFrames.push_back(frame);
        });
    if (map)
        map->loadAmbientEffects(*container);
    container.reset();
    sortFrames();
    return true;
}

void TDLevelArt::sortFrames()
{
    std::stable_sort(mFrames.begin(), mFrames.end(), TDFrameEntry::lessByDepth);
}

TDFrameEntry* TDLevelArt::spotAt(int x, int y) const
{
    for (TDFrameEntry* frame : mSpotFrames)
    {
        if (!frame->mVisible)
            continue;
        const float cx = frame->mRect.x + frame->mRect.width * 0.5f;
        const float cy = frame->mRect.y + frame->mRect.height * 0.5f;
        if (pointDistance(static_cast<float>(x), static_cast<float>(y), cx, cy) <= 40.0f)
            return frame;
    }
    return nullptr;
}

render::Image* TDLevelArt::getSpotImage(int type) const
{
    return type >= 0 && type < static_cast<int>(mSpotImages.size())
               ? mSpotImages[static_cast<std::size_t>(type)]
               : mSpotImages[kSpotOwned];
}

std::string levelArtDocument(const std::string& artPath, std::wstring* why)
{
    static const std::string kDataFolder = "/td/data/";
    auto refuse = [why](const wchar_t* reason)
    {
        if (why)
            *why = reason;
        return std::string();
    };
    std::string part;
    if (const std::size_t at = artPath.rfind(kDataFolder); at != std::string::npos)
        part = artPath.substr(at + kDataFolder.size());
    else if (artPath.compare(0, kDataFolder.size() - 1, kDataFolder, 1) == 0)
        part = artPath.substr(kDataFolder.size() - 1);
    else
    {
        // A path below the data folder written without it ("./maps/forest/back.psd"): cutting the length of
        // "td/data/" off it, as a path that has the folder is cut, would name a folder that is not there.
        part = artPath;
        if (part.compare(0, 2, "./") == 0)
            part.erase(0, 2);
        while (!part.empty() && part[0] == '/')
            part.erase(0, 1);
    }
    const std::size_t slash = part.rfind('/');
    if (part.empty() || slash == std::string::npos || slash == 0)
        return refuse(L"names no art folder");
    if (part.find('\\') != std::string::npos || part.find(':') != std::string::npos)
        return refuse(L"leaves the data folder");
    // Every component is a name inside the data tree.
    for (std::size_t start = 0; start <= part.size();)
    {
        const std::size_t end = std::min(part.find('/', start), part.size());
        if (part.compare(start, end - start, "..") == 0 && end - start == 2)
            return refuse(L"leaves the data folder");
        start = end + 1;
    }
    return "td/data/" + part;
}

std::string normaliseArtPath(std::string artPath)
{
    if (artPath.size() > 2 && artPath.compare(0, 2, "./") == 0)
        artPath.erase(0, 2);
    const std::size_t last = artPath.rfind('/');
    if (last != std::string::npos && last > 0)
    {
        const std::size_t previous = artPath.rfind('/', last - 1);
        if (previous != std::string::npos)
            artPath.erase(0, previous);
    }
    if (artPath.size() > 1 && artPath[0] == '/')
        artPath.erase(0, 1);
    return artPath;
}
