#pragma once

#include "Core/Base/Result.h"
#include "Core/Base/Singleton.h"
#include "Core/Base/Task.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>
#include <map>
#include <string>

namespace tinyxml2
{
class XMLElement;
}
namespace animation
{
class AnimData;
class LayerAnim;
} // namespace animation
namespace render
{
class Render;
}

namespace widget
{

class Dialog;
class DialogAnimEffectsData;

// What plays a dialog's appearance and disappearance: a task under the frame manager.
class DialogEffects : public base::Task
{
public:
    DialogEffects(bool autoDelete, bool finishWhenChildrenDone, bool keepParentAlive, bool withLock)
        : base::Task(autoDelete, finishWhenChildrenDone, keepParentAlive, withLock)
    {
    }
    // Clears its dialog's link to it.
    ~DialogEffects() override;

    virtual VNResultEnum SetDialog(Dialog* dialog);
    virtual VNResultEnum Show() = 0;
    virtual VNResultEnum Hide() = 0;
    // Finishes the task and forgets the dialog.
    virtual VNResultEnum Detach();

    Dialog* GetDialog() const { return mDialog; }

protected:
    Dialog* mDialog = nullptr;
};

// Effects that play one layer animation on the dialog's root layer to show it and another to hide it.
class DialogAnimEffects : public DialogEffects
{
public:
    enum State : int32_t
    {
        StateIdle = 0,
        StateShowing = 1,
        StateShown = 2,
        StateHiding = 3,
        StateHidden = 4,
    };

    DialogAnimEffects();
    ~DialogAnimEffects() override;

    // The dialog comes with Init: 1.
    VNResultEnum SetDialog(Dialog* dialog) override;
    VNResultEnum Show() override;
    // During the show only marks the hide as pending; it starts when the show ends.
    VNResultEnum Hide() override;
    // Takes the dialog and both animations (preloaded, or loaded now); 1 unless each has exactly one layer
    // record.
    virtual VNResultEnum Init(Dialog* dialog, DialogAnimEffectsData* data);

    int32_t GetState() const { return mState; }
    float GetTime() const { return mTime; }
    float GetEndTime() const { return mEndTime; }
    bool IsHidePending() const { return mHidePending; }

protected:
    VNResultEnum OnUpdate(float dt) override;

private:
    VNResultEnum Start(animation::AnimData* anim, int32_t state);

    CountedHandle<animation::AnimData> mShowAnim;
    CountedHandle<animation::AnimData> mHideAnim;
    int32_t mState = StateIdle;
    animation::LayerAnim* mAnim = nullptr; // owned
    float mTime = 0.0f;
    float mEndTime = 0.0f;
    bool mHidePending = false;
};

// The parsed settings of one effects entry of the table.
class DialogEffectsData
{
public:
    virtual ~DialogEffectsData() = default;
    virtual VNResultEnum Parse(const tinyxml2::XMLElement* element) = 0;
    // New effects for the dialog in out; on an error nothing is handed out.
    virtual VNResultEnum CreateEffects(Dialog* dialog, DialogEffects** out) = 0;
};

// Makes the empty data of one effect type.
class DialogEffectsDataCreatorBase
{
public:
    virtual ~DialogEffectsDataCreatorBase() = default;
    virtual DialogEffectsData* Create() = 0;
};

// Makes effects that need no data.
class DialogEffectsCreatorBase
{
public:
    virtual ~DialogEffectsCreatorBase() = default;
    virtual DialogEffects* Create() = 0;
};

// An "Anim" entry: the paths of the show and hide animation files, loaded at once with "preload".
class DialogAnimEffectsData : public DialogEffectsData
{
public:
    VNResultEnum Parse(const tinyxml2::XMLElement* element) override;
    VNResultEnum CreateEffects(Dialog* dialog, DialogEffects** out) override;
    // The loaded animation of the path (from the resource manager).
    VNResultEnum GetShowAnim(CountedHandle<animation::AnimData>& out);
    VNResultEnum GetHideAnim(CountedHandle<animation::AnimData>& out);

    std::wstring mShowPath;
    std::wstring mHidePath;
    CountedHandle<animation::AnimData> mShowAnim;
    CountedHandle<animation::AnimData> mHideAnim;
    bool mPreload = false;
};

// The dialog-effects table of "data/game.xml": effect types, effects entries and the dialogs bound to them.
class DialogEffectsManager : public base::Singletone<DialogEffectsManager>
{
public:
    DialogEffectsManager();
    ~DialogEffectsManager() override;

    // The animations it holds go back to the resource manager first.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // Reads the "DialogEffects" element; stops at the first bad entry with 1 (entries before it stay).
    VNResultEnum Load(const tinyxml2::XMLElement* dialogEffects);
    // Effects for the dialog by its name: null and 0 for a dialog that is not bound.
    VNResultEnum CreateEffects(Dialog* dialog, DialogEffects** out);

    // Takes ownership of the creator.
    void RegisterDataCreator(const std::string& type, DialogEffectsDataCreatorBase* creator);
    void RegisterEffectsCreator(const std::string& name, DialogEffectsCreatorBase* creator);
    DialogEffectsData* FindData(const std::string& name) const;
    // The effects name a dialog is bound to, or null.
    const std::string* FindBinding(const std::string& dialogName) const;

    // The application's renderer, handed to the animations (and their mesh libraries) that are loaded.
    void SetRender(render::Render* render) { mRender = render; }
    render::Render* GetRender() const { return mRender; }

private:
    std::map<std::string, DialogEffectsDataCreatorBase*> mDataCreators;
    std::map<std::string, DialogEffectsData*> mData;
    std::map<std::string, std::string> mDialogs;
    std::map<std::string, DialogEffectsCreatorBase*> mEffectsCreators;
    render::Render* mRender = nullptr;
};

} // namespace widget
