#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Log.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Sprites/TDFrameEntry.h"

namespace
{

void logMissingLayer(file::ImageContainer* container, const std::wstring& name)
{
    const std::wstring where = container != nullptr ? container->GetPath() : std::wstring(L"(no layout)");
    base::LogMessage(*base::MainLog::Instance(), L"Layout '%s' has no layer '%s'.\n") % where % name;
}

} // namespace

math::Rect layoutRect(const base::ImageInfo& info)
{
    return math::Rect(info.mRect[0], info.mRect[1], info.mRect[2], info.mRect[3]);
}

void forEachLayoutImage(
    file::ImageContainer& layout, const std::wstring& group, bool recursive,
    const std::function<void(const std::wstring& name, const base::ImageInfo& info)>& visit)
{
    std::vector<std::wstring> names;
    (void)layout.ListImages(group, recursive, &names, false);
    for (const std::wstring& name : names)
        if (const base::ImageInfo* info = layout.FindImageInfo(name))
            visit(name, *info);
}

const base::ImageInfo* findPsdLayer(file::ImageContainer* container, const std::wstring& name)
{
    return container != nullptr ? container->FindImageInfo(name) : nullptr;
}

render::Image* loadPsdLayerImage(file::ImageContainer* container, const std::wstring& name)
{
    framework::GameApplication* application = framework::GetGameApplication();
    return application != nullptr ? application->LoadTexture(name, container) : nullptr;
}

void fillFromLayout(TDFrameEntry& entry, file::ImageContainer* container, const std::wstring& name,
                    const base::ImageInfo& info)
{
    entry.mOwnsTexture = true;
    entry.mRect = layoutRect(info);
    entry.mDepth = info.mIndex;
    entry.mTexture = loadPsdLayerImage(container, name);
}

TDFrameEntry* createFrameEntryFromPsd(file::ImageContainer* container, const std::wstring& name)
{
    auto* entry = new TDFrameEntry;
    entry->mName = name;
    entry->mVisible = true;
    entry->mOwnsTexture = true;
    const base::ImageInfo* info = findPsdLayer(container, name);
    if (info == nullptr)
    {
        logMissingLayer(container, name);
        return entry;
    }
    fillFromLayout(*entry, container, name, *info);
    return entry;
}

void initImageLayerFromPsd(layer::ImageLayer* imageLayer, file::ImageContainer* container,
                           const std::wstring& name, const math::Point2& origin)
{
    if (imageLayer == nullptr)
        return;
    const base::ImageInfo* info = findPsdLayer(container, name);
    if (info == nullptr)
    {
        logMissingLayer(container, name);
        return;
    }
    imageLayer->SetImage(loadPsdLayerImage(container, name), true);
    // The setter stores and marks the transform only when the place differs.
    imageLayer->SetPosition(math::Point3(info->mRect[0] - origin.x, info->mRect[1] - origin.y, 0.0f));
}

void removeFromParent(layer::Layer* child)
{
    if (child == nullptr)
        return;
    layer::Layer* parent = child->GetParent();
    if (parent != nullptr && !parent->GetChildren().empty())
        parent->RemoveChild(child);
}
