#pragma once
// Builders for descriptor bytes in test fixtures.

#include "Core/Psd/PsdWriter.h"

#include <string>

namespace psdtest
{

inline Bytes id4(const char* k)
{
    return Bytes().u32(0).key(k);
}

inline Bytes keyOf(const std::string& k)
{
    if (k.size() == 4)
        return id4(k.c_str());
    Bytes b;
    b.u32(uint32_t(k.size()));
    for (char c : k)
        b.u8(uint8_t(c));
    return b;
}

// A descriptor: empty class name, class id, item count, items.
inline Bytes descriptor(const char* cls, const std::vector<Bytes>& items)
{
    Bytes b;
    b.u32(1).u16(0).raw(id4(cls)).u32(uint32_t(items.size()));
    for (const Bytes& i : items)
        b.raw(i);
    return b;
}

inline Bytes item(const std::string& key, const char* type, const Bytes& value)
{
    return keyOf(key).key(type).raw(value);
}

inline Bytes unitFloat(const char* unit, double v)
{
    return Bytes().key(unit).f64(v);
}

inline Bytes enumValue(const char* type, const std::string& value)
{
    return id4(type).raw(keyOf(value));
}

inline Bytes rgb(double r, double g, double b)
{
    return descriptor("RGBC", {item("Rd  ", "doub", Bytes().f64(r)), item("Grn ", "doub", Bytes().f64(g)),
                               item("Bl  ", "doub", Bytes().f64(b))});
}

// The 'lfx2' block around a descriptor of effects.
inline Bytes effectsBlock(const std::vector<Bytes>& items)
{
    return Bytes().u32(0).u32(16).raw(descriptor("null", items));
}

} // namespace psdtest
