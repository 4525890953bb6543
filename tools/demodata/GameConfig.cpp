// data/game.xml with the dialog effects, and the two animation files the effects play.
#include <string>
#include <vector>

#include "tools/demodata/Content.h"

namespace demodata
{
namespace
{

struct Key
{
    float time, value;
};

// One envelope: linear keys, constant before and after the key range.
void Envelope(ByteWriter& w, const std::vector<Key>& keys)
{
    w.U32(static_cast<std::uint32_t>(keys.size()));
    w.U32(1); // pre: constant
    w.U32(1); // post: constant
    for (const Key& k : keys)
    {
        w.F32(k.value);
        w.F32(k.time);
        w.U32(3); // linear
        for (int i = 0; i < 4; ++i)
            w.F32(0);
        w.U32(0);
        w.U32(0);
    }
}

void String(ByteWriter& w, const std::string& s)
{
    w.U32(static_cast<std::uint32_t>(s.size()));
    w.Text(s);
}

// A dialog fade: one layer record whose dissolve goes from `from` to `to`. Position and
// scale stay put (scale 1), because the dialog's layer would scale about the screen origin.
Bytes DialogAnimation(const std::string& name, float seconds, float from, float to)
{
    ByteWriter w;
    String(w, name);
    w.F32(0);
    w.F32(seconds);
    w.U32(1);
    String(w, "dialog");
    String(w, "screen_res"); // no mesh
    String(w, "null");
    w.U32(0); // no parent
    w.U32(0);
    w.U32(0);
    w.U32(0); // no colour envelopes
    for (int i = 0; i < 6; ++i)
        Envelope(w, {{0, 0}}); // position x, y, z, rotations
    for (int i = 0; i < 3; ++i)
        Envelope(w, {{0, 1}});
    Envelope(w, {{0, from}, {seconds, to}});
    return w.Take();
}

} // namespace

void WriteGameConfig(Output& out)
{
    out.WriteText("data/game.xml",
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                  "<Game>\n"
                  "  <DialogEffects>\n"
                  "    <Data>\n"
                  "      <Anim name=\"fade\" show_anim_data=\"td/data/anim/dialog_show.anim\"\n"
                  "            hide_anim_data=\"td/data/anim/dialog_hide.anim\"/>\n"
                  "    </Data>\n"
                  "    <Dialogs>\n"
                  "      <Options effects=\"fade\"/>\n"
                  "    </Dialogs>\n"
                  "  </DialogEffects>\n"
                  "</Game>\n");
    out.Write("td/data/anim/dialog_show.anim", DialogAnimation("dialog_show", 0.25f, 1.0f, 0.0f));
    out.Write("td/data/anim/dialog_hide.anim", DialogAnimation("dialog_hide", 0.2f, 0.0f, 1.0f));
}

} // namespace demodata
