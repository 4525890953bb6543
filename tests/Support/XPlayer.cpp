#include "XPlayer.h"

#include <png.h>

#include <thread>

// Last: Xlib's macros clash with other headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace xtest
{
namespace
{
Display* AsDisplay(void* display)
{
    return static_cast<Display*>(display);
}

// Windows come and go while the tree is walked: a query on one that just vanished is expected.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

Window FindTitled(Display* display, Window window, const std::string& title, int depth)
{
    XTextProperty name;
    if (XGetWMName(display, window, &name) != 0 && name.value != nullptr)
    {
        const bool same = title == std::string(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
        if (same)
            return window;
    }
    if (depth > 3)
        return 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i)
        found = FindTitled(display, children[i], title, depth + 1);
    if (children != nullptr)
        XFree(children);
    return found;
}
} // namespace

uint32_t ScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
}

bool ScreenShot::Save(const std::string& path) const
{
    std::vector<uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const uint32_t p : pixels)
    {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

XPlayer::XPlayer(const std::string& display)
{
    Display* opened = XOpenDisplay(display.c_str());
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (opened != nullptr && XTestQueryExtension(opened, &event, &error, &major, &minor) == 0)
    {
        XCloseDisplay(opened);
        opened = nullptr;
    }
    mDisplay = opened;
}

XPlayer::~XPlayer()
{
    if (mDisplay != nullptr)
        XCloseDisplay(AsDisplay(mDisplay));
}

void XPlayer::Click(int x, int y)
{
    Display* display = AsDisplay(mDisplay);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    // The program sees the pointer arrive before the press, as from a hand on the mouse.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

void XPlayer::Type(const std::string& text)
{
    Display* display = AsDisplay(mDisplay);
    for (const char c : text)
    {
        const char name[2] = {c, 0};
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(name));
        if (code == 0)
            continue;
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
    }
}

ScreenShot XPlayer::Shoot()
{
    Display* display = AsDisplay(mDisplay);
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    ScreenShot shot;
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height));
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            shot.pixels[static_cast<size_t>(y) * static_cast<size_t>(shot.width) + static_cast<size_t>(x)] =
                static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
    XDestroyImage(image);
    return shot;
}

bool XPlayer::FindClientArea(const std::string& title, ClientArea& out)
{
    Display* display = AsDisplay(mDisplay);
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    const Window root = DefaultRootWindow(display);
    const Window found = FindTitled(display, root, title, 0);
    bool known = false;
    XWindowAttributes attributes;
    Window child = 0;
    if (found != 0 && XGetWindowAttributes(display, found, &attributes) != 0 &&
        attributes.map_state == IsViewable &&
        XTranslateCoordinates(display, found, root, 0, 0, &out.x, &out.y, &child) != 0)
    {
        out.width = attributes.width;
        out.height = attributes.height;
        known = true;
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return known;
}

bool WaitUntil(std::chrono::milliseconds timeout, const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

} // namespace xtest
