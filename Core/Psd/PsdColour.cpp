// Colour-space helpers and the plane-to-ARGB conversion shared by merged image, layers and patterns.

#include "Core/Psd/PsdInternal.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

static inline uint32_t clamp255(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    return (uint32_t)v;
}

uint32_t psdr_rgb_to_argb(int32_t r, int32_t g, int32_t b)
{
    return 0xFF000000u | ((uint32_t)r & 0xFF) << 16 | ((uint32_t)g & 0xFF) << 8 | ((uint32_t)b & 0xFF);
}

uint32_t psdr_cmyk_alpha_to_argb(int32_t a, int32_t c, int32_t m, int32_t y, int32_t k)
{
    uint32_t r = (uint32_t)(65535 - (255 - k) * c - 256 * k) >> 8;
    uint32_t g = (uint32_t)(65535 - (255 - k) * m - 256 * k) >> 8;
    uint32_t b = (uint32_t)(65535 - (255 - k) * y - 256 * k) >> 8;
    return ((uint32_t)a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

uint32_t psdr_cmyk_to_argb(int32_t c, int32_t m, int32_t y, int32_t k)
{
    return psdr_cmyk_alpha_to_argb(255, c, m, y, k);
}

uint32_t psdr_cmyk_fractions_to_argb(double c, double m, double y, double k)
{
    uint32_t r = clamp255((1.0 - (k + (1.0 - k) * c)) * 255.0);
    uint32_t g = clamp255((1.0 - (k + (1.0 - k) * m)) * 255.0);
    uint32_t b = clamp255((1.0 - (k + (1.0 - k) * y)) * 255.0);
    return 0xFF000000u | r << 16 | g << 8 | b;
}

static double hsb_channel(double m1, double m2, double hue)
{
    double h = fmod(hue, 360.0);
    if (isnan(h))
        h = 0.0;
    if (h < 0.0)
        h += 360.0;
    if (h < 60.0)
        return m1 + (m2 - m1) * h / 60.0;
    if (h < 180.0)
        return m2;
    if (h < 240.0)
        return m1 + (m2 - m1) * (240.0 - h) / 60.0;
    return m1;
}

uint32_t psdr_hsb_to_argb(int32_t alpha, double hue, double saturation, double brightness)
{
    uint32_t a = (uint32_t)alpha & 0xFF;
    if (saturation == 0.0)
    {
        uint32_t v = clamp255(brightness * 255.0);
        return a << 24 | v << 16 | v << 8 | v;
    }
    double m2 = brightness <= 0.5 ? brightness * (1.0 + saturation)
                                  : brightness + saturation - brightness * saturation;
    double m1 = 2.0 * brightness - m2;
    uint32_t r = clamp255(hsb_channel(m1, m2, hue + 120.0) * 255.0);
    uint32_t g = clamp255(hsb_channel(m1, m2, hue) * 255.0);
    uint32_t b = clamp255(hsb_channel(m1, m2, hue - 120.0) * 255.0);
    return a << 24 | r << 16 | g << 8 | b;
}

uint32_t psdr_xyz_to_argb(int32_t alpha, double X, double Y, double Z)
{
    double x = X / 100.0, y = Y / 100.0, z = Z / 100.0;
    double v[3] = {3.2406 * x - 1.5372 * y - 0.4986 * z, -0.9689 * x + 1.8758 * y + 0.0415 * z,
                   0.0557 * x - 0.2040 * y + 1.0570 * z};
    uint32_t c[3];
    for (int i = 0; i < 3; ++i)
    {
        double t = v[i] > 0.0031308 ? 1.055 * pow(v[i], 1.0 / 2.4) - 0.055 : 12.92 * v[i];
        c[i] = clamp255(t * 256.0);
    }
    return ((uint32_t)alpha & 0xFF) << 24 | c[0] << 16 | c[1] << 8 | c[2];
}

static double lab_f(double t)
{
    double cube = t * t * t;
    return cube > 0.008856 ? cube : (t - 16.0 / 116.0) / 7.787;
}

uint32_t psdr_lab_alpha_to_argb(int32_t alpha, double l, double a, double b)
{
    double fy = (l + 16.0) / 116.0;
    double fx = fy + a / 500.0;
    double fz = fy - b / 200.0;
    return psdr_xyz_to_argb(alpha, lab_f(fx) * 95.047, lab_f(fy) * 100.0, lab_f(fz) * 108.883);
}

uint32_t psdr_lab_to_argb(double l, double a, double b)
{
    return psdr_lab_alpha_to_argb(255, l, a, b);
}

uint32_t psdr_colour_to_argb(int32_t space, int32_t c0, int32_t c1, int32_t c2, int32_t c3,
                             psdr_status* status)
{
    if (status)
        *status = PSDR_OK;
    switch (space)
    {
    case 0:
        return psdr_rgb_to_argb(c0, c1, c2);
    case 1:
        return psdr_hsb_to_argb(255, c0, c1 / 100.0, c2 / 100.0);
    case 2:
        return psdr_cmyk_fractions_to_argb(c0 / 100.0, c1 / 100.0, c2 / 100.0, c3 / 100.0);
    case 7:
        return psdr_lab_alpha_to_argb(255, c0, c1, c2);
    default:
        if (status)
            *status = PSDR_ERR_COLOUR_SPACE;
        return 0x00FFFFFFu;
    }
}

uint32_t psdr_read_colour(psdr_document* doc)
{
    int32_t space = psdr_read_int16(doc);
    int32_t c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = psdr_read_int16(doc) >> 8; // high byte, sign kept as the components are stored
    if (space == 0)
        return psdr_rgb_to_argb(c[0], c[1], c[2]);
    if (space == 1 || space == 2 || space == 7)
    {
        // Components as unsigned 16-bit numbers after the shift.
        for (int i = 0; i < 4; ++i)
            c[i] = (uint16_t)c[i];
        return psdr_colour_to_argb(space, c[0], c[1], c[2], c[3], NULL);
    }
    return 0x00FFFFFFu;
}

// Conversion of decoded planes. Depth 16 samples contribute their high (first) byte.
void psdr_convert(uint32_t mode, const psdr_planes* p, uint32_t* out)
{
    const int64_t count = (int64_t)p->width * p->height;
    if (count <= 0)
        return;
    if (mode == PSDR_MODE_BITMAP)
    {
        if (p->depth != 1 || !p->colour[0])
            return;
        const int64_t row = (p->width + 7) / 8;
        for (int32_t y = 0; y < p->height; ++y)
        {
            const uint8_t* src = p->colour[0] + y * row;
            uint32_t* dst = out + (int64_t)y * p->width;
            for (int32_t x = 0; x < p->width; ++x)
                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 0xFF000000u : 0xFFFFFFFFu;
        }
        return;
    }
    if (p->depth != 8 && p->depth != 16)
        return;
    const int step = p->depth == 16 ? 2 : 1;
    int needed = 1;
    if (mode == PSDR_MODE_RGB || mode == PSDR_MODE_LAB)
        needed = 3;
    else if (mode == PSDR_MODE_CMYK || (mode == PSDR_MODE_MULTICHANNEL && p->four_planes))
        needed = 4;
    else if (mode == PSDR_MODE_MULTICHANNEL)
        needed = 3;
    // Missing colour planes read as zero.
    const uint8_t* c[4] = {p->colour[0], p->colour[1], p->colour[2], p->colour[3]};
    uint8_t* zero = NULL;
    for (int i = 0; i < needed; ++i)
        if (!c[i])
        {
            if (!zero)
            {
                zero = (uint8_t*)calloc((size_t)count, (size_t)step);
                if (!zero)
                {
                    memset(out, 0, (size_t)count * 4);
                    return;
                }
            }
            c[i] = zero;
        }
    const uint8_t* a = p->alpha;
    switch (mode)
    {
    case PSDR_MODE_GREYSCALE:
    case PSDR_MODE_DUOTONE:
        for (int64_t i = 0, s = 0; i < count; ++i, s += step)
        {
            uint32_t v = c[0][s];
            out[i] = (a ? (uint32_t)a[s] : 255u) << 24 | v << 16 | v << 8 | v;
        }
        break;
    case PSDR_MODE_INDEXED:
        for (int64_t i = 0, s = 0; i < count; ++i, s += step)
        {
            int32_t index = c[0][s];
            if (index == p->transparent_index || p->palette_count <= 0 || !p->palette)
                out[i] = 0x00FFFFFFu;
            else
                out[i] = p->palette[index < p->palette_count ? index : p->palette_count - 1];
        }
        break;
    case PSDR_MODE_RGB:
        if (a)
            for (int64_t i = 0, s = 0; i < count; ++i, s += step)
                out[i] = (uint32_t)a[s] << 24 | (uint32_t)c[0][s] << 16 | (uint32_t)c[1][s] << 8 | c[2][s];
        else
            for (int64_t i = 0, s = 0; i < count; ++i, s += step)
                out[i] = 0xFF000000u | (uint32_t)c[0][s] << 16 | (uint32_t)c[1][s] << 8 | c[2][s];
        break;
    case PSDR_MODE_CMYK:
        for (int64_t i = 0, s = 0; i < count; ++i, s += step)
            out[i] = psdr_cmyk_alpha_to_argb(a ? a[s] : 255, 255 - c[0][s], 255 - c[1][s], 255 - c[2][s],
                                             255 - c[3][s]);
        break;
    case PSDR_MODE_MULTICHANNEL:
        for (int64_t i = 0, s = 0; i < count; ++i, s += step)
            out[i] = psdr_cmyk_to_argb(255 - c[0][s], 255 - c[1][s], 255 - c[2][s],
                                       needed == 4 ? 255 - c[3][s] : 0);
        break;
    case PSDR_MODE_LAB:
    {
        // Lab converts through doubles; neighbouring pixels often repeat, so keep the last one.
        int32_t last = -1;
        uint32_t last_rgb = 0;
        for (int64_t i = 0, s = 0; i < count; ++i, s += step)
        {
            int32_t key = c[0][s] << 16 | c[1][s] << 8 | c[2][s];
            if (key != last)
            {
                last = key;
                last_rgb = psdr_lab_to_argb((c[0][s] * 100) >> 8, c[1][s] - 128, c[2][s] - 128) & 0x00FFFFFFu;
            }
            out[i] = (a ? (uint32_t)a[s] : 255u) << 24 | last_rgb;
        }
        break;
    }
    default:
        break;
    }
    free(zero);
}
