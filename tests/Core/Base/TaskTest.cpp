#include "Core/Base/Task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Events = std::vector<std::string>;

// A task that writes what happens to it into a shared event list.
class Probe : public base::Task
{
public:
    Probe(Events& events, std::string name, bool autoDelete = false, bool finishWhenChildrenDone = false,
          bool keepParentAlive = true, bool withLock = false)
        : base::Task(autoDelete, finishWhenChildrenDone, keepParentAlive, withLock), mEvents(events),
          mName(std::move(name))
    {
    }
    ~Probe() override { mEvents.push_back(mName + ".deleted"); }

    VNResultEnum startResult = VN_OK;
    VNResultEnum updateResult = VN_OK;
    bool stopOnFinish = true;
    int updates = 0;
    Task* addOnUpdate = nullptr;
    Task* addTarget = nullptr; // where addOnUpdate goes (default: this task)

    void Stop() { mStop = true; }
    size_t ChildCount() const { return mChildren.size(); }

protected:
    VNResultEnum OnStart() override
    {
        mEvents.push_back(mName + ".start");
        return startResult;
    }
    VNResultEnum OnUpdate(float) override
    {
        ++updates;
        mEvents.push_back(mName + ".update");
        if (addOnUpdate)
        {
            (addTarget ? addTarget : this)->AddChild(addOnUpdate);
            addOnUpdate = nullptr;
        }
        return updateResult;
    }
    void OnFinish() override
    {
        mEvents.push_back(mName + ".finish");
        if (stopOnFinish)
            base::Task::OnFinish();
    }

private:
    Events& mEvents;
    std::string mName;
};

TEST(Task, ChildAddedDuringATickJoinsOnTheNext)
{
    Events events;
    Probe root(events, "root");
    Probe a(events, "a");
    Probe late(events, "late");
    root.AddChild(&a);
    root.Update(0.f); // a joins the children at this tick's merge, after the (empty) child walk
    // During the next tick's child walk, a adds a child to root: it is merged in that same
    // walk, so it is first updated on the tick after, behind a.
    a.addOnUpdate = &late;
    a.addTarget = &root;
    events.clear();

    root.Update(0.f);
    EXPECT_EQ(events, (Events{"a.start", "a.update", "root.update"}));
    events.clear();
    root.Update(0.f);
    EXPECT_EQ(events, (Events{"a.update", "late.start", "late.update", "root.update"}));
}

TEST(Task, NewChildIsUpdatedAfterExistingOnes)
{
    Events events;
    Probe root(events, "root");
    Probe first(events, "first");
    Probe second(events, "second");
    root.AddChild(&first);
    root.Update(0.f);
    root.AddChild(&second);
    events.clear();
    root.Update(0.f); // second only merged here
    root.Update(0.f);
    EXPECT_EQ(events, (Events{"first.start", "first.update", "root.update", "first.update", "second.start",
                              "second.update", "root.update"}));
}

TEST(Task, FinishWhenChildrenDone)
{
    struct Case
    {
        const char* name;
        bool childKeepsParentAlive;
        int tickOfParentFinish; // 1-based
    };
    // A keep-alive child that stops before tick 2 is removed in tick 2's child walk; the parent's
    // finish check comes after its own update in that same tick.
    const Case cases[] = {{"child does not keep the parent alive", false, 1}, {"keep-alive child", true, 2}};
    for (const Case& c : cases)
    {
        Events events;
        Probe parent(events, "parent", false, true, true);
        Probe child(events, "child", false, false, c.childKeepsParentAlive);
        parent.AddChild(&child);
        int finishedAt = 0;
        for (int tick = 1; tick <= 4 && finishedAt == 0; ++tick)
        {
            if (tick == 2)
                child.Stop();
            parent.Update(0.f);
            if (parent.IsFinished())
                finishedAt = tick;
        }
        EXPECT_EQ(finishedAt, c.tickOfParentFinish) << c.name;
        EXPECT_TRUE(parent.IsStopped()) << c.name;
    }
}

TEST(Task, StoppedTaskRunsUntilItsChildrenAreGone)
{
    Events events;
    Probe parent(events, "parent");
    Probe child(events, "child");
    parent.AddChild(&child);
    parent.Update(0.f);
    parent.Stop();
    EXPECT_FALSE(parent.IsDone());
    parent.Update(0.f);
    EXPECT_EQ(parent.updates, 2);

    child.Stop();
    parent.Update(0.f); // removes the child
    EXPECT_TRUE(parent.IsDone());
    events.clear();
    EXPECT_EQ(parent.Update(0.f), VN_OK);
    EXPECT_TRUE(events.empty());
}

TEST(Task, FailingChildStopsTheTickAndHoldsPendingBack)
{
    Events events;
    Probe parent(events, "parent");
    Probe bad(events, "bad");
    Probe after(events, "after");
    Probe pending(events, "pending");
    parent.AddChild(&bad);
    parent.AddChild(&after);
    parent.Update(0.f);
    parent.Update(0.f);
    bad.updateResult = VN_FAIL;
    parent.AddChild(&pending);
    events.clear();

    EXPECT_EQ(parent.Update(0.f), VN_FAIL);
    EXPECT_EQ(events, (Events{"bad.update"}));
    EXPECT_EQ(parent.ChildCount(), 2u);

    bad.updateResult = VN_OK;
    events.clear();
    EXPECT_EQ(parent.Update(0.f), VN_OK);
    EXPECT_EQ(parent.ChildCount(), 3u);
    EXPECT_EQ(events, (Events{"bad.update", "after.update", "parent.update"}));
}

TEST(Task, FailingStartIsReturnedAndNotRetried)
{
    Events events;
    Probe task(events, "t");
    task.startResult = VN_FAIL;
    EXPECT_EQ(task.Update(0.f), VN_FAIL);
    EXPECT_TRUE(task.IsStarted());
    EXPECT_EQ(task.Update(0.f), VN_OK);
    EXPECT_EQ(events, (Events{"t.start", "t.update"}));
}

TEST(Task, DoneChildrenAreRemovedAndDeletedOnlyWhenAutoDelete)
{
    Events events;
    Probe parent(events, "parent");
    auto* owned = new Probe(events, "owned", true);
    Probe borrowed(events, "borrowed", false);
    parent.AddChild(owned);
    parent.AddChild(&borrowed);
    parent.Update(0.f);
    owned->Stop();
    borrowed.Stop();
    events.clear();
    parent.Update(0.f);
    EXPECT_EQ(events, (Events{"owned.deleted", "parent.update"}));
    EXPECT_TRUE(parent.HasNoChildren());
}

TEST(Task, FinishIsDepthFirst)
{
    Events events;
    Probe root(events, "root");
    Probe a(events, "a");
    Probe a1(events, "a1");
    Probe b(events, "b");
    root.AddChild(&a);
    root.AddChild(&b);
    a.AddChild(&a1);
    root.Update(0.f);
    root.Update(0.f);
    events.clear();
    root.Finish();
    EXPECT_EQ(events, (Events{"a1.finish", "a.finish", "b.finish", "root.finish"}));
    EXPECT_TRUE(a1.IsFinished());
    EXPECT_TRUE(root.IsStopped());
}

TEST(Task, FinishWithoutStoppingKeepsTheTaskAlive)
{
    Events events;
    Probe app(events, "app");
    app.stopOnFinish = false;
    app.Finish();
    EXPECT_TRUE(app.IsFinished());
    EXPECT_FALSE(app.IsDone());
    app.Update(0.f);
    EXPECT_EQ(app.updates, 1);
}

TEST(Task, DeleteChildrenDeletesEveryChild)
{
    Events events;
    Probe parent(events, "parent");
    parent.AddChild(new Probe(events, "x"));
    parent.AddChild(new Probe(events, "y"));
    parent.Update(0.f);
    EXPECT_FALSE(parent.HasNoChildren());
    // Added after the last tick: not yet running, but owned all the same.
    parent.AddChild(new Probe(events, "z"));
    events.clear();
    parent.DeleteChildren();
    EXPECT_EQ(events, (Events{"x.deleted", "y.deleted", "z.deleted"}));
    EXPECT_TRUE(parent.HasNoChildren());
}

TEST(Task, NullOrSelfChildIsRefused)
{
    Events events;
    Probe task(events, "t");
    EXPECT_FALSE(task.AddChild(nullptr));
    EXPECT_FALSE(task.AddChild(&task));
    EXPECT_EQ(task.Update(0.f), VN_OK);
    EXPECT_TRUE(task.HasNoChildren());
}

TEST(Task, HasKeepAliveChild)
{
    Events events;
    Probe parent(events, "parent");
    Probe quiet(events, "quiet", false, false, false);
    parent.AddChild(&quiet);
    EXPECT_FALSE(parent.HasKeepAliveChild()); // still pending
    parent.Update(0.f);
    EXPECT_FALSE(parent.HasKeepAliveChild());
    Probe loud(events, "loud", false, false, true);
    parent.AddChild(&loud);
    parent.Update(0.f);
    EXPECT_TRUE(parent.HasKeepAliveChild());
}

// A task without events: safe to create and update from several threads' worth of AddChild.
class Counter : public base::Task
{
public:
    Counter() : base::Task(true, false, false, false) {}
    static inline std::atomic<int> sUpdated{0};

protected:
    VNResultEnum OnUpdate(float) override
    {
        ++sUpdated;
        mStop = true;
        return VN_OK;
    }
};

TEST(Task, LockedTaskAcceptsChildrenFromAnotherThread)
{
    Events events;
    Probe root(events, "root", false, false, true, true);
    constexpr int kChildren = 2000;
    Counter::sUpdated = 0;
    std::atomic<bool> done{false};
    std::thread producer(
        [&]
        {
            for (int i = 0; i < kChildren; ++i)
                root.AddChild(new Counter);
            done = true;
        });
    while (!done)
        root.Update(0.f);
    producer.join();
    for (int i = 0; i < 3; ++i)
        root.Update(0.f);
    EXPECT_EQ(Counter::sUpdated.load(), kChildren);
    EXPECT_TRUE(root.HasNoChildren());
}

} // namespace
