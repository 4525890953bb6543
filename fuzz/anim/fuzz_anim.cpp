// Animation files: any bytes are read or refused; a read animation is evaluated across and beyond its range.
#include "Core/Animation/AnimData.h"
#include "Core/Base/MemoryStream.h"

#include "Core/Render/Render.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    base::MemoryStream stream(data, static_cast<unsigned>(size));
    animation::AnimData anim;
    if (anim.Read(stream) != VN_OK)
        return 0;
    volatile float sink = 0.0f;
    for (const auto& record : anim.GetRecords())
    {
        for (const auto& envelope : record->channels)
        {
            for (float t : {-7.5f, -0.1f, 0.0f, 0.25f, 1.0f, 3.3f, 1e6f, anim.GetEndTime()})
                sink = sink + envelope.Evaluate(t);
        }
    }
    (void)sink;
    return 0;
}
