#include "Core/Resource/ResourceManager.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"

#include <gtest/gtest.h>

namespace
{
// Counts what the manager does to it; UnLoad can be made to fail.
class Probe : public resource::Resource
{
public:
    static inline int live = 0, loads = 0, unloads = 0;
    static inline bool failUnload = false;

    Probe() { ++live; }
    ~Probe() override { --live; }
    VNResultEnum Release() override { return resource::ResourceManager::Instance()->Release(this); }

protected:
    VNResultEnum DoLoad() override
    {
        ++loads;
        return VN_OK;
    }
    VNResultEnum DoUnload() override
    {
        if (failUnload)
            return VN_FAIL;
        ++unloads;
        return VN_OK;
    }
};

// A second type: its map is separate even for the same names.
class OtherProbe : public Probe
{
public:
    VNResultEnum Release() override { return resource::ResourceManager::Instance()->Release(this); }
};

class LogCapture : public base::LogOutput
{
public:
    static inline std::wstring text;
    void Write(const std::wstring& t) override { text += t; }
};

class ResourceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Probe::live = Probe::loads = Probe::unloads = 0;
        Probe::failUnload = false;
    }
    void TearDown() override
    {
        EXPECT_TRUE(manager->GetMap<Probe>().empty()) << "every handle was dropped";
        EXPECT_EQ(Probe::live, 0);
    }

    resource::ResourceManager* manager = resource::ResourceManager::Instance();
};

TEST_F(ResourceManagerTest, SharedByNameAndReleasedWithTheLastHandle)
{
    CountedHandle<Probe> a = manager->Get<Probe>(L"td/fonts/main");
    CountedHandle<Probe> b = manager->Get<Probe>(L"td/fonts/main");
    ASSERT_TRUE(a);
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(a->GetName(), L"td/fonts/main");
    EXPECT_FALSE(a->IsLoaded()) << "Get never loads";
    ASSERT_EQ(a->Load(), VN_OK);

    a.Release();
    EXPECT_EQ(Probe::live, 1);
    EXPECT_EQ(Probe::unloads, 0);
    b.Release();
    EXPECT_EQ(Probe::live, 0);
    EXPECT_EQ(Probe::unloads, 1) << "the last handle unloads a loaded resource before deleting it";

    CountedHandle<Probe> c = manager->Get<Probe>(L"td/fonts/main");
    EXPECT_FALSE(c->IsLoaded()) << "a later Get starts over";
    c.Release();
    EXPECT_EQ(Probe::unloads, 1) << "a resource never loaded is deleted without an unload";
}

TEST_F(ResourceManagerTest, NamesAreCaseSensitiveAndMapsArePerType)
{
    CountedHandle<Probe> lower = manager->Get<Probe>(L"a");
    CountedHandle<Probe> upper = manager->Get<Probe>(L"A");
    CountedHandle<OtherProbe> other = manager->Get<OtherProbe>(L"a");
    EXPECT_NE(lower.Get(), upper.Get());
    EXPECT_NE(static_cast<Probe*>(other.Get()), lower.Get());
    EXPECT_EQ(manager->GetMap<Probe>().size(), 2u);
    EXPECT_EQ(manager->GetMap<OtherProbe>().size(), 1u);
    other.Release();
    EXPECT_TRUE(manager->GetMap<OtherProbe>().empty());
    EXPECT_EQ(manager->GetMap<Probe>().size(), 2u) << "each type releases from its own map";
}

TEST_F(ResourceManagerTest, SecondLoadAndUnloadAreHarmlessAndLogged)
{
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    LogCapture::text.clear();
    CountedHandle<Probe> a = manager->Get<Probe>(L"twice");
    EXPECT_EQ(a->UnLoad(), VN_OK);
    EXPECT_NE(LogCapture::text.find(L"Trying to UnLoad already unloaded resource 'twice'."),
              std::wstring::npos);
    EXPECT_EQ(a->Load(), VN_OK);
    EXPECT_EQ(a->Load(), VN_OK);
    EXPECT_EQ(Probe::loads, 1);
    EXPECT_NE(LogCapture::text.find(L"Trying to Load already loaded resource 'twice'."), std::wstring::npos);
}

TEST_F(ResourceManagerTest, FailedUnloadKeepsTheObjectAndItsEntry)
{
    CountedHandle<Probe> a = manager->Get<Probe>(L"stuck");
    Probe* object = a.Get();
    ASSERT_EQ(a->Load(), VN_OK);
    Probe::failUnload = true;
    a.Release();
    EXPECT_EQ(Probe::live, 1);
    ASSERT_EQ(manager->GetMap<Probe>().count(L"stuck"), 1u);
    EXPECT_EQ(manager->GetMap<Probe>().at(L"stuck").first, object);
    // The entry is still usable; once unloading works the last handle frees it.
    Probe::failUnload = false;
    CountedHandle<Probe> again = manager->Get<Probe>(L"stuck");
    EXPECT_EQ(again.Get(), object);
    again.Release();
    EXPECT_EQ(Probe::live, 0);
}
// The release looks the object up by its name; one renamed after Get is still found and freed, and the
// entry of another object under the new name is left alone.
TEST_F(ResourceManagerTest, RenamedResourceIsStillReleasedAlone)
{
    CountedHandle<Probe> renamed = manager->Get<Probe>(L"old");
    CountedHandle<Probe> holder = manager->Get<Probe>(L"new");
    ASSERT_EQ(renamed->SetName(L"new"), VN_OK);
    renamed.Release();
    EXPECT_EQ(Probe::live, 1);
    ASSERT_EQ(manager->GetMap<Probe>().count(L"new"), 1u);
    EXPECT_EQ(manager->GetMap<Probe>().at(L"new").first, holder.Get());
    holder.Release();
}
} // namespace
