#include "Source/TD/Units/TDWaves.h"

#include "Core/Base/Containers.h"
#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>

namespace
{
int intAttribute(const tinyxml2::XMLElement& element, const char* name, int fallback)
{
    const char* text = element.Attribute(name);
    return text ? leadingInt(text) : fallback;
}

// A number of the level file; a value that is there but no usable number reads as the fallback, with a
// warning.
float floatAttribute(const tinyxml2::XMLElement& element, const char* name, float fallback,
                     const std::wstring& source)
{
    const char* text = element.Attribute(name);
    float value = fallback;
    if (text && !readLeadingFloat(text, &value))
        logDataProblem(source, L"wave value \"" + base::ToWide(text, base::kEncodingUtf8) +
                                   L"\" is no usable number; its default is used");
    return value;
}
} // namespace

TDWaveEntry::TDWaveEntry(TDWaveProto* wave) : mWave(wave) {}

void TDWaveEntry::loadFromXML(const tinyxml2::XMLElement& element, const std::wstring& source)
{
    mUnitId = intAttribute(element, "id", 0);
    mUpgrade = 1;
    if (const char* upgrade = element.Attribute("upgrade"))
    {
        // A tier below the first would pick some other tier's record; the first is what was meant.
        if (!readLeadingInt(upgrade, &mUpgrade) || mUpgrade < 0)
        {
            logDataProblem(source, L"wave entry of unit " + std::to_wstring(mUnitId) + L" has the tier \"" +
                                       base::ToWide(upgrade, base::kEncodingUtf8) +
                                       L"\"; its first tier is used");
            mUpgrade = 1;
        }
        else if (mUpgrade > kMaxTier + 1)
        {
            logDataProblem(source, L"wave entry of unit " + std::to_wstring(mUnitId) + L" has the tier " +
                                       std::to_wstring(mUpgrade) + L"; its highest tier is used");
            mUpgrade = kMaxTier + 1;
        }
    }
    mX = 0.0f;
    mY = 0.0f;
    // A spawn time that is no number, or so late that nobody could wait for it, would hold the level open
    // for ever: the unit comes at the wave's start instead.
    const char* x = element.Attribute("x");
    if (x && (!readLeadingFloat(x, &mX) || std::fabs(mX) > static_cast<float>(kLatestSpawn) * 45.0f))
    {
        logDataProblem(source, L"wave entry time x \"" + base::ToWide(x, base::kEncodingUtf8) +
                                   L"\" is no time within an hour; the unit comes at the wave's start");
        mX = 0.0f;
    }
    const char* y = element.Attribute("y");
    if (y && !readLeadingFloat(y, &mY))
    {
        logDataProblem(source, L"wave entry lane y \"" + base::ToWide(y, base::kEncodingUtf8) +
                                   L"\" is no usable number; the middle lane 0 is used");
        mY = 0.0f;
    }
}

TDWaveProto::~TDWaveProto()
{
    base::DeleteAll(mEntries);
}

void TDWaveProto::loadFromXML(const tinyxml2::XMLElement& element, const std::wstring& source)
{
    mTimeout = intAttribute(element, "timeout", 0);
    if (mTimeout > TDWaveEntry::kLatestSpawn || mTimeout < -TDWaveEntry::kLatestSpawn)
    {
        logDataProblem(source, L"wave timeout " + std::to_wstring(mTimeout) +
                                   L" is not within an hour; the wave starts at once");
        mTimeout = 0;
    }
    mSpawnId = intAttribute(element, "spawn", 0);
    mWipeAward = intAttribute(element, "wipeAward", 0);
    mScale = floatAttribute(element, "scale", 1.0f, source);
    // A negative scale would spawn the wave backwards in time, a huge one never.
    if (mScale < 0.0f || mScale > kMaxScale)
    {
        logDataProblem(source, L"wave scale " +
                                   base::ToWide(element.Attribute("scale"), base::kEncodingUtf8) +
                                   L" is out of range; 1 is used");
        mScale = 1.0f;
    }
    if (mScale == 0.0f)
        mScale = 1.0f;
    mLinked = intAttribute(element, "linked", -1);
    base::DeleteAll(mEntries);
    for (const tinyxml2::XMLElement* child = element.FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        auto* entry = new TDWaveEntry(this);
        entry->loadFromXML(*child, source);
        entry->mSpawned = 0;
        mEntries.push_back(entry);
    }
    mSpawnedCount = 0;
}

bool TDWaveProto::isCompleted() const
{
    return std::all_of(mEntries.begin(), mEntries.end(),
                       [](const TDWaveEntry* entry)
                       { return entry->mState == kEntryKilled || entry->mState == kEntryEscaped; });
}

void TDWaveProto::onEntryDone(int, float, TDWaveEntry*) {}

TDWaves::~TDWaves()
{
    clearUnits();
    clearWaves();
}

void TDWaves::clearUnits()
{
    base::DeleteAll(mUnits);
}

void TDWaves::clearWaves()
{
    mActive.clear();
    base::DeleteAll(mWaves);
}

void TDWaves::load(const tinyxml2::XMLElement* waves, const std::wstring& source)
{
    clearWaves();
    mNextWave = 0;
    mClock = 0.0f;
    mBaseDelay = 0.0f;
    mSkipLogged = false;
    if (!waves)
        return;
    mBaseDelay = floatAttribute(*waves, "timeout", 0.0f, source);
    // The base delay counts in whole seconds; one beyond the int range would be no delay a player could sit
    // through anyway.
    const int baseDelay = truncToInt(std::floor(mBaseDelay));
    for (const tinyxml2::XMLElement* element = waves->FirstChildElement("wave"); element;
         element = element->NextSiblingElement())
    {
        auto* wave = new TDWaveProto;
        wave->mMap = mMap;
        wave->loadFromXML(*element, source);
        if (wave->mEntries.empty())
        {
            delete wave;
            continue;
        }
        base::LogMessage(*base::MainLog::Instance(), L"LOADED ENEMY WAVE=(timeout=%d, spawner=%d)\n") %
            wave->mTimeout % wave->mSpawnId;
        const long long sum = static_cast<long long>(wave->mTimeout) + baseDelay;
        wave->mTimeout = static_cast<int>(std::clamp<long long>(sum, INT32_MIN, INT32_MAX));
        mWaves.push_back(wave);
    }
    checkWaveLinks(source);
}

void TDWaves::checkWaveLinks(const std::wstring& source)
{
    // Units of waves naming no point of the level would have nowhere to come from; the entries that cannot
    // be placed are then skipped without a line each.
    if (mMap && !mWaves.empty() && !mMap->getFirstSpawnPoint())
    {
        logDataProblem(source, L"no route point is a spawn point; waves that name no point of the level "
                               L"bring no units");
        mSkipLogged = true;
    }
    for (std::size_t i = 0; i < mWaves.size(); ++i)
    {
        TDWaveProto& wave = *mWaves[i];
        const std::wstring name = L"wave " + std::to_wstring(i + 1);
        // A wave linked to no group head would never start, and its units would silently never come.
        const int linked = wave.mLinked;
        if (linked != -1 && (linked < 0 || linked >= static_cast<int>(mWaves.size()) ||
                             mWaves[static_cast<std::size_t>(linked)]->mLinked != -1))
        {
            logDataProblem(source, name + L" is linked to wave index " + std::to_wstring(linked) +
                                       L", which starts no group; it comes as a group of its own");
            wave.mLinked = -1;
        }
        if (mMap && wave.mSpawnId != -1 && !mMap->findPoint(wave.mSpawnId) && mMap->getFirstSpawnPoint())
            logDataProblem(source, name + L" names the spawn point " + std::to_wstring(wave.mSpawnId) +
                                       L", which the level lacks; its units come at the first spawn point");
    }
}

void TDWaves::reset()
{
    mActive.clear();
    mCompletedGroups = 0;
    for (TDWaveProto* wave : mWaves)
    {
        wave->mStarted = 0;
        wave->mClock = 0.0f;
        wave->mSpawnedCount = 0;
        std::vector<TDWaveEntry*> kept;
        for (TDWaveEntry* entry : wave->mEntries)
        {
            if (entry->mX == -1.0f)
            {
                delete entry;
                continue;
            }
            entry->mSpawned = 0;
            entry->mState = kEntryWaiting;
            kept.push_back(entry);
        }
        wave->mEntries = std::move(kept);
    }
}

void TDWaves::updateModifiers(float dt)
{
    for (TDUnit* unit : mUnits)
        for (std::size_t i = 0; i < unit->mModifiers.size(); ++i)
            unit->mModifiers[i]->update(unit, dt);
}

void TDWaves::updateUnits(float dt)
{
    for (std::size_t i = 0; i < mUnits.size(); ++i)
        mUnits[i]->update(dt);
}

void TDWaves::clearSpeedReductions()
{
    for (TDUnit* unit : mUnits)
        unit->mSpeedReduction = 0.0f;
}

int TDWaves::getWaveCount() const
{
    return static_cast<int>(std::count_if(mWaves.begin(), mWaves.end(),
                                          [](const TDWaveProto* wave) { return wave->mLinked == -1; }));
}

float TDWaves::countdown() const
{
    float best = 10000000.0f;
    for (const TDWaveProto* wave : mActive)
    {
        float earliest = 0.0f;
        for (const TDWaveEntry* entry : wave->mEntries)
            earliest = std::min(earliest, entry->mX);
        best = std::min(best, static_cast<float>(wave->mTimeout) + earliest / 45.0f);
    }
    return best;
}

void TDWaves::jumpClock(float time)
{
    mClock = time;
    for (TDWaveProto* wave : mActive)
        wave->mClock = time;
}

bool TDWaves::allCompleted() const
{
    return std::all_of(mActive.begin(), mActive.end(),
                       [](const TDWaveProto* wave) { return wave->isCompleted(); });
}

void TDWaves::startLinked()
{
    for (TDWaveProto* wave : mWaves)
        if (wave->mLinked == mNextWave)
        {
            wave->mStarted = 1;
            mActive.push_back(wave);
        }
}

TDUnit* TDWaves::add(TDWaveEntry* entry, TDPoint* spawn)
{
    auto* unit = new TDUnit(mMap, entry);
    unit->mSpawnPoint = spawn;
    if (entry)
        entry->mSpawned = 1;
    mUnits.push_back(unit);
    return unit;
}

TDUnit* TDWaves::unitAt(int x, int y) const
{
    for (TDUnit* unit : mUnits)
        if (unit->hitTest(x, y))
            return unit;
    return nullptr;
}

void TDWaves::unitsInRadius(float x, float y, float diameter, std::vector<TDUnit*>& out) const
{
    for (TDUnit* unit : mUnits)
    {
        const math::Point2 at = unit->getTargetPoint();
        if (pointDistance(x, y, at.x, at.y) <= diameter * 0.5f)
            out.push_back(unit);
    }
}

void TDWaves::addUnit(TDUnit* unit)
{
    if (unit)
        mUnits.push_back(unit);
}
