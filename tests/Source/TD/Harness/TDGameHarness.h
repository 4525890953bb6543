#pragma once

// The game in-process for the game's tests: the demo data tree (generated once per build, copied fresh for
// each test program), a user-data folder of its own, the game (Game) run on a fixed 1/60 s clock from a reset
// random counter, sounds recorded instead of heard, and mouse events sent through the application to the
// frame manager as the window's input sends them. It runs headless on the recording back end, or on GL in a
// window (under Xvfb).

#include "Core/Base/MathTypes.h"
#include "Source/TD/Data/SoundTags.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace render
{
class RecordingRender;
}

class Game;
class TDMap;

namespace tdtest
{
namespace fs = std::filesystem;

// A fresh copy of the demo data tree for this program (removed at exit); empty, with a test failure, when the
// generator could not make it.
const fs::path& demoDataRoot();

// Every sound the game asked for, in order.
struct SoundLog : w7::SoundObserver
{
    void onSoundTag(const std::wstring& tag, bool known) override;
    void onMusic(const std::wstring& file) override;
    void clear();

    std::vector<std::wstring> tags;        // tags the sheet has
    std::vector<std::wstring> unknownTags; // tags it lacks
    std::vector<std::wstring> music;       // music requests; empty: the music stopped
};

class GameHarness
{
public:
    enum class Backend
    {
        Recording, // headless: the recording back end, no window
        GL         // a window with the GL back end (needs a display)
    };

    static constexpr float kStep = 1.0f / 60.0f;

    explicit GameHarness(Backend backend = Backend::Recording);
    // Ends the game (the map and the board go with it) and removes the user-data folder.
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    // Where start leaves the game.
    enum class Opening
    {
        FirstLevel, // past the splash: the first level of the first episode, played for one frame
        Splash      // as the executable starts: the splash screens have just joined the HUD
    };

    // Starts the game on the demo data as the executable does, then runs the frames in which the board joins
    // the frame manager and the splash screens the HUD (two); with FirstLevel it then loads the first level
    // of the first episode (sounds recorded from there) and runs one more frame. False when it cannot start;
    // on GL, also when there is no display (the caller skips).
    bool start(Opening opening = Opening::FirstLevel);

    // Ends the game as its process does (what the game keeps at exit is written); the user-data folder stays
    // until the harness goes.
    void end();
    // The tutorial of the first level pauses the game and locks the HUD as a new player is guided; scripted
    // runs have it off unless they ask for it before start (the profile is left as it is).
    bool mTutorial = false;

    // Frames of 1/60 s each through the application's whole frame (update, frames, draw, playback).
    void step(int frames = 1);
    // The pointer, in logical coordinates, through the application and the frame manager.
    void move(float x, float y);
    void press(float x, float y);
    void release(float x, float y);
    // The pointer moved with the button held.
    void drag(float x, float y);
    // Move, press and release at one point.
    void click(float x, float y);
    void key(int key);
    // Typed characters, one by one, as the window's text input delivers them.
    void type(const std::wstring& text);
    // The mouse wheel over a point (a notch is 120, positive away from the player).
    void wheel(float x, float y, int delta);

    // Plays another level: the map's mode, episode and level, then the map's level load.
    // The unlock message a level start may open is dismissed as a player would (its "ok", item by item), so
    // the level plays when this returns; keepNotice leaves it open.
    void loadLevel(int mode, int episode, int level, bool keepNotice = false);
    // Presses "ok" on the unlock message until it has gone; false when none was open.
    bool dismissUnlockMessage();
    // The centre of the named button of the top screen (frame button or child button), or of the HUD's own
    // when no screen is up; (-1, -1) when there is no such button visible.
    math::Point2 buttonCentre(const std::wstring& name) const;

    // From now on the game fits its screen to one primary display of this size (its work area the whole of
    // it) instead of the real one, so a window of the widest screen fits a test display that could not
    // hold it. Call after start.
    void useDesktop(int width, int height);

    Game* game() const { return mGame; }
    TDMap* map() const;
    SoundLog& sounds() { return mSounds; }
    // The recording back end (null on GL), and what it played in the last frame, one operation a line.
    render::RecordingRender* recording() const;
    const std::vector<std::string>& lastFrame() const { return mLastFrame; }
    // XDG_DATA_HOME of the game, and the game's folder in it ("Orvalis/Corvantis": profiles.xml, log.html),
    // made empty before the start so a test may put a profile there.
    const fs::path& userData() const { return mUserData; }
    fs::path userFolder() const { return mUserData / "Orvalis" / "Corvantis"; }
    Backend backend() const { return mBackend; }

    // On GL: the picture of the current frame (drawn once more, not presented), rows from the top,
    // 0xAARRGGBB; its size goes to width and height.
    std::vector<uint32_t> readFrame(int& width, int& height) const;

private:
    class Application;

    Backend mBackend;
    Application* mApp = nullptr;
    Game* mGame = nullptr;
    fs::path mUserData;
    SoundLog mSounds;
    std::vector<std::string> mLastFrame;
};

} // namespace tdtest
