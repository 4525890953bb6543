#include "Core/Widget/Dialog.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Layer/Layer.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"

namespace widget
{

WidgetTypeId& Dialog::ClassTypeId()
{
    static WidgetTypeId id = WidgetTypeId::MakeChild(Frame::ClassTypeId());
    return id;
}

Dialog::Dialog()
{
    SetListener(static_cast<WidgetListener*>(this), true);
    WidgetHitTestListener::SetWidget(this);
    Widget::mLayer->SetHitTestListener(static_cast<WidgetHitTestListener*>(this));
}

Dialog::~Dialog()
{
    if (DialogEffects* effects = mEffects)
    {
        mEffects = nullptr;
        effects->Detach();
    }
}

VNResultEnum Dialog::OnHidden()
{
    if (!mManager)
        return VN_OK;
    return mManager->RemoveFrame(this, mDeleteAfterHide, true);
}

VNResultEnum Dialog::Hide(bool deleteAfterHide)
{
    mDeleteAfterHide = deleteAfterHide;
    if (mEffects)
        return mEffects->Hide();
    return OnHidden();
}

VNResultEnum Dialog::SetEffects(DialogEffects* effects)
{
    if (DialogEffects* old = mEffects)
    {
        mEffects = nullptr;
        old->Detach();
    }
    if (!effects)
        return OnShown();
    mEffects = effects;
    if (mManager)
        mManager->AddChild(effects);
    return effects->Show();
}

VNResultEnum Dialog::OnDetachedFromFrame()
{
    if (DialogEffects* effects = mEffects)
    {
        mEffects = nullptr;
        effects->Detach();
    }
    return VN_OK;
}

VNResultEnum Dialog::OnAddedToFrameManager()
{
    if (mName.empty())
        return SetEffects(nullptr);
    DialogEffects* effects = nullptr;
    VNResultEnum result = DialogEffectsManager::Instance()->CreateEffects(this, &effects);
    if (result == VN_OK)
    {
        result = SetEffects(effects);
        if (result == VN_OK)
            return VN_OK;
    }
    // Broken effects must not leave a modal dialog waiting for a show that never ends (a dialog that takes no
    // input until it is shown would block the game): show it plainly and say why.
    base::LogMessage(*base::MainLog::Instance(),
                     L"Dialog '%s' shows without its effects: they failed to load or start (result %d).\n") %
        base::ToWide(mName, 1) % static_cast<int>(result);
    if (effects && mEffects != effects)
    {
        // Made but never handed to the task tree: nobody else will delete it.
        effects->Detach();
        delete effects;
    }
    return SetEffects(nullptr);
}

} // namespace widget
