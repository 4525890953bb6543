// Loads arbitrary bytes as "profiles.xml" and drives the store: a damaged file must be kept aside and
// replaced by the default profile, never crash or recurse.
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
std::filesystem::path Folder()
{
    static const std::filesystem::path folder = []
    {
        auto p =
            std::filesystem::temp_directory_path() / ("corv-fuzz-profiles-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        file::UserDataFileContainer::Instance()->SetPath(p.wstring());
        file::Profiles::mNoSaveAtExit = true;
        return p;
    }();
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path folder = Folder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (FILE* f = std::fopen((folder / "profiles.xml").c_str(), "wb"))
    {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    file::Profiles store;
    store.Load();
    if (store.GetCurrentName().empty() && store.GetNames().empty())
        __builtin_trap(); // there is always a current profile after a load
    for (const std::wstring& name : store.GetNames())
        store.SelectProfile(name);
    store.RenameCurrent(L"renamed");
    store.DeleteProfile(L"renamed");
    if (!store.mCurrent)
        __builtin_trap();
    store.Save();
    return 0;
}
