#include "Source/TD/Sprites/TDTestSupport.h"

#include "Core/File/FileManager.h"
#include "Core/Particles/Lib/PtcFormat.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/RecordingRender.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include <unistd.h>

// These programs construct their application directly.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace tdtest
{

HeadlessGame::HeadlessGame()
{
    auto* recording = new render::RecordingRender;
    render::RenderInitParam param;
    param.mWidth = 1024;
    param.mHeight = 768;
    EXPECT_EQ(recording->InitRender(nullptr, param), VN_OK);
    mRender = recording;
}

render::RecordingRender* HeadlessGame::GetRecording() const
{
    return static_cast<render::RecordingRender*>(mRender);
}

void WriteDds(const fs::path& path, int width, int height)
{
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> bytes(128 + 4 * pixels, 0xFF);
    std::memset(bytes.data(), 0, 128);
    std::memcpy(bytes.data(), "DDS ", 4);
    auto put = [&bytes](size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); };
    put(4, 124);
    put(12, static_cast<uint32_t>(height));
    put(16, static_cast<uint32_t>(width));
    put(28, 1);    // mip count
    put(76, 32);   // pixel-format size
    put(80, 0x41); // RGB + alpha, no four-character code
    put(88, 32);   // bits per pixel
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteImageFolder(const fs::path& folder, const std::vector<FixtureLayer>& layers)
{
    fs::create_directories(folder);
    std::ostringstream xml;
    xml << "<Layers>\n";
    int index = 0;
    for (const FixtureLayer& layer : layers)
    {
        xml << "  <Layer name=\"" << layer.name << "\" x=\"" << layer.x << "\" y=\"" << layer.y
            << "\" width=\"" << layer.width << "\" height=\"" << layer.height << "\" opacity=\"255\" ind=\""
            << index++ << "\"/>\n";
        if (layer.write)
            WriteDds(folder / (layer.name + ".dds"), layer.width, layer.height);
    }
    xml << "</Layers>\n";
    std::ofstream(folder / "layers.xml") << xml.str();
}

void GameFixture::SetUp()
{
    mOldDir = fs::current_path();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    mRoot = fs::temp_directory_path() /
            ("corv-td-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name());
    fs::remove_all(mRoot);
    fs::create_directories(mRoot);
    fs::current_path(mRoot);
    file::FileManager::Instance()->mMounts.clear();
    mGame = new HeadlessGame;
    TDResources::Instance()->clear();
}

void GameFixture::TearDown()
{
    // Sheets hold textures of the game's renderer: they go first.
    TDResources::Instance()->clear();
    delete mGame;
    mGame = nullptr;
    fs::current_path(mOldDir);
    std::error_code ignored;
    fs::remove_all(mRoot, ignored);
}

void SheetDrawFixture::SetUp()
{
    GraphicsFixture::SetUp();
    TDResources::Instance()->clear();
}

void SheetDrawFixture::TearDown()
{
    TDResources::Instance()->clear();
    GraphicsFixture::TearDown();
}

TDSpriteSheet* RegisterSheet(const std::wstring& path, const std::vector<FixtureFrame>& frames)
{
    // A path that names no document registers a sheet without groups, which the test then fills.
    TDSpriteSheet* sheet = TDResources::Instance()->getSheet(path);
    for (const FixtureFrame& frame : frames)
    {
        auto* entry = new TDFrameEntry;
        entry->mName = frame.name;
        entry->mRect = frame.rect;
        entry->mTexture = new render::test::TestImage(static_cast<int32_t>(frame.rect.width),
                                                      static_cast<int32_t>(frame.rect.height));
        sheet->mGroups[frame.group].push_back(entry);
    }
    return sheet;
}

void LoadTestParticles()
{
    render::ParticleSystem* system = render::ParticleSystem::Instance();
    if (system->GetEmitterCount() > 0)
        return;
    auto emitter = [](const std::string& name, float duration)
    {
        ptl::ParticleTypeDesc type;
        type.rate = 0.0f;
        type.burst = 2;
        type.lifeMin = type.lifeMax = 0.1f;
        ptl::EmitterDesc e;
        e.name = name;
        e.duration = duration;
        e.updateStepMs = 20.0f;
        e.types = {type};
        return e;
    };
    ptl::PtcDesc desc;
    desc.atlases = {"fx_atlas.png"};
    desc.root.emitters = {emitter("t_line", 1000.0f), emitter("btfly", 1000.0f), emitter("burst", 0.2f)};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ptl::WritePtc(desc, bytes));
    ASSERT_TRUE(system->LoadFromMemory(bytes.data(), bytes.size(), nullptr));
}

} // namespace tdtest
