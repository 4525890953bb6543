// Tutorial scripts: any bytes are read as "td/tutorial.xml" by the tutorial of a level object (made once,
// without game data), then every event the script names reaches it, the level restarts (re-arm), the shown
// step is paused and resumed, and the tutorial is skipped. Whatever the script says, every step state the
// profile holds is one of the three, a spot the level lacks is never demanded, nothing stays shown after a
// skip, and nothing crashes.
#include "Core/App/Application.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
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
// The player's profile lives in a folder of its own, never saved at exit, and removed at exit.
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
        std::filesystem::create_directories(user.path);
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
