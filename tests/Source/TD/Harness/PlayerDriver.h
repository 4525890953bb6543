#pragma once

// Plays the real executable as a player does: the game on a private virtual display with a fresh user folder,
// its window found by its title, the mouse and the keys pressed through the XTest extension in the logical
// units of the game's screen, the screen grabbed and compared with the layout pictures of the data, and the
// log and the profiles read from the user folder. Every wait is for a condition, with a deadline.

#include "Framework/ScreenFit.h"
#include "Support/XWindows.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

struct _XDisplay;

namespace tdtest
{
namespace fs = std::filesystem;

// The game window's picture, addressed by window pixel or by logical point.
struct Shot
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // rows from the top, 0x00RRGGBB
    framework::ScreenFit fit;

    bool empty() const { return pixels.empty(); }
    // 0 outside the picture.
    uint32_t pixel(int x, int y) const;
    uint32_t at(float logicalX, float logicalY) const
    {
        return pixel(toWindowX(logicalX), toWindowY(logicalY));
    }
    int toWindowX(float logicalX) const;
    int toWindowY(float logicalY) const;
    bool save(const fs::path& file) const;
};

// A named layer of a layout folder of the data ("td/main_menu" and "button/b2_play/pos").
struct LayoutLayer
{
    math::Rect rect;
    fs::path picture; // the layer's PNG, when it has one
    float centreX() const { return rect.x + rect.width * 0.5f; }
    float centreY() const { return rect.y + rect.height * 0.5f; }
};

// The layer, or nothing when the folder has no such layer.
std::optional<LayoutLayer> findLayoutLayer(const fs::path& dataRoot, const std::string& folder,
                                           const std::string& name);

// The share (0..1) of the layer picture's opaque pixels that the shot shows at the layer's place, each
// channel within tolerance; 0 when the picture cannot be read. Text drawn over a face lowers it a little.
double layerMatch(const Shot& shot, const LayoutLayer& layer, int tolerance = 40);

// The log's entries that report a problem: warning blocks, errors and failures.
std::vector<std::string> logWarnings(const std::string& log);

class PlayerDriver
{
public:
    struct Options
    {
        fs::path dataRoot;
        // The test's own folder: the user folder and the game's output go there.
        fs::path folder;
        // Where the last grab of a failed wait is kept (the test folder when empty).
        fs::path shotFolder;
        int screenWidth = 1366;
        int screenHeight = 768;
        // A window manager run on the display before the game starts ("openbox"); a bare server when empty.
        std::string windowManager;
    };

    explicit PlayerDriver(Options options);
    // Ends the game and the display if they still run.
    ~PlayerDriver();
    PlayerDriver(const PlayerDriver&) = delete;
    PlayerDriver& operator=(const PlayerDriver&) = delete;

    // Starts the display and the game and waits for the game's window; the reason when it cannot.
    std::string start(std::chrono::milliseconds timeout = std::chrono::seconds(120));

    // Pointer and keys, in the game's logical units; each waits until the server has the events.
    void moveTo(float x, float y);
    void click(float x, float y);
    void click(const LayoutLayer& layer) { click(layer.centreX(), layer.centreY()); }
    // A key by its X keysym name ("Return", "w", "Escape"), optionally with Alt held.
    void key(const std::string& keysym, bool alt = false);
    // Letters and digits, one key each.
    void type(const std::string& text);

    Shot grab();
    // Grabs until the condition holds; false at the deadline, when the last grab is kept as <what>.png in the
    // shot folder for whoever reads the failure.
    bool waitForShot(const std::string& what, const std::function<bool(const Shot&)>& condition,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Until the layer's picture shows at its place (share at least minimum).
    bool waitForLayer(const std::string& folder, const std::string& name, double minimum = 0.6,
                      std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // The layer of the data's layout; a test failure when it has none.
    LayoutLayer layer(const std::string& folder, const std::string& name) const;
    bool shows(const Shot& shot, const std::string& folder, const std::string& name,
               double minimum = 0.6) const;

    // The game's exit code once it ended by itself, -1 when it still runs at the deadline.
    int waitExit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Asks the game to end as the system does at shut-down (SIGTERM); its exit code as waitExit gives it.
    int quit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    bool running();

    fs::path userFolder() const { return mOptions.folder / "xdg" / "Orvalis" / "Corvantis"; }
    std::string log() const;
    std::string profiles() const;
    // What the game wrote to stdout and stderr.
    std::string output() const;
    const fs::path& dataRoot() const { return mOptions.dataRoot; }
    // The window's place on the screen and its size (after a mode switch, once the game has redrawn).
    int windowX() const { return mWindowX; }
    int windowY() const { return mWindowY; }
    int windowWidth() const { return mWindowWidth; }
    int windowHeight() const { return mWindowHeight; }
    bool findWindow();

private:
    std::string startDisplay();
    std::string startWindowManager();
    void stop();
    void sync();

    Options mOptions;
    pid_t mServer = -1;
    pid_t mManager = -1;
    pid_t mGame = -1;
    std::string mDisplayName;
    _XDisplay* mDisplay = nullptr;
    unsigned long mWindow = 0;
    int mWindowX = 0;
    int mWindowY = 0;
    int mWindowWidth = 0;
    int mWindowHeight = 0;
    framework::ScreenFit mFit;
};

} // namespace tdtest
