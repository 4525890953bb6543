#include "Source/TD/Harness/PlayerDriver.h"

#include "Source/TD/Harness/TDPicture.h"
#include "Support/XWindows.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// Last: Xlib's macros clash with other headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace tdtest
{
namespace
{
using namespace std::chrono_literals;

// The game's window title (the strings' "game_caption").
constexpr const char* kTitle = "Corvantis";

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Windows come and go while the game switches modes: a query on one that just vanished is no reason for
// Xlib's default handler to end the test.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

int channelGap(uint32_t a, uint32_t b)
{
    int gap = 0;
    for (int shift = 0; shift < 24; shift += 8)
        gap = std::max(
            gap, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return gap;
}

// The mapping of the logical screen on a window of this size: the game fits it so in either mode.
framework::ScreenFit fitFor(int width, int height)
{
    std::vector<app::MonitorInfo> monitors(1);
    monitors[0].width = monitors[0].workWidth = width;
    monitors[0].height = monitors[0].workHeight = height;
    monitors[0].primary = true;
    framework::ScreenSetup setup;
    framework::ScreenFit fit;
    (void)framework::ComputeScreenFit(monitors, framework::LogicalScreen{}, false, app::FrameExtents{}, setup,
                                      fit);
    return fit;
}

} // namespace

uint32_t Shot::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

int Shot::toWindowX(float logicalX) const
{
    return static_cast<int>(framework::LogicalToWindow(fit, math::Point2(logicalX, 0.0f)).x);
}

int Shot::toWindowY(float logicalY) const
{
    return static_cast<int>(framework::LogicalToWindow(fit, math::Point2(0.0f, logicalY)).y);
}

bool Shot::save(const fs::path& file) const
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels = pixels;
    for (uint32_t& p : picture.pixels)
        p |= 0xFF000000u;
    return picture.save(file.string());
}

std::optional<LayoutLayer> findLayoutLayer(const fs::path& dataRoot, const std::string& folder,
                                           const std::string& name)
{
    const fs::path dir = dataRoot / folder;
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile((dir / "layers.xml").c_str()) != tinyxml2::XML_SUCCESS || doc.RootElement() == nullptr)
        return std::nullopt;
    for (const tinyxml2::XMLElement* e = doc.RootElement()->FirstChildElement("Layer"); e != nullptr;
         e = e->NextSiblingElement("Layer"))
    {
        const char* layerName = e->Attribute("name");
        if (layerName == nullptr || name != layerName)
            continue;
        LayoutLayer found;
        found.rect = math::Rect(e->FloatAttribute("x"), e->FloatAttribute("y"), e->FloatAttribute("width"),
                                e->FloatAttribute("height"));
        if (fs::exists(dir / (name + ".png")))
            found.picture = dir / (name + ".png");
        return found;
    }
    return std::nullopt;
}

double layerMatch(const Shot& shot, const LayoutLayer& layer, int tolerance)
{
    Picture picture;
    if (shot.empty() || layer.picture.empty() || !picture.load(layer.picture.string()))
        return 0.0;
    // Every other pixel of the picture's opaque part, compared with the window pixel it lands on.
    int compared = 0;
    int same = 0;
    for (int y = 0; y < picture.height; y += 2)
        for (int x = 0; x < picture.width; x += 2)
        {
            const uint32_t p = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) +
                                              static_cast<size_t>(x)];
            if ((p >> 24) < 200)
                continue;
            const int wx = shot.toWindowX(layer.rect.x + static_cast<float>(x) + 0.5f);
            const int wy = shot.toWindowY(layer.rect.y + static_cast<float>(y) + 0.5f);
            if (wx < 0 || wy < 0 || wx >= shot.width || wy >= shot.height)
                continue;
            ++compared;
            same += channelGap(shot.pixel(wx, wy), p & 0xFFFFFF) <= tolerance ? 1 : 0;
        }
    return compared == 0 ? 0.0 : static_cast<double>(same) / compared;
}

std::vector<std::string> logWarnings(const std::string& log)
{
    // Entries are div elements whose text may run over several lines; the head's style sheet names the
    // classes too, so only what follows "<body>" counts.
    std::vector<std::string> found;
    const std::string open = "<div class=\"";
    size_t at = log.find("<body>");
    while (at != std::string::npos && (at = log.find(open, at)) != std::string::npos)
    {
        const size_t classEnd = log.find('"', at + open.size());
        const size_t textStart = log.find('>', at);
        const size_t end = log.find("</div>", at);
        if (classEnd == std::string::npos || textStart == std::string::npos || end == std::string::npos)
            break;
        const std::string kind = log.substr(at + open.size(), classEnd - at - open.size());
        const std::string text = log.substr(textStart + 1, end - textStart - 1);
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        bool problem = kind == "block" || kind == "error";
        for (const char* word : {"warning", "error", "fail", "cannot", "not found", "missing", "invalid"})
            problem = problem || lower.find(word) != std::string::npos;
        if (problem)
            found.push_back(text);
        at = end;
    }
    return found;
}

PlayerDriver::PlayerDriver(Options options) : mOptions(std::move(options))
{
    std::error_code ignored;
    fs::create_directories(mOptions.folder / "xdg", ignored);
}

PlayerDriver::~PlayerDriver()
{
    stop();
}

std::string PlayerDriver::startDisplay()
{
    const std::string screen =
        std::to_string(mOptions.screenWidth) + "x" + std::to_string(mOptions.screenHeight) + "x24";
    int server = -1;
    mDisplayName = xtest::StartXvfb(screen, server);
    mServer = server;
    if (mDisplayName.empty())
        return "Xvfb did not start";
    xtest::WaitUntil([&] { return (mDisplay = XOpenDisplay(mDisplayName.c_str())) != nullptr; }, 10s);
    if (mDisplay == nullptr)
        return "cannot open " + mDisplayName;
    XSetErrorHandler(ignoreError);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(mDisplay, &event, &error, &major, &minor))
        return "the display has no XTest extension";
    return "";
}

std::string PlayerDriver::start(std::chrono::milliseconds timeout)
{
    // Servers of other tests come and go beside ours: a number that was free when ours chose it may be lost
    // in a race, so a server that cannot be reached is replaced by another.
    std::string why;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        why = startDisplay();
        if (why.empty())
            break;
        stop();
    }
    if (!why.empty())
        return why;
    if (!mOptions.windowManager.empty())
    {
        why = startWindowManager();
        if (!why.empty())
            return why;
    }
    const std::string out = (mOptions.folder / "game-output.txt").string();
    const std::string xdg = (mOptions.folder / "xdg").string();
    mGame = fork();
    if (mGame == 0)
    {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", mDisplayName.c_str(), 1);
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0)
        {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        const std::string data = mOptions.dataRoot.string();
        execl(CORVANTIS_EXE, CORVANTIS_EXE, "--data_path", data.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (mGame < 0)
        return "cannot start the game";
    if (!xtest::WaitUntil([&] { return findWindow() || !running(); }, timeout) || !running())
        return "the game's window did not show:\n" + output();
    return "";
}

std::string PlayerDriver::startWindowManager()
{
    mManager = fork();
    if (mManager == 0)
    {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", mDisplayName.c_str(), 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp(mOptions.windowManager.c_str(), mOptions.windowManager.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (mManager < 0)
        return "cannot start " + mOptions.windowManager;
    // A manager announces itself on the root window; a game mapped before that would be placed by nobody.
    const Atom check = XInternAtom(mDisplay, "_NET_SUPPORTING_WM_CHECK", False);
    const bool up = xtest::WaitUntil(
        [&]
        {
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* value = nullptr;
            const bool has = XGetWindowProperty(mDisplay, DefaultRootWindow(mDisplay), check, 0, 1, False,
                                                AnyPropertyType, &type, &format, &count, &after,
                                                &value) == Success &&
                             value != nullptr && count > 0;
            if (value != nullptr)
                XFree(value);
            return has || waitpid(mManager, nullptr, WNOHANG) != 0;
        },
        30s);
    if (!up || waitpid(mManager, nullptr, WNOHANG) != 0)
        return mOptions.windowManager + " did not start (is it installed?)";
    return "";
}

bool PlayerDriver::findWindow()
{
    if (mDisplay == nullptr)
        return false;
    const Window found = xtest::FindWindowTitled(mDisplay, kTitle);
    XWindowAttributes attributes;
    if (found == 0 || XGetWindowAttributes(mDisplay, found, &attributes) == 0 ||
        attributes.map_state != IsViewable)
        return false;
    Window child = 0;
    int x = 0, y = 0;
    XTranslateCoordinates(mDisplay, found, DefaultRootWindow(mDisplay), 0, 0, &x, &y, &child);
    mWindow = found;
    mWindowX = x;
    mWindowY = y;
    mWindowWidth = attributes.width;
    mWindowHeight = attributes.height;
    mFit = fitFor(mWindowWidth, mWindowHeight);
    return true;
}

void PlayerDriver::sync()
{
    XSync(mDisplay, False);
    // The game reads one window message per tick: a short gap keeps each event in a frame of its own, as
    // a hand on a mouse does.
    std::this_thread::sleep_for(40ms);
}

void PlayerDriver::moveTo(float x, float y)
{
    if (mDisplay == nullptr)
        return;
    findWindow();
    const math::Point2 p = framework::LogicalToWindow(mFit, math::Point2(x, y));
    XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), mWindowX + static_cast<int>(p.x),
                         mWindowY + static_cast<int>(p.y), CurrentTime);
    sync();
}

void PlayerDriver::click(float x, float y)
{
    if (mDisplay == nullptr)
        return;
    moveTo(x, y);
    XTestFakeButtonEvent(mDisplay, 1, True, CurrentTime);
    sync();
    XTestFakeButtonEvent(mDisplay, 1, False, CurrentTime);
    sync();
}

void PlayerDriver::key(const std::string& keysym, bool alt)
{
    if (mDisplay == nullptr)
        return;
    const KeySym sym = XStringToKeysym(keysym.c_str());
    const KeyCode code = XKeysymToKeycode(mDisplay, sym);
    if (code == 0)
    {
        ADD_FAILURE() << "no key for " << keysym;
        return;
    }
    // A capital letter is its key's second symbol: typed with Shift held.
    KeySym lower = 0, upper = 0;
    XConvertCase(sym, &lower, &upper);
    std::vector<KeyCode> held;
    if (alt)
        held.push_back(XKeysymToKeycode(mDisplay, XK_Alt_L));
    if (sym == upper && lower != upper)
        held.push_back(XKeysymToKeycode(mDisplay, XK_Shift_L));
    for (KeyCode k : held)
        XTestFakeKeyEvent(mDisplay, k, True, CurrentTime);
    XTestFakeKeyEvent(mDisplay, code, True, CurrentTime);
    sync();
    XTestFakeKeyEvent(mDisplay, code, False, CurrentTime);
    for (KeyCode k : held)
        XTestFakeKeyEvent(mDisplay, k, False, CurrentTime);
    sync();
}

void PlayerDriver::type(const std::string& text)
{
    for (char c : text)
        key(std::string(1, c));
}

Shot PlayerDriver::grab()
{
    Shot shot;
    if (mDisplay == nullptr || !findWindow())
        return shot;
    // The screen's pixels where the window lies: what a player sees there, whatever covers the window.
    const int x = std::max(0, mWindowX);
    const int y = std::max(0, mWindowY);
    const int w = std::min(mWindowWidth, DisplayWidth(mDisplay, DefaultScreen(mDisplay)) - x);
    const int h = std::min(mWindowHeight, DisplayHeight(mDisplay, DefaultScreen(mDisplay)) - y);
    if (w <= 0 || h <= 0)
        return shot;
    XImage* image = XGetImage(mDisplay, DefaultRootWindow(mDisplay), x, y, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (image == nullptr)
        return shot;
    shot.width = w;
    shot.height = h;
    shot.fit = mFit;
    shot.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            shot.pixels[static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(col)] =
                static_cast<uint32_t>(XGetPixel(image, col, row)) & 0xFFFFFFu;
    XDestroyImage(image);
    return shot;
}

bool PlayerDriver::waitForShot(const std::string& what, const std::function<bool(const Shot&)>& condition,
                               std::chrono::milliseconds timeout)
{
    Shot last;
    const bool met = xtest::WaitUntil(
        [&]
        {
            last = grab();
            return !last.empty() && condition(last);
        },
        timeout);
    if (!met && !last.empty())
        last.save((mOptions.shotFolder.empty() ? mOptions.folder : mOptions.shotFolder) / (what + ".png"));
    return met;
}

LayoutLayer PlayerDriver::layer(const std::string& folder, const std::string& name) const
{
    const std::optional<LayoutLayer> found = findLayoutLayer(mOptions.dataRoot, folder, name);
    if (!found)
    {
        ADD_FAILURE() << "the data has no layer " << name << " in " << folder;
        return LayoutLayer{};
    }
    return *found;
}

bool PlayerDriver::shows(const Shot& shot, const std::string& folder, const std::string& name,
                         double minimum) const
{
    return layerMatch(shot, layer(folder, name)) >= minimum;
}

bool PlayerDriver::waitForLayer(const std::string& folder, const std::string& name, double minimum,
                                std::chrono::milliseconds timeout)
{
    const LayoutLayer wanted = layer(folder, name);
    std::string file = folder + "-" + name;
    std::replace(file.begin(), file.end(), '/', '_');
    return waitForShot(
        file, [&](const Shot& shot) { return layerMatch(shot, wanted) >= minimum; }, timeout);
}

bool PlayerDriver::running()
{
    if (mGame <= 0)
        return false;
    return waitpid(mGame, nullptr, WNOHANG) == 0;
}

int PlayerDriver::waitExit(std::chrono::milliseconds timeout)
{
    if (mGame <= 0)
        return -1;
    int status = 0;
    const bool exited = xtest::WaitUntil([&] { return waitpid(mGame, &status, WNOHANG) == mGame; }, timeout);
    if (!exited)
        return -1;
    mGame = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int PlayerDriver::quit(std::chrono::milliseconds timeout)
{
    if (mGame <= 0)
        return -1;
    kill(mGame, SIGTERM);
    return waitExit(timeout);
}

std::string PlayerDriver::log() const
{
    return readAll(userFolder() / "log.html");
}

std::string PlayerDriver::profiles() const
{
    return readAll(userFolder() / "profiles.xml");
}

std::string PlayerDriver::output() const
{
    return readAll(mOptions.folder / "game-output.txt");
}

void PlayerDriver::stop()
{
    if (mDisplay != nullptr)
    {
        XCloseDisplay(mDisplay);
        mDisplay = nullptr;
    }
    // Last started first: the game, the window manager, then the server.
    for (pid_t* pid : {&mGame, &mManager, &mServer})
    {
        if (*pid <= 0)
            continue;
        if (pid == &mGame)
            kill(-*pid, SIGKILL);
        kill(*pid, SIGKILL);
        waitpid(*pid, nullptr, 0);
        *pid = -1;
    }
}

} // namespace tdtest
