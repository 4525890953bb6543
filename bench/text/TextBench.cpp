// Labels are formatted every frame (money, scores, counters) and sheets are split at load time.
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Base/TextFormat.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{

void FormatIntegers(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
    {
        std::wstring text = (base::Format(L"level_%02d_%02d %5d") % (i & 7) % (i & 15) % i).GetResult();
        benchmark::DoNotOptimize(text);
        ++i;
    }
}
BENCHMARK(FormatIntegers);

void FormatFloats(benchmark::State& state)
{
    float value = 0.001f;
    for (auto _ : state)
    {
        std::wstring text = (base::Format(L"%g %.2f %e") % value % value % value).GetResult();
        benchmark::DoNotOptimize(text);
        value *= 1.0001f;
    }
}
BENCHMARK(FormatFloats);

void WriteIntLabel(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
    {
        base::TextStream stream = base::MakeTextStream(0, 0);
        stream.WriteInt(i++);
        benchmark::DoNotOptimize(stream.GetText());
    }
}
BENCHMARK(WriteIntLabel);

void SplitSheetLine(benchmark::State& state)
{
    const std::string line = "tower3 ; 120 ; 0.75 ;  ; fire ; 12 ; 3.5 ; 1 ; 0 ; upgrade_a ; 45";
    for (auto _ : state)
    {
        base::StringTokenizer tokenizer(line, ';', false);
        std::string token;
        int count = 0;
        while (tokenizer.Next(&token))
            ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(SplitSheetLine);

void Utf8ToWide(benchmark::State& state)
{
    std::string text;
    for (int i = 0; i < 64; ++i)
        text += "Tower caf\xC3\xA9 \xE2\x82\xAC ";
    for (auto _ : state)
    {
        std::wstring wide = base::ToWide(text, base::kEncodingUtf8);
        benchmark::DoNotOptimize(wide);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(Utf8ToWide);

} // namespace

BENCHMARK_MAIN();
