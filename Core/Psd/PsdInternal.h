#pragma once
// Private helpers shared by the decoder's source files.

#include "Core/Psd/Psd.h"

#include <stddef.h>

// Buffered big-endian stream over a stdio file. Every read is limited to the innermost open
// block, so a damaged length can never make a reader run into the next structure.
struct psdr_reader
{
    FILE* file;
    uint8_t* buffer;
    int32_t fill;
    int32_t pos;
    int64_t file_size;
    int64_t stream_pos; // absolute position of the next unread byte
    int64_t limit;      // absolute end of the innermost open block
    int64_t budget;     // bytes of decoded images the file may still ask for
    uint8_t failed;     // the stdio stream reported an error
    int32_t depth;      // descriptor nesting being read
};

enum
{
    PSDR_BUFFER_SIZE = 4096
};
// Largest canvas and layer side of a version-1 document.
enum
{
    PSDR_MAX_SIDE = 30000
};
// Largest channel count of a version-1 document.
enum
{
    PSDR_MAX_CHANNELS = 56
};

// A block opened on the stream: reads stop at its end; closing moves to its end.
typedef struct psdr_block
{
    int64_t end;
    int64_t outer_limit;
} psdr_block;

int64_t psdr_read(psdr_document* doc, void* destination, int64_t count);
int64_t psdr_skip(psdr_document* doc, int64_t count);
uint8_t psdr_read_byte(psdr_document* doc);
uint8_t psdr_read_bool(psdr_document* doc);
int16_t psdr_read_int16(psdr_document* doc);
int32_t psdr_read_int32(psdr_document* doc);
uint32_t psdr_read_uint32(psdr_document* doc);
double psdr_read_double(psdr_document* doc);
uint32_t psdr_read_colour(psdr_document* doc);
psdr_blend_mode psdr_read_blend_key(psdr_document* doc);
psdr_blend_mode psdr_blend_from_key(uint32_t key);

int64_t psdr_tell(const psdr_document* doc);
int64_t psdr_left(const psdr_document* doc); // bytes before the innermost block end

// Opens a block of `length` bytes at the stream position (its end rounded up by `round`, 1, 2
// or 4, without passing the enclosing block). A negative length or one past the enclosing
// block gives PSDR_ERR_RANGE and opens nothing.
psdr_status psdr_block_open(psdr_document* doc, int64_t length, int32_t round, psdr_block* block);
// Moves to the block's end, whatever its reader consumed, and restores the enclosing limit.
void psdr_block_close(psdr_document* doc, const psdr_block* block);

// Charges `bytes` of decoded image to the file's budget; PSDR_ERR_RANGE when it is spent.
psdr_status psdr_charge(psdr_document* doc, int64_t bytes);

// Allocates a decoded image (released with free); large ones are backed by huge pages.
void* psdr_alloc_image(int64_t bytes);

// Saturating conversion of a double from the file to an integer.
int32_t psdr_double_to_int(double value);

static inline uint32_t psdr_fourcc(const char* s)
{
    return (uint32_t)(uint8_t)s[0] << 24 | (uint32_t)(uint8_t)s[1] << 16 | (uint32_t)(uint8_t)s[2] << 8 |
           (uint32_t)(uint8_t)s[3];
}

#define PSDR_KEY(a, b, c, d)                                                                                 \
    ((uint32_t)(uint8_t)(a) << 24 | (uint32_t)(uint8_t)(b) << 16 | (uint32_t)(uint8_t)(c) << 8 |             \
     (uint32_t)(uint8_t)(d))

// Sections.
psdr_status psdr_read_header(psdr_document* doc);
psdr_status psdr_read_colour_mode_data(psdr_document* doc);
psdr_status psdr_read_image_resources(psdr_document* doc);
psdr_status psdr_read_thumbnail(psdr_document* doc, int64_t compressed_size);
psdr_status psdr_read_layer_and_mask(psdr_document* doc);
psdr_status psdr_read_image_data(psdr_document* doc);

// Layer helpers.
void psdr_layer_defaults(psdr_layer* layer);
void psdr_free_layer(psdr_layer* layer);
void psdr_free_layers(psdr_document* doc);
void psdr_free_block(int32_t kind, void* block);
// Dispatches adjustment, fill and effect keys; returns 1 in *handled when the key is known.
psdr_status psdr_read_layer_block(psdr_document* doc, psdr_layer* layer, uint32_t key, int64_t length,
                                  int* handled);

// Image helpers.
// Number of colour planes a mode needs (without transparency).
int32_t psdr_mode_planes(uint32_t mode);
// Decodes one channel's compressed data into `plane` (size bytes, `rows` rows of `row_bytes`).
psdr_status psdr_decode_plane(psdr_document* doc, int32_t method, const uint8_t* data, int64_t data_size,
                              uint8_t* plane, int64_t plane_size, int32_t rows, int64_t row_bytes,
                              int32_t row_samples);
// Decodes PackBits rows after their 16-bit (32-bit with wide counts) byte-count table.
void psdr_unpack_rows(const uint8_t* data, int64_t data_size, uint8_t* out, int64_t out_size, int32_t rows,
                      int64_t row_bytes);
// Row-by-row PackBits reader over one plane: its row counts start at `table` (the table of all
// planes ends at `table_end`) and its rows at `at`. Every row is bounded by the data and the row.
typedef struct psdr_rle
{
    const uint8_t* data;
    int64_t size;
    int64_t table;
    int64_t table_end;
    int64_t at;
} psdr_rle;
void psdr_rle_start(psdr_rle* c, const uint8_t* data, int64_t size, int64_t table, int64_t table_end,
                    int64_t at);
int64_t psdr_rle_plane_bytes(const psdr_rle* c, int32_t rows);
void psdr_rle_row(psdr_rle* c, int32_t row, uint8_t* out, int64_t row_bytes);
// Converts planes to ARGB. planes[0..3] colour in mode order, planes[4] transparency or null.
// A null colour plane reads as zero.
typedef struct psdr_planes
{
    const uint8_t* colour[4];
    const uint8_t* alpha;
    int32_t width, height;
    int32_t depth;       // 1, 8 or 16
    int32_t four_planes; // multichannel: four inks present
    const uint32_t* palette;
    int32_t palette_count;     // usable palette entries
    int32_t transparent_index; // -1 for none
} psdr_planes;
void psdr_convert(uint32_t mode, const psdr_planes* planes, uint32_t* out);
