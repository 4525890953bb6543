#pragma once

namespace render
{
class Graphics;
}

// The radial menu around a build spot or a tower (build, buy the spot, upgrade, sell). The map owns the open
// one, updates it every frame, draws it while it is alive and deletes it once its closing animation has
// ended; its items, animation and pictures come with the screens.
class TDContextMenu
{
public:
    TDContextMenu() = default;
    TDContextMenu(const TDContextMenu&) = delete;
    TDContextMenu& operator=(const TDContextMenu&) = delete;
    virtual ~TDContextMenu() = default;

    virtual void update(float dt);
    virtual void draw(render::Graphics* graphics);
    // Starts the closing animation; the menu stays alive until it has ended.
    virtual void close();

    // Set from construction until the closing animation has ended.
    bool mAlive = true;
};
