// Descriptor reader: items, value skipping, colours, enumerations, contours, gradients,
// pattern references and points.

#include "Core/Psd/PsdDescriptor.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

void psdr_read_id(psdr_document* doc, psdr_key* key)
{
    uint32_t length = psdr_read_uint32(doc);
    key->name[0] = 0;
    if (length == 0)
    {
        key->id = psdr_read_uint32(doc);
        return;
    }
    // Named: the first 255 characters are kept, the rest skipped.
    int64_t keep = length < 255 ? length : 255;
    int64_t got = psdr_read(doc, key->name, keep);
    key->name[got] = 0;
    psdr_skip(doc, (int64_t)length - keep);
    key->id = 0;
}

int psdr_key_is(const psdr_key* key, const char* name)
{
    if (key->id == 0)
        return strcmp(key->name, name) == 0;
    return strlen(name) == 4 && key->id == psdr_fourcc(name);
}

static void psdr_skip_units(psdr_document* doc)
{
    uint32_t n = psdr_read_uint32(doc);
    psdr_skip(doc, (int64_t)n * 2);
}

int64_t psdr_descriptor_begin(psdr_document* doc, uint32_t* class_id)
{
    psdr_skip_units(doc); // class name
    psdr_key id;
    psdr_read_id(doc, &id);
    if (class_id)
        *class_id = id.id;
    int64_t count = psdr_read_uint32(doc);
    // Every item takes at least eight bytes: key length and value type.
    int64_t most = psdr_left(doc) / 8;
    return count < most ? count : most;
}

int psdr_descriptor_item(psdr_document* doc, psdr_key* key, uint32_t* type)
{
    if (psdr_left(doc) < 8)
        return 0;
    psdr_read_id(doc, key);
    *type = psdr_read_uint32(doc);
    return 1;
}

static void psdr_skip_descriptor(psdr_document* doc)
{
    int64_t count = psdr_descriptor_begin(doc, NULL);
    psdr_key key;
    uint32_t type;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &type); ++i)
        psdr_skip_value(doc, type);
}

static void psdr_skip_reference(psdr_document* doc)
{
    int64_t count = psdr_read_uint32(doc);
    psdr_key key;
    for (int64_t i = 0; i < count && psdr_left(doc) >= 4; ++i)
    {
        uint32_t form = psdr_read_uint32(doc);
        switch (form)
        {
        case PSDR_KEY('C', 'l', 's', 's'):
            psdr_skip_units(doc);
            psdr_read_id(doc, &key);
            break;
        case PSDR_KEY('E', 'n', 'm', 'r'):
            psdr_skip_units(doc);
            psdr_read_id(doc, &key);
            psdr_read_id(doc, &key);
            psdr_read_id(doc, &key);
            break;
        case PSDR_KEY('I', 'd', 'n', 't'):
        case PSDR_KEY('i', 'n', 'd', 'x'):
            psdr_skip(doc, 4);
            break;
        case PSDR_KEY('n', 'a', 'm', 'e'):
            psdr_skip_units(doc);
            break;
        case PSDR_KEY('p', 'r', 'o', 'p'):
            psdr_skip_units(doc);
            psdr_read_id(doc, &key);
            psdr_read_id(doc, &key);
            break;
        case PSDR_KEY('r', 'e', 'l', 'e'):
            psdr_skip_units(doc);
            psdr_read_id(doc, &key);
            psdr_skip(doc, 4);
            break;
        default:
            return; // unknown form: nothing further can be told apart
        }
    }
}

void psdr_skip_value(psdr_document* doc, uint32_t type)
{
    psdr_reader* r = doc->reader;
    if (r->depth >= PSDR_DESCRIPTOR_DEPTH)
    {
        // Too deep to be a real document: the rest of the block is given up.
        psdr_skip(doc, psdr_left(doc));
        return;
    }
    ++r->depth;
    psdr_key key;
    switch (type)
    {
    case PSDR_KEY('b', 'o', 'o', 'l'):
        psdr_skip(doc, 1);
        break;
    case PSDR_KEY('d', 'o', 'u', 'b'):
    case PSDR_KEY('c', 'o', 'm', 'p'):
        psdr_skip(doc, 8);
        break;
    case PSDR_KEY('l', 'o', 'n', 'g'):
        psdr_skip(doc, 4);
        break;
    case PSDR_KEY('U', 'n', 't', 'F'):
        psdr_skip(doc, 12);
        break;
    case PSDR_KEY('U', 'n', 'F', 'l'):
    {
        psdr_skip(doc, 4);
        uint32_t n = psdr_read_uint32(doc);
        psdr_skip(doc, (int64_t)n * 8);
        break;
    }
    case PSDR_KEY('T', 'E', 'X', 'T'):
        psdr_skip_units(doc);
        break;
    case PSDR_KEY('a', 'l', 'i', 's'):
    case PSDR_KEY('t', 'd', 't', 'a'):
        psdr_skip(doc, psdr_read_uint32(doc));
        break;
    case PSDR_KEY('e', 'n', 'u', 'm'):
        psdr_read_id(doc, &key);
        psdr_read_id(doc, &key);
        break;
    case PSDR_KEY('t', 'y', 'p', 'e'):
    case PSDR_KEY('G', 'l', 'b', 'C'):
        psdr_skip_units(doc);
        psdr_read_id(doc, &key);
        break;
    case PSDR_KEY('O', 'b', 'j', 'c'):
    case PSDR_KEY('G', 'l', 'b', 'O'):
        psdr_skip_descriptor(doc);
        break;
    case PSDR_KEY('V', 'l', 'L', 's'):
    {
        int64_t n = psdr_read_uint32(doc);
        for (int64_t i = 0; i < n && psdr_left(doc) >= 4; ++i)
            psdr_skip_value(doc, psdr_read_uint32(doc));
        break;
    }
    case PSDR_KEY('o', 'b', 'j', ' '):
        psdr_skip_reference(doc);
        break;
    default:
        break;
    }
    --r->depth;
}

double psdr_read_number(psdr_document* doc, uint32_t type)
{
    switch (type)
    {
    case PSDR_KEY('U', 'n', 't', 'F'):
        psdr_skip(doc, 4);
        return psdr_read_double(doc);
    case PSDR_KEY('d', 'o', 'u', 'b'):
        return psdr_read_double(doc);
    case PSDR_KEY('l', 'o', 'n', 'g'):
        return psdr_read_int32(doc);
    default:
        psdr_skip_value(doc, type);
        return 0.0;
    }
}

int32_t psdr_read_int_number(psdr_document* doc, uint32_t type)
{
    return psdr_double_to_int(psdr_read_number(doc, type));
}

uint8_t psdr_read_flag(psdr_document* doc, uint32_t type)
{
    if (type == PSDR_KEY('b', 'o', 'o', 'l'))
        return psdr_read_bool(doc);
    psdr_skip_value(doc, type);
    return 0;
}

uint8_t psdr_read_opacity(psdr_document* doc, uint32_t type)
{
    // Scaled as 255 / 100 so that whole percentages land on the nearest byte (50 % is 128).
    return (uint8_t)psdr_double_to_int(psdr_read_number(doc, type) * 255.0 / 100.0 + 0.5);
}

uint32_t psdr_read_enum(psdr_document* doc, uint32_t type, psdr_key* value)
{
    if (type != PSDR_KEY('e', 'n', 'u', 'm'))
    {
        psdr_skip_value(doc, type);
        value->id = 0;
        value->name[0] = 0;
        return 0;
    }
    psdr_key enum_type;
    psdr_read_id(doc, &enum_type);
    psdr_read_id(doc, value);
    return value->id;
}

int32_t psdr_read_blend_enum(psdr_document* doc, uint32_t type)
{
    psdr_key v;
    uint32_t id = psdr_read_enum(doc, type, &v);
    if (id == 0)
    {
        static const struct
        {
            const char* name;
            int32_t mode;
        } named[] = {{"linearBurn", 5},   {"linearDodge", 9}, {"vividLight", 13},
                     {"linearLight", 14}, {"pinLight", 15},   {"hardMix", 16}};
        for (const auto& n : named)
            if (strcmp(v.name, n.name) == 0)
                return n.mode;
        return 0;
    }
    static const struct
    {
        const char* id;
        int32_t mode;
    } ids[] = {{"CBrn", 4},  {"CDdg", 8},  {"Clr ", 21}, {"Dfrn", 17}, {"Drkn", 2}, {"Dslv", 1},
               {"H   ", 19}, {"HrdL", 12}, {"Lghn", 6},  {"Lmns", 22}, {"Mltp", 3}, {"Ovrl", 10},
               {"Scrn", 7},  {"SftL", 11}, {"Strt", 20}, {"Xclu", 18}};
    for (const auto& n : ids)
        if (psdr_fourcc(n.id) == id)
            return n.mode;
    return 0;
}

uint32_t psdr_read_descriptor_colour(psdr_document* doc, uint32_t type)
{
    if (type != PSDR_KEY('O', 'b', 'j', 'c'))
    {
        psdr_skip_value(doc, type);
        return 0xFF000000u;
    }
    // Red, green and blue by key; other colour models give their first three numbers in order.
    double rgb[3] = {0, 0, 0}, first[3] = {0, 0, 0};
    int found = 0, numbers = 0;
    int64_t count = psdr_descriptor_begin(doc, NULL);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
    {
        double v = psdr_read_number(doc, t);
        if (numbers < 3)
            first[numbers++] = v;
        if (psdr_key_is(&key, "Rd  "))
            rgb[0] = v, found |= 1;
        else if (psdr_key_is(&key, "Grn "))
            rgb[1] = v, found |= 2;
        else if (psdr_key_is(&key, "Bl  "))
            rgb[2] = v, found |= 4;
    }
    const double* c = found ? rgb : first;
    return psdr_rgb_to_argb(psdr_double_to_int(c[0]), psdr_double_to_int(c[1]), psdr_double_to_int(c[2]));
}

void psdr_contour_default(psdr_contour* contour)
{
    for (int i = 0; i < 256; ++i)
        contour->table[i] = (uint8_t)i;
    contour->anti_aliased = 0;
}

// Clamped to 0..255; NaN from a damaged file reads as 0.
static double clampd(double v)
{
    return !(v > 0) ? 0 : v > 255 ? 255 : v;
}

// Catmull-Rom segments between the control points, walked by forward differencing; a corner
// point ends the curve on both its sides.
void psdr_contour_build(psdr_contour* contour, const uint8_t* xs, const uint8_t* ys, const uint8_t* corner,
                        int count)
{
    if (count <= 0)
        return;
    for (int x = 0; x < xs[0]; ++x)
        contour->table[x] = ys[0];
    for (int x = xs[count - 1]; x < 256; ++x)
        contour->table[x] = ys[count - 1];
    static const double m[4][4] = {
        {-0.5, 1.5, -1.5, 0.5}, {1, -2.5, 2, -0.5}, {-0.5, 0, 0.5, 0}, {0, 1, 0, 0}};
    for (int k = 0; k + 1 < count; ++k)
    {
        int i0 = (k == 0 || corner[k]) ? k : k - 1;
        int i3 = (k + 1 == count - 1 || corner[k + 1]) ? k + 1 : k + 2;
        const int idx[4] = {i0, k, k + 1, i3};
        double cx[4], cy[4];
        for (int r = 0; r < 4; ++r)
        {
            cx[r] = cy[r] = 0;
            for (int c = 0; c < 4; ++c)
            {
                cx[r] += m[r][c] * xs[idx[c]];
                cy[r] += m[r][c] * ys[idx[c]];
            }
        }
        // p(t) = a t^3 + b t^2 + c t + d, stepped with h = 1/512.
        const double h = 1.0 / 512.0;
        double x = cx[3], y = cy[3];
        double dx = cx[0] * h * h * h + cx[1] * h * h + cx[2] * h;
        double dy = cy[0] * h * h * h + cy[1] * h * h + cy[2] * h;
        double ddx = 6 * cx[0] * h * h * h + 2 * cx[1] * h * h,
               ddy = 6 * cy[0] * h * h * h + 2 * cy[1] * h * h;
        double dddx = 6 * cx[0] * h * h * h, dddy = 6 * cy[0] * h * h * h;
        int lx = (int)clampd(x), ly = (int)clampd(y);
        contour->table[lx] = (uint8_t)ly;
        for (int step = 0; step < 512; ++step)
        {
            x += dx;
            y += dy;
            dx += ddx;
            dy += ddy;
            ddx += dddx;
            ddy += dddy;
            int px = (int)clampd(x + 0.5), py = (int)clampd(y + 0.5);
            if (px != lx || py != ly)
            {
                contour->table[px] = (uint8_t)py;
                lx = px;
                ly = py;
            }
        }
    }
    for (int k = 0; k < count; ++k)
        contour->table[xs[k]] = ys[k];
}

void psdr_read_contour(psdr_document* doc, uint32_t type, psdr_contour* contour)
{
    if (type != PSDR_KEY('O', 'b', 'j', 'c'))
    {
        psdr_skip_value(doc, type);
        return;
    }
    uint8_t xs[256], ys[256], corner[256];
    int points = 0;
    int64_t count = psdr_descriptor_begin(doc, NULL);
    psdr_key key;
    uint32_t t;
    for (int64_t i = 0; i < count && psdr_descriptor_item(doc, &key, &t); ++i)
    {
        if (!psdr_key_is(&key, "Crv ") || t != PSDR_KEY('V', 'l', 'L', 's'))
        {
            psdr_skip_value(doc, t);
            continue;
        }
        int64_t n = psdr_read_uint32(doc);
        for (int64_t p = 0; p < n && psdr_left(doc) >= 4; ++p)
        {
            uint32_t pt = psdr_read_uint32(doc);
            if (pt != PSDR_KEY('O', 'b', 'j', 'c') || points >= 256)
            {
                // Points beyond the table's 256 are stepped over.
                psdr_skip_value(doc, pt);
                continue;
            }
            double px = 0, py = 0;
            uint8_t smooth = 1;
            int64_t items = psdr_descriptor_begin(doc, NULL);
            psdr_key k2;
            uint32_t t2;
            for (int64_t j = 0; j < items && psdr_descriptor_item(doc, &k2, &t2); ++j)
            {
                if (psdr_key_is(&k2, "Hrzn"))
                    px = psdr_read_number(doc, t2);
                else if (psdr_key_is(&k2, "Vrtc"))
                    py = psdr_read_number(doc, t2);
                else if (psdr_key_is(&k2, "Cnty"))
                    smooth = psdr_read_flag(doc, t2);
                else
                    psdr_skip_value(doc, t2);
            }
            xs[points] = (uint8_t)clampd(px);
            ys[points] = (uint8_t)clampd(py);
            corner[points] = !smooth;
            ++points;
        }
    }
    if (points > 0)
        psdr_contour_build(contour, xs, ys, corner, points);
}

static psdr_status psdr_read_units_into(psdr_document* doc, int32_t* length, uint16_t** units)
{
    int64_t n = psdr_read_uint32(doc);
    if (n <= 0)
        return PSDR_OK;
    if (n * 2 > psdr_left(doc))
        n = psdr_left(doc) / 2;
    uint16_t* u = (uint16_t*)malloc((size_t)n * 2 + 2);
    if (!u)
        return PSDR_ERR_MEMORY;
    psdr_read(doc, u, n * 2);
    u[n] = 0;
    free(*units);
    *units = u;
    *length = (int32_t)n;
    return PSDR_OK;
}

static int32_t psdr_stop_kind(uint32_t id)
{
    if (id == PSDR_KEY('B', 'c', 'k', 'C'))
        return 1;
    if (id == PSDR_KEY('U', 's', 'r', 'S'))
        return 2;
    return 0;
}

void psdr_read_gradient(psdr_document* doc, uint32_t type, psdr_gradient* g)
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
    {
        if (psdr_key_is(&key, "Nm  ") && t == PSDR_KEY('T', 'E', 'X', 'T'))
        {
            if (psdr_read_units_into(doc, &g->name_length, &g->name) != PSDR_OK)
                return;
        }
        else if (psdr_key_is(&key, "Intr"))
            g->smoothness = psdr_read_int_number(doc, t);
        else if ((psdr_key_is(&key, "Clrs") || psdr_key_is(&key, "Trns")) &&
                 t == PSDR_KEY('V', 'l', 'L', 's'))
        {
            const int colours = psdr_key_is(&key, "Clrs");
            int64_t n = psdr_read_uint32(doc);
            // A stop takes at least 16 bytes; the list is sized by what the block can hold.
            if (n > psdr_left(doc) / 16)
                n = psdr_left(doc) / 16;
            if (n <= 0)
                continue;
            void* stops =
                calloc((size_t)n, colours ? sizeof(psdr_colour_stop) : sizeof(psdr_transparency_stop));
            if (!stops)
                return;
            if (colours)
            {
                free(g->colour_stops);
                g->colour_stops = (psdr_colour_stop*)stops;
                g->colour_stop_count = 0;
            }
            else
            {
                free(g->transparency_stops);
                g->transparency_stops = (psdr_transparency_stop*)stops;
                g->transparency_stop_count = 0;
            }
            for (int64_t s = 0; s < n && psdr_left(doc) >= 4; ++s)
            {
                uint32_t st = psdr_read_uint32(doc);
                if (st != PSDR_KEY('O', 'b', 'j', 'c'))
                {
                    psdr_skip_value(doc, st);
                    continue;
                }
                psdr_colour_stop cs = {0, 50, 0xFF000000u, 2};
                psdr_transparency_stop ts = {0, 50, 255};
                int64_t items = psdr_descriptor_begin(doc, NULL);
                psdr_key k2;
                uint32_t t2;
                for (int64_t j = 0; j < items && psdr_descriptor_item(doc, &k2, &t2); ++j)
                {
                    if (psdr_key_is(&k2, "Clr "))
                        cs.colour = psdr_read_descriptor_colour(doc, t2);
                    else if (psdr_key_is(&k2, "Type"))
                    {
                        psdr_key v;
                        cs.type = psdr_stop_kind(psdr_read_enum(doc, t2, &v));
                    }
                    else if (psdr_key_is(&k2, "Lctn"))
                        cs.location = ts.location = psdr_read_int_number(doc, t2);
                    else if (psdr_key_is(&k2, "Mdpn"))
                        cs.midpoint = ts.midpoint = psdr_read_int_number(doc, t2);
                    else if (psdr_key_is(&k2, "Opct"))
                        ts.opacity = (int16_t)psdr_read_int_number(doc, t2);
                    else
                        psdr_skip_value(doc, t2);
                }
                if (colours)
                    g->colour_stops[g->colour_stop_count++] = cs;
                else
                    g->transparency_stops[g->transparency_stop_count++] = ts;
            }
        }
        else
            psdr_skip_value(doc, t);
    }
}

void psdr_read_pattern_ref(psdr_document* doc, uint32_t type, psdr_pattern_ref* p)
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
    {
        if (psdr_key_is(&key, "Idnt") && t == PSDR_KEY('T', 'E', 'X', 'T'))
        {
            int64_t n = psdr_read_uint32(doc);
            int64_t keep = n < (int64_t)PSDR_PATTERN_ID_UNITS ? n : (int64_t)PSDR_PATTERN_ID_UNITS;
            int64_t got = psdr_read(doc, p->identifier, keep * 2) / 2;
            p->identifier_length = (int32_t)got;
            psdr_skip(doc, (n - keep) * 2);
        }
        else if (psdr_key_is(&key, "Nm  ") && t == PSDR_KEY('T', 'E', 'X', 'T'))
        {
            if (psdr_read_units_into(doc, &p->name_length, &p->name) != PSDR_OK)
                return;
        }
        else
            psdr_skip_value(doc, t);
    }
}

void psdr_read_point(psdr_document* doc, uint32_t type, int32_t* x, int32_t* y)
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
    {
        if (psdr_key_is(&key, "Hrzn"))
            *x = psdr_read_int_number(doc, t);
        else if (psdr_key_is(&key, "Vrtc"))
            *y = psdr_read_int_number(doc, t);
        else
            psdr_skip_value(doc, t);
    }
}

void psdr_free_gradient(psdr_gradient* g)
{
    free(g->name);
    free(g->colour_stops);
    free(g->transparency_stops);
    g->name = NULL;
    g->colour_stops = NULL;
    g->transparency_stops = NULL;
}

void psdr_free_pattern_ref(psdr_pattern_ref* p)
{
    free(p->name);
    p->name = NULL;
}
