#include "Core/App/Linux/ApplicationLinux.h"

#include "Core/App/Linux/SignalsLinux.h"
#include "Core/App/Shell.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"

#include <SDL.h>

#include <climits>
#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace app
{

ApplicationLinux::ApplicationLinux() : Thread(false, true, true, true) {}

ApplicationLinux::~ApplicationLinux()
{
    if (mRendererUnsupported)
        (void)ShowErrorMessage(L"Error", mRendererUnsupportedText);
    SDL_Quit();
}

VNResultEnum ApplicationLinux::FindExeFolder(std::wstring& out)
{
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer));
    // A path that fills the buffer may be cut short: treat it as unreadable.
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof(buffer)))
        return VN_FAIL;
    const std::wstring path = base::ToWide(std::string(buffer, static_cast<size_t>(n)), base::kEncodingUtf8);
    out = base::GetDirectory(path);
    return out.empty() ? VN_FAIL : VN_OK;
}

VNResultEnum ApplicationLinux::FindAppDataFolder(const char* xdgDataHome, const char* home, std::wstring& out)
{
    std::wstring folder;
    // Relative values are invalid by the XDG rule and are ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        folder = base::ToWide(xdgDataHome, base::kEncodingUtf8);
    else if (home != nullptr && home[0] == '/')
        folder = base::StripTrailingSeparators(base::ToWide(home, base::kEncodingUtf8)) + L"/.local/share";
    else
        return VN_FAIL;
    out = base::NormalizeDirPath(folder);
    return out.empty() ? VN_FAIL : VN_OK;
}

VNResultEnum ApplicationLinux::PreInit()
{
    InstallCloseSignals();
    IgnoreFileSizeLimitSignal();
    if (FindExeFolder(mExeFolder) != VN_OK)
        return VN_FAIL;
    base::MainLog::Instance()->AddTextOutput(new base::LogDebugOutput);

    const char* home = std::getenv("HOME");
    std::string passwdHome;
    if (home == nullptr || home[0] != '/')
    {
        // No usable $HOME (a service account, a stripped environment): ask the user database.
        if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
        {
            passwdHome = pw->pw_dir;
            home = passwdHome.c_str();
        }
    }
    return FindAppDataFolder(std::getenv("XDG_DATA_HOME"), home, mAppDataFolder);
}

VNResultEnum ApplicationLinux::Main()
{
    const VNResultEnum result = Init();
    if (IsFinished())
        return result;
    return Run();
}

VNResultEnum ApplicationLinux::Init()
{
    return InitHook();
}

VNResultEnum ApplicationLinux::InitHook()
{
    return VN_OK;
}

VNResultEnum ApplicationLinux::InitLogFile(const std::wstring& folder)
{
    mLogFolder = folder;
    const std::wstring path = folder + L"log.html";
    base::LogMessage(*base::MainLog::Instance(), L"%s(0): Html log file\n") % path;
    base::MainLog::Instance()->AddHtmlOutput(new base::LogUtf8File(path));
    return VN_OK;
}

} // namespace app
