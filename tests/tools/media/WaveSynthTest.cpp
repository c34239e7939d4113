#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/core/LittleEndian.h"
#include "engine/core/Random.h"
#include "tools/media/WaveSynth.h"

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) { return ReadLe32(b.data() + at); }
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return ReadLe16(b.data() + at); }
int16_t Sample(const std::vector<uint8_t>& wav, size_t i) { return int16_t(Le16(wav, 44 + i * 2)); }

const Envelope FLAT = {0, 0, 1, 0};

TEST(WaveSynth, WavHeaderDescribesMono16BitPcm) {
    CWaveSynth synth(8000);
    synth.AddTone(0, 0.25f, 440, 0.5f);
    std::vector<uint8_t> wav = synth.ToWav();
    ASSERT_EQ(wav.size(), 44u + 2000u * 2u);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1); // PCM
    EXPECT_EQ(Le16(wav, 22), 1); // mono
    EXPECT_EQ(Le32(wav, 24), 8000u);
    EXPECT_EQ(Le32(wav, 28), 16000u);
    EXPECT_EQ(Le16(wav, 32), 2);
    EXPECT_EQ(Le16(wav, 34), 16);
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);
    EXPECT_EQ(Le32(wav, 40), 4000u);
}

TEST(WaveSynth, TonesHaveTheirWaveformFrequencyAndAmplitude) {
    CWaveSynth synth(8000);
    synth.AddTone(0, 0.1f, 1000, 0.5f, WAVE_SINE, FLAT);
    std::vector<uint8_t> wav = synth.ToWav();
    for (size_t i = 0; i < 800; ++i)
        ASSERT_EQ(Sample(wav, i), std::lround(0.5 * std::sin(2 * 3.14159265358979 * 1000 * i / 8000.0) * 32767)) << i;
    struct Case {
        Waveform wave;
        double phase;
        float value;
    };
    const Case cases[] = {
        {WAVE_SQUARE, 0.1, 1},   {WAVE_SQUARE, 0.6, -1},    {WAVE_TRIANGLE, 0.25, 1},
        {WAVE_TRIANGLE, 0.5, 0}, {WAVE_TRIANGLE, 0.75, -1}, {WAVE_SAW, 0.25, 0.5f},
        {WAVE_SAW, 0.75, -0.5f}, {WAVE_SINE, 1.25, 1},      {WAVE_SQUARE, -0.25, -1},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(WaveValue(c.wave, c.phase), c.value, 1e-5) << int(c.wave) << " at " << c.phase;
}

TEST(WaveSynth, SoundsMixByAddingAndClipAtFullScale) {
    CWaveSynth synth(1000);
    // 100 Hz squares at 1000 samples a second: +a for 5 samples, -a for 5.
    synth.AddTone(0, 0.01f, 100, 0.7f, WAVE_SQUARE, FLAT);
    synth.AddTone(0, 0.015f, 100, 0.7f, WAVE_SQUARE, FLAT);
    synth.AddTone(0.02f, 0.005f, 100, 0.25f, WAVE_SQUARE, FLAT);
    ASSERT_EQ(synth.Samples().size(), 25u) << "the buffer grows to the last sound";
    std::vector<uint8_t> wav = synth.ToWav();
    EXPECT_EQ(Sample(wav, 0), 32767) << "1.4 clips";
    EXPECT_EQ(Sample(wav, 5), -32767) << "-1.4 clips";
    EXPECT_EQ(Sample(wav, 12), std::lround(0.7 * 32767)) << "the longer tone alone";
    EXPECT_EQ(Sample(wav, 17), 0) << "silence between";
    EXPECT_EQ(Sample(wav, 20), std::lround(0.25 * 32767)) << "placed at its start time";
}

TEST(WaveSynth, EnvelopeRisesDecaysHoldsAndReleases) {
    const Envelope e = {0.1f, 0.2f, 0.5f, 0.2f};
    struct Case {
        float t, gain;
    };
    const Case cases[] = {{-0.1f, 0},   {0, 0},       {0.05f, 0.5f}, {0.1f, 1}, {0.2f, 0.75f},
                          {0.3f, 0.5f}, {0.5f, 0.5f}, {0.7f, 0.25f}, {0.8f, 0}, {0.9f, 0}};
    for (const Case& c : cases)
        EXPECT_NEAR(EnvelopeGain(e, c.t, 0.8f), c.gain, 1e-5) << c.t;
    EXPECT_NEAR(EnvelopeGain(Envelope{0, 0, 1, 0}, 0, 1), 1, 1e-6);
    // A sound shorter than attack and release together still starts and ends silent.
    EXPECT_NEAR(EnvelopeGain(e, 0, 0.1f), 0, 1e-6);
    EXPECT_NEAR(EnvelopeGain(e, 0.1f, 0.1f), 0, 1e-6);
    EXPECT_GT(EnvelopeGain(e, 0.05f, 0.1f), 0);
}

// Counts sign changes from negative to positive: one per cycle.
int Cycles(const std::vector<float>& s, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i)
        n += s[i - 1] < 0 && s[i] >= 0;
    return n;
}

TEST(WaveSynth, ChirpSweepsFromItsFirstToItsLastFrequency) {
    CWaveSynth synth(44100);
    synth.AddChirp(0, 1.0f, 200, 1000, 0.8f, WAVE_SINE, FLAT);
    const std::vector<float>& s = synth.Samples();
    ASSERT_EQ(s.size(), 44100u);
    // Over the first and last tenth the mean frequency is 240 and 960 Hz.
    EXPECT_NEAR(Cycles(s, 0, 4410), 24, 1);
    EXPECT_NEAR(Cycles(s, 44100 - 4410, 44100), 96, 1);
    EXPECT_NEAR(Cycles(s, 0, 44100), 600, 1);
}

TEST(WaveSynth, NoiseRepeatsForItsSeedAndSmoothingDarkensIt) {
    auto noise = [](unsigned seed, float smoothing) {
        CWaveSynth synth(8000);
        synth.AddNoise(0, 0.5f, 0.9f, seed, smoothing, FLAT);
        return synth.Samples();
    };
    std::vector<float> a = noise(7, 0), b = noise(7, 0), c = noise(8, 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    SeedRand(7);
    EXPECT_NEAR(a[0], 0.9f * (RandUnit() * 2 - 1), 1e-6) << "drawn from the program's generator";
    float peak = 0, mean = 0;
    for (float v : a) {
        peak = std::max(peak, std::fabs(v));
        mean += v;
    }
    EXPECT_LE(peak, 0.9f);
    EXPECT_GT(peak, 0.8f);
    EXPECT_NEAR(mean / a.size(), 0, 0.05);
    // Smoothing lowers the sample-to-sample change.
    auto roughness = [](const std::vector<float>& s) {
        double sum = 0;
        for (size_t i = 1; i < s.size(); ++i)
            sum += std::fabs(s[i] - s[i - 1]);
        return sum / s.size();
    };
    EXPECT_LT(roughness(noise(7, 0.9f)), roughness(a) * 0.3);
}

TEST(WaveSynth, JingleSequencesNotesAndRestsAtItsTempo) {
    EXPECT_NEAR(NoteFrequency(69), 440, 1e-3);
    EXPECT_NEAR(NoteFrequency(81), 880, 1e-3);
    EXPECT_NEAR(NoteFrequency(60), 261.626, 1e-2);
    CWaveSynth synth(8000);
    // 120 beats a minute: half a second a beat.
    float end = synth.AddJingle(0.25f, {{69, 1}, {-1, 0.5f}, {81, 0.5f}}, 120, 0.5f, WAVE_SINE, FLAT);
    EXPECT_NEAR(end, 0.25f + 1.0f, 1e-6);
    const std::vector<float>& s = synth.Samples();
    ASSERT_EQ(s.size(), 10000u);
    auto energy = [&](float from, float to) {
        double e = 0;
        for (size_t i = size_t(from * 8000); i < size_t(to * 8000); ++i)
            e += s[i] * s[i];
        return e;
    };
    EXPECT_EQ(energy(0, 0.25f), 0);
    EXPECT_EQ(energy(0.76f, 1.0f), 0) << "the rest";
    EXPECT_NEAR(Cycles(s, 2000, 6000), 220, 1);
    EXPECT_NEAR(Cycles(s, 8000, 10000), 220, 1);
    synth.Normalize(0.25f);
    float peak = 0;
    for (float v : synth.Samples())
        peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(peak, 0.25f, 1e-6);
}

TEST(WaveSynth, StrikeGlidesToItsPitchAndDecaysByEEveryDecayTime) {
    CWaveSynth synth(44100);
    synth.AddStrike(0.5f, 1.0f, 880, 440, 0.02f, 0.8f, 0.25f);
    const std::vector<float>& s = synth.Samples();
    ASSERT_EQ(s.size(), size_t(1.5f * 44100));
    for (size_t i = 0; i < 22050; ++i)
        ASSERT_EQ(s[i], 0.0f) << i;
    // After the glide it rings at f1: 44 cycles in a tenth of a second.
    EXPECT_NEAR(Cycles(s, 22050 + 8820, 22050 + 13230), 44, 1);
    // Early on it is still above f1.
    EXPECT_GT(Cycles(s, 22050, 22050 + 882), 6);
    auto peak = [&](size_t from, size_t to) {
        float p = 0;
        for (size_t i = from; i < to; ++i)
            p = std::max(p, std::fabs(s[i]));
        return p;
    };
    float at100 = peak(22050 + 4410, 22050 + 4410 + 110), at350 = peak(22050 + 15435, 22050 + 15435 + 110);
    EXPECT_NEAR(at100, 0.8f * std::exp(-0.1f / 0.25f), 0.02f);
    EXPECT_NEAR(at350 / at100, std::exp(-1.0f), 0.03f);
    EXPECT_NEAR(synth.Peak(), peak(0, s.size()), 1e-7);
    EXPECT_LT(std::fabs(s.back()), 0.01f) << "faded at its end";
}

TEST(WaveSynth, AddedSamplesMixInAtTheirTimeWithTheirGain) {
    CWaveSynth synth(1000);
    synth.AddTone(0, 0.004f, 250, 0.5f, WAVE_SQUARE, FLAT);
    synth.AddSamples(0.002f, {1.0f, -1.0f, 0.5f, 0.25f}, 0.5f);
    std::vector<float> expected = {0.5f, 0.5f, 0.0f, -1.0f, 0.25f, 0.125f};
    ASSERT_EQ(synth.Samples().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(synth.Samples()[i], expected[i], 1e-6) << i;
    EXPECT_NEAR(synth.Peak(), 1.0f, 1e-6);
    synth.AddSamples(0, {});
    EXPECT_EQ(synth.Samples().size(), expected.size());
}

} // namespace
