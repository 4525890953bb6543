#include "Source/TD/HUD/HUDWindow.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Paths.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{

// Every window scales its images and texts about the centre of the layout space, the centre of the map's
// view rectangle on every screen width (the buttons use only the view's size).
constexpr float kCentreX = TDButtonFrame::kLayoutCentreX;
constexpr float kCentreY = TDButtonFrame::kLayoutCentreY;

bool holds(const math::Rect& rect, int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px >= rect.x && px <= rect.x + rect.width && py >= rect.y && py <= rect.y + rect.height;
}

} // namespace

HUDWindow::HUDWindow() : mFont(boardFont(TDBoardFont::Main42_3)) {}

HUDWindow::HUDWindow(const std::wstring& layoutName) : HUDWindow()
{
    load(layoutName);
    releaseLayout();
}

HUDWindow::~HUDWindow()
{
    for (TDFrameEntry* image : mImages)
        delete image;
    for (TDButtonFrame* button : mButtons)
        delete button;
    for (auto& [name, rect] : mTextRects)
        delete rect;
    releaseLayout();
}

void HUDWindow::load(const std::wstring& layoutName)
{
    file::RegisterImageContainers();
    releaseLayout();
    mLayoutName = layoutName;
    mLayout = file::FileManager::Instance()->OpenImageContainer(layoutName);
    if (mLayout == nullptr)
    {
        logDataProblem(layoutName, L"the screen layout cannot be opened; the screen shows nothing");
        return;
    }

    forEachLayoutImage(*mLayout, std::wstring(), false,
                       [this](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* image = new TDFrameEntry;
                           fillFromLayout(*image, mLayout, name, info);
                           image->mName = name;
                           mImages.push_back(image);
                       });
    forEachLayoutImage(*mLayout, L"button", true,
                       [this](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* button = new TDButtonFrame;
                           fillFromLayout(*button, mLayout, name, info);
                           button->mName = base::GetBaseName(name);
                           mButtons.push_back(button);
                       });
    forEachLayoutImage(*mLayout, L"text", false,
                       [this](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* rect = new TDFrameEntry;
                           rect->mRect = layoutRect(info);
                           rect->mName = base::GetBaseName(name);
                           // A later rectangle of the same name takes the place of the earlier one.
                           TDFrameEntry*& slot = mTextRects[rect->mName];
                           delete slot;
                           slot = rect;
                       });

    std::stable_sort(mImages.begin(), mImages.end(), TDFrameEntry::lessByDepth);
}

void HUDWindow::releaseLayout()
{
    delete mLayout;
    mLayout = nullptr;
}

void HUDWindow::draw(render::Graphics* graphics)
{
    drawImages(graphics);
    drawButtons(graphics);
    drawTexts(graphics);
}

void HUDWindow::update(float dt)
{
    mElapsed += dt;
    for (TDButtonFrame* button : mButtons)
        button->update(dt);
}

void HUDWindow::refresh() {}

void HUDWindow::reservedHook() {}

void HUDWindow::onClose() {}

void HUDWindow::mouseMove(int x, int y)
{
    mCursorX = static_cast<float>(x);
    mCursorY = static_cast<float>(y);
    for (TDButtonFrame* button : mButtons)
        button->onMouseMove(x, y);
}

void HUDWindow::followPointer()
{
    if (TDScreenContext* board = TDScreenContext::current())
    {
        mCursorX = static_cast<float>(board->getPointerX());
        mCursorY = static_cast<float>(board->getPointerY());
    }
}

void HUDWindow::mouseUp(int, int) {}

void HUDWindow::mouseDown(int, int) {}

void HUDWindow::mouseWheel(int) {}

void HUDWindow::onChar(int) {}

void HUDWindow::onKeyDown(int) {}

int HUDWindow::hitTest(int x, int y)
{
    for (size_t i = 0; i < mButtons.size(); ++i)
        if (holds(mButtons[i]->mRect, x, y))
            return static_cast<int>(i);
    return -1;
}

std::wstring HUDWindow::click(int x, int y)
{
    std::wstring name = buttonAt(x, y);
    if (!name.empty())
        (void)w7::SoundTags::Instance()->Play(L"simple");
    return name;
}

std::wstring HUDWindow::buttonAt(int x, int y) const
{
    for (const TDButtonFrame* button : mButtons)
        if (button->mVisible && holds(button->mRect, x, y))
            return button->mName;
    return std::wstring();
}

TDButtonFrame* HUDWindow::findButton(const std::wstring& name)
{
    for (TDButtonFrame* button : mButtons)
        if (button->mName == name)
            return button;
    if (mReportedMissing.insert(name).second)
        logDataProblem(mLayoutName.empty() ? std::wstring(L"(screen without layout)") : mLayoutName,
                       L"no button '" + name + L"'");
    return nullptr;
}

void HUDWindow::setButtonVisible(const std::wstring& name, bool visible)
{
    if (TDButtonFrame* button = findButton(name))
        button->mVisible = visible;
}

void HUDWindow::setFont(const CountedHandle<render::Font>& font)
{
    mFont = font;
}

void HUDWindow::setText(const std::wstring& rectName, const std::wstring& text)
{
    for (auto& [name, shown] : mTexts)
    {
        if (name == rectName)
        {
            shown = text;
            return;
        }
    }
    mTexts.emplace_back(rectName, text);
}

void HUDWindow::setImageVisible(const std::wstring& imageName, bool visible)
{
    for (TDFrameEntry* image : mImages)
        if (image->mName == imageName)
            image->mVisible = visible;
}

void HUDWindow::drawImages(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    for (TDFrameEntry* image : mImages)
    {
        if (!image->mVisible || image->mTexture == nullptr)
            continue;
        graphics->DrawImage(image->mTexture)
            .Translate(image->mRect.x + mOffsetX - kCentreX, image->mRect.y + mOffsetY - kCentreY)
            .Scale(mScale)
            .Translate(kCentreX, kCentreY);
    }
}

void HUDWindow::drawButtons(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    for (TDButtonFrame* button : mButtons)
        if (button->mVisible)
            button->draw(graphics, mScale);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void HUDWindow::drawTexts(render::Graphics* graphics)
{
    for (const auto& [name, text] : mTexts)
        drawText(graphics, name, text);
}

void HUDWindow::drawText(render::Graphics* graphics, const std::wstring& rectName, const std::wstring& text)
{
    if (graphics == nullptr)
        return;
    const auto found = mTextRects.find(rectName);
    const TDFrameEntry* rect = found != mTextRects.end() ? found->second : nullptr;
    const bool caption = rectName == L"caption" || rectName == L"levelResult";
    const CountedHandle<render::Font> font = caption ? boardFont(TDBoardFont::Main80) : mFont;
    if (font)
        graphics->mFont = font.Get();
    if (rect == nullptr || graphics->mFont == nullptr)
        return;
    graphics->SetColor(rect->mColor);
    auto draw = graphics->DrawText(text, rect->mRect.width, 0.0f, 2, true);
    draw->mAlignH = 2;
    draw->mAlignV = 2;
    draw.Translate(mOffsetX + rect->mRect.x + rect->mRect.width * 0.5f - kCentreX,
                   mOffsetY + rect->mRect.y + rect->mRect.height * 0.5f - kCentreY)
        .Scale(mScale)
        .Translate(kCentreX, kCentreY);
}
