#include "Core/Base/Delegate.h"
#include "Core/Resource/CountedHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct Left
{
    virtual ~Left() = default;
    int left = 1;
};

// A second base moves the Right part away from the object's start, so calling through a
// member pointer must adjust the object pointer.
struct Target : Left
{
    int Count() { return ++calls; }
    void Remember(int v) { last = v; }
    int Add(int a, int b) { return a + b + offset; }
    std::string Join(const std::string& a, std::string& b)
    {
        b += "!";
        return a + b;
    }
    int calls = 0;
    int last = 0;
    int offset = 100;
};

struct Right
{
    virtual ~Right() = default;
    virtual int Which() { return 1; }
    int Value(int x) { return x * factor; }
    int factor = 3;
};

struct Both : Target, Right
{
    int Which() override { return 2; }
};

// Reports its destruction, to see a counted handle release it.
template <class Base>
struct Tracked : Base
{
    template <class... Args>
    explicit Tracked(bool* deleted, Args&&... args) : Base(std::forward<Args>(args)...), mDeleted(deleted)
    {
    }
    ~Tracked() override { *mDeleted = true; }
    bool* mDeleted;
};

int Multiply(int a, int b)
{
    return a * b;
}

TEST(Delegate, MemberDelegatesCallTheBoundObject)
{
    Target t;
    base::MemberDelegate0<Target, int> count(&t, &Target::Count);
    base::MemberDelegate1<Target, int, void> remember(&t, &Target::Remember);
    base::MemberDelegate2<Target, int, int, int> add(&t, &Target::Add);

    base::Delegate0<int>& d0 = count;
    base::Delegate1<int, void>& d1 = remember;
    base::Delegate2<int, int, int>& d2 = add;
    EXPECT_EQ(d0.Invoke(), 1);
    EXPECT_EQ(d0.Invoke(), 2);
    d1.Invoke(42);
    EXPECT_EQ(t.last, 42);
    EXPECT_EQ(d2.Invoke(2, 3), 105);

    EXPECT_EQ(d0.GetObject(), &t);
    EXPECT_NE(d0.GetMethod(), nullptr);
}

TEST(Delegate, ReferenceArgumentsAreNotCopied)
{
    Target t;
    base::MemberDelegate2<Target, const std::string&, std::string&, std::string> join(&t, &Target::Join);
    std::string tail = "b";
    EXPECT_EQ(join.Invoke("a", tail), "ab!");
    EXPECT_EQ(tail, "b!");
}

TEST(Delegate, MemberOfASecondBaseGetsTheAdjustedObject)
{
    Both both;
    base::MemberDelegate1<Right, int, int> value(&both, &Right::Value);
    base::MemberDelegate0<Right, int> which(&both, &Right::Which);
    EXPECT_EQ(value.Invoke(5), 15);
    EXPECT_EQ(which.Invoke(), 2); // virtual call reaches the override
    EXPECT_EQ(value.GetObject(), static_cast<Right*>(&both));
}

TEST(Delegate, StaticDelegateCallsTheFunction)
{
    base::StaticDelegate2<int, int, int> multiply(&Multiply);
    EXPECT_EQ(multiply.Invoke(6, 7), 42);
    EXPECT_EQ(multiply.GetObject(), reinterpret_cast<const void*>(&Multiply));
    EXPECT_EQ(multiply.GetMethod(), nullptr);
}

TEST(Delegate, CountedHandleOwnsAndReleasesIt)
{
    Target t;
    bool deleted = false;
    {
        CountedHandle<base::Delegate2<int, int, int>> holder;
        holder.Reset(new Tracked<base::MemberDelegate2<Target, int, int, int>>(&deleted, &t, &Target::Add));
        CountedHandle<base::Delegate2<int, int, int>> copy = holder;
        holder.Release();
        EXPECT_FALSE(deleted);
        EXPECT_EQ(copy->Invoke(1, 1), 102);
    }
    EXPECT_TRUE(deleted);

    // A handle of the concrete type shares its counter with a handle of the base type.
    deleted = false;
    {
        CountedHandle<Tracked<base::MemberDelegate0<Target, int>>> concrete;
        concrete.Reset(new Tracked<base::MemberDelegate0<Target, int>>(&deleted, &t, &Target::Count));
        CountedHandle<base::Delegate0<int>> general = concrete;
        concrete.Release();
        EXPECT_FALSE(deleted);
        general->Invoke();
    }
    EXPECT_TRUE(deleted);
}

} // namespace
