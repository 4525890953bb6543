#pragma once

#include "Core/Base/Result.h"
#include "Core/Base/Singleton.h"
#include "Core/File/Utf16.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Resource/Resource.h"

#include <algorithm>
#include <list>
#include <map>
#include <string>
#include <utility>

namespace resource
{
// Frees something the manager keeps until it is destroyed.
class Destroyer
{
public:
    virtual ~Destroyer() = default;
};

// One name map per resource type: name to {object, counter cell}. Names compare exactly (case-sensitive), in
// UTF-16 code-unit order.
template <typename T>
using ResourceMap = std::map<std::wstring, std::pair<T*, int*>, file::Utf16Less>;

// Frees the map of T at the manager's teardown; objects still in it are neither unloaded nor deleted.
template <typename T>
class MapDestroyer : public Destroyer
{
public:
    explicit MapDestroyer(ResourceMap<T>** slot) : mSlot(slot) {}
    ~MapDestroyer() override
    {
        delete *mSlot;
        *mSlot = nullptr; // a later manager starts a fresh map
    }

private:
    ResourceMap<T>** mSlot;
};

// The shared resources of the process, one map per type. Get creates and names but never loads.
class ResourceManager : public base::Singletone<ResourceManager>
{
public:
    ResourceManager() = default;
    ~ResourceManager() override
    {
        for (Destroyer* destroyer : mDestroyers)
            delete destroyer;
    }

    // The existing resource of that name or a new, named, not loaded one; empty when naming it fails.
    template <typename T>
    CountedHandle<T> Get(const std::wstring& name)
    {
        ResourceMap<T>& map = GetMap<T>();
        auto it = map.find(name);
        if (it != map.end())
            return CountedHandle<T>(it->second.first, it->second.second);
        T* object = new T();
        if (object->SetName(name) != VN_OK)
        {
            delete object;
            return CountedHandle<T>();
        }
        int* count = new int(0);
        map.emplace(name, std::make_pair(object, count));
        return CountedHandle<T>(object, count);
    }

    // Run from a resource's Release when its last handle goes: unloads it when loaded (a failure keeps
    // object, entry and counter and is returned), then deletes it and its counter and forgets the name.
    template <typename T>
    VNResultEnum Release(T* object)
    {
        ResourceMap<T>& map = GetMap<T>();
        // Found by its name (a level's teardown releases thousands); a walk only for an object renamed since.
        auto it = map.find(object->GetName());
        if (it == map.end() || it->second.first != object)
            it = std::find_if(map.begin(), map.end(),
                              [object](const auto& entry) { return entry.second.first == object; });
        if (it == map.end())
            return VN_OK;
        if (object->IsLoaded())
        {
            const VNResultEnum result = object->UnLoad();
            if (result != VN_OK)
                return result;
        }
        int* count = it->second.second;
        map.erase(it);
        delete object;
        delete count;
        return VN_OK;
    }

    // The map of T, made (and registered for teardown) on first use.
    template <typename T>
    ResourceMap<T>& GetMap()
    {
        ResourceMap<T>*& map = MapSlot<T>();
        if (!map)
        {
            map = new ResourceMap<T>();
            mDestroyers.push_back(new MapDestroyer<T>(&map));
        }
        return *map;
    }

private:
    template <typename T>
    static ResourceMap<T>*& MapSlot()
    {
        static ResourceMap<T>* map = nullptr;
        return map;
    }

    std::list<Destroyer*> mDestroyers;
};
} // namespace resource
