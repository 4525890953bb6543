#pragma once

#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDMap;
class TDPoint;
class TDUnit;
class TDWaveProto;

// The state of a spawn entry: waiting, its unit on the map, killed, escaped.
enum TDWaveEntryState : int
{
    kEntryWaiting = -1,
    kEntryKilled = 2,
    kEntryEscaped = 3,
    kEntryOnMap = 7
};

// One spawn entry of a wave: which unit comes, when (x, in 1/45 s after the wave's timeout), on which lane
// (y) and at which tier (upgrade).
class TDWaveEntry
{
public:
    // A new entry of the wave: waiting, tier 1, not spawned.
    explicit TDWaveEntry(TDWaveProto* wave);

    // Spawn times past this many seconds after a wave's start are damaged data: nobody waits that long.
    static constexpr int kLatestSpawn = 3600;
    // The highest tier a wave entry may ask for (a unit has its base record and a few branches).
    static constexpr int kMaxTier = 16;

    // "id", "upgrade", "x" and "y" of a spawn element (0 when absent; an absent "upgrade" is the first tier,
    // 1: read as 0 it would pick the top tier). A value that is no number, a negative tier, a tier past
    // kMaxTier and a time past an hour are logged against source and read as the first tier or 0.
    void loadFromXML(const tinyxml2::XMLElement& element, const std::wstring& source);
    void setState(int state) { mState = state; }

    int mState = kEntryWaiting;
    int mUnitId = 0;
    int mUpgrade = 1;
    float mX = 0.0f;
    float mY = 0.0f;
    int mSpawned = 0;
    // The owning wave, not owned.
    TDWaveProto* mWave = nullptr;
};

// One wave of a level: its spawn point, timing and entries in file order (entries made while the level runs
// are appended).
class TDWaveProto
{
public:
    TDWaveProto() = default;
    TDWaveProto(const TDWaveProto&) = delete;
    TDWaveProto& operator=(const TDWaveProto&) = delete;
    virtual ~TDWaveProto();

    // Larger time scales are damaged data (the wave would come after the player gave up).
    static constexpr float kMaxScale = 10.0f;

    // The attributes and every child element as an entry; source names the level in warnings.
    void loadFromXML(const tinyxml2::XMLElement& element, const std::wstring& source);

    // Advances the wave's clock and, once started, spawns what is due into the map.
    virtual void update(float dt);
    // Spawns every entry whose time has come: timeout + scale x x / 45 seconds after the wave started.
    void spawnDue();
    // Every entry killed or escaped (true without entries).
    virtual bool isCompleted() const;
    // Told how one of its entries ended; the plain wave does nothing with it.
    virtual void onEntryDone(int protoId, float reportedValue, TDWaveEntry* entry);

    float mClock = 0.0f;
    int mStarted = 0;
    // -1: the first spawn point of the map.
    int mSpawnId = 0;
    // Seconds from the wave's start to its first spawn, the level's base delay included.
    int mTimeout = 0;
    int mWipeAward = 0;
    // -1 starts its own group, else the index of the wave it starts with.
    int mLinked = -1;
    float mScale = 1.0f;
    int mSpawnedCount = 0;
    // The map it spawns into, not owned; null spawns nothing.
    TDMap* mMap = nullptr;
    // Owned, in file order.
    std::vector<TDWaveEntry*> mEntries;
};

// The waves of a level and its live units. One group of waves runs at a time (the wave at the next index
// that is linked to none, and every wave linked to that index); its entries spawn when due, finished units
// are recorded as killed or escaped, a wave whose units were all killed pays its wipe award, and the level
// is won on the first update after the last group finished.
class TDWaves
{
public:
    TDWaves() = default;
    TDWaves(const TDWaves&) = delete;
    TDWaves& operator=(const TDWaves&) = delete;
    // Deletes every unit, then every wave.
    ~TDWaves();

    // The map the waves spawn into, end and pay on; null leaves the manager counting time only.
    void setMap(TDMap* map) { mMap = map; }
    TDMap* getMap() const { return mMap; }

    // Replaces the waves by those of a `waves` element (null: none): the base delay "timeout" (its integer
    // part is added to each wave's own), the first `wave` child and every element after it; waves without
    // entries are dropped. Each wave loaded writes one log line. source names the level in warnings.
    void load(const tinyxml2::XMLElement* waves, const std::wstring& source);
    // A wave linked to a wave that starts no group is made a group of its own; one naming a spawn point the
    // level lacks is told about (it spawns at the first spawn point). One log line each.
    void checkWaveLinks(const std::wstring& source);
    // A level start: no active group, no completed group, every wave back to not started; entries made while
    // the level ran (x exactly -1) go, the others wait again.
    void reset();
    // Deletes every live unit.
    void clearUnits();
    // Deletes the waves and their entries.
    void clearWaves();

    // One frame: the clock, the next-wave markers, finished units, then the group that runs or starts.
    void update(float dt);
    // The per-frame steps over the live units (modifiers, the units themselves, the end-of-frame speed
    // reset); each unit does its own part.
    void updateModifiers(float dt);
    void updateUnits(float dt);
    void clearSpeedReductions();

    // The groups: waves not linked to another.
    int getWaveCount() const;
    // The smallest time before a wave of the running group spawns; 10 000 000 when none runs.
    float countdown() const;
    // Sets the manager's clock and every active wave's clock (the early wave call).
    void jumpClock(float time);
    void setClock(float time) { jumpClock(time); }
    // Every active wave completed (true when none is active).
    bool allCompleted() const;
    // Starts every wave linked to the next wave index.
    void startLinked();

    // Makes the unit of an entry at a spawn point and takes it into the live list (owned); the entry counts
    // as spawned. TDMap::spawnUnit gives it its route.
    TDUnit* add(TDWaveEntry* entry, TDPoint* spawn);
    // The live unit under a map point, or null.
    TDUnit* unitAt(int x, int y) const;
    // Appends the live units whose target point lies within diameter x 0.5 of the point, in list order.
    void unitsInRadius(float x, float y, float diameter, std::vector<TDUnit*>& out) const;
    void getUnitsInRange(float x, float y, float size, std::vector<TDUnit*>& out) const
    {
        unitsInRadius(x, y, size, out);
    }
    // Takes a unit into the live list (owned).
    void addUnit(TDUnit* unit);

    const std::vector<TDWaveProto*>& getWaves() const { return mWaves; }
    const std::vector<TDUnit*>& getUnits() const { return mUnits; }

    // Not owned: the running group.
    std::vector<TDWaveProto*> mActive;
    // Owned, in level order.
    std::vector<TDWaveProto*> mWaves;
    // Owned, in spawn order.
    std::vector<TDUnit*> mUnits;
    int mNextWave = 0;
    int mCompletedGroups = 0;
    float mBaseDelay = 0.0f;
    float mClock = 0.0f;
    // An entry that cannot be spawned was logged in this level: one line is enough, the rest are like it.
    bool mSkipLogged = false;

private:
    void removeFinishedUnits();
    void startGroup();
    void updateGroup(float dt);

    TDMap* mMap = nullptr;
};
