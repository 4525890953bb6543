#pragma once

#include "Core/Resource/CountedHandle.h"
#include "Framework/GameApplication.h"

namespace render
{
class Graphics;
class Image;
} // namespace render

class GameWindow;
class TDMap;
class TMobShader;

// The game's application: the logical screen of 1024 to 1366 x 768, the user-data folder "Orvalis/Corvantis",
// the pack "data.dat" on "td/", the caption and the start-up screen mode from the player's profile, the unit
// shader, the side images beside the 1024-wide playfield, the loading picture, and the game board as its only
// screen. Keys and characters always go to the game board.
class Game : public framework::GameApplication
{
public:
    Game();
    // Particle atlases, the frames (the game board and its map), the pictures and the shader go while the
    // renderer still exists.
    ~Game() override;

    // The running game; null when the application is none (tools and tests of single parts).
    static Game* Get();
    // The game board's map; null before the board has made it (and while it makes it) and without a game.
    static TDMap* GetMap();

    GameWindow* GetGameWindow() const { return mGameWindow; }
    TMobShader* GetMobShader() const { return mMobShader.Get(); }

    // The side images framing the playfield on a wide screen, scaled to the screen's height.
    VNResultEnum DrawSideImages(render::Graphics* graphics);
    // Shows the loading picture at once, outside the normal frame.
    VNResultEnum DrawLoadingScreen();

    VNResultEnum PreInitGame() override;
    VNResultEnum InitGame() override;
    // All game work runs in the game board's update.
    VNResultEnum UpdateGame(float dt) override;
    // The side images in the bars, only behind the episode and level select, the shop and modal messages.
    VNResultEnum DrawBorders(render::Graphics* graphics) override;
    void OnActivate() override;
    void OnDeactivate() override;
    // The engine's switch; a changed mode is stored in the player's profile.
    VNResultEnum SwitchScreenMode() override;

    // Keys go to the game board, or to the frame manager while a modal dialog is up.
    VNResultEnum OnKeyDown(int key) override;
    VNResultEnum OnKeyUp(int key) override;
    VNResultEnum OnChar(wchar_t character) override;

protected:
    bool KeysGoToBoard() const;

    // Owned; null when missing.
    render::Image* mSideLeft = nullptr;
    render::Image* mSideRight = nullptr;
    CountedHandle<TMobShader> mMobShader;
    render::Image* mLoadingImage = nullptr;
    // Owned through the frame manager.
    GameWindow* mGameWindow = nullptr;
};
