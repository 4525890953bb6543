#pragma once
// Private descriptor reader shared by the effect and fill-layer readers. Every reader stays in
// the enclosing block; counts are bounded by the bytes left and nesting by a depth limit.

#include "Core/Psd/PsdBlocks.h"
#include "Core/Psd/PsdInternal.h"

enum
{
    PSDR_DESCRIPTOR_DEPTH = 16
};

// An item key or identifier: a four-character id, or a name (id 0).
typedef struct psdr_key
{
    uint32_t id;
    char name[256];
} psdr_key;

void psdr_read_id(psdr_document* doc, psdr_key* key);
// Class name and class id of a descriptor, then its item count (bounded by the bytes left).
int64_t psdr_descriptor_begin(psdr_document* doc, uint32_t* class_id);
// Next item's key and value type; 0 when the block holds no more.
int psdr_descriptor_item(psdr_document* doc, psdr_key* key, uint32_t* type);
int psdr_key_is(const psdr_key* key, const char* name);
void psdr_skip_value(psdr_document* doc, uint32_t type);
// A number of any numeric value type ('UntF', 'doub', 'long'); other types are skipped, giving 0.
double psdr_read_number(psdr_document* doc, uint32_t type);
int32_t psdr_read_int_number(psdr_document* doc, uint32_t type);
uint8_t psdr_read_flag(psdr_document* doc, uint32_t type);
// An opacity percentage as 0..255.
uint8_t psdr_read_opacity(psdr_document* doc, uint32_t type);
// An enumerated value: its type id then its value id, returned (0 with the name for a named value).
uint32_t psdr_read_enum(psdr_document* doc, uint32_t type, psdr_key* value);
int32_t psdr_read_blend_enum(psdr_document* doc, uint32_t type);
uint32_t psdr_read_descriptor_colour(psdr_document* doc, uint32_t type);
void psdr_read_contour(psdr_document* doc, uint32_t type, psdr_contour* contour);
void psdr_contour_default(psdr_contour* contour);
void psdr_contour_build(psdr_contour* contour, const uint8_t* xs, const uint8_t* ys, const uint8_t* corner,
                        int count);
void psdr_read_gradient(psdr_document* doc, uint32_t type, psdr_gradient* gradient);
void psdr_read_pattern_ref(psdr_document* doc, uint32_t type, psdr_pattern_ref* pattern);
void psdr_read_point(psdr_document* doc, uint32_t type, int32_t* x, int32_t* y);
void psdr_free_gradient(psdr_gradient* gradient);
void psdr_free_pattern_ref(psdr_pattern_ref* pattern);
void psdr_free_effects(psdr_effects* effects);

psdr_status psdr_read_old_effects(psdr_document* doc, psdr_layer* layer, psdr_effects* fx);
psdr_status psdr_read_effects(psdr_document* doc, psdr_layer* layer, psdr_effects* fx);
void psdr_effects_defaults(psdr_effects* fx);
