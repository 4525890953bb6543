#include "Core/Render/TextureFills.h"

#include "Core/Base/Log.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Texture.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <vector>

namespace render
{

namespace
{
struct Fill
{
    enum class Step
    {
        Queued,
        Running,
        Done
    };

    std::unique_ptr<ImageData> image;
    int32_t compression = 0;
    uint32_t pitch = 0;
    uint32_t size = 0;
    std::wstring name;
    Step step = Step::Queued;
    std::unique_ptr<uint8_t[]> pixels;
    HitMask mask;
    VNResultEnum result = VN_FAIL;

    // Any thread; the fill is this thread's alone while Running.
    void Decode()
    {
        const auto width = static_cast<uint32_t>(image->GetWidth());
        const auto height = static_cast<uint32_t>(image->GetHeight());
        pixels.reset(new (std::nothrow) uint8_t[size]);
        result = VN_FAIL;
        if (pixels)
        {
            try
            {
                mask.Resize(width * height, false);
                result = image->CopyPixels(pitch, pixels.get(), &mask);
            }
            catch (const std::bad_alloc&)
            {
                result = VN_FAIL;
            }
        }
        image.reset();
    }
};
} // namespace

struct TextureFills::State
{
    mutable std::mutex mutex;
    std::condition_variable work;
    std::condition_variable done;
    std::deque<Texture*> queue;
    std::unordered_map<Texture*, std::shared_ptr<Fill>> fills;
    std::vector<std::thread> workers;
    bool started = false;
    bool stopping = false;

    void Work()
    {
        std::unique_lock lock(mutex);
        for (;;)
        {
            work.wait(lock, [this] { return stopping || !queue.empty(); });
            if (stopping)
                return;
            const std::shared_ptr<Fill> fill = fills[queue.front()];
            queue.pop_front();
            fill->step = Fill::Step::Running;
            lock.unlock();
            fill->Decode();
            lock.lock();
            fill->step = Fill::Step::Done;
            done.notify_all();
        }
    }
};

TextureFills& TextureFills::Instance()
{
    static TextureFills fills;
    return fills;
}

TextureFills::TextureFills() : mState(std::make_unique<State>()) {}

TextureFills::~TextureFills()
{
    Stop();
}

void TextureFills::Stop()
{
    {
        std::lock_guard lock(mState->mutex);
        mState->stopping = true;
    }
    mState->work.notify_all();
    for (std::thread& worker : mState->workers)
        worker.join();
    mState->workers.clear();
    std::lock_guard lock(mState->mutex);
    mState->stopping = false;
    mState->started = false;
}

void TextureFills::Defer(Texture* texture, std::unique_ptr<ImageData> image, int32_t compression,
                         uint32_t pitch, uint32_t size, const std::wstring& name)
{
    auto fill = std::make_shared<Fill>();
    fill->image = std::move(image);
    fill->compression = compression;
    fill->pitch = pitch;
    fill->size = size;
    fill->name = name;
    {
        std::lock_guard lock(mState->mutex);
        mState->fills[texture] = std::move(fill);
        mState->queue.push_back(texture);
    }
    mState->work.notify_one();
}

VNResultEnum TextureFills::Complete(Texture* texture)
{
    std::shared_ptr<Fill> fill;
    {
        std::unique_lock lock(mState->mutex);
        const auto it = mState->fills.find(texture);
        if (it == mState->fills.end())
            return VN_OK;
        fill = it->second;
        if (fill->step == Fill::Step::Queued)
        {
            std::erase(mState->queue, texture);
            fill->step = Fill::Step::Running;
            lock.unlock();
            fill->Decode();
            lock.lock();
            fill->step = Fill::Step::Done;
        }
        mState->done.wait(lock, [&fill] { return fill->step == Fill::Step::Done; });
        mState->fills.erase(texture);
    }
    texture->mFillPending = false;
    VNResultEnum result = fill->result;
    if (result == VN_OK)
        result = texture->CreateFromPixels(texture->mWidth, texture->mHeight, fill->compression,
                                           fill->pixels.get(), fill->size);
    if (result == VN_OK)
        texture->mHitBits = fill->mask.Take();
    else
        base::LogMessage(*base::MainLog::Instance(), L"Image '%s' cannot be loaded.\n") % fill->name;
    return result;
}

void TextureFills::Cancel(Texture* texture)
{
    std::unique_lock lock(mState->mutex);
    const auto it = mState->fills.find(texture);
    if (it == mState->fills.end())
        return;
    const std::shared_ptr<Fill> fill = it->second;
    std::erase(mState->queue, texture);
    mState->done.wait(lock, [&fill] { return fill->step != Fill::Step::Running; });
    mState->fills.erase(texture);
}

void TextureFills::OnPresented()
{
    std::vector<Texture*> finished;
    {
        std::lock_guard lock(mState->mutex);
        if (!mState->started)
        {
            mState->started = true;
            // Leave a core to the main thread, which goes on drawing meanwhile.
            const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
            const unsigned count = std::min(4u, cores - 1);
            for (unsigned i = 0; i < count; ++i)
                mState->workers.emplace_back([this] { mState->Work(); });
        }
        for (const auto& [texture, fill] : mState->fills)
            if (fill->step == Fill::Step::Done)
                finished.push_back(texture);
    }
    for (Texture* texture : finished)
        (void)Complete(texture);
}

size_t TextureFills::GetPendingCount() const
{
    std::lock_guard lock(mState->mutex);
    return mState->fills.size();
}

} // namespace render
