// Layer and mask information: layer records, channel image data, global mask, 'Lr16', patterns.

#include "Core/Psd/PsdInternal.h"

#include <stdlib.h>
#include <string.h>

static const uint32_t kSig8BIM = PSDR_KEY('8', 'B', 'I', 'M');
static const uint32_t kSig8B64 = PSDR_KEY('8', 'B', '6', '4');

void psdr_layer_defaults(psdr_layer* layer)
{
    layer->type = PSDR_LAYER_NORMAL;
    layer->blend_mode = 0;
    layer->opacity = 255;
    layer->fill_opacity = 255;
    layer->blend_clipped_elements = 1;
    layer->blend_interior_elements = 0;
    layer->knockout = 0;
    layer->transparency_shapes_layer = 1;
    layer->layer_mask_hides_effects = 0;
    layer->vector_mask_hides_effects = 0;
    layer->section_blend_mode = 23;
    layer->mask_default_colour = 255;
    layer->mask_disabled = 1;
}

void psdr_free_layer(psdr_layer* layer)
{
    for (int32_t i = 0; i < layer->block_count && i < PSDR_MAX_BLOCKS; ++i)
    {
        psdr_free_block(layer->block_kinds[i], layer->blocks[i]);
        layer->blocks[i] = NULL;
    }
    layer->block_count = 0;
    free(layer->channels);
    free(layer->unicode_name);
    free(layer->source_black);
    free(layer->source_white);
    free(layer->destination_black);
    free(layer->destination_white);
    free(layer->mask_pixels);
    free(layer->pixels);
    layer->channels = NULL;
    layer->unicode_name = NULL;
    layer->source_black = layer->source_white = layer->destination_black = layer->destination_white = NULL;
    layer->mask_pixels = NULL;
    layer->pixels = NULL;
}

void psdr_free_layers(psdr_document* doc)
{
    if (!doc->layers)
        return;
    for (int32_t i = 0; i < doc->layer_count; ++i)
        psdr_free_layer(&doc->layers[i]);
    free(doc->layers);
    doc->layers = NULL;
    doc->layer_count = 0;
}

static psdr_status psdr_grow(uint8_t** buffer, int64_t* capacity, int64_t needed, int64_t minimum)
{
    if (needed <= *capacity)
        return PSDR_OK;
    int64_t size = *capacity * 2;
    if (size < needed)
        size = needed;
    if (size < minimum)
        size = minimum;
    free(*buffer);
    *buffer = (uint8_t*)malloc((size_t)size);
    if (!*buffer)
    {
        *capacity = 0;
        return PSDR_ERR_MEMORY;
    }
    *capacity = size;
    return PSDR_OK;
}

static void psdr_release_scratch(psdr_document* doc)
{
    free(doc->channel_scratch);
    free(doc->compressed_scratch);
    doc->channel_scratch = doc->compressed_scratch = NULL;
    doc->channel_scratch_capacity = doc->compressed_scratch_capacity = 0;
}

// Layer mask record. Its length varies with the writer (20, 28, 36, 40, 48, 56 ...): the
// optional mask parameters and the real user mask are read when present and the stream always
// ends at the record's end.
static psdr_status psdr_read_layer_mask(psdr_document* doc, psdr_layer* layer)
{
    int32_t length = psdr_read_int32(doc);
    psdr_block block;
    if (length == 0)
        return PSDR_OK;
    psdr_status status = psdr_block_open(doc, length, 1, &block);
    if (status != PSDR_OK)
        return status;
    layer->mask_top = psdr_read_int32(doc);
    layer->mask_left = psdr_read_int32(doc);
    layer->mask_bottom = psdr_read_int32(doc);
    layer->mask_right = psdr_read_int32(doc);
    layer->mask_default_colour = psdr_read_byte(doc);
    uint8_t flags = psdr_read_byte(doc);
    layer->mask_relative = flags & 1;
    layer->mask_disabled = (flags >> 1) & 1;
    layer->mask_inverted = (flags >> 2) & 1;
    if (length != 20 && (flags & 0x10) && psdr_left(doc) > 0)
    {
        uint8_t params = psdr_read_byte(doc);
        psdr_skip(doc, ((params & 1) ? 1 : 0) + ((params & 2) ? 8 : 0) + ((params & 4) ? 1 : 0) +
                           ((params & 8) ? 8 : 0));
    }
    if (length != 20 && psdr_left(doc) >= 18)
    {
        layer->real_mask_present = 1;
        layer->real_mask_flags = psdr_read_byte(doc);
        layer->real_mask_background = psdr_read_byte(doc);
        layer->real_mask_top = psdr_read_int32(doc);
        layer->real_mask_left = psdr_read_int32(doc);
        layer->real_mask_bottom = psdr_read_int32(doc);
        layer->real_mask_right = psdr_read_int32(doc);
    }
    psdr_block_close(doc, &block);
    int64_t w = (int64_t)layer->mask_right - layer->mask_left;
    int64_t h = (int64_t)layer->mask_bottom - layer->mask_top;
    // Inverted bounds are a mask without area, as for the layer's own bounds.
    if (w < 0 || h < 0)
        w = h = 0;
    if (w > PSDR_MAX_SIDE || h > PSDR_MAX_SIDE)
        return PSDR_ERR_RANGE;
    layer->mask_width = (int32_t)w;
    layer->mask_height = (int32_t)h;
    return PSDR_OK;
}

static psdr_status psdr_read_blending_ranges(psdr_document* doc, psdr_layer* layer)
{
    int32_t length = psdr_read_int32(doc);
    psdr_block block;
    if (length == 0)
        return PSDR_OK; // an empty block means no ranges
    psdr_status status = psdr_block_open(doc, length, 1, &block);
    if (status != PSDR_OK)
        return status;
    for (int i = 0; i < 4; ++i)
        layer->composite_grey_ranges[i] = psdr_read_int16(doc);
    int32_t count = (length - 8) / 8;
    if (count <= 0)
        return PSDR_ERR_BLEND_RANGES;
    layer->source_black = (int16_t*)calloc((size_t)count, 2);
    layer->source_white = (int16_t*)calloc((size_t)count, 2);
    layer->destination_black = (int16_t*)calloc((size_t)count, 2);
    layer->destination_white = (int16_t*)calloc((size_t)count, 2);
    if (!layer->source_black || !layer->source_white || !layer->destination_black ||
        !layer->destination_white)
        return PSDR_ERR_MEMORY;
    layer->channel_range_count = count;
    for (int32_t i = 0; i < count; ++i)
    {
        layer->source_black[i] = psdr_read_int16(doc);
        layer->source_white[i] = psdr_read_int16(doc);
        layer->destination_black[i] = psdr_read_int16(doc);
        layer->destination_white[i] = psdr_read_int16(doc);
    }
    psdr_block_close(doc, &block);
    return PSDR_OK;
}

static void psdr_read_flag_block(psdr_document* doc, uint8_t* flag)
{
    *flag = psdr_read_bool(doc);
    psdr_skip(doc, 3);
}

// One additional-information block of a layer record (the stream is limited to it).
static psdr_status psdr_read_extra_block(psdr_document* doc, psdr_layer* layer, uint32_t key, int64_t length)
{
    switch (key)
    {
    case PSDR_KEY('l', 'u', 'n', 'i'):
    {
        int32_t n = psdr_read_int32(doc);
        if (n <= 0)
            return PSDR_OK;
        if ((int64_t)n * 2 > psdr_left(doc))
            n = (int32_t)(psdr_left(doc) / 2);
        uint16_t* units = (uint16_t*)malloc((size_t)n * 2 + 2);
        if (!units)
            return PSDR_ERR_MEMORY;
        psdr_read(doc, units, (int64_t)n * 2);
        units[n] = 0;
        free(layer->unicode_name);
        layer->unicode_name = units;
        layer->unicode_name_length = n;
        return PSDR_OK;
    }
    case PSDR_KEY('l', 's', 'c', 't'):
    {
        int32_t type = psdr_read_int32(doc);
        layer->section_divider_type = type;
        if (type == 1 || type == 2)
            layer->type = PSDR_LAYER_GROUP;
        else if (type == 3)
            layer->type = PSDR_LAYER_GROUP_END;
        if (length >= 12)
        {
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_SECTION_SIGNATURE;
            layer->section_blend_mode = (uint32_t)psdr_read_blend_key(doc);
        }
        return PSDR_OK;
    }
    case PSDR_KEY('b', 'r', 's', 't'):
        for (int64_t i = 0; i < length / 4; ++i)
        {
            int32_t id = psdr_read_int32(doc);
            for (int32_t c = 0; c < layer->channel_count; ++c)
                if (layer->channels[c].id == id)
                {
                    layer->channels[c].blending_restricted = 1;
                    break;
                }
        }
        return PSDR_OK;
    case PSDR_KEY('l', 'c', 'l', 'r'):
    {
        uint8_t rgb[4] = {0, 0, 0, 0};
        psdr_read(doc, rgb, 4);
        layer->sheet_colour = psdr_rgb_to_argb(rgb[0], rgb[1], rgb[2]);
        return PSDR_OK;
    }
    case PSDR_KEY('l', 'y', 'i', 'd'):
        layer->layer_id = psdr_read_uint32(doc);
        return PSDR_OK;
    case PSDR_KEY('l', 'y', 'v', 'r'):
        layer->layer_version = psdr_read_uint32(doc);
        return PSDR_OK;
    case PSDR_KEY('l', 'n', 's', 'r'):
        layer->name_source = psdr_read_uint32(doc);
        return PSDR_OK;
    case PSDR_KEY('i', 'O', 'p', 'a'):
        layer->fill_opacity = psdr_read_byte(doc);
        return PSDR_OK;
    case PSDR_KEY('c', 'l', 'b', 'l'):
        psdr_read_flag_block(doc, &layer->blend_clipped_elements);
        return PSDR_OK;
    case PSDR_KEY('i', 'n', 'f', 'x'):
        psdr_read_flag_block(doc, &layer->blend_interior_elements);
        return PSDR_OK;
    case PSDR_KEY('k', 'n', 'k', 'o'):
        psdr_read_flag_block(doc, &layer->knockout);
        return PSDR_OK;
    case PSDR_KEY('t', 's', 'l', 'y'):
        psdr_read_flag_block(doc, &layer->transparency_shapes_layer);
        return PSDR_OK;
    case PSDR_KEY('l', 'm', 'g', 'm'):
        psdr_read_flag_block(doc, &layer->layer_mask_hides_effects);
        return PSDR_OK;
    case PSDR_KEY('v', 'm', 'g', 'm'):
        psdr_read_flag_block(doc, &layer->vector_mask_hides_effects);
        return PSDR_OK;
    case PSDR_KEY('l', 's', 'p', 'f'):
    {
        uint32_t bits = psdr_read_uint32(doc);
        layer->transparency_locked = bits & 1;
        layer->composite_locked = (bits >> 1) & 1;
        layer->position_locked = (bits >> 2) & 1;
        return PSDR_OK;
    }
    case PSDR_KEY('f', 'x', 'r', 'p'):
        layer->reference_x = psdr_double_to_int(psdr_read_double(doc));
        layer->reference_y = psdr_double_to_int(psdr_read_double(doc));
        return PSDR_OK;
    default:
    {
        int handled = 0;
        return psdr_read_layer_block(doc, layer, key, length, &handled);
    }
    }
}

static psdr_status psdr_read_layer_record(psdr_document* doc, psdr_layer* layer)
{
    layer->top = psdr_read_int32(doc);
    layer->left = psdr_read_int32(doc);
    layer->bottom = psdr_read_int32(doc);
    layer->right = psdr_read_int32(doc);
    int64_t w = (int64_t)layer->right - layer->left;
    int64_t h = (int64_t)layer->bottom - layer->top;
    // Editors write inverted bounds (top 0, bottom -1) for layers with nothing on them: no area.
    if (w < 0 || h < 0)
        w = h = 0;
    if (w > PSDR_MAX_SIDE || h > PSDR_MAX_SIDE)
        return PSDR_ERR_RANGE;
    layer->width = (int32_t)w;
    layer->height = (int32_t)h;
    int16_t channels = psdr_read_int16(doc);
    if (channels < 0 || channels > PSDR_MAX_CHANNELS)
        return PSDR_ERR_RANGE;
    if (channels > 0)
    {
        layer->channels = (psdr_channel_info*)calloc((size_t)channels, sizeof(psdr_channel_info));
        if (!layer->channels)
            return PSDR_ERR_MEMORY;
        layer->channel_count = channels;
        for (int16_t i = 0; i < channels; ++i)
        {
            layer->channels[i].id = psdr_read_int16(doc);
            layer->channels[i].length = psdr_read_int32(doc);
            if (layer->channels[i].length < 0)
                return PSDR_ERR_RANGE;
        }
    }
    if (psdr_read_uint32(doc) != kSig8BIM)
        return PSDR_ERR_LAYER_SIGNATURE;
    layer->blend_mode = psdr_read_blend_key(doc);
    layer->opacity = psdr_read_byte(doc);
    layer->clipping = psdr_read_bool(doc);
    uint8_t flags = psdr_read_byte(doc);
    layer->transparency_protected = flags & 1;
    layer->visible = (flags & 2) ? 0 : 1;
    layer->obsolete = (flags >> 2) & 1;
    layer->pixel_data_irrelevant = (flags & 8) ? (flags >> 4) & 1 : 0;
    psdr_skip(doc, 1);

    int32_t extra = psdr_read_int32(doc);
    psdr_block block;
    psdr_status status = psdr_block_open(doc, extra, 1, &block);
    if (status != PSDR_OK)
        return status;
    status = psdr_read_layer_mask(doc, layer);
    if (status == PSDR_OK)
        status = psdr_read_blending_ranges(doc, layer);
    if (status == PSDR_OK)
    {
        uint8_t n = psdr_read_byte(doc);
        char name[256];
        int64_t got = psdr_read(doc, name, n | 3);
        if (got > n)
            got = n;
        memcpy(layer->name, name, (size_t)got);
        layer->name[got] = 0;
    }
    while (status == PSDR_OK && psdr_left(doc) >= 12)
    {
        uint32_t sig = psdr_read_uint32(doc);
        if (sig != kSig8BIM && sig != kSig8B64)
        {
            status = PSDR_ERR_BLOCK_SIGNATURE;
            break;
        }
        uint32_t key = psdr_read_uint32(doc);
        int64_t length = psdr_read_uint32(doc);
        psdr_block inner;
        status = psdr_block_open(doc, length, 2, &inner);
        if (status != PSDR_OK)
            break;
        status = psdr_read_extra_block(doc, layer, key, length);
        psdr_block_close(doc, &inner);
    }
    psdr_block_close(doc, &block);
    return status;
}

static int64_t psdr_plane_size(int32_t depth, int64_t width, int64_t height)
{
    if (depth == 1)
        return height * ((width + 7) / 8);
    return width * height * (depth == 16 ? 2 : 1);
}

// Fills conversion planes of a layer or pattern; `by_id` looks planes up by channel id.
static void psdr_indexed_palette(const psdr_document* doc, psdr_planes* p)
{
    p->palette = doc->palette;
    int32_t count = doc->palette_size;
    if (doc->indexed_colour_count_present && doc->indexed_colour_count > 0 &&
        doc->indexed_colour_count < count)
        count = doc->indexed_colour_count;
    p->palette_count = count;
    p->transparent_index = doc->transparent_index_present ? doc->transparent_index : -1;
}

// The channel data of one layer are read whole; the colour and transparency channels are then
// converted row by row when they are all PackBits (no plane is held whole), else through planes.
static psdr_status psdr_read_channel_image_data(psdr_document* doc, psdr_layer* layer)
{
    const int32_t depth = doc->depth;
    const uint32_t mode = doc->colour_mode;
    const int64_t plane = psdr_plane_size(depth, layer->width, layer->height);
    const int64_t mask_plane =
        depth == 1 ? 0 : (int64_t)layer->mask_width * layer->mask_height * (depth == 16 ? 2 : 1);
    const int64_t stride = plane > mask_plane ? plane : mask_plane;
    doc->plane_size = plane;
    doc->plane_stride = stride;
    int64_t total = 0;
    for (int16_t i = 0; i < layer->channel_count; ++i)
        total += layer->channels[i].length;
    if (total > psdr_left(doc))
        return PSDR_ERR_SHORT;
    if (stride <= 0 || total <= 0)
    {
        psdr_skip(doc, total);
        return PSDR_OK;
    }
    psdr_status status = psdr_grow(&doc->compressed_scratch, &doc->compressed_scratch_capacity, total, 4096);
    if (status != PSDR_OK)
        return status;
    if (psdr_read(doc, doc->compressed_scratch, total) != total)
        return PSDR_ERR_SHORT;

    // Which channel feeds each plane: colour 0..3 and transparency (slot 4).
    const uint8_t* data[PSDR_MAX_CHANNELS];
    int64_t size[PSDR_MAX_CHANNELS];
    int32_t method[PSDR_MAX_CHANNELS];
    int32_t feed[5] = {-1, -1, -1, -1, -1};
    int32_t mask_channel = -1;
    int64_t at = 0;
    for (int16_t i = 0; i < layer->channel_count; ++i)
    {
        const psdr_channel_info* ch = &layer->channels[i];
        data[i] = doc->compressed_scratch + at + 2;
        size[i] = ch->length - 2;
        method[i] = ch->length >= 2 ? doc->compressed_scratch[at] << 8 | doc->compressed_scratch[at + 1] : -1;
        at += ch->length;
        // Below 3 bytes a channel holds nothing to decode.
        if (ch->length < 3)
            continue;
        int32_t slot = ch->id >= 0 && ch->id <= 3 ? ch->id : ch->id == -1 ? 4 : ch->id == -2 ? 5 : -1;
        if (slot == 5)
        {
            if (mask_channel < 0 && mask_plane > 0)
                mask_channel = i;
            else
                continue;
        }
        else if (slot < 0 || plane <= 0 || feed[slot] >= 0)
            continue;
        else
            feed[slot] = i;
        if (method[i] > 3)
            return PSDR_ERR_COMPRESSION;
    }
    // Indexed, bitmap and multichannel layers take no transparency plane; multichannel uses it
    // to choose four inks.
    const int has_transparency = feed[4] >= 0;
    if (mode == PSDR_MODE_INDEXED || mode == PSDR_MODE_BITMAP || mode == PSDR_MODE_MULTICHANNEL)
        feed[4] = -1;

    const int64_t row_bytes = layer->height > 0 ? plane / layer->height : 0;
    if ((int64_t)layer->width * layer->height > 0)
    {
        const int64_t bytes = (int64_t)layer->width * layer->height * 4;
        status = psdr_charge(doc, bytes);
        if (status != PSDR_OK)
            return status;
        layer->pixels = (uint32_t*)psdr_alloc_image(bytes);
        if (!layer->pixels)
            return PSDR_ERR_MEMORY;
        psdr_planes p;
        memset(&p, 0, sizeof p);
        p.width = layer->width;
        p.depth = depth;
        p.transparent_index = -1;
        p.four_planes = mode == PSDR_MODE_MULTICHANNEL && has_transparency;
        if (mode == PSDR_MODE_INDEXED)
            psdr_indexed_palette(doc, &p);
        int all_rle = 1;
        for (int s = 0; s < 5; ++s)
            if (feed[s] >= 0 && method[feed[s]] != 1)
                all_rle = 0;
        // Scratch for five planes (or rows); it is reused, so it is checked against the file, not charged.
        const int64_t scratch = (all_rle ? row_bytes : plane) * 5;
        if (scratch > doc->reader->budget)
            return PSDR_ERR_RANGE;
        status = psdr_grow(&doc->channel_scratch, &doc->channel_scratch_capacity, scratch, 12288);
        if (status != PSDR_OK)
            return status;
        if (mode == PSDR_MODE_BITMAP && depth != 1)
            memset(layer->pixels, 0, (size_t)bytes);
        else if (all_rle)
        {
            psdr_rle cursors[5];
            for (int s = 0; s < 5; ++s)
                if (feed[s] >= 0)
                {
                    const int64_t table = (int64_t)layer->height * 2;
                    psdr_rle_start(&cursors[s], data[feed[s]], size[feed[s]], 0, table, table);
                    if (s < 4)
                        p.colour[s] = doc->channel_scratch + s * row_bytes;
                    else
                        p.alpha = doc->channel_scratch + s * row_bytes;
                }
            p.height = 1;
            for (int32_t y = 0; y < layer->height; ++y)
            {
                for (int s = 0; s < 5; ++s)
                    if (feed[s] >= 0)
                        psdr_rle_row(&cursors[s], y, doc->channel_scratch + s * row_bytes, row_bytes);
                psdr_convert(mode, &p, layer->pixels + (int64_t)y * layer->width);
            }
        }
        else
        {
            for (int s = 0; s < 5; ++s)
            {
                if (feed[s] < 0)
                    continue;
                uint8_t* out = doc->channel_scratch + s * plane;
                const int32_t c = feed[s];
                status = psdr_decode_plane(doc, method[c], data[c], size[c], out, plane, layer->height,
                                           row_bytes, depth == 1 ? (int32_t)row_bytes : layer->width);
                if (status != PSDR_OK)
                    return status;
                if (s < 4)
                    p.colour[s] = out;
                else
                    p.alpha = out;
            }
            p.height = layer->height;
            psdr_convert(mode, &p, layer->pixels);
        }
    }

    if (mask_channel >= 0)
    {
        const int64_t count = (int64_t)layer->mask_width * layer->mask_height;
        status = psdr_charge(doc, count + mask_plane);
        if (status != PSDR_OK)
            return status;
        uint8_t* decoded = (uint8_t*)malloc((size_t)mask_plane);
        layer->mask_pixels = (uint8_t*)malloc((size_t)count);
        if (!decoded || !layer->mask_pixels)
        {
            free(decoded);
            return PSDR_ERR_MEMORY;
        }
        const int32_t c = mask_channel;
        const int64_t mask_row = mask_plane / layer->mask_height;
        status = psdr_decode_plane(doc, method[c], data[c], size[c], decoded, mask_plane, layer->mask_height,
                                   mask_row, layer->mask_width);
        if (status == PSDR_OK)
        {
            const int step = depth == 16 ? 2 : 1;
            for (int64_t k = 0; k < count; ++k)
                layer->mask_pixels[k] = decoded[k * step];
        }
        free(decoded);
        if (status != PSDR_OK)
            return status;
    }
    return PSDR_OK;
}

static void psdr_link_groups(psdr_document* doc)
{
    psdr_layer* group = NULL;
    for (int32_t i = doc->layer_count - 1; i >= 0; --i)
    {
        psdr_layer* layer = &doc->layers[i];
        if (layer->type == PSDR_LAYER_GROUP)
            group = layer;
        else if (layer->type == PSDR_LAYER_GROUP_END)
            group = NULL;
        else if (layer->type == PSDR_LAYER_NORMAL)
            layer->owning_group = group;
    }
}

// Smallest possible layer record: bounds, channel count, signature, key, opacity, clipping,
// flags, filler, extra-data length.
enum
{
    PSDR_MIN_RECORD = 34
};

static psdr_status psdr_read_layer_info(psdr_document* doc)
{
    int32_t length = psdr_read_int32(doc);
    if (length <= 0)
        return PSDR_OK;
    psdr_block block;
    psdr_status status = psdr_block_open(doc, length, 2, &block);
    if (status != PSDR_OK)
        return status;
    int32_t count = psdr_read_int16(doc);
    doc->stored_layer_count_sign = (int8_t)(count < 0 ? -1 : count > 0 ? 1 : 0);
    if (count < 0)
        count = -count;
    if ((int64_t)count * PSDR_MIN_RECORD > psdr_left(doc) || count > 32767)
        return PSDR_ERR_RANGE;
    psdr_free_layers(doc);
    if (count > 0)
    {
        doc->layers = (psdr_layer*)calloc((size_t)count, sizeof(psdr_layer));
        if (!doc->layers)
            return PSDR_ERR_MEMORY;
        doc->layer_count = (int16_t)count;
        for (int32_t i = 0; i < count; ++i)
            psdr_layer_defaults(&doc->layers[i]);
    }
    for (int32_t i = 0; i < count && status == PSDR_OK; ++i)
        status = psdr_read_layer_record(doc, &doc->layers[i]);
    for (int32_t i = 0; i < count && status == PSDR_OK; ++i)
        status = psdr_read_channel_image_data(doc, &doc->layers[i]);
    if (status != PSDR_OK)
        return status;
    psdr_block_close(doc, &block);
    psdr_link_groups(doc);
    return PSDR_OK;
}

// Planes a pattern of this mode may hold, transparency included.
static int32_t psdr_pattern_planes(uint32_t mode)
{
    switch (mode)
    {
    case PSDR_MODE_GREYSCALE:
    case PSDR_MODE_DUOTONE:
        return 2;
    case PSDR_MODE_RGB:
    case PSDR_MODE_MULTICHANNEL:
    case PSDR_MODE_LAB:
        return 4;
    case PSDR_MODE_CMYK:
        return 5;
    default:
        return 1;
    }
}

static psdr_status psdr_read_pattern_body(psdr_document* doc)
{
    psdr_status status = PSDR_OK;
    if (psdr_read_uint32(doc) != 1)
        return PSDR_ERR_PATTERN_VERSION;
    if (doc->pattern_count >= doc->pattern_capacity)
    {
        int32_t capacity = doc->pattern_capacity < 4 ? 4 : doc->pattern_capacity * 2;
        psdr_pattern* grown = (psdr_pattern*)realloc(doc->patterns, (size_t)capacity * sizeof(psdr_pattern));
        if (!grown)
            return PSDR_ERR_MEMORY;
        doc->patterns = grown;
        doc->pattern_capacity = capacity;
    }
    psdr_pattern* pat = &doc->patterns[doc->pattern_count];
    memset(pat, 0, sizeof *pat);
    // Counted now so that psdr_free releases what a failing read leaves behind.
    doc->pattern_count++;
    uint32_t mode = psdr_read_uint32(doc);
    pat->image_mode = mode;
    if (mode > 9 || mode == 5 || mode == 6)
        return PSDR_ERR_MODE;
    pat->height = psdr_read_int16(doc);
    pat->width = psdr_read_int16(doc);
    int32_t name_length = psdr_read_int32(doc);
    if (name_length > 0)
    {
        if ((int64_t)name_length * 2 > psdr_left(doc))
            return PSDR_ERR_RANGE;
        pat->name = (uint16_t*)malloc((size_t)name_length * 2);
        if (!pat->name)
            return PSDR_ERR_MEMORY;
        psdr_read(doc, pat->name, (int64_t)name_length * 2);
        pat->name_length = name_length;
    }
    {
        uint8_t n = psdr_read_byte(doc);
        int64_t got = psdr_read(doc, pat->unique_id, n);
        pat->unique_id[got] = 0;
    }
    uint32_t palette[256];
    if (mode == PSDR_MODE_INDEXED)
    {
        uint8_t rgb[768];
        memset(rgb, 0, sizeof rgb);
        psdr_read(doc, rgb, 768);
        for (int i = 0; i < 256; ++i)
            palette[i] =
                0xFF000000u | (uint32_t)rgb[3 * i] << 16 | (uint32_t)rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
    }
    pat->vma_version = psdr_read_uint32(doc);
    psdr_read_uint32(doc); // length
    pat->top = (int16_t)psdr_read_int32(doc);
    pat->left = (int16_t)psdr_read_int32(doc);
    pat->bottom = (int16_t)psdr_read_int32(doc);
    pat->right = (int16_t)psdr_read_int32(doc);
    int32_t channel_count = psdr_read_int32(doc);
    if (pat->width < 0 || pat->height < 0)
        return PSDR_ERR_RANGE;

    const int32_t depth = doc->depth;
    const int64_t plane = psdr_plane_size(depth, pat->width, pat->height);
    const int32_t planes = psdr_pattern_planes(mode);
    int32_t pattern_depth = -1;
    int32_t decoded = 0;
    for (int32_t visited = 0; visited < channel_count && psdr_left(doc) > 12; ++visited)
    {
        // A channel that is not written, or written empty, has nothing after its flag or length.
        uint32_t written = psdr_read_uint32(doc);
        if (written == 0)
            continue;
        int64_t channel_length = psdr_read_uint32(doc);
        if (channel_length == 0)
            continue;
        psdr_block channel;
        status = psdr_block_open(doc, channel_length, 1, &channel);
        if (status != PSDR_OK)
            return PSDR_ERR_SHORT;
        int32_t pixel_depth = psdr_read_int32(doc);
        if (pattern_depth < 0)
            pattern_depth = pixel_depth;
        psdr_skip(doc, 18);
        int32_t method = psdr_read_byte(doc);
        int64_t size = channel_length - 23;
        if ((written & 0xFF) == 1 && size > 0 && decoded < planes && plane > 0)
        {
            if (decoded == 0)
            {
                if (plane * planes > doc->reader->budget)
                    return PSDR_ERR_RANGE;
                status = psdr_grow(&doc->channel_scratch, &doc->channel_scratch_capacity, plane * planes, 0);
                if (status != PSDR_OK)
                    return status;
            }
            status = psdr_grow(&doc->compressed_scratch, &doc->compressed_scratch_capacity, size, 0);
            if (status != PSDR_OK)
                return status;
            if (psdr_read(doc, doc->compressed_scratch, size) != size)
                return PSDR_ERR_SHORT;
            if (method > 3)
                return PSDR_ERR_COMPRESSION;
            const int64_t row_bytes = plane / (pat->height > 0 ? pat->height : 1);
            status = psdr_decode_plane(doc, method, doc->compressed_scratch, size,
                                       doc->channel_scratch + decoded * plane, plane, pat->height, row_bytes,
                                       depth == 1 ? (int32_t)row_bytes : pat->width);
            if (status != PSDR_OK)
                return status;
            ++decoded;
        }
        psdr_block_close(doc, &channel);
    }
    pat->channel_count = decoded;

    const int64_t pixels = (int64_t)pat->width * pat->height;
    if (pixels > 0)
    {
        status = psdr_charge(doc, pixels * 4);
        if (status != PSDR_OK)
            return status;
        pat->pixels = (uint32_t*)calloc((size_t)pixels, 4);
        if (!pat->pixels)
            return PSDR_ERR_MEMORY;
        if (decoded > 0)
        {
            psdr_planes p;
            memset(&p, 0, sizeof p);
            p.width = pat->width;
            p.height = pat->height;
            p.depth = depth;
            p.transparent_index = -1;
            const int32_t needed = psdr_mode_planes(mode);
            for (int32_t i = 0; i < decoded && i < 4; ++i)
                p.colour[i] = doc->channel_scratch + i * plane;
            if (decoded == needed + 1 && mode != PSDR_MODE_MULTICHANNEL && mode != PSDR_MODE_INDEXED &&
                mode != PSDR_MODE_BITMAP)
                p.alpha = doc->channel_scratch + needed * plane;
            p.four_planes = decoded >= 4;
            if (mode == PSDR_MODE_INDEXED)
            {
                p.palette = palette;
                p.palette_count = 256;
                if (depth == 8)
                    psdr_convert(mode, &p, pat->pixels);
            }
            else if (mode == PSDR_MODE_BITMAP)
            {
                if (pattern_depth == 1 && depth == 1)
                    psdr_convert(mode, &p, pat->pixels);
            }
            else
                psdr_convert(mode, &p, pat->pixels);
        }
    }
    return PSDR_OK;
}

// One pattern; the stream always ends at the pattern's end, whatever its reader met.
static psdr_status psdr_read_pattern(psdr_document* doc)
{
    int64_t length = psdr_read_uint32(doc);
    psdr_block block;
    psdr_status status = psdr_block_open(doc, length, 4, &block);
    if (status != PSDR_OK)
        return status;
    status = psdr_read_pattern_body(doc);
    psdr_block_close(doc, &block);
    return status;
}

psdr_status psdr_read_layer_and_mask(psdr_document* doc)
{
    int32_t length = psdr_read_int32(doc);
    if (length <= 0)
        return PSDR_OK;
    psdr_block section;
    psdr_status status = psdr_block_open(doc, length, 1, &section);
    if (status != PSDR_OK)
        return status;
    const int32_t tag = doc->load_tag;
    if (tag == PSDR_LOAD_MERGED || tag == PSDR_LOAD_THUMBNAIL || tag == PSDR_LOAD_EXIF)
    {
        // The sign of the stored layer count still tells whether the merged image has transparency.
        if (psdr_read_int32(doc) > 0)
        {
            int16_t count = psdr_read_int16(doc);
            doc->stored_layer_count_sign = (int8_t)(count < 0 ? -1 : count > 0 ? 1 : 0);
        }
        psdr_block_close(doc, &section);
        return PSDR_OK;
    }
    status = psdr_read_layer_info(doc);
    psdr_release_scratch(doc);
    if (status != PSDR_OK)
        return status;

    int32_t mask_length = psdr_read_int32(doc);
    psdr_block mask;
    status = psdr_block_open(doc, mask_length, 1, &mask);
    if (status != PSDR_OK)
        return status;
    if (mask_length > 0)
    {
        doc->global_mask_colour = psdr_read_colour(doc);
        doc->global_mask_opacity = psdr_read_int16(doc);
        doc->global_mask_kind = psdr_read_byte(doc);
    }
    psdr_block_close(doc, &mask);

    psdr_status last = PSDR_OK;
    while (psdr_left(doc) > 12)
    {
        uint32_t sig = psdr_read_uint32(doc);
        if (sig != kSig8BIM && sig != kSig8B64)
            break;
        uint32_t key = psdr_read_uint32(doc);
        if (key == PSDR_KEY('L', 'r', '1', '6'))
        {
            last = psdr_read_layer_info(doc);
            psdr_release_scratch(doc);
            if (last != PSDR_OK)
                break;
            continue;
        }
        int64_t block_length = psdr_read_uint32(doc);
        psdr_block block;
        if (psdr_block_open(doc, block_length, 4, &block) != PSDR_OK)
            break;
        if ((key == PSDR_KEY('P', 'a', 't', 't') || key == PSDR_KEY('P', 'a', 't', '2')) && block_length > 3)
        {
            while (psdr_left(doc) >= 4)
            {
                last = psdr_read_pattern(doc);
                // A pattern whose data are cut short cannot be stepped over.
                if (last == PSDR_ERR_SHORT || last == PSDR_ERR_MEMORY || last == PSDR_ERR_RANGE)
                    break;
            }
            psdr_release_scratch(doc);
        }
        psdr_block_close(doc, &block);
        if (last == PSDR_ERR_MEMORY)
            break;
    }
    psdr_block_close(doc, &section);
    return last;
}
