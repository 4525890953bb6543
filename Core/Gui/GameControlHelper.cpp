#include "Core/Gui/GameControlHelper.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Gui/TrapHitTestListener.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Widget/Widget.h"

namespace gui
{

namespace
{

ImageLayerFactory* gFactory = nullptr;

} // namespace

void SetImageLayerFactory(ImageLayerFactory* factory)
{
    gFactory = factory;
}

ImageLayerFactory* GetImageLayerFactory()
{
    return gFactory;
}

VNResultEnum RenderImageLayerFactory::CreateImageLayer(const std::wstring& name,
                                                       file::ImageContainer* container,
                                                       layer::ImageLayer** out, base::ImageInfo* info)
{
    if (!mRender || !out)
        return VN_FAIL;
    render::Image* image = nullptr;
    base::ImageInfo loaded;
    if (const VNResultEnum result = mRender->LoadTexture(name, container, &image, &loaded); result != VN_OK)
    {
        delete image;
        return result;
    }
    auto* made = new layer::ImageLayer(image, true);
    made->SetPosition(math::Point3(loaded.mRect[0], loaded.mRect[1], 0.0f));
    *out = made;
    if (info)
        *info = loaded;
    return VN_OK;
}

GameControlHelper::~GameControlHelper()
{
    for (layer::Layer* made : mLayers)
    {
        if (layer::Layer* parent = made->GetParent())
            parent->RemoveChild(made);
        delete made;
    }
    mLayers.clear();
    delete mTrap;
    mTrap = nullptr;
    if (mOwnsContainer)
        delete mContainer;
    mContainer = nullptr;
}

VNResultEnum GameControlHelper::Init(const std::wstring& containerName, widget::Widget* owner,
                                     layer::HitTestListener* listener, layer::Layer* parent,
                                     bool ownsContainer)
{
    // The file layer cannot name the container types itself; registering them again is harmless.
    file::RegisterImageContainers();
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(containerName);
    if (!container)
        return VN_FAIL;
    return Init(container, owner, listener, parent, ownsContainer);
}

VNResultEnum GameControlHelper::Init(file::ImageContainer* container, widget::Widget* owner,
                                     layer::HitTestListener* listener, layer::Layer* parent,
                                     bool ownsContainer)
{
    if (mOwnsContainer && mContainer != container)
        delete mContainer;
    mContainer = container;
    mOwnsContainer = ownsContainer;
    mListener = listener;
    mOwner = owner;
    mParent = parent ? parent : (owner ? owner->GetLayer() : nullptr);
    return VN_OK;
}

VNResultEnum GameControlHelper::LoadImageLayer(const std::wstring& name, math::RectI* rect,
                                               layer::ImageLayer** out)
{
    if (!out)
        return VN_FAIL;
    *out = nullptr;
    if (!gFactory)
        return VN_FAIL;
    layer::ImageLayer* made = nullptr;
    base::ImageInfo info;
    if (const VNResultEnum result = gFactory->CreateImageLayer(name, mContainer, &made, &info);
        result != VN_OK)
        return result;
    if (!made)
        return VN_FAIL;
    made->SetHitTestListener(mListener);
    if (rect)
        *rect = math::RectI(static_cast<int>(info.mRect[0]), static_cast<int>(info.mRect[1]),
                            static_cast<int>(info.mRect[2]), static_cast<int>(info.mRect[3]));
    *out = made;
    return VN_OK;
}

VNResultEnum GameControlHelper::PlaceImageLayer(const std::wstring& name, layer::ImageLayer** out)
{
    math::RectI rect;
    if (const VNResultEnum result = LoadImageLayer(name, &rect, out); result != VN_OK)
        return result;
    // The image sits where it was in the document, whatever the parent's own place.
    const math::Point3& at = (*out)->GetPosition();
    const math::Point3 parentAt = mParent ? mParent->GetPosition() : math::Point3();
    (*out)->SetPosition(math::Point3(at.x - parentAt.x, at.y - parentAt.y, at.z - parentAt.z));
    return VN_OK;
}

VNResultEnum GameControlHelper::CreateImageLayer(const std::wstring& name, int32_t hitMode,
                                                 layer::Layer* parent, layer::ImageLayer** out)
{
    layer::ImageLayer* made = nullptr;
    if (const VNResultEnum result = PlaceImageLayer(name, &made); result != VN_OK)
        return result;
    if (out)
        *out = made;
    return AddLayer(made, hitMode, parent);
}

VNResultEnum GameControlHelper::CreateImageLayerAtBack(const std::wstring& name, int32_t hitMode,
                                                       layer::Layer* parent, layer::ImageLayer** out)
{
    layer::ImageLayer* made = nullptr;
    if (const VNResultEnum result = PlaceImageLayer(name, &made); result != VN_OK)
        return result;
    if (out)
        *out = made;
    return AddLayerAtBack(made, hitMode, parent);
}

VNResultEnum GameControlHelper::CreateTextLayer(const CountedHandle<render::Font>& font,
                                                const std::wstring& text, int32_t hitMode,
                                                layer::Layer* parent, layer::TextLayer** out)
{
    auto* made = new layer::TextLayer(font, text);
    made->SetAlignment(2, 2);
    render::TextLayout layout = made->GetLayout();
    layout.mAlign = 2;
    made->SetLayout(layout);
    made->InvalidateContent();
    if (out)
        *out = made;
    if (const VNResultEnum result = AddLayer(made, hitMode, parent); result != VN_OK)
        return result;
    made->AlignToPixels();
    return VN_OK;
}

void GameControlHelper::ApplyHitMode(layer::Layer* layer, int32_t hitMode)
{
    if (hitMode == HitModeDisabled)
        layer->SetHitEnabled(false);
    else if (hitMode == HitModeTrap)
        layer->SetHitTestListener(GetTrapListener());
}

VNResultEnum GameControlHelper::AddLayer(layer::Layer* layer, int32_t hitMode, layer::Layer* parent)
{
    if (!layer)
        return VN_FAIL;
    ApplyHitMode(layer, hitMode);
    mLayers.push_back(layer);
    if (layer::Layer* to = parent ? parent : mParent)
        to->AddChild(layer);
    return VN_OK;
}

VNResultEnum GameControlHelper::AddLayerAtBack(layer::Layer* layer, int32_t hitMode, layer::Layer* parent)
{
    if (!layer)
        return VN_FAIL;
    ApplyHitMode(layer, hitMode);
    mLayers.push_back(layer);
    if (layer::Layer* to = parent ? parent : mParent)
        to->AddChildAtFront(layer);
    return VN_OK;
}

widget::TrapHitTestListener* GameControlHelper::GetTrapListener()
{
    if (!mTrap)
        mTrap = new widget::TrapHitTestListener(mOwner);
    return mTrap;
}

} // namespace gui
