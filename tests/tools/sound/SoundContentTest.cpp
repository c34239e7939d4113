#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/archive/ArchiveKey.h"
#include "engine/core/LittleEndian.h"
#include "platform/audio/WavReader.h"
#include "shell/sound/SoundCueTable.h"
#include "tools/sound/SoundContent.h"

namespace {

std::vector<float> Decode(const std::vector<uint8_t>& wav, WaveFormat& format) {
    WaveData data = {};
    EXPECT_EQ(ReadWav(wav.data(), wav.size(), data), WAV_OK);
    std::vector<float> out;
    if (!data.samples)
        return out;
    format = data.format;
    for (uint32_t i = 0; i + 1 < data.size; i += 2)
        out.push_back(float(int16_t(ReadLe16(data.samples + i))) / 32768.0f);
    return out;
}

float Peak(const std::vector<float>& s) {
    float p = 0;
    for (float v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// Strength of one frequency over a stretch (Goertzel), per sample.
float Power(const std::vector<float>& s, int rate, float f, size_t from, size_t count) {
    double w = 2 * M_PI * f / rate, c = 2 * std::cos(w), a = 0, b = 0;
    for (size_t i = from; i < from + count && i < s.size(); ++i) {
        double n = s[i] + c * a - b;
        b = a;
        a = n;
    }
    return float(std::sqrt(std::max(0.0, a * a + b * b - c * a * b)) / count);
}

// The strongest frequency in lo..hi (steps of 2 Hz) over a stretch.
float Strongest(const std::vector<float>& s, int rate, float lo, float hi, size_t from, size_t count) {
    float best = lo, bestPower = -1;
    for (float f = lo; f <= hi; f += 2) {
        float p = Power(s, rate, f, from, count);
        if (p > bestPower)
            bestPower = p, best = f;
    }
    return best;
}

// The power-weighted mean frequency in lo..hi over a stretch.
float Centroid(const std::vector<float>& s, int rate, float lo, float hi, size_t from, size_t count) {
    double sum = 0, weight = 0;
    for (float f = lo; f <= hi; f += 10) {
        double p = Power(s, rate, f, from, count);
        sum += f * p * p;
        weight += p * p;
    }
    return weight > 0 ? float(sum / weight) : 0.0f;
}

// Loudness (RMS) in windows of the given length.
std::vector<float> Loudness(const std::vector<float>& s, size_t window) {
    std::vector<float> out;
    for (size_t at = 0; at + window <= s.size(); at += window) {
        double sum = 0;
        for (size_t i = at; i < at + window; ++i)
            sum += s[i] * s[i];
        out.push_back(float(std::sqrt(sum / window)));
    }
    return out;
}

struct Sound {
    WaveFormat format = {};
    std::vector<float> samples;
};

Sound Cue(const std::string& name) {
    Sound s;
    s.samples = Decode(MakeCueSound(name).ToWav(), s.format);
    return s;
}

TEST(SoundContent, EveryCueIsAnAudibleUnclippedWavOfItsOwn) {
    std::map<size_t, std::string> lengths;
    for (const SoundCueRow& row : SOUND_CUE_TABLE) {
        Sound s = Cue(row.cue);
        ASSERT_FALSE(s.samples.empty()) << row.cue;
        EXPECT_EQ(s.format.sampleRate, uint32_t(CUE_SAMPLE_RATE)) << row.cue;
        EXPECT_EQ(s.format.channels, 1) << row.cue;
        float peak = Peak(s.samples);
        EXPECT_LT(peak, 0.95f) << row.cue;
        EXPECT_GT(peak, 0.8f) << row.cue;
        float seconds = float(s.samples.size()) / CUE_SAMPLE_RATE;
        EXPECT_GT(seconds, 0.05f) << row.cue;
        EXPECT_LT(seconds, 5.0f) << row.cue; // effects stay short: a new cue cuts the old
        // Silence neither at the start nor at the very end.
        EXPECT_GT(Peak(std::vector<float>(s.samples.begin(), s.samples.begin() + 441)), 0.01f) << row.cue;
        EXPECT_LT(std::fabs(s.samples.back()), 0.02f) << row.cue;
    }
    EXPECT_TRUE(MakeCueSound("nosuch").Samples().empty());
}

TEST(SoundContent, DrumsBellsAndDripsHaveTheirPitch) {
    struct Case {
        const char* cue;
        float lo, hi; // search band
        float expect; // strongest frequency in its first 0.1 s after the attack
        float from;   // seconds
    } cases[] = {
        {"conga0", 150, 500, 330, 0.03f},    {"conga1", 150, 500, 392, 0.01f}, {"conga2", 150, 500, 262, 0.03f},
        {"conga3", 150, 500, 196, 0.03f},    {"chime", 400, 800, 659, 0.05f},  {"otama", 1000, 2500, 1850, 0.01f},
        {"tvRegi", 1500, 3000, 2093, 0.35f},
    };
    for (const Case& c : cases) {
        Sound s = Cue(c.cue);
        float f = Strongest(s.samples, CUE_SAMPLE_RATE, c.lo, c.hi, size_t(c.from * CUE_SAMPLE_RATE), 2205);
        EXPECT_NEAR(f, c.expect, c.expect * 0.04f) << c.cue;
    }
    // Ding then dong: the chime's second bar is lower.
    Sound chime = Cue("chime");
    EXPECT_NEAR(Strongest(chime.samples, CUE_SAMPLE_RATE, 400, 800, size_t(0.6f * CUE_SAMPLE_RATE), 4410), 523, 20);
    // Teleporting in sweeps up, out sweeps down.
    for (const char* cue : {"teleporterIn", "teleporterOut"}) {
        Sound s = Cue(cue);
        float early = Centroid(s.samples, CUE_SAMPLE_RATE, 150, 4000, size_t(0.1f * CUE_SAMPLE_RATE), 2205);
        float late = Centroid(s.samples, CUE_SAMPLE_RATE, 150, 4000, size_t(1.0f * CUE_SAMPLE_RATE), 2205);
        if (std::strcmp(cue, "teleporterIn") == 0)
            EXPECT_GT(late, early * 1.8f) << cue;
        else
            EXPECT_LT(late * 1.8f, early) << cue;
    }
}

TEST(SoundContent, NoisesHaveTheirShape) {
    // The helicopter beats at its blade rate: its loudness in 5 ms windows
    // repeats best after about 91 ms (11 beats a second).
    Sound heli = Cue("bodyBlade");
    std::vector<float> loud = Loudness(heli.samples, CUE_SAMPLE_RATE / 200);
    float mean = 0;
    for (float v : loud)
        mean += v / loud.size();
    int bestLag = 0;
    double best = -1;
    for (int lag = 10; lag <= 60; ++lag) { // 50 to 300 ms
        double sum = 0;
        for (size_t i = 40; i + lag < loud.size() - 40; ++i)
            sum += (loud[i] - mean) * (loud[i + lag] - mean);
        if (sum > best)
            best = sum, bestLag = lag;
    }
    EXPECT_NEAR(bestLag * 5.0f, 1000.0f / 11.0f, 10.0f);
    // The explosion is low and long; the UI blips are short and high.
    Sound boom = Cue("tvBroken");
    EXPECT_GT(float(boom.samples.size()) / CUE_SAMPLE_RATE, 2.0f);
    EXPECT_GT(Power(boom.samples, CUE_SAMPLE_RATE, 80, 2205, 11025),
              3 * Power(boom.samples, CUE_SAMPLE_RATE, 3000, 2205, 11025));
    for (const char* cue : {"kettei", "cancel"}) {
        Sound s = Cue(cue);
        EXPECT_LT(float(s.samples.size()) / CUE_SAMPLE_RATE, 0.3f) << cue;
        EXPECT_GT(Strongest(s.samples, CUE_SAMPLE_RATE, 200, 2000, 0, 1000), 600) << cue;
    }
    // "kettei" rises, "cancel" falls.
    Sound yes = Cue("kettei"), no = Cue("cancel");
    EXPECT_LT(Strongest(yes.samples, CUE_SAMPLE_RATE, 1000, 2000, 0, 1000),
              Strongest(yes.samples, CUE_SAMPLE_RATE, 1000, 2000, yes.samples.size() - 1300, 1000));
    EXPECT_GT(Strongest(no.samples, CUE_SAMPLE_RATE, 500, 1000, 0, 1000),
              Strongest(no.samples, CUE_SAMPLE_RATE, 500, 1000, no.samples.size() - 1500, 1000));
    // The door ends on the thud of it shutting: its loudest moment is in its second half.
    Sound door = Cue("doorOut");
    std::vector<float> doorLoud = Loudness(door.samples, CUE_SAMPLE_RATE / 50);
    size_t loudest = std::max_element(doorLoud.begin(), doorLoud.end()) - doorLoud.begin();
    EXPECT_GT(loudest, doorLoud.size() / 2);
}

TEST(SoundContent, EndingMusicIsOverAMinuteWithABeatAndABassLine) {
    Sound music;
    music.samples = Decode(MakeEndingMusic().ToWav(), music.format);
    ASSERT_EQ(music.format.sampleRate, uint32_t(MUSIC_SAMPLE_RATE));
    float seconds = float(music.samples.size()) / MUSIC_SAMPLE_RATE;
    EXPECT_GT(seconds, 60.0f);
    EXPECT_LT(seconds, 90.0f);
    float peak = Peak(music.samples);
    EXPECT_LT(peak, 0.95f);
    EXPECT_GT(peak, 0.8f);
    // The beat: in the verse (bar 4 on) loudness peaks on every beat (0.5 s),
    // higher than halfway between two beats.
    const size_t window = MUSIC_SAMPLE_RATE / 50;
    std::vector<float> loud = Loudness(music.samples, window);
    int onBeatLouder = 0, beats = 0;
    for (int beat = 32; beat < 64; ++beat) {
        size_t on = size_t(beat * 0.5f * 50), off = on + 12;
        ++beats;
        if (loud[on] + loud[on + 1] > 1.2f * (loud[off] + loud[off + 1]))
            ++onBeatLouder;
    }
    EXPECT_GE(onBeatLouder, beats * 9 / 10);
    // The bass plays the roots of C, G, A minor and F in bars 4 to 7.
    const float roots[] = {65.4f, 98.0f, 110.0f, 87.3f};
    for (int bar = 4; bar < 8; ++bar) {
        size_t from = size_t(bar * 2.0f * MUSIC_SAMPLE_RATE);
        float f = Strongest(music.samples, MUSIC_SAMPLE_RATE, 60, 120, from, MUSIC_SAMPLE_RATE);
        EXPECT_NEAR(f, roots[bar - 4], 4.0f) << bar;
    }
    // Melody: bar 4 opens on E5.
    EXPECT_NEAR(Strongest(music.samples, MUSIC_SAMPLE_RATE, 500, 1000, size_t(8.05f * MUSIC_SAMPLE_RATE), 8820), 659,
                15);
}

TEST(SoundContent, BuildWritesEveryWavAndTheManifestOfBothArchives) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "deskmate-sound-content";
    std::filesystem::remove_all(folder);
    std::string error;
    ASSERT_TRUE(BuildSoundContent(folder.string(), error)) << error;
    std::ifstream manifest(folder / "sound.manifest");
    std::map<std::string, std::string> rows; // entry path -> archive
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string archive, entry, file;
        words >> archive >> entry >> file;
        rows[entry] = archive;
        EXPECT_TRUE(std::filesystem::exists(folder / file)) << file;
        EXPECT_EQ(MakeArchiveKey(entry), MakeArchiveKey(file)) << line;
    }
    ASSERT_EQ(rows.size(), size_t(SOUND_CUE_COUNT + 1));
    for (const SoundCueRow& row : SOUND_CUE_TABLE)
        EXPECT_EQ(rows[row.path], "sound/sound00.bin") << row.path;
    EXPECT_EQ(rows[ENDING_MUSIC_PATH], "sound/sound01.bin");
    std::filesystem::remove_all(folder);
}

} // namespace
