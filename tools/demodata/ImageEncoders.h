#pragma once
// Encoders for the picture formats the engine reads through its image library.
#include "tools/demodata/Canvas.h"
#include "tools/demodata/Output.h"

namespace demodata
{

Bytes EncodePng(const Canvas& image);
// Opaque JPEG (alpha dropped) at a fixed quality.
Bytes EncodeJpeg(const Canvas& image, int quality = 88);
// Uncompressed 32-bit TGA stored top-down.
Bytes EncodeTga(const Canvas& image);
// 24-bit BMP stored bottom-up, the usual row order of the format.
Bytes EncodeBmp(const Canvas& image);
// GIF with a palette of the picture's colours (at most 256; extra colours map to the nearest).
Bytes EncodeGif(const Canvas& image);

} // namespace demodata
