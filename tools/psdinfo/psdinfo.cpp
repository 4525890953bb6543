// psdinfo FILE [--merged OUT]: prints one line of JSON describing a layered document and,
// with --merged, writes the merged image as raw 8-bit R,G,B,A rows, top-down.
// Exits 0 whenever a status was printed; a refusal is an answer, not a failure.

#include "Core/Psd/Psd.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80)
        out += char(cp);
    else if (cp < 0x800)
    {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
    else
    {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The Unicode name when the layer has one (big-endian UTF-16), else the stored name as Latin-1.
std::string layerName(const psdr_layer& layer)
{
    std::string out;
    if (layer.unicode_name && layer.unicode_name_length > 0)
    {
        const uint8_t* b = reinterpret_cast<const uint8_t*>(layer.unicode_name);
        for (int32_t i = 0; i < layer.unicode_name_length; ++i)
        {
            uint32_t u = uint32_t(b[2 * i]) << 8 | b[2 * i + 1];
            if (u == 0)
                break;
            if (u >= 0xD800 && u < 0xDC00 && i + 1 < layer.unicode_name_length)
            {
                uint32_t lo = uint32_t(b[2 * i + 2]) << 8 | b[2 * i + 3];
                if (lo >= 0xDC00 && lo < 0xE000)
                {
                    appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                    ++i;
                    continue;
                }
            }
            if (u >= 0xD800 && u < 0xE000)
                u = 0xFFFD;
            appendUtf8(out, u);
        }
        return out;
    }
    for (const char* p = layer.name; *p; ++p)
        appendUtf8(out, uint8_t(*p));
    return out;
}

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s)
    {
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += char(c);
        }
        else if (c < 0x20)
        {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
        else
            out += char(c);
    }
    return out + "\"";
}

} // namespace

std::string psdinfoLayerExtras(const psdr_layer& layer);

int main(int argc, char** argv)
{
    const char* path = nullptr;
    const char* merged = nullptr;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--merged") == 0 && i + 1 < argc)
            merged = argv[++i];
        else if (!path)
            path = argv[i];
    }
    if (!path)
    {
        std::fprintf(stderr, "usage: psdinfo FILE [--merged OUT]\n");
        return 2;
    }
    psdr_document* doc = nullptr;
    psdr_status status = psdr_load(&doc, path);
    std::string line = "{\"status\":" + std::to_string(status);
    if (status == PSDR_OK && doc)
    {
        line += ",\"width\":" + std::to_string(doc->width) + ",\"height\":" + std::to_string(doc->height) +
                ",\"mode\":" + std::to_string(doc->colour_mode) + ",\"depth\":" + std::to_string(doc->depth) +
                ",\"layers\":[";
        for (int i = 0; i < doc->layer_count; ++i)
        {
            const psdr_layer& l = doc->layers[i];
            if (i)
                line += ",";
            line += "{\"name\":" + jsonString(layerName(l)) + ",\"type\":" + std::to_string(l.type) +
                    ",\"left\":" + std::to_string(l.left) + ",\"top\":" + std::to_string(l.top) +
                    ",\"width\":" + std::to_string(l.width) + ",\"height\":" + std::to_string(l.height) +
                    ",\"opacity\":" + std::to_string(l.opacity) + psdinfoLayerExtras(l) + "}";
        }
        line += "]";
    }
    line += "}";
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    if (merged && doc)
    {
        // A document without layer records moved nothing out of the merged image for tag 0.
        const uint32_t* src = doc->merged_image;
        std::FILE* f = std::fopen(merged, "wb");
        if (f && src)
        {
            size_t n = size_t(doc->width) * size_t(doc->height);
            std::string rgba(n * 4, '\0');
            for (size_t i = 0; i < n; ++i)
            {
                rgba[4 * i] = char(src[i] >> 16);
                rgba[4 * i + 1] = char(src[i] >> 8);
                rgba[4 * i + 2] = char(src[i]);
                rgba[4 * i + 3] = char(src[i] >> 24);
            }
            std::fwrite(rgba.data(), 1, rgba.size(), f);
        }
        if (f)
            std::fclose(f);
    }
    psdr_free(doc);
    return 0;
}
