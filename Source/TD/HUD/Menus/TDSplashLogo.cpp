#include "Source/TD/HUD/Menus/TDSplashLogo.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"

namespace
{
constexpr float kPhaseLength[] = {0.5f, 1.5f, 0.5f};
} // namespace

TDSplashLogo::TDSplashLogo(render::Image* image) : mImage(image) {}

TDSplashLogo::~TDSplashLogo()
{
    delete mImage;
}

void TDSplashLogo::update(float dt)
{
    mTime += dt;
    if (mPhase < 3 && mTime > kPhaseLength[mPhase])
    {
        ++mPhase;
        mTime = 0.0f;
    }
}

void TDSplashLogo::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    if (mImage != nullptr)
    {
        math::Rect view(0.0f, 0.0f, 1024.0f, 768.0f);
        if (framework::GameApplication* app = framework::GetGameApplication())
            view = app->GetViewport();
        auto draw = graphics->DrawImage(mImage);
        draw->mAlignH = 2;
        draw->mAlignV = 2;
        draw.Translate(view.x + view.width / 2.0f, view.y + view.height / 2.0f);
    }
    if (mPhase == 0 || mPhase == 2)
    {
        const float alpha = mPhase == 0 ? 1.0f - 2.0f * mTime : 2.0f * mTime;
        graphics->SetColor(0.0f, 0.0f, 0.0f, alpha);
        graphics->FillRect(-512.0f, -512.0f, 2048.0f, 2048.0f);
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
