// The strings table and the spells, unlocks and episode sheets: the first byte picks the reader by its value
// modulo 4 (the seeds start with the digits 0 to 3: strings, spells, unlocks, episodes), the rest is the
// file's text. Whatever a sheet says, every row read can be found again by its key, every level offers its
// new ids, the profile's walks over an episode's levels end, the episode screen's
// star total (nine a level) fits an int, and nothing crashes.
#include "Core/App/Application.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDLevelCursor.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Towers/TDSpellList.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUtil.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

// The fuzzer runs no application.
app::Application* app::CreateApplication()
{
    return nullptr;
}

namespace
{
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

void strings(const std::string& text)
{
    LocalStrings table;
    table.parse(text);
    // Every line's first field is asked for, present or not: a missing key is answered, never crashes.
    for (const std::string& line : lines(text))
    {
        const std::wstring key = base::ToWide(trimBlanks(line.substr(0, line.find(';'))), base::kEncodingUtf8);
        const std::wstring shown = table.get(key);
        if (shown.find(L"\\n") != std::wstring::npos)
            std::abort(); // every backslash-n pair became a line break
        if (table.get(key) != shown)
            std::abort();
    }
}

void spells(const std::string& text)
{
    TDSpellList list;
    list.parse(text, false);
    for (const TDSpellProto* row : list.getSpells())
    {
        const TDSpellProto* found = list.findById(row->mSpellId);
        if (!found || found->mSpellId != row->mSpellId || row->mIcon || row->mShade)
            std::abort();
    }
}

struct Cursor : TDLevelCursor
{
    int mode = kModeNormal;
    int episode = 0;
    int level = 0;
    int getGameMode() const override { return mode; }
    int getEpisodeIndex() const override { return episode; }
    int getLevelIndex() const override { return level; }
};

void unlocks(const std::string& text)
{
    static Cursor cursor;
    // Made once: its constructor reads the (missing) file; every input replaces both tables.
    static TDUnlocks table(cursor, L"fuzz-missing/unlocks.csv");
    table.parse(text, L"fuzz.csv");
    cursor.mode = kModeNormal;
    // The levels the lines name (the first two fields as the reader takes them).
    for (const std::string& line : lines(text))
    {
        std::string compact;
        for (char c : line)
            if (c != ' ')
                compact.push_back(c);
        const std::size_t first = compact.find(';');
        if (first == std::string::npos)
            continue;
        cursor.episode = leadingInt(compact.c_str());
        cursor.level = leadingInt(compact.c_str() + first + 1);
        if (!table.hasLine(cursor.episode, cursor.level))
            continue;
        std::vector<int> fresh;
        table.getNewIds(fresh);
        for (int id : fresh)
        {
            if (id < -1 || !table.isUnlocked(id))
                std::abort();
        }
    }
    cursor.mode = kModeHardcore;
    if (!table.isUnlocked(INT_MIN))
        std::abort();
}

struct UserFolder
{
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("corv-fuzz-tables-" + std::to_string(::getpid()));
    ~UserFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void episodes(const std::string& text)
{
    static Cursor cursor;
    static TDEpisodeTable table;
    // The profile the level screens ask, in memory only: nothing here saves it, and its folder (made for this
    // process) is removed at exit.
    static UserFolder user;
    static TDProfile* profile = []
    {
        file::UserDataFileContainer::Instance()->SetPath(user.path.wstring() + L"/");
        file::Profiles::mNoSaveAtExit = true;
        return new TDProfile(cursor, table);
    }();
    table = TDEpisodeTable();
    table.parse(text, L"fuzz.csv");
    int walked = 0;
    const int total = table.getTotalLevelCount(&walked);
    if (total < 0 || walked > table.getEpisodeCount())
        std::abort();
    long long sum = 0;
    for (int e = 0; e < walked; ++e)
    {
        const TDEpisodeInfo* info = table.find(e);
        if (!info || info->levelCount < 0 || info->hardcoreLevelCount < 0)
            std::abort();
        if (info->levelCount > 0)
            sum += static_cast<long long>(info->levelCount) + info->hardcoreLevelCount;
        table.isEpisodeUnlocked(e, INT_MAX);
        table.isHardcoreUnlocked(e, INT_MAX);
        // A profile without results stands at the first level of every mode that has levels.
        for (int mode : {kModeNormal, kModeHardcore})
        {
            const int count = mode == kModeHardcore ? info->hardcoreLevelCount : info->levelCount;
            if (profile->getProgress(e, mode) != (count > 0 ? 0 : -1))
                std::abort();
        }
    }
    // The latest level walks the levels of the last open episode.
    int episode = 0;
    int level = 0;
    profile->findLatestLevel(episode, level);
    if (level != 0)
        std::abort();
    if (total != sum || sum > INT_MAX / 9)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A missing key is appended to the loose strings sheet of the data root, which is the current folder.
    if (std::filesystem::exists(LocalStrings::kSheet))
    {
        std::fprintf(stderr, "fuzz_tdtables: run it where no td/strings_en.csv lies; it would be written\n");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4)
    {
    case 0:
        strings(text);
        break;
    case 1:
        spells(text);
        break;
    case 2:
        unlocks(text);
        break;
    default:
        episodes(text);
        break;
    }
    return 0;
}
