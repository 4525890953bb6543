// Layer effects: the fixed-layout 'lrFX' block and the descriptor-based 'lfx2' block.

#include "Core/Psd/PsdDescriptor.h"

#include <stdlib.h>
#include <string.h>

static const uint32_t kSig8BIM = PSDR_KEY('8', 'B', 'I', 'M');

void psdr_effects_defaults(psdr_effects* fx)
{
    psdr_shadow* shadows[2] = {&fx->drop_shadow, &fx->inner_shadow};
    for (psdr_shadow* s : shadows)
    {
        s->blend_mode = 3;
        s->colour = s->native_colour = 0xFF000000u;
        s->opacity = 191;
        s->angle = 120;
        s->use_global_light = 1;
        s->distance = 5;
        s->size = 5;
        psdr_contour_default(&s->contour);
    }
    psdr_glow* glows[2] = {&fx->outer_glow, &fx->inner_glow};
    for (psdr_glow* g : glows)
    {
        g->blend_mode = 7;
        g->opacity = 191;
        g->colour = g->native_colour = 0xFFFFFFBEu;
        g->size = 5;
        g->range = 50;
        psdr_contour_default(&g->contour);
    }
    fx->inner_glow.source = 1;
    psdr_bevel* b = &fx->bevel;
    b->style = 1;
    b->technique = 2;
    b->depth = 100;
    b->size = 5;
    b->angle = 120;
    b->use_global_light = 1;
    b->altitude = 30;
    psdr_contour_default(&b->gloss_contour);
    b->highlight_blend_mode = 7;
    b->highlight_colour = b->highlight_native_colour = 0xFFFFFFFFu;
    b->highlight_opacity = 191;
    b->shadow_blend_mode = 7;
    b->shadow_colour = b->shadow_native_colour = 0xFF000000u;
    b->shadow_opacity = 191;
    psdr_contour_default(&b->contour);
    b->contour_range = 50;
    b->texture_scale = 100;
    b->texture_depth = 100;
    b->align = 1;
    psdr_satin* s = &fx->satin;
    s->blend_mode = 3;
    s->colour = 0xFF000000u;
    s->opacity = 128;
    s->angle = 19;
    s->distance = 11;
    s->size = 14;
    psdr_contour_default(&s->contour);
    s->invert = 1;
    fx->colour_fill.colour = 0xFFFF0000u;
    fx->colour_fill.opacity = 255;
    psdr_gradient_overlay* go = &fx->gradient_overlay;
    go->opacity = 255;
    go->align = 1;
    go->angle = 90;
    go->scale = 100;
    psdr_pattern_overlay* po = &fx->pattern_overlay;
    po->opacity = 255;
    po->scale = 100;
    po->align = 1;
    psdr_stroke* st = &fx->stroke;
    st->size = 3;
    st->opacity = 255;
    st->colour = 0xFFFF0000u;
    st->align = 1;
    st->angle = 90;
    st->gradient_scale = 100;
    st->pattern_scale = 100;
    st->linked = 1;
}

void psdr_free_effects(psdr_effects* fx)
{
    psdr_free_gradient(&fx->outer_glow.gradient);
    psdr_free_gradient(&fx->inner_glow.gradient);
    psdr_free_gradient(&fx->gradient_overlay.gradient);
    psdr_free_gradient(&fx->stroke.gradient);
    psdr_free_pattern_ref(&fx->bevel.pattern);
    psdr_free_pattern_ref(&fx->pattern_overlay.pattern);
    psdr_free_pattern_ref(&fx->stroke.pattern);
}

static void psdr_mark(psdr_effects* fx, int which)
{
    fx->present[which] = 1;
    fx->present_again[which] = 1;
}

// Old-style effects. Each effect starts with its size; the stream moves to its end afterwards.
psdr_status psdr_read_old_effects(psdr_document* doc, psdr_layer* layer, psdr_effects* fx)
{
    (void)layer;
    if (psdr_read_int16(doc) != 0)
        return PSDR_ERR_EFFECTS_VERSION;
    fx->count = psdr_read_int16(doc);
    for (int32_t e = 0; e < fx->count && psdr_left(doc) > 0; ++e)
    {
        if (psdr_read_uint32(doc) != kSig8BIM)
            return PSDR_ERR_EFFECT_SIGNATURE;
        uint32_t key = psdr_read_uint32(doc);
        int64_t size = psdr_read_uint32(doc);
        psdr_block block;
        psdr_status status = psdr_block_open(doc, size, 1, &block);
        if (status != PSDR_OK)
            return status;
        int32_t version = psdr_read_int32(doc);
        status = PSDR_OK;
        switch (key)
        {
        case PSDR_KEY('c', 'm', 'n', 'S'):
            if (version != 0)
                return PSDR_ERR_COMMON_STATE_VERSION;
            fx->visible = psdr_read_bool(doc);
            break;
        case PSDR_KEY('d', 's', 'd', 'w'):
        case PSDR_KEY('i', 's', 'd', 'w'):
        {
            const int inner = key == PSDR_KEY('i', 's', 'd', 'w');
            psdr_shadow* s = inner ? &fx->inner_shadow : &fx->drop_shadow;
            if (version != 0 && version != 2)
                return PSDR_ERR_SHADOW_VERSION;
            psdr_mark(fx, inner ? PSDR_FX_INNER_SHADOW : PSDR_FX_DROP_SHADOW);
            // Blur, intensity, angle and distance are 32 bits each in what editors write.
            s->size = psdr_read_int32(doc);
            s->spread = psdr_read_int32(doc);
            s->angle = psdr_read_int32(doc);
            s->distance = psdr_read_int32(doc);
            s->colour = psdr_read_colour(doc);
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_LAYER_SIGNATURE;
            s->blend_mode = psdr_read_blend_key(doc);
            s->enabled = psdr_read_bool(doc);
            s->use_global_light = psdr_read_bool(doc);
            s->opacity = psdr_read_byte(doc);
            if (version == 2)
                s->native_colour = psdr_read_colour(doc);
            break;
        }
        case PSDR_KEY('o', 'g', 'l', 'w'):
        case PSDR_KEY('i', 'g', 'l', 'w'):
        {
            const int inner = key == PSDR_KEY('i', 'g', 'l', 'w');
            psdr_glow* g = inner ? &fx->inner_glow : &fx->outer_glow;
            if (version != 0 && version != 2)
                return inner ? PSDR_ERR_INNER_GLOW_VERSION : PSDR_ERR_OUTER_GLOW_VERSION;
            psdr_mark(fx, inner ? PSDR_FX_INNER_GLOW : PSDR_FX_OUTER_GLOW);
            g->size = psdr_read_int32(doc);
            g->spread = psdr_read_int32(doc);
            g->colour = psdr_read_colour(doc);
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_LAYER_SIGNATURE;
            g->blend_mode = psdr_read_blend_key(doc);
            g->enabled = psdr_read_bool(doc);
            g->opacity = psdr_read_byte(doc);
            if (version == 2)
            {
                if (inner && psdr_read_bool(doc))
                    g->source = 0;
                g->native_colour = psdr_read_colour(doc);
            }
            break;
        }
        case PSDR_KEY('b', 'e', 'v', 'l'):
        {
            psdr_bevel* b = &fx->bevel;
            if (version != 0 && version != 2)
                return PSDR_ERR_BEVEL_VERSION;
            psdr_mark(fx, PSDR_FX_BEVEL);
            b->angle = psdr_read_int32(doc);
            b->size = psdr_read_int32(doc);
            b->soften = psdr_read_int32(doc);
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_LAYER_SIGNATURE;
            b->highlight_blend_mode = psdr_read_blend_key(doc);
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_LAYER_SIGNATURE;
            b->shadow_blend_mode = psdr_read_blend_key(doc);
            b->highlight_colour = psdr_read_colour(doc);
            b->shadow_colour = psdr_read_colour(doc);
            b->style = psdr_read_byte(doc);
            b->highlight_opacity = psdr_read_byte(doc);
            b->shadow_opacity = psdr_read_byte(doc);
            b->enabled = psdr_read_bool(doc);
            b->use_global_light = psdr_read_bool(doc);
            b->direction = psdr_read_byte(doc);
            if (version == 2)
            {
                b->highlight_native_colour = psdr_read_colour(doc);
                b->shadow_native_colour = psdr_read_colour(doc);
            }
            break;
        }
        case PSDR_KEY('s', 'o', 'f', 'i'):
        {
            psdr_colour_fill_effect* f = &fx->colour_fill;
            if (version != 2)
                return PSDR_ERR_SOLID_FILL_VERSION;
            psdr_mark(fx, PSDR_FX_COLOUR_FILL);
            if (psdr_read_uint32(doc) != kSig8BIM)
                return PSDR_ERR_LAYER_SIGNATURE;
            f->blend_mode = psdr_read_blend_key(doc);
            f->colour = psdr_read_colour(doc);
            f->opacity = psdr_read_byte(doc);
            f->enabled = psdr_read_bool(doc);
            f->native_colour = psdr_read_colour(doc);
            break;
        }
        default:
            return PSDR_ERR_EFFECT_KEY;
        }
        psdr_block_close(doc, &block);
    }
    return PSDR_OK;
}

static int32_t psdr_technique(psdr_document* doc, uint32_t type)
{
    psdr_key v;
    uint32_t id = psdr_read_enum(doc, type, &v);
    return id == PSDR_KEY('P', 'r', 'B', 'L') ? 1 : id == PSDR_KEY('S', 'l', 'm', 't') ? 2 : 0;
}

static int32_t psdr_gradient_type(psdr_document* doc, uint32_t type)
{
    psdr_key v;
    switch (psdr_read_enum(doc, type, &v))
    {
    case PSDR_KEY('R', 'd', 'l', ' '):
        return 1;
    case PSDR_KEY('A', 'n', 'g', 'l'):
        return 2;
    case PSDR_KEY('R', 'f', 'l', 'c'):
        return 3;
    case PSDR_KEY('D', 'm', 'n', 'd'):
        return 4;
    default:
        return 0;
    }
}

// One effect object; `read` handles the items it knows and returns 0 for the others.
typedef int (*psdr_effect_item)(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t type);

static void psdr_read_effect(psdr_document* doc, psdr_effects* fx, uint32_t type, psdr_effect_item read)
{
    if (type != PSDR_KEY('O', 'b', 'j', 'c'))
    {
        psdr_skip_value(doc, type);
        return;
    }
    int64_t count = psdr_descriptor_begin(doc, NULL);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
        if (!read(doc, fx, &key, t))
            psdr_skip_value(doc, t);
}

#define KEY_IS(name) psdr_key_is(key, name)

static int psdr_shadow_item(psdr_document* doc, psdr_shadow* s, const psdr_key* key, uint32_t t, int drop)
{
    if (KEY_IS("enab"))
        s->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        s->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Clr "))
        s->colour = s->native_colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("Opct"))
        s->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("uglg"))
        s->use_global_light = psdr_read_flag(doc, t);
    else if (KEY_IS("lagl"))
        s->angle = psdr_read_int_number(doc, t);
    else if (KEY_IS("Dstn"))
        s->distance = psdr_read_int_number(doc, t);
    else if (KEY_IS("Ckmt"))
        s->spread = psdr_read_int_number(doc, t);
    else if (KEY_IS("blur"))
        s->size = psdr_read_int_number(doc, t);
    else if (KEY_IS("Nose"))
        s->noise = psdr_read_int_number(doc, t);
    else if (KEY_IS("AntA"))
        s->contour.anti_aliased = psdr_read_flag(doc, t);
    else if (KEY_IS("TrnS"))
        psdr_read_contour(doc, t, &s->contour);
    else if (drop && KEY_IS("layerConceals"))
        s->layer_knocks_out = psdr_read_flag(doc, t);
    else
        return 0;
    return 1;
}

static int psdr_drop_shadow_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    return psdr_shadow_item(doc, &fx->drop_shadow, key, t, 1);
}

static int psdr_inner_shadow_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    return psdr_shadow_item(doc, &fx->inner_shadow, key, t, 0);
}

static int psdr_glow_item(psdr_document* doc, psdr_glow* g, const psdr_key* key, uint32_t t, int inner)
{
    if (KEY_IS("enab"))
        g->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        g->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Clr "))
    {
        g->colour = g->native_colour = psdr_read_descriptor_colour(doc, t);
        g->fill_kind = 0;
    }
    else if (KEY_IS("Grad"))
    {
        psdr_read_gradient(doc, t, &g->gradient);
        g->fill_kind = 1;
    }
    else if (KEY_IS("Opct"))
        g->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("Nose"))
        g->noise = psdr_read_int_number(doc, t);
    else if (KEY_IS("GlwT"))
        g->technique = psdr_technique(doc, t);
    else if (KEY_IS("Ckmt"))
        g->spread = psdr_read_int_number(doc, t);
    else if (KEY_IS("blur"))
        g->size = psdr_read_int_number(doc, t);
    else if (KEY_IS("TrnS"))
        psdr_read_contour(doc, t, &g->contour);
    else if (KEY_IS("AntA"))
        g->contour.anti_aliased = psdr_read_flag(doc, t);
    else if (KEY_IS("Inpr"))
        g->range = psdr_read_int_number(doc, t);
    else if (KEY_IS("ShdN"))
        g->jitter = psdr_read_int_number(doc, t);
    else if (inner && KEY_IS("glwS"))
    {
        psdr_key v;
        uint32_t id = psdr_read_enum(doc, t, &v);
        g->source = id == PSDR_KEY('S', 'r', 'c', 'C')   ? 0
                    : id == PSDR_KEY('S', 'r', 'c', 'E') ? 1
                                                         : g->source;
    }
    else
        return 0;
    return 1;
}

static int psdr_outer_glow_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    return psdr_glow_item(doc, &fx->outer_glow, key, t, 0);
}

static int psdr_inner_glow_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    return psdr_glow_item(doc, &fx->inner_glow, key, t, 1);
}

static int psdr_bevel_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_bevel* b = &fx->bevel;
    psdr_key v;
    if (KEY_IS("enab"))
        b->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("bvlS"))
    {
        uint32_t id = psdr_read_enum(doc, t, &v);
        if (id == PSDR_KEY('O', 't', 'r', 'B'))
            b->style = 0;
        else if (id == PSDR_KEY('I', 'n', 'r', 'B'))
            b->style = 1;
        else if (id == PSDR_KEY('E', 'm', 'b', 's'))
            b->style = 2;
        else if (id == PSDR_KEY('P', 'l', 'E', 'b'))
            b->style = 3;
        else if (id == 0 && strcmp(v.name, "strokeEmboss") == 0)
            b->style = 4;
    }
    else if (KEY_IS("bvlT"))
        b->technique = psdr_technique(doc, t);
    else if (KEY_IS("srgR"))
        b->depth = psdr_read_int_number(doc, t);
    else if (KEY_IS("bvlD"))
    {
        uint32_t id = psdr_read_enum(doc, t, &v);
        if (id == PSDR_KEY('I', 'n', ' ', ' '))
            b->direction = 0;
        else if (id == PSDR_KEY('O', 'u', 't', ' '))
            b->direction = 1;
    }
    else if (KEY_IS("blur"))
        b->size = psdr_read_int_number(doc, t);
    else if (KEY_IS("Sftn"))
        b->soften = psdr_read_int_number(doc, t);
    else if (KEY_IS("lagl"))
        b->angle = psdr_read_int_number(doc, t);
    else if (KEY_IS("uglg"))
        b->use_global_light = psdr_read_flag(doc, t);
    else if (KEY_IS("Lald"))
        b->altitude = psdr_read_int_number(doc, t);
    else if (KEY_IS("TrnS"))
        psdr_read_contour(doc, t, &b->gloss_contour);
    else if (KEY_IS("antialiasGloss"))
        b->gloss_contour.anti_aliased = psdr_read_flag(doc, t);
    else if (KEY_IS("hglM"))
        b->highlight_blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("hglC"))
        b->highlight_colour = b->highlight_native_colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("hglO"))
        b->highlight_opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("sdwM"))
        b->shadow_blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("sdwC"))
        b->shadow_colour = b->shadow_native_colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("sdwO"))
        b->shadow_opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("useShape"))
        b->use_shape = psdr_read_flag(doc, t);
    else if (KEY_IS("MpgS"))
        psdr_read_contour(doc, t, &b->contour);
    else if (KEY_IS("AntA"))
        b->contour.anti_aliased = psdr_read_flag(doc, t);
    else if (KEY_IS("Inpr"))
        b->contour_range = psdr_read_int_number(doc, t);
    else if (KEY_IS("useTexture"))
        b->use_texture = psdr_read_flag(doc, t);
    else if (KEY_IS("Ptrn"))
        psdr_read_pattern_ref(doc, t, &b->pattern);
    else if (KEY_IS("Scl "))
        b->texture_scale = psdr_read_int_number(doc, t);
    else if (KEY_IS("textureDepth"))
        b->texture_depth = psdr_read_int_number(doc, t);
    else if (KEY_IS("InvT"))
        b->invert_texture = psdr_read_flag(doc, t);
    else if (KEY_IS("Algn"))
        b->align = psdr_read_flag(doc, t);
    else if (KEY_IS("phase"))
        psdr_read_point(doc, t, &b->phase_x, &b->phase_y);
    else
        return 0;
    return 1;
}

static int psdr_satin_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_satin* s = &fx->satin;
    if (KEY_IS("enab"))
        s->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        s->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Clr "))
        s->colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("Opct"))
        s->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("lagl"))
        s->angle = psdr_read_int_number(doc, t);
    else if (KEY_IS("Dstn"))
        s->distance = psdr_read_int_number(doc, t);
    else if (KEY_IS("blur"))
        s->size = psdr_read_int_number(doc, t);
    else if (KEY_IS("MpgS"))
        psdr_read_contour(doc, t, &s->contour);
    else if (KEY_IS("AntA"))
        s->contour.anti_aliased = psdr_read_flag(doc, t);
    else if (KEY_IS("Invr"))
        s->invert = psdr_read_flag(doc, t);
    else
        return 0;
    return 1;
}

static int psdr_colour_fill_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_colour_fill_effect* f = &fx->colour_fill;
    if (KEY_IS("enab"))
        f->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        f->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Clr "))
        f->colour = f->native_colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("Opct"))
        f->opacity = psdr_read_opacity(doc, t);
    else
        return 0;
    return 1;
}

static int psdr_gradient_overlay_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_gradient_overlay* g = &fx->gradient_overlay;
    if (KEY_IS("enab"))
        g->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        g->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Opct"))
        g->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("Grad"))
        psdr_read_gradient(doc, t, &g->gradient);
    else if (KEY_IS("Rvrs"))
        g->reverse = psdr_read_flag(doc, t);
    else if (KEY_IS("Type"))
        g->type = psdr_gradient_type(doc, t);
    else if (KEY_IS("Algn"))
        g->align = psdr_read_flag(doc, t);
    else if (KEY_IS("Angl"))
        g->angle = psdr_read_int_number(doc, t);
    else if (KEY_IS("Scl "))
        g->scale = psdr_read_int_number(doc, t);
    else if (KEY_IS("Ofst"))
        psdr_read_point(doc, t, &g->offset_x, &g->offset_y);
    else
        return 0;
    return 1;
}

static int psdr_pattern_overlay_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_pattern_overlay* p = &fx->pattern_overlay;
    if (KEY_IS("enab"))
        p->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Md  "))
        p->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Opct"))
        p->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("Ptrn"))
        psdr_read_pattern_ref(doc, t, &p->pattern);
    else if (KEY_IS("Scl "))
        p->scale = psdr_read_int_number(doc, t);
    else if (KEY_IS("Algn"))
        p->align = psdr_read_flag(doc, t);
    else if (KEY_IS("phase"))
    {
        psdr_read_point(doc, t, &p->phase_x, &p->phase_y);
        p->phase_x = p->phase_y = 0;
    }
    else
        return 0;
    return 1;
}

static int psdr_stroke_item(psdr_document* doc, psdr_effects* fx, const psdr_key* key, uint32_t t)
{
    psdr_stroke* s = &fx->stroke;
    psdr_key v;
    if (KEY_IS("enab"))
        s->enabled = psdr_read_flag(doc, t);
    else if (KEY_IS("Styl"))
    {
        uint32_t id = psdr_read_enum(doc, t, &v);
        if (id == PSDR_KEY('O', 'u', 't', 'F'))
            s->position = 0;
        else if (id == PSDR_KEY('I', 'n', 's', 'F'))
            s->position = 1;
        else if (id == PSDR_KEY('C', 't', 'r', 'F'))
            s->position = 2;
    }
    else if (KEY_IS("PntT"))
    {
        uint32_t id = psdr_read_enum(doc, t, &v);
        if (id == PSDR_KEY('S', 'C', 'l', 'r'))
            s->paint_type = 0;
        else if (id == PSDR_KEY('G', 'r', 'F', 'l'))
            s->paint_type = 1;
        else if (id == PSDR_KEY('P', 't', 'r', 'n'))
            s->paint_type = 2;
    }
    else if (KEY_IS("Md  "))
        s->blend_mode = psdr_read_blend_enum(doc, t);
    else if (KEY_IS("Opct"))
        s->opacity = psdr_read_opacity(doc, t);
    else if (KEY_IS("Sz  "))
        s->size = psdr_read_int_number(doc, t);
    else if (KEY_IS("Clr "))
        s->colour = psdr_read_descriptor_colour(doc, t);
    else if (KEY_IS("Grad"))
        psdr_read_gradient(doc, t, &s->gradient);
    else if (KEY_IS("Type"))
        s->gradient_type = psdr_gradient_type(doc, t);
    else if (KEY_IS("Rvrs"))
        s->reverse = psdr_read_flag(doc, t);
    else if (KEY_IS("Algn"))
        s->align = psdr_read_flag(doc, t);
    else if (KEY_IS("Angl"))
        s->angle = psdr_read_int_number(doc, t);
    else if (KEY_IS("Ofst"))
        psdr_read_point(doc, t, &s->offset_x, &s->offset_y);
    else if (KEY_IS("Ptrn"))
        psdr_read_pattern_ref(doc, t, &s->pattern);
    else if (KEY_IS("Lnkd"))
        s->linked = psdr_read_flag(doc, t);
    else if (KEY_IS("Scl "))
    {
        // The scale belongs to the paint type read so far.
        int32_t scale = psdr_read_int_number(doc, t);
        if (s->paint_type == 1)
            s->gradient_scale = scale;
        else if (s->paint_type == 2)
            s->pattern_scale = scale;
    }
    else if (KEY_IS("phase"))
    {
        psdr_read_point(doc, t, &s->phase_x, &s->phase_y);
        s->phase_x = s->phase_y = 0;
    }
    else
        return 0;
    return 1;
}

#undef KEY_IS

psdr_status psdr_read_effects(psdr_document* doc, psdr_layer* layer, psdr_effects* fx)
{
    (void)layer;
    uint32_t object_version = psdr_read_uint32(doc);
    uint32_t descriptor_version = psdr_read_uint32(doc);
    if (object_version != 0 || descriptor_version != 16)
        return PSDR_ERR_EFFECTS_VERSION;
    // Current editors write some effects as lists ("dropShadowMulti" ...); the record holds
    // one, the first.
    static const struct
    {
        const char* key;
        int which;
        psdr_effect_item read;
    } kinds[] = {
        {"dropShadowMulti", PSDR_FX_DROP_SHADOW, psdr_drop_shadow_item},
        {"innerShadowMulti", PSDR_FX_INNER_SHADOW, psdr_inner_shadow_item},
        {"solidFillMulti", PSDR_FX_COLOUR_FILL, psdr_colour_fill_item},
        {"gradientFillMulti", PSDR_FX_GRADIENT_OVERLAY, psdr_gradient_overlay_item},
        {"frameFXMulti", PSDR_FX_STROKE, psdr_stroke_item},
        {"DrSh", PSDR_FX_DROP_SHADOW, psdr_drop_shadow_item},
        {"IrSh", PSDR_FX_INNER_SHADOW, psdr_inner_shadow_item},
        {"OrGl", PSDR_FX_OUTER_GLOW, psdr_outer_glow_item},
        {"IrGl", PSDR_FX_INNER_GLOW, psdr_inner_glow_item},
        {"ebbl", PSDR_FX_BEVEL, psdr_bevel_item},
        {"ChFX", PSDR_FX_SATIN, psdr_satin_item},
        {"SoFi", PSDR_FX_COLOUR_FILL, psdr_colour_fill_item},
        {"GrFl", PSDR_FX_GRADIENT_OVERLAY, psdr_gradient_overlay_item},
        {"patternFill", PSDR_FX_PATTERN_OVERLAY, psdr_pattern_overlay_item},
        {"FrFX", PSDR_FX_STROKE, psdr_stroke_item},
    };
    int64_t count = psdr_descriptor_begin(doc, NULL);
    psdr_key key;
    uint32_t type;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &type); ++i)
    {
        if (psdr_key_is(&key, "Scl "))
        {
            // The overall scale is dropped; the next item is the master switch.
            psdr_read_number(doc, type);
            if (i + 1 < count && psdr_descriptor_item(doc, &key, &type))
            {
                ++i;
                fx->visible = psdr_read_flag(doc, type);
            }
            continue;
        }
        int handled = 0;
        for (const auto& k : kinds)
            if (psdr_key_is(&key, k.key))
            {
                handled = 1;
                if (type == PSDR_KEY('V', 'l', 'L', 's'))
                {
                    int64_t n = psdr_read_uint32(doc);
                    for (int64_t e = 0; e < n && psdr_left(doc) >= 4; ++e)
                    {
                        uint32_t element = psdr_read_uint32(doc);
                        if (e > 0 || fx->present[k.which])
                        {
                            psdr_skip_value(doc, element);
                            continue;
                        }
                        psdr_mark(fx, k.which);
                        fx->count++;
                        psdr_read_effect(doc, fx, element, k.read);
                    }
                    break;
                }
                psdr_mark(fx, k.which);
                fx->count++;
                psdr_read_effect(doc, fx, type, k.read);
                break;
            }
        if (!handled)
            psdr_skip_value(doc, type);
    }
    return PSDR_OK;
}
