// Dispatch of the adjustment, fill and effect blocks of a layer record.

#include "Core/Psd/PsdInternal.h"

#include <stdlib.h>

psdr_status psdr_read_layer_block(psdr_document* doc, psdr_layer* layer, uint32_t key, int64_t length, int* handled)
{
    (void)doc;
    (void)layer;
    (void)key;
    (void)length;
    *handled = 0;
    return PSDR_OK;
}

void psdr_free_block(int32_t kind, void* block)
{
    (void)kind;
    free(block);
}
