#pragma once

#include "Core/Base/Singleton.h"

#include <map>
#include <string>
#include <vector>

namespace ptl
{
class File;
}

namespace render
{
class Image;
class ParticleEmitter;
class Render;

// The effects of the particle file loaded at start-up: every emitter kept as a prototype under its own name,
// the atlases loaded as textures, and independent copies handed out by name.
class ParticleSystem : public base::Singletone<ParticleSystem>
{
public:
    ParticleSystem();
    ~ParticleSystem() override;

    // Loads mFolder + file (".ptc" optional) through the file manager, then its atlases through render (none
    // without a render). A missing or invalid file loads nothing; a damaged or truncated one is logged.
    void Load(const std::string& file, Render* render);
    // The same from the bytes of a particle file; false when they are not one.
    bool LoadFromMemory(const void* data, std::size_t size, Render* render);

    // A new stopped copy of the emitter of exactly that name, owned by the caller; null when there is none.
    ParticleEmitter* GetEmitter(const std::string& name) const;
    // Deletes every atlas image; called at shutdown before the renderer goes.
    void ReleaseAtlasTextures();

    // The atlas at that position of the list, null when out of range or not loaded.
    Image* GetAtlas(int index) const;
    int GetAtlasCount() const { return int(mAtlases.size()); }
    int GetEmitterCount() const { return int(mEmitters.size()); }
    // For tests: put an image in an atlas slot (null clears it); the system owns it.
    void SetAtlas(int index, Image* image);

    std::string mFolder;        // in front of the file name and the atlas names; ends in '/'
    int mInterpolationMode = 1; // 0 keep the file's setting, 1 on, other values off
    int mLoopMode = 0;          // handed to every loaded emitter

private:
    void LoadFolder(ptl::File& file, const std::string& folder, int atlasBase);
    int mSkippedEmitters = 0; // damaged emitter records of the last LoadFromMemory

    std::map<std::string, ParticleEmitter*> mEmitters; // prototypes, owned
    std::vector<Image*> mAtlases;                      // owned, in load order
};
} // namespace render
