#include "Core/Base/Singleton.h"
#include "Core/Base/ListenerRegistry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

// Where the test singletons report their destruction; a plain pointer, so it is usable at exit.
std::vector<std::string>* gDestroyed = nullptr;

void Report(const std::string& text)
{
    if (gDestroyed)
        gDestroyed->push_back(text);
    else
        std::fprintf(stderr, "[%s]", text.c_str());
}

// A distinct singleton type per tag; dependencies and destructor behaviour set per test.
template <int Tag>
class Probe : public base::Singletone<Probe<Tag>>
{
public:
    Probe() { ++sConstructed; }
    ~Probe() override
    {
        ++sDestroyed;
        if (onDestroy)
            onDestroy();
        Report(sName);
    }

    std::vector<base::SingletoneBase*> GetDependencies() override
    {
        std::vector<base::SingletoneBase*> out;
        for (auto* get : sDependencies)
            out.push_back(get());
        return out;
    }

    static inline std::string sName = "P" + std::to_string(Tag);
    static inline std::vector<base::SingletoneBase* (*)()> sDependencies;
    static inline int sConstructed = 0;
    static inline int sDestroyed = 0;
    static inline void (*onDestroy)() = nullptr;

    static void Reset(const char* name)
    {
        sName = name;
        sDependencies.clear();
        sConstructed = 0;
        sDestroyed = 0;
        onDestroy = nullptr;
    }
    // Used as a dependency getter: creates the singleton when it does not exist yet.
    static base::SingletoneBase* Get() { return Probe::Instance(); }
};

using App = Probe<1>;
using Resources = Probe<2>;
using MainLog = Probe<3>;
using Files = Probe<4>;
using UserData = Probe<5>;
using Profiles = Probe<6>;
using Sound = Probe<7>;

class SingletonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gDestroyed = &mDestroyed;
        App::Reset("application");
        Resources::Reset("resources");
        MainLog::Reset("log");
        Files::Reset("files");
        UserData::Reset("userdata");
        Profiles::Reset("profiles");
        Sound::Reset("sound");
    }
    void TearDown() override
    {
        base::SingletoneBase::DestroyAll();
        gDestroyed = nullptr;
    }

    std::vector<std::string> mDestroyed;
};

TEST_F(SingletonTest, InstanceIsCreatedOnceOnFirstUse)
{
    EXPECT_FALSE(App::Exists());
    App* app = App::Instance();
    EXPECT_EQ(app, App::Instance());
    EXPECT_EQ(App::sConstructed, 1);
    EXPECT_EQ(base::SingletoneBase::GetRegistered(), std::vector<base::SingletoneBase*>{app});
}

TEST_F(SingletonTest, TeardownFollowsDependencies)
{
    Sound::sDependencies = {&Resources::Get};
    Profiles::sDependencies = {&UserData::Get};
    App::Instance();
    Resources::Instance();
    MainLog::Instance();
    Files::Instance();
    UserData::Instance();
    Profiles::Instance();
    Sound::Instance();
    base::SingletoneBase::AddDependency(App::Instance(), Resources::Instance());

    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(mDestroyed, (std::vector<std::string>{"application", "sound", "log", "files", "profiles",
                                                    "userdata", "resources"}));
    EXPECT_TRUE(base::SingletoneBase::GetRegistered().empty());
}

TEST_F(SingletonTest, DependencyCreatedAfterItsDependant)
{
    // Profiles exists first; its dependency is only created when the teardown asks for it.
    Profiles::sDependencies = {&UserData::Get};
    Profiles::onDestroy = []
    { EXPECT_TRUE(UserData::Exists()) << "profiles saves through the user-data folder"; };
    Profiles::Instance();
    MainLog::Instance();
    ASSERT_FALSE(UserData::Exists());

    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(mDestroyed, (std::vector<std::string>{"profiles", "log", "userdata"}));

    // And created before the teardown but after the dependant, with the pair declared explicitly.
    mDestroyed.clear();
    Profiles::sDependencies.clear();
    App::Instance();
    MainLog::Instance();
    Resources::Instance();
    base::SingletoneBase::AddDependency(Resources::Instance(), App::Instance());
    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(mDestroyed, (std::vector<std::string>{"resources", "log", "application"}));
}

TEST_F(SingletonTest, CycleStillTearsEverythingDown)
{
    App::sDependencies = {&Resources::Get};
    Resources::sDependencies = {&MainLog::Get};
    MainLog::sDependencies = {&App::Get};
    App::Instance();
    Files::Instance();
    base::SingletoneBase::DestroyAll();
    ASSERT_EQ(mDestroyed.size(), 4u);
    EXPECT_EQ(App::sDestroyed + Resources::sDestroyed + MainLog::sDestroyed + Files::sDestroyed, 4);
}

TEST_F(SingletonTest, RequestAfterDestructionGetsAFreshObject)
{
    // The log is destroyed before the files singleton (construction order, no dependency
    // declared); the files destructor logs anyway. It must get a live object, not the freed one.
    MainLog::Instance();
    Files::Instance();
    Files::onDestroy = []
    {
        MainLog* log = MainLog::Instance();
        EXPECT_EQ(MainLog::sConstructed, 2);
        EXPECT_NE(log, nullptr);
    };
    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(mDestroyed, (std::vector<std::string>{"log", "files", "log"}));
    EXPECT_EQ(MainLog::sConstructed, MainLog::sDestroyed);
    EXPECT_FALSE(MainLog::Exists());

    // A singleton requested after the teardown is a new one, torn down again later.
    Files::onDestroy = nullptr;
    Files* files = Files::Instance();
    EXPECT_EQ(Files::sConstructed, 2);
    EXPECT_EQ(base::SingletoneBase::GetRegistered(), std::vector<base::SingletoneBase*>{files});
}

TEST_F(SingletonTest, SingletonDeletedEarlyIsNotDeletedAgain)
{
    Files* files = Files::Instance();
    UserData::Instance();
    base::SingletoneBase::AddDependency(UserData::Instance(), files);
    delete files;
    EXPECT_FALSE(Files::Exists());
    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(mDestroyed, (std::vector<std::string>{"files", "userdata"}));
    EXPECT_EQ(Files::sDestroyed, 1);
}

TEST_F(SingletonTest, DestroyAllTwiceIsHarmless)
{
    App::Instance();
    base::SingletoneBase::DestroyAll();
    base::SingletoneBase::DestroyAll();
    EXPECT_EQ(App::sDestroyed, 1);
}

// The real exit path: the teardown runs from atexit, interleaved with the destruction of static
// objects. An owner made first subscribes to a listener registry made later; at exit the owner
// unsubscribes in its destructor, which must find the registry alive.
using Owner = Probe<20>;
using OwnerRegistry = base::ListenerRegistry<int*>;

TEST(SingletonExit, TeardownAtExitUsesOnlyLiveSingletons)
{
    EXPECT_EXIT(
        {
            base::SingletoneBase::DestroyAll(); // nothing left over from other tests in this child
            gDestroyed = nullptr;               // report on stderr, checked by the parent
            Owner::Reset("owner");
            Profiles::Reset("profiles");
            UserData::Reset("userdata");
            Profiles::sDependencies = {&UserData::Get};
            Owner::Instance();
            static int value = 5;
            OwnerRegistry::Slot(Owner::Instance()) = &value;
            Owner::onDestroy = []
            {
                // Unsubscribing touches the registry from a destructor run at exit.
                int*& slot = OwnerRegistry::Slot(Owner::Instance());
                if (slot == &value)
                    std::fprintf(stderr, "[unsubscribed]");
                slot = nullptr;
            };
            Profiles::onDestroy = []
            {
                if (UserData::Exists())
                    std::fprintf(stderr, "[userdata alive]");
            };
            Profiles::Instance();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "\\[unsubscribed\\]\\[owner\\].*\\[userdata alive\\]\\[profiles\\].*\\[userdata\\]");
}

} // namespace
