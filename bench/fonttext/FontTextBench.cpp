// Bitmap-font text per frame: 10,000 glyphs laid out (wrapped and justified) and drawn into the frame caches,
// recorded and played back on the recording back end (no display needed; the GL cost is the sprites bench's).
#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{

class PageImage : public render::Image
{
public:
    PageImage()
    {
        mWidth = 512;
        mHeight = 512;
    }
};

class BenchFont : public render::BMFont
{
protected:
    VNResultEnum LoadPage(const std::wstring&, render::Image** out) override
    {
        *out = new PageImage();
        return VN_OK;
    }
};

// A font of printable ASCII on one page with a few kerning pairs, like the game's.
std::string Descriptor()
{
    std::string s =
        R"(<font><info face="B" size="32" bold="0" italic="0" charset="" unicode="1" stretchH="100" smooth="1" aa="1" padding="2,2,2,2" spacing="1,1" outline="2"/>
<common lineHeight="32" base="26" scaleW="512" scaleH="512" pages="1" packed="0" alphaChnl="0" redChnl="4" greenChnl="4" blueChnl="4"/>
<pages><page id="0" file="p.png"/></pages><chars>)";
    for (int c = 32; c < 127; ++c)
    {
        char line[256];
        std::snprintf(
            line, sizeof line,
            R"(<char id="%d" x="%d" y="%d" width="16" height="24" xoffset="0" yoffset="4" xadvance="%d" page="0" chnl="15"/>)",
            c, (c % 16) * 32, (c / 16) * 32, c == 32 ? 8 : 12 + c % 7);
        s += line;
    }
    s +=
        R"(</chars><kernings><kerning first="65" second="86" amount="-2"/><kerning first="84" second="111" amount="-3"/></kernings></font>)";
    return s;
}

// 10,000 glyphs of words in 50 labels of 200 characters.
std::vector<std::wstring> Labels()
{
    const std::wstring words[] = {L"Tower",   L"AVATAR", L"gold",   L"wave",
                                  L"upgrade", L"range",  L"damage", L"To"};
    std::vector<std::wstring> labels;
    uint32_t seed = 7;
    for (int i = 0; i < 50; ++i)
    {
        std::wstring text;
        while (text.size() < 200)
        {
            seed = seed * 1664525u + 1013904223u;
            text += words[(seed >> 8) % 8];
            text += L' ';
        }
        text.resize(200);
        labels.push_back(text);
    }
    return labels;
}

struct Setup
{
    render::RecordingRender render;
    BenchFont font;
    std::vector<std::wstring> labels = Labels();

    Setup()
    {
        render::RenderInitParam param;
        param.mWidth = 1366;
        param.mHeight = 768;
        render.InitRender(nullptr, param);
        const std::string text = Descriptor();
        font.SetName(L"fonts/bench");
        base::MemoryStream stream(text.data(), static_cast<unsigned>(text.size()));
        font.Parse(&stream);
    }
};

void LayoutOnly(benchmark::State& state)
{
    Setup s;
    render::TextLayout layout;
    layout.mWidth = 400.0f;
    layout.mAlign = 3;
    std::vector<render::TextLine> lines;
    for (auto _ : state)
    {
        for (const std::wstring& label : s.labels)
        {
            lines.clear();
            s.font.LayoutLines(label, layout, lines);
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 10000);
}
BENCHMARK(LayoutOnly);

void LayoutAndDraw(benchmark::State& state)
{
    Setup s;
    for (auto _ : state)
    {
        s.render.BeginFrame();
        {
            render::Graphics g(&s.render);
            g.mFont = &s.font;
            float y = 0.0f;
            for (const std::wstring& label : s.labels)
            {
                g.DrawText(label, 400.0f, 0.0f, 3, true).Translate(10.0f, y);
                y += 10.0f;
            }
        }
        s.render.EndFrame();
        s.render.Playback();
        s.render.TakeLog();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 10000);
}
BENCHMARK(LayoutAndDraw);

} // namespace

BENCHMARK_MAIN();
