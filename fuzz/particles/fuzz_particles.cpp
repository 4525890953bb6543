// Feeds arbitrary bytes to the ".ptc" reader, then walks what loaded and runs a few emitters through the
// simulation and the rendered lists.
#include "Core/Particles/Lib/ParticleLib.h"

#include <cstddef>
#include <cstdint>

namespace
{
int gRun = 0;

void Exercise(ptl::Emitter& e)
{
    // Keep each input cheap: only emitters with a modest particle budget are simulated.
    std::uint64_t budget = 0;
    for (const ptl::ParticleTypeDesc& t : e.GetDesc().types)
        budget += t.maxParticles;
    if (budget > 2000 || ++gRun > 6)
        return;
    auto copy = e.Duplicate();
    float pos[2] = {10.0f, 20.0f};
    copy->SetEmitterPositionMode(1);
    copy->SetEmitterPosition(pos);
    copy->EmitterToInterval1(1.0);
    for (int i = 0; i < 5; ++i)
        copy->Update(i == 2 ? copy->GetUpdateTime() : 40.0);
    ptl::RenderedList list;
    ptl::ParticleVertexes v;
    for (int n = copy->CreateFirstRenderedParticlesList(list); n > 0;
         n = copy->CreateNextRenderedParticlesList(list))
        while (list.GetNextParticleVertexes(v))
        {
        }
    copy->SetInterrupt(true);
    copy->Update(1e7);
}

void Walk(ptl::File& file, int depth)
{
    ptl::FindData fd;
    std::vector<std::pair<std::string, bool>> entries;
    for (const char* n = file.FindFirst(fd, ptl::kFindAll); n; n = file.FindNext(fd))
        entries.emplace_back(n, fd.folder);
    for (const auto& [name, folder] : entries)
    {
        if (folder)
        {
            if (depth < 20 && file.SetCurrentFolder(name))
            {
                Walk(file, depth + 1);
                file.SetCurrentFolder("..");
            }
        }
        else if (auto e = file.LoadEmitter(name))
            Exercise(*e);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    gRun = 0;
    auto file = ptl::File::OpenInMemory(data, size);
    if (!file)
        return 0;
    file->SetCurrentFolder("");
    Walk(*file, 0);
    ptl::AtlasRecord rec;
    for (int i = 0; i < file->GetStaticAtlasCount(); ++i)
        file->GetStaticAtlas(i, rec);
    return 0;
}
