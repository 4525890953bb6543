#include "Core/File/PsdFile.h"

#include "Core/Base/MemoryStream.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileContainer.h"
#include "Core/File/ReadFile.h"
#include "Core/Psd/Psd.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace file
{

PsdFileLayer::PsdFileLayer(const psdr_layer* record, const std::wstring& fullName, int index)
    : mRecord(record)
{
    int x = record->left;
    int y = record->top;
    int w = record->width;
    int h = record->height;
    bool hasImage = true;
    if (fullName.find(L"|box") != std::wstring::npos)
        hasImage = false;
    else if (fullName.find(L"|center") != std::wstring::npos)
    {
        x += w / 2;
        y += h / 2;
        w = h = 0;
        hasImage = false;
    }
    static_cast<base::ImageInfo&>(*this) = base::ImageInfo(fullName, x, y, w, h, record->opacity, index,
                                                           hasImage, true, ApplicationImageScale());
}

PsdFile::PsdFile(const std::wstring& path, FileContainer* parent) : ImageContainer(path, parent)
{
    if (!mParent)
        return;
    // The document is read from the container's stream, so a document inside a pack loads like a loose one.
    std::unique_ptr<base::Stream> stream(mParent->OpenStream(mPath));
    if (!stream)
        return;
    // A size beyond any document (a damaged or foreign file) is refused before it is allocated.
    const unsigned size = stream->Size();
    if (size == 0 || size > kMaxWholeFileSize)
        return;
    std::vector<char> bytes(size);
    if (stream->Read(bytes.data(), size) != size)
        return;
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file)
        return;
    psdr_document* document = nullptr;
    const psdr_status status = psdr_load_stream(file, &document, PSDR_LOAD_ALL);
    std::fclose(file);
    if (status == PSDR_OK && document)
        Adopt(document);
}

PsdFile::~PsdFile()
{
    mList.clear();
    mLayers.clear();
    if (mDocument)
        psdr_free(mDocument);
}

void PsdFile::Adopt(psdr_document* document)
{
    mList.clear();
    mLayers.clear();
    if (mDocument)
        psdr_free(mDocument);
    mDocument = document;
    if (!document || !document->layers || document->layer_count <= 0)
        return;
    // Records run bottom to top; walking from the top, a group's start comes before its members. Record 0
    // (the bottom layer) is read too: indices stay the record numbers.
    std::vector<std::wstring> groups;
    std::wstring prefix;
    auto rebuild = [&]
    {
        prefix.clear();
        for (const std::wstring& g : groups)
            prefix += g + L"/";
    };
    for (int i = document->layer_count - 1; i >= 0; --i)
    {
        const psdr_layer& record = document->layers[i];
        const std::string rawName(record.name, strnlen(record.name, sizeof(record.name)));
        const std::wstring name = base::ToWide(rawName, base::kEncodingAnsi);
        if (record.type == PSDR_LAYER_GROUP)
        {
            groups.push_back(name);
            rebuild();
            continue;
        }
        if (record.type == PSDR_LAYER_GROUP_END)
        {
            if (!groups.empty())
                groups.pop_back();
            rebuild();
            continue;
        }
        const std::wstring full = prefix + name;
        auto inserted = mLayers.try_emplace(full, nullptr);
        if (inserted.second)
            inserted.first->second = std::make_unique<PsdFileLayer>(&record, full, i);
        mList.push_back(inserted.first->second.get());
    }
}

base::Stream* PsdFile::OpenStream(const std::wstring& name)
{
    auto it = mLayers.find(name);
    if (it == mLayers.end())
        return nullptr;
    const psdr_layer* record = it->second->mRecord;
    if (record->width <= 0 || record->height <= 0)
        return nullptr;
    const uint64_t bytes = static_cast<uint64_t>(record->width) * static_cast<uint64_t>(record->height) * 4u;
    if (bytes > 0xFFFFFFFFull)
        return nullptr;
    auto* stream = new base::MemoryStream();
    stream->Resize(static_cast<unsigned>(bytes), false);
    if (stream->Size() != bytes)
    {
        delete stream;
        return nullptr;
    }
    // A layer the decoder kept no pixels for reads as transparent, so the texture still gets its full size.
    if (record->pixels)
        std::memcpy(stream->GetData(), record->pixels, static_cast<size_t>(bytes));
    else
        std::memset(stream->GetData(), 0, static_cast<size_t>(bytes));
    stream->Seek(0, base::kSeekBegin);
    return stream;
}

ImageFileInfo* PsdFile::FindImage(const std::wstring& name, const wchar_t* const* extensions, unsigned count,
                                  unsigned* foundIndex)
{
    auto it = mLayers.find(name);
    if (it == mLayers.end())
        return nullptr;
    if (extensions && foundIndex)
        for (unsigned i = 0; i < count; ++i)
            if (extensions[i] && extensions[i][0] == 0)
                *foundIndex = i;
    return new ImageFileInfo(base::GetFileName(name), name, this, 1, *it->second);
}

const base::ImageInfo* PsdFile::FindImageInfo(const std::wstring& name) const
{
    auto it = mLayers.find(name);
    return it == mLayers.end() ? nullptr : it->second.get();
}

const base::ImageInfo* PsdFile::GetImageInfo(unsigned index) const
{
    return index < mList.size() ? mList[index] : nullptr;
}

} // namespace file
