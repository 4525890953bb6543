#pragma once

#include "Source/TD/Sprites/TDWatch.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

namespace render
{
class Graphics;
}

// Base of the map's effect sprites: a named thing at a position that ages and dies.
class TDSprite : public TDWatchable
{
public:
    TDSprite() = default;
    virtual ~TDSprite() = default;

    virtual bool isAlive() const { return mAlive; }
    virtual void draw(render::Graphics* graphics);
    virtual void update(float dt);

    std::wstring mName;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mAlive = true;
    // Seconds since creation.
    float mAge = 0.0f;
};

// Updates every sprite of the map's list in order and deletes each one that is no longer alive after its
// update; sprites appended meanwhile are updated in the same walk.
void updateSprites(std::vector<TDSprite*>& sprites, float dt);

// Deletes and removes the first element equal to the pointer, keeping the order; nothing when absent (a null
// pointer, as a watch of a deleted object reads, is never in the list).
template <class T>
void eraseAndDelete(std::vector<T*>& list, std::type_identity_t<T>* element)
{
    if (element == nullptr)
        return;
    auto it = std::find(list.begin(), list.end(), element);
    if (it == list.end())
        return;
    list.erase(it);
    delete element;
}
