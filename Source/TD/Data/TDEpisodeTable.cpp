#include "Source/TD/Data/TDEpisodeTable.h"

#include "Core/Base/StringTokenizer.h"
#include "Core/Base/StringUtils.h"
#include "Source/TD/Data/TDUtil.h"

#include <vector>

void TDEpisodeTable::load(const std::wstring& path)
{
    parse(readGameTextFile(path, true), path);
}

void TDEpisodeTable::parse(const std::string& text, const std::wstring& path)
{
    forEachSheetLine(text,
                     [&](int lineNumber, const std::string& line)
                     {
                         std::vector<std::string> fields;
                         base::StringTokenizer<std::string> tokens(line, ';', false);
                         std::string field;
                         while (tokens.Next(field))
                             fields.push_back(field);
                         if (fields.size() != 5)
                         {
                             logDataProblem(path, L"line " + std::to_wstring(lineNumber) +
                                                      L" does not have five fields; it is skipped");
                             return;
                         }
                         TDEpisodeInfo info;
                         const int id = leadingInt(fields[0].c_str());
                         info.levelCount = leadingInt(fields[1].c_str());
                         info.hardcoreLevelCount = leadingInt(fields[2].c_str());
                         info.starsRequired = leadingInt(fields[3].c_str());
                         if (id < 0 || info.levelCount < 0 || info.hardcoreLevelCount < 0)
                         {
                             logDataProblem(
                                 path, L"line " + std::to_wstring(lineNumber) +
                                           L" gives a negative episode id or level count; it is skipped");
                             return;
                         }
                         if (id >= kMaxEpisodes || info.levelCount > kMaxLevelCount ||
                             info.hardcoreLevelCount > kMaxLevelCount)
                         {
                             logDataProblem(path, L"line " + std::to_wstring(lineNumber) +
                                                      L" gives an episode id of " + std::to_wstring(kMaxEpisodes) +
                                                      L" or more or a level count above " +
                                                      std::to_wstring(kMaxLevelCount) + L"; it is skipped");
                             return;
                         }
                         mEpisodes[id] = info;
                     });
}

const TDEpisodeInfo* TDEpisodeTable::find(int episode) const
{
    const auto it = mEpisodes.find(episode);
    return it == mEpisodes.end() ? nullptr : &it->second;
}

int TDEpisodeTable::getLevelCount(int episode) const
{
    const TDEpisodeInfo* info = find(episode);
    return info ? info->levelCount : -1;
}

int TDEpisodeTable::getHardcoreLevelCount(int episode) const
{
    const TDEpisodeInfo* info = find(episode);
    return info ? info->hardcoreLevelCount : -1;
}

int TDEpisodeTable::getStarsRequired(int episode) const
{
    const TDEpisodeInfo* info = find(episode);
    return info ? info->starsRequired : -1;
}

int TDEpisodeTable::getTotalLevelCount(int* episodes) const
{
    int levels = 0;
    int walked = 0;
    for (const TDEpisodeInfo* info = find(0); info; info = find(++walked))
    {
        if (info->levelCount > 0)
            levels += info->levelCount + info->hardcoreLevelCount;
    }
    if (episodes)
        *episodes = walked;
    return levels;
}

bool TDEpisodeTable::isEpisodeUnlocked(int episode, int totalStars) const
{
    const TDEpisodeInfo* info = find(episode);
    return info && info->levelCount > 0 && totalStars >= info->starsRequired;
}

bool TDEpisodeTable::isHardcoreUnlocked(int episode, int episodeStars) const
{
    const TDEpisodeInfo* info = find(episode);
    return info && static_cast<long long>(episodeStars) >= 3LL * info->levelCount;
}
