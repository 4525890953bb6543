#pragma once

#include <memory>

// Short-lived map objects (effect sprites, emitters, particle effects, units) are owned by one list and
// pointed at by others: a tower by its beam and its marks, an ambient effect by its emitter, a sprite by the
// unit it follows. Those others hold a TDWatch, which reads null once the object is deleted, so a pointer
// can never outlive what it points to.

// Base of an object that others may watch without owning it.
class TDWatchable
{
public:
    TDWatchable() = default;
    // A copy is a different object: it gets its own life and is not seen by the watches of the original.
    TDWatchable(const TDWatchable&) : mLife(std::make_shared<char>(0)) {}
    TDWatchable& operator=(const TDWatchable&) { return *this; }
    ~TDWatchable() = default;

private:
    template <class T>
    friend class TDWatch;

    // Expires with the object; watches keep only a weak reference to it.
    std::shared_ptr<char> mLife = std::make_shared<char>(0);
};

// A non-owning pointer that answers null once its object is gone.
template <class T>
class TDWatch
{
public:
    TDWatch() = default;
    TDWatch(T* object) : mObject(object)
    {
        if (object != nullptr)
            mLife = static_cast<const TDWatchable*>(object)->mLife;
    }

    // The object, or null when none was set or it has been deleted.
    T* get() const { return mLife.expired() ? nullptr : mObject; }
    // True when an object was set and has been deleted since.
    bool lost() const { return mObject != nullptr && mLife.expired(); }
    void reset()
    {
        mObject = nullptr;
        mLife.reset();
    }

private:
    T* mObject = nullptr;
    std::weak_ptr<char> mLife;
};
