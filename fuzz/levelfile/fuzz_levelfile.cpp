// Level files: any bytes are read by the level object (a map made once, without game data) into its
// route network, build spots, spot frames, waves and art, then the level's lanes are prepared and a few
// frames run. Whatever the file says, every spot has its frame, every frame points at a spot of this level,
// and the map never crashes.
#include "Core/App/Application.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Units/TDWaves.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// The fuzzer runs no application.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace
{
// The player's profile lives in a folder of its own, never saved, and removed at exit.
struct UserFolder
{
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corv-fuzz-level-" + std::to_string(::getpid()));
    ~UserFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

TDMap& fuzzMap()
{
    static UserFolder user;
    static TDMap* map = []
    {
        // The data root stays the current folder (the corpus folders are relative to it).
        std::filesystem::create_directories(user.path);
        (void)file::UserDataFileContainer::Instance()->SetPath(user.path.wstring() + L"/");
        file::Profiles::mNoSaveAtExit = true;
        return new TDMap;
    }();
    return *map;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 16))
        return 0;
    TDMap& map = fuzzMap();
    map.parseLevelText(L"fuzz.xml", std::string(reinterpret_cast<const char*>(data), size));
    if (map.mLevelArt)
    {
        std::size_t spots = 0;
        for (const TDFrameEntry* frame : map.mLevelArt->mFrames)
        {
            if (!frame->mLink)
                continue;
            ++spots;
            bool known = false;
            for (const TDBuildSpot* spot : map.mBuildSpots)
                known = known || spot == frame->mLink;
            if (!known)
                std::abort(); // a frame pointing at a spot of another level
        }
        if (spots != map.mLevelArt->mSpotFrames.size() || spots != map.mBuildSpots.size())
            std::abort();
    }
    for (const auto& [frame, id] : map.mPrebuiltTowers)
        if (!frame || id == 0)
            std::abort();
    map.preparePaths();
    map.mState = kStatePlaying;
    for (int frame = 0; frame < 3; ++frame)
        map.update(1.0f / 60.0f);
    return 0;
}
