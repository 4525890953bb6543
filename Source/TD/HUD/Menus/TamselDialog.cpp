#include "Source/TD/HUD/Menus/TamselDialog.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Widget/FrameManager.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDUtil.h"

TamselDialog::TamselDialog()
{
    (void)SetDisabled(true);
}

TamselDialog::~TamselDialog()
{
    (void)Clear(true, true);
}

VNResultEnum TamselDialog::OnShown()
{
    if (const VNResultEnum r = SetDisabled(false); r != VN_OK)
        return r;
    if (const VNResultEnum r = widget::Dialog::OnShown(); r != VN_OK)
        return r;
    if (widget::FrameManager* manager = GetManager())
        return manager->RefreshHover();
    return VN_OK;
}

VNResultEnum TamselDialog::Hide(bool deleteAfterHide)
{
    if (const VNResultEnum r = SetDisabled(true); r != VN_OK)
        return r;
    return widget::Dialog::Hide(deleteAfterHide);
}

VNResultEnum TamselDialog::addCaption(const std::wstring& layerName, const std::wstring& textKey,
                                      const CountedHandle<render::Font>& font, layer::TextLayer** out)
{
    file::ImageContainer* folder = GetContainer();
    const base::ImageInfo* info = folder != nullptr ? folder->FindImageInfo(layerName) : nullptr;
    if (info == nullptr)
    {
        logDataProblem(folder != nullptr ? folder->GetPath() : std::wstring(L"(no layout)"),
                       L"no layer '" + layerName + L"' for a caption");
        return VN_FAIL;
    }
    layer::TextLayer* caption = nullptr;
    if (const VNResultEnum r = CreateTextLayer(font, LocalStrings::Instance()->get(textKey),
                                               gui::HitModeDisabled, widget::Widget::GetLayer(), &caption);
        r != VN_OK)
        return r;
    caption->SetPosition(
        math::Point3(info->mRect[0] + info->mRect[2] / 2.0f, info->mRect[1] + info->mRect[3] / 2.0f, 0.0f));
    caption->SetAlignment(2, 2);
    render::TextLayout layout = caption->GetLayout();
    layout.mAlign = 2;
    layout.mLetterSpacing = 2.0f;
    caption->SetLayout(layout);
    caption->AlignToPixels();
    if (out != nullptr)
        *out = caption;
    return VN_OK;
}

VNResultEnum TamselDialog::openModal(TamselDialog* dialog, widget::FrameManager* manager)
{
    if (dialog == nullptr)
        return VN_FAIL;
    // Through the dialog part, so a subclass's build step runs.
    VNResultEnum result = manager != nullptr ? static_cast<widget::Dialog*>(dialog)->Init() : VN_FAIL;
    if (result == VN_OK)
        return manager->AddModal(dialog, true);
    const std::wstring name =
        dialog->GetName().empty() ? std::wstring(L"(unnamed)") : base::ToWide(dialog->GetName(), 1);
    base::LogMessage(*base::MainLog::Instance(),
                     L"Dialog %s could not be built (result %d) and is not shown.\n") %
        name % static_cast<int>(result);
    delete dialog;
    return result;
}
