#include "Source/TD/TDUnlocks.h"

#include "Core/Base/StringTokenizer.h"
#include "Core/Base/StringUtils.h"
#include "Source/TD/TDLevelCursor.h"
#include "Source/TD/TDProfile.h"
#include "Source/TD/TDUtil.h"

TDUnlocks::TDUnlocks(const TDLevelCursor& cursor, const std::wstring& path) : mCursor(cursor)
{
    std::vector<int> running;
    forEachSheetLine(readGameTextFile(path, true),
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
                             const int id = leadingInt(idToken.c_str());
                             own.push_back(id);
                             running.push_back(id);
                         }
                         mNew[episode][level] = own;
                         mUnlocked[episode][level] = running;
                     });
}

const std::vector<int>& TDUnlocks::lookup(const Table& table, int episode, int level)
{
    static const std::vector<int> kNone;
    const auto e = table.find(episode);
    if (e == table.end())
        return kNone;
    const auto l = e->second.find(level);
    return l == e->second.end() ? kNone : l->second;
}

bool TDUnlocks::holds(const std::vector<int>& ids, int id)
{
    for (int listed : ids)
    {
        if (listed == id || listed == -1)
            return true;
    }
    return false;
}

const std::vector<int>& TDUnlocks::getUnlocked(int episode, int level) const
{
    return lookup(mUnlocked, episode, level);
}

const std::vector<int>& TDUnlocks::getNew(int episode, int level) const
{
    return lookup(mNew, episode, level);
}

bool TDUnlocks::isUnlocked(int id) const
{
    if (mCursor.getGameMode() == kModeHardcore)
        return true;
    return holds(getUnlocked(mCursor.getEpisodeIndex(), mCursor.getLevelIndex()), id);
}

bool TDUnlocks::isUnlockedByProgress(int id) const
{
    int episode = 0;
    int level = 0;
    if (mProfile)
        mProfile->findLatestLevel(episode, level);
    return holds(getUnlocked(episode, level), id);
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
