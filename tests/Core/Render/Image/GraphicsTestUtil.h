#pragma once

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/Texture.h"

#include <gtest/gtest.h>

namespace render::test
{

// An image of a given size without a texture resource; optionally placed in an atlas rectangle.
class TestImage : public Image
{
public:
    TestImage(int32_t w, int32_t h, Texture* texture = nullptr)
    {
        mWidth = w;
        mHeight = h;
        mTexture = texture;
    }
    ~TestImage() override
    {
        // Not a resource image: the texture belongs to whoever made it here.
        mTextureResource = nullptr;
        mTexture = nullptr;
    }
    void PlaceInAtlas(float u, float v, float du, float dv)
    {
        // Atlas mapping is a property of resource images; any non-null marker stands in for the resource
        // here.
        mTextureResource = reinterpret_cast<resource::ResourceTexture*>(this);
        mInAtlas = true;
        mAtlasRect[0] = u;
        mAtlasRect[1] = v;
        mAtlasRect[2] = du;
        mAtlasRect[3] = dv;
    }
};

// A recording Render with an open frame and a back-buffer Graphics.
class GraphicsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RenderInitParam param;
        param.mWidth = 1024;
        param.mHeight = 768;
        ASSERT_EQ(render.InitRender(nullptr, param), VN_OK);
        ASSERT_EQ(render.BeginFrame(), VN_OK);
        graphics = std::make_unique<Graphics>(&render);
    }
    void TearDown() override
    {
        graphics.reset();
        if (render.IsFrameOpen())
            render.EndFrame();
        render.Playback();
    }

    // Vertices written to the 2D cache so far this frame.
    uint32_t Used2D() { return UsedOf(0); }
    uint32_t UsedGeom() { return UsedOf(1); }
    uint32_t UsedOf(int32_t format)
    {
        auto* cache = render.GetVertexCache(format);
        if (format == 0)
            return static_cast<VertexCache2D*>(cache)->GetFirst()->GetImpl()->GetUsed();
        return static_cast<VertexCacheGeom*>(cache)->GetFirst()->GetImpl()->GetUsed();
    }
    // The last n vertices written to the cache of T (the frame's first buffer).
    template <typename T>
    T* Last(uint32_t n)
    {
        auto* cache =
            static_cast<BufferDoubleCache<VertexBuffer<T>>*>(render.GetVertexCache(T::Format().mId));
        VertexBufferImpl* impl = cache->GetFirst()->GetImpl();
        void* p = nullptr;
        uint32_t got = 0;
        EXPECT_EQ(impl->Reserve(0, &p, &got), VN_OK);
        return static_cast<T*>(p) - n;
    }
    std::vector<std::string> DrawLines()
    {
        render.EndFrame();
        render.Playback();
        std::vector<std::string> draws;
        for (const std::string& line : render.TakeLog())
            if (line.rfind("Draw", 0) == 0)
                draws.push_back(line);
        render.BeginFrame();
        return draws;
    }

    RecordingRender render;
    std::unique_ptr<Graphics> graphics;
};

} // namespace render::test
