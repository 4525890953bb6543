// Level files: any bytes are read by the level object (a map made once, without game data) into its
// route network, build spots, spot frames, waves and art, then the level's lanes are prepared and a few
// frames run. Whatever the file says, every spot has its frame, every frame points at a spot of this level,
// and the map never crashes.
#include "Core/App/Application.h"
#include "Core/File/AtomicFile.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
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
// Saving is the profiles target's work. Here every save fails before it touches the disk (the game logs it
// and plays on): a level that ends saves its result, and each save's fsync held the target at a few inputs
// a second. The profile then lives only in memory.
bool failEveryWrite(const char*)
{
    return true;
}

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
        file::SetAtomicFaultHook(failEveryWrite);
        // Nothing is heard: no audio device is opened and no mixing thread competes with the fuzzer.
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        // The player's folder: made for this process and removed at exit; with every write failing it stays
        // empty, so each load gives a new player.
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
    // As a level start does: the level before may have ended (one without waves is won in its first frame),
    // which stops the clock.
    map.mState = kStatePlaying;
    map.mSpeed = 1.0f;
    for (int frame = 0; frame < 3; ++frame)
        map.update(1.0f / 60.0f);

    // Back to a map without a level, a HUD without windows (a level's end opens one) and a new player, so
    // that the next input starts where this one did (a finding never depends on the inputs before it) and
    // what this input made is given back here: an input that keeps memory makes libFuzzer run it again to
    // look for a leak.
    map.parseLevelText(L"fuzz.xml", std::string());
    map.preparePaths(); // drops the lanes
    map.mHud->update(0.0f); // a window opened in the last frame joins the list only here
    map.mHud->deleteWindows();
    file::Profiles::Instance()->Load();
    return 0;
}
