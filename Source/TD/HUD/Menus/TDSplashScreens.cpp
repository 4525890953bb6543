#include "Source/TD/HUD/Menus/TDSplashScreens.h"

#include "Core/Base/Containers.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/ReadFile.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/TDSplashLogo.h"
#include "Source/TD/Map/TDMap.h"

namespace
{
std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Split at the separator, empty fields kept, each trimmed.
std::vector<std::string> fields(const std::string& text, char separator)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true)
    {
        const std::size_t end = text.find(separator, start);
        out.push_back(trimmed(text.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos)
            return out;
        start = end + 1;
    }
}
} // namespace

std::vector<std::wstring> TDSplashScreens::parseList(const std::string& text)
{
    std::vector<std::wstring> names;
    for (std::string line : fields(trimmed(text), '\n'))
    {
        if (line.empty())
            continue;
        std::erase(line, ' ');
        const std::vector<std::string> parts = fields(line, ';');
        const std::string list = parts.size() > 1 ? parts[1] : std::string();
        for (std::string item : fields(list, ','))
        {
            if (!item.empty() && item.back() == '\r')
                item.pop_back();
            names.push_back(base::ToWide(item, base::kEncodingUtf8));
        }
    }
    return names;
}

TDSplashScreens::TDSplashScreens()
{
    framework::GameApplication* app = framework::GetGameApplication();
    for (const std::wstring& name : parseList(base::ReadTextFile(L"logo/logo.ini")))
    {
        render::Image* image = app && !name.empty() ? app->LoadTexture(L"logo/" + name, nullptr) : nullptr;
        mLogos.push_back(new TDSplashLogo(image));
    }
    w7::PlayMusic(w7::kMenuMusic);
}

TDSplashScreens::~TDSplashScreens()
{
    base::DeleteAll(mLogos);
}

void TDSplashScreens::update(float dt)
{
    if (!mActive)
        return;
    if (mCurrent < static_cast<int32_t>(mLogos.size()))
    {
        TDSplashLogo* logo = mLogos[mCurrent];
        logo->update(dt);
        if (logo->mPhase == 3)
            ++mCurrent;
        if (mCurrent < static_cast<int32_t>(mLogos.size()))
            return;
    }
    mActive = 0;
}

void TDSplashScreens::draw(render::Graphics* graphics)
{
    if (mCurrent < static_cast<int32_t>(mLogos.size()))
        mLogos[mCurrent]->draw(graphics);
}

void TDSplashScreens::onClose()
{
    if (TDMap* map = Game::GetMap())
        map->mHud->openMainMenu();
}

std::wstring TDSplashScreens::click(int, int)
{
    if (mCurrent >= static_cast<int32_t>(mLogos.size()))
        return L"done";
    ++mCurrent;
    return mCurrent == static_cast<int32_t>(mLogos.size()) ? L"done" : std::wstring();
}
