#pragma once

#include "Source/TD/HUD/Controls/HUDButton.h"

namespace render
{
class Image;
class ParticleEmitter;
} // namespace render

class TDMap;

// One spell of the level on the HUD: its icon, 70 units wide, centred on its spell place. After a cast it
// recharges for the cooldown of its (upgraded) prototype, counting down with the game speed: the icon then
// carries a shade that shrinks towards its top and the whole seconds left, and a glint plays when it is ready
// again. The warcry spell (id 4) needs a tower to act on: while the map has none it shows its shade picture
// and cannot be pressed. The mElapsed field counts the remaining recharge, mPressed is the cooling flag.
class HUDSpellButton : public HUDButton
{
public:
    static constexpr int kTowerSpellId = 4;
    static constexpr float kIconWidth = 70.0f;

    // The spell's prototype and its two pictures (not owned; they live as long as the spell sheet).
    HUDSpellButton(TDMap& map, int spellId, int protoId, render::Image* icon, render::Image* shade);
    ~HUDSpellButton() override;

    // The recharge (by the game speed), the hover zoom and the glint.
    void update(float dt) override;
    void draw(render::Graphics* graphics) override;
    // Not while recharging, nor for the warcry while the map has no tower; else contains.
    bool hitTest(int x, int y) override;
    // On the icon, 70 wide and as high as the icon's proportions make it (70 square without an icon).
    bool contains(int x, int y) override;
    void mouseMove(int x, int y) override;

    // Starts the recharge: the cooldown of the prototype with the bought upgrades.
    void startCooldown();
    // Ready at once, with the glint.
    void setReady();
    // Ready at once, without the glint (a level start, the tutorial).
    void reset();

    bool isCooling() const { return mPressed != 0; }
    float getRemaining() const { return mElapsed; }
    int getSpellId() const { return mSpellId; }
    int getProtoId() const { return mProtoId; }
    // The fraction of the shade drawn: remaining / the table prototype's cooldown, above 1 while an upgrade
    // has raised the cooldown; 0 for a prototype without a positive cooldown.
    float shadeFraction() const;
    // What the recharging button writes on its icon: the whole seconds left, counted up (2.5 shows 3).
    static int secondsShown(float remaining);

    // Owned; null while no glint plays.
    render::ParticleEmitter* mGlint = nullptr;

private:
    // The icon's height at 70 units wide (70 without an icon).
    float shownHeight() const;
    bool spellBlocked() const;

    TDMap& mMap;
    int mSpellId;
    int mProtoId;
    render::Image* mIcon;
    render::Image* mShade;
};
