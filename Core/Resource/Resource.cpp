#include "Core/Resource/Resource.h"

#include "Core/Base/Log.h"

namespace resource
{
VNResultEnum Resource::SetName(const std::wstring& name)
{
    mName = name;
    return OnSetName();
}

VNResultEnum Resource::Load()
{
    if (mLoaded)
    {
        base::LogMessage(*base::MainLog::Instance(), L"Trying to Load already loaded resource '%s'.\n")
                .SetStyle(base::BlockLogStyle()) %
            mName;
        return VN_OK;
    }
    const VNResultEnum result = DoLoad();
    if (result != VN_OK)
        return result;
    mLoaded = true;
    return VN_OK;
}

VNResultEnum Resource::UnLoad()
{
    if (!mLoaded)
    {
        base::LogMessage(*base::MainLog::Instance(), L"Trying to UnLoad already unloaded resource '%s'.\n")
                .SetStyle(base::BlockLogStyle()) %
            mName;
        return VN_OK;
    }
    const VNResultEnum result = DoUnload();
    if (result != VN_OK)
        return result;
    mLoaded = false;
    return VN_OK;
}
} // namespace resource
