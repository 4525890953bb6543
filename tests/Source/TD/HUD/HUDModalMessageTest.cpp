// The message and the dialog on layouts that are not the demo's: a layout with a single button group still
// shows that button (a message never hides the only way out), and the dialog's two hooks follow the button
// position, not the name.
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUDTestSupport.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class HUDModalMessageTest : public hudtest::ScreenFixture
{
protected:
    void writeDialogLayout(const std::vector<std::string>& groups)
    {
        std::vector<hudtest::LayoutLayer> layers = {{"back", 0, 0, 400, 300},
                                                    {"button/b1_normal", 0, 0, 100, 40},
                                                    {"button/b1_over", 0, 0, 100, 40}};
        int x = 20;
        for (const std::string& group : groups)
        {
            layers.push_back({"button/" + group + "/pos", x, 200, 100, 40});
            x += 200;
        }
        layers.push_back({"text/caption", 0, 0, 400, 40, -1, false});
        hudtest::WriteLayout(mRoot / "td/data/mm", layers);
    }
};

// A dialog that reports its hooks instead of closing.
struct CountingDialog : HUDModalDialog
{
    CountingDialog() : HUDModalDialog(L"c", L"m") {}
    void onConfirm() override { ++confirmed; }
    void onCancel() override { ++cancelled; }
    int confirmed = 0;
    int cancelled = 0;
};

TEST_F(HUDModalMessageTest, ALayoutWithOneButtonKeepsItShownInItsPlace)
{
    writeDialogLayout({"b1_ok"});
    HUDModalMessage message(L"caption", L"text", -1);
    ASSERT_EQ(message.mChildButtons.size(), 1u);
    EXPECT_NE(message.child(0)->mVisible, 0);
    EXPECT_EQ(message.child(0)->mXOffset, 0.0f);
    EXPECT_EQ(message.click(70, 220), L"ok");
}

TEST_F(HUDModalMessageTest, TwoButtonsMessageShowsOkMovedDialogShowsBothAndHooksGoByPosition)
{
    writeDialogLayout({"b1_cancel", "b1_ok"});
    HUDModalMessage message(L"caption", L"text", -1);
    EXPECT_EQ(message.child(0)->mVisible, 0);
    EXPECT_EQ(message.child(1)->mXOffset, 120.0f);
    EXPECT_EQ(message.click(70, 220), L"") << "the hidden cancel button answers nothing";
    EXPECT_EQ(message.click(340, 220), L"ok");

    CountingDialog dialog;
    EXPECT_NE(dialog.child(0)->mVisible, 0);
    EXPECT_EQ(dialog.child(1)->mXOffset, 0.0f);
    struct Case
    {
        int x;
        int cancelled;
        int confirmed;
    };
    for (const Case& c : {Case{70, 1, 0}, Case{270, 1, 1}, Case{390, 1, 1}})
    {
        dialog.mouseUp(c.x, 220);
        EXPECT_EQ(dialog.cancelled, c.cancelled) << c.x;
        EXPECT_EQ(dialog.confirmed, c.confirmed) << c.x;
    }
}

} // namespace
