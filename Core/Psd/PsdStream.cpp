// Buffered big-endian stream with block limits.

#include "Core/Psd/PsdInternal.h"

#include <math.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif
#include <stdlib.h>
#include <string.h>

static int32_t psdr_refill(psdr_reader* r)
{
    if (!r->buffer)
    {
        r->buffer = (uint8_t*)malloc(PSDR_BUFFER_SIZE);
        if (!r->buffer)
            return 0;
    }
    size_t got = fread(r->buffer, 1, PSDR_BUFFER_SIZE, r->file);
    if (got < PSDR_BUFFER_SIZE && ferror(r->file))
        r->failed = 1;
    r->fill = (int32_t)got;
    r->pos = 0;
    return (int32_t)got;
}

int64_t psdr_tell(const psdr_document* doc)
{
    return doc->reader->stream_pos;
}

int64_t psdr_left(const psdr_document* doc)
{
    const psdr_reader* r = doc->reader;
    return r->limit > r->stream_pos ? r->limit - r->stream_pos : 0;
}

int64_t psdr_read(psdr_document* doc, void* destination, int64_t count)
{
    psdr_reader* r = doc->reader;
    if (!destination || count <= 0)
        return 0;
    if (count > psdr_left(doc))
        count = psdr_left(doc);
    uint8_t* out = (uint8_t*)destination;
    int64_t done = 0;
    int32_t held = r->fill - r->pos;
    if (held > 0 && count >= held)
    {
        memcpy(out, r->buffer + r->pos, (size_t)held);
        r->pos = r->fill;
        done = held;
    }
    int64_t rest = count - done;
    if (rest > PSDR_BUFFER_SIZE)
    {
        size_t got = fread(out + done, 1, (size_t)rest, r->file);
        if ((int64_t)got < rest && ferror(r->file))
            r->failed = 1;
        done += (int64_t)got;
        r->fill = r->pos = 0;
    }
    else if (rest > 0)
    {
        if (r->fill - r->pos <= 0)
            psdr_refill(r);
        int32_t avail = r->fill - r->pos;
        int32_t take = rest < avail ? (int32_t)rest : avail;
        if (take > 0)
        {
            memcpy(out + done, r->buffer + r->pos, (size_t)take);
            r->pos += take;
            done += take;
        }
    }
    r->stream_pos += done;
    return done;
}

int64_t psdr_skip(psdr_document* doc, int64_t count)
{
    psdr_reader* r = doc->reader;
    if (count <= 0)
        return 0;
    if (count > psdr_left(doc))
        count = psdr_left(doc);
    int32_t held = r->fill - r->pos;
    if (count <= held)
    {
        r->pos += (int32_t)count;
    }
    else
    {
        // Drop what the buffer holds and seek past the rest.
        int64_t rest = count - held;
        r->fill = r->pos = 0;
        if (fseeko(r->file, (off_t)rest, SEEK_CUR) != 0)
            r->failed = 1;
    }
    r->stream_pos += count;
    return count;
}

static inline int psdr_take(psdr_document* doc, uint8_t* bytes, int32_t n)
{
    psdr_reader* r = doc->reader;
    if (r->fill - r->pos >= n && r->limit - r->stream_pos >= n)
    {
        memcpy(bytes, r->buffer + r->pos, (size_t)n);
        r->pos += n;
        r->stream_pos += n;
        return 1;
    }
    return psdr_read(doc, bytes, n) == n;
}

uint8_t psdr_read_byte(psdr_document* doc)
{
    uint8_t b = 0;
    return psdr_take(doc, &b, 1) ? b : 0;
}

uint8_t psdr_read_bool(psdr_document* doc)
{
    return psdr_read_byte(doc) != 0;
}

int16_t psdr_read_int16(psdr_document* doc)
{
    uint8_t b[2];
    if (!psdr_take(doc, b, 2))
        return 0;
    return (int16_t)(uint16_t)(b[0] << 8 | b[1]);
}

uint32_t psdr_read_uint32(psdr_document* doc)
{
    uint8_t b[4];
    if (!psdr_take(doc, b, 4))
        return 0;
    return (uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3];
}

int32_t psdr_read_int32(psdr_document* doc)
{
    return (int32_t)psdr_read_uint32(doc);
}

double psdr_read_double(psdr_document* doc)
{
    uint8_t b[8];
    if (!psdr_take(doc, b, 8))
        return 0.0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | b[i];
    double value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

psdr_status psdr_block_open(psdr_document* doc, int64_t length, int32_t round, psdr_block* block)
{
    psdr_reader* r = doc->reader;
    if (length < 0 || length > psdr_left(doc))
        return PSDR_ERR_RANGE;
    int64_t end = r->stream_pos + length;
    if (round > 1)
    {
        int64_t padded = (end - r->stream_pos + round - 1) / round * round + r->stream_pos;
        // Writers differ on padding; the pad never reaches past the enclosing block.
        end = padded < r->limit ? padded : r->limit;
    }
    block->end = end;
    block->outer_limit = r->limit;
    r->limit = end;
    return PSDR_OK;
}

void psdr_block_close(psdr_document* doc, const psdr_block* block)
{
    psdr_reader* r = doc->reader;
    if (block->end > r->stream_pos)
        psdr_skip(doc, block->end - r->stream_pos);
    r->limit = block->outer_limit;
}

psdr_status psdr_charge(psdr_document* doc, int64_t bytes)
{
    psdr_reader* r = doc->reader;
    if (bytes < 0 || bytes > r->budget)
        return PSDR_ERR_RANGE;
    r->budget -= bytes;
    return PSDR_OK;
}

int32_t psdr_double_to_int(double value)
{
    if (isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return (int32_t)value;
}

psdr_blend_mode psdr_blend_from_key(uint32_t key)
{
    static const char* const keys[] = {"norm", "diss", "dark", "mul ", "idiv", "lbrn", "lite", "scrn",
                                       "div ", "lddg", "over", "sLit", "hLit", "vLit", "lLit", "pLit",
                                       "hMix", "diff", "smud", "hue ", "sat ", "colr", "lum ", "pass"};
    for (int i = 0; i < 24; ++i)
        if (psdr_fourcc(keys[i]) == key)
            return i;
    return 0;
}

psdr_blend_mode psdr_read_blend_key(psdr_document* doc)
{
    return psdr_blend_from_key(psdr_read_uint32(doc));
}

void* psdr_alloc_image(int64_t bytes)
{
    if (bytes <= 0)
        return NULL;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Large images are written once, front to back: huge pages spare most of the page faults.
    const int64_t huge = 2ll << 20;
    if (bytes >= 8 * huge)
    {
        void* p = NULL;
        if (posix_memalign(&p, (size_t)huge, (size_t)bytes) != 0)
            return NULL;
        madvise(p, (size_t)bytes, MADV_HUGEPAGE);
        return p;
    }
#endif
    return malloc((size_t)bytes);
}
