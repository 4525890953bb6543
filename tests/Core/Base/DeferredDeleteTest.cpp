#include "Core/Base/DeferredDelete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class Item : public base::DeferredDeletable
{
public:
    Item(std::vector<std::string>& log, std::string name, base::DeferredDeleteManager* manager = nullptr,
         Item* queueOnDelete = nullptr)
        : mLog(log), mName(std::move(name)), mManager(manager), mQueueOnDelete(queueOnDelete)
    {
    }
    ~Item() override
    {
        mLog.push_back(mName);
        if (mManager && mQueueOnDelete)
            mManager->QueueDelete(mQueueOnDelete);
    }

private:
    std::vector<std::string>& mLog;
    std::string mName;
    base::DeferredDeleteManager* mManager;
    Item* mQueueOnDelete;
};

TEST(DeferredDelete, FlushDeletesInQueueOrderOnce)
{
    std::vector<std::string> log;
    base::DeferredDeleteManager manager;
    auto* a = new Item(log, "a");
    auto* b = new Item(log, "b");
    manager.QueueDelete(a);
    manager.QueueDelete(b);
    manager.QueueDelete(a); // queued at most once
    manager.QueueDelete(nullptr);
    EXPECT_TRUE(manager.IsQueued(a));
    EXPECT_TRUE(log.empty());

    manager.Flush();
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(manager.IsEmpty());
    manager.Flush(); // empty: nothing happens
    EXPECT_EQ(log.size(), 2u);
}

TEST(DeferredDelete, ObjectsQueuedWhileFlushingAreDeletedToo)
{
    std::vector<std::string> log;
    base::DeferredDeleteManager manager;
    auto* child = new Item(log, "child");
    auto* parent = new Item(log, "parent", &manager, child);
    manager.QueueDelete(parent);
    manager.Flush();
    EXPECT_EQ(log, (std::vector<std::string>{"parent", "child"}));
    EXPECT_TRUE(manager.IsEmpty());
}

TEST(DeferredDelete, ObjectAlreadyQueuedByADestructorIsNotDeletedTwice)
{
    std::vector<std::string> log;
    base::DeferredDeleteManager manager;
    auto* second = new Item(log, "second");
    auto* first = new Item(log, "first", &manager, second);
    manager.QueueDelete(first);
    manager.QueueDelete(second);
    manager.Flush();
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
}

TEST(DeferredDelete, ManagerDeletesWhatIsLeftWhenDestroyed)
{
    std::vector<std::string> log;
    {
        base::DeferredDeleteManager manager;
        manager.QueueDelete(new Item(log, "left"));
    }
    EXPECT_EQ(log, std::vector<std::string>{"left"});
}

} // namespace
