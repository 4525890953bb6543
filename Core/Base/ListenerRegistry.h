#pragma once

#include "Core/Base/Singleton.h"

#include <map>

namespace base
{

// Subscribers to one kind of notification: a handle (a CountedHandle of a delegate type) per
// owner, ordered by key. An owner subscribes by storing its delegate in its slot and unsubscribes
// by releasing it. The registry is a singleton, so it is destroyed in the exit teardown after
// the singletons that were made before it (its subscribers) and never before them.
template <class Handle, class Key = const void*>
class ListenerRegistry : public Singletone<ListenerRegistry<Handle, Key>>
{
public:
    using Slots = std::map<Key, Handle>;

    // The owner's handle, inserted empty when the owner is new.
    static Handle& Slot(const Key& owner) { return ListenerRegistry::Instance()->mSlots[owner]; }

    // Notifiers walk a copy, so a listener may subscribe or unsubscribe while being notified.
    static Slots Copy() { return ListenerRegistry::Instance()->mSlots; }

private:
    Slots mSlots;
};

} // namespace base
