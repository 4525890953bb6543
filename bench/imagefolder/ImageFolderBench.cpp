// Opening an image folder of 200 images (layers.xml) and loading every image of it into textures on the
// recording back end: file lookup, decoding (TGA through the image library, DDS by the engine's reader) and
// the hit masks.
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/ResourceTexture.h"
#include "Core/Resource/ResourceManager.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr int kImages = 200;
constexpr int kSide = 64;

void Write(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Tga(int seed)
{
    std::vector<uint8_t> b(18, 0);
    b[2] = 2;
    b[12] = kSide;
    b[14] = kSide;
    b[16] = 32;
    b[17] = 0x28;
    for (int i = 0; i < kSide * kSide; ++i)
    {
        b.push_back(static_cast<uint8_t>(i + seed));
        b.push_back(static_cast<uint8_t>(i >> 3));
        b.push_back(static_cast<uint8_t>(seed));
        b.push_back(static_cast<uint8_t>((i & 7) * 36));
    }
    return b;
}

std::vector<uint8_t> Dds(int seed)
{
    std::vector<uint8_t> b(128, 0);
    auto put = [&b](size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'D';
    b[1] = 'D';
    b[2] = 'S';
    b[3] = ' ';
    put(4, 124);
    put(12, kSide);
    put(16, kSide);
    put(28, 1);
    put(76, 32);
    put(80, 4);
    b[84] = 'D';
    b[85] = 'X';
    b[86] = 'T';
    b[87] = '5';
    for (int i = 0; i < (kSide / 4) * (kSide / 4); ++i)
    {
        const uint8_t block[16] = {255,  0,    static_cast<uint8_t>(i + seed),
                                   0x92, 0x24, 0x49,
                                   0x92, 0x24, 0x00,
                                   0xF8, 0x1F, 0x00,
                                   0x1B, 0x1B, 0x1B,
                                   0x1B};
        b.insert(b.end(), block, block + 16);
    }
    return b;
}

// The folder td/bench: half TGA, half DDS images, each a layer of layers.xml.
struct Tree
{
    fs::path root = fs::temp_directory_path() / ("corv-imagefolder-bench-" + std::to_string(::getpid()));
    fs::path old = fs::current_path();

    Tree()
    {
        fs::remove_all(root);
        std::string xml = "<Layers>\n";
        for (int i = 0; i < kImages; ++i)
        {
            const std::string name = "group" + std::to_string(i % 10) + "/image" + std::to_string(i);
            if (i % 2)
                Write(root / "td/bench" / (name + ".dds"), Dds(i));
            else
                Write(root / "td/bench" / (name + ".tga"), Tga(i));
            xml += "<Layer name=\"" + name + "\" x=\"" + std::to_string(i) +
                   "\" y=\"0\" width=\"64\" height=\"64\" "
                   "opacity=\"255\" ind=\"" +
                   std::to_string(i) + "\"/>\n";
        }
        xml += "</Layers>\n";
        Write(root / "td/bench/layers.xml", std::vector<uint8_t>(xml.begin(), xml.end()));
        fs::current_path(root);
        file::RegisterImageContainers();
    }
    ~Tree()
    {
        fs::current_path(old);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

void OpenFolder(benchmark::State& state)
{
    Tree tree;
    for (auto _ : state)
    {
        std::unique_ptr<file::ImageContainer> folder(
            file::FileManager::Instance()->OpenImageContainer(L"td/bench"));
        if (!folder || folder->GetImageCount() != kImages)
            state.SkipWithError("folder not read");
        benchmark::DoNotOptimize(folder.get());
    }
}
BENCHMARK(OpenFolder);

void LoadFolderTextures(benchmark::State& state)
{
    Tree tree;
    render::RecordingRender render;
    render::RenderInitParam param;
    param.mWidth = 1024;
    param.mHeight = 768;
    render.InitRender(nullptr, param);
    for (auto _ : state)
    {
        std::unique_ptr<file::ImageContainer> folder(
            file::FileManager::Instance()->OpenImageContainer(L"td/bench"));
        std::vector<CountedHandle<resource::ResourceTexture>> textures;
        for (unsigned i = 0; folder && i < folder->GetImageCount(); ++i)
        {
            const base::ImageInfo* info = folder->GetImageInfo(i);
            auto texture = resource::ResourceManager::Instance()->Get<resource::ResourceTexture>(
                folder->GetPath() + info->mName);
            texture->SetRender(&render);
            texture->SetSource(folder.get(), info->mName);
            if (texture->Load() != VN_OK)
            {
                state.SkipWithError("image not loaded");
                break;
            }
            textures.push_back(texture);
        }
        textures.clear(); // unloads and frees every texture
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kImages);
}
BENCHMARK(LoadFolderTextures)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
