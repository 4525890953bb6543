#include "Framework/PackScreen.h"

#include "Core/Base/Log.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackBuilder.h"

namespace gui
{

PackScreen::PackScreen(const std::wstring& folderArgument) : mFolderArgument(folderArgument) {}

PackScreen::~PackScreen() = default;

VNResultEnum PackScreen::Init()
{
    for (const auto& [prefix, packPath] : file::FileManager::Instance()->mMounts)
    {
        if (const VNResultEnum r = BuildPack(prefix, packPath); r != VN_OK)
        {
            base::LogMessage(*base::MainLog::Instance(), L"Writing the packs failed\n");
            return r;
        }
    }
    base::LogMessage(*base::MainLog::Instance(), L"Packs written\n");
    return VN_OK;
}

VNResultEnum PackScreen::BuildPack(const std::wstring& prefix, const std::wstring& packPath)
{
    return file::BuildPack(prefix, packPath);
}

} // namespace gui
