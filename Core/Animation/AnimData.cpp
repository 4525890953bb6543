#include "Core/Animation/AnimData.h"
#include "Core/Animation/BinaryWriter.h"

#include "Core/Animation/BinaryReader.h"
#include "Core/Animation/Lightwave/MeshLibrary.h"
#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"

#include <cstring>

namespace animation
{

namespace
{

// The smallest envelope (no keys) and the smallest layer record (empty strings, four flags, ten empty
// envelopes): what a count read from the file is checked against.
constexpr unsigned kMinEnvelopeSize = 12;
constexpr unsigned kMinRecordSize = 3 * 4 + 4 * 4 + ChannelCount * kMinEnvelopeSize;

VNResultEnum Refuse(const std::wstring& name, const wchar_t* why)
{
    base::LogMessage(*base::MainLog::Instance(), L"Animation '%s' refused: %s\n") % name % why;
    return VN_FAIL;
}

bool ReadEnvelope(BinaryReader& in, lightwave::Envelope& envelope)
{
    uint32_t count = 0;
    if (!in.U32(count) || !in.U32(envelope.pre) || !in.U32(envelope.post))
        return false;
    // A key count beyond the rest of the file is damage, not a reason to allocate gigabytes.
    if (!in.Fits(count, lightwave::kKeyFileSize))
        return false;
    envelope.keys.resize(count);
    for (lightwave::Key& key : envelope.keys)
    {
        uint32_t unused[2];
        if (!in.F32(key.value) || !in.F32(key.time) || !in.U32(key.shape) || !in.F32(key.p0) ||
            !in.F32(key.p1) || !in.F32(key.p2) || !in.F32(key.p3) || !in.U32(unused[0]) || !in.U32(unused[1]))
            return false;
    }
    return true;
}

std::wstring WidenBytes(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

VNResultEnum ReadString(base::Stream& stream, std::string& out)
{
    BinaryReader in(stream);
    return in.String(out) ? VN_OK : VN_FAIL;
}

AnimData::AnimData() = default;

AnimData::~AnimData()
{
    Clear();
}

VNResultEnum AnimData::Release()
{
    return resource::ResourceManager::Instance()->Release<AnimData>(this);
}

void AnimData::Clear()
{
    mRecords.clear();
    mLibraries.clear();
    mAnimName.clear();
    mStartTime = 0.0f;
    mEndTime = 0.0f;
}

VNResultEnum AnimData::Read(base::Stream& stream)
{
    Clear();
    const VNResultEnum result = Parse(stream);
    if (result != VN_OK)
        Clear();
    return result;
}

VNResultEnum AnimData::Parse(base::Stream& stream)
{
    BinaryReader in(stream);
    uint32_t layerCount = 0;
    if (!in.String(mAnimName) || !in.F32(mStartTime) || !in.F32(mEndTime) || !in.U32(layerCount))
        return Refuse(mName, L"header");
    if (!in.Fits(layerCount, kMinRecordSize))
        return Refuse(mName, L"layer count beyond the end of the file");
    mRecords.reserve(layerCount);
    for (uint32_t i = 0; i < layerCount; ++i)
    {
        auto record = std::make_unique<LayerRecord>();
        record->owner = this;
        uint32_t parent = 0;
        uint32_t flagA = 0;
        uint32_t flagB = 0;
        uint32_t hasColor = 0;
        if (!in.String(record->name) || !in.String(record->meshLibrary) || !in.String(record->meshName) ||
            !in.U32(parent) || !in.U32(flagA) || !in.U32(flagB) || !in.U32(hasColor))
            return Refuse(mName, L"layer record");
        record->hasParent = parent != 0;
        record->parentIndex = parent != 0 ? parent - 1 : 0;
        record->flagA = flagA == 1;
        record->flagB = flagB == 1;
        record->hasColor = hasColor == 1;
        if (record->hasColor)
        {
            for (lightwave::Envelope& envelope : record->color)
            {
                if (!ReadEnvelope(in, envelope))
                    return Refuse(mName, L"colour envelope");
            }
        }
        for (lightwave::Envelope& envelope : record->channels)
        {
            if (!ReadEnvelope(in, envelope))
                return Refuse(mName, L"channel envelope");
        }
        mRecords.push_back(std::move(record));
    }
    return VN_OK;
}

VNResultEnum AnimData::ResolveMeshes()
{
    const std::wstring folder = base::GetDirectoryWithoutDrive(mName);
    for (const std::unique_ptr<LayerRecord>& record : mRecords)
    {
        record->mesh = nullptr;
        if (record->meshLibrary == "null" || record->meshLibrary == "screen_res" ||
            record->meshName == "null")
            continue;
        CountedHandle<lightwave::MeshLibrary>& library = mLibraries[record->meshLibrary];
        if (!library)
        {
            library = resource::ResourceManager::Instance()->Get<lightwave::MeshLibrary>(
                folder + WidenBytes(record->meshLibrary) + L".lib");
            if (!library)
                return Refuse(mName, L"mesh library not available");
        }
        if (!library->IsLoaded())
        {
            library->SetRender(mRender);
            if (const VNResultEnum result = library->Load(); result != VN_OK)
            {
                Refuse(mName, L"mesh library failed to load");
                return result;
            }
        }
        record->mesh = library->FindMesh(record->meshName);
        if (!record->mesh)
            return Refuse(mName, L"mesh not in its library");
    }
    return VN_OK;
}

VNResultEnum AnimData::DoLoad()
{
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->FindFile(mName));
    if (!info)
        return Refuse(mName, L"no such file");
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    if (!stream)
        return Refuse(mName, L"cannot open");
    VNResultEnum result = Read(*stream);
    if (result == VN_OK)
        result = ResolveMeshes();
    // A failed load is never unloaded: keep nothing of it, and hand the libraries back.
    if (result != VN_OK)
        Clear();
    return result;
}

VNResultEnum AnimData::DoUnload()
{
    Clear();
    return VN_OK;
}

namespace
{

void PutEnvelope(std::string& out, const lightwave::Envelope& envelope)
{
    PutU32(out, static_cast<uint32_t>(envelope.keys.size()));
    PutU32(out, envelope.pre);
    PutU32(out, envelope.post);
    for (const lightwave::Key& key : envelope.keys)
    {
        PutF32(out, key.value);
        PutF32(out, key.time);
        PutU32(out, key.shape);
        PutF32(out, key.p0);
        PutF32(out, key.p1);
        PutF32(out, key.p2);
        PutF32(out, key.p3);
        PutU32(out, 0);
        PutU32(out, 0);
    }
}

} // namespace

std::string WriteAnimData(const std::string& name, float startTime, float endTime,
                          const std::vector<LayerRecord>& records)
{
    std::string out;
    PutString(out, name);
    PutF32(out, startTime);
    PutF32(out, endTime);
    PutU32(out, static_cast<uint32_t>(records.size()));
    for (const LayerRecord& record : records)
    {
        PutString(out, record.name);
        PutString(out, record.meshLibrary);
        PutString(out, record.meshName);
        PutU32(out, record.hasParent ? record.parentIndex + 1 : 0);
        PutU32(out, record.flagA ? 1 : 0);
        PutU32(out, record.flagB ? 1 : 0);
        PutU32(out, record.hasColor ? 1 : 0);
        if (record.hasColor)
        {
            for (const lightwave::Envelope& envelope : record.color)
                PutEnvelope(out, envelope);
        }
        for (const lightwave::Envelope& envelope : record.channels)
            PutEnvelope(out, envelope);
    }
    return out;
}

} // namespace animation
