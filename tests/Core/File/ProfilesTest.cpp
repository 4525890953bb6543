#include "Core/File/Profiles.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/File/AtomicFile.h"
#include "Core/File/UserDataFileContainer.h"
#include "FileTestUtil.h"

#include <tinyxml2.h>

#include <memory>

namespace
{
using namespace filetest;

class ProfilesTest : public DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        mUser = mRoot / "user";
        file::UserDataFileContainer::Instance()->SetPath(mUser.wstring());
        file::Profiles::mCorrupt = false;
        file::Profiles::mNoSaveAtExit = false;
    }

    std::unique_ptr<file::Profiles> LoadStore()
    {
        auto store = std::make_unique<file::Profiles>();
        store->Load();
        return store;
    }

    void WriteProfiles(const std::string& text) { WriteBytes(mUser / "profiles.xml", text); }
    std::string ReadProfiles() { return ReadBytes(mUser / "profiles.xml"); }

    fs::path mUser;
};

class LogCapture : public base::LogOutput
{
public:
    static inline std::wstring text;
    void Write(const std::wstring& t) override { text += t; }
};

const std::wstring kDefault = L"Player01234567890123456789";
const char* kAnnaBen =
    "<Profiles currentProfile=\"Ben\"><Profile name=\"Anna\" gems=\"3\"/><Profile name=\"Ben\"/>"
    "</Profiles>";

TEST_F(ProfilesTest, MissingFileStartsWithTheDefaultProfile)
{
    auto store = LoadStore();
    EXPECT_EQ(store->GetNames(), std::vector<std::wstring>{kDefault});
    EXPECT_EQ(store->GetCurrentName(), kDefault);
    EXPECT_STREQ(store->mRoot->Attribute("currentProfile"), "Player01234567890123456789");
    EXPECT_FALSE(file::Profiles::mCorrupt);
    EXPECT_FALSE(fs::exists(mUser / "profiles.xml")) << "nothing is written before a save";
}

TEST_F(ProfilesTest, UnreadableFilesAreKeptAsideAndReplacedByTheDefault)
{
    const std::string cases[] = {
        "",                                          // zero bytes
        "\xEF\xBB\xBF",                              // only a byte-order mark
        "<Profiles currentProfile=\"Ann\"><Profile", // root cut off
        "<Other><Profile name=\"x\"/></Other>",      // parses, but no Profiles root
    };
    int kept = 0;
    for (const std::string& text : cases)
    {
        SCOPED_TRACE(text);
        file::Profiles::mCorrupt = false;
        WriteProfiles(text);
        auto store = LoadStore();
        EXPECT_TRUE(file::Profiles::mCorrupt);
        EXPECT_EQ(store->GetNames(), std::vector<std::wstring>{kDefault});
        EXPECT_EQ(store->GetCurrentName(), kDefault);
        ++kept;
        const fs::path aside =
            mUser / (kept == 1 ? "profiles.xml.bad" : "profiles.xml.bad" + std::to_string(kept));
        EXPECT_EQ(ReadBytes(aside), text) << "every damaged file is kept, none replaces an older one";
        EXPECT_EQ(store->Save(), 0);
        file::Profiles::mNoSaveAtExit = true; // no second save at destruction
        store.reset();
        file::Profiles::mNoSaveAtExit = false;
        EXPECT_NE(ReadProfiles().find("Player01234567890123456789"), std::string::npos);
        EXPECT_EQ(ReadBytes(aside), text);
    }
}

TEST_F(ProfilesTest, SelectRenameAndDeleteFollowDocumentOrder)
{
    WriteProfiles(kAnnaBen);
    auto store = LoadStore();
    EXPECT_FALSE(file::Profiles::mCorrupt);
    EXPECT_EQ(store->GetCurrentName(), L"Ben");
    EXPECT_EQ(store->GetNames(), (std::vector<std::wstring>{L"Anna", L"Ben"}));

    store->SelectProfile(L"Cara");
    EXPECT_EQ(store->GetNames(), (std::vector<std::wstring>{L"Anna", L"Ben", L"Cara"}));
    EXPECT_STREQ(store->mRoot->Attribute("currentProfile"), "Cara");

    store->RenameCurrent(L"Cl\u00E9o");
    EXPECT_EQ(store->GetCurrentName(), L"Cl\u00E9o");
    EXPECT_STREQ(store->mRoot->Attribute("currentProfile"), "Cl\xC3\xA9o");

    store->DeleteProfile(L"Anna"); // not current: nothing else changes
    EXPECT_EQ(store->GetCurrentName(), L"Cl\u00E9o");
    store->DeleteProfile(L"Cl\u00E9o");
    EXPECT_EQ(store->GetCurrentName(), L"Ben");
    store->DeleteProfile(L"Ben");
    EXPECT_EQ(store->GetNames(), std::vector<std::wstring>{kDefault});
    EXPECT_EQ(store->GetCurrentName(), kDefault);
    store->DeleteProfile(L"nobody");
    EXPECT_EQ(store->GetCurrentName(), kDefault);
}

TEST_F(ProfilesTest, SelectingBeforeTheFirstLoadLoadsFirst)
{
    WriteProfiles(kAnnaBen);
    file::Profiles store;
    store.SelectProfile(L"Anna");
    EXPECT_EQ(store.GetNames(), (std::vector<std::wstring>{L"Anna", L"Ben"}));
    EXPECT_EQ(store.GetCurrentName(), L"Anna");
    file::Profiles::mNoSaveAtExit = true;
}

TEST_F(ProfilesTest, CurrentProfileNamingNobodyIsCreated)
{
    WriteProfiles("<Profiles currentProfile=\"Zed\"><Profile name=\"Anna\"/></Profiles>");
    auto store = LoadStore();
    EXPECT_EQ(store->GetNames(), (std::vector<std::wstring>{L"Anna", L"Zed"}));
    EXPECT_EQ(store->GetCurrentName(), L"Zed");
}

TEST_F(ProfilesTest, SavedDataRoundTrips)
{
    {
        auto store = LoadStore();
        store->SelectProfile(L"\u00C5sa");
        store->mCurrent->SetAttribute("fs", 0);
        store->mCurrent->InsertNewChildElement("Episode")->SetAttribute("stars", 7);
        ASSERT_EQ(store->Save(), 0);
        file::Profiles::mNoSaveAtExit = true;
    }
    file::Profiles::mNoSaveAtExit = false;
    auto store = LoadStore();
    EXPECT_FALSE(file::Profiles::mCorrupt);
    EXPECT_EQ(store->GetNames(), (std::vector<std::wstring>{kDefault, L"\u00C5sa"}));
    ASSERT_EQ(store->GetCurrentName(), L"\u00C5sa");
    EXPECT_EQ(store->mCurrent->IntAttribute("fs", -1), 0);
    ASSERT_NE(store->mCurrent->FirstChildElement("Episode"), nullptr);
    EXPECT_EQ(store->mCurrent->FirstChildElement("Episode")->IntAttribute("stars"), 7);
}

TEST_F(ProfilesTest, StoreOfASecondInstanceLeavesTheFileAlone)
{
    WriteProfiles(kAnnaBen);
    {
        auto store = LoadStore();
        store->SelectProfile(L"Other");
        file::Profiles::mNoSaveAtExit = true;
    }
    EXPECT_EQ(ReadProfiles(), kAnnaBen);
    {
        file::Profiles::mNoSaveAtExit = false;
        auto store = LoadStore();
        store->SelectProfile(L"Other");
    }
    EXPECT_NE(ReadProfiles().find("currentProfile=\"Other\""), std::string::npos) << "a normal exit saves";
}

int gFailAt = -1;
int gStep = 0;
bool FailNth(const char*)
{
    return gStep++ == gFailAt;
}

TEST_F(ProfilesTest, SaveFailingAtAnyStepLeavesTheOldFileWhole)
{
    WriteProfiles(kAnnaBen);
    auto store = LoadStore();
    store->SelectProfile(L"Newcomer");

    file::SetAtomicFaultHook(FailNth);
    gFailAt = -1;
    gStep = 0;
    const fs::path probe = mUser / "probe";
    ASSERT_EQ(file::WriteFileAtomically(probe.wstring(), "x", 1), VN_OK);
    const int steps = gStep;
    ASSERT_GE(steps, 5);
    for (gFailAt = 0; gFailAt < steps; ++gFailAt)
    {
        SCOPED_TRACE(gFailAt);
        gStep = 0;
        EXPECT_NE(store->Save(), 0);
        EXPECT_EQ(ReadProfiles(), kAnnaBen);
        EXPECT_TRUE(TempFilesBeside(mUser / "profiles.xml").empty());
    }
    file::SetAtomicFaultHook(nullptr);
    ASSERT_EQ(store->Save(), 0);
    tinyxml2::XMLDocument saved;
    ASSERT_EQ(saved.Parse(ReadProfiles().c_str()), tinyxml2::XML_SUCCESS);
    EXPECT_STREQ(saved.FirstChildElement("Profiles")->Attribute("currentProfile"), "Newcomer");
}

TEST_F(ProfilesTest, SaveIntoAMissingFolderFailsWithoutChangingTheDocument)
{
    file::UserDataFileContainer::Instance()->SetPath((mRoot / "user").wstring());
    auto store = LoadStore();
    fs::remove_all(mUser);
    EXPECT_EQ(store->Save(), 4);
    EXPECT_EQ(store->GetCurrentName(), kDefault);
    file::Profiles::mNoSaveAtExit = true;
}
TEST_F(ProfilesTest, SaveNeverWritesThroughALinkPlantedBesideTheFile)
{
    WriteProfiles(kAnnaBen);
    const fs::path victim = mRoot / "victim";
    WriteBytes(victim, "precious");
    // The names an older save used and any name a neighbour could guess.
    for (const char* name : {"profiles.xml.tmp", "profiles.xml.tmp-0", "profiles.xml.tmp-00000000"})
        fs::create_symlink(victim, mUser / name);
    auto store = LoadStore();
    store->SelectProfile(L"Newcomer");
    ASSERT_EQ(store->Save(), 0);
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(mUser / "profiles.xml.tmp"));
    EXPECT_FALSE(fs::is_symlink(mUser / "profiles.xml"));
    EXPECT_NE(ReadProfiles().find("Newcomer"), std::string::npos);
    EXPECT_EQ(TempFilesBeside(mUser / "profiles.xml").size(), 3u) << "only the planted links remain";
}

TEST_F(ProfilesTest, TemporaryFilesAreFreshRegularFilesAndGoWithTheirWriter)
{
    fs::create_directories(mUser);
    const fs::path target = mUser / "profiles.xml";
    {
        file::AtomicFileWriter first;
        file::AtomicFileWriter second;
        ASSERT_EQ(first.Open(target.wstring()), VN_OK);
        ASSERT_EQ(second.Open(target.wstring()), VN_OK);
        const fs::path a = first.GetTempPath();
        const fs::path b = second.GetTempPath();
        EXPECT_NE(a, b);
        EXPECT_EQ(a.parent_path(), mUser) << "beside the target, so the rename stays on one file system";
        for (const fs::path& p : {a, b})
        {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(p))) << p;
            EXPECT_EQ(fs::file_size(p), 0u) << p;
        }
        ASSERT_EQ(first.Write("abc", 3), VN_OK);
    }
    EXPECT_TRUE(TempFilesBeside(target).empty()) << "writers dropped before their commit leave nothing";
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(ProfilesTest, AFolderInTheFilesPlaceIsReportedAtLoad)
{
    fs::create_directories(mUser / "profiles.xml");
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    LogCapture::text.clear();
    auto store = LoadStore();
    EXPECT_EQ(store->GetCurrentName(), kDefault);
    EXPECT_NE(LogCapture::text.find(L"is a folder: progress of this session cannot be saved"), std::wstring::npos)
        << std::string(LogCapture::text.begin(), LogCapture::text.end());
    EXPECT_NE(store->Save(), 0);
    EXPECT_TRUE(fs::is_directory(mUser / "profiles.xml"));
    EXPECT_TRUE(TempFilesBeside(mUser / "profiles.xml").empty());
    file::Profiles::mNoSaveAtExit = true;
}
} // namespace
