#pragma once

#include "Core/Render/BMFont.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Frame.h"
#include "Source/TD/HUD/TDScreenContext.h"

class HUDWindow;
class TDMap;

// The game board: the one screen of the game. It owns the level object TDMap and the game's six fonts, hands
// the map the frame's update and draw and the pointer and keys, and shows two windows over everything (a
// confirmation dialog and the level-start banner). While it lives it is what the screens ask for the fonts,
// the pointer and the root layer they hang their own layers on.
class GameWindow : public widget::BaseBoard, public TDScreenContext
{
public:
    GameWindow();
    // Deletes the overlay windows and the map, then releases the fonts.
    ~GameWindow() override;

    // Takes every pointer event no frame above takes; loads the particle file and the fonts; builds the map,
    // credits its purse with the player's gems and opens the first screen.
    VNResultEnum Init() override;
    VNResultEnum Update(float dt) override;
    VNResultEnum PreDraw(render::Graphics* graphics, layer::Layer* layer) override;
    VNResultEnum PostDraw(render::Graphics* graphics, layer::Layer* layer) override;
    // Keys go to the HUD, then, with the map's developer flag set and a level being played, the developer
    // keys.
    VNResultEnum OnKeyDown(int32_t key) override;
    VNResultEnum OnChar(wchar_t character) override;

    // The map receives logical points truncated toward zero.
    VNResultEnum OnWidgetMouseDown(const math::Point3& point, int32_t button) override;
    VNResultEnum OnWidgetMouseUp(const math::Point3& point, int32_t button) override;
    VNResultEnum OnWidgetMouseMove(const math::Point3& point) override;
    VNResultEnum OnWidgetMouseDrag(const math::Point3& point) override;
    VNResultEnum OnWidgetMouseWheel(const math::Point3& point, uint16_t wheel) override;

    TDMap* getMap() const { return mMap; }

    // The screens' view of the board.
    CountedHandle<render::Font> getFont(TDBoardFont font) const override;
    int getPointerX() const override { return mCursorX; }
    int getPointerY() const override { return mCursorY; }
    layer::Layer* getRootLayer() const override;

    // Owned.
    TDMap* mMap = nullptr;
    // "td/data/fonts/<name>"; empty when the font could not be loaded.
    CountedHandle<render::BMFont> mFontMain32_1;
    CountedHandle<render::BMFont> mFontMain32_2;
    CountedHandle<render::BMFont> mFontMain42_1;
    CountedHandle<render::BMFont> mFontMain42_2;
    CountedHandle<render::BMFont> mFontMain80;
    CountedHandle<render::BMFont> mFontMain42_3;
    // Shown over everything and given the pointer while set (profile deletion or reset, tutorial cancel);
    // owned.
    HUDWindow* mOverlayDialog = nullptr;
    // The level-start banner; owned.
    HUDWindow* mLevelBanner = nullptr;
    // The last pointer position seen by the move handler.
    int mCursorX = 0;
    int mCursorY = 0;
};
