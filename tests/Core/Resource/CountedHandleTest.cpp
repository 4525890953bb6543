#include "Core/Resource/CountedHandle.h"

#include <gtest/gtest.h>

namespace
{
// Counts live instances so a test sees exactly when the last handle deletes the object.
struct Probe
{
    static inline int live = 0;
    Probe() { ++live; }
    virtual ~Probe() { --live; }
};
struct DerivedProbe : Probe
{
};

TEST(CountedHandle, OwnedObjectIsDeletedWithTheLastHandle)
{
    Probe::live = 0;
    {
        CountedHandle<Probe> a;
        a.Reset(new Probe);
        EXPECT_EQ(a.GetCount(), 1);
        CountedHandle<Probe> b = a;
        CountedHandle<Probe> c;
        c = b;
        EXPECT_EQ(a.GetCount(), 3);
        a.Release();
        EXPECT_TRUE(a.IsEmpty());
        b = CountedHandle<Probe>();
        EXPECT_EQ(Probe::live, 1);
        EXPECT_EQ(c.GetCount(), 1);
    }
    EXPECT_EQ(Probe::live, 0);
}

TEST(CountedHandle, SelfAssignmentOfTheOnlyHandleKeepsTheObject)
{
    Probe::live = 0;
    CountedHandle<Probe> a;
    a.Reset(new Probe);
    CountedHandle<Probe>& alias = a;
    a = alias;
    EXPECT_EQ(Probe::live, 1);
    EXPECT_EQ(a.GetCount(), 1);
    CountedHandle<Probe> b = a;
    a = b; // another handle of the same object
    EXPECT_EQ(a.GetCount(), 2);
    a.Release();
    b.Release();
    EXPECT_EQ(Probe::live, 0);
}

TEST(CountedHandle, HandleWithoutCounterNeverReleases)
{
    Probe::live = 0;
    Probe kept;
    {
        CountedHandle<Probe> a(&kept, nullptr);
        CountedHandle<Probe> b = a;
        EXPECT_EQ(a.GetCount(), 0);
        b.Release();
        a = CountedHandle<Probe>();
    }
    EXPECT_EQ(Probe::live, 1); // still alive: nothing deleted a stack object
}

TEST(CountedHandle, DerivedHandleSharesTheCounterAndResetReplaces)
{
    Probe::live = 0;
    CountedHandle<DerivedProbe> d;
    d.Reset(new DerivedProbe);
    {
        CountedHandle<Probe> base = d;
        EXPECT_EQ(d.GetCount(), 2);
    }
    d.Reset(new DerivedProbe); // drops the first object
    EXPECT_EQ(Probe::live, 1);
    d.Reset(static_cast<DerivedProbe*>(nullptr));
    EXPECT_TRUE(d.IsEmpty());
    EXPECT_EQ(Probe::live, 0);
}
} // namespace
