#pragma once

#include <array>
#include <string>
#include <vector>

namespace render
{
class Font;
class Graphics;
class Image;
} // namespace render

// One notice floating up from a point of the map.
struct HUDPopupNotice
{
    static constexpr float kLife = 0.75f;
    static constexpr float kFadeTime = 0.25f;
    // Units per second along the velocity.
    static constexpr float kSpeed = 15.0f;
    static constexpr float kTextScale = 0.75f;
    static constexpr float kTextOffsetX = 14.0f;

    // Rises; dies once its life has passed.
    void update(float dt);
    // The icon centred on the point, the text to its right, both fading over the last quarter second.
    void draw(render::Graphics* graphics) const;

    bool mAlive = true;
    // Not owned.
    render::Image* mIcon = nullptr;
    std::wstring mText;
    float mX = 0.0f;
    float mY = 0.0f;
    int mKind = 0;
    float mLife = kLife;
    float mElapsed = 0.0f;
    float mVelocityX = 0.0f;
    float mVelocityY = -1.0f;
    // Grows the text about the notice's point (the tower upgrade figures are shown larger).
    float mScale = 1.0f;
};

// The map's rising notices: "+N" money (kind 4, money icon), hits on immune units (kind 2, immune icon) and
// tower upgrade figures (kind 5, text only).
class HUDPopupTexts
{
public:
    static constexpr int kKindImmune = 2;
    static constexpr int kKindMoney = 4;
    static constexpr int kKindText = 5;

    // Takes the icons "ui/immune" and "ui/money" from the preloaded sheet "td/ui"; a missing one stays empty.
    HUDPopupTexts();
    HUDPopupTexts(const HUDPopupTexts&) = delete;
    HUDPopupTexts& operator=(const HUDPopupTexts&) = delete;
    ~HUDPopupTexts();

    // A new notice at the point with the icon of its kind (kinds 0, 1, 2 and 4 have icon slots); the list
    // owns it, the caller sets its text.
    HUDPopupNotice* add(float x, float y, int kind);
    // Advances every notice, then deletes the dead ones.
    void update(float dt);
    // Makes mFont the graphics' font (when set; it stays so afterwards), then draws every notice in order.
    void draw(render::Graphics* graphics);
    void clear();

    const std::vector<HUDPopupNotice*>& getNotices() const { return mNotices; }

    // Icon per kind 0 to 4 (kind 3 never has one); not owned.
    std::array<render::Image*, 5> mIcons{};
    // The board's "main_42_3" font; not owned.
    render::Font* mFont = nullptr;

private:
    std::vector<HUDPopupNotice*> mNotices;
};
