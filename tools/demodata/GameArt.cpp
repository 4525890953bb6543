#include "tools/demodata/GameArt.h"

#include <algorithm>
#include <cmath>

namespace demodata::game
{
namespace
{

constexpr float kPi = 3.14159265f;

// Draws in a local space (x right, y down, origin at the feet or the tower base) that can be turned, scaled
// and faded as a whole: the death poses tip the whole drawing over.
struct Pen
{
    Canvas& c;
    float ox, oy;
    float rot = 0;
    float scale = 1;
    float alpha = 1;

    PointF Map(float x, float y) const
    {
        float cs = std::cos(rot), sn = std::sin(rot);
        x *= scale;
        y *= scale;
        return {ox + x * cs - y * sn, oy + x * sn + y * cs};
    }
    Rgba A(Rgba col) const
    {
        col.a = static_cast<std::uint8_t>(col.a * std::clamp(alpha, 0.0f, 1.0f));
        return col;
    }
    void Circle(float x, float y, float r, Rgba col) const
    {
        PointF p = Map(x, y);
        c.FillEllipse(p.x, p.y, r * scale, r * scale, 0, A(col));
    }
    void Ellipse(float x, float y, float rx, float ry, float angle, Rgba col) const
    {
        PointF p = Map(x, y);
        c.FillEllipse(p.x, p.y, rx * scale, ry * scale, angle + rot, A(col));
    }
    void Line(float x0, float y0, float x1, float y1, float w, Rgba col) const
    {
        PointF a = Map(x0, y0), b = Map(x1, y1);
        c.StrokeLine(a.x, a.y, b.x, b.y, w * scale, A(col));
    }
    void Poly(std::vector<PointF> pts, Rgba col) const
    {
        for (PointF& p : pts)
            p = Map(p.x, p.y);
        c.FillPolygon(pts, A(col));
    }
    void Ring(float x, float y, float r, float w, Rgba col) const
    {
        PointF p = Map(x, y);
        c.StrokeCircle(p.x, p.y, r * scale, w * scale, A(col));
    }
};

const Rgba kInk = RgbaOf(0x1B1B1B);
const Rgba kWhite = RgbaOf(0xFFFFFF);

// The colour of a unit's special move, from what it does.
Rgba AbilityColour(const UnitKind& u)
{
    if (HasFlag(u.flags, "healer"))
        return RgbaOf(0x58D68D, 220);
    if (HasFlag(u.flags, "summon"))
        return RgbaOf(0xA569BD, 220);
    if (HasFlag(u.flags, "raiseDead"))
        return RgbaOf(0x1E8449, 220);
    if (HasFlag(u.flags, "regen"))
        return RgbaOf(0xB7E25A, 220);
    if (HasFlag(u.flags, "haste_buff"))
        return RgbaOf(0xF39C12, 220);
    if (HasFlag(u.flags, "invisible") || HasFlag(u.flags, "invisibleArea"))
        return RgbaOf(0xAED6F1, 200);
    return RgbaOf(0xF4D03F, 220);
}

void Gear_(const Pen& p, const UnitKind& u, float h, float handX, float handY, float headX, float headY,
           float bob)
{
    Rgba wood = RgbaOf(0x7F5539), metal = RgbaOf(0xB3B6B7), gold = RgbaOf(0xF1C40F);
    switch (u.gear)
    {
    case Gear::Club:
        p.Line(handX, handY, handX + 0.22f * h, handY - 0.32f * h, 0.09f * h, wood);
        p.Circle(handX + 0.22f * h, handY - 0.32f * h, 0.08f * h, Shade(0x7F5539, 0.8f));
        break;
    case Gear::Staff:
        p.Line(handX, handY + 0.3f * h, handX + 0.04f * h, handY - 0.55f * h, 0.05f * h, wood);
        p.Circle(handX + 0.04f * h, handY - 0.58f * h, 0.08f * h, RgbaOf(u.second));
        p.Circle(handX + 0.02f * h, handY - 0.6f * h, 0.03f * h, kWhite);
        break;
    case Gear::Hat:
        p.Poly({{headX - 0.2f * h, headY - 0.08f * h},
                {headX + 0.2f * h, headY - 0.08f * h},
                {headX + 0.05f * h, headY - 0.5f * h}},
               RgbaOf(u.second));
        p.Ellipse(headX, headY - 0.08f * h, 0.24f * h, 0.05f * h, 0, RgbaOf(u.second));
        break;
    case Gear::Drum:
        p.Ellipse(0.16f * h, -0.5f * h + bob, 0.14f * h, 0.12f * h, 0, RgbaOf(u.second));
        p.Ellipse(0.22f * h, -0.5f * h + bob, 0.06f * h, 0.12f * h, 0, RgbaOf(0xF5CBA7));
        p.Line(handX, handY, handX + 0.1f * h, handY - 0.15f * h, 0.03f * h, wood);
        break;
    case Gear::Shield:
        p.Ellipse(0.2f * h, -0.52f * h + bob, 0.11f * h, 0.2f * h, 0, metal);
        p.Ellipse(0.21f * h, -0.52f * h + bob, 0.06f * h, 0.13f * h, 0, RgbaOf(u.second));
        break;
    case Gear::Horns:
        p.Poly({{headX - 0.1f * h, headY - 0.08f * h},
                {headX - 0.04f * h, headY - 0.12f * h},
                {headX - 0.16f * h, headY - 0.3f * h}},
               RgbaOf(0xF5F5DC));
        p.Poly({{headX + 0.06f * h, headY - 0.1f * h},
                {headX + 0.12f * h, headY - 0.06f * h},
                {headX + 0.16f * h, headY - 0.28f * h}},
               RgbaOf(0xF5F5DC));
        break;
    case Gear::Crown:
        p.Poly({{headX - 0.14f * h, headY - 0.1f * h},
                {headX + 0.14f * h, headY - 0.1f * h},
                {headX + 0.16f * h, headY - 0.3f * h},
                {headX + 0.07f * h, headY - 0.2f * h},
                {headX, headY - 0.32f * h},
                {headX - 0.07f * h, headY - 0.2f * h},
                {headX - 0.16f * h, headY - 0.3f * h}},
               gold);
        break;
    case Gear::Hood:
        p.Poly({{headX - 0.2f * h, headY + 0.12f * h},
                {headX - 0.16f * h, headY - 0.14f * h},
                {headX + 0.02f * h, headY - 0.24f * h},
                {headX + 0.18f * h, headY - 0.08f * h},
                {headX + 0.08f * h, headY + 0.02f * h},
                {headX - 0.04f * h, headY + 0.14f * h}},
               RgbaOf(u.second));
        break;
    case Gear::Bag:
        p.Ellipse(-0.2f * h, -0.58f * h + bob, 0.13f * h, 0.16f * h, 0, RgbaOf(0x935116));
        p.Circle(-0.2f * h, -0.74f * h + bob, 0.05f * h, RgbaOf(u.second));
        break;
    default:
        break;
    }
}

void Humanoid(const Pen& p, const UnitKind& u, float h, float phase, bool cast)
{
    bool bones = u.body == Body::Skeleton;
    float swing = std::sin(phase) * 0.22f * h, bob = -std::fabs(std::sin(phase)) * 0.04f * h;
    Rgba skin = RgbaOf(u.main), cloth = RgbaOf(u.second), darkSkin = Shade(u.main, 0.7f);
    float limb = bones ? 0.06f * h : 0.12f * h;
    // Back leg and arm first, darker.
    p.Line(-0.05f * h, -0.38f * h + bob, -swing, 0, limb,
           bones ? Shade(u.main, 0.75f) : Shade(u.second, 0.6f));
    p.Line(-0.04f * h, -0.66f * h + bob, -0.12f * h - swing * 0.6f, -0.42f * h + bob, limb * 0.8f, darkSkin);
    if (bones)
    {
        p.Line(0, -0.38f * h + bob, 0, -0.72f * h + bob, 0.06f * h, skin);
        for (int k = 0; k < 3; ++k)
            p.Ellipse(0, (-0.48f - 0.08f * k) * h + bob, 0.14f * h, 0.025f * h, 0, skin);
        if (u.gear == Gear::Crown)
            p.Poly({{-0.2f * h, -0.36f * h + bob},
                    {0.2f * h, -0.36f * h + bob},
                    {0.14f * h, -0.78f * h + bob},
                    {-0.14f * h, -0.78f * h + bob}},
                   RgbaOf(u.second));
    }
    else
    {
        p.Ellipse(0, -0.55f * h + bob, 0.2f * h, 0.24f * h, 0, cloth);
        p.Ellipse(0, -0.4f * h + bob, 0.2f * h, 0.06f * h, 0, Shade(u.second, 0.7f));
    }
    p.Line(0.05f * h, -0.38f * h + bob, swing, 0, limb, bones ? skin : Shade(u.second, 0.8f));
    // Feet.
    p.Ellipse(swing + 0.03f * h, -0.02f * h, 0.07f * h, 0.035f * h, 0, bones ? skin : RgbaOf(0x3E2723));
    float headX = 0.04f * h, headY = -0.86f * h + bob;
    p.Circle(headX, headY, 0.15f * h, skin);
    if (bones)
    {
        p.Circle(headX + 0.05f * h, headY - 0.01f * h, 0.04f * h, kInk);
        p.Circle(headX - 0.04f * h, headY - 0.01f * h, 0.035f * h, kInk);
        p.Line(headX - 0.03f * h, headY + 0.09f * h, headX + 0.08f * h, headY + 0.09f * h, 0.02f * h, kInk);
    }
    else
    {
        p.Circle(headX + 0.08f * h, headY - 0.02f * h, 0.035f * h, kWhite);
        p.Circle(headX + 0.095f * h, headY - 0.02f * h, 0.018f * h, kInk);
    }
    // Front arm; a caster raises it.
    float handX = cast ? 0.12f * h : 0.14f * h + swing * 0.6f, handY = cast ? -1.05f * h : -0.44f * h + bob;
    Gear_(p, u, h, handX, handY, headX, headY, bob);
    p.Line(0.03f * h, -0.67f * h + bob, handX, handY, limb * 0.8f, skin);
    p.Circle(handX, handY, limb * 0.55f, skin);
}

void Beast(const Pen& p, const UnitKind& u, float h, float phase)
{
    float s = std::sin(phase) * 0.16f * h, bob = -std::fabs(std::sin(phase)) * 0.04f * h;
    Rgba body = RgbaOf(u.main), dark = Shade(u.main, 0.65f);
    p.Line(-0.3f * h, -0.48f * h + bob, -0.55f * h, -0.7f * h + bob - s * 0.3f, 0.1f * h, dark); // tail
    p.Line(-0.22f * h, -0.4f * h + bob, -0.22f * h - s, 0, 0.09f * h, dark);
    p.Line(0.2f * h, -0.4f * h + bob, 0.2f * h + s, 0, 0.09f * h, dark);
    p.Ellipse(0, -0.45f * h + bob, 0.38f * h, 0.19f * h, 0, body);
    p.Ellipse(0, -0.38f * h + bob, 0.3f * h, 0.09f * h, 0, Shade(u.main, 1.15f));
    p.Line(-0.18f * h, -0.4f * h + bob, -0.18f * h + s, 0, 0.09f * h, body);
    p.Line(0.24f * h, -0.4f * h + bob, 0.24f * h - s, 0, 0.09f * h, body);
    float hx = 0.4f * h, hy = -0.62f * h + bob;
    p.Poly(
        {{hx - 0.1f * h, hy - 0.08f * h}, {hx - 0.02f * h, hy - 0.1f * h}, {hx - 0.08f * h, hy - 0.28f * h}},
        dark);
    p.Circle(hx, hy, 0.15f * h, body);
    p.Ellipse(hx + 0.16f * h, hy + 0.04f * h, 0.1f * h, 0.07f * h, 0, Shade(u.main, 1.2f));
    p.Circle(hx + 0.25f * h, hy + 0.02f * h, 0.03f * h, kInk);
    p.Circle(hx + 0.05f * h, hy - 0.04f * h, 0.03f * h, RgbaOf(0xF1C40F));
}

void Toad(const Pen& p, const UnitKind& u, float h, float phase)
{
    float hop = -std::fabs(std::sin(phase)) * 0.18f * h;
    Rgba body = RgbaOf(u.main), dark = RgbaOf(u.second);
    p.Ellipse(-0.2f * h, -0.08f * h + hop * 0.3f, 0.22f * h, 0.08f * h, 0, dark);
    p.Ellipse(0, -0.3f * h + hop, 0.38f * h, 0.26f * h, 0, body);
    p.Ellipse(0.05f * h, -0.2f * h + hop, 0.26f * h, 0.12f * h, 0, Shade(u.main, 1.2f));
    for (float x : {-0.14f, 0.2f})
    {
        p.Circle(x * h, -0.56f * h + hop, 0.1f * h, body);
        p.Circle(x * h + 0.02f * h, -0.57f * h + hop, 0.05f * h, RgbaOf(0xF7DC6F));
        p.Circle(x * h + 0.03f * h, -0.57f * h + hop, 0.025f * h, kInk);
    }
    for (float x : {-0.25f, 0.0f, 0.25f})
        p.Circle(x * h, -0.38f * h + hop, 0.045f * h, dark);
    p.Ellipse(0.28f * h, -0.04f * h + hop * 0.3f, 0.12f * h, 0.05f * h, 0, dark);
}

void Flame(const Pen& p, const UnitKind& u, float h, int frame)
{
    float bob = std::sin(frame * kPi / 2) * 0.04f * h;
    Rgba outer = RgbaOf(u.second), mid = RgbaOf(u.main), core = RgbaOf(0xFFF3B0);
    for (int k = 0; k < 3; ++k)
    {
        float lean = std::sin((frame + k) * 1.7f) * 0.08f * h;
        float x = (k - 1) * 0.14f * h;
        p.Poly({{x - 0.12f * h, -0.45f * h + bob},
                {x + 0.12f * h, -0.45f * h + bob},
                {x + lean, -(0.95f + 0.12f * ((frame + k) % 2)) * h + bob}},
               outer);
    }
    p.Ellipse(0, -0.38f * h + bob, 0.26f * h, 0.3f * h, 0, outer);
    p.Ellipse(0, -0.4f * h + bob, 0.19f * h, 0.24f * h, 0, mid);
    p.Ellipse(0, -0.36f * h + bob, 0.1f * h, 0.14f * h, 0, core);
    p.Circle(-0.06f * h, -0.48f * h + bob, 0.035f * h, kInk);
    p.Circle(0.08f * h, -0.48f * h + bob, 0.035f * h, kInk);
    p.Ellipse(0, -0.05f * h, 0.16f * h, 0.04f * h, 0, RgbaOf(0xE74C3C, 120));
}

void Ghost(const Pen& p, const UnitKind& u, float h, int frame)
{
    float bob = std::sin(frame * kPi / 2) * 0.05f * h - 0.12f * h;
    Rgba body = RgbaOf(u.main, 215), trim = RgbaOf(u.second, 200);
    std::vector<PointF> skirt = {{-0.26f * h, -0.6f * h + bob}, {0.26f * h, -0.6f * h + bob}};
    for (int k = 0; k <= 6; ++k)
    {
        float x = 0.26f * h - k * (0.52f / 6) * h;
        float wave = ((k + frame) % 2) ? 0.0f : 0.08f * h;
        skirt.push_back({x, -0.05f * h + bob - wave});
    }
    p.Poly(skirt, body);
    p.Ellipse(0, -0.7f * h + bob, 0.26f * h, 0.24f * h, 0, body);
    if (u.gear == Gear::Hood)
        p.Poly({{-0.3f * h, -0.5f * h + bob}, {0, -1.05f * h + bob}, {0.3f * h, -0.5f * h + bob}}, trim);
    p.Ellipse(-0.03f * h, -0.72f * h + bob, 0.05f * h, 0.08f * h, 0, kInk);
    p.Ellipse(0.11f * h, -0.72f * h + bob, 0.05f * h, 0.08f * h, 0, kInk);
    p.Ellipse(0.05f * h, -0.55f * h + bob, 0.06f * h, 0.04f * h, 0, RgbaOf(0x2C3E50, 180));
    p.Line(-0.2f * h, -0.55f * h + bob, -0.36f * h, -0.4f * h + bob, 0.06f * h, trim);
}

void Golem(const Pen& p, const UnitKind& u, float h, float phase)
{
    float s = std::sin(phase) * 0.12f * h, bob = -std::fabs(std::sin(phase)) * 0.03f * h;
    Rgba body = RgbaOf(u.main), dark = RgbaOf(u.second);
    p.Line(-0.12f * h, -0.3f * h, -0.12f * h - s, 0, 0.16f * h, dark);
    p.Line(-0.28f * h, -0.68f * h + bob, -0.34f * h - s, -0.3f * h + bob, 0.14f * h, dark);
    p.Poly({{-0.3f * h, -0.3f * h + bob},
            {0.3f * h, -0.3f * h + bob},
            {0.36f * h, -0.72f * h + bob},
            {0.14f * h, -0.86f * h + bob},
            {-0.18f * h, -0.84f * h + bob},
            {-0.36f * h, -0.7f * h + bob}},
           body);
    p.Line(0.12f * h, -0.3f * h, 0.12f * h + s, 0, 0.16f * h, Shade(u.second, 1.2f));
    p.Circle(0.12f * h, -0.92f * h + bob, 0.14f * h, body);
    p.Circle(0.18f * h, -0.94f * h + bob, 0.03f * h,
             u.gear == Gear::Club ? RgbaOf(0xF1C40F) : RgbaOf(0x85C1E9));
    if (HasFlag(u.flags, "ice"))
        for (int k = 0; k < 3; ++k)
            p.Poly({{(-0.2f + 0.15f * k) * h, -0.8f * h + bob},
                    {(-0.14f + 0.15f * k) * h, -0.8f * h + bob},
                    {(-0.17f + 0.15f * k) * h, -1.0f * h + bob}},
                   RgbaOf(0xEBF5FB));
    else if (HasFlag(u.flags, "stone"))
    {
        p.Line(-0.1f * h, -0.75f * h + bob, 0.05f * h, -0.55f * h + bob, 0.025f * h, dark);
        p.Line(0.05f * h, -0.55f * h + bob, 0.0f, -0.4f * h + bob, 0.025f * h, dark);
    }
    else
        p.Poly({{0.2f * h, -0.86f * h + bob}, {0.25f * h, -0.86f * h + bob}, {0.24f * h, -0.76f * h + bob}},
               kWhite);
    float hx = 0.3f * h + s * 0.5f, hy = -0.4f * h + bob;
    p.Line(0.26f * h, -0.7f * h + bob, hx, hy, 0.14f * h, body);
    if (u.gear == Gear::Club)
    {
        p.Line(hx, hy, hx + 0.2f * h, hy - 0.3f * h, 0.1f * h, RgbaOf(0x6E2C00));
        p.Circle(hx + 0.2f * h, hy - 0.3f * h, 0.09f * h, RgbaOf(0x6E2C00));
    }
}

void Beetle(const Pen& p, const UnitKind& u, float h, int frame)
{
    float s = ((frame % 2) ? 1.0f : -1.0f) * 0.05f * h;
    Rgba shell = RgbaOf(u.main), dark = RgbaOf(u.second);
    for (int k = 0; k < 3; ++k)
    {
        float x = (-0.22f + 0.22f * k) * h;
        float d = (k % 2) ? s : -s;
        p.Line(x, -0.2f * h, x + d - 0.06f * h, 0, 0.045f * h, kInk);
    }
    p.Ellipse(0, -0.3f * h, 0.42f * h, 0.24f * h, 0, shell);
    p.Line(-0.38f * h, -0.32f * h, 0.32f * h, -0.34f * h, 0.03f * h, dark);
    p.Ellipse(-0.05f * h, -0.42f * h, 0.2f * h, 0.06f * h, 0, Shade(u.main, 1.3f));
    p.Circle(0.42f * h, -0.28f * h, 0.13f * h, dark);
    p.Circle(0.48f * h, -0.3f * h, 0.03f * h, RgbaOf(0xF9E79F));
    p.Line(0.5f * h, -0.36f * h, 0.62f * h, -0.48f * h, 0.025f * h, kInk);
    if (u.gear == Gear::Sacks)
    {
        p.Ellipse(-0.18f * h, -0.6f * h, 0.14f * h, 0.13f * h, 0, RgbaOf(0xD7BDE2));
        p.Ellipse(0.1f * h, -0.62f * h, 0.14f * h, 0.13f * h, 0, RgbaOf(0xD2B4DE));
        p.Circle(-0.18f * h, -0.6f * h, 0.05f * h, RgbaOf(0xF4D03F));
        p.Circle(0.1f * h, -0.62f * h, 0.05f * h, RgbaOf(0xF4D03F));
    }
    if (u.gear == Gear::Fuse)
    {
        p.Line(-0.05f * h, -0.52f * h, -0.15f * h, -0.72f * h, 0.03f * h, RgbaOf(0xD0D3D4));
        p.Circle(-0.15f * h, -0.74f * h, (0.05f + 0.02f * (frame % 2)) * h, RgbaOf(0xF39C12));
        p.Circle(-0.15f * h, -0.74f * h, 0.025f * h, RgbaOf(0xFFF8C6));
    }
}

void Flier(const Pen& p, const UnitKind& u, float h, int frame)
{
    bool dragon = u.body == Body::Dragon;
    float flap = std::sin(frame * kPi / 2);
    float lift = -0.62f * h + flap * 0.04f * h;
    Rgba body = RgbaOf(u.main), wing = Shade(u.second, 0.9f, 235), dark = Shade(u.main, 0.65f);
    auto wingPoly = [&](float side, Rgba col)
    {
        float tipY = lift - (0.15f + 0.45f * flap) * h * side;
        p.Poly({{-0.05f * h, lift - 0.05f * h},
                {0.18f * h, lift - 0.06f * h},
                {0.05f * h, tipY - 0.05f * h},
                {-0.25f * h, tipY},
                {-0.4f * h, tipY * 0.6f + lift * 0.4f}},
               col);
    };
    wingPoly(1.0f, Shade(u.second, 0.7f, 235)); // far wing
    // Tail and neck.
    p.Line(-0.2f * h, lift + 0.02f * h, (dragon ? -0.62f : -0.45f) * h, lift + 0.12f * h, 0.08f * h, dark);
    p.Poly({{(dragon ? -0.62f : -0.45f) * h, lift + 0.04f * h},
            {(dragon ? -0.74f : -0.55f) * h, lift + 0.1f * h},
            {(dragon ? -0.62f : -0.45f) * h, lift + 0.2f * h}},
           RgbaOf(u.second));
    p.Ellipse(0, lift, 0.26f * h, 0.13f * h, 0, body);
    p.Ellipse(0.02f * h, lift + 0.05f * h, 0.18f * h, 0.06f * h, 0, RgbaOf(u.second));
    float hx = (dragon ? 0.42f : 0.3f) * h, hy = lift - (dragon ? 0.18f : 0.08f) * h;
    p.Line(0.15f * h, lift - 0.03f * h, hx, hy, (dragon ? 0.11f : 0.09f) * h, body);
    if (u.gear == Gear::Hood)
    {
        // A harpy: a woman's face with long hair.
        p.Ellipse(hx - 0.04f * h, hy + 0.02f * h, 0.1f * h, 0.16f * h, 0, RgbaOf(0x6E2C00));
        p.Circle(hx, hy, 0.1f * h, RgbaOf(0xFAD7A0));
        p.Circle(hx + 0.05f * h, hy - 0.02f * h, 0.022f * h, kInk);
    }
    else
    {
        p.Ellipse(hx, hy, 0.12f * h, 0.08f * h, 0, body);
        p.Ellipse(hx + 0.1f * h, hy + 0.02f * h, 0.08f * h, 0.05f * h, 0, Shade(u.main, 1.15f));
        p.Circle(hx + 0.02f * h, hy - 0.03f * h, 0.025f * h, RgbaOf(0xF4D03F));
        if (u.gear == Gear::Horns || dragon)
        {
            p.Line(hx - 0.06f * h, hy - 0.05f * h, hx - 0.16f * h, hy - 0.16f * h, 0.03f * h,
                   RgbaOf(0xF5F5DC));
            p.Line(hx - 0.02f * h, hy - 0.06f * h, hx - 0.08f * h, hy - 0.19f * h, 0.03f * h,
                   RgbaOf(0xF5F5DC));
        }
    }
    if (dragon)
        for (int k = 0; k < 4; ++k)
            p.Poly({{(-0.2f + 0.1f * k) * h, lift - 0.11f * h},
                    {(-0.14f + 0.1f * k) * h, lift - 0.11f * h},
                    {(-0.17f + 0.1f * k) * h, lift - 0.2f * h}},
                   RgbaOf(u.second));
    // Legs tucked under the body.
    p.Line(0.05f * h, lift + 0.1f * h, 0.02f * h, lift + 0.2f * h, 0.04f * h, dark);
    wingPoly(1.0f, wing); // near wing over the body
    (void)wing;
}

void DrawBody(const Pen& p, const UnitKind& u, float h, int frame, bool cast)
{
    float phase = frame * kPi / 2;
    switch (u.body)
    {
    case Body::Humanoid:
    case Body::Skeleton:
        Humanoid(p, u, h, phase, cast);
        break;
    case Body::Beast:
        Beast(p, u, h, phase);
        break;
    case Body::Toad:
        Toad(p, u, h, phase);
        break;
    case Body::Flame:
        Flame(p, u, h, frame);
        break;
    case Body::Ghost:
        Ghost(p, u, h, frame);
        break;
    case Body::Golem:
        Golem(p, u, h, phase);
        break;
    case Body::Beetle:
        Beetle(p, u, h, frame);
        break;
    case Body::Flier:
    case Body::Dragon:
        Flier(p, u, h, frame);
        break;
    }
}

bool Flies(const UnitKind& u)
{
    return u.body == Body::Flier || u.body == Body::Dragon;
}

} // namespace

Rgba Shade(std::uint32_t rgb, float factor, std::uint8_t alpha)
{
    Rgba c = RgbaOf(rgb, alpha);
    auto f = [factor](std::uint8_t v)
    { return static_cast<std::uint8_t>(std::clamp(v * factor, 0.0f, 255.0f)); };
    return Rgba{f(c.r), f(c.g), f(c.b), alpha};
}

UnitFrameSize UnitFrameSizeOf(const UnitKind& u)
{
    if (Flies(u))
    {
        int w = static_cast<int>(std::ceil(84 * u.size)), hgt = static_cast<int>(std::ceil(80 * u.size));
        return {w, hgt, w / 2, hgt - 4};
    }
    int w = static_cast<int>(std::ceil(80 * u.size)), hgt = static_cast<int>(std::ceil(76 * u.size));
    return {w, hgt, w / 2, hgt - 6};
}

Canvas DrawUnit(const UnitKind& u, int pose, int frame)
{
    UnitFrameSize s = UnitFrameSizeOf(u);
    Canvas c(s.width, s.height);
    float h = (Flies(u) ? 58.0f : 44.0f) * u.size;
    Pen p{c, static_cast<float>(s.anchorX), static_cast<float>(s.anchorY)};
    if (pose == 0)
    {
        p.Ellipse(0, 0, 0.3f * h, 0.07f * h, 0, RgbaOf(0x000000, Flies(u) ? 0 : 70));
        DrawBody(p, u, h, frame, false);
    }
    else if (pose == 1)
    {
        // Death: the drawing tips over and fades; fliers and spirits shrink instead.
        float t = (frame + 1) / static_cast<float>(kDeathFrames);
        if (Flies(u) || u.body == Body::Ghost || u.body == Body::Flame)
        {
            p.scale = 1 - 0.5f * t;
            p.alpha = 1 - 0.7f * t;
            DrawBody(p, u, h, 0, false);
        }
        else
        {
            p.rot = -t * kPi * 0.45f;
            p.alpha = 1 - 0.55f * t;
            DrawBody(p, u, h, 0, false);
        }
        Pen puff{c, p.ox, p.oy};
        puff.alpha = 1 - t * 0.8f;
        for (int k = 0; k < 3; ++k)
            puff.Circle((k - 1) * 0.2f * h, -0.05f * h * (k % 2), 0.08f * h * (1 + t), RgbaOf(0xD5D8DC, 150));
    }
    else
    {
        // Special: a glowing ring for the unit's ability; a raised skeleton climbs out of the ground.
        Rgba ring = AbilityColour(u);
        float t = (frame + 1) / static_cast<float>(kSpecialFrames);
        if (u.id == 39)
        {
            Canvas body(s.width, s.height);
            Pen q{body, p.ox, p.oy + (1 - t) * h * 0.8f};
            DrawBody(q, u, h, 0, true);
            for (int y = s.anchorY + 1; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x)
                    body.At(x, y) = Rgba{0, 0, 0, 0};
            c.Draw(body, 0, 0);
            p.Ellipse(0, 0, 0.32f * h, 0.08f * h, 0, RgbaOf(0x5D4037));
        }
        else
        {
            Rgba glow = ring;
            glow.a = 110;
            p.Ellipse(0, 0, (0.3f + 0.2f * t) * h, (0.08f + 0.05f * t) * h, 0, glow);
            DrawBody(p, u, h, 0, true);
            for (int k = 0; k < 4; ++k)
            {
                float a = k * kPi / 2 + t;
                p.Circle(std::cos(a) * 0.4f * h * t, -0.6f * h - std::sin(a) * 0.3f * h * t, 0.05f * h, ring);
            }
        }
    }
    return c;
}

// Towers
// ------------------------------------------------------------------------------------------------------

namespace
{

struct TowerLook
{
    std::uint32_t stone, roof, trim;
};

TowerLook LookOf(const TowerKind& t)
{
    // Cannons: iron, then bronze and gold with each star, so an upgraded cannon is told from a plain one.
    static const std::uint32_t kRoofs[4][5] = {{0xA04000, 0x2E86C1, 0x7D3C98, 0x229954, 0xD4AC0D},
                                               {0x707B7C, 0xB9770E, 0xF1C40F, 0x5DADE2, 0x424949},
                                               {0x6E2C00, 0x873600, 0xA04000, 0xCB4335, 0x7E5109},
                                               {0x7D3C98, 0x2874A6, 0x148F77, 0x6C3483, 0xB7950B}};
    static const std::uint32_t kStone[4] = {0xA1887F, 0x95A5A6, 0x7B6D5B, 0xD5D8DC};
    int f = static_cast<int>(t.family);
    return {kStone[f], kRoofs[f][t.variant], t.variant == 2 ? 0xF1C40Fu : 0xECF0F1u};
}

void Platform(const Pen& p, std::uint32_t stone, float w)
{
    p.Ellipse(0, 0, w * 0.62f, w * 0.26f, 0, RgbaOf(0x000000, 60));
    p.Ellipse(0, -4, w * 0.55f, w * 0.22f, 0, Shade(stone, 0.7f));
    p.Ellipse(0, -8, w * 0.52f, w * 0.2f, 0, RgbaOf(stone));
}

void DartTower(const Pen& p, const TowerKind& t, int pose, int frame)
{
    TowerLook l = LookOf(t);
    float sway = std::sin(frame * kPi / 2) * 4;
    Platform(p, l.stone, 70);
    p.Poly({{-22, -8}, {22, -8}, {17, -62}, {-17, -62}}, RgbaOf(l.stone));
    p.Poly({{-22, -8}, {-6, -8}, {-5, -62}, {-17, -62}}, Shade(l.stone, 0.8f));
    for (int k = 0; k < 3; ++k)
        p.Line(-17, -20.0f - k * 15, 17, -20.0f - k * 15, 1.5f, Shade(l.stone, 0.6f));
    p.Ellipse(0, -30, 5, 8, 0, RgbaOf(0x1B2631));
    p.Poly({{-26, -62}, {26, -62}, {24, -70}, {-24, -70}}, RgbaOf(0x6E4B2A));
    // Roof, different per upgrade.
    if (t.variant == 4)
    {
        // War beacon: a brazier with a banner and a golden glow.
        p.Ellipse(0, -74, 20, 6, 0, RgbaOf(0x7E5109));
        p.Circle(0, -84 - (frame % 2) * 2, 10 + (pose ? frame : 0), RgbaOf(0xF5B041, 220));
        p.Circle(0, -86, 5, RgbaOf(0xFEF9E7));
        p.Line(18, -70, 18, -110, 3, RgbaOf(0x4A235A));
        p.Poly({{18, -110}, {40 + sway, -104}, {18, -96}}, RgbaOf(l.roof));
    }
    else
    {
        p.Poly({{-28, -68}, {28, -68}, {0, -108}}, RgbaOf(l.roof));
        p.Poly({{-28, -68}, {-4, -68}, {0, -108}}, Shade(l.roof, 0.8f));
        p.Line(0, -108, 0, -120, 2, RgbaOf(0x4D5656));
        p.Poly({{0, -120}, {14 + sway, -116}, {0, -112}}, RgbaOf(l.trim));
        if (t.variant == 3)
            for (int k = 0; k < 3; ++k)
                p.Circle(-14.0f + k * 14, -74 - ((frame + k) % 2) * 3, 4, RgbaOf(0x58D68D));
        if (t.variant == 2)
            p.Line(-28, -68, 28, -68, 3, RgbaOf(0xF1C40F));
    }
    // Firing: the crossbow on the balcony snaps and flashes.
    float bow = pose ? -6.0f + frame * 3 : 0;
    p.Line(-14, -66 + bow * 0.3f, 14, -66 - bow * 0.3f, 3, RgbaOf(0x4E342E));
    if (pose && frame < 2)
        p.Circle(16, -67, 6 - frame * 2, RgbaOf(0xFFF3B0, 220));
}

void Mortar(const Pen& p, const TowerKind& t, int pose, int frame)
{
    TowerLook l = LookOf(t);
    bool big = t.variant == 4;
    Platform(p, l.stone, big ? 84 : 74);
    p.Poly({{-30, -8}, {30, -8}, {26, -26}, {-26, -26}}, RgbaOf(0x6D4C41));
    for (int k = 0; k < 3; ++k)
        p.Line(-26, -12.0f - k * 5, 26, -12.0f - k * 5, 1, RgbaOf(0x4E342E));
    float kick = pose ? (frame == 0 ? 5.0f : frame == 1 ? 3.0f : 1.0f) : 0;
    float len = big ? 44 : 34, width = big ? 26 : 20;
    p.Line(-4, -30 + kick, 10, -30 - len + kick, width, RgbaOf(l.roof));
    p.Line(-4, -30 + kick, 10, -30 - len + kick, width - 8, Shade(l.roof, 1.25f));
    p.Ellipse(10, -30 - len + kick, width * 0.5f, 5, 0.2f, RgbaOf(0x17202A));
    p.Ellipse(-4, -28 + kick, 10, 8, 0, RgbaOf(l.trim == 0xF1C40F ? 0xF1C40F : 0x5D6D7E));
    if (t.variant == 3 || pose == 0)
    {
        // Embers glow in the mouth; the inferno mortar always burns.
        p.Circle(10, -30 - len + kick, 4 + (frame % 2), RgbaOf(0xF39C12, 200));
    }
    if (pose && frame < 3)
    {
        p.Circle(12, -38 - len, 14 - frame * 4, RgbaOf(0xF5B041, 230));
        p.Circle(12, -38 - len, 7 - frame * 2, RgbaOf(0xFFF8DC));
    }
    if (pose == 0)
        p.Circle(14 + frame * 2, -46 - len - frame * 6, 4 + frame, RgbaOf(0xBDC3C7, 120 - frame * 25));
}

void Crystal(const Pen& p, const TowerKind& t, int pose, int frame)
{
    TowerLook l = LookOf(t);
    Platform(p, l.stone, 68);
    if (t.variant == 3)
    {
        // Portal: a stone arch with a swirling opening.
        p.Line(-22, -8, -22, -70, 12, RgbaOf(l.stone));
        p.Line(22, -8, 22, -70, 12, RgbaOf(l.stone));
        p.Ellipse(0, -70, 28, 18, 0, RgbaOf(l.stone));
        p.Ellipse(0, -44, 16, 30, 0, RgbaOf(l.roof));
        for (int k = 0; k < 3; ++k)
            p.Ellipse(0, -44, 12.0f - k * 4, 24.0f - k * 7, frame * 0.4f + k, Shade(l.roof, 1.3f + k * 0.2f));
        if (pose)
            p.Circle(0, -44, 10 + frame * 3, RgbaOf(0xE8DAEF, 160));
        return;
    }
    if (t.variant == 4)
    {
        // Treasury: a small vault with a gold heap.
        p.Poly({{-26, -8}, {26, -8}, {26, -46}, {-26, -46}}, RgbaOf(0xD7CCC8));
        p.Poly({{-30, -46}, {30, -46}, {0, -72}}, RgbaOf(l.roof));
        p.Poly({{-8, -8}, {8, -8}, {8, -30}, {-8, -30}}, RgbaOf(0x5D4037));
        for (int k = 0; k < 5; ++k)
            p.Circle(-24.0f + k * 5, -10.0f - (k % 2) * 4, 5, RgbaOf(0xF4D03F));
        if (pose)
            for (int k = 0; k < 3; ++k)
                p.Circle(-10.0f + k * 10, -78.0f - frame * 8 - k * 4, 5, RgbaOf(0xF7DC6F));
        return;
    }
    float bobY = std::sin(frame * kPi / 2) * 3;
    p.Poly({{-14, -8}, {14, -8}, {10, -58}, {-10, -58}}, RgbaOf(l.stone));
    p.Poly({{-14, -8}, {-3, -8}, {-2, -58}, {-10, -58}}, Shade(l.stone, 0.8f));
    p.Ellipse(0, -60, 16, 5, 0, Shade(l.stone, 0.9f));
    float cy = -86 + bobY;
    if (pose)
        p.Circle(0, cy, 16 + frame * 3, RgbaOf(0xD6EAF8, 150 - frame * 30));
    p.Poly({{0, cy - 22}, {11, cy}, {0, cy + 18}, {-11, cy}}, RgbaOf(l.roof));
    p.Poly({{0, cy - 22}, {0, cy + 18}, {-11, cy}}, Shade(l.roof, 1.35f));
    p.Circle(-3, cy - 6, 3, RgbaOf(0xFFFFFF, 220));
}

} // namespace

TowerFrameSize TowerFrameSizeOf(const TowerKind& t)
{
    if (HasFlag(t.flags, "rotating"))
        return {84, 92, 42, 72, 42, 40};
    if (t.family == Family::Artillery)
        return {100, 116, 50, 98, 60, 40};
    if (t.family == Family::Support && t.variant == 3)
        return {96, 120, 48, 102, 48, 58}; // the beam leaves the portal's opening
    return {96, 140, 48, 122, 48, 48};
}

Canvas DrawTower(const TowerKind& t, int pose, int frame)
{
    TowerFrameSize s = TowerFrameSizeOf(t);
    Canvas c(s.width, s.height);
    Pen p{c, static_cast<float>(s.baseX), static_cast<float>(s.baseY)};
    switch (t.family)
    {
    case Family::Dart:
        DartTower(p, t, pose, frame);
        break;
    case Family::Artillery:
        Mortar(p, t, pose, frame);
        break;
    case Family::Support:
        Crystal(p, t, pose, frame);
        break;
    case Family::Cannon:
        break;
    }
    return c;
}

Canvas DrawTurret(const TowerKind& t, float direction, int frame, PointF* muzzle)
{
    TowerFrameSize s = TowerFrameSizeOf(t);
    Canvas c(s.width, s.height);
    TowerLook l = LookOf(t);
    Pen p{c, static_cast<float>(s.baseX), static_cast<float>(s.baseY)};
    Platform(p, l.stone, 72);
    p.Poly({{-26, -8}, {26, -8}, {22, -24}, {-22, -24}}, RgbaOf(l.stone));
    p.Ellipse(0, -24, 22, 9, 0, Shade(l.stone, 1.1f));
    // Seen from above at a slant: a barrel pointing down the screen looks shorter.
    float a = direction * kPi / 180;
    float dx = std::sin(a), dy = std::cos(a) * 0.6f;
    float kick = frame == 1 ? 6.0f : frame == 2 ? 3.0f : 0.0f;
    float cx = 0, cy = -32;
    float len = (t.variant == 4 ? 34.0f : 30.0f) - kick;
    float w = t.variant == 4 ? 15.0f : 12.0f;
    bool behind = dy < 0; // pointing up the screen: the barrel is behind the dome
    auto barrel = [&]()
    {
        p.Line(cx, cy, cx + dx * len, cy + dy * len, w, RgbaOf(l.roof));
        p.Line(cx, cy, cx + dx * len, cy + dy * len, w * 0.45f, Shade(l.roof, 1.3f));
        p.Ellipse(cx + dx * len, cy + dy * len, w * 0.55f, w * 0.55f, 0, Shade(l.roof, 0.6f));
    };
    if (behind)
        barrel();
    p.Circle(cx, cy, 15, RgbaOf(l.roof));
    p.Circle(cx - 4, cy - 5, 6, Shade(l.roof, 1.35f));
    // One gold band round the dome per star.
    if (t.variant == 1 || t.variant == 2)
        for (int k = 0; k < t.variant; ++k)
            p.Ring(cx, cy, 15.0f - k * 5, 2.5f, RgbaOf(0xFCF3CF));
    if (t.variant == 3)
        p.Circle(cx, cy, 5, RgbaOf(0xEBF5FB));
    if (t.variant == 4)
        p.Ring(cx, cy, 9, 3, RgbaOf(0x2C3E50));
    if (!behind)
        barrel();
    PointF m = p.Map(cx + dx * (len + 6), cy + dy * (len + 6));
    if (frame == 1 || frame == 2)
    {
        c.FillEllipse(m.x, m.y, 9.0f - frame * 3, 9.0f - frame * 3, 0, RgbaOf(0xF5B041, 230));
        c.FillEllipse(m.x, m.y, 4, 4, 0, RgbaOf(0xFFF8DC));
    }
    if (muzzle)
        *muzzle = m;
    return c;
}

} // namespace demodata::game
