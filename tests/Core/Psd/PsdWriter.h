#pragma once
// A small layered-document writer for fixtures the corpus lacks, and a loader over memory.

#include "Core/Psd/Psd.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

namespace psdtest
{

struct Bytes
{
    std::vector<uint8_t> d;
    Bytes& u8(uint32_t v)
    {
        d.push_back(uint8_t(v));
        return *this;
    }
    Bytes& u16(uint32_t v) { return u8(v >> 8).u8(v); }
    Bytes& u32(uint32_t v) { return u16(v >> 16).u16(v); }
    Bytes& f64(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return u32(uint32_t(bits >> 32)).u32(uint32_t(bits));
    }
    Bytes& key(const char* k)
    {
        for (int i = 0; i < 4; ++i)
            u8(uint8_t(k[i]));
        return *this;
    }
    Bytes& raw(const std::vector<uint8_t>& v)
    {
        d.insert(d.end(), v.begin(), v.end());
        return *this;
    }
    Bytes& raw(const Bytes& b) { return raw(b.d); }
    Bytes& zeros(size_t n)
    {
        d.insert(d.end(), n, 0);
        return *this;
    }
    // A length-prefixed block: 32-bit length then the bytes.
    Bytes& block(const Bytes& b)
    {
        u32(uint32_t(b.d.size()));
        return raw(b);
    }
    size_t size() const { return d.size(); }
};

inline std::vector<uint8_t> packBitsRow(const uint8_t* p, size_t n)
{
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < n)
    {
        size_t run = 1;
        while (i + run < n && run < 128 && p[i + run] == p[i])
            ++run;
        if (run >= 3)
        {
            out.push_back(uint8_t(257 - run));
            out.push_back(p[i]);
            i += run;
            continue;
        }
        size_t start = i, len = 0;
        while (i < n && len < 128)
        {
            if (i + 2 < n && p[i] == p[i + 1] && p[i] == p[i + 2])
                break;
            ++i;
            ++len;
        }
        out.push_back(uint8_t(len - 1));
        out.insert(out.end(), p + start, p + start + len);
    }
    return out;
}

inline std::vector<uint8_t> deflate(const std::vector<uint8_t>& in)
{
    uLongf size = compressBound(uLong(in.size()));
    std::vector<uint8_t> out(size);
    compress(out.data(), &size, in.data(), uLong(in.size()));
    out.resize(size);
    return out;
}

// Horizontal differencing of rows of `width` samples (1 or 2 bytes each).
inline std::vector<uint8_t> predict(std::vector<uint8_t> p, size_t width, int depth)
{
    if (depth == 16)
    {
        for (size_t at = 0; at + width * 2 <= p.size(); at += width * 2)
            for (size_t i = width - 1; i >= 1; --i)
            {
                uint16_t cur = uint16_t(p[at + 2 * i] << 8 | p[at + 2 * i + 1]);
                uint16_t prev = uint16_t(p[at + 2 * i - 2] << 8 | p[at + 2 * i - 1]);
                uint16_t v = uint16_t(cur - prev);
                p[at + 2 * i] = uint8_t(v >> 8);
                p[at + 2 * i + 1] = uint8_t(v);
            }
    }
    else
    {
        for (size_t at = 0; at + width <= p.size(); at += width)
            for (size_t i = width - 1; i >= 1; --i)
                p[at + i] = uint8_t(p[at + i] - p[at + i - 1]);
    }
    return p;
}

// Encoded channel data (without the compression word) of planes of `rows` rows.
// PackBits puts every row count of all planes first, as the merged image does.
inline std::vector<uint8_t> encodePlanes(int method, const std::vector<std::vector<uint8_t>>& planes,
                                         size_t rows, size_t rowBytes, size_t samples, int depth)
{
    std::vector<uint8_t> all;
    for (const auto& p : planes)
        all.insert(all.end(), p.begin(), p.end());
    if (method == 0)
        return all;
    if (method == 2)
        return deflate(all);
    if (method == 3)
    {
        std::vector<uint8_t> pred;
        for (const auto& p : planes)
        {
            auto q = predict(p, samples, depth);
            pred.insert(pred.end(), q.begin(), q.end());
        }
        return deflate(pred);
    }
    Bytes table, data;
    for (const auto& p : planes)
        for (size_t r = 0; r < rows; ++r)
        {
            auto row = packBitsRow(p.data() + r * rowBytes, rowBytes);
            table.u16(uint32_t(row.size()));
            data.raw(row);
        }
    return table.raw(data).d;
}

struct Channel
{
    Channel() = default;
    Channel(int16_t i, std::vector<uint8_t> p, int m = 0) : id(i), plane(std::move(p)), method(m) {}
    int16_t id = 0;
    std::vector<uint8_t> plane; // decoded plane
    int method = 0;
    std::vector<uint8_t> override; // when set, written as the channel data instead
    bool overrideSet = false;
};

struct Layer
{
    int32_t top = 0, left = 0, bottom = 0, right = 0;
    std::string name = "L";
    std::vector<Channel> channels;
    uint8_t opacity = 255, flags = 0;
    Bytes mask;     // whole mask record after its length (empty: length 0)
    Bytes blending; // whole blending-range record after its length (empty: length 0)
    std::vector<std::pair<std::string, Bytes>> blocks; // additional information
    int32_t maskWidth = 0, maskHeight = 0;             // for the -2 channel's encoding
};

struct Document
{
    int32_t width = 4, height = 4;
    uint16_t channels = 3, depth = 8, mode = 3;
    Bytes colourModeData;
    std::vector<std::pair<uint16_t, Bytes>> resources;
    bool layerSection = true;
    std::vector<Layer> layers;
    bool negateCount = false;
    std::vector<std::pair<std::string, Bytes>> globalBlocks;
    int mergedMethod = 0;
    std::vector<std::vector<uint8_t>> merged; // planes; zero planes when empty
};

inline size_t rowBytesFor(int depth, int width)
{
    return depth == 1 ? size_t(width + 7) / 8 : size_t(width) * (depth == 16 ? 2 : 1);
}

inline std::vector<uint8_t> write(const Document& doc)
{
    Bytes out;
    out.key("8BPS").u16(1).zeros(6).u16(doc.channels).u32(uint32_t(doc.height)).u32(uint32_t(doc.width));
    out.u16(doc.depth).u16(doc.mode);
    out.block(doc.colourModeData);
    Bytes res;
    for (const auto& [id, data] : doc.resources)
    {
        res.key("8BIM").u16(id).u16(0).u32(uint32_t(data.size())).raw(data);
        if (data.size() & 1)
            res.u8(0);
    }
    out.block(res);
    Bytes section;
    if (doc.layerSection)
    {
        Bytes info;
        int16_t count = int16_t(doc.layers.size());
        info.u16(uint16_t(doc.negateCount ? -count : count));
        Bytes images;
        for (const Layer& l : doc.layers)
        {
            info.u32(uint32_t(l.top)).u32(uint32_t(l.left)).u32(uint32_t(l.bottom)).u32(uint32_t(l.right));
            info.u16(uint16_t(l.channels.size()));
            std::vector<Bytes> datas;
            for (const Channel& c : l.channels)
            {
                Bytes cd;
                cd.u16(uint16_t(c.method));
                if (c.overrideSet)
                    cd.raw(c.override);
                else
                {
                    bool mask = c.id == -2;
                    int w = mask ? l.maskWidth : l.right - l.left;
                    int h = mask ? l.maskHeight : l.bottom - l.top;
                    cd.raw(encodePlanes(c.method, {c.plane}, size_t(h), rowBytesFor(doc.depth, w), size_t(w),
                                        doc.depth));
                }
                info.u16(uint16_t(c.id)).u32(uint32_t(cd.size()));
                datas.push_back(cd);
            }
            info.key("8BIM").key("norm").u8(l.opacity).u8(0).u8(l.flags).u8(0);
            Bytes extra;
            extra.block(l.mask).block(l.blending);
            Bytes name;
            name.u8(uint32_t(l.name.size()));
            for (char ch : l.name)
                name.u8(uint8_t(ch));
            while (name.size() % 4)
                name.u8(0);
            extra.raw(name);
            for (const auto& [k, b] : l.blocks)
            {
                extra.key("8BIM").key(k.c_str()).u32(uint32_t(b.size())).raw(b);
                if (b.size() & 1)
                    extra.u8(0);
            }
            info.block(extra);
            for (const Bytes& cd : datas)
                images.raw(cd);
        }
        info.raw(images);
        if (info.size() & 1)
            info.u8(0);
        section.block(info);
        section.u32(0); // global mask
        for (const auto& [k, b] : doc.globalBlocks)
            section.key("8BIM").key(k.c_str()).u32(uint32_t(b.size())).raw(b);
    }
    out.block(section);
    std::vector<std::vector<uint8_t>> planes = doc.merged;
    const size_t rb = rowBytesFor(doc.depth, doc.width);
    if (planes.empty())
        planes.assign(doc.channels, std::vector<uint8_t>(rb * size_t(doc.height), 0));
    out.u16(uint16_t(doc.mergedMethod));
    out.raw(encodePlanes(doc.mergedMethod, planes, size_t(doc.height), rb, size_t(doc.width), doc.depth));
    return out.d;
}

// Loads a document from memory through a stdio memory stream.
inline psdr_status load(const std::vector<uint8_t>& bytes, psdr_document** out, int tag = 0)
{
    if (bytes.empty())
    {
        // fmemopen refuses a zero-sized buffer; an empty temporary file stands in.
        std::FILE* f = std::tmpfile();
        psdr_status s = psdr_load_stream(f, out, tag);
        std::fclose(f);
        return s;
    }
    std::FILE* f = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "rb");
    psdr_status s = psdr_load_stream(f, out, tag);
    std::fclose(f);
    return s;
}

// Owns a loaded document for the length of a test.
struct Loaded
{
    psdr_document* doc = nullptr;
    psdr_status status = 0;
    explicit Loaded(const std::vector<uint8_t>& bytes, int tag = 0) { status = load(bytes, &doc, tag); }
    ~Loaded() { psdr_free(doc); }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
};

} // namespace psdtest
