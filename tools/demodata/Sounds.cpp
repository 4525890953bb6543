// Sound effects in td/data/sound/ and the sheet that names them by tag.
#include <string>
#include <vector>

#include "tools/demodata/AudioWriter.h"
#include "tools/demodata/Content.h"

namespace demodata
{
namespace
{

struct Effect
{
    const char* tag;  // sheet tag; empty for files that later sheets will use
    const char* file; // below td/data/sound/, with extension
    float volume;
    Sound sound;
};

Note Tone(float start, float length, int midi, float volume, Wave wave, float slide = 0)
{
    return Note{start, length, MidiToFrequency(midi), volume, wave, slide};
}

std::vector<Effect> Effects()
{
    std::vector<Effect> e;
    e.push_back({"simple", "click.wav", 0.8f, Render(0.08f, {Tone(0, 0.06f, 84, 0.5f, Wave::Square)})});
    e.push_back(
        {"context_in", "context_in.wav", 0.7f, Render(0.18f, {Tone(0, 0.16f, 72, 0.5f, Wave::Sine, 900)})});
    e.push_back({"context_out", "context_out.wav", 0.7f,
                 Render(0.18f, {Tone(0, 0.16f, 84, 0.5f, Wave::Sine, -900)})});
    e.push_back(
        {"buildTower", "build.ogg", 1.0f,
         Render(0.7f,
                {Note{0, 0.08f, 3000, 0.6f, Wave::Noise}, Note{0.18f, 0.08f, 3000, 0.6f, Wave::Noise},
                 Tone(0.36f, 0.3f, 60, 0.5f, Wave::Triangle), Tone(0.36f, 0.3f, 67, 0.3f, Wave::Triangle)},
                22050, 11)});
    e.push_back(
        {"sellTower", "sell.wav", 0.9f,
         Render(0.4f, {Tone(0, 0.1f, 88, 0.4f, Wave::Square), Tone(0.1f, 0.25f, 93, 0.4f, Wave::Square)})});
    e.push_back(
        {"upgradeTower", "upgrade.ogg", 1.0f,
         Render(0.6f, {Tone(0, 0.12f, 72, 0.4f, Wave::Triangle), Tone(0.12f, 0.12f, 76, 0.4f, Wave::Triangle),
                       Tone(0.24f, 0.12f, 79, 0.4f, Wave::Triangle),
                       Tone(0.36f, 0.22f, 84, 0.4f, Wave::Triangle)})});
    e.push_back(
        {"buySpot", "buy_spot.ogg", 0.9f,
         Render(0.4f, {Tone(0, 0.15f, 67, 0.45f, Wave::Sine), Tone(0.15f, 0.22f, 74, 0.45f, Wave::Sine)})});
    e.push_back(
        {"teleportEnemy", "teleport.wav", 0.8f, Render(0.35f, {Tone(0, 0.33f, 60, 0.4f, Wave::Saw, 2400)})});
    e.push_back(
        {"winSound", "win.ogg", 1.0f,
         Render(1.6f, {Tone(0, 0.2f, 72, 0.4f, Wave::Square), Tone(0.2f, 0.2f, 76, 0.4f, Wave::Square),
                       Tone(0.4f, 0.2f, 79, 0.4f, Wave::Square), Tone(0.6f, 0.9f, 84, 0.4f, Wave::Square),
                       Tone(0.6f, 0.9f, 60, 0.3f, Wave::Triangle)})});
    e.push_back(
        {"loseSound", "lose.ogg", 1.0f,
         Render(1.6f, {Tone(0, 0.3f, 67, 0.4f, Wave::Triangle), Tone(0.3f, 0.3f, 63, 0.4f, Wave::Triangle),
                       Tone(0.6f, 0.9f, 55, 0.4f, Wave::Triangle, -30)})});
    // Building blocks for the per-tower and per-enemy tags of the game's own sheets.
    e.push_back({"", "shot.wav", 0.6f, Render(0.15f, {Tone(0, 0.12f, 79, 0.4f, Wave::Square, -1500)})});
    e.push_back({"", "hit.wav", 0.6f, Render(0.12f, {Note{0, 0.1f, 1500, 0.5f, Wave::Noise}}, 22050, 7)});
    e.push_back(
        {"", "die.ogg", 0.7f,
         Render(0.5f,
                {Note{0, 0.45f, 800, 0.4f, Wave::Noise, -1200}, Tone(0, 0.4f, 48, 0.3f, Wave::Sine, -60)},
                22050, 5)});
    return e;
}

} // namespace

void WriteSounds(Output& out)
{
    std::string sheet = "# tag;file;volume;group;unused\n";
    int serial = 100;
    for (const Effect& e : Effects())
    {
        std::string path = std::string("td/data/sound/") + e.file;
        std::string file = e.file;
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".ogg") == 0)
        {
            Bytes ogg = EncodeOgg(e.sound, 0.3f, serial++);
            if (ogg.empty())
                out.Fail("cannot encode " + path);
            out.Write(path, ogg);
        }
        else
        {
            out.Write(path, EncodeWav(e.sound));
        }
        if (*e.tag)
            sheet +=
                std::string(e.tag) + ";" + e.file + ";" + std::to_string(e.volume).substr(0, 4) + ";0;0\n";
    }
    out.WriteText("td/sounds_sheet.csv", sheet);
}

} // namespace demodata
