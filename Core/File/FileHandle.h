#pragma once

#include "Core/File/Linux/FileHandleLinux.h"

namespace file
{
// The engine's raw file handle; the platform class does the work.
class FileHandle : public FileHandleLinux
{
};
} // namespace file
