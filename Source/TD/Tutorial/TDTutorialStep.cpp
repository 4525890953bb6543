#include "Source/TD/Tutorial/TDTutorialStep.h"

#include "Core/Base/TextEncoding.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <tinyxml2.h>

namespace
{
std::wstring wideAttribute(const tinyxml2::XMLElement& element, const char* name)
{
    const char* text = element.Attribute(name);
    return text ? base::ToWide(text, base::kEncodingUtf8) : std::wstring();
}

int intAttribute(const tinyxml2::XMLElement* element, const char* name)
{
    int value = 0;
    if (element)
        (void)element->QueryIntAttribute(name, &value);
    return value;
}

// The `cmd` children of a command list, in order; a `cmd` without a name does nothing, so it is left out.
std::vector<TDTutorialCmd> readCmds(const tinyxml2::XMLElement* list)
{
    std::vector<TDTutorialCmd> commands;
    if (!list)
        return commands;
    for (const tinyxml2::XMLElement* cmd = list->FirstChildElement("cmd"); cmd;
         cmd = cmd->NextSiblingElement("cmd"))
    {
        if (!cmd->Attribute("param"))
            continue;
        commands.push_back({wideAttribute(*cmd, "param"), intAttribute(cmd, "value")});
    }
    return commands;
}
} // namespace

bool TDTutorialStep::load(const tinyxml2::XMLElement& element, std::wstring* why)
{
    mId = intAttribute(&element, "id");
    mActivate = wideAttribute(element, "activate");
    mComplete = wideAttribute(element, "complete");
    const tinyxml2::XMLElement* condition = element.FirstChildElement("condition");
    const tinyxml2::XMLElement* show = element.FirstChildElement("show");
    const char* problem = nullptr;
    if (!element.Attribute("activate") || !element.Attribute("complete"))
        problem = "has no \"activate\" or no \"complete\" event";
    else if (!condition)
        problem = "has no condition";
    else if (!show || !show->Attribute("folder"))
        problem = "has no shown folder";
    if (problem)
    {
        if (why)
            *why = base::ToWide(problem, base::kEncodingUtf8);
        return false;
    }
    mLevel = intAttribute(condition, "level");
    mEpisode = intAttribute(condition, "episode");
    mShop = intAttribute(condition, "shop");
    mFolder = wideAttribute(*show, "folder");
    for (const tinyxml2::XMLElement* text = show->FirstChildElement("text"); text;
         text = text->NextSiblingElement("text"))
        mTexts[wideAttribute(*text, "place")] = LocalStrings::Instance()->get(wideAttribute(*text, "string"));
    mCommands = readCmds(element.FirstChildElement("cmds"));
    mCompletion = readCmds(element.FirstChildElement("onComplete"));
    return true;
}

bool TDTutorialStep::conditionHolds(int episode, int level) const
{
    return mShop != -1 || (episode == mEpisode && level == mLevel);
}

bool TDTutorialStep::onEvent(const std::wstring& event, TDTutorial& tutorial)
{
    // The profile is the authority: another step's completeStep or a re-arm may have moved this one.
    const TDMap* map = tutorial.getMap();
    if (map && map->mProfile)
        mState = map->mProfile->getTutorialStepState(mId);
    const bool holds = conditionHolds(map ? map->mEpisode : 0, map ? map->mLevel : 0);
    if (mState == kTutorialWaiting && event == mActivate && holds)
    {
        runCommands(tutorial);
        tutorial.show(*this);
        return true;
    }
    if (mState == kTutorialShown && event == mComplete && holds)
    {
        runCompletion(tutorial);
        tutorial.hide();
        return true;
    }
    return false;
}

void TDTutorialStep::runCommands(TDTutorial& tutorial)
{
    mState = kTutorialShown;
    if (TDMap* map = tutorial.getMap(); map && map->mProfile)
        map->mProfile->setTutorialStepState(mId, kTutorialShown);
    for (const TDTutorialCmd& command : mCommands)
        tutorial.runCommand(command);
}

void TDTutorialStep::runCompletion(TDTutorial& tutorial)
{
    mState = kTutorialCompleted;
    if (TDMap* map = tutorial.getMap(); map && map->mProfile)
        map->mProfile->setTutorialStepState(mId, kTutorialCompleted);
    for (const TDTutorialCmd& command : mCompletion)
        tutorial.runCommand(command);
}

std::wstring TDTutorialStep::textFor(const std::wstring& imageName) const
{
    if (const auto found = mTexts.find(imageName); found != mTexts.end())
        return found->second;
    const std::wstring prefix = mFolder + L"/";
    if (imageName.compare(0, prefix.size(), prefix) == 0)
        if (const auto found = mTexts.find(imageName.substr(prefix.size())); found != mTexts.end())
            return found->second;
    return std::wstring();
}
