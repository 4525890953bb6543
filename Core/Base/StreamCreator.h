#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace base
{

class Stream;

// Knows how to open a stream and opens a new one on demand.
class StreamCreator
{
public:
    virtual ~StreamCreator() = default;
    // Makes and opens a new stream into *out (the caller owns it); *out is untouched on failure.
    virtual VNResultEnum Create(Stream** out) = 0;
};

// Opens a FileStream on a path with a mode and disposition (FileStream's codes).
class FileStreamCreator : public StreamCreator
{
public:
    FileStreamCreator(const std::wstring& path, int mode, int disposition);
    VNResultEnum Create(Stream** out) override;

    const std::wstring& GetPath() const { return mPath; }

private:
    std::wstring mPath;
    int mMode;
    int mDisposition;
};

// Opens a FrameStream over a stream made by a parent creator; the frame owns that stream.
class FrameStreamCreator : public StreamCreator
{
public:
    FrameStreamCreator();
    FrameStreamCreator(StreamCreator* parent, bool ownsParent, unsigned offset, unsigned size);
    // Deletes the parent creator when it owns it.
    ~FrameStreamCreator() override;

    FrameStreamCreator(const FrameStreamCreator&) = delete;
    FrameStreamCreator& operator=(const FrameStreamCreator&) = delete;

    // Re-initialises (an owned previous parent creator is deleted).
    void Init(StreamCreator* parent, bool ownsParent, unsigned offset, unsigned size);

    // VN_FAIL without a parent creator; the parent's error passes through unchanged.
    VNResultEnum Create(Stream** out) override;

private:
    StreamCreator* mParent = nullptr;
    bool mOwnsParent = false;
    unsigned mOffset = 0;
    unsigned mSize = 0;
};

} // namespace base
