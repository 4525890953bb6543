#pragma once

#include "Core/File/Archiver.h"
#include "Core/File/FileManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace filetest
{
namespace fs = std::filesystem;

inline void WriteBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path().empty() ? fs::path(".") : path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The temporary files an atomic write of path left beside it ("<name>.tmp-..."), by name.
inline std::vector<std::string> TempFilesBeside(const fs::path& path)
{
    std::vector<std::string> found;
    const fs::path dir = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const std::string prefix = path.filename().string() + ".tmp";
    std::error_code ignored;
    for (const auto& e : fs::directory_iterator(dir, ignored))
        if (e.path().filename().string().rfind(prefix, 0) == 0)
            found.push_back(e.path().filename().string());
    return found;
}

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder made the current directory (the data root) for one test; the file manager's mounts and
// archive cache start empty, as in a new process.
class DataRootTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOld = fs::current_path();
        mRoot = fs::temp_directory_path() / ("corv-file-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(mRoot);
        fs::create_directories(mRoot);
        fs::current_path(mRoot);
        ResetFileManager();
    }

    void TearDown() override
    {
        ResetFileManager();
        fs::current_path(mOld);
        std::error_code ignored;
        fs::remove_all(mRoot, ignored);
    }

    static void ResetFileManager()
    {
        file::FileManager* manager = file::FileManager::Instance();
        manager->mMounts.clear();
        for (auto& [path, archive] : manager->mArchives)
            delete archive;
        manager->mArchives.clear();
    }

    fs::path mOld;
    fs::path mRoot;
};

inline std::vector<std::wstring> Sorted(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace filetest
