#include "Source/TD/HUD/Menus/TMessageBox.h"

#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/TamselButton.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"

namespace
{
constexpr float kMessageX = 512.0f;
constexpr float kMessageY = 400.0f;
constexpr float kButtonY = 520.0f;
constexpr float kSingleButtonX = 512.0f;
constexpr float kCancelX = 636.0f;
constexpr float kOkX = 396.0f;
} // namespace

TMessageBox::TMessageBox(const std::wstring& textKey, const std::wstring& command, const std::wstring& detail)
    : mTextKey(textKey), mCommand(command), mDetail(detail)
{
}

VNResultEnum TMessageBox::Init()
{
    if (const VNResultEnum r = gui::GameControlHelper::Init(
            L"td/data/mm", this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true);
        r != VN_OK)
        return r;
    if (const VNResultEnum r = CreateImageLayer(L"back", gui::HitModeDisabled, nullptr, nullptr); r != VN_OK)
        return r;
    layer::TextLayer* message = nullptr;
    if (const VNResultEnum r =
            addCaption(L"text/message", mTextKey, boardFont(TDBoardFont::Main42_3), &message);
        r != VN_OK)
        return r;
    if (!mDetail.empty())
        message->SetText(LocalStrings::Instance()->get(mTextKey) + L"\n" + mDetail);
    message->SetPosition(math::Point3(kMessageX, kMessageY, 0.0f));
    if (mCommand.empty())
        return addButton(mFirstButton, kSingleButtonX, L"button/b1_cancel/label", L"b1_ok");
    if (const VNResultEnum r = addButton(mFirstButton, kCancelX, L"button/b1_cancel/label", L"b1_cancel");
        r != VN_OK)
        return r;
    return addButton(mSecondButton, kOkX, L"button/b1_ok/label", L"b1_ok");
}

VNResultEnum TMessageBox::addButton(TamselButton*& button, float x, const std::wstring& captionRect,
                                    const std::wstring& captionKey)
{
    button = new TamselButton;
    if (const VNResultEnum r =
            button->init(GetContainer(), L"button/b1_normal", L"button/b1_over", L"button/b1_ok/label");
        r != VN_OK)
    {
        delete button;
        button = nullptr;
        return r;
    }
    button->SetPosition(math::Point3(x, kButtonY, 0.0f));
    button->SetButtonListener(this);
    AddWidget(button);
    layer::TextLayer* caption = nullptr;
    if (const VNResultEnum r = addCaption(captionRect, captionKey, boardFont(TDBoardFont::Main80), &caption);
        r != VN_OK)
        return r;
    caption->SetPosition(math::Point3(x, kButtonY, 0.0f));
    return VN_OK;
}

VNResultEnum TMessageBox::OnButtonClick(widget::Button* button)
{
    (void)w7::SoundTags::Instance()->Play(L"simple");
    if (mFirstButton && button == static_cast<widget::Button*>(mFirstButton))
        return Hide(true);
    if (mSecondButton && button == static_cast<widget::Button*>(mSecondButton))
    {
        const VNResultEnum r = Hide(true);
        if (TDMap* map = Game::GetMap())
            map->executeConfirmedCommand(mCommand);
        return r;
    }
    return VN_OK;
}
