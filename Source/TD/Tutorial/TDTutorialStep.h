#pragma once

#include <map>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDTutorial;

// One command of a tutorial step: its name and integer value.
struct TDTutorialCmd
{
    std::wstring param;
    int value = 0;
};

// Where a tutorial step stands; stored per step id in the player's profile.
enum TDTutorialStepState : int
{
    kTutorialWaiting = 0,   // waits for its activate event
    kTutorialShown = 1,     // shown, waits for its complete event
    kTutorialCompleted = 2, // never reacts again
};

// One step of the tutorial script: the event that shows it, the event that completes it, the level it is
// bound to, the picture folder and texts it shows and the commands it runs on either side.
class TDTutorialStep
{
public:
    // Reads a `step` element; false (with the reason in why) when the element lacks what a step needs: the
    // two event names, `condition` and `show` with its folder.
    bool load(const tinyxml2::XMLElement& element, std::wstring* why);

    // The event reaches the step: it shows on its activate event, completes on its complete event, both
    // only where its condition holds. True when it changed its state.
    bool onEvent(const std::wstring& event, TDTutorial& tutorial);
    // Shown: state 1 (stored), then the commands. Completed: state 2 (stored), then the completion commands.
    void runCommands(TDTutorial& tutorial);
    void runCompletion(TDTutorial& tutorial);
    // A shop value other than -1 lets the step react anywhere; -1 binds it to its episode and level.
    bool conditionHolds(int episode, int level) const;

    // The text of a text place: by the image's full name, or by its name within the step's folder; empty
    // when the step gives none.
    std::wstring textFor(const std::wstring& imageName) const;

    int mId = 0;
    int mState = kTutorialWaiting;
    std::wstring mActivate;
    std::wstring mComplete;
    int mLevel = 0;
    int mEpisode = 0;
    int mShop = 0;
    std::vector<TDTutorialCmd> mCommands;
    std::vector<TDTutorialCmd> mCompletion;
    std::wstring mFolder;
    // Place name -> localised text (a later text for the same place wins).
    std::map<std::wstring, std::wstring> mTexts;
};
