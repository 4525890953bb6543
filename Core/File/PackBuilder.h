#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace file
{
// Writes a pack of every loose file below folder (names relative to it, '/' between folders) to packPath.
// The old pack stays whole until the new one is complete: the pack is written to a temporary file, every
// write is checked, each file must deliver exactly the size it was listed with, and only then is it renamed
// over packPath. Runs without a window; failures are logged and give 1.
VNResultEnum BuildPack(const std::wstring& folder, const std::wstring& packPath);

// Builds every pack of the file manager's mount table from its loose folder ("data.dat" from "td/"), in
// prefix order; stops at the first failure and returns it.
VNResultEnum BuildMountedPacks();
} // namespace file
