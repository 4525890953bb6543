#include "Core/Sound/ResourceSound.h"

#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/SoundSystem.h"

#include <memory>
#include <vector>

namespace resource
{
ResourceSound::~ResourceSound() = default;

VNResultEnum ResourceSound::Release()
{
    return ResourceManager::Instance()->Release(this);
}

VNResultEnum ResourceSound::DoLoad()
{
    static const wchar_t* const kExtensions[] = {L"", L".ogg", L".wav"};
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->FindFile(mName, kExtensions, 3));
    if (!info)
        return VN_FAIL;
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    if (!stream)
        return VN_FAIL;
    const unsigned size = stream->Size();
    std::vector<unsigned char> bytes(std::size_t(size) + 1);
    if (stream->Read(bytes.data(), size) != size)
        return VN_FAIL;
    mSample = SoundSystem::Instance()->GetMixer().SampleLoad(mixer::kSampleFromMemory, bytes.data(), 0, size,
                                                             65535, 0);
    // An undecodable file is a failed load: the resource stays unloaded rather than holding a dead sample.
    return mSample != 0 ? VN_OK : VN_FAIL;
}

VNResultEnum ResourceSound::DoUnload()
{
    // Without a sound system its mixer, and every sample in it, is already gone.
    if (mSample != 0 && base::Singletone<SoundSystem>::Exists())
        SoundSystem::Instance()->GetMixer().SampleFree(mSample);
    mSample = 0;
    return VN_OK;
}
} // namespace resource
