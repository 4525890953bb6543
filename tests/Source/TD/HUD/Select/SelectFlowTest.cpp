// The name input, the profiles screen with its dialogs, and the unlock message before a level, played through
// the pointer and the keyboard on the demo data.
#include "SelectTestSupport.h"

#include "Core/File/Profiles.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Game.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/HUD/Menus/HUDModalInput.h"
#include "Source/TD/HUD/Menus/HUDUnlockMessage.h"
#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"
#include "Source/TD/HUD/Select/HUDProfiles.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <fstream>

namespace
{
using selecttest::SelectScreens;

constexpr int kBackspace = 8;

std::wstring text(const wchar_t* key)
{
    return LocalStrings::Instance()->get(key);
}

bool okShown(const HUDModalInput* input)
{
    return input->child(1) != nullptr && input->child(1)->mVisible != 0;
}

class NameInput : public SelectScreens
{
protected:
    // The input for a new profile, asked from the place `from` names ("mmenu", "shop" or "" for the
    // profiles screen, which lies below it then).
    HUDModalInput* openNewProfileInput(const std::wstring& from)
    {
        if (from.empty() && top<HUDProfiles>() == nullptr)
        {
            hud().openProfiles();
            mHarness.step();
        }
        mMap->mCurrentScreen = from;
        mMap->mState = kStateNewProfileName;
        hud().showModalInput();
        mHarness.step();
        return top<HUDModalInput>();
    }
    // A profile made through the input opened from the profiles screen.
    void createProfile(const std::wstring& name)
    {
        if (top<HUDProfiles>() == nullptr)
        {
            hud().openProfiles();
            mHarness.step();
        }
        press(L"create");
        HUDModalInput* input = top<HUDModalInput>();
        ASSERT_NE(input, nullptr);
        while (!input->mText.empty())
            mHarness.key(kBackspace);
        mHarness.type(name);
        press(L"ok");
    }
};

TEST_F(NameInput, TypingKeepsSixteenCharactersOfLettersAndDigitsAndShowsOkForANewName)
{
    HUDModalInput* input = openNewProfileInput(L"");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->mText, text(L"default_player") + L"0") << "no profile yet";
    EXPECT_EQ(mMap->mTypedName, input->mText);
    EXPECT_TRUE(okShown(input));

    struct Case
    {
        const char* what;
        int backspaces;
        std::wstring typed;
        std::wstring expected;
        bool ok;
    };
    const Case cases[] = {
        {"all erased: no name", 99, L"", L"", false},
        {"letters and digits", 0, L"Ada42", L"Ada42", true},
        {"spaces, signs and other scripts are refused", 0, L" -_!\u00e9\u0416.", L"Ada42", true},
        {"up to sixteen", 0, L"bcdefghijklmnopq", L"Ada42bcdefghijkl", true},
        {"a seventeenth is dropped", 0, L"Z", L"Ada42bcdefghijkl", true},
        {"backspace takes the sixteenth", 1, L"", L"Ada42bcdefghijk", true},
        {"then room again", 0, L"Q", L"Ada42bcdefghijkQ", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < c.backspaces; ++i)
            mHarness.key(kBackspace);
        mHarness.type(c.typed);
        EXPECT_EQ(input->mText, c.expected);
        EXPECT_EQ(mMap->mTypedName, c.expected);
        EXPECT_EQ(okShown(input), c.ok);
    }
}

TEST_F(NameInput, AnExistingNameHidesOkCaseIncluded)
{
    createProfile(L"Ada");
    createProfile(L"Bob");
    ASSERT_EQ(profileNames(), (std::vector<std::wstring>{L"Ada", L"Bob"}));
    HUDModalInput* input = openNewProfileInput(L"");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->mText, text(L"default_player") + L"2");
    struct Case
    {
        std::wstring name;
        bool ok;
    };
    for (const Case& c : {Case{L"Ada", false}, Case{L"ada", true}, Case{L"Bob", false}, Case{L"Bo", true}})
    {
        while (!input->mText.empty())
            mHarness.key(kBackspace);
        mHarness.type(c.name);
        EXPECT_EQ(okShown(input), c.ok) << std::string(c.name.begin(), c.name.end());
    }
    // A hidden OK cannot be pressed: the release on its place answers nothing.
    while (!input->mText.empty())
        mHarness.key(kBackspace);
    mHarness.type(L"Ada");
    const math::Rect place = input->child(1)->mNormal->mRect;
    clickAt(place.x + place.width / 2, place.y + place.height / 2);
    EXPECT_EQ(mMap->mState, kStateNewProfileName);
    EXPECT_EQ(profileNames().size(), 2u);
}

TEST_F(NameInput, OkFromTheMenuCreatesTheProfileAndOpensTheEpisodeSelect)
{
    HUDModalInput* input = openNewProfileInput(L"mmenu");
    ASSERT_NE(input, nullptr);
    while (!input->mText.empty())
        mHarness.key(kBackspace);
    mHarness.type(L"Ada");
    press(L"ok");
    EXPECT_EQ(mMap->mState, kStateEpisodeSelect);
    EXPECT_NE(top<HUDEpisodeSelectIOS>(), nullptr);
    EXPECT_EQ(profileNames(), std::vector<std::wstring>{L"Ada"});
    EXPECT_EQ(mMap->mProfile->getCurrentName(), L"Ada");
    EXPECT_TRUE(mMap->mTypedName.empty());
}

TEST_F(NameInput, CancelReturnsWhereTheInputWasAskedFromWithoutAProfile)
{
    struct Case
    {
        const wchar_t* from;
        int state;
    };
    for (const Case& c :
         {Case{L"mmenu", kStateMainMenu}, Case{L"shop", kStateMainMenu}, Case{L"", kStateProfiles}})
    {
        SCOPED_TRACE(std::string(c.from, c.from + std::wcslen(c.from)));
        ASSERT_NE(openNewProfileInput(c.from), nullptr);
        press(L"cancel");
        EXPECT_EQ(mMap->mState, c.state);
        EXPECT_EQ(top<HUDModalInput>(), nullptr);
        EXPECT_TRUE(profileNames().empty());
        hud().deleteWindows();
    }
}

class Profiles : public NameInput
{
protected:
    HUDProfiles* openProfiles()
    {
        hud().openProfiles();
        mHarness.step();
        return top<HUDProfiles>();
    }
    std::wstring row(HUDProfiles* screen, int k)
    {
        for (const auto& [name, shown] : screen->mTexts)
            if (name == L"profile" + std::to_wstring(k))
                return shown;
        return L"(none)";
    }
    bool markerShown(HUDProfiles* screen, int k)
    {
        HUDButtonOver* marker = screen->findButton(L"p" + std::to_wstring(k));
        return marker != nullptr && marker->mVisible != 0;
    }
};

TEST_F(Profiles, RowsShowTheNamesAndTheMarkerTheCurrentOne)
{
    HUDProfiles* screen = openProfiles();
    ASSERT_NE(screen, nullptr);
    for (int k = 1; k <= 5; ++k)
    {
        EXPECT_EQ(row(screen, k), text(L"empty_profile"));
        EXPECT_FALSE(markerShown(screen, k));
    }
    EXPECT_EQ(screen->findButton(L"confirm")->mVisible, 0);
    // Without a profile, rename and delete do nothing.
    press(L"rename");
    EXPECT_EQ(mMap->mState, kStateProfiles);
    press(L"delete");
    EXPECT_EQ(Game::Get()->GetGameWindow()->mOverlayDialog, nullptr);

    createProfile(L"Ada");
    createProfile(L"Bob");
    EXPECT_EQ(mMap->mState, kStateProfiles);
    ASSERT_EQ(top<HUDProfiles>(), screen) << "the input returned to the screen below";
    EXPECT_EQ(row(screen, 1), L"Ada");
    EXPECT_EQ(row(screen, 2), L"Bob");
    EXPECT_EQ(row(screen, 3), text(L"empty_profile"));
    EXPECT_FALSE(markerShown(screen, 1));
    EXPECT_TRUE(markerShown(screen, 2)) << "a new profile becomes the current one";
    EXPECT_NE(screen->findButton(L"confirm")->mVisible, 0);

    // A press on a row selects that profile at once; an empty row changes nothing.
    const TDFrameEntry* first = screen->mTextRects.at(L"profile1");
    mHarness.move(first->mRect.x + 5, first->mRect.y + 5);
    mHarness.press(first->mRect.x + 5, first->mRect.y + 5);
    EXPECT_EQ(mMap->mProfile->getCurrentName(), L"Ada");
    EXPECT_EQ(file::Profiles::Instance()->GetCurrentName(), L"Ada");
    EXPECT_TRUE(markerShown(screen, 1));
    EXPECT_FALSE(markerShown(screen, 2));
    mHarness.release(first->mRect.x + 5, first->mRect.y + 5);
    const TDFrameEntry* fourth = screen->mTextRects.at(L"profile4");
    clickAt(fourth->mRect.x + 5, fourth->mRect.y + 5);
    EXPECT_EQ(mMap->mProfile->getCurrentName(), L"Ada");
}

TEST_F(Profiles, TheSixthProfileIsRefusedWithAMessage)
{
    HUDProfiles* screen = openProfiles();
    ASSERT_NE(screen, nullptr);
    for (const wchar_t* name : {L"A1", L"A2", L"A3", L"A4", L"A5"})
        createProfile(name);
    ASSERT_EQ(profileNames().size(), 5u);
    press(L"create");
    EXPECT_EQ(mMap->mState, kStateModal);
    EXPECT_EQ(top<HUDModalInput>(), nullptr);
    HUDModalMessage* message = top<HUDModalMessage>();
    ASSERT_NE(message, nullptr);
    // One button, moved into the middle.
    EXPECT_EQ(message->child(0)->mVisible, 0);
    EXPECT_NE(message->child(1)->mVisible, 0);
    EXPECT_FLOAT_EQ(message->child(1)->mXOffset, 120.0f);
    hud().closeTopWindow();
    EXPECT_EQ(mMap->mState, kStateProfiles) << "the message hands the state back when it goes";
    EXPECT_EQ(profileNames().size(), 5u);
}

TEST_F(Profiles, RenameStartsFromTheCurrentNameAndDeleteAsksFirst)
{
    HUDProfiles* screen = openProfiles();
    ASSERT_NE(screen, nullptr);
    createProfile(L"Ada");
    createProfile(L"Bob");

    press(L"rename");
    ASSERT_EQ(mMap->mState, kStateRenameProfile);
    HUDModalInput* input = top<HUDModalInput>();
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->mText, L"Bob");
    EXPECT_FALSE(okShown(input)) << "the unchanged name is taken";
    mHarness.type(L"by");
    press(L"ok");
    EXPECT_EQ(mMap->mState, kStateProfiles);
    EXPECT_EQ(profileNames(), (std::vector<std::wstring>{L"Ada", L"Bobby"}));
    EXPECT_EQ(row(screen, 2), L"Bobby");
    EXPECT_TRUE(markerShown(screen, 2));

    // A rename cancelled changes nothing.
    press(L"rename");
    mHarness.type(L"X");
    press(L"cancel");
    EXPECT_EQ(mMap->mState, kStateProfiles);
    EXPECT_EQ(profileNames(), (std::vector<std::wstring>{L"Ada", L"Bobby"}));

    GameWindow* board = Game::Get()->GetGameWindow();
    struct Case
    {
        const wchar_t* answer;
        std::vector<std::wstring> left;
    };
    for (const Case& c : {Case{L"cancel", {L"Ada", L"Bobby"}}, Case{L"ok", {L"Ada"}}})
    {
        press(L"delete");
        auto* dialog = dynamic_cast<HUDConfirmProfileDeletionDialog*>(board->mOverlayDialog);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(mMap->mState, kStateProfiles) << "the confirmation does not change the state";
        EXPECT_NE(dialog->child(0)->mVisible, 0);
        EXPECT_NE(dialog->child(1)->mVisible, 0);
        const math::Rect r = dialog->child(std::wstring(c.answer) == L"ok" ? 1 : 0)->mNormal->mRect;
        clickAt(r.x + r.width / 2, r.y + r.height / 2);
        mHarness.step();
        EXPECT_EQ(board->mOverlayDialog, nullptr) << "the board deletes the closed dialog";
        EXPECT_EQ(profileNames(), c.left);
    }
    EXPECT_EQ(row(screen, 1), L"Ada") << "the screen below was refreshed";
    EXPECT_EQ(row(screen, 2), text(L"empty_profile"));

    press(L"back");
    EXPECT_EQ(mMap->mState, kStateMainMenu);
    EXPECT_EQ(top<HUDProfiles>(), nullptr);
}

// The name input closes itself on "ok" and must not run on in the deleted window (run this under the address
// sanitizer to see a use after free).
TEST_F(NameInput, OkOnEveryPathLeavesNoDeletedWindowBehind)
{
    struct Case
    {
        const wchar_t* from;
        int state;
    };
    for (const Case& c :
         {Case{L"", kStateProfiles}, Case{L"mmenu", kStateEpisodeSelect}, Case{L"shop", kStateShop}})
    {
        const wchar_t* from = c.from;
        SCOPED_TRACE(std::string(from, from + std::wcslen(from)));
        HUDModalInput* input = openNewProfileInput(from);
        ASSERT_NE(input, nullptr);
        while (!input->mText.empty())
            mHarness.key(kBackspace);
        mHarness.type(std::wstring(L"P") + std::to_wstring(std::wcslen(from)));
        press(L"ok");
        mHarness.step(3);
        EXPECT_EQ(mMap->mState, c.state);
        EXPECT_EQ(top<HUDModalInput>(), nullptr);
        hud().deleteWindows();
    }
    EXPECT_EQ(profileNames().size(), 3u);
}

class UnlockMessage : public SelectScreens
{
};

TEST_F(UnlockMessage, NewsBeforeALevelShowOneItemPerOkThenTheLevelRuns)
{
    // The first level's tutorial would stand the game still on its own.
    TDTutorial::Instance()->skip();
    struct Case
    {
        const char* what;
        int mode;
        int level;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"the first level's news", kModeNormal, 0, mMap->mUnlocks->getNew(0, 0)},
        {"the second level's news", kModeNormal, 1, mMap->mUnlocks->getNew(0, 1)},
        {"the third level's news", kModeNormal, 2, mMap->mUnlocks->getNew(0, 2)},
        {"the fourth level's news", kModeNormal, 3, mMap->mUnlocks->getNew(0, 3)},
        {"the hardcore rules at the first hardcore level", kModeHardcore, 0, {36, 37, 38}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_FALSE(c.ids.empty());
        mHarness.loadLevel(c.mode, 0, c.level, true);
        EXPECT_EQ(mMap->mState, kStateUnlockMessage);
        EXPECT_EQ(mMap->mSpeed, 0.0f);
        mHarness.step();
        HUDUnlockMessage* message = top<HUDUnlockMessage>();
        ASSERT_NE(message, nullptr);
        ASSERT_EQ(message->mIds, c.ids);
        const float gameTime = mMap->mGameTime;
        mHarness.step(30);
        EXPECT_EQ(mMap->mGameTime, gameTime) << "the level stands still under the message";
        for (int id : c.ids)
        {
            SCOPED_TRACE(id);
            ASSERT_EQ(mMap->mState, kStateUnlockMessage);
            std::vector<std::wstring> shown;
            for (const TDFrameEntry* icon : message->mIcons)
                if (icon->mVisible)
                    shown.push_back(icon->mName);
            EXPECT_EQ(shown, std::vector<std::wstring>{L"icons/id" + std::to_wstring(id)});
            std::wstring said;
            for (const auto& [name, shownText] : message->mTexts)
                if (name == L"message")
                    said = shownText;
            EXPECT_EQ(said, text((L"unlock_" + std::to_wstring(id)).c_str()));
            press(L"ok");
        }
        EXPECT_EQ(mMap->mState, kStatePlaying);
        EXPECT_EQ(mMap->mSpeed, 1.0f);
        EXPECT_EQ(top<HUDUnlockMessage>(), nullptr);
    }
}

TEST_F(UnlockMessage, IdsWithoutAPictureAreLeftOutAndNoneAtAllOpensNothing)
{
    struct Case
    {
        std::vector<int> ids;
        std::vector<int> shown;
    };
    const Case cases[] = {{{20000, 99}, {20000}}, {{99, 36, 98}, {36}}, {{99}, {}}, {{98, 97}, {}}};
    for (const Case& c : cases)
    {
        HUDUnlockMessage message(c.ids);
        EXPECT_EQ(message.mIds, c.shown);
    }
    // A level start whose news have no picture plays at once instead of standing still under an empty
    // message.
    mMap->mState = kStatePlaying;
    mMap->mSpeed = 1.0f;
    EXPECT_FALSE(hud().showUnlockMessage({99, 98}));
    mHarness.step();
    EXPECT_EQ(mMap->mState, kStatePlaying);
    EXPECT_EQ(mMap->mSpeed, 1.0f);
    EXPECT_EQ(top<HUDUnlockMessage>(), nullptr);
}

} // namespace

namespace
{
// Every screen of this family, opened on the demo data, finds its pictures, buttons and texts: no data
// problem is logged and no text is missing from the string sheet.
TEST_F(NameInput, EveryScreenFindsItsDataInTheDemo)
{
    tdtest::LogCapture::Reset();
    ASSERT_NE(openNewProfileInput(L"mmenu"), nullptr);
    mHarness.type(L"x");
    press(L"ok"); // to the episode select
    ASSERT_NE(top<HUDEpisodeSelectIOS>(), nullptr);
    mHarness.step(2);
    press(L"arrow_right");
    mHarness.step(60);
    press(L"arrow_left");
    mHarness.step(60);
    press(L"play"); // to the level select
    mHarness.step(2);
    press(L"locked_d");
    hud().closeTopWindow();
    press(L"back");
    mHarness.step(2);
    press(L"back");
    hud().openProfiles();
    mHarness.step(2);
    press(L"delete");
    mHarness.step(2);
    mHarness.loadLevel(kModeHardcore, 0, 0);
    mHarness.loadLevel(kModeNormal, 0, 1);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"Data file"), 0) << tdtest::LogCapture::Text();
    std::ifstream sheet(tdtest::demoDataRoot() / "td/strings_en.csv");
    std::string missing;
    for (std::string line; std::getline(sheet, line);)
        if (line.find(";???") != std::string::npos)
            missing += line + "\n";
    EXPECT_TRUE(missing.empty()) << missing;
}
} // namespace

namespace
{
// The tutorial's skip asks first, in the board's overlay slot: cancel lets the tutorial go on, confirm turns
// it off for the player.
TEST_F(UnlockMessage, TheTutorialSkipIsConfirmedInTheOverlayDialog)
{
    TDTutorial* tutorial = TDTutorial::Instance();
    GameWindow* board = Game::Get()->GetGameWindow();
    struct Case
    {
        std::size_t button;
        bool available;
    };
    for (const Case& c : {Case{0, true}, Case{1, false}})
    {
        SCOPED_TRACE(c.button);
        tutorial->requestSkip();
        auto* dialog = dynamic_cast<HUDConfirmTutorialCancelDialog*>(board->mOverlayDialog);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(tutorial->isSkipRequested());
        EXPECT_EQ(mMap->mState, kStatePlaying) << "the confirmation leaves the state alone";
        const math::Rect r = dialog->child(c.button)->mNormal->mRect;
        clickAt(r.x + r.width / 2, r.y + r.height / 2);
        mHarness.step();
        EXPECT_EQ(board->mOverlayDialog, nullptr);
        EXPECT_FALSE(tutorial->isSkipRequested());
        EXPECT_EQ(mMap->mProfile->isTutorialAvailable(), c.available);
        if (c.available)
        {
            EXPECT_TRUE(tutorial->isShown()) << "the step shows again";
        }
    }
}
} // namespace
