// Tutorial scripts: any bytes are read as "td/tutorial.xml" by the tutorial of a level object (made once,
// without game data), then every event the script names reaches it, the level restarts (re-arm), the shown
// step is paused and resumed, and the tutorial is skipped. Whatever the script says, every step state the
// profile holds is one of the three, a spot the level lacks is never demanded, nothing stays shown after a
// skip, and nothing crashes.
#include "Core/App/Application.h"
#include "Core/File/AtomicFile.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
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
// and plays on): a tutorial input saves the profile a few dozen times, and each save's fsync held the
// target at a few inputs a second. The profile then lives only in memory.
bool failEveryWrite(const char*)
{
    return true;
}

struct UserFolder
{
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corv-fuzz-tutorial-" + std::to_string(::getpid()));
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
        file::SetAtomicFaultHook(failEveryWrite);
        // Nothing is heard: no audio device is opened and no mixing thread competes with the fuzzer.
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        // The player's folder: made for this process and removed at exit; with every write failing it stays
        // empty, so each load gives a new player.
        (void)file::UserDataFileContainer::Instance()->SetPath(user.path.wstring() + L"/");
        file::Profiles::mNoSaveAtExit = true;
        auto* made = new TDMap;
        made->mState = kStatePlaying;
        TDTutorial::useMap(made);
        return made;
    }();
    return *map;
}

void checkStates(TDMap& map, TDTutorial& tutorial)
{
    for (const auto& step : tutorial.getSteps())
    {
        const int state = map.mProfile->getTutorialStepState(step->mId);
        if (state < 0 || state > 2 || step->mState < 0 || step->mState > 2)
            std::abort();
    }
    // The fuzz map has no level, so no spot may be demanded.
    if (map.mTutorialSpot != -1)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 14))
        return 0;
    TDMap& map = fuzzMap();
    TDTutorial& tutorial = *TDTutorial::Instance();
    // Every input starts from a new player (the step states of earlier inputs would pile up and make a
    // finding depend on the inputs before it).
    file::Profiles::Instance()->Load();
    map.mProfile->setTutorialAvailable(true);
    tutorial.reloadState();
    tutorial.loadScript(std::string(reinterpret_cast<const char*>(data), size), L"fuzz.xml");

    std::set<std::wstring> events;
    for (const auto& step : tutorial.getSteps())
    {
        if (events.size() >= 24)
            break;
        events.insert(step->mActivate);
        events.insert(step->mComplete);
    }
    for (int round = 0; round < 2; ++round)
    {
        for (const std::wstring& event : events)
        {
            tutorial.onEvent(event);
            checkStates(map, tutorial);
            tutorial.update(1.0f / 60.0f);
            tutorial.mouseMove(100, 100);
        }
        tutorial.pause();
        tutorial.resume();
        tutorial.rearm();
        checkStates(map, tutorial);
        if (tutorial.isShown() || map.mHud->mBlockUI != 0)
            std::abort(); // a level start leaves nothing of the tutorial up
    }
    for (const std::wstring& event : events)
        tutorial.onEvent(event);
    tutorial.skip();
    if (tutorial.isShown() || tutorial.isEnabled() || !tutorial.getPictureLayers().empty() ||
        !tutorial.getTextLayers().empty() || map.mHud->mBlockUI != 0 || map.mHud->mBlockShop != 0)
        std::abort();
    for (const std::wstring& event : events)
        tutorial.onEvent(event);
    if (tutorial.isShown())
        std::abort(); // a skipped tutorial ignores every event
    return 0;
}
