#pragma once
// A small writer of layered RGB documents in the PSD format: 8-bit channels compressed
// with PackBits, named layers, layer groups and a merged image.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demodata/Canvas.h"
#include "tools/demodata/Output.h"

namespace demodata
{

class PsdDocument
{
public:
    PsdDocument(int width, int height) : mWidth(width), mHeight(height) {}

    // Layers are added bottom first, which is the order of the file.
    void AddLayer(const std::string& name, int left, int top, const Canvas& pixels,
                  std::uint8_t opacity = 255);
    // A group wraps the layers added between OpenGroup and CloseGroup.
    void OpenGroup();
    void CloseGroup(const std::string& name);

    Bytes Encode() const;

    // One pixel layer with its full name ("group/sub/name"), as a reader of the document lists it.
    struct NamedLayer
    {
        std::string name;
        int left, top;
        const Canvas* pixels;
        std::uint8_t opacity;
    };
    // Pixel layers from the top of the document down, without the bottom record.
    std::vector<NamedLayer> NamedLayers() const;

private:
    enum class Kind
    {
        Pixels,
        GroupStart,
        GroupEnd
    };
    struct Layer
    {
        std::string name;
        Kind kind = Kind::Pixels;
        int left = 0, top = 0;
        Canvas pixels;
        std::uint8_t opacity = 255;
    };
    int mWidth, mHeight;
    std::vector<Layer> mLayers;
};

} // namespace demodata
