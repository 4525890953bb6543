#include "Core/Base/StreamCreator.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"

namespace base
{

FileStreamCreator::FileStreamCreator(const std::wstring& path, int mode, int disposition)
    : mPath(path), mMode(mode), mDisposition(disposition)
{
}

VNResultEnum FileStreamCreator::Create(Stream** out)
{
    if (out == nullptr)
        return VN_FAIL;
    FileStream* stream = new FileStream;
    const VNResultEnum result = stream->Open(mPath, mMode, mDisposition);
    if (result != VN_OK)
    {
        delete stream;
        return result;
    }
    *out = stream;
    return VN_OK;
}

FrameStreamCreator::FrameStreamCreator() = default;

FrameStreamCreator::FrameStreamCreator(StreamCreator* parent, bool ownsParent, unsigned offset, unsigned size)
{
    Init(parent, ownsParent, offset, size);
}

FrameStreamCreator::~FrameStreamCreator()
{
    if (mOwnsParent)
        delete mParent;
}

void FrameStreamCreator::Init(StreamCreator* parent, bool ownsParent, unsigned offset, unsigned size)
{
    if (mOwnsParent && mParent != parent)
        delete mParent;
    mParent = parent;
    mOwnsParent = ownsParent;
    mOffset = offset;
    mSize = size;
}

VNResultEnum FrameStreamCreator::Create(Stream** out)
{
    if (mParent == nullptr || out == nullptr)
        return VN_FAIL;
    Stream* stream = nullptr;
    const VNResultEnum result = mParent->Create(&stream);
    if (result != VN_OK)
        return result;
    // The frame owns the stream made for it, whatever this creator's own ownership says.
    *out = new FrameStream(stream, true, mOffset, mSize);
    return VN_OK;
}

} // namespace base
