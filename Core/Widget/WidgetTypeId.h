#pragma once

#include <cstdint>

// A widget class's id: one byte per level of the class tree. A child id has depth = parent depth + 1 and
// index = ++parent child count, and value = parent value | index << (8 × parent depth).
struct WidgetTypeId
{
    uint32_t value = 0;
    int32_t depth = 0;
    uint8_t childCount = 0;

    // Numbers a new child class of parent; deeper than four levels gives the value 0.
    static WidgetTypeId MakeChild(WidgetTypeId& parent)
    {
        WidgetTypeId id;
        id.depth = parent.depth + 1;
        ++parent.childCount;
        id.value = id.depth > 4
                       ? 0u
                       : parent.value | (static_cast<uint32_t>(parent.childCount) << (8 * (id.depth - 1)));
        return id;
    }
};
