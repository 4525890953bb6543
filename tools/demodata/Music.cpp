// Music: a menu track and seven level tracks, each a short loop in its own key, mode and
// tempo, built from a bass line, a melody walked over the scale and a noise hi-hat.
#include <algorithm>
#include <string>
#include <vector>

#include "tools/demodata/AudioWriter.h"
#include "tools/demodata/Content.h"

namespace demodata
{
namespace
{

struct Track
{
    const char* file;
    int root; // MIDI note of the key
    bool minor;
    float bpm;
    Wave lead;
    std::uint32_t seed;
};

const Track kTracks[] = {
    {"main_menu.ogg", 57, true, 84, Wave::Triangle, 1}, {"ingame1.ogg", 60, false, 112, Wave::Square, 2},
    {"ingame2.ogg", 62, true, 120, Wave::Triangle, 3},  {"ingame3.ogg", 55, false, 128, Wave::Square, 4},
    {"ingame4.ogg", 64, true, 104, Wave::Saw, 5},       {"ingame5.ogg", 58, false, 136, Wave::Triangle, 6},
    {"ingame6.ogg", 53, true, 118, Wave::Square, 7},    {"ingame7.ogg", 61, true, 144, Wave::Saw, 8},
};

Sound Compose(const Track& t)
{
    static const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
    static const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};
    const int* scale = t.minor ? kMinor : kMajor;
    static const int kChords[4] = {0, 5, 3, 4}; // I vi IV V in scale degrees
    const float beat = 60.0f / t.bpm;
    const int bars = 4;
    std::vector<Note> notes;
    Random random(t.seed);
    int degree = 0;
    for (int bar = 0; bar < bars; ++bar)
    {
        int chord = kChords[bar % 4];
        for (int b = 0; b < 4; ++b)
        {
            float at = (bar * 4 + b) * beat;
            int bass = t.root - 24 + scale[chord % 7] + (chord >= 7 ? 12 : 0);
            notes.push_back(Note{at, beat * 0.9f, MidiToFrequency(bass), 0.35f, Wave::Triangle});
            notes.push_back(Note{at + beat * 0.5f, 0.04f, 6000, 0.08f, Wave::Noise});
            // Melody: eighth notes stepping around the chord tones.
            for (int half = 0; half < 2; ++half)
            {
                int step = static_cast<int>(random.Next() % 5) - 2;
                degree = std::max(-3, std::min(9, degree + step));
                if (half == 0 && b == 0)
                    degree = chord; // land on the chord root each bar
                int d = ((degree % 7) + 7) % 7, octave = (degree - d) / 7;
                int midi = t.root + scale[d] + 12 * octave;
                if (random.Next() % 6 == 0)
                    continue; // a few rests keep it from droning
                notes.push_back(
                    Note{at + half * beat * 0.5f, beat * 0.45f, MidiToFrequency(midi), 0.18f, t.lead});
            }
        }
    }
    return Render(bars * 4 * beat, notes, 22050, t.seed);
}

} // namespace

void WriteMusic(Output& out)
{
    int serial = 1;
    for (const Track& t : kTracks)
    {
        Bytes ogg = EncodeOgg(Compose(t), 0.0f, serial++);
        std::string path = std::string("td/data/music/") + t.file;
        if (ogg.empty())
            out.Fail("cannot encode " + path);
        out.Write(path, ogg);
    }
}

} // namespace demodata
