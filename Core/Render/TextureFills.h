#pragma once

#include "Core/Base/Result.h"

#include <memory>
#include <string>

namespace render
{

class ImageData;
class Texture;

// Decodes the pixels of textures whose decoder may run on any thread (ImageData::CanCopyOffThread) on worker
// threads, so a start shows its first frame before every sprite sheet is decoded. The workers begin after the
// first frame was presented; a texture is filled (its device texture created from the pixels, its hit mask
// set) on the main thread, when a finished decode is collected after a present, or at the latest when the
// texture is first drawn or hit-tested, which then decodes it itself if no worker took it yet. Every decode
// is the one the texture would have made at once: what is shown and hit does not change, only when the work
// is done. The workers are joined when the queue goes at exit.
class TextureFills
{
public:
    static TextureFills& Instance();
    ~TextureFills();
    TextureFills(const TextureFills&) = delete;
    TextureFills& operator=(const TextureFills&) = delete;

    // Queues the decode of the texture's top level (pitch and size of that level in bytes); the name is for
    // the log line of a decode that fails.
    void Defer(Texture* texture, std::unique_ptr<ImageData> image, int32_t compression, uint32_t pitch,
               uint32_t size, const std::wstring& name);
    // Main thread: the texture's decode is finished (here, when no worker had taken it) and the texture
    // filled.
    VNResultEnum Complete(Texture* texture);
    // The texture is going: its decode is dropped, or waited for when a worker holds it.
    void Cancel(Texture* texture);
    // Main thread, after each present: lets the workers start and fills the textures whose decode finished.
    void OnPresented();
    // Decodes queued or running, for tests.
    size_t GetPendingCount() const;
    // Joins the workers; queued decodes stay and are done on demand.
    void Stop();

private:
    TextureFills();
    struct State;
    std::unique_ptr<State> mState;
};

} // namespace render
