// Reading every file of a data tree of a few thousand small files, from loose files and from the same files
// in a pack, in one run. Both go through the file manager exactly as the game does (search, open stream,
// read).
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/File/PackBuilder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr int kFiles = 3000;

struct DataTree
{
    fs::path root;
    std::vector<std::wstring> names; // below "td/"

    DataTree()
    {
        root = fs::temp_directory_path() / ("corv-bench-pack-" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (int i = 0; i < kFiles; ++i)
        {
            const std::string name = "dir" + std::to_string(i % 30) + "/file" + std::to_string(i) + ".bin";
            const fs::path path = root / "td" / name;
            fs::create_directories(path.parent_path());
            // Sizes like the game's small data: 200 bytes to about 8 KiB.
            std::string bytes(200 + (i * 7919) % 8000, static_cast<char>('a' + i % 26));
            std::ofstream(path, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            names.push_back(L"td/" + std::wstring(name.begin(), name.end()));
        }
        fs::current_path(root);
        if (file::BuildPack(L"td/", L"data.dat") != VN_OK)
            std::abort();
    }
    ~DataTree()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

DataTree& Tree()
{
    static DataTree tree;
    return tree;
}

void ReadEverything(benchmark::State& state, bool packed)
{
    DataTree& tree = Tree();
    file::FileManager* files = file::FileManager::Instance();
    files->mMounts.clear();
    if (packed)
        files->mMounts[L"td/"] = L"data.dat";
    std::vector<char> buffer(1 << 16);
    std::uint64_t bytes = 0;
    for (auto _ : state)
    {
        for (const std::wstring& name : tree.names)
        {
            std::unique_ptr<file::FileInfo> info(files->FindFile(name));
            std::unique_ptr<base::Stream> stream(info ? info->OpenStream() : nullptr);
            if (!stream)
            {
                state.SkipWithError("file missing");
                return;
            }
            const unsigned n = stream->Size();
            bytes += stream->Read(buffer.data(), n);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kFiles);
    files->mMounts.clear();
}

void BM_ReadLoose(benchmark::State& state)
{
    ReadEverything(state, false);
}
void BM_ReadPacked(benchmark::State& state)
{
    ReadEverything(state, true);
}
BENCHMARK(BM_ReadLoose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPacked)->Unit(benchmark::kMillisecond);

void BM_BuildPack(benchmark::State& state)
{
    Tree();
    for (auto _ : state)
        benchmark::DoNotOptimize(file::BuildPack(L"td/", L"rebuilt.dat"));
}
BENCHMARK(BM_BuildPack)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
