#pragma once

#include "Core/Base/MathTypes.h"

#include <functional>
#include <string>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
} // namespace layer
namespace render
{
class Image;
}

class TDFrameEntry;

// Cutting single layers out of a screen's layout document.

// The record's rectangle (x, y, width, height).
math::Rect layoutRect(const base::ImageInfo& info);
// Visits each image a layout lists in a group ("" the root; recursive: the groups below as well) with its
// record, in the layout's order; a listed name without a record is passed over.
void forEachLayoutImage(
    file::ImageContainer& layout, const std::wstring& group, bool recursive,
    const std::function<void(const std::wstring& name, const base::ImageInfo& info)>& visit);
// The named image's record, or null.
const base::ImageInfo* findPsdLayer(file::ImageContainer* container, const std::wstring& name);
// A new image of the named layer (the caller owns it), or null when it cannot be loaded.
render::Image* loadPsdLayerImage(file::ImageContainer* container, const std::wstring& name);
// Gives the entry the listed layer's own image (owned), its rectangle and its depth (its index in the
// document).
void fillFromLayout(TDFrameEntry& entry, file::ImageContainer* container, const std::wstring& name,
                    const base::ImageInfo& info);
// A new entry owning the layer's image, with its rectangle, name and depth (its index in the document). A
// layer the document lacks gives an empty entry without texture, and a log line.
TDFrameEntry* createFrameEntryFromPsd(file::ImageContainer* container, const std::wstring& name);
// Gives the layer the named image (the layer owns it) and places it at the image's position less the origin.
// A layer the document lacks leaves the image layer as it was, with a log line.
void initImageLayerFromPsd(layer::ImageLayer* imageLayer, file::ImageContainer* container,
                           const std::wstring& name, const math::Point2& origin);
// Takes the layer out of its parent's child list; nothing for null or a layer without parent.
void removeFromParent(layer::Layer* child);
