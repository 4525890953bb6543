#include "Core/Widget/DialogEffects.h"

#include "Core/Animation/AnimData.h"
#include "Core/Animation/LayerAnim.h"
#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Layer/Layer.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/Dialog.h"

#include <tinyxml2.h>

namespace widget
{

namespace
{

void LogLine(const std::wstring& text)
{
    base::LogMessage(*base::MainLog::Instance(), L"%s\n") % text;
}

std::wstring Wide(const std::string& text)
{
    return base::ToWide(text, 1);
}

class AnimDataCreator : public DialogEffectsDataCreatorBase
{
public:
    DialogEffectsData* Create() override { return new DialogAnimEffectsData(); }
};

// The loaded animation of a path, shared through the resource manager.
VNResultEnum GetAnim(const std::wstring& path, CountedHandle<animation::AnimData>& out)
{
    CountedHandle<animation::AnimData> anim =
        resource::ResourceManager::Instance()->Get<animation::AnimData>(path);
    if (!anim)
        return VN_FAIL;
    if (!anim->IsLoaded())
    {
        anim->SetRender(DialogEffectsManager::Instance()->GetRender());
        if (const VNResultEnum result = anim->Load(); result != VN_OK)
        {
            LogLine(L"Dialog animation '" + path + L"' did not load.");
            return result;
        }
    }
    out = anim;
    return VN_OK;
}

} // namespace

// ---- DialogEffects

DialogEffects::~DialogEffects()
{
    if (mDialog)
        mDialog->ForgetEffects(this);
}

VNResultEnum DialogEffects::SetDialog(Dialog* dialog)
{
    mDialog = dialog;
    return VN_OK;
}

VNResultEnum DialogEffects::Detach()
{
    Finish();
    mDialog = nullptr;
    return VN_OK;
}

// ---- DialogAnimEffects

DialogAnimEffects::DialogAnimEffects() : DialogEffects(true, false, true, false) {}

DialogAnimEffects::~DialogAnimEffects()
{
    delete mAnim;
}

VNResultEnum DialogAnimEffects::SetDialog(Dialog*)
{
    return VN_FAIL;
}

VNResultEnum DialogAnimEffects::Init(Dialog* dialog, DialogAnimEffectsData* data)
{
    mDialog = dialog;
    if (!data)
        return VN_FAIL;
    if (data->mPreload)
    {
        mShowAnim = data->mShowAnim;
        mHideAnim = data->mHideAnim;
    }
    else
    {
        if (const VNResultEnum result = data->GetShowAnim(mShowAnim); result != VN_OK)
            return result;
        if (const VNResultEnum result = data->GetHideAnim(mHideAnim); result != VN_OK)
            return result;
    }
    for (const CountedHandle<animation::AnimData>* anim : {&mShowAnim, &mHideAnim})
    {
        if (!*anim || (*anim)->GetRecords().size() != 1)
        {
            LogLine(L"Dialog animation '" + (*anim ? (*anim)->GetName() : std::wstring()) +
                    L"' must hold exactly one layer record.");
            return VN_FAIL;
        }
    }
    return VN_OK;
}

VNResultEnum DialogAnimEffects::Start(animation::AnimData* anim, int32_t state)
{
    if (!anim || anim->GetRecords().empty() || !mDialog || !mDialog->GetLayer())
        return VN_FAIL;
    delete mAnim;
    mAnim = new animation::LayerAnim(mDialog->GetLayer(), anim->GetRecords().front().get());
    mTime = anim->GetStartTime();
    mEndTime = anim->GetEndTime();
    if (const VNResultEnum result = mAnim->Apply(mTime); result != VN_OK)
        return result;
    mState = state;
    return VN_OK;
}

VNResultEnum DialogAnimEffects::Show()
{
    return Start(mShowAnim.Get(), StateShowing);
}

VNResultEnum DialogAnimEffects::Hide()
{
    if (mState == StateShowing)
    {
        mHidePending = true;
        return VN_OK;
    }
    return Start(mHideAnim.Get(), StateHiding);
}

VNResultEnum DialogAnimEffects::OnUpdate(float dt)
{
    if (mState != StateShowing && mState != StateHiding)
        return VN_OK;
    if (!mAnim || !mDialog)
        return VN_OK;
    const float t = mTime + dt;
    mTime = t >= mEndTime ? mEndTime : t;
    if (const VNResultEnum result = mAnim->Apply(mTime); result != VN_OK)
        return result;
    if (t < mEndTime)
        return VN_OK;

    delete mAnim;
    mAnim = nullptr;
    if (mState == StateShowing)
    {
        if (const VNResultEnum result = mDialog->OnShown(); result != VN_OK)
            return result;
        mState = StateShown;
        if (mHidePending)
        {
            mHidePending = false;
            return Hide();
        }
        return VN_OK;
    }
    if (const VNResultEnum result = mDialog->OnHidden(); result != VN_OK)
        return result;
    mState = StateHidden;
    Finish();
    return VN_OK;
}

// ---- DialogAnimEffectsData

VNResultEnum DialogAnimEffectsData::Parse(const tinyxml2::XMLElement* element)
{
    if (!element)
        return VN_FAIL;
    const char* show = element->Attribute("show_anim_data");
    if (!show)
        return VN_FAIL;
    const char* hide = element->Attribute("hide_anim_data");
    if (!hide)
        return VN_FAIL;
    mShowPath = Wide(show);
    mHidePath = Wide(hide);
    mPreload = element->Attribute("preload") != nullptr;
    if (mPreload)
    {
        if (const VNResultEnum result = GetShowAnim(mShowAnim); result != VN_OK)
            return result;
        return GetHideAnim(mHideAnim);
    }
    return VN_OK;
}

VNResultEnum DialogAnimEffectsData::GetShowAnim(CountedHandle<animation::AnimData>& out)
{
    return GetAnim(mShowPath, out);
}

VNResultEnum DialogAnimEffectsData::GetHideAnim(CountedHandle<animation::AnimData>& out)
{
    return GetAnim(mHidePath, out);
}

VNResultEnum DialogAnimEffectsData::CreateEffects(Dialog* dialog, DialogEffects** out)
{
    auto* effects = new DialogAnimEffects();
    if (const VNResultEnum result = effects->Init(dialog, this); result != VN_OK)
    {
        // Never shown, so it must not reach back into the dialog while it goes.
        effects->Detach();
        delete effects;
        return result;
    }
    *out = effects;
    return VN_OK;
}

// ---- DialogEffectsManager

DialogEffectsManager::DialogEffectsManager()
{
    RegisterDataCreator("Anim", new AnimDataCreator());
}

DialogEffectsManager::~DialogEffectsManager()
{
    for (auto& entry : mData)
        delete entry.second;
    for (auto& entry : mDataCreators)
        delete entry.second;
    for (auto& entry : mEffectsCreators)
        delete entry.second;
}

std::vector<base::SingletoneBase*> DialogEffectsManager::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

void DialogEffectsManager::RegisterDataCreator(const std::string& type, DialogEffectsDataCreatorBase* creator)
{
    auto& slot = mDataCreators[type];
    delete slot;
    slot = creator;
}

void DialogEffectsManager::RegisterEffectsCreator(const std::string& name, DialogEffectsCreatorBase* creator)
{
    auto& slot = mEffectsCreators[name];
    delete slot;
    slot = creator;
}

DialogEffectsData* DialogEffectsManager::FindData(const std::string& name) const
{
    const auto it = mData.find(name);
    return it != mData.end() ? it->second : nullptr;
}

const std::string* DialogEffectsManager::FindBinding(const std::string& dialogName) const
{
    const auto it = mDialogs.find(dialogName);
    return it != mDialogs.end() ? &it->second : nullptr;
}

VNResultEnum DialogEffectsManager::Load(const tinyxml2::XMLElement* dialogEffects)
{
    if (!dialogEffects)
        return VN_OK;
    if (const tinyxml2::XMLElement* data = dialogEffects->FirstChildElement("Data"))
    {
        for (const tinyxml2::XMLElement* entry = data->FirstChildElement(); entry;
             entry = entry->NextSiblingElement())
        {
            const auto creator = mDataCreators.find(entry->Name());
            if (creator == mDataCreators.end())
            {
                LogLine(L"Dialog effects: unknown effect type '" + Wide(entry->Name()) + L"'.");
                return VN_FAIL;
            }
            const char* name = entry->Attribute("name");
            if (!name)
            {
                LogLine(L"Dialog effects: an entry has no name.");
                return VN_FAIL;
            }
            DialogEffectsData* parsed = creator->second->Create();
            if (const VNResultEnum result = parsed->Parse(entry); result != VN_OK)
            {
                LogLine(L"Dialog effects: entry '" + Wide(name) +
                        L"' is incomplete or its animations failed.");
                delete parsed;
                return result;
            }
            if (!mData.emplace(name, parsed).second)
            {
                LogLine(L"Dialog effects: entry '" + Wide(name) + L"' is listed twice.");
                delete parsed;
                return VN_FAIL;
            }
        }
    }
    if (const tinyxml2::XMLElement* dialogs = dialogEffects->FirstChildElement("Dialogs"))
    {
        for (const tinyxml2::XMLElement* binding = dialogs->FirstChildElement(); binding;
             binding = binding->NextSiblingElement())
        {
            const char* effects = binding->Attribute("effects");
            if (!effects)
            {
                LogLine(L"Dialog effects: dialog '" + Wide(binding->Name()) + L"' names no effects.");
                return VN_FAIL;
            }
            if (!mDialogs.emplace(binding->Name(), effects).second)
            {
                LogLine(L"Dialog effects: dialog '" + Wide(binding->Name()) + L"' is listed twice.");
                return VN_FAIL;
            }
        }
    }
    return VN_OK;
}

VNResultEnum DialogEffectsManager::CreateEffects(Dialog* dialog, DialogEffects** out)
{
    *out = nullptr;
    if (!dialog)
        return VN_FAIL;
    const std::string* effectsName = FindBinding(dialog->GetName());
    if (!effectsName)
        return VN_OK;
    if (DialogEffectsData* data = FindData(*effectsName))
        return data->CreateEffects(dialog, out);
    const auto creator = mEffectsCreators.find(*effectsName);
    if (creator == mEffectsCreators.end())
    {
        LogLine(L"Dialog '" + Wide(dialog->GetName()) + L"': no effects entry '" + Wide(*effectsName) +
                L"'.");
        return VN_FAIL;
    }
    *out = creator->second->Create();
    if (!*out)
        return VN_FAIL;
    return (*out)->SetDialog(dialog);
}

} // namespace widget
