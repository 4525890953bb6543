#pragma once

#include "Core/Base/Result.h"

namespace layer
{
class Drawable;
}

namespace animation
{

struct LayerRecord;

// Something that poses its target for a time value.
class Anim
{
public:
    virtual ~Anim() = default;
    virtual VNResultEnum Apply(float time) = 0;
};

// Poses one drawable from one layer record: transform, alpha from dissolve and, with colour, colour and tint.
class LayerAnim : public Anim
{
public:
    LayerAnim(layer::Drawable* target, const LayerRecord* record) : mTarget(target), mRecord(record) {}

    VNResultEnum Apply(float time) override;

    layer::Drawable* GetTarget() const { return mTarget; }
    const LayerRecord* GetRecord() const { return mRecord; }

private:
    layer::Drawable* mTarget;   // not owned
    const LayerRecord* mRecord; // not owned
};

} // namespace animation
