#pragma once
// Plays a program under test on an X display of the test's own, from outside, as a player would: the
// pointer and its button through the XTEST extension, the screen read back from the root window, and the
// place and size of a top-level window found by its title.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace xtest
{

// A window's client area in root coordinates.
struct ClientArea
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The picture of the whole screen, 0xRRGGBB, rows from the top.
struct ScreenShot
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const;
    // Writes it as a PNG; false when that fails.
    bool Save(const std::string& path) const;
};

class XPlayer
{
public:
    // Connects to the named display (":12"); IsOpen tells whether that worked and XTEST is there.
    explicit XPlayer(const std::string& display);
    ~XPlayer();
    XPlayer(const XPlayer&) = delete;
    XPlayer& operator=(const XPlayer&) = delete;

    bool IsOpen() const { return mDisplay != nullptr; }

    // Moves the pointer there (root coordinates), presses and releases the left button.
    void Click(int x, int y);
    // Presses and releases the key of each letter or digit in turn (lower-case letters; no shift).
    void Type(const std::string& text);
    ScreenShot Shoot();
    // The client area of the top-level window with exactly this title; false when there is none.
    bool FindClientArea(const std::string& title, ClientArea& out);

private:
    void* mDisplay = nullptr; // Display*
};

// Polls condition every 50 ms until it holds or the time is up; the last answer.
bool WaitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& condition);

} // namespace xtest
