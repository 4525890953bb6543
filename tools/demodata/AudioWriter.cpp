#include "tools/demodata/AudioWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>

namespace demodata
{

float MidiToFrequency(int midi)
{
    return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
}

Sound Render(float seconds, const std::vector<Note>& notes, int rate, std::uint32_t seed)
{
    Sound s;
    s.rate = rate;
    s.samples.assign(static_cast<std::size_t>(seconds * rate), 0.0f);
    Random random(seed);
    const float twoPi = 6.2831853f;
    for (const Note& n : notes)
    {
        int first = static_cast<int>(n.start * rate);
        int count = static_cast<int>(n.length * rate);
        float phase = 0;
        float attack = std::min(0.01f, n.length * 0.2f) * rate,
              release = std::min(0.08f, n.length * 0.5f) * rate;
        float held = 0;
        for (int i = 0; i < count && first + i < static_cast<int>(s.samples.size()); ++i)
        {
            float t = static_cast<float>(i) / rate;
            float f = std::max(20.0f, n.frequency + n.slide * t);
            phase += f / rate;
            phase -= std::floor(phase);
            float v = 0;
            switch (n.wave)
            {
            case Wave::Sine:
                v = std::sin(twoPi * phase);
                break;
            case Wave::Square:
                v = phase < 0.5f ? 0.6f : -0.6f;
                break;
            case Wave::Triangle:
                v = 4 * std::fabs(phase - 0.5f) - 1;
                break;
            case Wave::Saw:
                v = (2 * phase - 1) * 0.7f;
                break;
            case Wave::Noise:
                // Sample-and-hold noise: the frequency sets how often a new value is drawn.
                if (i == 0 || phase < f / rate)
                    held = random.Signed();
                v = held;
                break;
            }
            float env = 1;
            if (i < attack)
                env = i / attack;
            if (count - i < release)
                env = std::min(env, (count - i) / release);
            s.samples[first + i] += v * env * n.volume;
        }
    }
    for (float& v : s.samples)
        v = std::clamp(v, -1.0f, 1.0f);
    return s;
}

Bytes EncodeWav(const Sound& sound)
{
    ByteWriter w;
    std::uint32_t dataSize = static_cast<std::uint32_t>(sound.samples.size() * 2);
    w.Text("RIFF");
    w.U32(36 + dataSize);
    w.Text("WAVE");
    w.Text("fmt ");
    w.U32(16);
    w.U16(1); // PCM
    w.U16(1); // mono
    w.U32(static_cast<std::uint32_t>(sound.rate));
    w.U32(static_cast<std::uint32_t>(sound.rate * 2));
    w.U16(2);
    w.U16(16);
    w.Text("data");
    w.U32(dataSize);
    for (float v : sound.samples)
        w.U16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
    return w.Take();
}

Bytes EncodeOgg(const Sound& sound, float quality, int serial)
{
    Bytes out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, sound.rate, quality) != 0)
    {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);
    ogg_page og;
    ogg_packet op;
    auto appendPage = [&out](const ogg_page& page)
    {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComment);
    ogg_stream_packetin(&os, &headerCode);
    while (ogg_stream_flush(&os, &og) != 0)
        appendPage(og);

    const std::size_t chunk = 1024;
    std::size_t at = 0;
    bool eos = false;
    while (!eos)
    {
        std::size_t n = std::min(chunk, sound.samples.size() - at);
        if (n == 0)
        {
            vorbis_analysis_wrote(&vd, 0);
        }
        else
        {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            std::copy(sound.samples.begin() + at, sound.samples.begin() + at + n, buffer[0]);
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            at += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1)
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            while (vorbis_bitrate_flushpacket(&vd, &op))
            {
                ogg_stream_packetin(&os, &op);
                while (!eos && ogg_stream_pageout(&os, &og) != 0)
                {
                    appendPage(og);
                    if (ogg_page_eos(&og))
                        eos = true;
                }
            }
        }
        if (n == 0 && !eos)
        {
            // Everything is submitted; flush what the stream still holds.
            while (ogg_stream_flush(&os, &og) != 0)
            {
                appendPage(og);
                if (ogg_page_eos(&og))
                    eos = true;
            }
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

} // namespace demodata
