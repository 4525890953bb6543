// "layers.xml" of image folders: parsing, then every query over what was read.
#include "Core/File/ImageFolder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    file::PsdFolder folder(L"ui", nullptr);
    folder.Parse(reinterpret_cast<const char*>(data), size);
    std::vector<std::wstring> out;
    folder.ListImages(L"", true, &out, false);
    folder.ListImages(L"a", false, &out, true);
    folder.ListGroups(L"", &out, false);
    for (unsigned i = 0; i <= folder.GetImageCount(); ++i)
        if (const base::ImageInfo* info = folder.GetImageInfo(i))
        {
            folder.FindImageInfo(info->mName);
            folder.HasGroup(info->mName);
            folder.HasImage(info->mName);
        }
    return 0;
}
