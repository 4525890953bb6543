#pragma once

// A scratch data root for loading animation and mesh files through the file manager, and builders of small
// records.

#include "Core/Animation/AnimData.h"
#include "Core/File/FileManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace test
{

// Makes a fresh folder the data root for the life of the object.
class ScratchRoot
{
public:
    ScratchRoot()
    {
        mOld = std::filesystem::current_path();
        mDir = std::filesystem::temp_directory_path() /
               ("anim-test-" + std::to_string(::getpid()) + "-" + std::to_string(sCounter++));
        std::filesystem::remove_all(mDir);
        std::filesystem::create_directories(mDir);
        EXPECT_EQ(file::FileManager::Instance()->SetRootPath(mDir.wstring()), VN_OK);
    }
    ~ScratchRoot()
    {
        std::filesystem::current_path(mOld);
        std::error_code ignored;
        std::filesystem::remove_all(mDir, ignored);
    }

    void Write(const std::string& path, const std::string& bytes)
    {
        const std::filesystem::path full = mDir / path;
        std::filesystem::create_directories(full.parent_path());
        std::ofstream(full, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    const std::filesystem::path& Dir() const { return mDir; }

private:
    static inline int sCounter = 0;
    std::filesystem::path mOld;
    std::filesystem::path mDir;
};

inline lightwave::Envelope Constant(float value)
{
    lightwave::Envelope e;
    lightwave::Key k;
    k.value = value;
    k.shape = lightwave::ShapeLinear;
    e.keys.push_back(k);
    return e;
}

inline lightwave::Envelope Ramp(float t0, float v0, float t1, float v1)
{
    lightwave::Envelope e;
    lightwave::Key a;
    a.time = t0;
    a.value = v0;
    a.shape = lightwave::ShapeLinear;
    lightwave::Key b = a;
    b.time = t1;
    b.value = v1;
    e.keys = {a, b};
    return e;
}

// A record that leaves the layer where it is (scale 1) apart from the given dissolve envelope.
inline animation::LayerRecord FadeRecord(const lightwave::Envelope& dissolve,
                                         const std::string& library = "screen_res",
                                         const std::string& mesh = "null")
{
    animation::LayerRecord r;
    r.name = "dialog";
    r.meshLibrary = library;
    r.meshName = mesh;
    for (int i = 0; i < animation::ChannelCount; ++i)
        r.channels[i] =
            Constant(i >= animation::ChannelScaleX && i <= animation::ChannelScaleZ ? 1.0f : 0.0f);
    r.channels[animation::ChannelDissolve] = dissolve;
    return r;
}

} // namespace test
