#include "Core/Input/Linux/InputLinux.h"

#include "Core/Base/Log.h"
#include "Core/Input/InputListener.h"
#include "Core/Input/KeyCodes.h"

#include <SDL.h>

#include <unordered_map>

namespace input
{

namespace
{

// Engine key code per SDL key symbol. The symbol follows the keyboard layout, as the engine's letters
// do. Return and keypad Enter share one code (271), and ';' and ':' share 59, as the engine always had.
const std::unordered_map<int, int>& SymbolTable()
{
    static const std::unordered_map<int, int> table = []
    {
        std::unordered_map<int, int> t;
        const int same[] = {SDLK_BACKSPACE, SDLK_TAB, SDLK_ESCAPE, SDLK_SPACE, SDLK_DELETE};
        for (int s : same)
            t[s] = s;
        for (int c = '0'; c <= '9'; ++c)
            t[c] = c;
        for (int c = 'a'; c <= 'z'; ++c)
            t[c] = c;
        t[SDLK_CLEAR] = KeyClear;
        t[SDLK_RETURN] = KeyPadEnter;
        t[SDLK_RETURN2] = KeyPadEnter;
        t[SDLK_KP_ENTER] = KeyPadEnter;
        t[SDLK_PAUSE] = KeyPause;
        t[SDLK_SEMICOLON] = KeySemicolon;
        t[SDLK_COLON] = KeySemicolon;
        const int pad[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                           SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
        for (int i = 0; i < 10; ++i)
            t[pad[i]] = KeyPad0 + i;
        t[SDLK_KP_PERIOD] = KeyPadPeriod;
        t[SDLK_KP_DIVIDE] = KeyPadDivide;
        t[SDLK_KP_MULTIPLY] = KeyPadMultiply;
        t[SDLK_KP_MINUS] = KeyPadMinus;
        t[SDLK_KP_PLUS] = KeyPadPlus;
        t[SDLK_UP] = KeyUp;
        t[SDLK_DOWN] = KeyDown;
        t[SDLK_RIGHT] = KeyRight;
        t[SDLK_LEFT] = KeyLeft;
        t[SDLK_INSERT] = KeyInsert;
        t[SDLK_HOME] = KeyHome;
        t[SDLK_END] = KeyEnd;
        t[SDLK_PAGEUP] = KeyPageUp;
        t[SDLK_PAGEDOWN] = KeyPageDown;
        const int fkeys[] = {SDLK_F1, SDLK_F2,  SDLK_F3,  SDLK_F4,  SDLK_F5,  SDLK_F6,  SDLK_F7, SDLK_F8,
                             SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12, SDLK_F13, SDLK_F14, SDLK_F15};
        for (int i = 0; i < 15; ++i)
            t[fkeys[i]] = KeyF1 + i;
        t[SDLK_NUMLOCKCLEAR] = KeyNumLock;
        t[SDLK_CAPSLOCK] = KeyCapsLock;
        t[SDLK_SCROLLLOCK] = KeyScrollLock;
        t[SDLK_RSHIFT] = KeyRightShift;
        t[SDLK_LSHIFT] = KeyLeftShift;
        t[SDLK_RCTRL] = KeyRightControl;
        t[SDLK_LCTRL] = KeyLeftControl;
        t[SDLK_LALT] = KeyLeftAlt;
        t[SDLK_RALT] = KeyRightAlt;
        t[SDLK_LGUI] = KeyLeftSystem;
        t[SDLK_RGUI] = KeyRightSystem;
        t[SDLK_HELP] = KeyHelp;
        t[SDLK_PRINTSCREEN] = KeyPrintScreen;
        return t;
    }();
    return table;
}

// Control characters a key press types by itself; text events carry only printable text.
wchar_t ControlCharacter(int symbol)
{
    switch (symbol)
    {
    case SDLK_BACKSPACE:
        return L'\b';
    case SDLK_TAB:
        return L'\t';
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER:
        return L'\r';
    case SDLK_ESCAPE:
        return 27;
    default:
        return 0;
    }
}

// Next code point of UTF-8 text, or -1 for a malformed sequence (which is skipped byte by byte).
int32_t DecodeUtf8(const unsigned char*& p)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = 0;
    int32_t cp = 0;
    if ((c & 0xE0) == 0xC0)
    {
        extra = 1;
        cp = c & 0x1F;
    }
    else if ((c & 0xF0) == 0xE0)
    {
        extra = 2;
        cp = c & 0x0F;
    }
    else if ((c & 0xF8) == 0xF0)
    {
        extra = 3;
        cp = c & 0x07;
    }
    else
        return -1;
    for (int i = 0; i < extra; ++i)
    {
        if ((*p & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    static const int32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    return cp;
}

} // namespace

InputLinux::InputLinux(InputListener* listener, CoordConverter* converter)
    : mListener(listener), mConverter(converter)
{
}

VNResultEnum InputLinux::Update()
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (state == nullptr)
        return VN_FAIL;
    const bool rightDown = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_RMASK) != 0;
    UpdateFromSnapshot(state, count, rightDown);
    return VN_OK;
}

void InputLinux::UpdateFromSnapshot(const uint8_t* down, int count, bool rightButtonDown)
{
    if (rightButtonDown)
        base::LogMessage(*base::MainLog::Instance(), L"\n");
    UpdateKeyStates(down, count);
}

void InputLinux::UpdateKeyStates(const uint8_t* down, int count)
{
    for (int i = 0; i < kScancodeCount; ++i)
    {
        const bool isDown = i < count && down[i] != 0;
        int32_t& s = mKeys[i];
        if (isDown)
            s = (s == KeyPressed || s == KeyHeld) ? KeyHeld : KeyPressed;
        else
            s = (s == KeyHeld) ? KeyReleased : KeyUp;
    }
}

int InputLinux::GetKeyState(int scancode) const
{
    return (scancode >= 0 && scancode < kScancodeCount) ? mKeys[scancode] : KeyUp;
}

int InputLinux::GetButtonState(int button) const
{
    return (button >= 0 && button < 4) ? mButtons[button] : ButtonUp;
}

int InputLinux::EngineKeyFromSymbol(int symbol)
{
    const auto& table = SymbolTable();
    const auto it = table.find(symbol);
    return it == table.end() ? KeyNone : it->second;
}

VNResultEnum InputLinux::OnKeyDownMessage(int symbol, bool repeat)
{
    VNResultEnum result = VN_OK;
    if (!repeat)
        result = mListener->OnKeyDown(EngineKeyFromSymbol(symbol));
    if (const wchar_t c = ControlCharacter(symbol); c != 0)
    {
        const VNResultEnum charResult = mListener->OnChar(c);
        if (result == VN_OK)
            result = charResult;
    }
    return result;
}

VNResultEnum InputLinux::OnKeyUpMessage(int symbol)
{
    return mListener->OnKeyUp(EngineKeyFromSymbol(symbol));
}

VNResultEnum InputLinux::OnTextMessage(const char* utf8)
{
    if (utf8 == nullptr)
        return VN_OK;
    VNResultEnum result = VN_OK;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0)
    {
        const int32_t cp = DecodeUtf8(p);
        if (cp <= 0)
            continue;
        const VNResultEnum r = mListener->OnChar(static_cast<wchar_t>(cp));
        if (result == VN_OK)
            result = r;
    }
    return result;
}

void InputLinux::ToLogical(const math::Point2& window)
{
    mConverter->ScreenToLogical(mCursor, window);
}

VNResultEnum InputLinux::OnMouseDownMessage(const math::Point2& window, int button)
{
    ToLogical(window);
    if (button >= 0 && button < 4)
        mButtons[button] = ButtonPressed;
    return mListener->OnMouseDown(mCursor, button);
}

VNResultEnum InputLinux::OnMouseUpMessage(const math::Point2& window, int button)
{
    ToLogical(window);
    if (button >= 0 && button < 4)
        mButtons[button] = ButtonUp;
    return mListener->OnMouseUp(mCursor, button);
}

VNResultEnum InputLinux::OnMouseDoubleClickMessage(const math::Point2& window, int button)
{
    ToLogical(window);
    if (button >= 0 && button < 4)
        mButtons[button] = ButtonDoubleClicked;
    return mListener->OnMouseDoubleClick(mCursor, button);
}

VNResultEnum InputLinux::OnMouseMoveMessage(const math::Point2& window)
{
    ToLogical(window);
    // A button whose last event was a double click does not make a drag.
    for (int32_t b : mButtons)
        if (b == ButtonPressed || b == 2)
            return mListener->OnMouseDrag(mCursor);
    return mListener->OnMouseMove(mCursor);
}

VNResultEnum InputLinux::OnMouseWheelMessage(const math::Point2& window, int wheel)
{
    ToLogical(window);
    return mListener->OnMouseWheel(mCursor, wheel);
}

VNResultEnum InputLinux::OnMouseLeaveMessage(const math::Point2& window)
{
    ToLogical(window);
    return mListener->OnMouseLeave(mCursor);
}

} // namespace input
