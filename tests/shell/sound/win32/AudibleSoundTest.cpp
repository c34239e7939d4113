#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/archive/DataFolder.h"
#include "shell/sound/SoundManager.h"
#include "tests/shell/support/FakeSetting.h"
#include "tests/shell/support/SoundMonitor.h"

// The sound manager on the system's wave output, heard through the PulseAudio
// sink that the test script starts: parec records the sink's monitor while a
// cue plays, and the cue's samples are looked for in the recording.
namespace {

using namespace sound_monitor;


struct AudibleSound : ::testing::Test {
    void SetUp() override {
        setting.soundOn = true;
        monitor = std::getenv("DESKMATE_SOUND_MONITOR");
        server = std::getenv("PULSE_SERVER");
        if (!monitor || !server)
            GTEST_SKIP() << "no PulseAudio sink to record (scripts/test starts one)";
        saved = GetDataFolder();
        SetDataFolder(std::filesystem::current_path().string());
    }
    void TearDown() override {
        if (monitor && server)
            SetDataFolder(saved);
    }

    const char* monitor = nullptr;
    const char* server = nullptr;
    std::string saved;
    FakeSetting setting;
};

TEST_F(AudibleSound, PlayedCueIsHeardWithItsOwnSamples) {
    std::vector<float> chime = CueSamples("chime");
    ASSERT_GT(chime.size(), size_t(RATE));
    CSoundManager sound(&setting);
    ASSERT_TRUE(sound.HasCue("chime"));
    Recording recording;
    ASSERT_TRUE(recording.Start(monitor, server));
    Sleep(300);
    ASSERT_TRUE(sound.PlayCue("chime"));
    std::vector<float> heard;
    ASSERT_TRUE(recording.Finish(4 * RATE, heard));
    ASSERT_GT(heard.size(), size_t(3 * RATE));
    // Silence before the cue, then the chime, loud and with its own waveform:
    // each stretch of 46 ms of its first second is found in the recording,
    // in order, at its own level. A busy machine may drop a few milliseconds
    // of output, so each stretch is looked for a little later too, and some
    // stretches may miss or come out of the mixer at another level (under
    // load Wine's output underruns now and then); half of them must match.
    size_t onset = Onset(heard, 0.05f);
    ASSERT_LT(onset, heard.size() - 2 * RATE) << "nothing was heard";
    EXPECT_LT(Rms(heard, 0, RATE / 10), 0.001f);
    const size_t fileOnset = Onset(chime, 0.05f), stretch = 1024, stretches = RATE / stretch;
    size_t found = 0, level = 0, expected = onset, last = 0;
    for (size_t k = 0; k < stretches; ++k) {
        std::vector<float> pattern(chime.begin() + fileOnset + k * stretch,
                                   chime.begin() + fileOnset + (k + 1) * stretch);
        size_t lag = 0;
        float match = BestMatch(heard, pattern, expected + RATE / 8, RATE / 8 + RATE / 50, lag);
        if (match > 0.9f && lag >= last) {
            ++found;
            float ratio = Rms(heard, lag, stretch) / Rms(pattern, 0, stretch);
            level += ratio > 0.7f && ratio < 1.3f;
            expected = lag + stretch;
            last = lag;
        } else {
            expected += stretch;
        }
    }
    EXPECT_GE(found, stretches / 2) << "of " << stretches << " stretches, onset " << onset;
    EXPECT_GE(level, found / 2) << "at their level";
}

TEST_F(AudibleSound, SwitchingSoundOffSilencesThePlayingCue) {
    // The humming lasts for seconds; the sound goes off 600 ms into it.
    std::vector<float> hum = CueSamples("furo3");
    ASSERT_GT(hum.size(), size_t(3 * RATE));
    size_t fileOnset = Onset(hum, 0.05f);
    // Without the switch it would still be heard from 1.2 s to 2.8 s.
    for (size_t at = fileOnset + RATE * 12 / 10; at < fileOnset + RATE * 28 / 10; at += RATE / 10)
        ASSERT_GT(Rms(hum, at, RATE / 10), 0.02f) << at;
    CSoundManager sound(&setting);
    Recording recording;
    ASSERT_TRUE(recording.Start(monitor, server));
    Sleep(300);
    ASSERT_TRUE(sound.PlayCue("furo3"));
    Sleep(600);
    sound.SetEnabled(false);
    EXPECT_FALSE(sound.PlayCue("furo3"));
    std::vector<float> heard;
    ASSERT_TRUE(recording.Finish(4 * RATE, heard));
    size_t onset = Onset(heard, 0.05f);
    ASSERT_LT(onset, heard.size() - 3 * RATE) << "nothing was heard";
    EXPECT_GT(Rms(heard, onset, RATE * 4 / 10), 0.05f);
    for (size_t at = onset + RATE * 12 / 10; at < onset + RATE * 28 / 10; at += RATE / 10)
        EXPECT_LT(Rms(heard, at, RATE / 10), 0.001f) << "still heard " << (at - onset) * 1000 / RATE << " ms in";
}

TEST_F(AudibleSound, EndingMusicIsHeardUntilItStops) {
    CSoundManager sound(&setting);
    ASSERT_TRUE(sound.LoadEndingMusic());
    Recording recording;
    ASSERT_TRUE(recording.Start(monitor, server));
    Sleep(300);
    ASSERT_TRUE(sound.PlayEndingMusic());
    Sleep(1500);
    sound.StopEndingMusic();
    EXPECT_FALSE(sound.PlayEndingMusic());
    std::vector<float> heard;
    ASSERT_TRUE(recording.Finish(4 * RATE, heard));
    size_t onset = Onset(heard, 0.02f);
    ASSERT_LT(onset, heard.size() - 3 * RATE) << "nothing was heard";
    // The tune plays on for the second and a half, then stops.
    for (size_t at = onset; at < onset + RATE; at += RATE / 5)
        EXPECT_GT(Rms(heard, at, RATE / 5), 0.03f) << (at - onset) * 1000 / RATE << " ms in";
    for (size_t at = onset + RATE * 22 / 10; at < onset + RATE * 32 / 10; at += RATE / 10)
        EXPECT_LT(Rms(heard, at, RATE / 10), 0.001f) << "still heard " << (at - onset) * 1000 / RATE << " ms in";
}

} // namespace
