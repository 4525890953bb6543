#pragma once

#include "Source/TD/Towers/TDBullets.h"

// A placed spell: a bullet that never moves. Its cast starts the lasting effects (areas, tower boost,
// effects, sprites) with the bought upgrades applied; while it lives it hits each unit that comes into its
// circle once, with the table's own values.
class TDSpell : public TDBullet
{
public:
    explicit TDSpell(int protoId);
    // Once, right after the spell joined the bullet list.
    void cast();
    void update(float dt) override;

    int mProtoId = 0;
};
