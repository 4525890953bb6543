#include "Core/Sound/AudioFixtures.h"

#include <vorbis/vorbisenc.h>

#include <cstdlib>

namespace audiotest
{
std::vector<std::uint8_t> MakeOgg(std::uint32_t rate, int channels, double seconds, double frequency)
{
    std::vector<std::uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, long(rate), 0.3f) != 0)
        std::abort();
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    ogg_page og;
    auto append = [&](const ogg_page& p)
    {
        out.insert(out.end(), p.header, p.header + p.header_len);
        out.insert(out.end(), p.body, p.body + p.body_len);
    };
    while (ogg_stream_flush(&os, &og))
        append(og);
    long total = long(seconds * rate);
    long done = 0;
    bool eos = false;
    while (!eos)
    {
        long n = std::min<long>(1024, total - done);
        if (n > 0)
        {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (long i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buf[c][i] = float(0.5 * std::sin(2.0 * M_PI * frequency * double(done + i) / rate));
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        }
        else
            vorbis_analysis_wrote(&vd, 0);
        while (vorbis_analysis_blockout(&vd, &vb) == 1)
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op))
            {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og))
                {
                    append(og);
                    if (ogg_page_eos(&og))
                        eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}
} // namespace audiotest
