#pragma once

#include "Core/Base/MemoryStream.h"
#include "Core/Base/Result.h"

#include <cstdint>
#include <cstring>

namespace render
{

// The per-frame record stream: a growable memory stream reused from position 0 every frame.
// Writes that do not fit grow it by half (or to the request + 1024 bytes when that is larger); it never
// shrinks.
class CommandBuffer : public base::MemoryStream
{
public:
    CommandBuffer() = default;

    // The growth rule: 1.5 × the current size when n is below it, else n + 1024; content kept.
    void Resize(unsigned n, bool keep) override;

    uint32_t Position() const { return GetPosition(); }

    VNResultEnum WriteU8(uint8_t v) { return WriteExact(&v, sizeof v); }
    VNResultEnum WriteU32(uint32_t v) { return WriteExact(&v, sizeof v); }
    VNResultEnum WriteF32(float v) { return WriteExact(&v, sizeof v); }
    // Pointers are recorded pointer-sized; the records never leave the process.
    VNResultEnum WritePointer(const void* p) { return WriteExact(&p, sizeof p); }
    VNResultEnum WriteExact(const void* buffer, uint32_t length)
    {
        return Write(buffer, length) == length ? VN_OK : VN_FAIL;
    }

    VNResultEnum ReadU8(uint8_t& v) { return ReadExact(&v, sizeof v); }
    VNResultEnum ReadU32(uint32_t& v) { return ReadExact(&v, sizeof v); }
    VNResultEnum ReadF32(float& v) { return ReadExact(&v, sizeof v); }
    template <typename T>
    VNResultEnum ReadPointer(T*& p)
    {
        void* raw = nullptr;
        const VNResultEnum r = ReadExact(&raw, sizeof raw);
        p = static_cast<T*>(raw);
        return r;
    }
    VNResultEnum ReadExact(void* buffer, uint32_t length)
    {
        return Read(buffer, length) == length ? VN_OK : VN_FAIL;
    }
};

} // namespace render
