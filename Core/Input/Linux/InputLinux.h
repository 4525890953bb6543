#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Base/Result.h"

#include <array>
#include <cstdint>

namespace input
{

class InputListener;
class CoordConverter;

// Keeps key and button states and turns window events into listener calls with logical points.
// Key arguments are the platform's key numbers (SDL scancodes and key symbols) passed as plain ints,
// so this header stays free of SDL.
class InputLinux
{
public:
    static constexpr int kScancodeCount = 512;

    // Key states of Update: 0 up, 1 pressed since the last update, 2 held, 3 released.
    enum KeyState : int32_t
    {
        KeyUp = 0,
        KeyPressed = 1,
        KeyHeld = 2,
        KeyReleased = 3,
    };
    // Button states: 0 up, 1 pressed, 4 double-clicked.
    enum ButtonState : int32_t
    {
        ButtonUp = 0,
        ButtonPressed = 1,
        ButtonDoubleClicked = 4,
    };

    InputLinux(InputListener* listener, CoordConverter* converter);
    virtual ~InputLinux() = default;

    InputLinux(const InputLinux&) = delete;
    InputLinux& operator=(const InputLinux&) = delete;

    // Samples the keyboard and the mouse buttons once per frame and advances the key states.
    VNResultEnum Update();
    // The step of Update over a snapshot: while the right button is down an empty line goes to the main
    // log (one per update, a marker of right-button drags in the log), then the key states advance.
    void UpdateFromSnapshot(const uint8_t* down, int count, bool rightButtonDown);
    // The state step of Update over a snapshot (one byte per scancode, non-zero = down).
    void UpdateKeyStates(const uint8_t* down, int count);
    int GetKeyState(int scancode) const;
    int GetButtonState(int button) const;
    const math::Point2& GetCursor() const { return mCursor; }

    // The engine key code of a platform key symbol (0 when the engine has none).
    static int EngineKeyFromSymbol(int symbol);

    // Window events. repeat: the key is auto-repeating (no OnKeyDown, characters still repeat).
    VNResultEnum OnKeyDownMessage(int symbol, bool repeat);
    VNResultEnum OnKeyUpMessage(int symbol);
    // Typed text in UTF-8: one OnChar per character; malformed bytes are dropped.
    VNResultEnum OnTextMessage(const char* utf8);
    VNResultEnum OnMouseDownMessage(const math::Point2& window, int button);
    VNResultEnum OnMouseUpMessage(const math::Point2& window, int button);
    VNResultEnum OnMouseDoubleClickMessage(const math::Point2& window, int button);
    VNResultEnum OnMouseMoveMessage(const math::Point2& window);
    VNResultEnum OnMouseWheelMessage(const math::Point2& window, int wheel);
    VNResultEnum OnMouseLeaveMessage(const math::Point2& window);

private:
    void ToLogical(const math::Point2& window);

    InputListener* mListener;
    CoordConverter* mConverter;
    math::Point2 mCursor{0.0f, 0.0f};
    std::array<int32_t, 4> mButtons{};
    std::array<int32_t, kScancodeCount> mKeys{};
};

} // namespace input
