// The screens' pieces on the generated demo data: every screen layout loads into the screen base with the
// buttons and text places its screen looks up, the child buttons find their faces, the shop's tabs and scroll
// bar and every control of the options dialog and the message box build, and the board's fonts load through
// the resource manager, all without a line in the log.
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Image.h"
#include "Source/TD/HUD/Controls/HUDButton.h"
#include "Source/TD/HUD/Controls/HUDScrollBar.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/Controls/TamselButton.h"
#include "Source/TD/HUD/Controls/TamselSlider.h"
#include "Source/TD/HUD/Controls/TamselSwitchButton.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDTestSupport.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// The board's six fonts loaded from the demo data.
class DemoBoard final : public TDScreenContext
{
public:
    DemoBoard()
    {
        for (int i = 0; i < kBoardFontCount; ++i)
            fonts[i] = loadBoardFont(boardFontPath(static_cast<TDBoardFont>(i)));
        TDScreenContext::setCurrent(this);
    }
    ~DemoBoard()
    {
        TDScreenContext::setCurrent(nullptr);
        while (!root.GetChildren().empty())
            root.RemoveChild(root.GetChildren().back());
    }
    CountedHandle<render::Font> getFont(TDBoardFont font) const override
    {
        return fonts[static_cast<int>(font)];
    }
    int getPointerX() const override { return 0; }
    int getPointerY() const override { return 0; }
    layer::Layer* getRootLayer() const override { return const_cast<layer::Layer*>(&root); }

    CountedHandle<render::Font> fonts[kBoardFontCount];
    layer::Layer root;
};

class HUDDemoLayoutTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRoot = tdtest::generateDemoData(CORV_DEMODATA_EXE, "td-hud-demo-XXXXXX");
        ASSERT_FALSE(sRoot.empty()) << "the demo-data generator failed";
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        fs::remove_all(sRoot, ignored);
    }

    void SetUp() override
    {
        mOld = fs::current_path();
        fs::current_path(sRoot);
        file::FileManager::Instance()->mMounts.clear();
        file::RegisterImageContainers();
        mGame = std::make_unique<tdtest::HeadlessGame>();
        mFactory = std::make_unique<gui::RenderImageLayerFactory>(mGame->GetRender());
        gui::SetImageLayerFactory(mFactory.get());
        render::ParticleSystem::Instance()->mFolder = "td/fx/";
        if (render::ParticleSystem::Instance()->GetEmitterCount() == 0)
            render::ParticleSystem::Instance()->Load("fx2.ptc", nullptr);
        tdtest::LogCapture::Reset();
        mBoard = std::make_unique<DemoBoard>();
    }
    void TearDown() override
    {
        mBoard.reset();
        gui::SetImageLayerFactory(nullptr);
        mFactory.reset();
        mGame.reset();
        fs::current_path(mOld);
    }

    std::string Log() const
    {
        const std::wstring& text = tdtest::LogCapture::Text();
        return std::string(text.begin(), text.end());
    }

    static inline fs::path sRoot;
    fs::path mOld;
    std::unique_ptr<tdtest::HeadlessGame> mGame;
    std::unique_ptr<gui::RenderImageLayerFactory> mFactory;
    std::unique_ptr<DemoBoard> mBoard;
};

} // namespace

TEST_F(HUDDemoLayoutTest, BoardFontsLoadThroughTheResourceManager)
{
    const float heights[kBoardFontCount] = {32, 32, 42, 42, 80, 42};
    for (int i = 0; i < kBoardFontCount; ++i)
    {
        ASSERT_TRUE(mBoard->fonts[i]) << i;
        EXPECT_EQ(mBoard->fonts[i]->GetLineHeight(), heights[i]) << i;
    }
    EXPECT_EQ(loadBoardFont(boardFontPath(TDBoardFont::Main80)).Get(), mBoard->fonts[4].Get()) << "shared";
    EXPECT_TRUE(Log().empty()) << Log();
    EXPECT_FALSE(loadBoardFont(L"td/data/fonts/none"));
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"td/data/fonts/none.fnt"), 1);
}

TEST_F(HUDDemoLayoutTest, EveryScreenLayoutHoldsWhatItsScreenLooksUp)
{
    struct Screen
    {
        const wchar_t* layout;
        std::vector<std::wstring> buttons;
        std::vector<std::wstring> texts;
        std::vector<std::wstring> groups;
    };
    const Screen screens[] = {
        {L"td/ui",
         {L"pause_btn", L"play_btn", L"speed_btn", L"options_btn", L"pause_btn_ac", L"play_btn_ac",
          L"speed_btn_ac", L"options_btn_ac"},
         {L"crystals", L"mana", L"coins", L"waves"},
         {}},
        {L"td/main_menu", {}, {L"greet"}, {L"b2_play", L"b1_shop", L"b1_options", L"b1_cloze"}},
        {L"td/data/ingame",
         {},
         {L"caption"},
         {L"b1_resume", L"b1_restart", L"b1_levels", L"b1_mmenu", L"b1_options", L"b3_close"}},
        {L"td/data/mm", {}, {L"caption", L"message"}, {L"b1_cancel", L"b1_ok"}},
        {L"td/data/profiles",
         {},
         {L"caption", L"list", L"profile1", L"profile5", L"select"},
         {L"b1_create", L"b1_rename", L"b6_delete", L"b1_back", L"b1_confirm", L"b5_p1", L"b5_p5"}},
        {L"td/data/message", {L"ok"}, {L"caption", L"message", L"button"}, {}},
        {L"td/ui_levelresult",
         {L"close", L"menu", L"restart", L"done"},
         {L"levelResult", L"levelName", L"gameName", L"killScore", L"goldBonus", L"lifeBonus", L"totalScore",
          L"gems", L"bestScore"},
         {}},
        {L"td/episode_select",
         {L"back", L"shop", L"arrow_left", L"arrow_right", L"play"},
         {L"caption", L"levelName", L"stars"},
         {}},
        {L"td/level_select", {L"back", L"upgrade", L"locked_d", L"unlocked_d"}, {L"episode", L"gems"}, {}},
        {L"td/shop",
         {L"up_in", L"down_in", L"back_ac", L"return_ac", L"gem_shop0", L"gem_shop1"},
         {L"caption", L"gems"},
         {}},
        {L"td/gem_shop",
         {L"b_01_in", L"b_05_in", L"back_in"},
         {L"caption", L"caption_gems", L"b_01_text", L"b_05_text"},
         {}},
    };
    for (const Screen& screen : screens)
    {
        const std::string name(screen.layout, screen.layout + std::wcslen(screen.layout));
        SCOPED_TRACE(name);
        auto* window = new HUDWindow;
        window->load(screen.layout);
        ASSERT_NE(window->mLayout, nullptr);
        EXPECT_FALSE(window->mImages.empty());
        for (const TDFrameEntry* image : window->mImages)
            EXPECT_NE(image->mTexture, nullptr);
        for (const std::wstring& button : screen.buttons)
        {
            const TDButtonFrame* frame = window->findButton(button);
            ASSERT_NE(frame, nullptr) << std::string(button.begin(), button.end());
            EXPECT_NE(frame->mTexture, nullptr);
        }
        for (const std::wstring& text : screen.texts)
            EXPECT_EQ(window->mTextRects.count(text), 1u) << std::string(text.begin(), text.end());
        for (const std::wstring& group : screen.groups)
        {
            HUDButtonOver button(window->mLayout, group);
            EXPECT_FALSE(button.mName.empty());
            EXPECT_NE(button.mNormal->mTexture, nullptr) << std::string(group.begin(), group.end());
            EXPECT_NE(button.mOver->mTexture, nullptr) << std::string(group.begin(), group.end());
            EXPECT_GT(button.mNormal->mRect.width, 0.0f);
        }
        delete window;
    }
    EXPECT_TRUE(Log().empty()) << Log();
}

TEST_F(HUDDemoLayoutTest, ShopTabsAndScrollBarStandWhereTheShopExpects)
{
    std::unique_ptr<file::ImageContainer> shop(file::FileManager::Instance()->OpenImageContainer(L"td/shop"));
    ASSERT_TRUE(shop);
    {
        HUDTabBar tabs(shop.get(), {L"shop_tab_0", L"shop_tab_1", L"shop_tab_2"}, {true, true, true});
        ASSERT_EQ(tabs.mTabs.size(), 3u);
        EXPECT_NE(tabs.mTabs[0]->mActive->GetImage(), nullptr);
        EXPECT_NE(tabs.mTabs[0]->mLabel->GetText(), L"???");
        const math::Point3& anchor = tabs.mTabs[1]->mRoot->GetPosition();
        EXPECT_EQ(tabs.press(static_cast<int>(anchor.x), static_cast<int>(anchor.y) - 10), 1);
        HUDScrollBar scroll(shop.get());
        ASSERT_NE(scroll.mSlider->GetImage(), nullptr);
        const math::Point3& at = scroll.mSlider->GetPosition();
        scroll.press(at.x + 5.0f, at.y + 5.0f);
        EXPECT_EQ(scroll.mDragState, 0);
        EXPECT_EQ(mBoard->root.GetChildren().size(), 2u);
    }
    EXPECT_TRUE(mBoard->root.GetChildren().empty());
    EXPECT_TRUE(Log().empty()) << Log();
}

namespace
{

// Builds every control and caption of the options dialog's layout and of the message box's, as those
// dialogs do, and counts what failed.
class LayoutDialog : public TamselDialog
{
public:
    LayoutDialog(const wchar_t* layout, const CountedHandle<render::Font>& font)
        : mLayout(layout), mFont(font)
    {
    }

    VNResultEnum Init() override
    {
        if (const VNResultEnum r = gui::GameControlHelper::Init(
                mLayout, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true);
            r != VN_OK)
            return r;
        return VN_OK;
    }

    VNResultEnum button(const std::wstring& normal, const std::wstring& over, const std::wstring& back)
    {
        auto* made = new TamselButton;
        AddWidget(made);
        return made->init(GetContainer(), normal, over, back);
    }
    VNResultEnum toggle(const std::wstring& normal, const std::wstring& over, const std::wstring& selected,
                        const std::wstring& back)
    {
        auto* made = new TamselSwitchButton;
        AddWidget(made);
        return made->init(GetContainer(), normal, over, selected, back);
    }
    VNResultEnum slider(const std::wstring& bar, const std::wstring& thumb, const std::wstring& back)
    {
        auto* made = new TamselSlider;
        AddWidget(made);
        if (const VNResultEnum r = made->init(GetContainer(), bar, thumb); r != VN_OK)
            return r;
        if (made->mGlint == nullptr)
            return VN_FAIL;
        return made->CreateImageLayerAtBack(back, gui::HitModeTrap, nullptr, nullptr);
    }
    VNResultEnum caption(const std::wstring& layer)
    {
        layer::TextLayer* made = nullptr;
        return addCaption(layer, L"options_OptionsTitle", mFont, &made);
    }

private:
    const wchar_t* mLayout;
    CountedHandle<render::Font> mFont;
};

} // namespace

TEST_F(HUDDemoLayoutTest, OptionsAndMessageLayoutsBuildEveryControl)
{
    for (int i = 0; i < kBoardFontCount; ++i)
        ASSERT_TRUE(mBoard->fonts[i]) << i << Log();
    LayoutDialog options(L"td/options", mBoard->fonts[4]);
    ASSERT_EQ(static_cast<widget::Dialog&>(options).Init(), VN_OK);
    EXPECT_EQ(options.CreateImageLayer(L"title", gui::HitModeDisabled, nullptr, nullptr), VN_OK);
    for (const wchar_t* place :
         {L"main_options/options_title", L"main_options/sounds_and_music", L"main_options/game_type",
          L"main_options/window_type", L"buttons/close/close_caption"})
        EXPECT_EQ(options.caption(place), VN_OK) << std::wstring(place).size();
    const std::wstring back = L"buttons/menu/menu_sh";
    const std::pair<const wchar_t*, const wchar_t*> buttons[] = {
        {L"buttons/menu/menu_in", L"buttons/menu/menu_ac"},
        {L"buttons/close/ok_in", L"buttons/close/ok_ac"},
        {L"buttons/cheat/cheat_in", L"buttons/cheat/cheat_ac"},
        {L"buttons/music_dec/b_in", L"buttons/music_dec/b_ac"},
        {L"buttons/music_inc/b_in", L"buttons/music_inc/b_ac"},
        {L"buttons/sound_dec/b_in", L"buttons/sound_dec/b_ac"},
        {L"buttons/sound_inc/b_in", L"buttons/sound_inc/b_ac"},
    };
    for (const auto& [normal, over] : buttons)
        EXPECT_EQ(options.button(normal, over, back), VN_OK) << std::wstring(normal).size();
    for (const wchar_t* kind : {L"sound", L"music"})
    {
        const std::wstring base = std::wstring(L"main_options/") + kind + L"/" + kind;
        EXPECT_EQ(options.slider(base + L"_bar", base + L"_begunok", base + L"_back"), VN_OK);
    }
    EXPECT_EQ(options.toggle(L"main_options/window/window_nonselected", L"main_options/window/window_ac",
                             L"main_options/window/window_in", L"main_options/window/window_sh"),
              VN_OK);
    EXPECT_EQ(options.toggle(
                  L"main_options/fullscreen/fullscreen_nonselected", L"main_options/fullscreen/fullscreen_ac",
                  L"main_options/fullscreen/main_menu_in", L"main_options/fullscreen/main_menu_sh"),
              VN_OK);

    LayoutDialog box(L"td/data/mm", mBoard->fonts[4]);
    ASSERT_EQ(static_cast<widget::Dialog&>(box).Init(), VN_OK);
    EXPECT_EQ(box.CreateImageLayer(L"back", gui::HitModeDisabled, nullptr, nullptr), VN_OK);
    for (const wchar_t* place : {L"text/message", L"button/b1_ok/label", L"button/b1_cancel/label"})
        EXPECT_EQ(box.caption(place), VN_OK);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(box.button(L"button/b1_normal", L"button/b1_over", L"button/b1_ok/label"), VN_OK);
    EXPECT_TRUE(Log().empty()) << Log();
}
