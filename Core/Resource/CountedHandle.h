#pragma once

#include <type_traits>
#include <utility>

namespace resource
{
class Resource;
}

// A shared reference: an object pointer and a shared counter.
// Resources (types derived from resource::Resource) get their counter from the resource manager and are
// handed back to it through Resource::Release when the last handle goes. Any other type is owned: Reset gives
// it a fresh counter and the last handle deletes it. A handle holding an object with no counter neither
// counts nor releases. Counters are plain integers: handles belong to the main thread.
template <typename T>
class CountedHandle
{
public:
    CountedHandle() noexcept = default;

    // Holds the object with the given counter cell and counts it up; a null counter makes a non-counting
    // handle.
    CountedHandle(T* object, int* count) noexcept : mObject(object), mCount(object ? count : nullptr)
    {
        if (mCount)
            ++*mCount;
    }

    CountedHandle(const CountedHandle& other) noexcept : mObject(other.mObject), mCount(other.mCount)
    {
        if (mCount)
            ++*mCount;
    }

    CountedHandle(CountedHandle&& other) noexcept : mObject(other.mObject), mCount(other.mCount)
    {
        other.mObject = nullptr;
        other.mCount = nullptr;
    }

    // A handle of a derived type shares the same counter (a MemberDelegate0 handle held as a Delegate0
    // handle).
    template <typename U>
    requires(std::is_convertible_v<U*, T*> && !std::is_same_v<U, T>)
        CountedHandle(const CountedHandle<U>& other)
    noexcept : mObject(other.Get()), mCount(other.GetCounter())
    {
        static_assert(IsResource<U>() == IsResource<T>(), "a resource handle cannot become an owning handle");
        if (mCount)
            ++*mCount;
    }

    ~CountedHandle() { Release(); }

    CountedHandle& operator=(const CountedHandle& other) noexcept
    {
        // Count the new reference up before dropping the old one, so assigning a handle to itself (or to
        // another handle of the same object) never releases the object.
        if (other.mCount)
            ++*other.mCount;
        T* object = other.mObject;
        int* count = other.mCount;
        Release();
        mObject = object;
        mCount = count;
        return *this;
    }

    CountedHandle& operator=(CountedHandle&& other) noexcept
    {
        if (this != &other)
        {
            Release();
            mObject = std::exchange(other.mObject, nullptr);
            mCount = std::exchange(other.mCount, nullptr);
        }
        return *this;
    }

    // Drops this reference; the last counted reference releases the object. The handle is empty afterwards.
    void Release() noexcept
    {
        T* object = std::exchange(mObject, nullptr);
        int* count = std::exchange(mCount, nullptr);
        if (!count)
            return;
        if (--*count > 0)
            return;
        if constexpr (IsResource<T>())
        {
            // The manager owns the counter cell and frees it together with the object.
            object->Release();
        }
        else
        {
            DestroyOwned(object, count);
        }
    }

    // Owned objects only: drops the held reference, then holds p with a new counter of 1 (empty for null).
    template <typename U>
    requires std::is_convertible_v<U*, T*>
    void Reset(U* p)
    {
        static_assert(!IsResource<T>(), "resources come from resource::ResourceManager::Get");
        Release();
        if (p)
        {
            mCount = new int(1);
            mObject = p;
        }
    }

    T* Get() const noexcept { return mObject; }
    int* GetCounter() const noexcept { return mCount; }
    int GetCount() const noexcept { return mCount ? *mCount : 0; }
    bool IsEmpty() const noexcept { return mObject == nullptr; }
    explicit operator bool() const noexcept { return mObject != nullptr; }
    T* operator->() const noexcept { return mObject; }
    T& operator*() const noexcept { return *mObject; }

    friend bool operator==(const CountedHandle& a, const CountedHandle& b) noexcept
    {
        return a.mObject == b.mObject;
    }

private:
    template <typename U>
    static constexpr bool IsResource()
    {
        return std::is_base_of_v<resource::Resource, U>;
    }

    // Kept out of line: inlined, the delete of a shared counter trips GCC's use-after-free analysis, which
    // cannot see that the count reached zero.
    [[gnu::noinline]] static void DestroyOwned(T* object, int* count) noexcept
    {
        delete object;
        delete count;
    }

    T* mObject = nullptr;
    int* mCount = nullptr;
};
