#include "Core/Animation/AnimData.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/Dialog.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"

#include "Core/Animation/AnimTestUtil.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

// A dialog that, like the game's dialogs, takes no input until its show effect has ended and none once its
// hide has started; it writes down what it is told and counts the presses it gets.
class TestDialog : public widget::Dialog
{
public:
    TestDialog(const std::string& name, Log* log) : mLog(log)
    {
        SetName(name);
        SetHitRect(math::Rect(0, 0, 100, 100));
        SetDisabled(true);
    }
    ~TestDialog() override
    {
        if (mLog)
            mLog->push_back("deleted");
    }
    VNResultEnum OnShown() override
    {
        mLog->push_back("shown");
        SetDisabled(false);
        return Dialog::OnShown();
    }
    VNResultEnum OnHidden() override
    {
        mLog->push_back("hidden");
        return Dialog::OnHidden();
    }
    VNResultEnum Hide(bool deleteAfterHide) override
    {
        SetDisabled(true);
        return Dialog::Hide(deleteAfterHide);
    }
    VNResultEnum OnWidgetMouseDown(const math::Point3&, int32_t) override
    {
        ++presses;
        return VN_OK;
    }
    Log* mLog;
    int presses = 0;
};

// The data root with two fades (show 0.5 s from dissolve 1 to 0, hide 0.25 s back) and a broken animation of
// two records, and a fresh effects table read from the given DialogEffects element.
class DialogFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root.Write("anim/show.anim",
                   animation::WriteAnimData("show", 0, 0.5f, {test::FadeRecord(test::Ramp(0, 1, 0.5f, 0))}));
        root.Write("anim/hide.anim", animation::WriteAnimData(
                                         "hide", 0, 0.25f, {test::FadeRecord(test::Ramp(0, 0, 0.25f, 1))}));
        const animation::LayerRecord r = test::FadeRecord(test::Constant(0));
        root.Write("anim/two.anim", animation::WriteAnimData("two", 0, 0.5f, {r, r}));
        delete widget::DialogEffectsManager::Instance();
    }
    void TearDown() override { delete widget::DialogEffectsManager::Instance(); }

    VNResultEnum LoadTable(const std::string& xml)
    {
        tinyxml2::XMLDocument doc;
        EXPECT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS);
        return widget::DialogEffectsManager::Instance()->Load(
            doc.FirstChildElement("Game")->FirstChildElement("DialogEffects"));
    }

    static std::string Table(const std::string& data, const std::string& dialogs)
    {
        return "<Game><DialogEffects><Data>" + data + "</Data><Dialogs>" + dialogs +
               "</Dialogs></DialogEffects></Game>";
    }

    static constexpr const char* kFade =
        R"(<Anim name="fade" show_anim_data="anim/show.anim" hide_anim_data="anim/hide.anim"/>)";

    bool AnimLoaded(const std::wstring& path)
    {
        const auto& map = resource::ResourceManager::Instance()->GetMap<animation::AnimData>();
        const auto it = map.find(path);
        return it != map.end() && it->second.first->IsLoaded();
    }

    test::ScratchRoot root;
    widget::FrameManager manager;
    Log log;
};

} // namespace

TEST_F(DialogFixture, TableEntriesAndBindings)
{
    ASSERT_EQ(LoadTable(Table(kFade, R"(<Options effects="fade"/><Box effects="none"/>)")), VN_OK);
    auto* effects = widget::DialogEffectsManager::Instance();
    auto* data = dynamic_cast<widget::DialogAnimEffectsData*>(effects->FindData("fade"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->mShowPath, L"anim/show.anim");
    EXPECT_EQ(data->mHidePath, L"anim/hide.anim");
    EXPECT_FALSE(data->mPreload);
    ASSERT_NE(effects->FindBinding("Options"), nullptr);
    EXPECT_EQ(*effects->FindBinding("Options"), "fade");
    // Without "preload" nothing is loaded while the table is read.
    EXPECT_FALSE(AnimLoaded(L"anim/show.anim"));
    // Both containers are optional.
    EXPECT_EQ(LoadTable("<Game><DialogEffects/></Game>"), VN_OK);
}

TEST_F(DialogFixture, PreloadLoadsWhileReading)
{
    ASSERT_EQ(
        LoadTable(Table(
            R"(<Anim name="fade" show_anim_data="anim/show.anim" hide_anim_data="anim/hide.anim" preload=""/>)",
            "")),
        VN_OK);
    EXPECT_TRUE(AnimLoaded(L"anim/show.anim"));
    EXPECT_TRUE(AnimLoaded(L"anim/hide.anim"));
}

TEST_F(DialogFixture, BadTablesAreRefusedKeepingEarlierEntries)
{
    const struct
    {
        const char* what;
        std::string xml;
    } cases[] = {
        {"unknown type", Table(R"(<Slide name="s" show_anim_data="a" hide_anim_data="b"/>)", "")},
        {"entry without name", Table(R"(<Anim show_anim_data="a" hide_anim_data="b"/>)", "")},
        {"no show data", Table(R"(<Anim name="x" hide_anim_data="b"/>)", "")},
        {"no hide data", Table(R"(<Anim name="x" show_anim_data="a"/>)", "")},
        {"same entry name twice", Table(std::string(kFade) + kFade, "")},
        {"preloaded file missing",
         Table(
             R"(<Anim name="x" show_anim_data="anim/none.anim" hide_anim_data="anim/hide.anim" preload="1"/>)",
             "")},
        {"dialog without effects", Table(kFade, "<Options/>")},
        {"same dialog twice", Table(kFade, R"(<Options effects="fade"/><Options effects="fade"/>)")},
    };
    for (const auto& c : cases)
    {
        delete widget::DialogEffectsManager::Instance();
        EXPECT_EQ(LoadTable(c.xml), VN_FAIL) << c.what;
    }
    // The entry before the duplicate stays.
    EXPECT_NE(widget::DialogEffectsManager::Instance()->FindData("fade"), nullptr);
}

TEST_F(DialogFixture, ShowAndHideThroughTheEffectWithInputBlockedOnlyWhileItRuns)
{
    ASSERT_EQ(LoadTable(Table(kFade, R"(<Options effects="fade"/>)")), VN_OK);
    auto* dialog = new TestDialog("Options", &log);
    ASSERT_EQ(manager.AddModal(dialog, false), VN_OK);
    auto* effects = dynamic_cast<widget::DialogAnimEffects*>(dialog->GetEffects());
    ASSERT_NE(effects, nullptr);
    EXPECT_EQ(effects->GetState(), widget::DialogAnimEffects::StateShowing);
    // The first pose is applied at once: dissolve 1, invisible.
    EXPECT_EQ(dialog->GetLayer()->GetAlpha(), 0.0f);
    ASSERT_EQ(manager.Update(0.0f), VN_OK); // the effects task joins the manager's children

    const math::Point2 inside(50, 50);
    ASSERT_EQ(manager.OnMouseDown(inside, 0), VN_OK);
    EXPECT_EQ(dialog->presses, 0);

    const float expected[] = {0.4f, 0.8f, 1.0f};
    for (int step = 0; step < 3; ++step)
    {
        EXPECT_TRUE(log.empty()) << step;
        ASSERT_EQ(manager.Update(0.2f), VN_OK);
        EXPECT_NEAR(dialog->GetLayer()->GetAlpha(), expected[step], 1e-5f) << step;
    }
    EXPECT_EQ(log, (Log{"shown"}));
    EXPECT_EQ(effects->GetState(), widget::DialogAnimEffects::StateShown);
    ASSERT_EQ(manager.OnMouseDown(inside, 0), VN_OK);
    EXPECT_EQ(dialog->presses, 1);

    ASSERT_EQ(dialog->Hide(true), VN_OK);
    EXPECT_EQ(effects->GetState(), widget::DialogAnimEffects::StateHiding);
    ASSERT_EQ(manager.OnMouseDown(inside, 0), VN_OK);
    EXPECT_EQ(dialog->presses, 1);
    ASSERT_EQ(manager.Update(0.2f), VN_OK);
    EXPECT_NEAR(dialog->GetLayer()->GetAlpha(), 0.2f, 1e-5f);
    EXPECT_TRUE(manager.IsListed(dialog));
    // The hide ends; the removal (with deletion) waits for the manager's next update and the task goes.
    ASSERT_EQ(manager.Update(0.2f), VN_OK);
    EXPECT_EQ(log, (Log{"shown", "hidden", "deleted"}));
    EXPECT_TRUE(manager.GetFrames().empty());
    EXPECT_TRUE(manager.HasNoChildren());
}

TEST_F(DialogFixture, HideDuringTheShowWaitsForItsEnd)
{
    ASSERT_EQ(LoadTable(Table(kFade, R"(<Options effects="fade"/>)")), VN_OK);
    auto* dialog = new TestDialog("Options", &log);
    ASSERT_EQ(manager.AddModal(dialog, false), VN_OK);
    auto* effects = dynamic_cast<widget::DialogAnimEffects*>(dialog->GetEffects());
    ASSERT_NE(effects, nullptr);
    ASSERT_EQ(manager.Update(0.0f), VN_OK);
    ASSERT_EQ(manager.Update(0.3f), VN_OK);
    ASSERT_EQ(dialog->Hide(false), VN_OK);
    EXPECT_TRUE(effects->IsHidePending());
    EXPECT_EQ(effects->GetState(), widget::DialogAnimEffects::StateShowing);
    // The show ends in this frame and the hide starts right after OnShown, from the hide's first pose.
    ASSERT_EQ(manager.Update(0.3f), VN_OK);
    EXPECT_EQ(log, (Log{"shown"}));
    EXPECT_EQ(effects->GetState(), widget::DialogAnimEffects::StateHiding);
    EXPECT_EQ(dialog->GetLayer()->GetAlpha(), 1.0f);
    ASSERT_EQ(manager.Update(0.3f), VN_OK);
    EXPECT_EQ(log, (Log{"shown", "hidden"}));
    EXPECT_FALSE(manager.IsListed(dialog));
    delete dialog;
}

TEST_F(DialogFixture, UnboundAndUnnamedDialogsShowAndHideAtOnce)
{
    ASSERT_EQ(LoadTable(Table(kFade, R"(<Options effects="fade"/>)")), VN_OK);
    for (const char* name : {"", "Other"})
    {
        log.clear();
        TestDialog dialog(name, &log);
        ASSERT_EQ(manager.AddModal(&dialog, false), VN_OK);
        EXPECT_EQ(log, (Log{"shown"})) << name;
        EXPECT_EQ(dialog.GetEffects(), nullptr);
        ASSERT_EQ(dialog.Hide(false), VN_OK);
        EXPECT_EQ(log, (Log{"shown", "hidden"}));
        ASSERT_EQ(manager.Update(0.0f), VN_OK);
        EXPECT_FALSE(manager.IsListed(&dialog));
        dialog.mLog = nullptr;
    }
}

TEST_F(DialogFixture, EffectsThatFailShowTheDialogWithoutThem)
{
    // A missing entry, a missing file and an animation of two records: each dialog still shows, takes input
    // and hides; nothing is left in the manager's task tree.
    ASSERT_EQ(LoadTable(Table(
                  std::string(kFade) +
                      R"(<Anim name="gone" show_anim_data="anim/none.anim" hide_anim_data="anim/hide.anim"/>)"
                      R"(<Anim name="two" show_anim_data="anim/two.anim" hide_anim_data="anim/hide.anim"/>)",
                  R"(<A effects="nothing"/><B effects="gone"/><C effects="two"/>)")),
              VN_OK);
    for (const char* name : {"A", "B", "C"})
    {
        log.clear();
        auto* dialog = new TestDialog(name, &log);
        ASSERT_EQ(manager.AddModal(dialog, false), VN_OK) << name;
        EXPECT_EQ(log, (Log{"shown"})) << name;
        EXPECT_EQ(dialog->GetEffects(), nullptr);
        EXPECT_EQ(manager.GetActiveFrame(), dialog);
        ASSERT_EQ(manager.OnMouseDown(math::Point2(10, 10), 0), VN_OK);
        EXPECT_EQ(dialog->presses, 1) << name;
        ASSERT_EQ(dialog->Hide(true), VN_OK);
        ASSERT_EQ(manager.Update(0.0f), VN_OK);
        EXPECT_EQ(log, (Log{"shown", "hidden", "deleted"})) << name;
        ASSERT_EQ(manager.Update(0.0f), VN_OK);
        EXPECT_TRUE(manager.HasNoChildren()) << name;
    }
}

TEST_F(DialogFixture, DeletingADialogDuringItsEffectDetachesIt)
{
    ASSERT_EQ(LoadTable(Table(kFade, R"(<Options effects="fade"/>)")), VN_OK);
    auto* dialog = new TestDialog("Options", &log);
    ASSERT_EQ(manager.AddModal(dialog, false), VN_OK);
    widget::DialogEffects* effects = dialog->GetEffects();
    ASSERT_NE(effects, nullptr);
    ASSERT_EQ(manager.Update(0.1f), VN_OK);
    ASSERT_EQ(manager.RemoveFrame(dialog, true, false), VN_OK);
    EXPECT_EQ(effects->GetDialog(), nullptr);
    ASSERT_EQ(manager.Update(0.1f), VN_OK);
    EXPECT_TRUE(manager.HasNoChildren());
    EXPECT_EQ(log, (Log{"deleted"}));
}
