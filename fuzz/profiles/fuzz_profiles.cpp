// Loads arbitrary bytes as "profiles.xml" and drives the store: a damaged file must be kept aside and
// replaced by the default profile, never crash or recurse.
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
// In memory where the system has a tmpfs: every input writes, syncs and renames the file, which on a disk
// would cap the run at a few hundred inputs a second.
std::filesystem::path Base()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = []
    {
        auto p = Base() / ("corv-fuzz-profiles-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        file::UserDataFileContainer::Instance()->SetPath(p.wstring());
        file::Profiles::mNoSaveAtExit = true;
        std::atexit(
            []
            {
                std::error_code ignored;
                std::filesystem::remove_all(
                    Base() / ("corv-fuzz-profiles-" + std::to_string(::getpid())), ignored);
            });
        return p;
    }();
    return folder;
}

// Empties the folder without removing it: the files an input left (the file, kept damaged copies).
void Empty(const std::filesystem::path& folder)
{
    std::error_code error;
    for (const auto& e : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(e.path(), error);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path folder = Folder();
    Empty(folder);
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
