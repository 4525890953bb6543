#include "Source/TD/Game.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Color.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/GameWindow.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Units/TMobShader.h"

#include <tinyxml2.h>

#include <memory>

namespace
{
// The side images are drawn only while these screens are up.
bool showsSideImages(int state)
{
    return state == kStateEpisodeSelect || state == kStateLevelSelect || state == kStateShop ||
           state == kStateModal;
}
} // namespace

Game::Game()
{
    mBaseWidth = 1024;
    mBaseHeight = 768;
    mMaxWidth = 1366;
    mMakerName = L"Orvalis";
    mProductName = L"Corvantis";
}

Game::~Game()
{
    // The atlases are textures of the renderer, which the engine deletes after this destructor.
    render::ParticleSystem::Instance()->ReleaseAtlasTextures();
    if (mFrameManager)
    {
        // The board joins the frame list at the first update after it was set; one that never did is deleted
        // here, as the frame list does with the others.
        bool listed = false;
        for (const widget::FrameEntry& entry : mFrameManager->GetFrames())
            listed = listed || entry.frame == mCurrentScreen;
        (void)mFrameManager->Clear(true, false);
        if (!listed)
            delete mCurrentScreen;
        mCurrentScreen = nullptr;
    }
    mGameWindow = nullptr;
    delete mLoadingImage;
    mLoadingImage = nullptr;
    delete mSideLeft;
    mSideLeft = nullptr;
    delete mSideRight;
    mSideRight = nullptr;
    mMobShader = CountedHandle<TMobShader>();
}

Game* Game::Get()
{
    return dynamic_cast<Game*>(framework::GetGameApplication());
}

TDMap* Game::GetMap()
{
    const Game* game = Get();
    return game && game->mGameWindow ? game->mGameWindow->mMap : nullptr;
}

namespace
{
// What the data root lacks of the game's data, empty when nothing: "data/game.xml" and the "td/" folder
// (or its pack "data.dat").
std::wstring MissingGameData(bool rootFound)
{
    if (!rootFound)
        return L"the folder does not exist or cannot be entered";
    file::FileManager* files = file::FileManager::Instance();
    std::wstring missing;
    if (!files->Exists(L"data/game.xml"))
        missing = L"\"data/game.xml\" is missing";
    if (!files->IsDirectory(L"td") && !files->Exists(L"data.dat"))
        missing += std::wstring(missing.empty() ? L"" : L", ") + L"the folder \"td/\" is missing";
    return missing;
}
} // namespace

VNResultEnum Game::PreInitGame()
{
    if (!IsPackMode())
    {
        if (const std::wstring missing = MissingGameData(IsDataRootFound()); !missing.empty())
            return RefuseDataRoot(missing);
    }
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    mCaption = LocalStrings::Instance()->get(L"game_caption");
    file::Profiles* profiles = file::Profiles::Instance();
    profiles->Load();
    // The mode the player left the game in; a new player starts in full screen.
    mWindowed = false;
    if (const tinyxml2::XMLElement* fs =
            profiles->mCurrent ? profiles->mCurrent->FirstChildElement("fs") : nullptr)
    {
        bool fullscreen = false;
        if (fs->QueryBoolAttribute("v", &fullscreen) != tinyxml2::XML_SUCCESS)
            fullscreen = false;
        mWindowed = !fullscreen;
    }
    return VN_OK;
}

VNResultEnum Game::InitGame()
{
    if (mRender)
        (void)mRender->LoadShader(L"td/Shaders/MobShader/DX/", mMobShader);
    file::RegisterImageContainers();
    if (std::unique_ptr<file::ImageContainer> sides(
            file::FileManager::Instance()->OpenImageContainer(L"td/data/sides"));
        sides)
    {
        mSideLeft = LoadTexture(L"l", sides.get());
        mSideRight = LoadTexture(L"r", sides.get());
    }
    mLoadingImage = LoadTexture(L"td/data/loading", nullptr);
    mGameWindow = new GameWindow;
    return SetScreen(mGameWindow);
}

VNResultEnum Game::UpdateGame(float)
{
    return VN_OK;
}

VNResultEnum Game::DrawBorders(render::Graphics* graphics)
{
    const TDMap* map = GetMap();
    if (!map || !showsSideImages(map->mState))
        return VN_OK;
    if (!mBarsAtSides)
        return GameApplication::DrawBorders(graphics);
    if (!mSideLeft || !mSideRight || mSideLeft->GetHeight() <= 0)
        return VN_OK;
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    const float s = mBar1.height / static_cast<float>(mSideLeft->GetHeight());
    {
        auto left = graphics->DrawImage(mSideLeft).Scale(s);
        left.Translate(mBar1.x + mBar1.width, mBar1.y);
        left->mAlignH = 1;
        left->mAlignV = 0;
    }
    {
        auto right = graphics->DrawImage(mSideRight).Scale(s);
        right.Translate(mBar2.x, mBar2.y);
        right->mAlignH = 0;
        right->mAlignV = 0;
    }
    return VN_OK;
}

VNResultEnum Game::DrawSideImages(render::Graphics* graphics)
{
    if (!graphics || !mSideLeft || !mSideRight || mSideLeft->GetHeight() <= 0)
        return VN_OK;
    const float s = mVisibleRect.height / static_cast<float>(mSideLeft->GetHeight());
    {
        auto left = graphics->DrawImage(mSideLeft).Scale(s);
        left.Translate(1.0f, 0.0f);
        left->mAlignH = 1;
        left->mAlignV = 0;
    }
    {
        auto right = graphics->DrawImage(mSideRight).Scale(s);
        right.Translate(1023.0f, 0.0f);
        right->mAlignH = 0;
        right->mAlignV = 0;
    }
    return VN_OK;
}

VNResultEnum Game::DrawLoadingScreen()
{
    // Only between frames: inside one, the picture waits for the frame's own present.
    if (!mRender || mRender->IsFrameOpen())
        return VN_OK;
    if (const VNResultEnum r = mRender->BeginFrame(); r != VN_OK)
        return r;
    {
        render::Graphics screen(mRender);
        (void)screen.Clear(1, render::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
        if (mLoadingImage)
        {
            if (mRenderTarget)
            {
                auto image = screen.DrawImage(mLoadingImage).Scale(mTargetDrawScaleX, mTargetDrawScaleY);
                image.Translate(mTargetDrawScaleX * static_cast<float>(mMaxWidth) * 0.5f,
                                mTargetDrawScaleY * static_cast<float>(mBaseHeight) * 0.5f);
                image->mAlignH = 2;
                image->mAlignV = 2;
            }
            else
            {
                screen.DrawImage(mLoadingImage);
            }
        }
    }
    if (const VNResultEnum r = mRender->EndFrame(); r != VN_OK)
        return r;
    if (const VNResultEnum r = mRender->Present(); r != VN_OK)
        return r;
    return mRender->Playback();
}

void Game::OnActivate()
{
    SoundSystem::Instance()->Start();
}

void Game::OnDeactivate()
{
    SoundSystem::Instance()->Pause();
    if (TDMap* map = GetMap())
        map->onDeactivate();
}

VNResultEnum Game::SwitchScreenMode()
{
    const bool wasWindowed = mWindow ? mWindow->IsWindowed() : mWindowed;
    if (const VNResultEnum r = GameApplication::SwitchScreenMode(); r != VN_OK)
        return r;
    const bool windowed = mWindow ? mWindow->IsWindowed() : mWindowed;
    if (windowed != wasWindowed)
        if (TDMap* map = GetMap(); map && map->mProfile)
            map->mProfile->setFullscreen(!windowed);
    return VN_OK;
}

// The board takes the keys unless a modal dialog stands over it: then they are the dialog's, so a developer
// key or a typed letter never acts on the screen below.
bool Game::KeysGoToBoard() const
{
    const widget::FrameManager* frames = GetFrameManager();
    return mGameWindow != nullptr && (frames == nullptr || !frames->HasModal());
}

VNResultEnum Game::OnKeyDown(int key)
{
    return KeysGoToBoard() ? mGameWindow->OnKeyDown(key) : GameApplication::OnKeyDown(key);
}

VNResultEnum Game::OnKeyUp(int key)
{
    return KeysGoToBoard() ? mGameWindow->widget::WidgetListener::OnKeyUp(key)
                           : GameApplication::OnKeyUp(key);
}

VNResultEnum Game::OnChar(wchar_t character)
{
    return KeysGoToBoard() ? mGameWindow->OnChar(character) : GameApplication::OnChar(character);
}
