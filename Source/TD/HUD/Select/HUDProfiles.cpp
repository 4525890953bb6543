#include "Source/TD/HUD/Select/HUDProfiles.h"

#include "Core/Base/Containers.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDModalMessage.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

namespace
{
TDProfile* profile()
{
    TDMap* map = Game::GetMap();
    return map != nullptr ? map->mProfile.get() : nullptr;
}
} // namespace

HUDProfiles::HUDProfiles()
{
    load(L"td/data/profiles");
    buildChildButtons();
    setText(L"caption", LocalStrings::Instance()->get(L"profiles_caption"));
    refresh();
    setFont(boardFont(TDBoardFont::Main32_2));
    setText(L"select", LocalStrings::Instance()->get(L"profiles_select"));
}

HUDButtonOver* HUDProfiles::findButton(const std::wstring& name) const
{
    for (HUDButtonOver* button : mChildButtons)
        if (button->mName == name)
            return button;
    return nullptr;
}

void HUDProfiles::refresh()
{
    TDProfile* player = profile();
    if (player != nullptr)
        player->refreshNames();
    const std::vector<std::wstring> names =
        player != nullptr ? player->getUserProfileNames() : std::vector<std::wstring>();
    const std::wstring current = player != nullptr ? player->getCurrentName() : std::wstring();
    const int n = static_cast<int>(names.size());
    for (int k = 1; k <= kMaxProfiles; ++k)
    {
        const std::wstring shown =
            k <= n ? names[static_cast<std::size_t>(k - 1)] : LocalStrings::Instance()->get(L"empty_profile");
        setText(L"profile" + std::to_wstring(k), shown);
        if (HUDButtonOver* marker = findButton(L"p" + std::to_wstring(k)))
        {
            marker->mLabel = shown;
            marker->mFont = boardFont(TDBoardFont::Main42_3);
            // Only a filled row can be the current one: an empty row's placeholder never matches.
            marker->mVisible = k <= n && shown == current ? 1 : 0;
        }
    }
    if (HUDButtonOver* confirm = findButton(L"confirm"))
        confirm->mVisible = n > 0 ? 1 : 0;
}

void HUDProfiles::mouseMove(int x, int y)
{
    moveChildButtons(x, y);
}

void HUDProfiles::mouseDown(int x, int y)
{
    HUDMenuWindow::mouseDown(x, y);
    TDProfile* player = profile();
    if (player == nullptr)
        return;
    // Rows map by their place in name order: the first two text places are not rows.
    const std::vector<std::wstring> names = player->getUserProfileNames();
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    int position = -2;
    for (const auto& [name, rect] : mTextRects)
    {
        const math::Rect& r = rect->mRect;
        const bool inside = px > r.x && px < r.x + r.width && py > r.y && py < r.y + r.height;
        if (inside && position >= 0 && position < static_cast<int>(names.size()))
        {
            player->selectProfile(names[static_cast<std::size_t>(position)]);
            refresh();
        }
        ++position;
    }
}

std::wstring HUDProfiles::click(int x, int y)
{
    const std::wstring name = HUDMenuWindow::click(x, y);
    TDProfile* player = profile();
    if (name == L"delete" && player != nullptr && !player->getCurrentName().empty())
        if (TDMap* map = Game::GetMap())
            map->mHud->showProfileDeletionDialog();
    return name;
}
