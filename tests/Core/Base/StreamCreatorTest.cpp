#include "Core/Base/StreamCreator.h"
#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"

#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace
{

class CountingCreator : public base::StreamCreator
{
public:
    explicit CountingCreator(VNResultEnum result, bool* deleted = nullptr)
        : mResult(result), mDeleted(deleted)
    {
    }
    ~CountingCreator() override
    {
        if (mDeleted)
            *mDeleted = true;
    }
    VNResultEnum Create(base::Stream** out) override
    {
        ++calls;
        if (mResult != VN_OK)
            return mResult;
        *out = new base::FrameStream; // any stream will do
        return VN_OK;
    }
    int calls = 0;

private:
    VNResultEnum mResult;
    bool* mDeleted;
};

using StreamCreatorFiles = basetest::TempFolderTest;

TEST_F(StreamCreatorFiles, FileCreatorOpensOrFails)
{
    MakeFile("a.bin", "0123456789");
    base::FileStreamCreator good(PathOf("a.bin"), base::FileStream::ModeRead, base::FileStream::OpenExisting);
    base::Stream* stream = nullptr;
    ASSERT_EQ(good.Create(&stream), VN_OK);
    std::unique_ptr<base::Stream> owned(stream);
    EXPECT_EQ(stream->Size(), 10u);

    base::FileStreamCreator bad(PathOf("none.bin"), base::FileStream::ModeRead,
                                base::FileStream::OpenExisting);
    base::Stream* untouched = reinterpret_cast<base::Stream*>(&bad);
    EXPECT_EQ(bad.Create(&untouched), VN_FAIL);
    EXPECT_EQ(untouched, reinterpret_cast<base::Stream*>(&bad));
}

TEST_F(StreamCreatorFiles, FrameCreatorWrapsTheParentsStream)
{
    MakeFile("pack.bin", "headerPAYLOADtrailer");
    // Owned parent creator; the frame owns the file stream made for it.
    base::FrameStreamCreator creator(new base::FileStreamCreator(PathOf("pack.bin"),
                                                                 base::FileStream::ModeRead,
                                                                 base::FileStream::OpenExisting),
                                     true, 6, 7);
    base::Stream* stream = nullptr;
    ASSERT_EQ(creator.Create(&stream), VN_OK);
    std::unique_ptr<base::Stream> owned(stream);
    char buffer[16] = {};
    EXPECT_EQ(stream->Size(), 7u);
    EXPECT_EQ(stream->Read(buffer, 16), 7u);
    EXPECT_EQ(std::string(buffer, 7), "PAYLOAD");
}

TEST(StreamCreator, FrameCreatorFailures)
{
    base::Stream* stream = nullptr;
    base::FrameStreamCreator orphan;
    EXPECT_EQ(orphan.Create(&stream), VN_FAIL);

    CountingCreator failing(static_cast<VNResultEnum>(7));
    base::FrameStreamCreator passesThrough(&failing, false, 0, 4);
    EXPECT_EQ(passesThrough.Create(&stream), static_cast<VNResultEnum>(7));
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(failing.calls, 1);
}

TEST(StreamCreator, FrameCreatorDeletesOnlyAnOwnedParent)
{
    bool ownedDeleted = false;
    bool borrowedDeleted = false;
    CountingCreator borrowed(VN_OK, &borrowedDeleted);
    {
        base::FrameStreamCreator a(new CountingCreator(VN_OK, &ownedDeleted), true, 0, 1);
        base::FrameStreamCreator b(&borrowed, false, 0, 1);
    }
    EXPECT_TRUE(ownedDeleted);
    EXPECT_FALSE(borrowedDeleted);
}

} // namespace
