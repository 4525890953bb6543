#include "Core/Base/ListenerRegistry.h"
#include "Core/Base/Delegate.h"
#include "Core/Resource/CountedHandle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{

using ModeDelegate = base::Delegate1<const bool&, void>;
using ModeRegistry = base::ListenerRegistry<CountedHandle<ModeDelegate>>;

struct Listener
{
    void OnMode(const bool& windowed) { seen.push_back(windowed); }
    std::vector<bool> seen;
};

void Notify(bool windowed)
{
    // Walks a copy: a listener may unsubscribe while being notified.
    for (auto& [owner, handle] : ModeRegistry::Copy())
    {
        if (handle)
            handle->Invoke(windowed);
    }
}

TEST(ListenerRegistry, SlotsSubscribeAndUnsubscribe)
{
    Listener a;
    Listener b;
    ModeRegistry::Slot(&a).Reset(
        new base::MemberDelegate1<Listener, const bool&, void>(&a, &Listener::OnMode));
    ModeRegistry::Slot(&b).Reset(
        new base::MemberDelegate1<Listener, const bool&, void>(&b, &Listener::OnMode));
    Notify(true);
    ModeRegistry::Slot(&a).Release();
    Notify(false);
    EXPECT_EQ(a.seen, std::vector<bool>{true});
    EXPECT_EQ(b.seen, (std::vector<bool>{true, false}));

    // A new owner's slot starts empty; the registry keeps it.
    Listener c;
    EXPECT_TRUE(ModeRegistry::Slot(&c).IsEmpty());
    EXPECT_EQ(ModeRegistry::Copy().size(), 3u);

    // The registry is a singleton: the teardown releases the remaining delegates.
    base::SingletoneBase::DestroyAll();
    EXPECT_FALSE(ModeRegistry::Exists());
}

TEST(ListenerRegistry, PairKeys)
{
    using PairRegistry = base::ListenerRegistry<CountedHandle<base::Delegate2<const bool&, const int&, void>>,
                                                std::pair<const void*, int>>;
    int owner = 0;
    EXPECT_TRUE(PairRegistry::Slot({&owner, 0}).IsEmpty());
    EXPECT_EQ(PairRegistry::Copy().size(), 1u);
    base::SingletoneBase::DestroyAll();
}

} // namespace
