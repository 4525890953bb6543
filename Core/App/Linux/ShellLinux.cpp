#include "Core/App/Shell.h"

#include "Core/Base/Paths.h"
#include "Core/Base/TextEncoding.h"

#include <SDL.h>

#include <cstdio>

#include <spawn.h>
#include <sys/types.h>

#include <fcntl.h>

extern char** environ;

namespace app
{

VNResultEnum OpenWithShell(const std::wstring& path)
{
    const std::string target = base::ToNativePath(path);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return VN_FAIL;
    // The opener must not write into our terminal or keep our output pipes open after we exit.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(target.c_str()), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? VN_OK : VN_FAIL;
}

VNResultEnum ShowErrorMessage(const std::wstring& title, const std::wstring& text)
{
    const std::string narrowTitle = base::ToNarrow(title, base::kEncodingUtf8);
    const std::string narrowText = base::ToNarrow(text, base::kEncodingUtf8);
    std::fprintf(stderr, "%s: %s\n", narrowTitle.c_str(), narrowText.c_str());
    std::fflush(stderr);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, narrowTitle.c_str(), narrowText.c_str(), nullptr) == 0
               ? VN_OK
               : VN_FAIL;
}

} // namespace app
