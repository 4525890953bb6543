#pragma once

#include <map>
#include <string>

// One episode of the campaign.
struct TDEpisodeInfo
{
    int levelCount = 0;         // normal levels
    int hardcoreLevelCount = 0; // hardcore levels
    int starsRequired = 0;      // stars over all episodes that open it
};

// The episodes by id (from 0), from "td/setup_sheet.csv": one line per episode, "id;levels;hardcore
// levels;stars required;unused" (spaces ignored). The map keeps one table and asks it for counts and for
// which episodes are open.
class TDEpisodeTable
{
public:
    // Reads the sheet; every accepted line sets its episode, replacing what an earlier line or an earlier
    // load gave it (entries are never dropped). Lines without exactly five fields are skipped, and so are
    // lines with an id outside [0, kMaxEpisodes) or a level count outside [0, kMaxLevelCount].
    void load(const std::wstring& path = L"td/setup_sheet.csv");
    // The same for a sheet already read into text; path only labels the log lines.
    void parse(const std::string& text, const std::wstring& path);

    // The episode's entry, or null when the table lacks it.
    const TDEpisodeInfo* find(int episode) const;
    int getEpisodeCount() const { return static_cast<int>(mEpisodes.size()); }
    // -1 when the episode is not in the table.
    int getLevelCount(int episode) const;
    int getHardcoreLevelCount(int episode) const;
    int getStarsRequired(int episode) const;
    // Walks episode ids 0, 1, 2 ... while the table has them: the sum of normal and hardcore levels of the
    // episodes that have normal levels; *episodes (when given) receives the number of ids walked.
    int getTotalLevelCount(int* episodes = nullptr) const;

    // An episode opens when it has normal levels and the stars over all episodes and modes reach its
    // requirement.
    bool isEpisodeUnlocked(int episode, int totalStars) const;
    // Its hardcore levels open when the stars collected in it (all modes) reach three per normal level.
    bool isHardcoreUnlocked(int episode, int episodeStars) const;

    // Far beyond any campaign, and small enough that the sums over the table fit an int (the episode screen
    // shows nine stars a level): each episode makes a card, each level a plate and a step of the profile's
    // walks.
    static constexpr int kMaxEpisodes = 1000;
    static constexpr int kMaxLevelCount = 1000;

private:
    std::map<int, TDEpisodeInfo> mEpisodes;
};
