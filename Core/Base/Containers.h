#pragma once

#include <utility>

namespace base
{

// Deletes every element of a container of owned pointers, front to back, and leaves it empty.
// The elements are taken out first, so a destructor that looks at (or removes itself from) the
// container never sees a deleted element.
template <class Container>
void DeleteAll(Container& container)
{
    Container owned;
    owned.swap(container);
    for (auto* element : owned)
        delete element;
}

} // namespace base
