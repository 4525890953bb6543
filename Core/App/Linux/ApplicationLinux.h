#pragma once

#include "Core/App/Thread.h"

#include <string>
#include <vector>

namespace app
{

// The platform half of the application: where the executable and the user's data live, the main
// log's first channels, and the entry into the run loop.
class ApplicationLinux : public Thread
{
public:
    // The application task: finishes when its children are done, keeps a lock for AddChild.
    ApplicationLinux();
    // Shows the renderer-unsupported message when that was the reason to stop.
    ~ApplicationLinux() override;

    // Executable folder, the debug-output log channel, the user's data folder. VN_FAIL when a folder
    // cannot be found.
    virtual VNResultEnum PreInit();
    // Init, then the run loop unless Init finished the application (another instance, unusable video).
    virtual VNResultEnum Main();
    virtual VNResultEnum Init();
    virtual VNResultEnum InitHook();

    // Remembers folder as the log folder and attaches "log.html" in it to the main log.
    VNResultEnum InitLogFile(const std::wstring& folder);

    void SetArgs(const std::vector<std::wstring>& args) { mArgs = args; }
    const std::vector<std::wstring>& GetArgs() const { return mArgs; }
    const std::wstring& GetExeFolder() const { return mExeFolder; }
    const std::wstring& GetAppDataFolder() const { return mAppDataFolder; }
    const std::wstring& GetLogFolder() const { return mLogFolder; }
    bool IsAlreadyRunning() const { return mAlreadyRunning; }

    // The folder of the running executable with a trailing '/'; VN_FAIL when it cannot be read.
    static VNResultEnum FindExeFolder(std::wstring& out);
    // The user's data folder by the XDG rule: $XDG_DATA_HOME when it is an absolute path, else
    // home + "/.local/share"; '/'-separated with one trailing '/'. VN_FAIL without either.
    static VNResultEnum FindAppDataFolder(const char* xdgDataHome, const char* home, std::wstring& out);

protected:
    std::wstring mAppDataFolder;
    std::wstring mExeFolder;
    std::wstring mLogFolder;
    std::vector<std::wstring> mArgs;
    bool mAlreadyRunning = false;
    // Set when the renderer cannot run on this system; the text (what is needed, what was found) is shown
    // in a message box at exit.
    bool mRendererUnsupported = false;
    std::wstring mRendererUnsupportedText;
};

} // namespace app
