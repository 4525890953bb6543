// Adjustment, fill and type-tool blocks, and the dispatch of every attached block of a layer.

#include "Core/Psd/PsdDescriptor.h"

#include <stdlib.h>
#include <string.h>

static void psdr_read_level(psdr_document* doc, psdr_level_record* r)
{
    r->input_floor = psdr_read_int16(doc);
    r->input_ceiling = psdr_read_int16(doc);
    r->output_floor = psdr_read_int16(doc);
    r->output_ceiling = psdr_read_int16(doc);
    r->gamma = (float)psdr_read_int16(doc) / 100.0f;
}

static psdr_status psdr_read_levels(psdr_document* doc, psdr_levels* l)
{
    if (psdr_read_int16(doc) != 2)
        return PSDR_ERR_LEVELS_VERSION;
    for (int i = 0; i < 29; ++i)
        psdr_read_level(doc, &l->records[i]);
    if (psdr_left(doc) > 4)
    {
        if (psdr_read_uint32(doc) != PSDR_KEY('L', 'v', 'l', 's'))
            return PSDR_ERR_LEVELS_EXTENSION;
        if (psdr_read_int16(doc) != 3)
            return PSDR_ERR_LEVELS_EXTENSION_VERSION;
        uint16_t extra = (uint16_t)(psdr_read_int16(doc) - 29);
        // Ten bytes a record: more than the block holds is a damaged count.
        if ((int64_t)extra * 10 > psdr_left(doc))
            return PSDR_ERR_LEVELS_LENGTH;
        if (extra > 0)
        {
            l->extra = (psdr_level_record*)calloc(extra, sizeof(psdr_level_record));
            if (!l->extra)
                return PSDR_ERR_MEMORY;
            l->extra_count = extra;
            for (uint16_t i = 0; i < extra; ++i)
                psdr_read_level(doc, &l->extra[i]);
        }
    }
    // Writers pad the block; only a whole unread record is a length fault.
    if (psdr_left(doc) >= 10)
        return PSDR_ERR_LEVELS_LENGTH;
    return PSDR_OK;
}

// Points beyond the 19 a curve holds are read and dropped.
static void psdr_read_points(psdr_document* doc, psdr_curve* c, uint16_t count)
{
    for (uint32_t p = 0; p < count && psdr_left(doc) >= 4; ++p)
    {
        int16_t out = psdr_read_int16(doc), in = psdr_read_int16(doc);
        if (p < PSDR_CURVE_POINTS)
        {
            c->output[p] = out;
            c->input[p] = in;
        }
    }
}

static psdr_status psdr_read_curves(psdr_document* doc, psdr_layer* layer, psdr_curves* c)
{
    psdr_skip(doc, 1);
    int16_t version = psdr_read_int16(doc);
    if (version != 1 && version != 4)
        return PSDR_ERR_CURVES_VERSION;
    uint32_t bits = psdr_read_uint32(doc);
    int count = 0;
    for (int b = 0; b < 32; ++b)
        count += (bits >> b) & 1;
    if (count > 0)
    {
        c->curves = (psdr_curve*)calloc((size_t)count, sizeof(psdr_curve));
        if (!c->curves)
            return PSDR_ERR_MEMORY;
    }
    c->count = (uint16_t)count;
    uint16_t stored[32];
    for (int b = 0, j = 0; b < 32; ++b)
    {
        if (!((bits >> b) & 1))
            continue;
        psdr_curve* curve = &c->curves[j];
        curve->channel = (int16_t)b;
        uint16_t points = (uint16_t)psdr_read_int16(doc);
        stored[j++] = points;
        curve->point_count = (uint16_t)(points < (int)PSDR_CURVE_POINTS ? points : (int)PSDR_CURVE_POINTS);
        psdr_read_points(doc, curve, points);
    }
    if (psdr_left(doc) > 4)
    {
        if (psdr_read_uint32(doc) != PSDR_KEY('C', 'r', 'v', ' '))
            return PSDR_ERR_CURVES_EXTENSION;
        if (psdr_read_int16(doc) != 4)
            return PSDR_ERR_CURVES_EXTENSION_VERSION;
        if (psdr_read_uint32(doc) != (uint32_t)count)
            return PSDR_OK; // an extension that disagrees leaves the stored curves
        for (int j = 0; j < count; ++j)
        {
            psdr_curve* curve = &c->curves[j];
            int16_t channel = psdr_read_int16(doc);
            uint16_t points = (uint16_t)psdr_read_int16(doc);
            if (points != stored[j])
                return PSDR_OK;
            curve->channel = channel;
            for (uint32_t p = 0; p < points && psdr_left(doc) >= 4; ++p)
            {
                int16_t out = psdr_read_int16(doc), in = psdr_read_int16(doc);
                if (p < PSDR_CURVE_POINTS && (curve->output[p] != out || curve->input[p] != in))
                    return PSDR_OK;
            }
        }
    }
    layer->adjustment = 1;
    return PSDR_OK;
}

static psdr_status psdr_read_gradient_map(psdr_document* doc, psdr_gradient_map* g)
{
    // Version 3, written by current editors, adds the interpolation method after the flags.
    g->version = psdr_read_int16(doc);
    if (g->version != 1 && g->version != 3)
        return PSDR_ERR_GRADIENT_MAP_VERSION;
    g->reversed = psdr_read_bool(doc);
    g->dithered = psdr_read_bool(doc);
    if (g->version == 3)
        g->method = psdr_read_uint32(doc);
    int64_t n = psdr_read_uint32(doc);
    if (n > 0)
    {
        if (n * 2 > psdr_left(doc))
            n = psdr_left(doc) / 2;
        g->name = (uint16_t*)malloc((size_t)n * 2 + 2);
        if (!g->name)
            return PSDR_ERR_MEMORY;
        psdr_read(doc, g->name, n * 2);
        g->name[n] = 0;
        g->name_length = (int32_t)n;
    }
    // Stop lists are sized by what the block can hold: 20 bytes a colour stop, 10 a transparency stop.
    int64_t colours = (uint16_t)psdr_read_int16(doc);
    if (colours > psdr_left(doc) / 20)
        colours = psdr_left(doc) / 20;
    if (colours > 0)
    {
        g->colour_stops = (psdr_colour_stop*)calloc((size_t)colours, sizeof(psdr_colour_stop));
        if (!g->colour_stops)
            return PSDR_ERR_MEMORY;
        g->colour_stop_count = (int32_t)colours;
        for (int64_t i = 0; i < colours; ++i)
        {
            psdr_colour_stop* s = &g->colour_stops[i];
            s->location = psdr_read_int32(doc);
            s->midpoint = psdr_read_int32(doc);
            s->colour = psdr_read_colour(doc);
            psdr_skip(doc, 2);
            s->type = 2;
        }
    }
    int64_t alphas = (uint16_t)psdr_read_int16(doc);
    if (alphas > psdr_left(doc) / 10)
        alphas = psdr_left(doc) / 10;
    if (alphas > 0)
    {
        g->transparency_stops =
            (psdr_transparency_stop*)calloc((size_t)alphas, sizeof(psdr_transparency_stop));
        if (!g->transparency_stops)
            return PSDR_ERR_MEMORY;
        g->transparency_stop_count = (int32_t)alphas;
        for (int64_t i = 0; i < alphas; ++i)
        {
            psdr_transparency_stop* s = &g->transparency_stops[i];
            s->location = psdr_read_int32(doc);
            s->midpoint = psdr_read_int32(doc);
            s->opacity = psdr_read_int16(doc);
        }
    }
    g->expansion_count = psdr_read_int16(doc);
    if (g->expansion_count > 0)
    {
        g->interpolation = psdr_read_int16(doc);
        g->length = psdr_read_int16(doc);
        if (g->length >= 32)
        {
            g->mode = psdr_read_int16(doc);
            g->random_seed = psdr_read_int32(doc);
            g->show_transparency = psdr_read_int16(doc);
            g->use_vector_colour = psdr_read_int16(doc);
            g->roughness = psdr_read_int32(doc);
            int32_t model = psdr_read_int16(doc);
            uint32_t* colours2[2] = {&g->minimum_colour, &g->maximum_colour};
            for (uint32_t* out : colours2)
            {
                int32_t c[4];
                for (int i = 0; i < 4; ++i)
                    c[i] = (uint16_t)(psdr_read_int16(doc) >> 8);
                *out = psdr_colour_to_argb(model, c[0], c[1], c[2], c[3], NULL);
            }
            psdr_skip(doc, 2);
        }
    }
    return PSDR_OK;
}

static void psdr_read_pascal(psdr_document* doc, char* out)
{
    uint8_t n = psdr_read_byte(doc);
    int64_t got = psdr_read(doc, out, n);
    out[got] = 0;
}

static psdr_status psdr_read_type_tool(psdr_document* doc, psdr_type_tool* t)
{
    // The version words before the transform and the face list are part of the layout.
    psdr_read_int16(doc);
    for (int i = 0; i < 6; ++i)
        t->transform[i] = psdr_read_double(doc);
    psdr_read_int16(doc);
    int16_t faces = psdr_read_int16(doc);
    if (faces > 0 && faces <= psdr_left(doc) / 12)
    {
        t->faces = (psdr_type_face*)calloc((size_t)faces, sizeof(psdr_type_face));
        if (!t->faces)
            return PSDR_ERR_MEMORY;
        t->face_count = faces;
        for (int16_t i = 0; i < faces; ++i)
        {
            psdr_type_face* f = &t->faces[i];
            f->mark = psdr_read_int16(doc);
            f->font_type = psdr_read_int32(doc);
            psdr_read_pascal(doc, f->font_name);
            psdr_read_pascal(doc, f->family_name);
            psdr_read_pascal(doc, f->style_name);
            f->script = psdr_read_int16(doc);
            int32_t axes = psdr_read_int32(doc);
            if (axes > 0 && axes <= psdr_left(doc) / 4)
            {
                f->design_vector = (int32_t*)malloc((size_t)axes * 4);
                if (!f->design_vector)
                    return PSDR_ERR_MEMORY;
                f->design_axis_count = axes;
                for (int32_t a = 0; a < axes; ++a)
                    f->design_vector[a] = psdr_read_int32(doc);
            }
            else if (axes != 0)
                return PSDR_OK; // a damaged axis count: the rest of the block is not trusted
        }
    }
    int16_t styles = psdr_read_int16(doc);
    if (styles > 0 && styles <= psdr_left(doc) / 27)
    {
        t->styles = (psdr_type_style*)calloc((size_t)styles, sizeof(psdr_type_style));
        if (!t->styles)
            return PSDR_ERR_MEMORY;
        t->style_count = styles;
        for (int16_t i = 0; i < styles; ++i)
        {
            psdr_type_style* s = &t->styles[i];
            s->mark = psdr_read_int16(doc);
            s->face_mark = psdr_read_int16(doc);
            s->size = psdr_read_int32(doc);
            s->tracking = psdr_read_int32(doc);
            s->kerning = psdr_read_int32(doc);
            s->leading = psdr_read_int32(doc);
            s->base_shift = psdr_read_int32(doc);
            s->auto_kern = psdr_read_bool(doc);
            psdr_skip(doc, 1);
            s->rotate = psdr_read_bool(doc);
        }
    }
    t->text_type = psdr_read_int16(doc);
    t->scaling_factor = psdr_read_int32(doc);
    t->character_count = psdr_read_int32(doc);
    t->horizontal_placement = psdr_read_int32(doc);
    t->vertical_placement = psdr_read_int32(doc);
    t->select_start = psdr_read_int32(doc);
    t->select_end = psdr_read_int32(doc);
    int16_t lines = psdr_read_int16(doc);
    if (lines > 0 && lines <= psdr_left(doc) / 12)
    {
        t->lines = (psdr_type_line*)calloc((size_t)lines, sizeof(psdr_type_line));
        if (!t->lines)
            return PSDR_ERR_MEMORY;
        t->line_count = lines;
        for (int16_t i = 0; i < lines; ++i)
        {
            psdr_type_line* l = &t->lines[i];
            l->character_count = psdr_read_int32(doc);
            l->orientation = psdr_read_int16(doc);
            l->alignment = psdr_read_int16(doc);
            l->actual_character = psdr_read_int16(doc);
            l->style = psdr_read_int16(doc);
        }
    }
    t->colour = psdr_read_colour(doc);
    t->anti_alias = psdr_read_bool(doc);
    return PSDR_OK;
}

static psdr_status psdr_read_solid_colour(psdr_document* doc, psdr_solid_colour* s)
{
    if (psdr_read_uint32(doc) != 16)
        return PSDR_ERR_SOLID_COLOUR_VERSION;
    int64_t count = psdr_descriptor_begin(doc, &s->class_id);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
    {
        if (psdr_key_is(&key, "Clr "))
            s->colour = psdr_read_descriptor_colour(doc, t);
        else
            psdr_skip_value(doc, t);
    }
    return PSDR_OK;
}

static psdr_status psdr_read_gradient_fill(psdr_document* doc, psdr_gradient_fill* g)
{
    g->scale = 100;
    g->align = 1;
    if (psdr_read_uint32(doc) != 16)
        return PSDR_ERR_GRADIENT_FILL_VERSION;
    int64_t count = psdr_descriptor_begin(doc, &g->class_id);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
    {
        if (psdr_key_is(&key, "Algn"))
            g->align = psdr_read_flag(doc, t);
        else if (psdr_key_is(&key, "Angl"))
            g->angle = psdr_read_number(doc, t);
        else if (psdr_key_is(&key, "Dthr"))
            g->dither = psdr_read_flag(doc, t);
        else if (psdr_key_is(&key, "Grad"))
            psdr_read_gradient(doc, t, &g->gradient);
        else if (psdr_key_is(&key, "Rvrs"))
            g->reverse = psdr_read_flag(doc, t);
        else if (psdr_key_is(&key, "Scl "))
            g->scale = psdr_read_int_number(doc, t);
        else if (psdr_key_is(&key, "Type"))
        {
            psdr_key v;
            uint32_t id = psdr_read_enum(doc, t, &v);
            g->type = id == PSDR_KEY('R', 'd', 'l', ' ')   ? 1
                      : id == PSDR_KEY('A', 'n', 'g', 'l') ? 2
                      : id == PSDR_KEY('R', 'f', 'l', 'c') ? 3
                      : id == PSDR_KEY('D', 'm', 'n', 'd') ? 4
                                                           : 0;
        }
        else
            psdr_skip_value(doc, t);
    }
    return PSDR_OK;
}

static psdr_status psdr_read_pattern_fill(psdr_document* doc, psdr_pattern_fill* p)
{
    if (psdr_read_uint32(doc) != 16)
        return PSDR_ERR_PATTERN_FILL_VERSION;
    int64_t count = psdr_descriptor_begin(doc, &p->class_id);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
    {
        if (psdr_key_is(&key, "Ptrn"))
            psdr_read_pattern_ref(doc, t, &p->pattern);
        else if (psdr_key_is(&key, "Scl "))
            p->scale = psdr_read_int_number(doc, t);
        else
            psdr_skip_value(doc, t);
    }
    return PSDR_OK;
}

typedef struct psdr_block_kind_info
{
    const char* key;
    int32_t kind;
    int32_t type; // -1 leaves the layer type
    size_t size;  // record size; 0 for no record
    int adjustment;
} psdr_block_kind_info;

static const psdr_block_kind_info kKinds[] = {
    {"levl", PSDR_BLOCK_LEVELS, PSDR_LAYER_LEVELS, sizeof(psdr_levels), 1},
    {"curv", PSDR_BLOCK_CURVES, PSDR_LAYER_CURVES, sizeof(psdr_curves), 0},
    {"brit", PSDR_BLOCK_BRIGHTNESS_CONTRAST, PSDR_LAYER_BRIGHTNESS_CONTRAST, sizeof(psdr_brightness_contrast),
     1},
    {"blnc", PSDR_BLOCK_COLOUR_BALANCE, PSDR_LAYER_COLOUR_BALANCE, sizeof(psdr_colour_balance), 1},
    {"hue2", PSDR_BLOCK_HUE_SATURATION, PSDR_LAYER_HUE_SATURATION, sizeof(psdr_hue_saturation), 1},
    {"selc", PSDR_BLOCK_SELECTIVE_COLOUR, PSDR_LAYER_SELECTIVE_COLOUR, sizeof(psdr_selective_colour), 1},
    {"thrs", PSDR_BLOCK_THRESHOLD, PSDR_LAYER_THRESHOLD, sizeof(psdr_threshold), 1},
    {"nvrt", PSDR_BLOCK_INVERT, PSDR_LAYER_INVERT, 0, 1},
    {"post", PSDR_BLOCK_POSTERIZE, PSDR_LAYER_POSTERIZE, sizeof(psdr_posterize), 1},
    {"mixr", PSDR_BLOCK_CHANNEL_MIXER, PSDR_LAYER_CHANNEL_MIXER, sizeof(psdr_channel_mixer), 1},
    {"grdm", PSDR_BLOCK_GRADIENT_MAP, PSDR_LAYER_GRADIENT_MAP, sizeof(psdr_gradient_map), 1},
    {"phfl", PSDR_BLOCK_PHOTO_FILTER, PSDR_LAYER_PHOTO_FILTER, sizeof(psdr_photo_filter), 1},
    {"tySh", PSDR_BLOCK_TYPE_TOOL, -1, sizeof(psdr_type_tool), 0},
    {"lrFX", PSDR_BLOCK_OLD_EFFECTS, -1, sizeof(psdr_effects), 0},
    {"lfx2", PSDR_BLOCK_EFFECTS, -1, sizeof(psdr_effects), 0},
    {"SoCo", PSDR_BLOCK_SOLID_COLOUR, PSDR_LAYER_SOLID_COLOUR, sizeof(psdr_solid_colour), 0},
    {"GdFl", PSDR_BLOCK_GRADIENT_FILL, PSDR_LAYER_GRADIENT_FILL, sizeof(psdr_gradient_fill), 0},
    {"PtFl", PSDR_BLOCK_PATTERN_FILL, PSDR_LAYER_PATTERN_FILL, sizeof(psdr_pattern_fill), 0},
};

static psdr_status psdr_read_record(psdr_document* doc, psdr_layer* layer, int32_t kind, void* record)
{
    switch (kind)
    {
    case PSDR_BLOCK_LEVELS:
        return psdr_read_levels(doc, (psdr_levels*)record);
    case PSDR_BLOCK_CURVES:
        return psdr_read_curves(doc, layer, (psdr_curves*)record);
    case PSDR_BLOCK_BRIGHTNESS_CONTRAST:
    {
        psdr_brightness_contrast* b = (psdr_brightness_contrast*)record;
        b->brightness = psdr_read_int16(doc);
        b->contrast = psdr_read_int16(doc);
        b->mean = psdr_read_int16(doc);
        b->lab_only = psdr_read_byte(doc);
        return PSDR_OK;
    }
    case PSDR_BLOCK_COLOUR_BALANCE:
    {
        psdr_colour_balance* b = (psdr_colour_balance*)record;
        for (int i = 0; i < 3; ++i)
            b->shadows[i] = psdr_read_int16(doc);
        for (int i = 0; i < 3; ++i)
            b->midtones[i] = psdr_read_int16(doc);
        for (int i = 0; i < 3; ++i)
            b->highlights[i] = psdr_read_int16(doc);
        // A flag byte and a pad byte, as editors write it.
        b->preserve_luminosity = psdr_read_bool(doc);
        return PSDR_OK;
    }
    case PSDR_BLOCK_HUE_SATURATION:
    {
        psdr_hue_saturation* h = (psdr_hue_saturation*)record;
        if (psdr_read_int16(doc) != 2)
            return PSDR_ERR_HUE_VERSION;
        h->colourize = psdr_read_byte(doc);
        psdr_skip(doc, 1);
        h->colourize_hue = psdr_read_int16(doc);
        h->colourize_saturation = psdr_read_int16(doc);
        h->colourize_lightness = psdr_read_int16(doc);
        h->master_hue = psdr_read_int16(doc);
        h->master_saturation = psdr_read_int16(doc);
        h->master_lightness = psdr_read_int16(doc);
        for (int r = 0; r < 6; ++r)
        {
            for (int i = 0; i < 4; ++i)
                h->ranges[r][i] = psdr_read_int16(doc);
            for (int i = 0; i < 3; ++i)
                h->settings[r][i] = psdr_read_int16(doc);
        }
        return PSDR_OK;
    }
    case PSDR_BLOCK_SELECTIVE_COLOUR:
    {
        psdr_selective_colour* s = (psdr_selective_colour*)record;
        if (psdr_read_int16(doc) != 1)
            return PSDR_ERR_SELECTIVE_VERSION;
        s->method = psdr_read_int16(doc);
        for (int i = 0; i < 10; ++i)
        {
            s->cyan[i] = psdr_read_int16(doc);
            s->magenta[i] = psdr_read_int16(doc);
            s->yellow[i] = psdr_read_int16(doc);
            s->black[i] = psdr_read_int16(doc);
        }
        return PSDR_OK;
    }
    case PSDR_BLOCK_THRESHOLD:
        ((psdr_threshold*)record)->level = psdr_read_int16(doc);
        return PSDR_OK;
    case PSDR_BLOCK_INVERT:
        return PSDR_OK;
    case PSDR_BLOCK_POSTERIZE:
        ((psdr_posterize*)record)->levels = psdr_read_int16(doc);
        return PSDR_OK;
    case PSDR_BLOCK_CHANNEL_MIXER:
    {
        psdr_channel_mixer* m = (psdr_channel_mixer*)record;
        if (psdr_read_int16(doc) != 1)
            return PSDR_ERR_MIXER_VERSION;
        m->monochrome = (uint8_t)psdr_read_int16(doc);
        for (int c = 0; c < 4; ++c)
            for (int v = 0; v < 5; ++v)
                m->values[v][c] = psdr_read_int16(doc);
        return PSDR_OK;
    }
    case PSDR_BLOCK_GRADIENT_MAP:
        return psdr_read_gradient_map(doc, (psdr_gradient_map*)record);
    case PSDR_BLOCK_PHOTO_FILTER:
    {
        psdr_photo_filter* f = (psdr_photo_filter*)record;
        // Version 2, still written by editors, holds a colour record in place of x, y, z.
        f->version = psdr_read_int16(doc);
        if (f->version == 2)
            f->colour = psdr_read_colour(doc);
        else if (f->version == 3)
        {
            f->x = psdr_read_int32(doc) >> 8;
            f->y = psdr_read_int32(doc) >> 8;
            f->z = psdr_read_int32(doc) >> 8;
        }
        else
            return PSDR_ERR_PHOTO_FILTER_VERSION;
        f->density = psdr_read_int32(doc);
        f->preserve_luminosity = psdr_read_bool(doc);
        return PSDR_OK;
    }
    case PSDR_BLOCK_TYPE_TOOL:
        return psdr_read_type_tool(doc, (psdr_type_tool*)record);
    case PSDR_BLOCK_OLD_EFFECTS:
        psdr_effects_defaults((psdr_effects*)record);
        return psdr_read_old_effects(doc, layer, (psdr_effects*)record);
    case PSDR_BLOCK_EFFECTS:
        psdr_effects_defaults((psdr_effects*)record);
        return psdr_read_effects(doc, layer, (psdr_effects*)record);
    case PSDR_BLOCK_SOLID_COLOUR:
        return psdr_read_solid_colour(doc, (psdr_solid_colour*)record);
    case PSDR_BLOCK_GRADIENT_FILL:
        return psdr_read_gradient_fill(doc, (psdr_gradient_fill*)record);
    case PSDR_BLOCK_PATTERN_FILL:
        return psdr_read_pattern_fill(doc, (psdr_pattern_fill*)record);
    default:
        return PSDR_OK;
    }
}

psdr_status psdr_read_layer_block(psdr_document* doc, psdr_layer* layer, uint32_t key, int64_t length,
                                  int* handled)
{
    (void)length;
    *handled = 0;
    for (const psdr_block_kind_info& k : kKinds)
    {
        if (psdr_fourcc(k.key) != key)
            continue;
        *handled = 1;
        // The record holds 20 blocks; further ones are stepped over.
        if (layer->block_count >= PSDR_MAX_BLOCKS)
            return PSDR_OK;
        const int32_t slot = layer->block_count;
        layer->block_kinds[slot] = k.kind;
        if (k.type >= 0)
            layer->type = k.type;
        void* record = NULL;
        if (k.size > 0)
        {
            record = calloc(1, k.size);
            if (!record)
                return PSDR_ERR_MEMORY;
        }
        layer->blocks[slot] = record;
        layer->block_count = slot + 1;
        doc->reader->depth = 0;
        psdr_status status = psdr_read_record(doc, layer, k.kind, record);
        if (status == PSDR_OK && k.adjustment)
            layer->adjustment = 1;
        return status;
    }
    return PSDR_OK;
}

void psdr_free_block(int32_t kind, void* block)
{
    if (!block)
        return;
    switch (kind)
    {
    case PSDR_BLOCK_LEVELS:
        free(((psdr_levels*)block)->extra);
        break;
    case PSDR_BLOCK_CURVES:
        free(((psdr_curves*)block)->curves);
        break;
    case PSDR_BLOCK_GRADIENT_MAP:
    {
        psdr_gradient_map* g = (psdr_gradient_map*)block;
        free(g->name);
        free(g->colour_stops);
        free(g->transparency_stops);
        break;
    }
    case PSDR_BLOCK_TYPE_TOOL:
    {
        psdr_type_tool* t = (psdr_type_tool*)block;
        for (int16_t i = 0; i < t->face_count; ++i)
            free(t->faces[i].design_vector);
        free(t->faces);
        free(t->styles);
        free(t->lines);
        break;
    }
    case PSDR_BLOCK_OLD_EFFECTS:
    case PSDR_BLOCK_EFFECTS:
        psdr_free_effects((psdr_effects*)block);
        break;
    case PSDR_BLOCK_GRADIENT_FILL:
        psdr_free_gradient(&((psdr_gradient_fill*)block)->gradient);
        break;
    case PSDR_BLOCK_PATTERN_FILL:
        psdr_free_pattern_ref(&((psdr_pattern_fill*)block)->pattern);
        break;
    default:
        break;
    }
    free(block);
}
