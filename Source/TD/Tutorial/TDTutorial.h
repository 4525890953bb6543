#pragma once

#include "Core/Base/Singleton.h"
#include "Source/TD/Tutorial/TDTutorialStep.h"

#include <memory>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace layer
{
class Layer;
}

class TDFrameEntry;
class TDMap;
class TutorialButton;

// The tutorial: a script of steps ("td/tutorial.xml") that the game's events show and complete. A shown
// step hangs its pictures and texts (from its folder of "td/data/tutorial") and the skip button on the game
// board's root layer, above the map and the HUD; its commands pause the game, lock parts of the HUD, give
// money or gems and point at one build spot. The profile holds every step's state and the on/off switch,
// so a completed step never shows again. Made on first use; the map's teardown ends it, because its
// pictures belong to that game's renderer and its states to that map's profile.
class TDTutorial : public base::Singletone<TDTutorial>
{
public:
    // Reads the script and the pictures, takes the profile's switch and step states, re-arms and builds the
    // skip button.
    TDTutorial();
    // Takes its layers off the board.
    ~TDTutorial() override;

    // The map the tutorial acts on when no game runs (tools, fuzzing); otherwise the game's map.
    static void useMap(TDMap* map);
    TDMap* getMap() const;
    // The map goes: the tutorial ends with it (a new map's first event makes a new one).
    static void onMapDestroyed(TDMap* map);

    // Replaces the steps by those of a script's text (empty or damaged: no steps); path names it in logs.
    void loadScript(const std::string& text, const std::wstring& path);

    // A game event, given to every step in file order; nothing while the tutorial is off.
    void onEvent(const std::wstring& name);
    // The pointer, for the skip button while a step is shown: a press and a move test the hover, a release
    // clicks.
    void onPress(int x, int y);
    void onRelease(int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(int x, int y);
    // The skip button's hover zoom (unscaled time).
    void update(float dt);
    // The in-game menu hides the shown step and resume brings it back.
    void pause();
    void resume();
    // A level start: the steps of the first levels that were not finished wait again for their event, and
    // the locks, the spot and the drop chance the tutorial set are lifted.
    void rearm();
    // A profile was selected: its switch and its step states.
    void reloadState();
    // The level ended or the player left it: the shown step goes (re-arming shows it again in a later start)
    // and its locks, spot and drop chance are lifted, so nothing of it lies over or blocks the screens after.
    void endLevel();

    // Puts the step's pictures and texts up (the view returns to scale 1 and no offset).
    void show(const TDTutorialStep& step);
    // Takes the shown step's pictures and texts and the skip button down.
    void hide();
    // Turns the tutorial off for the profile and lifts everything it set.
    void skip();

    // The skip button was clicked: the pictures stop taking input and the confirmation opens.
    void requestSkip();
    // The confirmation's answers: yes hides and skips; no brings the skip button back.
    void confirmSkip();
    void cancelSkip();

    // Runs one command of a step.
    void runCommand(const TDTutorialCmd& command);

    // Turns the tutorial on or off for this run only (the profile keeps its switch; selecting a profile
    // reads it again). Scripted runs of the game that play the first level without a player use it.
    void setEnabled(bool enabled) { mEnabled = enabled; }
    bool isEnabled() const { return mEnabled; }
    bool isShown() const { return mShown; }
    bool isSkipRequested() const { return mSkipRequested; }
    const std::vector<std::unique_ptr<TDTutorialStep>>& getSteps() const { return mSteps; }
    // The layers of the shown step (owned by the tutorial).
    const std::vector<layer::Layer*>& getPictureLayers() const { return mPictureLayers; }
    const std::vector<layer::Layer*>& getTextLayers() const { return mTextLayers; }
    layer::Layer* getPictureContainer() const { return mPictureContainer.get(); }
    layer::Layer* getTextContainer() const { return mTextContainer.get(); }
    TutorialButton* getSkipButton() const { return mSkipButton.get(); }

private:
    void buildSkipButton();
    // The step's state as the profile holds it (the profile creates a missing entry with 0).
    int storedState(int id) const;
    void storeState(int id, int state);
    // Returns the step to waiting (in the profile and in memory).
    void resetStep(int id);
    bool isCompleted(int id) const;
    // The locks, the spot and the drop chance back to none.
    void liftRestrictions();

    std::vector<std::unique_ptr<TDTutorialStep>> mSteps;
    bool mShownBeforePause = false;
    bool mEnabled = true;
    bool mShown = false;
    bool mSkipRequested = false;
    std::unique_ptr<file::ImageContainer> mPictures;
    std::vector<layer::Layer*> mPictureLayers;
    std::vector<layer::Layer*> mTextLayers;
    std::unique_ptr<layer::Layer> mPictureContainer;
    std::unique_ptr<layer::Layer> mTextContainer;
    // The skip button's faces keep the pictures it draws.
    std::unique_ptr<TDFrameEntry> mSkipOver;
    std::unique_ptr<TDFrameEntry> mSkipNormal;
    std::unique_ptr<TutorialButton> mSkipButton;
};
