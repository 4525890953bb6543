#pragma once

#include "Core/Resource/Resource.h"
#include "Core/Sound/Mixer/Mixer.h"

namespace resource
{
// A sound effect decoded into the mixer once; named by its path (with or without extension).
class ResourceSound : public Resource
{
public:
    ResourceSound() = default;
    ~ResourceSound() override;

    // Hands the sound to the resource manager, which unloads and deletes it.
    VNResultEnum Release() override;
    // The mixer's sample, 0 while not loaded.
    mixer::Handle GetSample() const { return mSample; }

protected:
    // Finds name, name.ogg or name.wav; 1 when none exists or the data cannot be decoded.
    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;

private:
    mixer::Handle mSample = 0;
};
} // namespace resource
