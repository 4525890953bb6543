#include "Source/TD/HUD/Menus/HUDModalInput.h"

#include "Core/File/Profiles.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

#include <algorithm>

namespace
{
constexpr int kBackspace = 8;

bool isNameCharacter(int c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void setEditText(const std::wstring& text)
{
    if (TDMap* map = Game::GetMap())
        map->mTypedName = text;
}
} // namespace

HUDModalInput::HUDModalInput() : HUDModalMessage(NoMessage{})
{
    TDMap* map = Game::GetMap();
    const int state = map != nullptr ? map->mState : -1;
    if (state == kStateNewProfileName && map->mProfile)
        mText = LocalStrings::Instance()->get(L"default_player") +
                std::to_wstring(map->mProfile->getUserProfileNames().size());
    else if (state == kStateRenameProfile && map->mProfile)
        mText = map->mProfile->getCurrentName();
    // The starting text obeys the same rule as typed text.
    if (mText.size() > kMaxLength)
        mText.resize(kMaxLength);
    for (TDFrameEntry* image : mImages)
        if (image->mName == L"input")
            mInputBox = image;
    setEditText(mText);
    setText(L"caption", LocalStrings::Instance()->get(L"profile_edit_caption"));
    applyNameRule();
}

HUDModalInput::~HUDModalInput() = default;

bool HUDModalInput::isAcceptable() const
{
    if (mText.empty())
        return false;
    const std::vector<std::wstring> names = file::Profiles::Instance()->GetNames();
    return std::find(names.begin(), names.end(), mText) == names.end();
}

void HUDModalInput::applyNameRule()
{
    if (HUDButtonOver* ok = child(1))
        ok->mVisible = isAcceptable() ? 1 : 0;
}

void HUDModalInput::mouseMove(int x, int y)
{
    moveChildButtons(x, y);
}

void HUDModalInput::onChar(int character)
{
    if (mText.size() >= kMaxLength)
        return;
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main32_2);
    const bool drawable = font && font->HasGlyph(static_cast<uint32_t>(character));
    if (drawable && isNameCharacter(character))
    {
        mText.push_back(static_cast<wchar_t>(character));
        setEditText(mText);
    }
    applyNameRule();
}

void HUDModalInput::onKeyDown(int key)
{
    if (key != kBackspace)
        return;
    if (!mText.empty())
    {
        mText.pop_back();
        setEditText(mText);
    }
    applyNameRule();
}

std::wstring HUDModalInput::click(int x, int y)
{
    const std::wstring name = HUDModalMessage::click(x, y);
    TDMap* map = Game::GetMap();
    if (map == nullptr || (name != L"ok" && name != L"cancel"))
        return name;
    HUD& hud = *map->mHud;
    if (name == L"ok")
    {
        // Everything the window knows is taken before the HUD deletes it.
        const std::wstring typed = mText;
        if (map->mState == kStateNewProfileName)
            map->mProfile->createProfile(typed);
        else if (map->mState == kStateRenameProfile)
            map->mProfile->renameProfile(typed);
        hud.closeTopWindow(); // deletes this window
        map->mTypedName.clear();
        if (map->mCurrentScreen == L"mmenu")
        {
            hud.closeTopWindow();
            hud.openEpisodeSelect();
        }
        else if (map->mCurrentScreen == L"shop")
        {
            hud.closeTopWindow();
            hud.openShop(0);
            shopReturnScreen() = L"mmenu";
        }
        else
        {
            map->mState = kStateProfiles;
        }
        hud.refreshTopWindow();
        return name;
    }
    // "cancel": a rename closes itself; a new-profile entry is closed by the map after the click.
    if (map->mState == kStateRenameProfile)
    {
        hud.closeTopWindow(); // deletes this window
        map->mState =
            map->mCurrentScreen == L"mmenu" || map->mCurrentScreen == L"shop" ? kStateMainMenu : kStateProfiles;
        map->mTypedName.clear();
    }
    return name;
}

void HUDModalInput::draw(render::Graphics* graphics)
{
    HUDModalMessage::draw(graphics);
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main42_3);
    if (graphics == nullptr || mInputBox == nullptr || !font)
        return;
    graphics->mFont = font.Get();
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    // The draw runs when `text` goes, so the string it reads must outlive it.
    const std::wstring shown = mText + L"|";
    auto text = graphics->DrawText(shown);
    text->mAlignH = 0;
    text->mAlignV = 2;
    text.Translate(mInputBox->mRect.x + 15.0f, mInputBox->mRect.y + mInputBox->mRect.height * 0.5f);
}
