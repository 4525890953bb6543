#include "Source/TD/Harness/TDPicture.h"

#include "Source/TD/Game.h"
#include "Source/TD/Harness/TDGameHarness.h"

#include <png.h>

#include <cstdlib>

namespace tdtest
{

uint32_t Picture::at(float x, float y) const
{
    const int px = static_cast<int>((x - visible.x) * static_cast<float>(width) / visible.width);
    const int py = static_cast<int>((y - visible.y) * static_cast<float>(height) / visible.height);
    if (px < 0 || py < 0 || px >= width || py >= height)
        return 0;
    return pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(px)];
}

int Picture::changedAround(const Picture& other, float x, float y, float halfWidth, float halfHeight) const
{
    int changed = 0;
    for (float v = y - halfHeight; v < y + halfHeight; v += 2.0f)
        for (float u = x - halfWidth; u < x + halfWidth; u += 2.0f)
            changed += at(u, v) != other.at(u, v) ? 1 : 0;
    return changed;
}

bool Picture::save(const std::string& path) const
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr) != 0;
}

bool Picture::load(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_BGRA;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    return png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
}

Picture takePicture(const GameHarness& harness)
{
    Picture picture;
    picture.pixels = harness.readFrame(picture.width, picture.height);
    picture.visible = harness.game()->GetVisibleRect();
    return picture;
}

double differingShare(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty())
        return 1.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
        {
            const int ca = static_cast<int>((a.pixels[i] >> shift) & 0xFF);
            const int cb = static_cast<int>((b.pixels[i] >> shift) & 0xFF);
            if (std::abs(ca - cb) > 48)
            {
                ++differing;
                break;
            }
        }
    return static_cast<double>(differing) / static_cast<double>(a.pixels.size());
}

} // namespace tdtest
