#include "Core/File/FileManager.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/Base/Stream.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileHandle.h"
#include "Core/File/PackBuilder.h"
#include "Core/File/ReadFile.h"
#include "FileTestUtil.h"

#include <memory>
#include <unistd.h>

namespace
{
using namespace filetest;

class LogCapture : public base::LogOutput
{
public:
    static inline std::wstring text;
    void Write(const std::wstring& t) override { text += t; }
};

class FileManagerTest : public DataRootTest
{
protected:
    // A data root with loose td/ files and a pack of a different td/ folder, so each answer shows its source.
    void MakeLooseAndPacked()
    {
        WriteBytes("packsrc/ui/a.png", "packed");
        WriteBytes("packsrc/only-packed.txt", "p");
        ASSERT_EQ(file::BuildPack(L"packsrc", L"data.dat"), VN_OK);
        WriteBytes("td/ui/a.png", "loose!");
        WriteBytes("td/only-loose.txt", "l");
    }

    std::string ReadFound(file::FileInfo* info)
    {
        std::unique_ptr<file::FileInfo> owned(info);
        if (!owned)
            return "<not found>";
        std::unique_ptr<base::Stream> stream(owned->OpenStream());
        if (!stream)
            return "<no stream>";
        std::string text(stream->Size(), '\0');
        text.resize(stream->Read(text.data(), static_cast<unsigned>(text.size())));
        return text;
    }

    file::FileManager* files = file::FileManager::Instance();
};

TEST_F(FileManagerTest, MountedPackWinsOverLooseFilesUnderItsPrefix)
{
    MakeLooseAndPacked();
    files->mMounts[L"td/"] = L"data.dat";
    unsigned index = 99;
    file::FileInfo* info =
        files->FindFile(L"td/ui/a", file::kImageExtensions, file::kImageExtensionCount, &index);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->path, L"ui/a.png");
    EXPECT_EQ(info->name, L"a");
    EXPECT_EQ(info->packed, 1);
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(ReadFound(info), "packed");
    EXPECT_EQ(files->FindFile(L"td/only-loose.txt"), nullptr)
        << "loose files under a mounted prefix are not seen";
    EXPECT_EQ(ReadFound(files->FindFile(L"TD/ui/a.png")), "<not found>") << "prefixes match case-sensitively";
    EXPECT_EQ(base::ReadTextFile(L"td/only-packed.txt"), "p");
}

TEST_F(FileManagerTest, WithoutThePackFileTheLooseFilesServe)
{
    MakeLooseAndPacked();
    fs::remove("data.dat");
    files->mMounts[L"td/"] = L"data.dat";
    file::FileInfo* info = files->FindFile(L"td/ui/a", file::kImageExtensions, file::kImageExtensionCount);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->packed, 0);
    EXPECT_EQ(info->path, L"td/ui/a.png");
    EXPECT_EQ(ReadFound(info), "loose!");
}

TEST_F(FileManagerTest, DamagedPackCapturesItsPrefixAndServesNothing)
{
    MakeLooseAndPacked();
    std::string bytes = ReadBytes("data.dat");
    bytes[5] = 'X'; // the magic
    WriteBytes("data.dat", bytes);
    files->mMounts[L"td/"] = L"data.dat";
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    LogCapture::text.clear();
    EXPECT_EQ(files->FindFile(L"td/ui/a.png"), nullptr);
    EXPECT_NE(LogCapture::text.find(L"Pack 'data.dat' is damaged"), std::wstring::npos);
    EXPECT_FALSE(files->Exists(L"td/only-loose.txt"));
    std::vector<std::wstring> names;
    files->ListFiles(L"td/", true, &names, true);
    EXPECT_TRUE(names.empty());
}

TEST_F(FileManagerTest, ExtensionListsTakeTheFirstExistingName)
{
    WriteBytes("img/a.dds", "d");
    WriteBytes("img/a.png", "p");
    WriteBytes("img/b.png", "p");
    fs::create_directories("img/folder");
    unsigned index = 99;
    std::unique_ptr<file::FileInfo> a(
        files->FindFile(L"img/a", file::kImageExtensions, file::kImageExtensionCount, &index));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->path, L"img/a.dds");
    EXPECT_EQ(index, 1u);
    std::unique_ptr<file::FileInfo> b(
        files->FindFile(L"img/b.png", file::kImageExtensions, file::kImageExtensionCount, &index));
    ASSERT_TRUE(b);
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(files->FindFile(L"img/folder"), nullptr) << "a folder is not a file";
    EXPECT_TRUE(files->IsDirectory(L"img/folder"));
    EXPECT_FALSE(files->IsDirectory(L"img/a.png"));
}

TEST_F(FileManagerTest, LooseListingsNormaliseTheFolderName)
{
    WriteBytes("td/fx/a.ptc", "1");
    WriteBytes("td/fx/sub/b.ptc", "2");
    std::vector<std::wstring> back, slash, recursive, dirs;
    files->ListFiles(L"td\\fx", false, &back, false);
    files->ListFiles(L"td/fx/", false, &slash, false);
    EXPECT_EQ(back, slash);
    EXPECT_EQ(back, std::vector<std::wstring>{L"td/fx/a.ptc"});
    files->ListFiles(L"td/fx", true, &recursive, true);
    EXPECT_EQ(Sorted(recursive), (std::vector<std::wstring>{L"a.ptc", L"sub/b.ptc"}));
    files->ListDirs(L"td/fx", &dirs, true);
    EXPECT_EQ(dirs, std::vector<std::wstring>{L"sub"});
    WriteBytes("root.txt", "r");
    std::vector<std::wstring> root;
    files->ListFiles(L"", false, &root, false);
    EXPECT_EQ(root, std::vector<std::wstring>{L"root.txt"}) << "files of the data root by their bare names";
}

TEST_F(FileManagerTest, ImageContainersNeedTheImageLayer)
{
    fs::create_directories("td/ui");
    EXPECT_EQ(files->OpenImageContainer(L"td/ui"), nullptr);
    static std::vector<std::pair<int, std::wstring>> made;
    made.clear();
    file::SetImageContainerMaker(
        [](int kind, const std::wstring& path, file::FileContainer*) -> file::ImageContainer*
        {
            made.emplace_back(kind, path);
            return nullptr;
        });
    WriteBytes("td/ui.psd", "8BPS");
    WriteBytes("td/doc.psd", "8BPS");
    WriteBytes("td/plain", "8BPS");
    files->OpenImageContainer(L"td/ui");
    files->OpenImageContainer(L"td/doc");
    files->OpenImageContainer(L"td/plain");
    files->OpenImageContainer(L"td/none");
    file::SetImageContainerMaker(nullptr);
    const std::vector<std::pair<int, std::wstring>> expected = {
        {0, L"td/ui"}, {1, L"td/doc.psd"}, {1, L"td/plain"}};
    EXPECT_EQ(made, expected) << "a folder wins over a document, name.psd over the plain name";
}

TEST_F(FileManagerTest, FileHandleWithoutAFileDoesNothing)
{
    file::FileHandle handle;
    EXPECT_EQ(handle.Open(L"missing.bin", 2, 2), VN_FAIL);
    EXPECT_EQ(handle.GetPath(), L"missing.bin");
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(handle.Close(), VN_FAIL);
    EXPECT_EQ(handle.Write("x", 1, nullptr), VN_FAIL);
    EXPECT_EQ(handle.Seek(0, 2), 0);
    fs::create_directories("folder");
    EXPECT_EQ(handle.Open(L"folder", 0, 2), VN_FAIL) << "a folder is not a file";

    WriteBytes("f.bin", "12345");
    ASSERT_EQ(handle.Open(L"f.bin", 2, 2), VN_OK);
    EXPECT_EQ(handle.Seek(0, 2), 5);
    int written = 0;
    EXPECT_EQ(handle.Write("67", 2, &written), VN_OK);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(handle.Close(), VN_OK);
    EXPECT_EQ(ReadBytes("f.bin"), "1234567");
    EXPECT_EQ(handle.Open(L"f.bin", 1, 1), VN_FAIL) << "create-new refuses an existing file";
}
// A file of 4 GiB and a few bytes (sparse, so it costs no disk): its size must not wrap to the few bytes,
// or a reader would take the file for a small one and a pack would hold a cut copy.
TEST_F(FileManagerTest, FilesOf4GiBOrMoreAreNeverMistakenForSmallOnes)
{
    WriteBytes("big/huge.bin", "x");
    ASSERT_EQ(::truncate("big/huge.bin", static_cast<off_t>(0x100000003ll)), 0);
    file::FileHandle handle;
    ASSERT_EQ(handle.Open(L"big/huge.bin", 0, 2), VN_OK);
    EXPECT_EQ(handle.Size(), 0xFFFFFFFFu);
    std::unique_ptr<file::FileInfo> info(files->FindFile(L"big/huge.bin"));
    ASSERT_NE(info, nullptr);
    std::unique_ptr<base::Stream> stream(info->OpenStream());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 0xFFFFFFFFu);
    EXPECT_EQ(file::BuildPack(L"big", L"big.dat"), VN_FAIL);
    EXPECT_FALSE(fs::exists("big.dat"));
}
// Links to folders are followed, but a link back to a folder being listed is passed over: a cycle in the
// data folder must not make a recursive listing (or the pack builder) run on for ever.
TEST_F(FileManagerTest, RecursiveListingFollowsLinksButNotCycles)
{
    WriteBytes("td/fx/a.png", "a");
    WriteBytes("outside/b.png", "b");
    fs::create_directory_symlink("..", "td/fx/up");
    fs::create_directory_symlink("../outside", "td/ext");
    std::vector<std::wstring> names;
    files->ListFiles(L"td", true, &names, true);
    EXPECT_EQ(Sorted(names), (std::vector<std::wstring>{L"ext/b.png", L"fx/a.png"}));
    ASSERT_EQ(file::BuildPack(L"td", L"data.dat"), VN_OK);
    files->mMounts[L"td/"] = L"data.dat";
    names.clear();
    files->ListFiles(L"td", true, &names, true);
    EXPECT_EQ(Sorted(names), (std::vector<std::wstring>{L"ext/b.png", L"fx/a.png"}));
}
} // namespace
