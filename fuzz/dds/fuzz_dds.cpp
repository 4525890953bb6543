// DDS files through the image loader: header checks, then the copy into a buffer of the decoded size and the
// mask.
#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::MemoryStream stream(data, static_cast<unsigned>(size));
    std::unique_ptr<render::ImageData> image(
        render::ImageLoader::Instance()->Load(&stream, L".dds", nullptr));
    if (!image)
        return 0;
    const auto w = static_cast<uint32_t>(image->GetWidth());
    const auto h = static_cast<uint32_t>(image->GetHeight());
    uint32_t pitch = w * 4;
    uint64_t bytes = static_cast<uint64_t>(pitch) * h;
    if (image->GetCompression() != render::ImageUncompressed)
    {
        pitch = (w + 3) / 4 * (image->GetCompression() == render::ImageDXT1 ? 8 : 16);
        bytes = static_cast<uint64_t>(pitch) * ((h + 3) / 4);
    }
    // Loading checked that the file holds every declared level, so this buffer is never larger than the
    // input.
    if (bytes > size)
        __builtin_trap();
    std::vector<uint8_t> pixels(static_cast<size_t>(bytes));
    render::HitMask mask;
    mask.Resize(w * h, false);
    image->CopyPixels(pitch, pixels.data(), &mask);
    return 0;
}
