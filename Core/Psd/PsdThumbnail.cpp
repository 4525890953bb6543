// JPEG thumbnail of resources 1033 and 1036, decoded from a bounded in-memory copy.

#include "Core/Psd/PsdInternal.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

namespace
{

struct ErrorManager
{
    jpeg_error_mgr base;
    jmp_buf jump;
};

extern "C" void psdr_jpeg_fail(j_common_ptr info)
{
    // Back to the decoder, which reports the failure; the library's message is not printed.
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

extern "C" void psdr_jpeg_silent(j_common_ptr, int) {}

// Largest thumbnail accepted; the resource holds a preview, not an image.
const uint64_t kMaxThumbnailPixels = 1u << 24;

// Kept outside the setjmp frame so longjmp cannot clobber them.
struct Decode
{
    jpeg_decompress_struct info;
    ErrorManager error;
    uint8_t* data = nullptr;
    uint8_t* rows = nullptr;
    uint32_t* pixels = nullptr;
};

int decode(Decode& d, int64_t size, uint32_t& width, uint32_t& height)
{
    if (setjmp(d.error.jump))
        return PSDR_ERR_THUMBNAIL;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, d.data, (unsigned long)size);
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return PSDR_ERR_THUMBNAIL;
    d.info.do_fancy_upsampling = FALSE;
    d.info.do_block_smoothing = FALSE;
    jpeg_start_decompress(&d.info);
    uint64_t w = d.info.output_width, h = d.info.output_height;
    int comps = d.info.output_components;
    if (w == 0 || h == 0 || w * h > kMaxThumbnailPixels || (comps != 1 && comps != 3 && comps != 4))
        return PSDR_ERR_THUMBNAIL;
    J_COLOR_SPACE space = d.info.out_color_space;
    if (space != JCS_GRAYSCALE && space != JCS_RGB && space != JCS_CMYK)
        return PSDR_ERR_THUMBNAIL;
    d.rows = (uint8_t*)malloc((size_t)(w * (uint64_t)comps));
    d.pixels = (uint32_t*)malloc((size_t)(w * h * 4));
    if (!d.rows || !d.pixels)
        return PSDR_ERR_MEMORY;
    const bool inverted_cmyk = d.info.saw_Adobe_marker; // the APP14 marker stores inverted inks
    while (d.info.output_scanline < d.info.output_height)
    {
        uint64_t y = d.info.output_scanline;
        JSAMPROW row = d.rows;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            return PSDR_ERR_THUMBNAIL;
        uint32_t* out = d.pixels + y * w;
        for (uint64_t x = 0; x < w; ++x)
        {
            const uint8_t* p = d.rows + x * comps;
            uint32_t r, g, b;
            if (space == JCS_GRAYSCALE)
                r = g = b = p[0];
            else if (space == JCS_RGB)
                r = p[0], g = p[1], b = p[2];
            else if (inverted_cmyk)
                r = p[0] * p[3] / 255, g = p[1] * p[3] / 255, b = p[2] * p[3] / 255;
            else
                r = (255 - p[0]) * (255 - p[3]) / 255, g = (255 - p[1]) * (255 - p[3]) / 255,
                b = (255 - p[2]) * (255 - p[3]) / 255;
            out[x] = 0xFF000000u | r << 16 | g << 8 | b;
        }
    }
    jpeg_finish_decompress(&d.info);
    width = (uint32_t)w;
    height = (uint32_t)h;
    return PSDR_OK;
}

} // namespace

psdr_status psdr_read_thumbnail(psdr_document* doc, int64_t compressed_size)
{
    if (compressed_size > psdr_left(doc))
        compressed_size = psdr_left(doc);
    if (compressed_size <= 0)
        return PSDR_ERR_THUMBNAIL;
    Decode d;
    memset(&d.info, 0, sizeof d.info);
    d.info.err = jpeg_std_error(&d.error.base);
    d.error.base.error_exit = psdr_jpeg_fail;
    d.error.base.emit_message = psdr_jpeg_silent;
    d.data = (uint8_t*)malloc((size_t)compressed_size);
    if (!d.data)
        return PSDR_ERR_MEMORY;
    psdr_read(doc, d.data, compressed_size);
    uint32_t width = 0, height = 0;
    int status = decode(d, compressed_size, width, height);
    jpeg_destroy_decompress(&d.info);
    free(d.data);
    free(d.rows);
    if (status != PSDR_OK)
    {
        free(d.pixels);
        return status;
    }
    // The pixel array always matches the recorded size.
    doc->thumbnail_width = width;
    doc->thumbnail_height = height;
    doc->thumbnail_pixels = d.pixels;
    return PSDR_OK;
}
