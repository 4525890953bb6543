#include "Core/File/Archiver.h"

#include "Core/Base/Stream.h"
#include "Core/Base/StreamCreator.h"
#include "Core/File/PackBuilder.h"
#include "FileTestUtil.h"

#include <memory>

namespace
{
using namespace filetest;

class ArchiverTest : public DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        WriteBytes("src/a.png", "abc");
        WriteBytes("src/ui/b.png", "defgh");
        WriteBytes("src/ui/deep/c.png", "");
        WriteBytes("src/ui.x", "dot");
        ASSERT_EQ(file::BuildPack(L"src", L"data.dat"), VN_OK);
        archive = std::make_unique<file::Archiver>(L"td/", L"data.dat", file::FileManager::Instance());
    }

    static std::string ReadAll(base::Stream* raw)
    {
        std::unique_ptr<base::Stream> stream(raw);
        if (!stream)
            return "<null>";
        std::string text(stream->Size(), '\0');
        text.resize(stream->Read(text.data(), static_cast<unsigned>(text.size())));
        return text;
    }

    std::unique_ptr<file::Archiver> archive;
};

TEST_F(ArchiverTest, LookupsAreExactAndCaseSensitive)
{
    EXPECT_TRUE(archive->Exists(L"ui/b.png"));
    EXPECT_FALSE(archive->Exists(L"UI/b.png"));
    EXPECT_TRUE(archive->IsDirectory(L"ui"));
    EXPECT_FALSE(archive->IsDirectory(L"ui/"));
    EXPECT_FALSE(archive->IsDirectory(L"a.png"));
    EXPECT_FALSE(archive->Exists(L"ui")) << "folders are not index names";
    EXPECT_EQ(archive->GetPath(), L"td/");
}

TEST_F(ArchiverTest, StreamsReadExactlyTheirEntry)
{
    EXPECT_EQ(ReadAll(archive->OpenStream(L"a.png")), "abc");
    EXPECT_EQ(ReadAll(archive->OpenStream(L"ui/b.png")), "defgh");
    EXPECT_EQ(ReadAll(archive->OpenStream(L"ui/deep/c.png")), "");
    EXPECT_EQ(archive->OpenStream(L"nothing"), nullptr);
    EXPECT_EQ(archive->OpenStreamCreator(L"nothing"), nullptr);

    std::unique_ptr<base::StreamCreator> creator(archive->OpenStreamCreator(L"ui.x"));
    ASSERT_TRUE(creator);
    base::Stream* made = nullptr;
    ASSERT_EQ(creator->Create(&made), VN_OK);
    EXPECT_EQ(ReadAll(made), "dot");
}

TEST_F(ArchiverTest, ListingsFollowNameOrder)
{
    std::vector<std::wstring> top, all, dirs, under;
    archive->ListFiles(L"", false, &top, true);
    EXPECT_EQ(top, (std::vector<std::wstring>{L"a.png", L"ui.x"}));
    archive->ListFiles(L"", true, &all, true);
    EXPECT_EQ(all, (std::vector<std::wstring>{L"a.png", L"ui.x", L"ui/b.png", L"ui/deep/c.png"}));
    archive->ListDirs(L"", &dirs, true);
    EXPECT_EQ(dirs, std::vector<std::wstring>{L"ui"});
    archive->ListFiles(L"ui", false, &under, false);
    EXPECT_EQ(under, std::vector<std::wstring>{L"ui/b.png"});
}

TEST_F(ArchiverTest, FileInfoFromThePackPointsAtTheArchive)
{
    std::unique_ptr<file::FileInfo> info(archive->FindFile(L"ui/b", nullptr, 0, nullptr));
    EXPECT_FALSE(info);
    const wchar_t* const extensions[] = {L".dds", L".png"};
    unsigned index = 9;
    info.reset(archive->FindFile(L"ui/b", extensions, 2, &index));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->container, archive.get());
    EXPECT_EQ(info->packed, 1);
    EXPECT_EQ(info->path, L"ui/b.png");
    EXPECT_EQ(index, 1u);
    EXPECT_EQ(ReadAll(info->OpenStream()), "defgh");
}
} // namespace
