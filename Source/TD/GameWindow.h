#pragma once

#include "Core/Render/BMFont.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Frame.h"

class TDMap;

// The game board: the one screen of the game. It owns the level object TDMap and the game's six fonts, and
// hands it the frame's update and draw and the pointer and keys.
class GameWindow : public widget::BaseBoard
{
public:
    GameWindow();
    // Deletes the map, then releases the fonts.
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

    // Owned.
    TDMap* mMap = nullptr;
    // "td/data/fonts/<name>"; empty when the font could not be loaded.
    CountedHandle<render::BMFont> mFontMain32_1;
    CountedHandle<render::BMFont> mFontMain32_2;
    CountedHandle<render::BMFont> mFontMain42_1;
    CountedHandle<render::BMFont> mFontMain42_2;
    CountedHandle<render::BMFont> mFontMain80;
    CountedHandle<render::BMFont> mFontMain42_3;
    // The last pointer position seen by the move handler.
    int mCursorX = 0;
    int mCursorY = 0;
};
