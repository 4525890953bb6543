#include "Core/Base/Containers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <vector>

namespace
{

struct Node
{
    virtual ~Node()
    {
        order->push_back(id);
        if (list)
            list->erase(std::remove(list->begin(), list->end(), this), list->end());
    }
    int id = 0;
    std::vector<int>* order = nullptr;
    std::vector<Node*>* list = nullptr; // a node that unregisters itself when deleted
};

struct Derived : Node
{
    ~Derived() override { order->push_back(-id); }
};

TEST(DeleteAll, DeletesFrontToBackThroughTheVirtualDestructor)
{
    std::vector<int> order;
    std::vector<Node*> nodes;
    for (int i = 1; i <= 3; ++i)
    {
        Node* node = i == 2 ? new Derived : new Node;
        node->id = i;
        node->order = &order;
        nodes.push_back(node);
    }
    base::DeleteAll(nodes);
    EXPECT_TRUE(nodes.empty());
    EXPECT_EQ(order, (std::vector<int>{1, -2, 2, 3}));

    base::DeleteAll(nodes); // empty: nothing happens
    EXPECT_EQ(order.size(), 4u);
}

TEST(DeleteAll, DestructorThatUnregistersDoesNotBreakTheWalk)
{
    std::vector<int> order;
    std::vector<Node*> nodes;
    for (int i = 1; i <= 4; ++i)
    {
        auto* node = new Node;
        node->id = i;
        node->order = &order;
        node->list = &nodes;
        nodes.push_back(node);
    }
    base::DeleteAll(nodes);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(nodes.empty());
}

TEST(DeleteAll, WorksOnLists)
{
    std::vector<int> order;
    std::list<Node*> nodes;
    auto* node = new Node;
    node->id = 9;
    node->order = &order;
    nodes.push_back(node);
    base::DeleteAll(nodes);
    EXPECT_TRUE(nodes.empty());
    EXPECT_EQ(order, std::vector<int>{9});
}

} // namespace
