#include "Core/Particles/ParticleSystem.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/File/FileManager.h"
#include "Core/Particles/Lib/ParticleLib.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Render/Image.h"
#include "Core/Render/VertexFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

using namespace render;
namespace fs = std::filesystem;

namespace
{
ptl::ParticleTypeDesc Type(std::uint16_t atlas, bool additive, std::uint32_t burst, float life)
{
    ptl::ParticleTypeDesc t;
    t.atlas = atlas;
    t.additive = additive;
    t.rate = 0.0f;
    t.burst = burst;
    t.maxParticles = 100;
    t.lifeMin = t.lifeMax = life;
    t.spread = 0.0f;
    t.sizeStart = t.sizeEnd = 4.0f;
    return t;
}

ptl::EmitterDesc Emitter(const std::string& name, std::vector<ptl::ParticleTypeDesc> types,
                         float duration = 1.0f)
{
    ptl::EmitterDesc e;
    e.name = name;
    e.duration = duration;
    e.updateStepMs = 20.0f;
    e.types = std::move(types);
    return e;
}

std::vector<std::uint8_t> Bytes(const ptl::PtcDesc& d)
{
    std::vector<std::uint8_t> out;
    EXPECT_TRUE(ptl::WritePtc(d, out));
    return out;
}

// A file with: "burst" (4 particles of 0.1 s, interval 0.2 s), "mixed" (lists on atlases 0, 1 and 7) and, in
// a folder, "portal_1".
ptl::PtcDesc Effects()
{
    ptl::PtcDesc d;
    d.atlases = {"a.png", "b.png"};
    d.root.emitters = {
        Emitter("burst", {Type(0, false, 4, 0.1f)}, 0.2f),
        Emitter("mixed", {Type(0, false, 2, 5.0f), Type(1, true, 3, 5.0f), Type(7, false, 1, 5.0f)})};
    ptl::FolderDesc map;
    map.name = "map";
    map.emitters = {Emitter("portal_1", {Type(1, true, 2, 1.0f)})};
    d.root.folders = {map};
    return d;
}

struct System : ::testing::Test
{
    ParticleSystem sys;
    void SetUp() override
    {
        auto bytes = Bytes(Effects());
        ASSERT_TRUE(sys.LoadFromMemory(bytes.data(), bytes.size(), nullptr));
    }
    std::unique_ptr<ParticleEmitter> Get(const std::string& name)
    {
        return std::unique_ptr<ParticleEmitter>(sys.GetEmitter(name));
    }
};

// Records what the render pass hands over.
struct CaptureSink : ParticleBatchSink
{
    std::vector<SVertex2D> vertices = std::vector<SVertex2D>(400);
    std::vector<uint16_t> indices = std::vector<uint16_t>(600);
    std::vector<ParticleBatch> batches;
    std::size_t used = 0;
    int failAt = -1;

    VNResultEnum Reserve(const ParticleBatch& b, SVertex2D** v, uint16_t** i, uint32_t* base) override
    {
        if (int(batches.size()) == failAt)
            return VN_FAIL;
        *v = vertices.data() + used * 4;
        *i = indices.data() + used * 6;
        *base = uint32_t(used * 4 + 100); // the cache's first free vertex
        used += b.count;
        return VN_OK;
    }
    VNResultEnum Submit(const ParticleBatch& b, SVertex2D*, uint16_t*) override
    {
        batches.push_back(b);
        return VN_OK;
    }
};
} // namespace

TEST_F(System, EmittersAreFoundByExactNameInAnyFolderAsStoppedCopies)
{
    EXPECT_EQ(sys.GetEmitterCount(), 3);
    EXPECT_EQ(sys.GetAtlasCount(), 2); // null entries without a renderer
    EXPECT_EQ(sys.GetAtlas(0), nullptr);
    auto portal = Get("portal_1");
    ASSERT_TRUE(portal);
    EXPECT_EQ(portal->GetState(), 0);
    EXPECT_EQ(portal->GetLibraryEmitter()->GetParticleCount(), 0);
    EXPECT_FALSE(Get("Portal_1"));
    EXPECT_FALSE(Get("map"));
    EXPECT_FALSE(Get(""));
    // Prototypes are loaded with interpolation on (mode 1) and loop mode 0.
    EXPECT_TRUE(portal->GetLibraryEmitter()->IsInterpolationMode());
    EXPECT_EQ(portal->GetLibraryEmitter()->GetLoopMode(), 0);
}

TEST_F(System, StateTable)
{
    // How each transition leaves the emitter: state, interrupt flag, and whether the interval restarted (the
    // burst fired again from scratch rather than the live particles carrying on).
    enum From
    {
        Stopped,
        Playing,
        Finishing,
        FinishingPastInterval
    };
    struct Case
    {
        From from;
        int to;
        int state;
        bool interrupted;
        bool restarted;
        bool liveKept;
    };
    const Case cases[] = {
        {Stopped, 0, 0, false, false, false},
        {Stopped, 1, 1, false, true, false},
        {Stopped, 2, 2, true, true, false},
        {Playing, 1, 1, false, false, true},
        {Playing, 2, 2, true, false, true},
        {Playing, 0, 0, false, false, false},
        {Finishing, 1, 1, false, false, true},
        {Finishing, 2, 2, true, false, true},
        {Finishing, 0, 0, true, false,
         true}, // no library call: the particles stay, just not updated or drawn
        {FinishingPastInterval, 1, 1, false, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " to " << c.to);
        auto e = Get("mixed");
        ptl::Emitter* lib = e->GetLibraryEmitter();
        if (c.from != Stopped)
            e->SetState(1);
        e->Update(0.1); // ages the burst
        if (c.from == Finishing || c.from == FinishingPastInterval)
            e->SetState(2);
        if (c.from == FinishingPastInterval)
            lib->Update(10000.0); // the library ends it; the wrapper has not looked yet
        const int before = lib->GetParticleCount();
        e->SetState(c.to);
        EXPECT_EQ(e->GetState(), c.state);
        EXPECT_EQ(lib->IsInterrupt(), c.interrupted);
        if (c.restarted)
        {
            EXPECT_EQ(lib->GetParticleCount(), 6); // fresh burst
        }
        else if (c.liveKept)
        {
            EXPECT_EQ(lib->GetParticleCount(), before);
        }
        else
        {
            EXPECT_EQ(lib->GetParticleCount(), 0);
        }
    }
}

TEST_F(System, UpdateRunsOnlyWhilePlayingOrFinishingAndEndsInStateZero)
{
    auto e = Get("burst");
    ptl::Emitter* lib = e->GetLibraryEmitter();
    e->Update(1.0); // state 0: nothing
    EXPECT_EQ(lib->GetParticleCount(), 0);
    EXPECT_FALSE(lib->InInterval());

    // Playing once: the burst dies at 0.1 s, the interval ends at 0.2 s, and the emitter falls back to 0.
    e->SetState(1);
    e->Update(0.15);
    EXPECT_EQ(e->GetState(), 1);
    e->Update(0.1);
    EXPECT_EQ(e->GetState(), 0);

    // Let finish: ends as soon as the live particles are gone, without waiting for the interval.
    e->SetState(1);
    e->SetState(2);
    e->Update(0.05);
    EXPECT_EQ(e->GetState(), 2);
    e->Update(0.06);
    EXPECT_EQ(e->GetState(), 0);

    // Looping keeps it alive; loop mode 5 means once.
    e->SetLoopMode(1);
    e->SetState(1);
    e->Update(1.0);
    EXPECT_EQ(e->GetState(), 1);
    e->SetLoopMode(5);
    EXPECT_EQ(lib->GetLoopMode(), 0);

    // Without interpolation every call advances by the file's fixed step (20 ms), whatever the frame time.
    sys.mInterpolationMode = 2;
    auto bytes = Bytes(Effects());
    ParticleSystem fixed;
    fixed.mInterpolationMode = 2;
    ASSERT_TRUE(fixed.LoadFromMemory(bytes.data(), bytes.size(), nullptr));
    std::unique_ptr<ParticleEmitter> f(fixed.GetEmitter("burst"));
    EXPECT_FALSE(f->GetLibraryEmitter()->IsInterpolationMode());
    f->SetState(1);
    for (int i = 0; i < 4; ++i)
        f->Update(10.0); // four 20 ms steps, not 40 s
    EXPECT_EQ(f->GetState(), 1);
    EXPECT_EQ(f->GetLibraryEmitter()->GetParticleCount(), 4);
    for (int i = 0; i < 7; ++i)
        f->Update(10.0);
    EXPECT_EQ(f->GetState(), 0);
}

TEST_F(System, CopiesPlayIndependentlyAndCarryPositionAndDirection)
{
    auto a = Get("portal_1");
    auto b = Get("portal_1");
    a->SetPosition(math::Point2(100.0f, 50.0f), 1);
    EXPECT_EQ(a->GetPosition(), math::Point2(100.0f, 50.0f));
    EXPECT_EQ(b->GetPosition(), math::Point2(0.0f, 0.0f));
    EXPECT_EQ(a->GetLibraryEmitter()->GetEmitterPositionMode(), 1);
    a->SetDirection(90.0f);
    EXPECT_EQ(a->GetLibraryEmitter()->GetEmitterDirection(), 90.0f);
    a->SetState(1);
    a->Update(0.5);
    EXPECT_EQ(b->GetState(), 0);
    EXPECT_EQ(b->GetLibraryEmitter()->GetParticleCount(), 0);
    b->SetState(1);
    a->SetState(0);
    EXPECT_EQ(b->GetState(), 1);
    EXPECT_EQ(b->GetLibraryEmitter()->GetParticleCount(), 2);
}

TEST_F(System, RenderPassWritesQuadsPerListAndSkipsMissingAtlases)
{
    sys.SetAtlas(0, new Image());
    sys.SetAtlas(1, new Image());
    auto e = Get("mixed");
    CaptureSink sink;
    int count = -1;
    ASSERT_EQ(e->WriteBatches(sys, Color(1, 1, 1, 1), sink, &count), VN_OK);
    EXPECT_EQ(count, 0); // a stopped emitter draws nothing
    EXPECT_TRUE(sink.batches.empty());

    e->SetPosition(math::Point2(10.0f, 20.0f), 0);
    e->SetState(1);
    ASSERT_EQ(e->WriteBatches(sys, Color(1.0f, 0.5f, 1.0f, 0.5f), sink, &count), VN_OK);
    // Atlas 7 of the third list is beyond the two loaded atlases: skipped, not read.
    ASSERT_EQ(sink.batches.size(), 2u);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(sink.batches[0].atlas, sys.GetAtlas(0));
    EXPECT_EQ(sink.batches[0].blendMode, 1);
    EXPECT_EQ(sink.batches[0].count, 2u);
    EXPECT_EQ(sink.batches[1].atlas, sys.GetAtlas(1));
    EXPECT_EQ(sink.batches[1].blendMode, 2);
    EXPECT_EQ(sink.batches[1].count, 3u);
    // First quad: 4 units around the emitter, white modulated by the draw colour, full texture rectangle.
    const SVertex2D& v0 = sink.vertices[0];
    const SVertex2D& v2 = sink.vertices[2];
    EXPECT_FLOAT_EQ(v0.x, 8.0f);
    EXPECT_FLOAT_EQ(v0.y, 18.0f);
    EXPECT_FLOAT_EQ(v2.x, 12.0f);
    EXPECT_FLOAT_EQ(v2.y, 22.0f);
    EXPECT_EQ(v0.z, 0.0f);
    EXPECT_EQ(v0.w, 1.0f);
    EXPECT_EQ(v0.diffuse, 0x7FFF7FFFu);
    EXPECT_EQ(v0.specular, 0xFFFFFFFFu);
    EXPECT_EQ(v0.u, 0.0f);
    EXPECT_EQ(v2.u, 1.0f);
    EXPECT_EQ(v2.v, 1.0f);
    const uint16_t expect[12] = {100, 101, 102, 100, 102, 103, 104, 105, 106, 104, 106, 107};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(sink.indices[std::size_t(i)], expect[i]) << i;

    // A failing cache ends the pass with its result.
    CaptureSink failing;
    failing.failAt = 1;
    EXPECT_EQ(e->WriteBatches(sys, Color(1, 1, 1, 1), failing, &count), VN_FAIL);
    // A null atlas (a texture that failed to load) is skipped like a missing one.
    sys.SetAtlas(0, nullptr);
    CaptureSink partial;
    ASSERT_EQ(e->WriteBatches(sys, Color(1, 1, 1, 1), partial, &count), VN_OK);
    EXPECT_EQ(count, 3);
}

TEST(ParticleSystemLoad, ReadsThroughTheFileManagerAndReplacesDuplicatesByName)
{
    const fs::path old = fs::current_path();
    char templ[] = "/tmp/corv-ptc-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    const fs::path root = templ;
    fs::create_directories(root / "td/fx");
    ptl::PtcDesc d = Effects();
    ptl::FolderDesc again;
    again.name = "again";
    again.emitters = {Emitter("burst", {Type(0, false, 9, 1.0f)})}; // later in the walk: replaces the first
    d.root.folders.push_back(again);
    ASSERT_TRUE(ptl::WritePtcFile(d, (root / "td/fx/fx2.ptc").string()));
    std::ofstream(root / "td/fx/broken.ptc") << "CVPT junk";
    ASSERT_EQ(file::FileManager::Instance()->SetRootPath(root.wstring()), VN_OK);

    ParticleSystem sys;
    sys.mFolder = "td/fx/";
    sys.Load("fx2", nullptr);
    EXPECT_EQ(sys.GetEmitterCount(), 3);
    std::unique_ptr<ParticleEmitter> burst(sys.GetEmitter("burst"));
    ASSERT_TRUE(burst);
    burst->SetState(1);
    EXPECT_EQ(burst->GetLibraryEmitter()->GetParticleCount(), 9);

    ParticleSystem none;
    none.mFolder = "td/fx/";
    none.Load("missing.ptc", nullptr);
    none.Load("broken.ptc", nullptr);
    EXPECT_EQ(none.GetEmitterCount(), 0);
    EXPECT_EQ(none.GetEmitter("burst"), nullptr);

    fs::current_path(old);
    fs::remove_all(root);
}

class LogCapture : public base::LogOutput
{
public:
    static inline std::wstring text;
    void Write(const std::wstring& t) override { text += t; }
};

// Cut copies of a good file (as a full disk or a broken download leaves them) and junk: each one is logged
// by name; the good file is not.
TEST(ParticleSystemLoad, DamagedAndTruncatedFilesAreLogged)
{
    const fs::path old = fs::current_path();
    char templ[] = "/tmp/corv-ptc-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    const fs::path root = templ;
    fs::create_directories(root / "td/fx");
    ASSERT_TRUE(ptl::WritePtcFile(Effects(), (root / "td/fx/good.ptc").string()));
    std::ifstream in(root / "td/fx/good.ptc", std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(good.size(), 40u);
    ASSERT_EQ(file::FileManager::Instance()->SetRootPath(root.wstring()), VN_OK);
    base::MainLog::Instance()->AddTextOutput(new LogCapture);

    LogCapture::text.clear();
    {
        ParticleSystem sys;
        sys.mFolder = "td/fx/";
        sys.Load("good", nullptr);
        EXPECT_GT(sys.GetEmitterCount(), 0);
    }
    EXPECT_EQ(LogCapture::text, L"");

    const std::string damaged[] = {
        "",                              // empty
        "CVPT junk",                     // the magic, then nothing usable
        good.substr(0, 8),               // header cut
        good.substr(0, good.size() / 2), // records cut
        good.substr(0, good.size() - 1), // the last byte missing
    };
    for (const std::string& bytes : damaged)
    {
        SCOPED_TRACE(bytes.size());
        std::ofstream(root / "td/fx/cut.ptc", std::ios::binary | std::ios::trunc) << bytes;
        LogCapture::text.clear();
        ParticleSystem sys;
        sys.mFolder = "td/fx/";
        sys.Load("cut", nullptr);
        EXPECT_NE(LogCapture::text.find(L"Particle file 'td/fx/cut.ptc"), std::wstring::npos)
            << std::string(LogCapture::text.begin(), LogCapture::text.end());
    }
    fs::current_path(old);
    fs::remove_all(root);
}
