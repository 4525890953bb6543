#include "Source/TD/Data/SoundTags.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Sound/AudioFixtures.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
class SoundTagsTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        SoundSystem::SetOutputDevice(mixer::kDeviceNone);
        // Names unique to the test: the samples are shared resources of the whole process.
        mPrefix = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (const char* name : {"a.wav", "b.wav", "c.wav"})
            WriteSound(name);
    }

    void WriteSound(const std::string& name)
    {
        const std::vector<std::uint8_t> wav = audiotest::MakeWav(audiotest::WavLayout{});
        Write("td/data/sound/" + mPrefix + name, std::string(wav.begin(), wav.end()));
    }
    std::string File(const char* name) { return mPrefix + name; }

    float VolumeOf(const w7::SoundTags::Entry* entry)
    {
        float volume = -1.0f;
        SoundSystem::Instance()->GetMixer().ChannelGetAttribute(entry->sound->GetChannel(),
                                                                mixer::kAttribVolume, &volume);
        return volume;
    }

    std::string mPrefix;
};

TEST_F(SoundTagsTest, RowsLoseTheirSpacesAndCommentsAreSkipped)
{
    for (const char* lineEnd : {"\n", "\r\n"})
    {
        SCOPED_TRACE(lineEnd[0] == '\r' ? "CR LF" : "LF");
        Write("td/sounds_sheet.csv", "# tag;file;volume;group;unused" + std::string(lineEnd) +       //
                                         "build Tower ; " + File("a.wav") + " ; 0,5 ; 2" + lineEnd + //
                                         "#comment;x.ogg" + lineEnd +                                //
                                         lineEnd +                                                   //
                                         "\tshort;" + File("b") + lineEnd +                          //
                                         "silent;;1;3;9" + lineEnd);
        w7::SoundTags tags;
        EXPECT_TRUE(tags.Load());
        const auto& entries = tags.GetEntries();
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0]->tag, L"buildTower");
        EXPECT_EQ(base::ToNarrow(entries[0]->file, 1), File("a.wav"));
        EXPECT_EQ(entries[0]->volume, 0.0f) << "a decimal comma is no point here: atof reads 0";
        EXPECT_EQ(entries[0]->group, 2);
        EXPECT_EQ(entries[1]->tag, L"short");
        EXPECT_EQ(base::ToNarrow(entries[1]->file, 1), File("b")) << "a row ending at its file name";
        EXPECT_EQ(entries[2]->sound, nullptr);
        EXPECT_EQ(entries[2]->group, 3);
        for (const auto* entry : {entries[0], entries[1]})
        {
            ASSERT_NE(entry->sound, nullptr);
            EXPECT_NE(entry->sound->GetChannel(), 0u) << "the sample is found, extension or not";
        }
    }
}

TEST_F(SoundTagsTest, PlayTakesTheFirstRowOfTheTagThatNamesAFile)
{
    Write("td/sounds_sheet.csv", "shot;;1;0\n"
                                 "shot;" +
                                     File("a.wav") +
                                     ";1;0\n"
                                     "shot;" +
                                     File("b.wav") +
                                     ";1;0\n"
                                     "hit;" +
                                     File("c.wav") +
                                     ";1;0\n"
                                     "gone;" +
                                     File("nothing.wav") + ";1;0\n");
    w7::SoundTags tags;
    tags.Load();
    const auto& e = tags.GetEntries();
    EXPECT_TRUE(tags.Play(L"shot"));
    EXPECT_TRUE(e[1]->sound->IsPlaying());
    EXPECT_FALSE(e[2]->sound->IsPlaying());
    EXPECT_TRUE(tags.Play(L"hit"));
    EXPECT_TRUE(e[1]->sound->IsPlaying()) << "effects of one group do not stop each other";
    EXPECT_TRUE(e[3]->sound->IsPlaying());
    EXPECT_TRUE(tags.Play(L"gone")) << "a missing file still has its (silent) row";
    EXPECT_FALSE(tags.Play(L"unknown"));
    EXPECT_FALSE(tags.Play(L"Shot"));

    tags.Load(L"td/none.csv");
    EXPECT_TRUE(tags.GetEntries().empty()) << "loading again replaces every row";
    EXPECT_FALSE(tags.Play(L"shot"));
}

TEST_F(SoundTagsTest, EffectsAndMusicFollowTheProfileVolumes)
{
    Write("td/sounds_sheet.csv", "shot;" + File("a.wav") + ";0.3;0\n");
    file::Profiles::Instance()->Load();
    tdtest::Cursor cursor;
    TDEpisodeTable episodes;
    TDProfile profile(cursor, episodes);
    profile.setSoundVolume(0.25f);
    profile.setMusicVolume(0.5f);

    w7::SoundTags tags;
    tags.Load();
    tags.SetProfile(&profile);
    tags.Play(L"shot");
    EXPECT_FLOAT_EQ(VolumeOf(tags.GetEntries()[0]), 0.25f) << "the row's own volume takes no part";
    profile.setSoundVolume(0.75f);
    tags.Play(L"shot");
    EXPECT_FLOAT_EQ(VolumeOf(tags.GetEntries()[0]), 0.75f);

    w7::SoundTags::Instance()->SetProfile(&profile);
    const std::string track = "td/data/sound/" + File("b.wav");
    w7::PlayMusic(base::ToWide(track, 1));
    EXPECT_EQ(SoundSystem::Instance()->GetCurrentTrack(), track);
    EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.5f);
    w7::SoundTags::Instance()->SetProfile(nullptr);
    SoundSystem::Instance()->PlayMusic("");
}

TEST(SoundTagsMusicTest, EachEpisodeHasItsTrack)
{
    const std::pair<int, const wchar_t*> cases[] = {{0, L"td/data/music/ingame1.ogg"},
                                                    {3, L"td/data/music/ingame4.ogg"},
                                                    {6, L"td/data/music/ingame7.ogg"},
                                                    {7, L"td/data/music/ingame1.ogg"},
                                                    {-1, L"td/data/music/ingame1.ogg"}};
    for (const auto& [episode, track] : cases)
        EXPECT_EQ(w7::LevelMusic(episode), track) << episode;
    EXPECT_STREQ(w7::kMenuMusic, L"td/data/music/main_menu.ogg");
}
} // namespace
