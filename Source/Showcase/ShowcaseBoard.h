#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Gui/GameControlHelper.h"
#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/Frame.h"

#include <map>
#include <string>
#include <vector>

namespace layer
{
class ParticlesLayer;
}
namespace render
{
class ParticleEmitter;
}

namespace showcase
{

class MusicSlider;

// A stand-in for the game's first screen until the game's own screens exist: it shows what the engine already
// does with the demo data. The widget showcase layout ("td/data/showcase") with Play (opens the "Options"
// dialog with its show and hide effects), Quit (ends the application) and a slider bound to the music volume;
// the demo fonts; one demo image per format; a particle effect following the cursor; the menu music.
// Nothing here is gameplay: it goes away when the game's main menu takes its place.
class ShowcaseBoard : public widget::BaseBoard, public widget::ButtonListener
{
public:
    ShowcaseBoard();
    // Deletes its widgets and emitter; gives the particle atlases back while the renderer still exists.
    ~ShowcaseBoard() override;

    // Builds the screen and starts the music; parts whose data is missing are left out (the loaders log why),
    // so it never fails.
    VNResultEnum Init() override;
    VNResultEnum Update(float dt) override;
    VNResultEnum OnButtonClick(widget::Button* button) override;

private:
    // A button of the showcase folder from its normal, hover and pressed pictures.
    widget::Button* MakeButton(const std::wstring& name);
    void MakeSlider();
    void MakeTexts();
    void MakeImages();
    void MakeParticles();
    layer::Layer* MakeText(const CountedHandle<render::Font>& font, const std::wstring& text, float x,
                           float y);
    CountedHandle<render::Font> LoadFont(const std::wstring& name);

    gui::GameControlHelper mShowcase; // "td/data/showcase": panel, buttons, slider
    gui::GameControlHelper mDemo;     // "td/data/demo": one image per format
    gui::GameControlHelper mTexts;    // the text layers
    std::vector<layer::Layer*> mOwnedLayers;
    std::map<std::wstring, CountedHandle<render::Font>> mFonts; // by name; empty when it failed
    widget::Button* mPlay = nullptr;
    widget::Button* mQuit = nullptr;
    MusicSlider* mSlider = nullptr;
    layer::ParticlesLayer* mParticles = nullptr;
    render::ParticleEmitter* mEmitter = nullptr;
    math::Point2 mFirstCursor;
    bool mCursorSeen = false;
    bool mFollowing = false;
    bool mLoadedParticles = false; // the particle file was loaded here, so its atlases are released here
};

} // namespace showcase
