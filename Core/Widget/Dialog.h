#pragma once

#include "Core/Widget/Frame.h"

#include <string>

namespace widget
{

class DialogEffects;

// The modal frame: shown by adding it to the frame manager as a Modal frame, closed by Hide. A named dialog
// gets its show and hide effects from the dialog-effects table ("data/game.xml").
class Dialog : public Frame, public WidgetListener, public WidgetHitTestListener
{
public:
    Dialog();
    // Detaches effects that are still playing.
    ~Dialog() override;

    const WidgetTypeId& GetTypeId() const override { return ClassTypeId(); }
    static WidgetTypeId& ClassTypeId();

    // Builds the dialog's contents; nothing by default.
    virtual VNResultEnum Init() { return VN_OK; }
    // The show effect ended (at once without effects).
    virtual VNResultEnum OnShown() { return VN_OK; }
    // The hide effect ended: queues the dialog's removal from the frame manager (and deletion when asked).
    virtual VNResultEnum OnHidden();
    // Plays the hide effect, or hides at once without effects.
    virtual VNResultEnum Hide(bool deleteAfterHide);
    // Detaches the old effects; new ones join the frame manager's tasks and start showing; null shows at
    // once.
    virtual VNResultEnum SetEffects(DialogEffects* effects);

    VNResultEnum OnDetachedFromFrame() override;
    // Looks the name up in the dialog-effects table and starts showing. Effects that cannot be made are
    // logged and the dialog shows without them, so it never stays waiting for a show that will not come.
    VNResultEnum OnAddedToFrameManager() override;

    void SetName(const std::string& name) { mName = name; }
    const std::string& GetName() const { return mName; }
    DialogEffects* GetEffects() const { return mEffects; }
    bool GetDeleteAfterHide() const { return mDeleteAfterHide; }
    // Run by effects that are being destroyed.
    void ForgetEffects(const DialogEffects* effects)
    {
        if (mEffects == effects)
            mEffects = nullptr;
    }

protected:
    std::string mName;
    DialogEffects* mEffects = nullptr; // owned by the frame manager's task tree
    bool mDeleteAfterHide = false;
};

} // namespace widget
