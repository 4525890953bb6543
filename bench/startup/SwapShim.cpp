// Preloaded into the game by the start-up benchmark: writes one line per presented frame (its number, the
// process's CPU time and the monotonic clock) and one line the first time a file whose path contains the
// marker text is opened, so the benchmark sees from outside when the game drew and what it had loaded.
// The output file is CORV_SHIM_OUT; the marker texts are CORV_SHIM_MARKS, separated by ';'. With
// CORV_SHIM_CLICKS=n it also clicks n times in the middle of the window, one click a frame, from the second
// frame presented after the first marker's file was opened (a player clicking the splash screens away).
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

namespace
{
struct Shim
{
    std::mutex lock;
    FILE* out = nullptr;
    std::vector<std::string> marks;
    std::vector<bool> seen;
    unsigned swaps = 0;
    unsigned clicks = 0;
    unsigned clickFrom = 0; // the frame number after which clicking starts; 0 while the marker is unseen
    unsigned lastClickFrame = 0;
    SDL_Window* window = nullptr;

    Shim()
    {
        if (const char* n = std::getenv("CORV_SHIM_CLICKS"))
            clicks = static_cast<unsigned>(std::strtoul(n, nullptr, 10));
        if (const char* path = std::getenv("CORV_SHIM_OUT"))
            out = std::fopen(path, "w");
        if (const char* list = std::getenv("CORV_SHIM_MARKS"))
        {
            std::string text = list;
            for (size_t start = 0; start <= text.size();)
            {
                const size_t end = std::min(text.find(';', start), text.size());
                if (end > start)
                    marks.push_back(text.substr(start, end - start));
                start = end + 1;
            }
        }
        seen.assign(marks.size(), false);
    }

    static double Seconds(clockid_t clock)
    {
        timespec t{};
        clock_gettime(clock, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }

    // Written at once: the benchmark may end the process at any moment after the line it waits for.
    void Line(const char* kind, unsigned n, const char* text)
    {
        if (!out)
            return;
        std::fprintf(out, "%s %u %.6f %.6f %s\n", kind, n, Seconds(CLOCK_PROCESS_CPUTIME_ID),
                     Seconds(CLOCK_MONOTONIC), text);
        std::fflush(out);
    }

    void Swapped(SDL_Window* presented)
    {
        std::lock_guard<std::mutex> guard(lock);
        window = presented;
        Line("swap", ++swaps, "-");
    }

    // The events of one click in the middle of the window, when one is due this frame.
    std::vector<SDL_Event> DueClick()
    {
        std::lock_guard<std::mutex> guard(lock);
        std::vector<SDL_Event> events;
        if (clicks == 0 || clickFrom == 0 || swaps <= clickFrom || swaps == lastClickFrame || !window)
            return events;
        static auto size =
            reinterpret_cast<void (*)(SDL_Window*, int*, int*)>(dlsym(RTLD_DEFAULT, "SDL_GetWindowSize"));
        static auto id = reinterpret_cast<Uint32 (*)(SDL_Window*)>(dlsym(RTLD_DEFAULT, "SDL_GetWindowID"));
        int w = 0, h = 0;
        if (!size || !id)
            return events;
        size(window, &w, &h);
        SDL_Event e{};
        e.motion.type = SDL_MOUSEMOTION;
        e.motion.windowID = id(window);
        e.motion.x = w / 2;
        e.motion.y = h / 2;
        events.push_back(e);
        for (const Uint32 type : {Uint32(SDL_MOUSEBUTTONDOWN), Uint32(SDL_MOUSEBUTTONUP)})
        {
            SDL_Event b{};
            b.button.type = type;
            b.button.windowID = id(window);
            b.button.button = SDL_BUTTON_LEFT;
            b.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            b.button.clicks = 1;
            b.button.x = w / 2;
            b.button.y = h / 2;
            events.push_back(b);
        }
        --clicks;
        lastClickFrame = swaps;
        Line("click", swaps, "-");
        return events;
    }

    void Opened(const char* path)
    {
        if (!path || marks.empty())
            return;
        std::lock_guard<std::mutex> guard(lock);
        for (size_t i = 0; i < marks.size(); ++i)
            if (!seen[i] && std::strstr(path, marks[i].c_str()))
            {
                seen[i] = true;
                if (i == 0)
                    clickFrom = swaps + 1;
                Line("open", swaps, marks[i].c_str());
            }
    }
};

Shim& TheShim()
{
    static Shim shim;
    return shim;
}

template <typename F>
F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

mode_t ModeOf(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}
} // namespace

extern "C"
{
    void SDL_GL_SwapWindow(SDL_Window* window)
    {
        static auto real = Next<void (*)(SDL_Window*)>("SDL_GL_SwapWindow");
        real(window);
        TheShim().Swapped(window);
    }

    int SDL_PollEvent(SDL_Event* event)
    {
        static auto real = Next<int (*)(SDL_Event*)>("SDL_PollEvent");
        static thread_local std::vector<SDL_Event> pending;
        if (pending.empty())
        {
            pending = TheShim().DueClick();
            std::reverse(pending.begin(), pending.end());
        }
        if (!pending.empty())
        {
            if (event)
                *event = pending.back();
            pending.pop_back();
            return 1;
        }
        return real(event);
    }

    int open(const char* path, int flags, ...)
    {
        static auto real = Next<int (*)(const char*, int, ...)>("open");
        va_list args;
        va_start(args, flags);
        const mode_t mode = ModeOf(flags, args);
        va_end(args);
        TheShim().Opened(path);
        return real(path, flags, mode);
    }

    int open64(const char* path, int flags, ...)
    {
        static auto real = Next<int (*)(const char*, int, ...)>("open64");
        va_list args;
        va_start(args, flags);
        const mode_t mode = ModeOf(flags, args);
        va_end(args);
        TheShim().Opened(path);
        return real(path, flags, mode);
    }
}
