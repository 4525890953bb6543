#pragma once
// DirectDraw Surface files: uncompressed B,G,R,A and the three S3TC block formats.
#include "tools/demodata/Canvas.h"
#include "tools/demodata/Output.h"

namespace demodata
{

enum class DdsFormat
{
    Bgra,
    Dxt1,
    Dxt3,
    Dxt5
};

// With mips, the whole chain down to 1 x 1 is stored and counted in the header;
// otherwise the header says one level.
Bytes EncodeDds(const Canvas& image, DdsFormat format, bool mips = false);

} // namespace demodata
