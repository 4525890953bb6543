#include "Core/Particles/ParticleSystem.h"

#include "Core/Base/Log.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/Particles/Lib/ParticleLib.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"

#include <memory>
#include <vector>

namespace render
{
ParticleSystem::ParticleSystem()
{
    RegisterParticleRenderPass();
}

ParticleSystem::~ParticleSystem()
{
    for (auto& [name, emitter] : mEmitters)
        delete emitter;
    mEmitters.clear();
    ReleaseAtlasTextures();
}

void ParticleSystem::Load(const std::string& file, Render* render)
{
    static const wchar_t* const kExtensions[] = {L"", L".ptc"};
    std::unique_ptr<file::FileInfo> info(
        file::FileManager::Instance()->FindFile(base::ToWide(mFolder + file, 1), kExtensions, 2));
    if (!info)
        return;
    const std::wstring path = info->path;
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    info.reset();
    // A damaged file is reported as a damaged image or font is; the effects it held stay missing.
    auto damaged = [&path](const wchar_t* why)
    { base::LogMessage(*base::MainLog::Instance(), L"Particle file '%s' cannot be loaded: %s.\n") % path % why; };
    if (!stream)
    {
        damaged(L"it cannot be opened");
        return;
    }
    const unsigned size = stream->Size();
    std::vector<unsigned char> bytes(std::size_t(size) + 1);
    if (stream->Read(bytes.data(), size) != size)
    {
        damaged(L"it cannot be read whole");
        return;
    }
    if (!LoadFromMemory(bytes.data(), size, render))
        damaged(L"damaged or truncated");
    else if (mSkippedEmitters > 0)
        base::LogMessage(*base::MainLog::Instance(), L"Particle file '%s' is damaged: %d emitters skipped.\n") %
            path % mSkippedEmitters;
}

bool ParticleSystem::LoadFromMemory(const void* data, std::size_t size, Render* render)
{
    mSkippedEmitters = 0;
    std::unique_ptr<ptl::File> file = ptl::File::OpenInMemory(data, size);
    if (!file)
        return false;
    // This file's atlas indices count from here, so a second file's emitters never draw with the first one's
    // atlases.
    const int atlasBase = int(mAtlases.size());
    LoadFolder(*file, std::string(), atlasBase);
    for (int i = 0; i < file->GetStaticAtlasCount(); ++i)
    {
        ptl::AtlasRecord atlas;
        Image* image = nullptr;
        if (file->GetStaticAtlas(i, atlas) && render)
        {
            // Atlas names are UTF-8 bytes in the file.
            if (render->LoadTexture(base::ToWide(mFolder + atlas.file, 1), nullptr, &image, nullptr) != VN_OK)
            {
                delete image;
                image = nullptr;
            }
        }
        mAtlases.push_back(image);
    }
    return true;
}

void ParticleSystem::LoadFolder(ptl::File& file, const std::string& folder, int atlasBase)
{
    if (!file.SetCurrentFolder(folder))
        return;
    // Names are gathered first: walking a sub-folder moves the file's cursor.
    std::vector<std::pair<std::string, bool>> entries;
    ptl::FindData data;
    for (const char* name = file.FindFirst(data, ptl::kFindAll); name; name = file.FindNext(data))
        entries.emplace_back(name, data.folder);
    for (const auto& [name, isFolder] : entries)
    {
        if (isFolder)
        {
            LoadFolder(file, name, atlasBase);
            continue;
        }
        std::unique_ptr<ptl::Emitter> emitter = file.LoadEmitter(name);
        if (!emitter)
        {
            ++mSkippedEmitters;
            continue;
        }
        if (mInterpolationMode != 0)
            emitter->SetInterpolationMode(mInterpolationMode == 1);
        emitter->SetLoopMode(mLoopMode);
        auto* prototype = new ParticleEmitter(std::move(emitter), atlasBase, this);
        // A later emitter of the same name replaces the earlier one, which is freed.
        ParticleEmitter*& slot = mEmitters[name];
        delete slot;
        slot = prototype;
    }
    file.SetCurrentFolder("..");
}

ParticleEmitter* ParticleSystem::GetEmitter(const std::string& name) const
{
    auto it = mEmitters.find(name);
    return it == mEmitters.end() ? nullptr : it->second->Clone();
}

void ParticleSystem::ReleaseAtlasTextures()
{
    for (Image* image : mAtlases)
        delete image;
    mAtlases.clear();
}

Image* ParticleSystem::GetAtlas(int index) const
{
    if (index < 0 || std::size_t(index) >= mAtlases.size())
        return nullptr;
    return mAtlases[std::size_t(index)];
}

void ParticleSystem::SetAtlas(int index, Image* image)
{
    if (index < 0)
        return;
    if (std::size_t(index) >= mAtlases.size())
        mAtlases.resize(std::size_t(index) + 1, nullptr);
    delete mAtlases[std::size_t(index)];
    mAtlases[std::size_t(index)] = image;
}
} // namespace render
