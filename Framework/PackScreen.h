#pragma once

#include "Core/Widget/Frame.h"

#include <string>

namespace gui
{

// The screen of "--pack": becoming current writes every mounted pack from its loose folder
// ("data.dat" from "td/"); it draws nothing of its own.
class PackScreen : public widget::BaseBoard
{
public:
    // The argument after "--pack", kept and not used.
    explicit PackScreen(const std::wstring& folderArgument);
    ~PackScreen() override;

    // Builds the packs of every mount in prefix order; the first failure is returned.
    VNResultEnum Init() override;
    // Writes the pack packPath of every loose file below the folder prefix.
    VNResultEnum BuildPack(const std::wstring& prefix, const std::wstring& packPath);

private:
    std::wstring mFolderArgument;
};

} // namespace gui
