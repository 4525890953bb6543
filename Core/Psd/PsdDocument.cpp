// Entry points, section state machine, header, colour-mode data and image resources.

#include "Core/Psd/PsdInternal.h"

#include <stdlib.h>
#include <string.h>

// Decoded images may be at most this many times the file size, plus a fixed allowance:
// ZIP expands at most about 1032:1, PackBits 64:1.
static const int64_t kExpansion = 1100;
static const int64_t kAllowance = 64ll << 20;
// Largest file a version-1 document can describe with its 32-bit section lengths.
static const int64_t kMaxFileSize = 0x7fffffffll;

static psdr_status psdr_read_sections(psdr_document* doc)
{
    if (doc->reader->file_size <= 0)
        return PSDR_ERR_SHORT;
    for (;;)
    {
        psdr_status status = PSDR_OK;
        switch (doc->section_state)
        {
        case 0:
            status = psdr_read_header(doc);
            doc->section_state = doc->load_tag == PSDR_LOAD_HEADER ? 5 : 1;
            break;
        case 1:
            status = psdr_read_colour_mode_data(doc);
            doc->section_state = 2;
            break;
        case 2:
            status = psdr_read_image_resources(doc);
            doc->section_state = 3;
            break;
        case 3:
            status = psdr_read_layer_and_mask(doc);
            doc->section_state = 4;
            break;
        case 4:
            status = psdr_read_image_data(doc);
            doc->section_state = 5;
            break;
        default:
            return PSDR_OK;
        }
        if (status != PSDR_OK)
            return status;
        if (doc->reader->failed)
            return PSDR_ERR_SHORT;
    }
}

static void psdr_close_reader(psdr_document* doc, int close_file)
{
    psdr_reader* r = doc->reader;
    if (!r)
        return;
    if (close_file && r->file)
        fclose(r->file);
    free(r->buffer);
    free(r);
    doc->reader = NULL;
}

static psdr_status psdr_run(psdr_document* doc, FILE* file, int close_file, psdr_document** out)
{
    psdr_reader* r = (psdr_reader*)calloc(1, sizeof(psdr_reader));
    if (!r)
    {
        if (close_file)
            fclose(file);
        psdr_free(doc);
        *out = NULL;
        return PSDR_ERR_MEMORY;
    }
    doc->reader = r;
    r->file = file;
    int64_t start = ftello(file);
    if (start < 0 || fseeko(file, 0, SEEK_END) != 0)
        r->file_size = 0;
    else
        r->file_size = ftello(file) - start;
    fseeko(file, start < 0 ? 0 : start, SEEK_SET);
    r->limit = r->file_size;
    r->budget = r->file_size * kExpansion + kAllowance;

    psdr_status status = r->file_size > kMaxFileSize ? PSDR_ERR_RANGE : psdr_read_sections(doc);
    psdr_close_reader(doc, close_file);
    doc->file_name = NULL;
    if (status != PSDR_OK)
    {
        psdr_free(doc);
        *out = NULL;
        return status;
    }
    *out = doc;
    return PSDR_OK;
}

psdr_status psdr_load(psdr_document** out, const char* path)
{
    return psdr_load_part(path, out, PSDR_LOAD_ALL);
}

psdr_status psdr_load_part(const char* path, psdr_document** out, int32_t load_tag)
{
    if (!out)
        return PSDR_ERR_ARGUMENT;
    if (!path)
        return PSDR_ERR_OPEN;
    psdr_document* doc = (psdr_document*)calloc(1, sizeof(psdr_document));
    if (!doc)
        return PSDR_ERR_MEMORY;
    FILE* file = fopen(path, "rb");
    if (!file)
    {
        free(doc);
        return PSDR_ERR_OPEN;
    }
    doc->file_name = path;
    doc->load_tag = load_tag;
    return psdr_run(doc, file, 1, out);
}

psdr_status psdr_load_stream(FILE* file, psdr_document** out, int32_t load_tag)
{
    if (!out)
        return PSDR_ERR_ARGUMENT;
    if (!file)
        return PSDR_ERR_OPEN;
    psdr_document* doc = (psdr_document*)calloc(1, sizeof(psdr_document));
    if (!doc)
        return PSDR_ERR_MEMORY;
    doc->load_tag = load_tag;
    return psdr_run(doc, file, 0, out);
}

psdr_status psdr_free(psdr_document* doc)
{
    if (!doc)
        return PSDR_ERR_ARGUMENT;
    free(doc->palette);
    if (doc->alpha_channels)
    {
        for (int i = 0; i < doc->alpha_channel_count; ++i)
        {
            free(doc->alpha_channels[i].unicode_name);
            free(doc->alpha_channels[i].pixels);
        }
        free(doc->alpha_channels);
    }
    free(doc->layer_group_ids);
    free(doc->thumbnail_pixels);
    free(doc->writer_name);
    free(doc->reader_name);
    psdr_free_layers(doc);
    free(doc->compressed_scratch);
    if (doc->patterns)
    {
        for (int i = 0; i < doc->pattern_count; ++i)
        {
            free(doc->patterns[i].name);
            free(doc->patterns[i].pixels);
        }
        free(doc->patterns);
    }
    free(doc->merged_image);
    free(doc->channel_scratch);
    psdr_close_reader(doc, 1);
    free(doc);
    return PSDR_OK;
}

int32_t psdr_mode_planes(uint32_t mode)
{
    switch (mode)
    {
    case PSDR_MODE_RGB:
    case PSDR_MODE_LAB:
        return 3;
    case PSDR_MODE_CMYK:
        return 4;
    case PSDR_MODE_MULTICHANNEL:
        return 1;
    default:
        return 1;
    }
}

psdr_status psdr_read_header(psdr_document* doc)
{
    uint8_t h[26];
    if (psdr_read(doc, h, 26) != 26)
        return PSDR_ERR_SHORT;
    if (memcmp(h, "8BPS", 4) != 0)
        return PSDR_ERR_SIGNATURE;
    if (h[4] != 0 || h[5] != 1)
        return PSDR_ERR_VERSION;
    doc->channel_count = (uint16_t)(h[12] << 8 | h[13]);
    doc->colour_channel_count = (int16_t)doc->channel_count;
    doc->height = (int32_t)((uint32_t)h[14] << 24 | (uint32_t)h[15] << 16 | (uint32_t)h[16] << 8 | h[17]);
    doc->width = (int32_t)((uint32_t)h[18] << 24 | (uint32_t)h[19] << 16 | (uint32_t)h[20] << 8 | h[21]);
    doc->depth = (uint16_t)(h[22] << 8 | h[23]);
    doc->colour_mode = (uint32_t)(h[24] << 8 | h[25]);
    if (doc->depth != 1 && doc->depth != 8 && doc->depth != 16)
        return PSDR_ERR_DEPTH;
    switch (doc->colour_mode)
    {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 8:
    case 9:
        break;
    default:
        return PSDR_ERR_MODE;
    }
    // Bitmap documents are 1-bit and only they are; indexed documents are 8-bit.
    if ((doc->colour_mode == PSDR_MODE_BITMAP) != (doc->depth == 1))
        return PSDR_ERR_DEPTH;
    if (doc->colour_mode == PSDR_MODE_INDEXED && doc->depth != 8)
        return PSDR_ERR_DEPTH;
    if (doc->width < 1 || doc->width > PSDR_MAX_SIDE || doc->height < 1 || doc->height > PSDR_MAX_SIDE)
        return PSDR_ERR_RANGE;
    if (doc->channel_count < 1 || doc->channel_count > PSDR_MAX_CHANNELS)
        return PSDR_ERR_RANGE;
    if ((int32_t)doc->channel_count < psdr_mode_planes(doc->colour_mode) &&
        doc->colour_mode != PSDR_MODE_MULTICHANNEL)
        return PSDR_ERR_RANGE;
    return PSDR_OK;
}

psdr_status psdr_read_colour_mode_data(psdr_document* doc)
{
    int32_t length = psdr_read_int32(doc);
    if (length <= 0)
        return PSDR_OK;
    psdr_block block;
    psdr_status status = psdr_block_open(doc, length, 1, &block);
    if (status != PSDR_OK)
        return status;
    int32_t count = length / 3;
    if (count > 0)
    {
        uint8_t* planes = (uint8_t*)calloc((size_t)count, 3);
        uint32_t* palette = (uint32_t*)malloc((size_t)count * sizeof(uint32_t));
        if (!planes || !palette)
        {
            free(planes);
            free(palette);
            return PSDR_ERR_MEMORY;
        }
        psdr_read(doc, planes, (int64_t)count * 3);
        for (int32_t i = 0; i < count; ++i)
            palette[i] = 0xFF000000u | (uint32_t)planes[i] << 16 | (uint32_t)planes[count + i] << 8 |
                         planes[2 * count + i];
        free(planes);
        doc->palette = palette;
        doc->palette_size = count;
    }
    psdr_block_close(doc, &block);
    return PSDR_OK;
}

// Length-prefixed string padded to an even size, copied into a 256-byte field.
static void psdr_read_pascal_even(psdr_document* doc, char* out)
{
    uint8_t n = psdr_read_byte(doc);
    char tmp[256];
    int64_t got = psdr_read(doc, tmp, n);
    memcpy(out, tmp, (size_t)got);
    out[got] = 0;
    if ((n & 1) == 0)
        psdr_skip(doc, 1);
}

static int psdr_tag_wants(int32_t tag, int id)
{
    int thumbnail = id == 1033 || id == 1036;
    int alpha = id == 1006 || id == 1045 || id == 1053;
    switch (tag)
    {
    case PSDR_LOAD_NO_THUMBNAIL:
        return !thumbnail;
    case PSDR_LOAD_MERGED:
        return alpha;
    case PSDR_LOAD_THUMBNAIL:
        return thumbnail;
    case PSDR_LOAD_EXIF:
        return 0; // EXIF resources are skipped and nothing else is wanted
    default:
        return 1;
    }
}

// The first of the alpha resources fixes the count; it never exceeds the planes beyond the
// colour planes the mode needs.
static psdr_status psdr_fix_alpha_count(psdr_document* doc, int64_t count)
{
    if (doc->alpha_channel_count != 0 || doc->alpha_channels)
        return PSDR_OK;
    int64_t spare = (int64_t)doc->channel_count - psdr_mode_planes(doc->colour_mode);
    if (spare < 0)
        spare = 0;
    if (count > spare)
        count = spare;
    if (count <= 0)
        return PSDR_OK;
    doc->alpha_channels = (psdr_alpha_channel*)calloc((size_t)count, sizeof(psdr_alpha_channel));
    if (!doc->alpha_channels)
        return PSDR_ERR_MEMORY;
    doc->alpha_channel_count = (int16_t)count;
    doc->colour_channel_count = (int16_t)(doc->channel_count - count);
    return PSDR_OK;
}

static psdr_status psdr_read_units(psdr_document* doc, int32_t* length, uint16_t** units)
{
    int32_t n = psdr_read_int32(doc);
    if (n <= 0)
        return PSDR_OK;
    if ((int64_t)n * 2 > psdr_left(doc))
        return PSDR_ERR_RANGE;
    uint16_t* u = (uint16_t*)malloc((size_t)n * 2);
    if (!u)
        return PSDR_ERR_MEMORY;
    psdr_read(doc, u, (int64_t)n * 2);
    free(*units);
    *units = u;
    *length = n;
    return PSDR_OK;
}

static psdr_status psdr_read_resource(psdr_document* doc, int id, int64_t length)
{
    psdr_status status = PSDR_OK;
    switch (id)
    {
    case 1005:
        doc->resolution_present = 1;
        doc->horizontal_resolution = (float)psdr_read_int32(doc) / 65536.0f;
        doc->horizontal_resolution_unit = psdr_read_int16(doc);
        doc->width_unit = psdr_read_int16(doc);
        doc->vertical_resolution = (float)psdr_read_int32(doc) / 65536.0f;
        doc->vertical_resolution_unit = psdr_read_int16(doc);
        doc->height_unit = psdr_read_int16(doc);
        break;
    case 1007:
        doc->display_info_present = 1;
        doc->display_colour = psdr_read_colour(doc);
        doc->display_opacity = psdr_read_int16(doc);
        doc->display_kind = psdr_read_byte(doc);
        break;
    case 1008:
        psdr_read_pascal_even(doc, doc->caption);
        break;
    case 1024:
        doc->target_layer = psdr_read_int16(doc);
        break;
    case 1026:
    {
        int64_t count = length / 2;
        if (count <= 0)
            break;
        int16_t* ids = (int16_t*)malloc((size_t)count * 2);
        if (!ids)
            return PSDR_ERR_MEMORY;
        for (int64_t i = 0; i < count; ++i)
            ids[i] = psdr_read_int16(doc);
        free(doc->layer_group_ids);
        doc->layer_group_ids = ids;
        doc->layer_group_count = (int32_t)count;
        doc->layer_groups_present = 1;
        break;
    }
    case 1033:
    case 1036:
    {
        free(doc->thumbnail_pixels);
        doc->thumbnail_pixels = NULL;
        doc->thumbnail_present = 1;
        doc->thumbnail_format = psdr_read_uint32(doc);
        doc->thumbnail_width = psdr_read_uint32(doc);
        doc->thumbnail_height = psdr_read_uint32(doc);
        doc->thumbnail_width_bytes = psdr_read_uint32(doc);
        doc->thumbnail_total_size = psdr_read_uint32(doc);
        doc->thumbnail_compressed_size = psdr_read_uint32(doc);
        doc->thumbnail_bits_per_pixel = psdr_read_int16(doc);
        doc->thumbnail_planes = psdr_read_int16(doc);
        if (doc->thumbnail_format != 0)
            return psdr_read_thumbnail(doc, doc->thumbnail_compressed_size);
        break;
    }
    case 1034:
        doc->resource_1034_flag = (uint8_t)psdr_read_int16(doc);
        break;
    case 1042:
        doc->effects_visible = (uint8_t)psdr_read_int16(doc);
        break;
    case 1037:
        doc->global_angle = psdr_read_int32(doc);
        break;
    case 1049:
        doc->global_altitude = psdr_read_int32(doc);
        break;
    case 1046:
        doc->indexed_colour_count = psdr_read_int16(doc);
        doc->indexed_colour_count_present = 1;
        break;
    case 1047:
        doc->transparent_index = psdr_read_int16(doc);
        doc->transparent_index_present = 1;
        break;
    case 1053:
    {
        status = psdr_fix_alpha_count(doc, length / 4);
        if (status != PSDR_OK)
            return status;
        doc->alpha_info_present = 1;
        for (int i = 0; i < doc->alpha_channel_count && psdr_left(doc) >= 4; ++i)
            doc->alpha_channels[i].identifier = psdr_read_int32(doc);
        break;
    }
    case 1057:
        doc->version_info_present = 1;
        doc->version = psdr_read_uint32(doc);
        doc->has_real_merged_data = psdr_read_bool(doc);
        status = psdr_read_units(doc, &doc->writer_name_length, &doc->writer_name);
        if (status == PSDR_OK)
            status = psdr_read_units(doc, &doc->reader_name_length, &doc->reader_name);
        doc->file_version = psdr_read_uint32(doc);
        if (status == PSDR_ERR_RANGE)
            status = PSDR_OK; // a damaged name leaves the rest of the block unread
        break;
    default:
        break;
    }
    return status;
}

// Alpha names (1006) and Unicode alpha names (1045) are read from an in-memory copy of the
// block: they are counted before they are stored.
static psdr_status psdr_read_alpha_names(psdr_document* doc, int id, int64_t length)
{
    uint8_t* data = (uint8_t*)malloc((size_t)length);
    if (!data)
        return PSDR_ERR_MEMORY;
    int64_t size = psdr_read(doc, data, length);
    int64_t count = 0;
    if (id == 1006)
    {
        for (int64_t at = 0; at < size; at += 1 + data[at])
            ++count;
    }
    else
    {
        for (int64_t at = 0; at + 4 <= size; ++count)
        {
            uint32_t n = (uint32_t)data[at] << 24 | (uint32_t)data[at + 1] << 16 |
                         (uint32_t)data[at + 2] << 8 | data[at + 3];
            at += 4 + (int64_t)n * 2;
        }
    }
    psdr_status status = psdr_fix_alpha_count(doc, count);
    if (status != PSDR_OK)
    {
        free(data);
        return status;
    }
    doc->alpha_info_present = 1;
    int64_t at = 0;
    for (int i = 0; i < doc->alpha_channel_count && at < size; ++i)
    {
        psdr_alpha_channel* ch = &doc->alpha_channels[i];
        if (id == 1006)
        {
            int64_t n = data[at];
            int64_t avail = size - at - 1;
            if (n > avail)
                n = avail;
            memcpy(ch->name, data + at + 1, (size_t)n);
            ch->name[n] = 0;
            at += 1 + data[at];
        }
        else
        {
            if (at + 4 > size)
                break;
            int64_t n = (int64_t)((uint32_t)data[at] << 24 | (uint32_t)data[at + 1] << 16 |
                                  (uint32_t)data[at + 2] << 8 | data[at + 3]);
            at += 4;
            int64_t avail = (size - at) / 2;
            if (n > avail)
                n = avail;
            if (n > 0)
            {
                uint16_t* units = (uint16_t*)malloc((size_t)n * 2);
                if (!units)
                {
                    free(data);
                    return PSDR_ERR_MEMORY;
                }
                memcpy(units, data + at, (size_t)n * 2);
                free(ch->unicode_name);
                ch->unicode_name = units;
                ch->unicode_name_length = (int32_t)n;
            }
            at += n * 2;
        }
    }
    free(data);
    return PSDR_OK;
}

psdr_status psdr_read_image_resources(psdr_document* doc)
{
    doc->global_angle = 30;
    doc->global_altitude = 30;
    int32_t length = psdr_read_int32(doc);
    if (length <= 0)
        return PSDR_OK;
    psdr_block section;
    psdr_status status = psdr_block_open(doc, length, 1, &section);
    if (status != PSDR_OK)
        return status;
    // The smallest block is 12 bytes: signature, id, empty name, length.
    while (status == PSDR_OK && psdr_left(doc) >= 12)
    {
        if (psdr_read_uint32(doc) != PSDR_KEY('8', 'B', 'I', 'M'))
        {
            status = PSDR_ERR_RESOURCE;
            break;
        }
        int id = (uint16_t)psdr_read_int16(doc);
        uint8_t n = psdr_read_byte(doc);
        psdr_skip(doc, (n & 1) ? n : n + 1);
        int64_t data_length = (int64_t)psdr_read_uint32(doc);
        psdr_block block;
        status = psdr_block_open(doc, data_length, 2, &block);
        if (status != PSDR_OK)
            break;
        if (data_length > 0 && psdr_tag_wants(doc->load_tag, id))
        {
            if (id == 1006 || id == 1045)
                status = psdr_read_alpha_names(doc, id, data_length);
            else
                status = psdr_read_resource(doc, id, data_length);
        }
        psdr_block_close(doc, &block);
    }
    psdr_block_close(doc, &section);
    return status;
}
