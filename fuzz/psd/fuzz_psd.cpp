// Loads arbitrary bytes as a layered document through a memory stream.

#include "Core/Psd/Psd.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f)
        return 0;
    psdr_document* doc = nullptr;
    psdr_status status = psdr_load_stream(f, &doc, PSDR_LOAD_ALL);
    if ((status == PSDR_OK) != (doc != nullptr))
        __builtin_trap();
    if (doc)
    {
        // Touch every decoded pixel so a wrong size shows up under the sanitizer.
        uint32_t sum = 0;
        for (int i = 0; i < doc->layer_count; ++i)
        {
            const psdr_layer& l = doc->layers[i];
            if (l.pixels)
                for (int64_t k = 0; k < int64_t(l.width) * l.height; ++k)
                    sum += l.pixels[k];
        }
        if (doc->merged_image)
            sum += doc->merged_image[int64_t(doc->width) * doc->height - 1];
        (void)sum;
    }
    psdr_free(doc);
    std::fclose(f);
    return 0;
}
