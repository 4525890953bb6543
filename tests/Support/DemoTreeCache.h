#pragma once
// The demo data tree of the build's generator, made once per build for every test program: the first program
// that needs it generates it while the others wait on a lock, because each test runs in a process of its own
// and generating under the sanitizers takes long. Tests only read the tree; what a test writes goes to its
// own folder.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport
{

// The tree's data root under cache, made by generator when this generator build has none there yet; empty
// when the generator failed.
inline std::filesystem::path CachedDemoTree(const std::filesystem::path& cache, const std::string& generator)
{
    namespace fs = std::filesystem;
    // A new generator build makes a new tree.
    struct stat info
    {
    };
    const std::string stamp = ::stat(generator.c_str(), &info) != 0
                                  ? std::string("none")
                                  : std::to_string(static_cast<long long>(info.st_size)) + "-" +
                                        std::to_string(static_cast<long long>(info.st_mtim.tv_sec)) + "-" +
                                        std::to_string(static_cast<long long>(info.st_mtim.tv_nsec));
    std::error_code error;
    fs::create_directories(cache, error);
    const fs::path tree = cache / ("tree-" + stamp);
    const int lock = ::open((cache / "lock").c_str(), O_CREAT | O_RDWR, 0644);
    if (lock >= 0)
        ::flock(lock, LOCK_EX);
    if (!fs::exists(tree / "complete"))
    {
        // Trees of earlier generators are of no more use.
        for (const fs::directory_entry& entry : fs::directory_iterator(cache, error))
            if (entry.path().filename().string().rfind("tree-", 0) == 0)
                fs::remove_all(entry.path(), error);
        const std::string command =
            "'" + generator + "' '" + (tree / "data").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0)
            std::ofstream(tree / "complete") << "generated\n";
    }
    if (lock >= 0)
    {
        ::flock(lock, LOCK_UN);
        ::close(lock);
    }
    return fs::exists(tree / "complete") ? tree / "data" : fs::path();
}

} // namespace testsupport
