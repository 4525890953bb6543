#include "Source/TD/Sprites/TDSprite.h"

void TDSprite::draw(render::Graphics*) {}

void TDSprite::update(float) {}

void updateSprites(std::vector<TDSprite*>& sprites, float dt)
{
    for (std::size_t i = 0; i < sprites.size();)
    {
        TDSprite* sprite = sprites[i];
        sprite->update(dt);
        if (sprite->isAlive())
        {
            ++i;
            continue;
        }
        sprites.erase(sprites.begin() + static_cast<std::ptrdiff_t>(i));
        delete sprite;
    }
}
