#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/archive/ArchiveTable.h"
#include "shell/sound/SoundCueTable.h"
#include "shell/sound/SoundManager.h"
#include "tests/engine/archive/ArchiveFixture.h"
#include "tests/shell/support/FakeSetting.h"
#include "tests/platform/audio/FakeWaveOutput.h"

namespace {

// A WAV whose samples tell which file it is.
std::vector<uint8_t> Marked(int16_t mark, size_t count = 64) { return MakeTestWav(std::vector<int16_t>(count, mark)); }

int16_t MarkOf(const WaveOutputLog::Start& start) {
    int16_t v;
    std::memcpy(&v, start.samples, 2);
    return v;
}

struct SoundManagerTest : DataFolderTest {
    std::shared_ptr<WaveOutputLog> log = std::make_shared<WaveOutputLog>();

    std::unique_ptr<CSoundManager> Make(bool soundOn, bool withOutput = true) {
        FakeSetting setting;
        setting.soundOn = soundOn;
        return std::unique_ptr<CSoundManager>(
            new CSoundManager(&setting, withOutput ? std::unique_ptr<IWaveOutput>(new CFakeWaveOutput(log)) : nullptr));
    }
    // Loose WAVs for a few cues: chime 1, tvRegi 2, conga3 (file conga2.wav) 3.
    void WriteCues() {
        WriteFile("sound/chime000.wav", Marked(1));
        WriteFile("sound/register.wav", Marked(2));
        WriteFile("sound/conga2.wav", Marked(3));
        WriteText("sound/open.wav", "not a wav");
    }
};

TEST_F(SoundManagerTest, LoadsTheCuesWhoseWavsAreThereAndLeavesOutTheRest) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(true);
    EXPECT_EQ(ConsoleObjectRegistry().count("sound"), 1u);
    // The data folder holds no archive: only the loose files count.
    struct Case {
        const char* cue;
        bool loaded;
    } cases[] = {{"chime", true},   {"tvRegi", true}, {"conga3", true},
                 {"conga2", false}, {"open", false},  {"tvJingle", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(sound->HasCue(c.cue), c.loaded) << c.cue;
        EXPECT_EQ(sound->PlayCue(c.cue), c.loaded) << c.cue;
    }
    EXPECT_TRUE(sound->PlayCue("conga3"));
    ASSERT_FALSE(log->starts.empty());
    EXPECT_EQ(MarkOf(log->starts.back()), 3);
    sound.reset();
    EXPECT_EQ(ConsoleObjectRegistry().count("sound"), 0u);
    EXPECT_TRUE(log->destroyed);
}

TEST_F(SoundManagerTest, UnknownCueIsRefusedAndChangesNothing) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(true);
    ASSERT_TRUE(sound->PlayCue("chime"));
    for (const char* name : {"", "nosuch", "Chime", "chime ", "sound/chime000.wav"})
        EXPECT_FALSE(sound->PlayCue(name)) << name;
    ASSERT_EQ(log->starts.size(), 1u);
    EXPECT_EQ(MarkOf(log->starts[0]), 1);
    EXPECT_EQ(log->stops, 0);
    EXPECT_TRUE(log->playing);
}

TEST_F(SoundManagerTest, ANewCueReplacesTheOnePlaying) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(true);
    ASSERT_TRUE(sound->PlayCue("chime"));
    ASSERT_TRUE(sound->PlayCue("tvRegi"));
    CSoundCue cue(sound.get(), "conga3");
    EXPECT_TRUE(cue.Invoke());
    ASSERT_EQ(log->starts.size(), 3u);
    EXPECT_EQ(MarkOf(log->starts[1]), 2);
    EXPECT_EQ(MarkOf(log->starts[2]), 3);
    EXPECT_FALSE(CSoundCue(sound.get(), "nosuch").Invoke());
    EXPECT_FALSE(CSoundCue(nullptr, "chime").Invoke());
}

TEST_F(SoundManagerTest, SoundOffAtStartStillLoadsAndSwitchingOnPlaysAtOnce) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(false);
    EXPECT_FALSE(sound->IsEnabled());
    EXPECT_TRUE(sound->HasCue("chime"));
    EXPECT_FALSE(sound->PlayCue("chime"));
    EXPECT_TRUE(log->starts.empty());
    sound->SetEnabled(true);
    EXPECT_TRUE(log->starts.empty()); // switching on plays nothing by itself
    ASSERT_TRUE(sound->PlayCue("chime"));
    ASSERT_EQ(log->starts.size(), 1u);
    EXPECT_EQ(MarkOf(log->starts[0]), 1);
}

TEST_F(SoundManagerTest, SwitchingOffStopsThePlayingCue) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(true);
    ASSERT_TRUE(sound->PlayCue("tvRegi"));
    sound->SetEnabled(false);
    EXPECT_FALSE(log->playing);
    EXPECT_EQ(log->stops, 1);
    EXPECT_FALSE(sound->PlayCue("tvRegi"));
    EXPECT_EQ(log->starts.size(), 1u);
}

TEST_F(SoundManagerTest, WithoutAnOutputCuesLoadButNothingPlays) {
    WriteCues();
    std::unique_ptr<CSoundManager> sound = Make(true, false);
    EXPECT_TRUE(sound->HasCue("chime"));
    EXPECT_FALSE(sound->PlayCue("chime"));
    EXPECT_FALSE(sound->LoadEndingMusic());
    EXPECT_FALSE(sound->PlayEndingMusic());
    sound->StopEndingMusic();
    sound->SetEnabled(false);
}

TEST_F(SoundManagerTest, EndingMusicLoadsPlaysAndStops) {
    std::unique_ptr<CSoundManager> sound = Make(true);
    EXPECT_FALSE(sound->PlayEndingMusic()); // not loaded
    // The data folder has neither the archive nor a loose file: a failure, not a success.
    EXPECT_FALSE(sound->LoadEndingMusic());
    EXPECT_FALSE(sound->PlayEndingMusic());
    WriteFile(ENDING_MUSIC_PATH, Marked(9, 4000));
    ASSERT_TRUE(sound->LoadEndingMusic());
    ASSERT_TRUE(sound->PlayEndingMusic());
    ASSERT_FALSE(log->starts.empty());
    EXPECT_EQ(MarkOf(log->starts.back()), 9);
    EXPECT_EQ(log->starts.back().size, 8000u);
    // Loading again while it plays stops it before its archive goes.
    int stops = log->stops;
    ASSERT_TRUE(sound->LoadEndingMusic());
    EXPECT_EQ(log->stops, stops + 1);
    EXPECT_FALSE(log->playing);
    sound->SetEnabled(false);
    EXPECT_FALSE(sound->PlayEndingMusic());
    sound->SetEnabled(true);
    ASSERT_TRUE(sound->PlayEndingMusic());
    sound->StopEndingMusic();
    EXPECT_FALSE(log->playing);
    EXPECT_FALSE(sound->PlayEndingMusic());
}

// A loose "sound/chime000.wav" beside the program is played in place of the
// archive's copy; the other cues still come from the archive.
TEST_F(SoundManagerTest, LooseChimeWinsOverTheArchive) {
    std::filesystem::path built = std::filesystem::current_path() / "sound" / "sound00.bin";
    bool archive = GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_SOUND, 0)] && std::filesystem::exists(built);
    if (archive) {
        std::filesystem::create_directories(folder / "sound");
        std::filesystem::copy_file(built, folder / "sound" / "sound00.bin");
        // Without the loose file, the archive's chime plays.
        std::unique_ptr<CSoundManager> plain = Make(true);
        ASSERT_TRUE(plain->PlayCue("chime"));
        EXPECT_NE(MarkOf(log->starts.back()), 5);
        EXPECT_GT(log->starts.back().size, 1000u);
    }
    WriteFile("sound/chime000.wav", Marked(5, 100));
    std::unique_ptr<CSoundManager> sound = Make(true);
    ASSERT_TRUE(sound->PlayCue("chime"));
    EXPECT_EQ(MarkOf(log->starts.back()), 5);
    EXPECT_EQ(log->starts.back().size, 200u);
    EXPECT_EQ(sound->HasCue("tvRegi"), archive);
}

TEST(SoundCueTable, NamesEveryCueOnceWithItsWav) {
    std::set<std::string> cues, paths;
    for (const SoundCueRow& row : SOUND_CUE_TABLE) {
        cues.insert(row.cue);
        paths.insert(row.path);
        EXPECT_EQ(std::string(row.path).rfind("sound/", 0), 0u) << row.path;
        EXPECT_EQ(std::string(row.path).substr(std::strlen(row.path) - 4), ".wav") << row.path;
    }
    EXPECT_EQ(cues.size(), size_t(SOUND_CUE_COUNT));
    EXPECT_EQ(paths.size(), size_t(SOUND_CUE_COUNT));
    EXPECT_STREQ(SOUND_CUE_TABLE[9].cue, "conga3");
    EXPECT_STREQ(SOUND_CUE_TABLE[9].path, "sound/conga2.wav");
    EXPECT_STREQ(SOUND_CUE_TABLE[21].path, "sound/cansel.wav");
}

} // namespace
