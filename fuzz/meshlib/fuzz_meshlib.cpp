// Mesh libraries: any bytes are read or refused; every index of a read mesh must address its own vertices.
#include "Core/Animation/Lightwave/MeshLibrary.h"
#include "Core/Base/MemoryStream.h"

#include "Core/Render/Render.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    base::MemoryStream stream(data, static_cast<unsigned>(size));
    lightwave::MeshLibrary library;
    if (library.Read(stream) != VN_OK)
        return 0;
    volatile float sink = 0.0f;
    for (const lightwave::Mesh& mesh : library.GetMeshes())
    {
        for (uint32_t i = 0; i < mesh.indexCount; ++i)
        {
            if (mesh.indices[i] >= mesh.vertexCount)
                std::abort();
            sink = sink + mesh.vertices[mesh.indices[i]].x;
        }
        (void)library.FindMesh(mesh.name);
    }
    (void)sink;
    return 0;
}
