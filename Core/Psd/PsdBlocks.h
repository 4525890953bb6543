#pragma once
// Records of the blocks attached to a layer: adjustments, fills, type tool and effects.
// psdr_layer::blocks[i] points to the record named by psdr_layer::block_kinds[i].

#include "Core/Psd/Psd.h"

#ifdef __cplusplus
extern "C"
{
#endif

    typedef struct psdr_level_record
    {
        int16_t input_floor, input_ceiling, output_floor, output_ceiling;
        float gamma; // stored value / 100
    } psdr_level_record;

    typedef struct psdr_levels // 'levl', kind 1
    {
        psdr_level_record records[29];
        uint16_t extra_count;
        psdr_level_record* extra;
    } psdr_levels;

    enum
    {
        PSDR_CURVE_POINTS = 19
    };

    typedef struct psdr_curve
    {
        int16_t channel;
        uint16_t point_count; // at most 19 kept
        int16_t output[PSDR_CURVE_POINTS];
        int16_t input[PSDR_CURVE_POINTS];
    } psdr_curve;

    typedef struct psdr_curves // 'curv', kind 2
    {
        uint16_t count;
        psdr_curve* curves;
    } psdr_curves;

    typedef struct psdr_brightness_contrast // 'brit', kind 3
    {
        int16_t brightness, contrast, mean;
        uint8_t lab_only;
    } psdr_brightness_contrast;

    typedef struct psdr_colour_balance // 'blnc', kind 4; index 0 cyan-red, 1 magenta-green, 2 yellow-blue
    {
        int16_t shadows[3], midtones[3], highlights[3];
        uint8_t preserve_luminosity;
    } psdr_colour_balance;

    typedef struct psdr_hue_saturation // 'hue2', kind 5
    {
        uint8_t colourize;
        int16_t colourize_hue, colourize_saturation, colourize_lightness;
        int16_t master_hue, master_saturation, master_lightness;
        int16_t ranges[6][4];
        int16_t settings[6][3]; // hue, saturation, lightness
    } psdr_hue_saturation;

    typedef struct psdr_selective_colour // 'selc', kind 6
    {
        int16_t method;
        int16_t cyan[10], magenta[10], yellow[10], black[10];
    } psdr_selective_colour;

    typedef struct psdr_threshold
    {
        int16_t level;
    } psdr_threshold; // 'thrs', kind 7
    typedef struct psdr_posterize
    {
        int16_t levels;
    } psdr_posterize; // 'post', kind 9

    typedef struct psdr_channel_mixer // 'mixr', kind 10
    {
        uint8_t monochrome;
        int16_t values[5][4]; // [setting value][output channel]
    } psdr_channel_mixer;

    typedef struct psdr_colour_stop
    {
        int32_t location, midpoint;
        uint32_t colour;
        int32_t type; // 0 foreground, 1 background, 2 user colour
    } psdr_colour_stop;

    typedef struct psdr_transparency_stop
    {
        int32_t location, midpoint;
        int16_t opacity;
    } psdr_transparency_stop;

    typedef struct psdr_gradient_map // 'grdm', kind 11
    {
        int16_t version; // 1, or 3 with an interpolation method
        uint32_t method; // version 3: 'Gcls', 'Lnr ' or 'Perc'
        uint8_t reversed, dithered;
        int32_t name_length;
        uint16_t* name;
        int32_t colour_stop_count;
        psdr_colour_stop* colour_stops;
        int32_t transparency_stop_count;
        psdr_transparency_stop* transparency_stops;
        int16_t expansion_count, interpolation, length, mode;
        int32_t random_seed;
        int16_t show_transparency, use_vector_colour;
        int32_t roughness;
        uint32_t minimum_colour, maximum_colour;
    } psdr_gradient_map;

    typedef struct psdr_photo_filter // 'phfl', kind 12
    {
        int16_t version; // 3: x, y, z; 2: a colour record
        uint32_t colour; // version 2
        int32_t x, y, z;
        int32_t density;
        uint8_t preserve_luminosity;
    } psdr_photo_filter;

    typedef struct psdr_type_face
    {
        int16_t mark;
        int32_t font_type;
        char font_name[256], family_name[256], style_name[256];
        int16_t script;
        int32_t design_axis_count;
        int32_t* design_vector;
    } psdr_type_face;

    typedef struct psdr_type_style
    {
        int16_t mark, face_mark;
        int32_t size, tracking, kerning, leading, base_shift;
        uint8_t auto_kern, rotate;
    } psdr_type_style;

    typedef struct psdr_type_line
    {
        int32_t character_count;
        int16_t orientation, alignment, actual_character, style;
    } psdr_type_line;

    typedef struct psdr_type_tool // 'tySh', kind 13
    {
        double transform[6];
        int16_t face_count;
        psdr_type_face* faces;
        int16_t style_count;
        psdr_type_style* styles;
        int16_t text_type;
        int32_t scaling_factor, character_count, horizontal_placement, vertical_placement, select_start,
            select_end;
        int16_t line_count;
        psdr_type_line* lines;
        uint32_t colour;
        uint8_t anti_alias;
    } psdr_type_tool;

    typedef struct psdr_gradient
    {
        int32_t smoothness;
        int32_t name_length;
        uint16_t* name;
        int32_t colour_stop_count;
        psdr_colour_stop* colour_stops;
        int32_t transparency_stop_count;
        psdr_transparency_stop* transparency_stops;
    } psdr_gradient;

    enum
    {
        PSDR_PATTERN_ID_UNITS = 128
    };

    typedef struct psdr_pattern_ref
    {
        int32_t name_length;
        uint16_t* name;
        int32_t identifier_length;
        uint16_t identifier[PSDR_PATTERN_ID_UNITS];
    } psdr_pattern_ref;

    typedef struct psdr_solid_colour // 'SoCo', kind 17
    {
        uint32_t class_id;
        uint32_t colour;
    } psdr_solid_colour;

    typedef struct psdr_gradient_fill // 'GdFl', kind 18
    {
        uint32_t class_id;
        double angle;
        int32_t type; // 0 linear, 1 radial, 2 angle, 3 reflected, 4 diamond
        int32_t scale;
        uint8_t reverse, dither, align;
        psdr_gradient gradient;
    } psdr_gradient_fill;

    typedef struct psdr_pattern_fill // 'PtFl', kind 19
    {
        uint32_t class_id;
        psdr_pattern_ref pattern;
        int32_t scale;
    } psdr_pattern_fill;

    typedef struct psdr_contour
    {
        uint8_t table[256];
        uint8_t anti_aliased;
    } psdr_contour;

    typedef struct psdr_shadow // drop shadow and inner shadow (spread is the choke of an inner shadow)
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint32_t colour, native_colour;
        uint8_t opacity;
        int32_t angle;
        uint8_t use_global_light;
        int32_t distance, spread, size;
        psdr_contour contour;
        int32_t noise;
        uint8_t layer_knocks_out; // drop shadow only
    } psdr_shadow;

    typedef struct psdr_glow // outer and inner glow (spread is the choke of an inner glow)
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint8_t opacity;
        int32_t noise;
        int32_t fill_kind; // 0 colour, 1 gradient
        uint32_t colour, native_colour;
        psdr_gradient gradient;
        int32_t technique;
        int32_t source; // inner glow: 1 edge, 0 centre
        int32_t spread, size;
        psdr_contour contour;
        int32_t range, jitter;
    } psdr_glow;

    typedef struct psdr_bevel
    {
        uint8_t enabled;
        int32_t style, technique, depth, direction, size, soften, angle;
        uint8_t use_global_light;
        int32_t altitude;
        psdr_contour gloss_contour;
        int32_t highlight_blend_mode;
        uint32_t highlight_colour, highlight_native_colour;
        uint8_t highlight_opacity;
        int32_t shadow_blend_mode;
        uint32_t shadow_colour, shadow_native_colour;
        uint8_t shadow_opacity;
        uint8_t use_shape;
        psdr_contour contour;
        int32_t contour_range;
        uint8_t use_texture;
        psdr_pattern_ref pattern;
        int32_t texture_scale, texture_depth;
        uint8_t invert_texture, align;
        int32_t phase_x, phase_y;
    } psdr_bevel;

    typedef struct psdr_satin
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint32_t colour;
        uint8_t opacity;
        int32_t angle, distance, size;
        psdr_contour contour;
        uint8_t invert;
    } psdr_satin;

    typedef struct psdr_colour_fill_effect
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint32_t colour;
        uint8_t opacity;
        uint32_t native_colour;
    } psdr_colour_fill_effect;

    typedef struct psdr_gradient_overlay
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint8_t opacity;
        psdr_gradient gradient;
        uint8_t reverse;
        int32_t type;
        uint8_t align;
        int32_t angle, scale, offset_x, offset_y;
    } psdr_gradient_overlay;

    typedef struct psdr_pattern_overlay
    {
        uint8_t enabled;
        int32_t blend_mode;
        uint8_t opacity;
        int32_t scale;
        uint8_t align;
        psdr_pattern_ref pattern;
        int32_t phase_x, phase_y;
    } psdr_pattern_overlay;

    typedef struct psdr_stroke
    {
        uint8_t enabled;
        int32_t size;
        int32_t position; // 0 outside, 1 inside, 2 centre
        int32_t blend_mode;
        uint8_t opacity;
        int32_t paint_type; // 0 colour, 1 gradient, 2 pattern
        uint32_t colour;
        psdr_gradient gradient;
        uint8_t reverse;
        int32_t gradient_type;
        uint8_t align;
        int32_t angle, gradient_scale, offset_x, offset_y;
        psdr_pattern_ref pattern;
        int32_t pattern_scale;
        uint8_t linked;
        int32_t phase_x, phase_y;
    } psdr_stroke;

    // Order of the present flags.
    enum
    {
        PSDR_FX_DROP_SHADOW,
        PSDR_FX_INNER_SHADOW,
        PSDR_FX_OUTER_GLOW,
        PSDR_FX_INNER_GLOW,
        PSDR_FX_SATIN,
        PSDR_FX_COLOUR_FILL,
        PSDR_FX_GRADIENT_OVERLAY,
        PSDR_FX_PATTERN_OVERLAY,
        PSDR_FX_STROKE,
        PSDR_FX_BEVEL,
        PSDR_FX_COUNT
    };

    typedef struct psdr_effects // 'lrFX' kind 15, 'lfx2' kind 16
    {
        int16_t count;
        uint8_t visible;
        psdr_shadow drop_shadow, inner_shadow;
        psdr_glow outer_glow, inner_glow;
        psdr_bevel bevel;
        psdr_satin satin;
        psdr_colour_fill_effect colour_fill;
        psdr_gradient_overlay gradient_overlay;
        psdr_pattern_overlay pattern_overlay;
        psdr_stroke stroke;
        uint8_t present[PSDR_FX_COUNT];
        uint8_t present_again[PSDR_FX_COUNT];
    } psdr_effects;

#ifdef __cplusplus
}
#endif
