#pragma once
// Layered document decoder: plain records and psdr_ functions, no classes, no exceptions.
// Every operation returns a psdr_status (0 success, negative failure). Decoded images are
// arrays of 0xAARRGGBB values, rows from the top, owned by the record that points to them.

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C"
{
#endif

    typedef int psdr_status;

    enum
    {
        PSDR_OK = 0,
        PSDR_ERR_ARGUMENT = -1,      // no output pointer (load) or no document (free)
        PSDR_ERR_OPEN = -2,          // no path, or the file cannot be opened
        PSDR_ERR_MEMORY = -4,        // out of memory
        PSDR_ERR_SHORT = -5,         // empty file, short header, short channel or pattern data
        PSDR_ERR_RANGE = -6,         // a size, count or length in the file is out of range
        PSDR_ERR_COLOUR_SPACE = -15, // unknown colour space (colour helpers only)
        PSDR_ERR_DEPTH = -18,        // depth not 1, 8 or 16, or not possible for the colour mode
        PSDR_ERR_MODE = -19,         // colour mode not accepted
        PSDR_ERR_COMPRESSION = -20,  // compression method other than 0..3
        PSDR_ERR_BLEND_RANGES = -56, // blending ranges without channel entries
        PSDR_ERR_INFLATE = -101,     // ZIP data failed to inflate
        PSDR_ERR_SIGNATURE = -200,   // not "8BPS"
        PSDR_ERR_VERSION = -201,     // not version 1
        PSDR_ERR_RESOURCE = -400,    // image resource block without "8BIM"
        PSDR_ERR_THUMBNAIL = -401,   // JPEG thumbnail failed to decode
        PSDR_ERR_LAYER_SIGNATURE = -500,
        PSDR_ERR_LEVELS_VERSION = -503,
        PSDR_ERR_LEVELS_EXTENSION = -505,
        PSDR_ERR_LEVELS_LENGTH = -506,
        PSDR_ERR_LEVELS_EXTENSION_VERSION = -507,
        PSDR_ERR_CURVES_VERSION = -508,
        PSDR_ERR_CURVES_EXTENSION = -509,
        PSDR_ERR_CURVES_EXTENSION_VERSION = -510,
        PSDR_ERR_HUE_VERSION = -511,
        PSDR_ERR_SELECTIVE_VERSION = -512,
        PSDR_ERR_MIXER_VERSION = -513,
        PSDR_ERR_PHOTO_FILTER_VERSION = -514,
        PSDR_ERR_GRADIENT_MAP_VERSION = -515,
        PSDR_ERR_EFFECTS_VERSION = -516,
        PSDR_ERR_EFFECT_SIGNATURE = -517,
        PSDR_ERR_EFFECT_KEY = -518,
        PSDR_ERR_COMMON_STATE_VERSION = -519,
        PSDR_ERR_SHADOW_VERSION = -520,
        PSDR_ERR_OUTER_GLOW_VERSION = -521,
        PSDR_ERR_INNER_GLOW_VERSION = -522,
        PSDR_ERR_BEVEL_VERSION = -523,
        PSDR_ERR_SOLID_FILL_VERSION = -524,
        PSDR_ERR_SOLID_COLOUR_VERSION = -525,
        PSDR_ERR_GRADIENT_FILL_VERSION = -526,
        PSDR_ERR_BLOCK_SIGNATURE = -528,
        PSDR_ERR_SECTION_SIGNATURE = -529,
        PSDR_ERR_PATTERN_FILL_VERSION = -530,
        PSDR_ERR_PATTERN_VERSION = -531,
    };

    // What psdr_load_part reads.
    typedef enum psdr_load_tag
    {
        PSDR_LOAD_ALL = 0,
        PSDR_LOAD_HEADER = 1,
        PSDR_LOAD_NO_THUMBNAIL = 2, // merged image only when there are no layer records
        PSDR_LOAD_MERGED = 3,       // merged image and alpha channels, no layers
        PSDR_LOAD_THUMBNAIL = 4,
        PSDR_LOAD_EXIF = 5,
    } psdr_load_tag;

    typedef enum psdr_colour_mode
    {
        PSDR_MODE_BITMAP = 0,
        PSDR_MODE_GREYSCALE = 1,
        PSDR_MODE_INDEXED = 2,
        PSDR_MODE_RGB = 3,
        PSDR_MODE_CMYK = 4,
        PSDR_MODE_MULTICHANNEL = 7,
        PSDR_MODE_DUOTONE = 8,
        PSDR_MODE_LAB = 9,
    } psdr_colour_mode;

    typedef enum psdr_layer_type
    {
        PSDR_LAYER_NORMAL = 0,
        PSDR_LAYER_GROUP_END = 1,
        PSDR_LAYER_GROUP = 2,
        PSDR_LAYER_SOLID_COLOUR = 3,
        PSDR_LAYER_GRADIENT_FILL = 4,
        PSDR_LAYER_LEVELS = 6,
        PSDR_LAYER_CURVES = 7,
        PSDR_LAYER_BRIGHTNESS_CONTRAST = 8,
        PSDR_LAYER_COLOUR_BALANCE = 9,
        PSDR_LAYER_HUE_SATURATION = 10,
        PSDR_LAYER_SELECTIVE_COLOUR = 11,
        PSDR_LAYER_THRESHOLD = 12,
        PSDR_LAYER_INVERT = 13,
        PSDR_LAYER_POSTERIZE = 14,
        PSDR_LAYER_CHANNEL_MIXER = 15,
        PSDR_LAYER_GRADIENT_MAP = 16,
        PSDR_LAYER_PHOTO_FILTER = 17,
        PSDR_LAYER_PATTERN_FILL = 19,
    } psdr_layer_type;

    // Blend modes in key order: norm diss dark mul idiv lbrn lite scrn div lddg over sLit hLit vLit
    // lLit pLit hMix diff smud hue sat colr lum pass.
    typedef int32_t psdr_blend_mode;

    // Kinds of the blocks attached to a layer.
    typedef enum psdr_block_kind
    {
        PSDR_BLOCK_LEVELS = 1,
        PSDR_BLOCK_CURVES = 2,
        PSDR_BLOCK_BRIGHTNESS_CONTRAST = 3,
        PSDR_BLOCK_COLOUR_BALANCE = 4,
        PSDR_BLOCK_HUE_SATURATION = 5,
        PSDR_BLOCK_SELECTIVE_COLOUR = 6,
        PSDR_BLOCK_THRESHOLD = 7,
        PSDR_BLOCK_INVERT = 8,
        PSDR_BLOCK_POSTERIZE = 9,
        PSDR_BLOCK_CHANNEL_MIXER = 10,
        PSDR_BLOCK_GRADIENT_MAP = 11,
        PSDR_BLOCK_PHOTO_FILTER = 12,
        PSDR_BLOCK_TYPE_TOOL = 13,
        PSDR_BLOCK_OLD_EFFECTS = 15,
        PSDR_BLOCK_EFFECTS = 16,
        PSDR_BLOCK_SOLID_COLOUR = 17,
        PSDR_BLOCK_GRADIENT_FILL = 18,
        PSDR_BLOCK_PATTERN_FILL = 19,
    } psdr_block_kind;

    enum
    {
        PSDR_MAX_BLOCKS = 20
    };

    typedef struct psdr_alpha_channel
    {
        char name[256];
        int32_t unicode_name_length; // code units
        uint16_t* unicode_name;      // stored (big-endian) byte order
        int32_t identifier;
        uint8_t* pixels; // width * height bytes
    } psdr_alpha_channel;

    typedef struct psdr_channel_info
    {
        int16_t id;     // 0..3 colour, -1 transparency, -2 user mask, -3 real user mask
        int32_t length; // bytes in the channel image data, compression word included
        uint8_t blending_restricted;
    } psdr_channel_info;

    typedef struct psdr_layer psdr_layer;

    struct psdr_layer
    {
        int32_t type; // psdr_layer_type
        int32_t top, left, bottom, right;
        int32_t width, height;
        int16_t channel_count;
        psdr_channel_info* channels;
        psdr_blend_mode blend_mode;
        uint8_t opacity;
        uint8_t clipping;
        uint8_t transparency_protected;
        uint8_t visible;
        uint8_t obsolete;
        uint8_t pixel_data_irrelevant;
        int32_t mask_top, mask_left, mask_bottom, mask_right;
        int32_t mask_width, mask_height;
        uint8_t mask_default_colour;
        uint8_t mask_relative;
        uint8_t mask_disabled;
        uint8_t mask_inverted;
        uint8_t* mask_pixels; // mask_width * mask_height, from channel -2
        // Real user mask (present when a vector mask and a user mask both exist).
        uint8_t real_mask_present;
        uint8_t real_mask_flags;
        uint8_t real_mask_background;
        int32_t real_mask_top, real_mask_left, real_mask_bottom, real_mask_right;
        int16_t composite_grey_ranges[4];
        int32_t channel_range_count;
        int16_t* source_black;
        int16_t* source_white;
        int16_t* destination_black;
        int16_t* destination_white;
        char name[264];   // as stored (ANSI code page), zero-terminated
        uint32_t* pixels; // width * height ARGB; null when the layer has no area
        int32_t block_count;
        int32_t block_kinds[PSDR_MAX_BLOCKS]; // psdr_block_kind
        void* blocks[PSDR_MAX_BLOCKS];
        uint8_t adjustment;
        uint8_t fill_opacity;
        int32_t unicode_name_length;
        uint16_t* unicode_name; // big-endian UTF-16 as stored
        uint32_t name_source;
        uint32_t layer_id;
        uint32_t layer_version;
        uint8_t blend_clipped_elements;
        uint8_t blend_interior_elements;
        uint8_t knockout;
        uint8_t transparency_locked, composite_locked, position_locked;
        uint32_t sheet_colour;
        int32_t reference_x, reference_y;
        uint8_t transparency_shapes_layer;
        uint8_t layer_mask_hides_effects;
        uint8_t vector_mask_hides_effects;
        int32_t section_divider_type;
        uint32_t section_blend_mode;
        psdr_layer* owning_group;
    };

    typedef struct psdr_pattern
    {
        uint32_t image_mode;
        int16_t height, width;
        int32_t name_length;
        uint16_t* name; // stored byte order
        char unique_id[256];
        uint32_t vma_version;
        int16_t top, left, bottom, right;
        int32_t channel_count; // decoded channels
        uint32_t* pixels;      // width * height ARGB
    } psdr_pattern;

    typedef struct psdr_reader psdr_reader;

    typedef struct psdr_document
    {
        const char* file_name; // the caller's path, valid during the load only
        psdr_reader* reader;   // stream state, present during the load only
        int32_t section_state;
        int32_t load_tag;
        int32_t width, height;
        uint16_t channel_count;
        uint16_t depth;
        uint32_t colour_mode;
        int32_t palette_size;
        uint32_t* palette;
        char caption[256];
        uint8_t resolution_present;
        float horizontal_resolution;
        int16_t horizontal_resolution_unit, width_unit;
        float vertical_resolution;
        int16_t vertical_resolution_unit, height_unit;
        uint8_t display_info_present;
        uint32_t display_colour;
        int16_t display_opacity;
        uint8_t display_kind;
        uint8_t alpha_info_present;
        int16_t alpha_channel_count;
        int16_t colour_channel_count;
        psdr_alpha_channel* alpha_channels;
        int16_t target_layer;
        uint8_t layer_groups_present;
        int32_t layer_group_count;
        int16_t* layer_group_ids;
        uint8_t thumbnail_present;
        uint32_t thumbnail_format, thumbnail_width, thumbnail_height, thumbnail_width_bytes,
            thumbnail_total_size, thumbnail_compressed_size;
        int16_t thumbnail_bits_per_pixel, thumbnail_planes;
        uint32_t* thumbnail_pixels; // thumbnail_width * thumbnail_height ARGB; null for raw
        uint8_t version_info_present;
        uint32_t version;
        uint8_t has_real_merged_data;
        int32_t writer_name_length;
        uint16_t* writer_name;
        int32_t reader_name_length;
        uint16_t* reader_name;
        uint32_t file_version;
        uint8_t resource_1034_flag;
        int32_t global_angle;
        int32_t global_altitude;
        uint8_t effects_visible;
        int16_t indexed_colour_count;
        int16_t transparent_index;
        uint8_t indexed_colour_count_present;
        uint8_t transparent_index_present;
        int16_t layer_count;
        int8_t stored_layer_count_sign; // -1 when the file stored the count negated (merged transparency)
        uint8_t merged_transparency;    // the merged image took a transparency plane
        psdr_layer* layers;             // file order, bottom layer (record 0) first
        uint32_t global_mask_colour;
        int16_t global_mask_opacity;
        uint8_t global_mask_kind;
        int32_t pattern_capacity, pattern_count;
        psdr_pattern* patterns;
        uint32_t* merged_image; // width * height ARGB
        uint8_t* channel_scratch;
        int64_t channel_scratch_capacity;
        uint8_t* compressed_scratch;
        int64_t compressed_scratch_capacity;
        int64_t plane_size;
        int64_t plane_stride;
    } psdr_document;

    // Reads a whole document. On failure *out becomes null (left unchanged for -1 and -2).
    psdr_status psdr_load(psdr_document** out, const char* path);
    // Reads the parts a load tag selects.
    psdr_status psdr_load_part(const char* path, psdr_document** out, int32_t load_tag);
    // Reads a document from an open stdio stream positioned at its start (the stream is not closed).
    psdr_status psdr_load_stream(FILE* file, psdr_document** out, int32_t load_tag);
    // Releases the document and everything it owns; -1 for null.
    psdr_status psdr_free(psdr_document* document);

    // Colour helpers, 0xAARRGGBB results.
    uint32_t psdr_rgb_to_argb(int32_t r, int32_t g, int32_t b);
    uint32_t psdr_cmyk_to_argb(int32_t c, int32_t m, int32_t y, int32_t k);
    uint32_t psdr_cmyk_alpha_to_argb(int32_t a, int32_t c, int32_t m, int32_t y, int32_t k);
    uint32_t psdr_cmyk_fractions_to_argb(double c, double m, double y, double k);
    uint32_t psdr_hsb_to_argb(int32_t alpha, double hue, double saturation, double brightness);
    uint32_t psdr_lab_to_argb(double l, double a, double b);
    uint32_t psdr_lab_alpha_to_argb(int32_t alpha, double l, double a, double b);
    uint32_t psdr_xyz_to_argb(int32_t alpha, double x, double y, double z);
    // Converts a colour record's components; unknown spaces give 0x00FFFFFF and -15 in *status.
    uint32_t psdr_colour_to_argb(int32_t space, int32_t c0, int32_t c1, int32_t c2, int32_t c3,
                                 psdr_status* status);

    // ZIP helpers over zlib; 0 or -101.
    psdr_status psdr_inflate(const uint8_t* input, int64_t input_size, uint8_t* output, int64_t output_size);
    psdr_status psdr_inflate_predicted(const uint8_t* input, int64_t input_size, uint8_t* output,
                                       int64_t output_size, int32_t row_width, int32_t depth);

#ifdef __cplusplus
}
#endif
