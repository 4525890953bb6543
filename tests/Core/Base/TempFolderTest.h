#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace basetest
{
// A fresh folder for each test (named after the process and the test), removed afterwards.
class TempFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        mDir = std::filesystem::temp_directory_path() /
               ("corv_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(mDir);
        std::filesystem::create_directories(mDir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(mDir, ignored);
    }

    std::wstring PathOf(const std::string& relative) const { return (mDir / relative).wstring(); }

    void MakeFile(const std::string& relative, const std::string& bytes) const
    {
        std::ofstream(mDir / relative, std::ios::binary) << bytes;
    }

    std::filesystem::path mDir;
};
} // namespace basetest
