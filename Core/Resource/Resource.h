#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace resource
{
// A named, shared resource (font, texture, sound, animation, mesh, shader). Created by the resource manager,
// loaded explicitly by whoever needs its data, and released with its last CountedHandle.
class Resource
{
public:
    Resource() = default;
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;
    virtual ~Resource() = default;

    // Run by the last CountedHandle: every type hands itself back to ResourceManager::Release of its own
    // type.
    virtual VNResultEnum Release() = 0;

    // Stores the name (the key in the manager's map) and runs OnSetName.
    VNResultEnum SetName(const std::wstring& name);
    // Runs DoLoad unless loaded (a second Load is logged and harmless).
    VNResultEnum Load();
    // Runs DoUnload when loaded (an UnLoad of an unloaded resource is logged and harmless).
    VNResultEnum UnLoad();

    const std::wstring& GetName() const { return mName; }
    bool IsLoaded() const { return mLoaded; }

protected:
    virtual VNResultEnum OnSetName() { return VN_OK; }
    virtual VNResultEnum DoLoad() = 0;
    virtual VNResultEnum DoUnload() = 0;

    std::wstring mName;
    bool mLoaded = false;
};
} // namespace resource
