#include "Source/TD/HUD/HUDTestSupport.h"

#include "Core/Particles/Lib/PtcFormat.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Sound/AudioFixtures.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/Data/SoundTags.h"

#include <fstream>
#include <sstream>

namespace hudtest
{

TestBoard::TestBoard()
{
    TDScreenContext::setCurrent(this);
}

TestBoard::~TestBoard()
{
    if (TDScreenContext::current() == this)
        TDScreenContext::setCurrent(nullptr);
    // Screens hang their layers here and take them off again; what is left is only forgotten.
    while (!root.GetChildren().empty())
        root.RemoveChild(root.GetChildren().back());
}

CountedHandle<render::Font> TestBoard::getFont(TDBoardFont font) const
{
    const int index = static_cast<int>(font);
    if (index < 0 || index >= kBoardFontCount)
        return {};
    // Not counted: the fonts live with the board.
    return CountedHandle<render::Font>(const_cast<BoxFont*>(&fonts[index]), nullptr);
}

int TestBoard::indexOf(const render::Font* font) const
{
    for (int i = 0; i < kBoardFontCount; ++i)
        if (font == &fonts[i])
            return i;
    return -1;
}

void WriteLayout(const fs::path& folder, const std::vector<LayoutLayer>& layers)
{
    fs::create_directories(folder);
    std::ostringstream xml;
    xml << "<Layers>\n";
    int place = 0;
    for (const LayoutLayer& layer : layers)
    {
        const int index = layer.index >= 0 ? layer.index : place;
        ++place;
        xml << "  <Layer name=\"" << layer.name << "\" x=\"" << layer.x << "\" y=\"" << layer.y
            << "\" width=\"" << layer.width << "\" height=\"" << layer.height << "\" opacity=\"255\" ind=\""
            << index << "\"/>\n";
        if (layer.write)
            tdtest::WriteDds(folder / (layer.name + ".dds"), layer.width, layer.height);
    }
    xml << "</Layers>\n";
    std::ofstream(folder / "layers.xml") << xml.str();
}

void LoadGlint()
{
    render::ParticleSystem* system = render::ParticleSystem::Instance();
    if (std::unique_ptr<render::ParticleEmitter> known(system->GetEmitter("blik_1")); known)
        return;
    ptl::ParticleTypeDesc type;
    type.rate = 10.0f;
    type.lifeMin = type.lifeMax = 0.5f;
    ptl::EmitterDesc emitter;
    emitter.name = "blik_1";
    emitter.duration = 1000.0f;
    emitter.updateStepMs = 20.0f;
    emitter.types = {type};
    ptl::PtcDesc desc;
    desc.atlases = {"fx_atlas.png"};
    desc.root.emitters = {emitter};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ptl::WritePtc(desc, bytes));
    ASSERT_TRUE(system->LoadFromMemory(bytes.data(), bytes.size(), nullptr));
}

void ScreenFixture::SetUp()
{
    GameFixture::SetUp();
    mBoard = std::make_unique<TestBoard>();
    mFactory = std::make_unique<gui::RenderImageLayerFactory>(mGame->GetRender());
    gui::SetImageLayerFactory(mFactory.get());
    tdtest::LogCapture::Reset();
}

void ScreenFixture::TearDown()
{
    if (mGraphics)
    {
        mGraphics.reset();
        if (Recording().IsFrameOpen())
            Recording().EndFrame();
        Recording().Playback();
    }
    gui::SetImageLayerFactory(nullptr);
    mFactory.reset();
    mBoard.reset();
    if (w7::SoundTags::Exists())
        w7::SoundTags::Instance()->Load(L"td/no_sounds.csv");
    GameFixture::TearDown();
}

render::RecordingRender& ScreenFixture::Recording()
{
    return *mGame->GetRecording();
}

render::Graphics& ScreenFixture::Graphics()
{
    if (!mGraphics)
    {
        EXPECT_EQ(Recording().BeginFrame(), VN_OK);
        mGraphics = std::make_unique<render::Graphics>(&Recording());
    }
    return *mGraphics;
}

uint32_t ScreenFixture::Used2D()
{
    auto* cache = static_cast<render::VertexCache2D*>(Recording().GetVertexCache(0));
    return cache->GetFirst()->GetImpl()->GetUsed();
}

render::SVertex2D* ScreenFixture::Last2D(uint32_t n)
{
    auto* cache = static_cast<render::VertexCache2D*>(Recording().GetVertexCache(0));
    render::VertexBufferImpl* impl = cache->GetFirst()->GetImpl();
    void* p = nullptr;
    uint32_t got = 0;
    EXPECT_EQ(impl->Reserve(0, &p, &got), VN_OK);
    return static_cast<render::SVertex2D*>(p) - n;
}

std::vector<Quad> ScreenFixture::QuadsSince(uint32_t used)
{
    std::vector<Quad> quads;
    const uint32_t now = Used2D();
    if (now <= used)
        return quads;
    const uint32_t count = now - used;
    const render::SVertex2D* v = Last2D(count);
    // The drawing front writes each quad as four corners, top-left first and bottom-right third, moved by
    // half a pixel.
    for (uint32_t i = 0; i + 3 < count; i += 4)
        quads.push_back(Quad{v[i].x + 0.5f, v[i].y + 0.5f, v[i + 2].x + 0.5f, v[i + 2].y + 0.5f});
    return quads;
}

void ScreenFixture::LoadSimpleSound()
{
    SoundSystem::SetOutputDevice(mixer::kDeviceNone);
    // A file name of its own: samples are shared resources of the whole process.
    const std::string file =
        std::string("simple_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav";
    const std::vector<std::uint8_t> wav = audiotest::MakeWav(audiotest::WavLayout{});
    filetest::WriteBytes(mRoot / "td/data/sound" / file, std::string(wav.begin(), wav.end()));
    filetest::WriteBytes(mRoot / "td/sounds_sheet.csv", "simple;" + file + ";1;0\n");
    w7::SoundTags::Instance()->Load();
    ASSERT_EQ(w7::SoundTags::Instance()->GetEntries().size(), 1u);
    ASSERT_NE(w7::SoundTags::Instance()->GetEntries()[0]->sound, nullptr);
}

bool ScreenFixture::SimplePlayed()
{
    const auto& entries = w7::SoundTags::Instance()->GetEntries();
    return !entries.empty() && entries[0]->sound != nullptr && entries[0]->sound->IsPlaying();
}

} // namespace hudtest
