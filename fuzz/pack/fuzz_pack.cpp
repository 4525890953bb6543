// Feeds arbitrary bytes to the pack index reader and reads every entry it accepts through a window, as the
// archive does: nothing may read outside the buffer or allocate what the file cannot hold.
#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "Core/File/PackIndex.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1u << 20)
        return 0;
    base::MemoryStream pack(data, static_cast<unsigned>(size));
    file::PackIndex index;
    if (index.Read(&pack) != VN_OK)
        return 0;
    std::vector<unsigned char> buffer;
    for (const auto& [name, entry] : index)
    {
        if (std::uint64_t(entry.offset) + entry.size > size)
            __builtin_trap(); // the reader promised every entry lies within the file
        base::FrameStream frame(&pack, false, entry.offset, entry.size);
        buffer.resize(entry.size);
        if (frame.Read(buffer.data(), entry.size) != entry.size)
            __builtin_trap();
    }
    base::MemoryStream written;
    if (index.Write(&written) != VN_OK)
        __builtin_trap();
    return 0;
}
