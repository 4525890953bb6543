// Sound effects in td/data/sound/ and the sheet that names them by tag.
#include <string>
#include <vector>

#include "tools/demodata/AudioWriter.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"

namespace demodata
{
namespace
{

struct Effect
{
    std::string tag;  // sheet tag; empty for files that later sheets will use
    std::string file; // below td/data/sound/, with extension
    float volume;
    Sound sound;
    int group = 0;
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

using namespace game;

Note Noise(float start, float length, float frequency, float volume, float slide = 0)
{
    return Note{start, length, frequency, volume, Wave::Noise, slide};
}

// A tower's shot: each family its own sound, higher for every upgrade level.
Sound TowerShot(const TowerKind& t)
{
    int v = t.variant;
    std::uint32_t seed = static_cast<std::uint32_t>(t.id);
    switch (t.family)
    {
    case Family::Dart:
        if (v == 4) // the beacon's horn
            return Render(0.45f, {Tone(0, 0.4f, 50, 0.35f, Wave::Saw), Tone(0, 0.4f, 57, 0.25f, Wave::Saw)});
        return Render(0.16f,
                      {Tone(0, 0.12f, 74 + 2 * v, 0.4f, Wave::Triangle, -1400), Noise(0, 0.03f, 4000, 0.25f)},
                      22050, seed);
    case Family::Cannon:
        return Render(
            0.32f,
            {Noise(0, 0.2f, 700.0f + 80 * v, 0.5f, -1500), Tone(0, 0.28f, 38 + v, 0.45f, Wave::Sine, -40)},
            22050, seed);
    case Family::Artillery:
        return Render(
            0.42f,
            {Noise(0, 0.3f, 350.0f + 40 * v, 0.5f, -500), Tone(0, 0.38f, 31 + v, 0.5f, Wave::Sine, -20)},
            22050, seed);
    case Family::Support:
        if (v == 3) // portal beam
            return Render(0.4f, {Tone(0, 0.38f, 55, 0.35f, Wave::Saw, 1800),
                                 Tone(0.05f, 0.3f, 67, 0.2f, Wave::Sine, 900)});
        if (v == 4) // coins
            return Render(
                0.35f, {Tone(0, 0.1f, 88, 0.35f, Wave::Square), Tone(0.1f, 0.2f, 95, 0.35f, Wave::Square)});
        return Render(0.3f, {Tone(0, 0.28f, 84 + 2 * v, 0.35f, Wave::Sine),
                             Tone(0, 0.2f, 91 + 2 * v, 0.2f, Wave::Sine)});
    }
    return {};
}

Sound AmmoHit(const AmmoKind& a, int index)
{
    std::uint32_t seed = static_cast<std::uint32_t>(a.id);
    float big = a.r / 100.0f;
    if (a.id >= 2001)
        return Render(0.2f + 0.25f * big,
                      {Noise(0, 0.15f + 0.2f * big, 900.0f + 150 * index, 0.5f, -800),
                       Tone(0, 0.2f + 0.2f * big, 33 + index, 0.45f, Wave::Sine, -30)},
                      22050, seed);
    if (a.id == 1004 || a.id == 1007)
        return Render(0.22f, {Tone(0, 0.2f, 90 + index, 0.35f, Wave::Sine, -1500)});
    if (a.id == 1005)
        return Render(0.3f, {Noise(0, 0.12f, 5000, 0.3f), Tone(0, 0.25f, 93, 0.25f, Wave::Triangle, -600)},
                      22050, seed);
    return Render(0.08f + 0.15f * big,
                  {Noise(0, 0.06f + 0.14f * big, 2600.0f - 1500 * big + 100 * index, 0.5f)}, 22050, seed);
}

Wave VoiceOf(Body b)
{
    switch (b)
    {
    case Body::Humanoid:
    case Body::Skeleton:
        return Wave::Square;
    case Body::Beast:
    case Body::Toad:
    case Body::Dragon:
        return Wave::Saw;
    default:
        return Wave::Triangle;
    }
}

// Units: a thud when hit, a falling cry when killed, a rising call for their special move; each kind has its
// own pitch and voice, and higher tiers sound deeper.
Sound UnitHit(const UnitKind& u, int index)
{
    return Render(
        0.1f,
        {Noise(0, 0.07f, 1800.0f / u.size, 0.45f), Tone(0, 0.06f, 60 + index % 12, 0.2f, VoiceOf(u.body))},
        22050, static_cast<std::uint32_t>(u.id + 300));
}

Sound UnitDie(const UnitKind& u, int index, int tier)
{
    int midi = 70 - static_cast<int>(u.size * 8) + index % 9 - 3 * tier;
    return Render(0.4f,
                  {Tone(0, 0.36f, midi, 0.35f, VoiceOf(u.body), -280), Noise(0, 0.15f, 900, 0.2f, -500)},
                  22050, static_cast<std::uint32_t>(u.id * 3 + tier + 500));
}

Sound UnitSpecial(const UnitKind& u, int index, int tier)
{
    int midi = 66 + index % 7 - 3 * tier - static_cast<int>(u.size * 2);
    return Render(0.42f,
                  {Tone(0, 0.12f, midi, 0.3f, Wave::Sine), Tone(0.12f, 0.12f, midi + 4, 0.3f, Wave::Sine),
                   Tone(0.24f, 0.16f, midi + 7, 0.3f, Wave::Sine)});
}

Sound SpellSound(const SpellKind& sp)
{
    switch (sp.spellId)
    {
    case 0:
        return Render(0.8f, {Noise(0, 0.75f, 500, 0.5f, -400), Tone(0, 0.7f, 40, 0.4f, Wave::Sine, -25)},
                      22050, 901);
    case 1:
        return Render(0.7f,
                      {Tone(0, 0.15f, 88, 0.3f, Wave::Triangle), Tone(0.15f, 0.15f, 91, 0.3f, Wave::Triangle),
                       Tone(0.3f, 0.35f, 96, 0.3f, Wave::Triangle), Noise(0, 0.4f, 6000, 0.15f)},
                      22050, 902);
    case 2:
        return Render(0.7f, {Tone(0, 0.1f, 50, 0.35f, Wave::Sine, 300),
                             Tone(0.2f, 0.1f, 53, 0.35f, Wave::Sine, 300),
                             Tone(0.4f, 0.12f, 48, 0.35f, Wave::Sine, 300)});
    case 3:
        return Render(0.7f, {Tone(0, 0.6f, 36, 0.35f, Wave::Saw, 20), Noise(0, 0.5f, 300, 0.2f)}, 22050, 904);
    default:
        return Render(0.9f, {Tone(0, 0.8f, 55, 0.3f, Wave::Saw), Tone(0, 0.8f, 59, 0.25f, Wave::Saw),
                             Tone(0, 0.8f, 62, 0.25f, Wave::Saw)});
    }
}

// Short blips keep well at half the rate, and the many per-id files stay small.
Sound HalfRate(Sound s)
{
    Sound h;
    h.rate = s.rate / 2;
    for (std::size_t i = 0; i + 1 < s.samples.size(); i += 2)
        h.samples.push_back((s.samples[i] + s.samples[i + 1]) * 0.5f);
    return h;
}

// One file and one tag for every sound the game world plays by an id.
void GameEffects(std::vector<Effect>& all)
{
    std::vector<Effect> e;
    for (const TowerKind& t : Towers())
        e.push_back({"tower" + std::to_string(t.id) + "shot", "tower_" + std::to_string(t.id) + "_shot.wav",
                     0.8f, TowerShot(t), 3});
    int index = 0;
    for (const AmmoKind& a : Ammo())
        if (*a.onHit)
            e.push_back({"ammo" + std::to_string(a.id) + "hit", "ammo_" + std::to_string(a.id) + "_hit.wav",
                         0.7f, AmmoHit(a, index++), 4});
    index = 0;
    for (const UnitKind& u : Units())
    {
        e.push_back({"enemy" + std::to_string(u.id) + "hit", "enemy_" + std::to_string(u.id) + "_hit.wav",
                     0.5f, UnitHit(u, index), 5});
        std::vector<int> ids = {u.id};
        for (const UnitTier& t : TiersOf(u))
            ids.push_back(t.id);
        for (std::size_t tier = 0; tier < ids.size(); ++tier)
        {
            const std::string id = std::to_string(ids[tier]);
            e.push_back({"enemy" + id + "die", "enemy_" + id + "_die.wav", 0.7f,
                         UnitDie(u, index, static_cast<int>(tier)), 6});
            e.push_back({"enemy" + id + "special", "enemy_" + id + "_special.wav", 0.7f,
                         UnitSpecial(u, index, static_cast<int>(tier)), 7});
        }
        ++index;
    }
    for (const SpellKind& sp : Spells())
        e.push_back({"spell" + std::to_string(sp.spellId), std::string("spell_") + sp.key + ".wav", 0.9f,
                     SpellSound(sp), 8});
    for (Effect& effect : e)
    {
        effect.sound = HalfRate(std::move(effect.sound));
        all.push_back(std::move(effect));
    }
}

} // namespace

void WriteSounds(Output& out)
{
    std::string sheet = "# tag;file;volume;group;unused\n";
    int serial = 100;
    std::vector<Effect> effects = Effects();
    GameEffects(effects);
    for (const Effect& e : effects)
    {
        std::string path = "td/data/sound/" + e.file;
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
        if (!e.tag.empty())
            sheet += e.tag + ";" + e.file + ";" + std::to_string(e.volume).substr(0, 4) + ";" +
                     std::to_string(e.group) + ";0\n";
    }
    out.WriteText("td/sounds_sheet.csv", sheet);
}

} // namespace demodata
