#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/Input/Input.h"
#include "Core/Input/InputListener.h"
#include "Core/Input/KeyCodes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Writes down every call as a line of text.
class RecordingListener : public input::InputListener
{
public:
    std::vector<std::string> calls;

    static std::string P(const math::Point2& p)
    {
        return std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y));
    }
    VNResultEnum OnMouseDown(const math::Point2& p, int b) override
    {
        return Add("down " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseUp(const math::Point2& p, int b) override
    {
        return Add("up " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseDoubleClick(const math::Point2& p, int b) override
    {
        return Add("dbl " + P(p) + " " + std::to_string(b));
    }
    VNResultEnum OnMouseMove(const math::Point2& p) override { return Add("move " + P(p)); }
    VNResultEnum OnMouseDrag(const math::Point2& p) override { return Add("drag " + P(p)); }
    VNResultEnum OnMouseWheel(const math::Point2& p, int w) override
    {
        return Add("wheel " + P(p) + " " + std::to_string(w));
    }
    VNResultEnum OnMouseLeave(const math::Point2& p) override { return Add("leave " + P(p)); }
    VNResultEnum OnKeyDown(int key) override { return Add("keydown " + std::to_string(key)); }
    VNResultEnum OnKeyUp(int key) override { return Add("keyup " + std::to_string(key)); }
    VNResultEnum OnChar(wchar_t c) override { return Add("char " + std::to_string(static_cast<int>(c))); }

private:
    VNResultEnum Add(std::string s)
    {
        calls.push_back(std::move(s));
        return VN_OK;
    }
};

// logical = 2 × (pixel - 10) on both axes.
class HalfConverter : public input::CoordConverter
{
public:
    void ScreenToLogical(math::Point2& out, const math::Point2& in) override
    {
        out = math::Point2(2.0f * (in.x - 10.0f), 2.0f * (in.y - 10.0f));
    }
    void ApplyOrientation(math::Point2& out, const math::Point2& in, int) override { out = in; }
};

struct InputFixture : ::testing::Test
{
    RecordingListener listener;
    HalfConverter converter;
    input::Input in{&listener, &converter};
};

TEST(InputLinux, EngineKeyCodesOfKeySymbols)
{
    struct Case
    {
        int symbol;
        int engine;
    };
    const Case cases[] = {
        {SDLK_a, 97},
        {SDLK_z, 122},
        {SDLK_0, 48},
        {SDLK_9, 57},
        {SDLK_BACKSPACE, 8},
        {SDLK_TAB, 9},
        {SDLK_ESCAPE, 27},
        {SDLK_SPACE, 32},
        {SDLK_DELETE, 127},
        {SDLK_RETURN, 271},
        {SDLK_KP_ENTER, 271},
        {SDLK_SEMICOLON, 59},
        {SDLK_COLON, 59},
        {SDLK_KP_0, 256},
        {SDLK_KP_9, 265},
        {SDLK_KP_PERIOD, 266},
        {SDLK_KP_DIVIDE, 267},
        {SDLK_KP_MULTIPLY, 268},
        {SDLK_KP_MINUS, 269},
        {SDLK_KP_PLUS, 270},
        {SDLK_UP, 273},
        {SDLK_DOWN, 274},
        {SDLK_RIGHT, 275},
        {SDLK_LEFT, 276},
        {SDLK_INSERT, 277},
        {SDLK_HOME, 278},
        {SDLK_END, 279},
        {SDLK_PAGEUP, 280},
        {SDLK_PAGEDOWN, 281},
        {SDLK_F1, 282},
        {SDLK_F12, 293},
        {SDLK_F15, 296},
        {SDLK_NUMLOCKCLEAR, 300},
        {SDLK_CAPSLOCK, 301},
        {SDLK_SCROLLLOCK, 302},
        {SDLK_RSHIFT, 303},
        {SDLK_LSHIFT, 304},
        {SDLK_RCTRL, 305},
        {SDLK_LCTRL, 306},
        {SDLK_LALT, 307},
        {SDLK_RALT, 308},
        {SDLK_LGUI, 311},
        {SDLK_RGUI, 312},
        {SDLK_HELP, 315},
        {SDLK_PRINTSCREEN, 317},
        {SDLK_PAUSE, 19},
        {SDLK_CLEAR, 12},
        // Keys the engine has no code for.
        {SDLK_MINUS, 0},
        {SDLK_F16, 0},
        {SDLK_MENU, 0},
        {SDLK_UNKNOWN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(input::InputLinux::EngineKeyFromSymbol(c.symbol), c.engine) << "symbol " << c.symbol;
}

TEST_F(InputFixture, KeyPressRepeatAndReleaseWithTypedCharacters)
{
    // Return: a key code and the carriage return it types; a held key repeats the character only.
    in.OnKeyDownMessage(SDLK_RETURN, false);
    in.OnKeyDownMessage(SDLK_RETURN, true);
    in.OnKeyUpMessage(SDLK_RETURN);
    // 'a' with Shift: the key code stays lower-case, the text event carries the typed 'A'.
    in.OnKeyDownMessage(SDLK_a, false);
    in.OnTextMessage("A");
    in.OnKeyUpMessage(SDLK_a);
    // Backspace types 8 as well: text editors rely on it.
    in.OnKeyDownMessage(SDLK_BACKSPACE, false);
    const std::vector<std::string> expected = {
        "keydown 271", "char 13",  "char 13",   "keyup 271", "keydown 97",
        "char 65",     "keyup 97", "keydown 8", "char 8",
    };
    EXPECT_EQ(listener.calls, expected);
}

TEST_F(InputFixture, TextEventsBecomeOneCharacterPerCodePoint)
{
    struct Case
    {
        const char* utf8;
        std::vector<int> chars;
    };
    const Case cases[] = {
        {"ab", {'a', 'b'}},
        {"\xC3\xA9\xE2\x82\xAC", {0xE9, 0x20AC}}, // é €
        {"\xF0\x9F\x98\x80", {0x1F600}},          // outside the 16-bit range: one wchar_t on Linux
        {"x\xFFy", {'x', 'y'}},                   // stray byte dropped
        {"\xE2\x82", {}},                         // cut sequence dropped
        {"\xC0\xAF", {}},                         // overlong form refused
        {"\xED\xA0\x80z", {'z'}},                 // surrogate refused
        {"", {}},
    };
    for (const Case& c : cases)
    {
        listener.calls.clear();
        in.OnTextMessage(c.utf8);
        std::vector<std::string> expected;
        for (int ch : c.chars)
            expected.push_back("char " + std::to_string(ch));
        EXPECT_EQ(listener.calls, expected) << c.utf8;
    }
    listener.calls.clear();
    in.OnTextMessage(nullptr);
    EXPECT_TRUE(listener.calls.empty());
}

TEST_F(InputFixture, KeyStatesAdvanceOncePerUpdate)
{
    // Snapshots of one key (scancode 4) over five updates and the state after each.
    struct Step
    {
        uint8_t down;
        int state;
    };
    const Step steps[] = {{1, 1}, {1, 2}, {1, 2}, {0, 3}, {0, 0}, {1, 1}, {0, 0}};
    uint8_t snapshot[input::InputLinux::kScancodeCount] = {};
    for (const Step& s : steps)
    {
        snapshot[4] = s.down;
        in.UpdateKeyStates(snapshot, input::InputLinux::kScancodeCount);
        EXPECT_EQ(in.GetKeyState(4), s.state);
    }
    // A snapshot shorter than the table counts the rest as up; out-of-range queries are up.
    in.UpdateKeyStates(snapshot, 2);
    EXPECT_EQ(in.GetKeyState(4), 0);
    EXPECT_EQ(in.GetKeyState(-1), 0);
    EXPECT_EQ(in.GetKeyState(100000), 0);
}

class LogCapture : public base::LogOutput
{
public:
    static inline std::wstring text;
    void Write(const std::wstring& t) override { text += t; }
};

TEST_F(InputFixture, EachUpdateWithTheRightButtonDownLogsOneEmptyLine)
{
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    const uint8_t keys[4] = {0, 0, 0, 1};
    // Right button per update, and the log after all of them.
    const bool right[] = {false, true, true, false, true};
    LogCapture::text.clear();
    for (bool r : right)
        in.UpdateFromSnapshot(keys, 4, r);
    EXPECT_EQ(LogCapture::text, L"\n\n\n");
    EXPECT_EQ(in.GetKeyState(3), 2) << "the keys still advance once per update";
}

TEST_F(InputFixture, MouseEventsArriveInLogicalUnits)
{
    in.OnMouseMoveMessage(math::Point2(20, 30));
    in.OnMouseDownMessage(math::Point2(20, 30), 1);
    in.OnMouseMoveMessage(math::Point2(25, 30));
    in.OnMouseUpMessage(math::Point2(25, 30), 1);
    in.OnMouseMoveMessage(math::Point2(26, 30));
    // After a double click the held button does not make a drag.
    in.OnMouseDoubleClickMessage(math::Point2(26, 30), 1);
    in.OnMouseMoveMessage(math::Point2(27, 30));
    in.OnMouseUpMessage(math::Point2(27, 30), 1);
    in.OnMouseDownMessage(math::Point2(10, 10), 3);
    in.OnMouseMoveMessage(math::Point2(11, 10));
    in.OnMouseUpMessage(math::Point2(11, 10), 3);
    in.OnMouseWheelMessage(math::Point2(15, 15), -240);
    in.OnMouseLeaveMessage(math::Point2(-5, 15));
    const std::vector<std::string> expected = {
        "move 20,40",  "down 20,40 1",     "drag 30,40",   "up 30,40 1", "move 32,40",
        "dbl 32,40 1", "move 34,40",       "up 34,40 1",   "down 0,0 3", "drag 2,0",
        "up 2,0 3",    "wheel 10,10 -240", "leave -30,10",
    };
    EXPECT_EQ(listener.calls, expected);
    EXPECT_EQ(in.GetCursor(), math::Point2(-30, 10));
    EXPECT_EQ(in.GetButtonState(1), input::InputLinux::ButtonUp);
}

} // namespace
