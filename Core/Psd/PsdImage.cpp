// Channel decompression (raw, PackBits, ZIP, ZIP with prediction) and the merged image section.

#include "Core/Psd/PsdInternal.h"

#include <stdlib.h>
#include <string.h>

#include <zlib.h>

psdr_status psdr_inflate(const uint8_t* input, int64_t input_size, uint8_t* output, int64_t output_size)
{
    if (!input || !output || input_size <= 0 || output_size <= 0)
        return PSDR_ERR_INFLATE;
    z_stream z;
    memset(&z, 0, sizeof z);
    if (inflateInit(&z) != Z_OK)
        return PSDR_ERR_INFLATE;
    int64_t in_left = input_size, out_left = output_size;
    const uint8_t* in = input;
    uint8_t* out = output;
    int result = Z_OK;
    // zlib counts in 32 bits; feed it in slices.
    const int64_t slice = 1ll << 30;
    while (result == Z_OK && out_left > 0)
    {
        if (z.avail_in == 0 && in_left > 0)
        {
            uInt n = (uInt)(in_left < slice ? in_left : slice);
            z.next_in = (Bytef*)in;
            z.avail_in = n;
            in += n;
            in_left -= n;
        }
        uInt n = (uInt)(out_left < slice ? out_left : slice);
        z.next_out = out;
        z.avail_out = n;
        result = inflate(&z, Z_PARTIAL_FLUSH);
        uInt produced = n - z.avail_out;
        out += produced;
        out_left -= produced;
        if (result == Z_BUF_ERROR && out_left == 0)
            result = Z_OK;
        if (result == Z_OK && produced == 0 && z.avail_in == 0 && in_left == 0)
            result = Z_BUF_ERROR; // input ran out before the output was full
    }
    inflateEnd(&z);
    if (result != Z_OK && result != Z_STREAM_END)
        return PSDR_ERR_INFLATE;
    if (out_left > 0)
        memset(out, 0, (size_t)out_left);
    return PSDR_OK;
}

psdr_status psdr_inflate_predicted(const uint8_t* input, int64_t input_size, uint8_t* output,
                                   int64_t output_size, int32_t row_width, int32_t depth)
{
    psdr_status status = psdr_inflate(input, input_size, output, output_size);
    if (status != PSDR_OK)
        return status;
    if (row_width <= 0)
        return PSDR_OK;
    if (depth == 16)
    {
        const int64_t row_bytes = (int64_t)row_width * 2;
        for (int64_t at = 0; at + row_bytes <= output_size; at += row_bytes)
        {
            uint8_t* p = output + at;
            uint32_t prev = (uint32_t)p[0] << 8 | p[1];
            for (int32_t i = 1; i < row_width; ++i)
            {
                uint32_t v = ((uint32_t)p[2 * i] << 8 | p[2 * i + 1]) + prev;
                p[2 * i] = (uint8_t)(v >> 8);
                p[2 * i + 1] = (uint8_t)v;
                prev = v & 0xFFFF;
            }
        }
    }
    else
    {
        for (int64_t at = 0; at + row_width <= output_size; at += row_width)
        {
            uint8_t* p = output + at;
            for (int32_t i = 1; i < row_width; ++i)
                p[i] = (uint8_t)(p[i] + p[i - 1]);
        }
    }
    return PSDR_OK;
}

// One PackBits run list into at most out_size bytes; stops at the end of input or output.
static void psdr_unpack(const uint8_t* in, int64_t in_size, uint8_t* out, int64_t out_size)
{
    int64_t i = 0, o = 0;
    while (i < in_size && o < out_size)
    {
        int n = in[i++];
        if (n < 128)
        {
            int64_t len = n + 1;
            if (len > in_size - i)
                len = in_size - i;
            if (len > out_size - o)
                len = out_size - o;
            memcpy(out + o, in + i, (size_t)len);
            i += n + 1;
            o += len;
        }
        else if (n > 128)
        {
            if (i >= in_size)
                break;
            int64_t len = 257 - n;
            if (len > out_size - o)
                len = out_size - o;
            memset(out + o, in[i++], (size_t)len);
            o += len;
        }
    }
    if (o < out_size)
        memset(out + o, 0, (size_t)(out_size - o));
}

void psdr_rle_start(psdr_rle* c, const uint8_t* data, int64_t size, int64_t table, int64_t table_end,
                    int64_t at)
{
    c->data = data;
    c->size = size;
    c->table = table;
    c->table_end = table_end < size ? table_end : size;
    c->at = at;
}

static inline int64_t psdr_rle_count(const psdr_rle* c, int32_t row)
{
    int64_t index = c->table + 2 * (int64_t)row;
    if (index + 2 > c->table_end)
        return 0;
    return c->data[index] << 8 | c->data[index + 1];
}

int64_t psdr_rle_plane_bytes(const psdr_rle* c, int32_t rows)
{
    int64_t total = 0;
    for (int32_t r = 0; r < rows; ++r)
        total += psdr_rle_count(c, r);
    return total;
}

void psdr_rle_row(psdr_rle* c, int32_t row, uint8_t* out, int64_t row_bytes)
{
    int64_t count = psdr_rle_count(c, row);
    int64_t avail = c->at < c->size ? c->size - c->at : 0;
    psdr_unpack(c->data + (avail > 0 ? c->at : 0), count < avail ? count : avail, out, row_bytes);
    c->at += count;
}

void psdr_unpack_rows(const uint8_t* data, int64_t data_size, uint8_t* out, int64_t out_size, int32_t rows,
                      int64_t row_bytes)
{
    const int64_t table = (int64_t)rows * 2;
    int64_t at = table;
    for (int32_t r = 0; r < rows; ++r)
    {
        int64_t start = (int64_t)r * row_bytes;
        if (start >= out_size)
            break;
        int64_t room = out_size - start < row_bytes ? out_size - start : row_bytes;
        int64_t count = 0;
        if (2 * (int64_t)r + 2 <= data_size)
            count = data[2 * r] << 8 | data[2 * r + 1];
        int64_t avail = at < data_size ? data_size - at : 0;
        psdr_unpack(data + (avail > 0 ? at : 0), count < avail ? count : avail, out + start, room);
        at += count;
    }
    int64_t written = (int64_t)rows * row_bytes;
    if (written < out_size)
        memset(out + written, 0, (size_t)(out_size - written));
}

psdr_status psdr_decode_plane(psdr_document* doc, int32_t method, const uint8_t* data, int64_t data_size,
                              uint8_t* plane, int64_t plane_size, int32_t rows, int64_t row_bytes,
                              int32_t row_samples)
{
    switch (method)
    {
    case 0:
    {
        int64_t n = data_size < plane_size ? data_size : plane_size;
        memcpy(plane, data, (size_t)n);
        if (n < plane_size)
            memset(plane + n, 0, (size_t)(plane_size - n));
        return PSDR_OK;
    }
    case 1:
        psdr_unpack_rows(data, data_size, plane, plane_size, rows, row_bytes);
        return PSDR_OK;
    case 2:
        return psdr_inflate(data, data_size, plane, plane_size);
    case 3:
        return psdr_inflate_predicted(data, data_size, plane, plane_size, row_samples, doc->depth);
    default:
        return PSDR_ERR_COMPRESSION;
    }
}

// Editors store the merged colours of a transparent document blended over white; the
// colours are recovered so that the image composes like its layers.
static void psdr_remove_white_matte(uint32_t* pixels, int64_t count)
{
    for (int64_t i = 0; i < count; ++i)
    {
        uint32_t v = pixels[i];
        uint32_t a = v >> 24;
        if (a == 0 || a == 255)
            continue;
        uint32_t out = v & 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8)
        {
            int32_t c = (int32_t)((v >> shift) & 0xFF);
            int32_t r = ((c - (255 - (int32_t)a)) * 255 + (int32_t)a / 2) / (int32_t)a;
            r = r < 0 ? 0 : r > 255 ? 255 : r;
            out |= (uint32_t)r << shift;
        }
        pixels[i] = out;
    }
}

static int64_t psdr_plane_bytes(int32_t depth, int64_t width, int64_t height)
{
    if (depth == 1)
        return height * ((width + 7) / 8);
    return width * height * (depth == 16 ? 2 : 1);
}

// One layer standing for the merged image, for documents without layer records.
static psdr_status psdr_layer_from_merged(psdr_document* doc, int has_alpha)
{
    psdr_layer* layer = (psdr_layer*)calloc(1, sizeof(psdr_layer));
    if (!layer)
        return PSDR_ERR_MEMORY;
    psdr_layer_defaults(layer);
    layer->bottom = layer->height = doc->height;
    layer->right = layer->width = doc->width;
    layer->visible = 1;
    int32_t n = doc->colour_channel_count;
    layer->channels = (psdr_channel_info*)calloc((size_t)n, sizeof(psdr_channel_info));
    layer->source_black = (int16_t*)calloc((size_t)n, 2);
    layer->source_white = (int16_t*)calloc((size_t)n, 2);
    layer->destination_black = (int16_t*)calloc((size_t)n, 2);
    layer->destination_white = (int16_t*)calloc((size_t)n, 2);
    doc->layers = layer;
    doc->layer_count = 1;
    if (!layer->channels || !layer->source_black || !layer->source_white || !layer->destination_black ||
        !layer->destination_white)
        return PSDR_ERR_MEMORY;
    layer->channel_count = (int16_t)n;
    layer->channel_range_count = n;
    for (int32_t i = 0; i < n; ++i)
    {
        // The transparency is the plane after the colour planes.
        layer->channels[i].id = (int16_t)(has_alpha && i == n - 1 ? -1 : i);
        layer->source_white[i] = -1;
        layer->destination_white[i] = -1;
    }
    if (doc->load_tag == PSDR_LOAD_NO_THUMBNAIL)
    {
        layer->pixels = doc->merged_image;
        doc->merged_image = NULL;
    }
    else
    {
        size_t bytes = (size_t)doc->width * (size_t)doc->height * 4;
        psdr_status status = psdr_charge(doc, (int64_t)bytes);
        if (status != PSDR_OK)
            return status;
        layer->pixels = (uint32_t*)psdr_alloc_image((int64_t)bytes);
        if (!layer->pixels)
            return PSDR_ERR_MEMORY;
        memcpy(layer->pixels, doc->merged_image, bytes);
    }
    return PSDR_OK;
}

// Planes of the merged image are taken by position; `base` holds them `stride` bytes apart,
// covering `rows` rows from row `y`.
typedef struct psdr_merged
{
    psdr_planes p;
    int32_t colour;    // colour planes used
    int32_t has_alpha; // plane `needed` is the transparency
    int32_t needed;
} psdr_merged;

static void psdr_merged_setup(psdr_document* doc, psdr_merged* m)
{
    const uint32_t mode = doc->colour_mode;
    const int32_t needed = psdr_mode_planes(mode);
    const int32_t colour = doc->colour_channel_count;
    memset(m, 0, sizeof *m);
    m->p.width = doc->width;
    m->p.depth = doc->depth;
    m->p.transparent_index = -1;
    m->needed = needed;
    m->colour = colour;
    if (mode == PSDR_MODE_GREYSCALE || mode == PSDR_MODE_DUOTONE || mode == PSDR_MODE_RGB ||
        mode == PSDR_MODE_CMYK || mode == PSDR_MODE_LAB)
    {
        // A negated layer count says the first plane after the colour planes is the merged
        // transparency (editors name it in the alpha resources too); a positive one says the
        // extra planes are alpha channels. Without layer records one spare plane is transparency.
        if (doc->stored_layer_count_sign < 0)
            m->has_alpha = doc->channel_count > needed;
        else if (doc->stored_layer_count_sign == 0)
            m->has_alpha = colour == needed + 1;
    }
    if (mode == PSDR_MODE_MULTICHANNEL)
        m->p.four_planes = colour >= 4;
    if (mode == PSDR_MODE_INDEXED)
    {
        m->p.palette = doc->palette;
        int32_t count = doc->palette_size;
        if (doc->indexed_colour_count_present && doc->indexed_colour_count > 0 &&
            doc->indexed_colour_count < count)
            count = doc->indexed_colour_count;
        m->p.palette_count = count;
        m->p.transparent_index = doc->transparent_index_present ? doc->transparent_index : -1;
    }
}

static void psdr_merged_emit(psdr_document* doc, psdr_merged* m, const uint8_t* base, int64_t stride,
                             int32_t y, int32_t rows)
{
    const uint32_t mode = doc->colour_mode;
    const int32_t limit = m->needed + (mode == PSDR_MODE_MULTICHANNEL ? 3 : 0);
    for (int32_t i = 0; i < 4 && i < m->colour && i < limit; ++i)
        m->p.colour[i] = base + i * stride;
    m->p.alpha = m->has_alpha ? base + m->needed * stride : NULL;
    m->p.height = rows;
    const int64_t first = (int64_t)y * doc->width;
    psdr_convert(mode, &m->p, doc->merged_image + first);
    const int64_t count = (int64_t)rows * doc->width;
    const int step = doc->depth == 16 ? 2 : 1;
    for (int32_t i = 0; i < doc->alpha_channel_count; ++i)
    {
        uint8_t* out = doc->alpha_channels[i].pixels;
        if (!out)
            break;
        const uint8_t* src = base + (int64_t)(m->colour + i) * stride;
        for (int64_t k = 0; k < count; ++k)
            out[first + k] = src[k * step];
    }
}

// The channels that the merged image converts or keeps as alpha channels.
static int32_t psdr_merged_planes_used(const psdr_document* doc, const psdr_merged* m)
{
    int32_t used = m->colour + (doc->depth == 1 ? 0 : doc->alpha_channel_count);
    if (m->has_alpha && used < m->needed + 1)
        used = m->needed + 1;
    return used < doc->channel_count ? used : doc->channel_count;
}

psdr_status psdr_read_image_data(psdr_document* doc)
{
    const int32_t tag = doc->load_tag;
    if (tag == PSDR_LOAD_THUMBNAIL || tag == PSDR_LOAD_EXIF)
        return PSDR_OK;
    if (tag == PSDR_LOAD_NO_THUMBNAIL && doc->layer_count > 0)
        return PSDR_OK;

    const int64_t plane = psdr_plane_bytes(doc->depth, doc->width, doc->height);
    const int64_t channels = doc->channel_count;
    const int64_t total = plane * channels;
    const int64_t pixels = (int64_t)doc->width * doc->height;
    const int64_t row_bytes = doc->depth == 1 ? (doc->width + 7) / 8 : (int64_t)doc->width * (doc->depth / 8);
    int32_t method = (uint16_t)psdr_read_int16(doc);
    if (method > 3)
        return PSDR_ERR_COMPRESSION;
    // Nothing may ask for more image than the file can hold.
    psdr_status status = psdr_charge(doc, total + pixels * 4);
    if (status != PSDR_OK)
        return status;

    psdr_merged m;
    psdr_merged_setup(doc, &m);
    doc->merged_transparency = (uint8_t)m.has_alpha;
    doc->merged_image = (uint32_t*)psdr_alloc_image(pixels * 4);
    if (!doc->merged_image)
        return PSDR_ERR_MEMORY;
    if (doc->depth != 1)
        for (int32_t i = 0; i < doc->alpha_channel_count && m.colour + i < channels; ++i)
        {
            doc->alpha_channels[i].pixels = (uint8_t*)malloc((size_t)pixels);
            if (!doc->alpha_channels[i].pixels)
                return PSDR_ERR_MEMORY;
        }

    if (method == 1)
    {
        // PackBits: all row counts first, then the rows of each plane in turn. Rows are
        // decoded and converted one at a time, so no plane is ever held whole.
        int64_t size = psdr_left(doc);
        uint8_t* data = (uint8_t*)malloc(size > 0 ? (size_t)size : 1);
        const int32_t used = psdr_merged_planes_used(doc, &m);
        uint8_t* rows = (uint8_t*)malloc((size_t)(row_bytes * (used > 0 ? used : 1)));
        psdr_rle* cursors = (psdr_rle*)malloc(sizeof(psdr_rle) * (size_t)(used > 0 ? used : 1));
        if (!data || !rows || !cursors)
        {
            free(data);
            free(rows);
            free(cursors);
            return PSDR_ERR_MEMORY;
        }
        size = psdr_read(doc, data, size);
        const int64_t table_end = channels * doc->height * 2;
        int64_t at = table_end;
        for (int32_t c = 0; c < used; ++c)
        {
            psdr_rle_start(&cursors[c], data, size, (int64_t)c * doc->height * 2, table_end, at);
            at += psdr_rle_plane_bytes(&cursors[c], doc->height);
        }
        for (int32_t y = 0; y < doc->height; ++y)
        {
            for (int32_t c = 0; c < used; ++c)
                psdr_rle_row(&cursors[c], y, rows + c * row_bytes, row_bytes);
            psdr_merged_emit(doc, &m, rows, row_bytes, y, 1);
        }
        free(data);
        free(rows);
        free(cursors);
    }
    else
    {
        uint8_t* buffer = (uint8_t*)malloc((size_t)total);
        if (!buffer)
            return PSDR_ERR_MEMORY;
        if (method == 0)
        {
            int64_t got = psdr_read(doc, buffer, total);
            if (got < total)
                memset(buffer + got, 0, (size_t)(total - got)); // a short file keeps what is there
        }
        else
        {
            int64_t size = psdr_left(doc);
            uint8_t* data = (uint8_t*)malloc(size > 0 ? (size_t)size : 1);
            if (!data)
            {
                free(buffer);
                return PSDR_ERR_MEMORY;
            }
            size = psdr_read(doc, data, size);
            if (method == 2)
                status = psdr_inflate(data, size, buffer, total);
            else
                status = psdr_inflate_predicted(
                    data, size, buffer, total, doc->depth == 1 ? (int32_t)row_bytes : doc->width, doc->depth);
            free(data);
            if (status != PSDR_OK)
            {
                free(buffer);
                return status;
            }
        }
        psdr_merged_emit(doc, &m, buffer, plane, 0, doc->height);
        free(buffer);
    }
    if (m.has_alpha)
        psdr_remove_white_matte(doc->merged_image, pixels);

    if (doc->layer_count == 0 && (tag == PSDR_LOAD_ALL || tag == PSDR_LOAD_NO_THUMBNAIL))
        return psdr_layer_from_merged(doc, m.has_alpha);
    return PSDR_OK;
}
