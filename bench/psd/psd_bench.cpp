// Decoding layered documents against ImageMagick reading the same files in this process:
// the corpus documents the decoder opens and a generated 8000 x 8000, 10-layer RLE document.
// The last line printed is "ratio R", ImageMagick's time over ours.

#include "Core/Psd/PsdWriter.h"

#include <benchmark/benchmark.h>

#include <Magick++.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <list>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::vector<std::string> g_corpus;
std::string g_big;

// Mean seconds per pass, per decoder and document set.
struct Timing
{
    double seconds = 0;
    int64_t passes = 0;
    double mean() const { return passes ? seconds / double(passes) : 0; }
};
Timing g_ours_corpus, g_magick_corpus, g_ours_big, g_magick_big;

void collectCorpus()
{
    const fs::path root = fs::path(CORV_TESTDATA_DIR) / "psd";
    if (!fs::is_directory(root))
        return;
    for (const auto& e : fs::recursive_directory_iterator(root))
    {
        if (!e.is_regular_file() || e.path().extension() != ".psd")
            continue;
        // Only documents both decoders read are timed.
        psdr_document* doc = nullptr;
        const psdr_status status = psdr_load(&doc, e.path().c_str());
        psdr_free(doc);
        if (status != PSDR_OK)
            continue;
        try
        {
            std::list<Magick::Image> frames;
            Magick::readImages(&frames, e.path().string());
        }
        catch (const Magick::Warning&)
        {
        }
        catch (const std::exception&)
        {
            std::printf("not timed (ImageMagick cannot read it): %s\n", e.path().filename().c_str());
            continue;
        }
        g_corpus.push_back(e.path().string());
    }
    std::sort(g_corpus.begin(), g_corpus.end());
}

// 8000 x 8000 RGB with ten layers, each a band of 8000 x 800 with transparency, all PackBits.
void writeBigDocument()
{
    using namespace psdtest;
    const int w = 8000, h = 8000, band = 800;
    Document d;
    d.width = w;
    d.height = h;
    d.mergedMethod = 1;
    for (int c = 0; c < 3; ++c)
    {
        std::vector<uint8_t> plane(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                plane[size_t(y) * w + x] = uint8_t((x / 24 + y / 16) * (c + 1));
        d.merged.push_back(std::move(plane));
    }
    for (int i = 0; i < 10; ++i)
    {
        Layer l;
        l.top = i * band;
        l.bottom = l.top + band;
        l.right = w;
        l.name = "band" + std::to_string(i);
        const int16_t ids[] = {-1, 0, 1, 2};
        for (int c = 0; c < 4; ++c)
        {
            std::vector<uint8_t> plane(size_t(w) * band);
            for (int y = 0; y < band; ++y)
                for (int x = 0; x < w; ++x)
                    plane[size_t(y) * w + x] =
                        c == 0 ? uint8_t(x < 7000 ? 255 : x / 4) : uint8_t((x / 20 + y / 12 + i) * (c + 3));
            l.channels.push_back(Channel(ids[c], std::move(plane), 1));
        }
        d.layers.push_back(std::move(l));
    }
    std::vector<uint8_t> bytes = write(d);
    const char* keep = std::getenv("PSD_BENCH_FILE"); // keeps the generated document for profiling
    g_big = keep ? keep : (fs::temp_directory_path() / "psd_bench_8000.psd").string();
    std::ofstream(g_big, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void decodeOurs(const std::string& path)
{
    psdr_document* doc = nullptr;
    if (psdr_load(&doc, path.c_str()) != PSDR_OK)
        std::fprintf(stderr, "failed to decode %s\n", path.c_str());
    benchmark::DoNotOptimize(doc);
    psdr_free(doc);
}

void decodeMagick(const std::string& path)
{
    std::list<Magick::Image> frames;
    try
    {
        Magick::readImages(&frames, path);
    }
    catch (const Magick::Warning&)
    {
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "ImageMagick failed on %s: %s\n", path.c_str(), e.what());
    }
    benchmark::DoNotOptimize(frames);
}

template <void (*Decode)(const std::string&)>
void runSet(benchmark::State& state, const std::vector<std::string>& files, Timing& timing)
{
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& f : files)
            Decode(f);
        timing.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++timing.passes;
    }
}

void BM_OursCorpus(benchmark::State& s)
{
    runSet<decodeOurs>(s, g_corpus, g_ours_corpus);
}
void BM_MagickCorpus(benchmark::State& s)
{
    runSet<decodeMagick>(s, g_corpus, g_magick_corpus);
}
void BM_OursBig(benchmark::State& s)
{
    runSet<decodeOurs>(s, {g_big}, g_ours_big);
}
void BM_MagickBig(benchmark::State& s)
{
    runSet<decodeMagick>(s, {g_big}, g_magick_big);
}

BENCHMARK(BM_OursCorpus)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MagickCorpus)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OursBig)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MagickBig)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    Magick::InitializeMagick(argv[0]);
    collectCorpus();
    writeBigDocument();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    if (!std::getenv("PSD_BENCH_FILE"))
        fs::remove(g_big, ec);
    const double ours = g_ours_corpus.mean() + g_ours_big.mean();
    const double theirs = g_magick_corpus.mean() + g_magick_big.mean();
    std::printf("corpus files %zu, ours %.3f s, ImageMagick %.3f s per pass\n", g_corpus.size(), ours,
                theirs);
    std::printf("ratio %.2f\n", ours > 0 ? theirs / ours : 0.0);
    return 0;
}
