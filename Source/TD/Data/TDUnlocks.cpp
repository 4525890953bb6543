#include "Source/TD/Data/TDUnlocks.h"

#include "Core/Base/StringTokenizer.h"
#include "Core/Base/StringUtils.h"
#include "Core/Base/TextEncoding.h"
#include "Source/TD/Data/TDLevelCursor.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUtil.h"

#include <charconv>

TDUnlocks::TDUnlocks(const TDLevelCursor& cursor, const std::wstring& path) : mCursor(cursor)
{
    parse(readGameTextFile(path, true), path);
}

void TDUnlocks::parse(const std::string& text, const std::wstring& path)
{
    mRunning.clear();
    mUnlockedCount.clear();
    mNew.clear();
    forEachSheetLine(text,
                     [&](int lineNumber, const std::string& line)
                     {
                         base::StringTokenizer<std::string> fields(line, ';', false);
                         std::string episodeText, levelText, idText;
                         const bool hasEpisode = fields.Next(episodeText);
                         const bool hasLevel = fields.Next(levelText);
                         fields.Next(idText);
                         if (!hasEpisode || !hasLevel)
                         {
                             // Without its level the line's ids would land on whatever level came before; it
                             // is left out.
                             logDataProblem(path, L"line " + std::to_wstring(lineNumber) +
                                                      L" names no episode and level; it is skipped");
                             return;
                         }
                         const int episode = leadingInt(episodeText.c_str());
                         const int level = leadingInt(levelText.c_str());

                         std::vector<int> own;
                         base::StringTokenizer<std::string> ids(idText, ',', false);
                         std::string idToken;
                         while (ids.Next(idToken))
                         {
                             if (idToken.empty())
                                 continue;
                             // A whole integer: a prototype id, or -1 for everything. Anything else would
                             // unlock some other id (text reads as 0, the unit row of the first enemy).
                             int id = 0;
                             const char* first = idToken.c_str();
                             const char* last = first + idToken.size();
                             const auto [end, error] = std::from_chars(first, last, id);
                             if (error != std::errc() || end != last || id < -1)
                             {
                                 logDataProblem(path, L"line " + std::to_wstring(lineNumber) +
                                                          L" has the id \"" +
                                                          base::ToWide(idToken, base::kEncodingUtf8) +
                                                          L"\", which is no prototype id; it is skipped");
                                 continue;
                             }
                             own.push_back(id);
                             mRunning.push_back(id);
                         }
                         mNew[episode][level] = own;
                         mUnlockedCount[episode][level] = mRunning.size();
                     });
}

template <typename T>
const T* TDUnlocks::lookup(const Table<T>& table, int episode, int level)
{
    const auto e = table.find(episode);
    if (e == table.end())
        return nullptr;
    const auto l = e->second.find(level);
    return l == e->second.end() ? nullptr : &l->second;
}

std::span<const int> TDUnlocks::unlocked(int episode, int level) const
{
    const std::size_t* count = lookup(mUnlockedCount, episode, level);
    return std::span<const int>(mRunning.data(), count ? *count : 0);
}

bool TDUnlocks::holds(std::span<const int> ids, int id)
{
    for (int listed : ids)
    {
        if (listed == id || listed == -1)
            return true;
    }
    return false;
}

std::vector<int> TDUnlocks::getUnlocked(int episode, int level) const
{
    const std::span<const int> ids = unlocked(episode, level);
    return std::vector<int>(ids.begin(), ids.end());
}

bool TDUnlocks::hasLine(int episode, int level) const
{
    return lookup(mUnlockedCount, episode, level) != nullptr;
}

const std::vector<int>& TDUnlocks::getNew(int episode, int level) const
{
    static const std::vector<int> kNone;
    const std::vector<int>* ids = lookup(mNew, episode, level);
    return ids ? *ids : kNone;
}

bool TDUnlocks::isUnlocked(int id) const
{
    if (mCursor.getGameMode() == kModeHardcore)
        return true;
    return holds(unlocked(mCursor.getEpisodeIndex(), mCursor.getLevelIndex()), id);
}

bool TDUnlocks::isUnlockedByProgress(int id) const
{
    int episode = 0;
    int level = 0;
    if (mProfile)
        mProfile->findLatestLevel(episode, level);
    return holds(unlocked(episode, level), id);
}

void TDUnlocks::getNewIds(std::vector<int>& out) const
{
    out.clear();
    const int episode = mCursor.getEpisodeIndex();
    const int level = mCursor.getLevelIndex();
    if (mCursor.getGameMode() == kModeHardcore)
    {
        if (episode == 0 && level == 0)
            out = {36, 37, 38};
        return;
    }
    out = getNew(episode, level);
}
