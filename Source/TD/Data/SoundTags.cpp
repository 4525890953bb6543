#include "Source/TD/Data/SoundTags.h"

#include "Core/Base/StringTokenizer.h"
#include "Core/Base/StringUtils.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUtil.h"
#include "Core/File/FileManager.h"

namespace w7
{
SoundTags::~SoundTags()
{
    Clear();
}

std::vector<base::SingletoneBase*> SoundTags::GetDependencies()
{
    return {SoundSystem::Instance()};
}

void SoundTags::Clear()
{
    for (Entry* entry : mEntries)
    {
        delete entry->sound;
        delete entry;
    }
    mEntries.clear();
}

bool SoundTags::Load(const std::wstring& path)
{
    Clear();
    forEachSheetLine(readGameTextFile(path, true),
                     [&](int, const std::string& line)
                     {
                         base::StringTokenizer<std::string> fields(line, ';', false);
                         std::string tag, file, volume, group, unused;
                         fields.Next(tag);
                         fields.Next(file);
                         const bool hasVolume = fields.Next(volume);
                         const bool hasGroup = fields.Next(group);
                         fields.Next(unused);
                         if (!tag.empty() && tag[0] == '#')
                             return;

                         auto* entry = new Entry;
                         entry->tag = base::ToWide(tag, base::kEncodingUtf8);
                         entry->file = base::ToWide(file, base::kEncodingUtf8);
                         if (hasVolume)
                             readLeadingFloat(volume.c_str(), &entry->volume);
                         if (hasGroup)
                             entry->group = leadingInt(group.c_str());
                         if (!file.empty())
                             entry->sound = SoundSystem::Instance()->CreateSound("td/data/sound/" + file);
                         mEntries.push_back(entry);
                     });
    // Every effect of the game would be silent without a word; a missing sheet has had its line already.
    if (mEntries.empty() && file::FileManager::Instance()->Exists(path))
        logDataProblem(path, L"holds no sounds; the game is silent");
    return true;
}

bool SoundTags::Play(const std::wstring& tag)
{
    for (Entry* entry : mEntries)
    {
        if (entry->tag != tag || entry->file.empty())
            continue;
        if (mObserver)
            mObserver->onSoundTag(tag, true);
        if (entry->sound)
        {
            const float volume =
                mProfile ? mProfile->getSoundVolume() : SoundSystem::Instance()->GetSoundVolume();
            entry->sound->SetVolume(volume, 0.0f);
            entry->sound->Play();
        }
        return true;
    }
    if (mObserver)
        mObserver->onSoundTag(tag, false);
    return false;
}

void PlayMusic(const std::wstring& file)
{
    if (SoundObserver* observer = SoundTags::Instance()->GetObserver())
        observer->onMusic(file);
    SoundSystem* sound = SoundSystem::Instance();
    sound->SetPlaylist({base::ToNarrow(file, base::kEncodingUtf8)});
    if (TDProfile* profile = SoundTags::Instance()->GetProfile())
        sound->SetMusicVolume(profile->getMusicVolume());
}

void StopMusic()
{
    if (SoundObserver* observer = SoundTags::Instance()->GetObserver())
        observer->onMusic(std::wstring());
    SoundSystem::Instance()->PlayMusic(std::string());
}

std::wstring LevelMusic(int episode)
{
    const int track = episode >= 0 && episode <= 6 ? episode + 1 : 1;
    return L"td/data/music/ingame" + std::to_wstring(track) + L".ogg";
}
} // namespace w7
