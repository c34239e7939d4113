#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/core/LittleEndian.h"
#include "platform/audio/WavReader.h"
#include "shell/sound/SoundCueTable.h"
#include "shell/sound/SoundManager.h"
#include "tests/shell/support/FakeSetting.h"

// The sound manager on the system's wave output, heard through the PulseAudio
// sink that the test script starts: parec records the sink's monitor while a
// cue plays, and the cue's samples are looked for in the recording.
namespace {

constexpr int RATE = 22050; // the cues' rate; the recording is made at it

std::vector<float> Samples16(const uint8_t* bytes, size_t size) {
    std::vector<float> out(size / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = float(int16_t(ReadLe16(bytes + 2 * i))) / 32768.0f;
    return out;
}

float Rms(const std::vector<float>& s, size_t from, size_t count) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < from + count && i < s.size(); ++i, ++n)
        sum += double(s[i]) * s[i];
    return n ? float(std::sqrt(sum / n)) : 0.0f;
}

// The first sample louder than the threshold, or the size when there is none.
size_t Onset(const std::vector<float>& s, float threshold) {
    for (size_t i = 0; i < s.size(); ++i)
        if (std::fabs(s[i]) > threshold)
            return i;
    return s.size();
}

// The best normalised correlation of the template with the recording at lags
// near the expected one.
float BestMatch(const std::vector<float>& recording, const std::vector<float>& pattern, size_t around, size_t reach,
                size_t& lag) {
    double pp = 0;
    for (float v : pattern)
        pp += double(v) * v;
    float best = 0;
    size_t first = around > reach ? around - reach : 0;
    for (size_t at = first; at <= around + reach && at + pattern.size() <= recording.size(); ++at) {
        double rp = 0, rr = 0;
        for (size_t i = 0; i < pattern.size(); ++i) {
            rp += double(recording[at + i]) * pattern[i];
            rr += double(recording[at + i]) * recording[at + i];
        }
        float c = rr > 0 && pp > 0 ? float(rp / std::sqrt(rr * pp)) : 0.0f;
        if (c > best)
            best = c, lag = at;
    }
    return best;
}

// parec recording the sink's monitor as mono 16-bit samples at the cues'
// rate into a file of the Unix side's /tmp, until the test has what it
// needs (at most 20 seconds).
class Recording {
public:
    bool Start(const char* monitor, const char* server) {
        std::string stem =
            "/tmp/deskmate-sound-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_count);
        m_raw = stem + ".raw";
        m_stop = stem + ".stop";
        m_done = stem + ".done";
        for (const std::string* path : {&m_raw, &m_stop, &m_done})
            std::remove(WinPath(*path).c_str());
        std::string script = "PULSE_SERVER=" + std::string(server) + " parec -d " + monitor +
                             " --raw --format=s16le --channels=1 --rate=" + std::to_string(RATE) +
                             " --latency-msec=10 >" + m_raw + " 2>/dev/null & p=$!; i=0; while [ ! -e " + m_stop +
                             " ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i+1)); done; kill $p; wait; touch " + m_done;
        std::string command = "/bin/sh -c \"" + script + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return false;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        // Recording has begun once the first samples of silence arrive.
        return WaitForSamples(RATE / 20, 10000);
    }

    // Waits until the recording holds count samples, stops parec and reads
    // what it recorded.
    bool Finish(size_t count, std::vector<float>& samples) {
        WaitForSamples(count, 15000);
        if (FILE* stop = std::fopen(WinPath(m_stop).c_str(), "wb"))
            std::fclose(stop);
        for (int i = 0; i < 500 && !std::filesystem::exists(WinPath(m_done)); ++i)
            Sleep(10);
        FILE* f = std::fopen(WinPath(m_raw).c_str(), "rb");
        if (!f)
            return false;
        std::vector<uint8_t> bytes;
        uint8_t buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
        for (const std::string* path : {&m_raw, &m_stop, &m_done})
            std::remove(WinPath(*path).c_str());
        samples = Samples16(bytes.data(), bytes.size());
        return true;
    }

private:
    // Wine's drive Z: is the Unix root.
    static std::string WinPath(const std::string& unixPath) { return "Z:" + unixPath; }

    bool WaitForSamples(size_t count, int ms) {
        std::error_code ec;
        for (int waited = 0; waited < ms; waited += 10) {
            uintmax_t size = std::filesystem::file_size(WinPath(m_raw), ec);
            if (!ec && size >= 2 * count)
                return true;
            Sleep(10);
        }
        return false;
    }

    static int s_count;
    std::string m_raw, m_stop, m_done;
};
int Recording::s_count = 0;

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

    // The samples of a cue's WAV in the build's sound archive.
    std::vector<float> CueSamples(const char* cue) {
        std::unique_ptr<CDataArchive> archive(OpenSoundArchive(0));
        for (const SoundCueRow& row : SOUND_CUE_TABLE) {
            if (std::string(row.cue) != cue)
                continue;
            ArchiveEntry entry = archive->GetEntry(row.path);
            WaveData wave = {};
            if (entry.data && ReadWav(entry.data, entry.size, wave) == WAV_OK && wave.format.sampleRate == RATE &&
                wave.format.channels == 1 && wave.format.bitsPerSample == 16)
                return Samples16(wave.samples, wave.size);
        }
        return {};
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
