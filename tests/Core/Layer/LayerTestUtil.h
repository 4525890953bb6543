#pragma once

// Images with a hit mask and no device behind them, and a listener that writes down what it receives.

#include "Core/Layer/HitTest.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Image.h"
#include "Core/Render/Texture.h"

#include <functional>
#include <string>
#include <vector>

namespace test
{

// A texture that only answers hit tests, from a predicate over pixels; it remembers the last pixel asked.
class MaskTexture : public render::Texture
{
public:
    MaskTexture(uint32_t w, uint32_t h, std::function<bool(int, int)> solid) : render::Texture(nullptr)
    {
        mWidth = w;
        mHeight = h;
        mHitBits.assign((static_cast<size_t>(w) * h + 7) / 8, 0);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                if (solid(static_cast<int>(x), static_cast<int>(y)))
                {
                    const size_t bit = x + static_cast<size_t>(y) * w;
                    mHitBits[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
                }
    }

    bool HitTest(int32_t x, int32_t y) const override
    {
        lastX = x;
        lastY = y;
        return render::Texture::HitTest(x, y);
    }

    VNResultEnum CreateRenderTarget(uint32_t, uint32_t) override { return VN_FAIL; }
    VNResultEnum CreateDynamic(uint32_t, uint32_t) override { return VN_FAIL; }
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum Lock(int32_t*, int32_t*, void**) override { return VN_FAIL; }
    VNResultEnum Unlock() override { return VN_FAIL; }
    VNResultEnum CreateFromPixels(uint32_t, uint32_t, int32_t, const void*, uint32_t) override
    {
        return VN_FAIL;
    }

    mutable int32_t lastX = -1;
    mutable int32_t lastY = -1;
};

// An image over a MaskTexture it owns.
class MaskImage : public render::Image
{
public:
    MaskImage(uint32_t w, uint32_t h, std::function<bool(int, int)> solid) : mMask(w, h, std::move(solid))
    {
        mTexture = &mMask;
        mWidth = static_cast<int32_t>(w);
        mHeight = static_cast<int32_t>(h);
    }
    ~MaskImage() override { mTexture = nullptr; }

    MaskTexture mMask;
};

// One received event.
struct Received
{
    std::string who;
    std::string kind;
    layer::Layer* target = nullptr;
    layer::Layer* layer = nullptr;
    math::Point3 point;
};

// Writes every event into a shared log, answers with a set state and result.
class LogListener : public layer::HitTestListener
{
public:
    LogListener(std::string name, std::vector<Received>* log) : mName(std::move(name)), mLog(log) {}

    VNResultEnum OnMouseDown(const math::Point3& p, int32_t) override { return Note("down", p); }
    VNResultEnum OnMouseUp(const math::Point3& p, int32_t) override { return Note("up", p); }
    VNResultEnum OnMouseMove(const math::Point3& p) override { return Note("move", p); }
    VNResultEnum OnMouseDrag(const math::Point3& p) override { return Note("drag", p); }
    VNResultEnum OnMouseWheel(const math::Point3& p, uint16_t) override { return Note("wheel", p); }
    VNResultEnum OnChildMouseDown(const math::Point3& p, int32_t) override { return Note("child-down", p); }

    std::string mName;
    std::vector<Received>* mLog;
    int32_t answerState = layer::HitConsumed;
    // Answers for the first calls, then answerState.
    std::vector<int32_t> answers;
    VNResultEnum result = VN_OK;
    std::function<void()> onCall;

private:
    VNResultEnum Note(const char* kind, const math::Point3& p)
    {
        mLog->push_back(Received{mName, kind, mTargetLayer, mLayer, p});
        if (!answers.empty())
        {
            mState = answers.front();
            answers.erase(answers.begin());
        }
        else
        {
            mState = answerState;
        }
        if (onCall)
            onCall();
        return result;
    }
};

} // namespace test
