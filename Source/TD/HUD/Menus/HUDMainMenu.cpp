#include "Source/TD/HUD/Menus/HUDMainMenu.h"

#include "Core/Base/Containers.h"
#include "Core/File/Profiles.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/HUD/Menus/TamselDialog.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"

namespace
{
struct MenuEffect
{
    const char* name;
    float x;
    float y;
};
constexpr MenuEffect kEffects[] = {{"fog_01", 401, 263}, {"blik_1", 335, 28}, {"blik_2", 509, 100},
                                   {"blik_4", 366, 640}};

// The band along the bottom edge answers "profile", whatever lies there.
constexpr int kProfileBandTop = 721;
constexpr int kProfileBandBottom = 1023;
} // namespace

HUDMainMenu::HUDMainMenu()
{
    w7::PlayMusic(w7::kMenuMusic);
    load(L"td/main_menu");
    TDMap* map = Game::GetMap();
    if (map)
        map->mCurrentScreen = L"mmenu";
    for (const MenuEffect& effect : kEffects)
    {
        render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter(effect.name);
        if (!emitter)
            continue;
        emitter->SetPosition(math::Point2(effect.x, effect.y), 1);
        emitter->SetLoopMode(1);
        emitter->SetState(1);
        mEffects.push_back(emitter);
    }
    setFont(boardFont(TDBoardFont::Main42_3));
    refresh();
    const bool russian = map && map->mLanguage == L"ru";
    setImageVisible(L"ru", russian);
    setImageVisible(L"en", !russian);
    if (file::Profiles::mCorrupt)
    {
        file::Profiles::mCorrupt = false;
        if (framework::GameApplication* app = framework::GetGameApplication())
            (void)TamselDialog::openModal(new TMessageBox(L"profile_corrupt", std::wstring()),
                                          app->GetFrameManager());
    }
}

HUDMainMenu::~HUDMainMenu()
{
    base::DeleteAll(mEffects);
}

void HUDMainMenu::load(const std::wstring& layoutName)
{
    HUDWindow::load(layoutName);
    buildChildButtons();
}

void HUDMainMenu::refresh()
{
    LocalStrings* strings = LocalStrings::Instance();
    TDMap* map = Game::GetMap();
    std::wstring name = map && map->mProfile ? map->mProfile->getCurrentName() : std::wstring();
    if (name.empty())
        name = strings->get(L"unnamed_player");
    setText(L"greet", strings->get(L"greet_1") + name + strings->get(L"greet_2"));
}

void HUDMainMenu::mouseMove(int x, int y)
{
    moveChildButtons(x, y);
}

std::wstring HUDMainMenu::click(int x, int y)
{
    if (y >= kProfileBandTop && y <= kProfileBandBottom)
        return L"profile";
    return HUDMenuWindow::click(x, y);
}

void HUDMainMenu::update(float dt)
{
    HUDMenuWindow::update(dt);
    for (render::ParticleEmitter* effect : mEffects)
        effect->Update(dt);
}

void HUDMainMenu::draw(render::Graphics* graphics)
{
    HUDMenuWindow::draw(graphics);
    if (graphics == nullptr)
        return;
    for (render::ParticleEmitter* effect : mEffects)
        graphics->DrawParticles(effect);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
