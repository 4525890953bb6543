#include "tools/demodata/PsdWriter.h"

#include <algorithm>

namespace demodata
{
namespace
{

// One row in PackBits: runs of 2 to 128 equal bytes, literals of up to 128 bytes.
Bytes PackBitsRow(const std::uint8_t* data, int count)
{
    Bytes out;
    int i = 0;
    while (i < count)
    {
        int run = 1;
        while (i + run < count && run < 128 && data[i + run] == data[i])
            ++run;
        if (run >= 2)
        {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(data[i]);
            i += run;
            continue;
        }
        // Literal stretch until the next run of two or more equal bytes.
        int start = i, n = 0;
        while (i < count && n < 128)
        {
            if (i + 1 < count && data[i] == data[i + 1])
                break;
            ++i;
            ++n;
        }
        out.push_back(static_cast<std::uint8_t>(n - 1));
        out.insert(out.end(), data + start, data + start + n);
    }
    return out;
}

// Channel data of one plane: compression 1, the row byte counts, then the rows.
Bytes EncodePlane(const std::vector<std::uint8_t>& plane, int width, int height)
{
    ByteWriter w;
    w.BE16(1);
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y)
        rows.push_back(PackBitsRow(plane.data() + static_cast<std::size_t>(y) * width, width));
    for (const Bytes& r : rows)
        w.BE16(static_cast<std::uint16_t>(r.size()));
    for (const Bytes& r : rows)
        w.Raw(r.data(), r.size());
    return w.Take();
}

std::vector<std::uint8_t> Plane(const Canvas& c, int channel)
{
    std::vector<std::uint8_t> p;
    p.reserve(c.Pixels().size());
    for (const Rgba& px : c.Pixels())
        p.push_back(channel == 0 ? px.r : channel == 1 ? px.g : channel == 2 ? px.b : px.a);
    return p;
}

} // namespace

void PsdDocument::AddLayer(const std::string& name, int left, int top, const Canvas& pixels,
                           std::uint8_t opacity)
{
    mLayers.push_back(Layer{name, Kind::Pixels, left, top, pixels, opacity});
}

void PsdDocument::OpenGroup()
{
    mLayers.push_back(Layer{"</Layer group>", Kind::GroupEnd, 0, 0, Canvas(), 255});
}

void PsdDocument::CloseGroup(const std::string& name)
{
    mLayers.push_back(Layer{name, Kind::GroupStart, 0, 0, Canvas(), 255});
}

std::vector<PsdDocument::NamedLayer> PsdDocument::NamedLayers() const
{
    std::vector<NamedLayer> out;
    std::vector<std::string> groups;
    for (std::size_t i = mLayers.size(); i-- > 1;)
    {
        const Layer& l = mLayers[i];
        if (l.kind == Kind::GroupStart)
        {
            groups.push_back(l.name);
        }
        else if (l.kind == Kind::GroupEnd)
        {
            if (!groups.empty())
                groups.pop_back();
        }
        else
        {
            std::string prefix;
            for (const std::string& g : groups)
                prefix += g + "/";
            out.push_back({prefix + l.name, l.left, l.top, &l.pixels, l.opacity});
        }
    }
    return out;
}

Bytes PsdDocument::Encode() const
{
    ByteWriter w;
    w.Text("8BPS");
    w.BE16(1);
    w.Raw("\0\0\0\0\0\0", 6);
    w.BE16(3);
    w.BE32(static_cast<std::uint32_t>(mHeight));
    w.BE32(static_cast<std::uint32_t>(mWidth));
    w.BE16(8);
    w.BE16(3); // RGB
    w.BE32(0); // colour mode data
    w.BE32(0); // image resources

    std::size_t layerMaskAt = w.Size();
    w.BE32(0);
    std::size_t layerInfoAt = w.Size();
    w.BE32(0);
    w.BE16(static_cast<std::uint16_t>(mLayers.size()));

    static const std::int16_t kChannelIds[4] = {-1, 0, 1, 2};
    std::vector<std::vector<Bytes>> channelData;
    for (const Layer& layer : mLayers)
    {
        std::vector<Bytes> channels;
        for (std::int16_t id : kChannelIds)
        {
            if (layer.kind == Kind::Pixels)
            {
                channels.push_back(EncodePlane(Plane(layer.pixels, id < 0 ? 3 : id), layer.pixels.Width(),
                                               layer.pixels.Height()));
            }
            else
            {
                channels.push_back(Bytes{0, 0}); // raw, empty
            }
        }
        int w0 = layer.pixels.Width(), h0 = layer.pixels.Height();
        w.BE32(static_cast<std::uint32_t>(layer.top));
        w.BE32(static_cast<std::uint32_t>(layer.left));
        w.BE32(static_cast<std::uint32_t>(layer.top + h0));
        w.BE32(static_cast<std::uint32_t>(layer.left + w0));
        w.BE16(4);
        for (int c = 0; c < 4; ++c)
        {
            w.BE16(static_cast<std::uint16_t>(kChannelIds[c]));
            w.BE32(static_cast<std::uint32_t>(channels[c].size()));
        }
        w.Text("8BIM");
        w.Text("norm");
        w.U8(layer.opacity);
        w.U8(0);    // base clipping
        w.U8(0x08); // flags: bit 3 marks a modern writer
        w.U8(0);
        std::size_t extraAt = w.Size();
        w.BE32(0);
        w.BE32(0); // no layer mask
        w.BE32(0); // no blending ranges
        std::string name = layer.name.substr(0, 255);
        w.U8(static_cast<std::uint8_t>(name.size()));
        w.Text(name);
        for (std::size_t n = name.size() + 1; n % 4; ++n)
            w.U8(0);
        // Unicode name (the layer names here are ASCII).
        w.Text("8BIMluni");
        w.BE32(static_cast<std::uint32_t>(4 + 2 * name.size() + (name.size() % 2 ? 2 : 0)));
        w.BE32(static_cast<std::uint32_t>(name.size()));
        for (unsigned char ch : name)
            w.BE16(ch);
        if (name.size() % 2)
            w.BE16(0);
        if (layer.kind != Kind::Pixels)
        {
            w.Text("8BIMlsct");
            w.BE32(4);
            w.BE32(layer.kind == Kind::GroupStart ? 1 : 3);
        }
        w.PatchBE32(extraAt, static_cast<std::uint32_t>(w.Size() - extraAt - 4));
        channelData.push_back(std::move(channels));
    }
    for (const auto& channels : channelData)
        for (const Bytes& c : channels)
            w.Raw(c.data(), c.size());
    if ((w.Size() - layerInfoAt - 4) % 2)
        w.U8(0);
    w.PatchBE32(layerInfoAt, static_cast<std::uint32_t>(w.Size() - layerInfoAt - 4));
    w.BE32(0); // global layer mask info
    w.PatchBE32(layerMaskAt, static_cast<std::uint32_t>(w.Size() - layerMaskAt - 4));

    // Merged image: the visible layers blended over white.
    Canvas merged(mWidth, mHeight, Rgba{255, 255, 255, 255});
    for (const Layer& layer : mLayers)
    {
        if (layer.kind != Kind::Pixels)
            continue;
        for (int y = 0; y < layer.pixels.Height(); ++y)
            for (int x = 0; x < layer.pixels.Width(); ++x)
            {
                Rgba p = layer.pixels.At(x, y);
                p.a = static_cast<std::uint8_t>(p.a * layer.opacity / 255);
                merged.Blend(layer.left + x, layer.top + y, p);
            }
    }
    w.BE16(1);
    std::vector<Bytes> rows;
    for (int c = 0; c < 3; ++c)
    {
        std::vector<std::uint8_t> plane = Plane(merged, c);
        for (int y = 0; y < mHeight; ++y)
            rows.push_back(PackBitsRow(plane.data() + static_cast<std::size_t>(y) * mWidth, mWidth));
    }
    for (const Bytes& r : rows)
        w.BE16(static_cast<std::uint16_t>(r.size()));
    for (const Bytes& r : rows)
        w.Raw(r.data(), r.size());
    return w.Take();
}

} // namespace demodata
