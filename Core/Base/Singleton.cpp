#include "Core/Base/Singleton.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <utility>

namespace base
{

namespace
{

// The process-wide list of live singletons (construction order) and of declared dependencies.
struct SingletoneRegistry
{
    std::vector<std::pair<SingletoneBase*, SingletoneBase*>> dependencies; // (dependant, dependency)
    std::vector<SingletoneBase*> singletons;
    bool dirty = false; // changed since the last sort
};

// A plain pointer, not an object with a destructor: it must stay usable while static objects are
// being destroyed at exit.
SingletoneRegistry* gRegistry = nullptr;
bool gDestroying = false;

void DestroyAllAtExit()
{
    SingletoneBase::DestroyAll();
}

SingletoneRegistry& Registry()
{
    if (gRegistry == nullptr)
    {
        gRegistry = new SingletoneRegistry;
        // Registered with each new registry: one made after an earlier teardown (a singleton
        // requested from a late destructor) is torn down by its own exit call.
        std::atexit(&DestroyAllAtExit);
    }
    return *gRegistry;
}

std::ptrdiff_t Find(const std::vector<SingletoneBase*>& list, const SingletoneBase* object)
{
    auto it = std::find(list.begin(), list.end(), object);
    return it == list.end() ? -1 : it - list.begin();
}

// One pass of the ordering: the first singleton found after one of its dependencies is swapped
// with it, then every declared pair out of order is swapped. True when something moved.
bool SortPass(SingletoneRegistry& registry)
{
    bool changed = false;
    // Indexes, not iterators: GetDependencies may create a singleton, which appends to the list.
    for (std::size_t p = 0; p < registry.singletons.size() && !changed; ++p)
    {
        std::vector<SingletoneBase*> dependencies = registry.singletons[p]->GetDependencies();
        for (SingletoneBase* dependency : dependencies)
        {
            std::ptrdiff_t r = Find(registry.singletons, dependency);
            if (r >= 0 && static_cast<std::size_t>(r) < p)
            {
                std::swap(registry.singletons[static_cast<std::size_t>(r)], registry.singletons[p]);
                changed = true;
                break;
            }
        }
    }
    for (const auto& [dependant, dependency] : registry.dependencies)
    {
        std::ptrdiff_t a = Find(registry.singletons, dependant);
        std::ptrdiff_t b = Find(registry.singletons, dependency);
        if (a >= 0 && b >= 0 && b < a)
        {
            std::swap(registry.singletons[static_cast<std::size_t>(a)],
                      registry.singletons[static_cast<std::size_t>(b)]);
            changed = true;
        }
    }
    return changed;
}

// Every singleton S and the singletons that must be destroyed after it.
std::vector<std::pair<SingletoneBase*, SingletoneBase*>> CollectEdges(SingletoneRegistry& registry)
{
    std::vector<std::pair<SingletoneBase*, SingletoneBase*>> edges = registry.dependencies;
    for (std::size_t p = 0; p < registry.singletons.size(); ++p)
    {
        SingletoneBase* dependant = registry.singletons[p];
        for (SingletoneBase* dependency : dependant->GetDependencies())
            edges.emplace_back(dependant, dependency);
    }
    return edges;
}

// Used when the swapping passes do not settle (a dependency cycle): repeatedly takes the first
// singleton that no remaining singleton depends on, or the first one left when all are in a cycle.
void TopologicalOrder(SingletoneRegistry& registry)
{
    const auto edges = CollectEdges(registry);
    std::vector<SingletoneBase*> remaining = registry.singletons;
    std::vector<SingletoneBase*> ordered;
    ordered.reserve(remaining.size());
    while (!remaining.empty())
    {
        std::size_t pick = 0;
        for (std::size_t i = 0; i < remaining.size(); ++i)
        {
            bool needed = false;
            for (const auto& [dependant, dependency] : edges)
            {
                if (dependency == remaining[i] && dependant != remaining[i] &&
                    Find(remaining, dependant) >= 0)
                {
                    needed = true;
                    break;
                }
            }
            if (!needed)
            {
                pick = i;
                break;
            }
        }
        ordered.push_back(remaining[pick]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    registry.singletons = std::move(ordered);
}

void Sort(SingletoneRegistry& registry)
{
    registry.dirty = false;
    // The passes settle quickly for any acyclic set; a cycle would make them swap forever.
    const std::size_t n = registry.singletons.size() + registry.dependencies.size() + 1;
    const std::size_t maxPasses = 4 * n * n + 16;
    for (std::size_t pass = 0; pass < maxPasses; ++pass)
    {
        if (!SortPass(registry))
            return;
    }
    TopologicalOrder(registry);
}

} // namespace

SingletoneBase::SingletoneBase()
{
    SingletoneRegistry& registry = Registry();
    registry.singletons.push_back(this);
    registry.dirty = true;
}

SingletoneBase::~SingletoneBase()
{
    if (gRegistry == nullptr)
        return;
    auto& list = gRegistry->singletons;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    auto& pairs = gRegistry->dependencies;
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [this](const auto& pair)
                               { return pair.first == this || pair.second == this; }),
                pairs.end());
}

std::vector<SingletoneBase*> SingletoneBase::GetDependencies()
{
    return {};
}

void SingletoneBase::AddDependency(SingletoneBase* dependant, SingletoneBase* dependency)
{
    if (dependant == nullptr || dependency == nullptr || dependant == dependency)
        return;
    SingletoneRegistry& registry = Registry();
    registry.dependencies.emplace_back(dependant, dependency);
    registry.dirty = true;
}

void SingletoneBase::DestroyAll()
{
    if (gRegistry == nullptr || gDestroying)
        return;
    gDestroying = true;
    SingletoneRegistry& registry = *gRegistry;
    registry.dirty = true;
    while (!registry.singletons.empty())
    {
        // Sorted again whenever a destructor created a singleton or added a dependency.
        if (registry.dirty)
            Sort(registry);
        SingletoneBase* first = registry.singletons.front();
        registry.singletons.erase(registry.singletons.begin());
        delete first;
    }
    delete gRegistry;
    gRegistry = nullptr;
    gDestroying = false;
}

std::vector<SingletoneBase*> SingletoneBase::GetRegistered()
{
    return gRegistry ? gRegistry->singletons : std::vector<SingletoneBase*>();
}

} // namespace base
