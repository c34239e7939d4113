#include "tools/sound/SoundContent.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "engine/core/Random.h"
#include "tools/media/ImageWriters.h"
#include "shell/sound/SoundCueTable.h"

namespace {

constexpr float PI = 3.14159265f;
using Curve = std::function<float(float)>; // a value over time in seconds

// White noise in -1..1 from the program's generator.
std::vector<float> Noise(int rate, float duration, unsigned seed) {
    std::vector<float> out(size_t(duration * rate));
    SeedRand(seed);
    for (float& s : out)
        s = RandUnit() * 2.0f - 1.0f;
    return out;
}

// One-pole low-pass with a cutoff (Hz) that may change over time.
void LowPass(std::vector<float>& s, int rate, const Curve& cutoff) {
    float y = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        float a = 1.0f - std::exp(-2.0f * PI * cutoff(float(i) / rate) / rate);
        y += a * (s[i] - y);
        s[i] = y;
    }
}

// What a low-pass at the cutoff takes away.
void HighPass(std::vector<float>& s, int rate, float cutoff) {
    std::vector<float> low = s;
    LowPass(low, rate, [cutoff](float) { return cutoff; });
    for (size_t i = 0; i < s.size(); ++i)
        s[i] -= low[i];
}

// A band of noise: low-passed twice at the top, minus the part below the bottom.
std::vector<float> NoiseBand(int rate, float duration, unsigned seed, const Curve& top, float bottom) {
    std::vector<float> s = Noise(rate, duration, seed);
    LowPass(s, rate, top);
    LowPass(s, rate, top);
    if (bottom > 0)
        HighPass(s, rate, bottom);
    return s;
}

void Shape(std::vector<float>& s, int rate, const Curve& gain) {
    for (size_t i = 0; i < s.size(); ++i)
        s[i] *= gain(float(i) / rate);
}

// Gain of a hit: a few milliseconds up, then falling by e every decay seconds.
Curve Hit(float decay, float attack = 0.002f) {
    return [=](float t) { return std::min(1.0f, t / attack) * std::exp(-t / decay); };
}

// A struck metal body: inharmonic partials, the higher ones dying sooner.
void AddBell(CWaveSynth& w, float start, float duration, float f, float amplitude, float decay) {
    const float ratios[] = {1.0f, 2.0f, 2.76f, 4.07f, 5.4f};
    const float gains[] = {1.0f, 0.45f, 0.35f, 0.2f, 0.12f};
    for (int i = 0; i < 5; ++i) {
        float fi = f * ratios[i];
        if (fi < w.SampleRate() * 0.45f)
            w.AddStrike(start, duration, fi, fi, 0, amplitude * gains[i], decay / (1.0f + 0.6f * i));
    }
}

// A tone whose frequency and gain follow curves, with harmonics of the given weights.
void AddVoice(CWaveSynth& w, float start, float duration, const Curve& frequency, const Curve& gain,
              const std::vector<float>& harmonics) {
    int rate = w.SampleRate();
    std::vector<float> s(size_t(duration * rate));
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = float(i) / rate;
        float v = 0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            v += harmonics[h] * std::sin(2.0f * PI * float((h + 1) * phase - std::floor((h + 1) * phase)));
        s[i] = gain(t) * v;
        phase += frequency(t) / rate;
    }
    w.AddSamples(start, s);
}

// A short knock on wood: a damped body tone and the click of the contact.
void AddKnock(CWaveSynth& w, float start, float f, float amplitude, unsigned seed) {
    int rate = w.SampleRate();
    w.AddStrike(start, 0.12f, f * 1.15f, f, 0.01f, amplitude, 0.025f);
    w.AddStrike(start, 0.08f, f * 2.7f, f * 2.6f, 0.01f, amplitude * 0.35f, 0.012f);
    std::vector<float> click = NoiseBand(
        rate, 0.03f, seed, [](float) { return 5000.0f; }, 800.0f);
    Shape(click, rate, Hit(0.005f, 0.0005f));
    w.AddSamples(start, click, amplitude * 1.5f);
}

// A conga: a skin tone that drops a little in pitch as it rings, and the
// slap of the hand.
CWaveSynth Conga(float f, float decay, float slap, unsigned seed) {
    CWaveSynth w(CUE_SAMPLE_RATE);
    w.AddStrike(0, 0.6f, f * 1.5f, f, 0.012f, 1.0f, decay);
    w.AddStrike(0, 0.4f, f * 2.3f, f * 2.1f, 0.01f, 0.25f, decay * 0.4f);
    std::vector<float> hand = NoiseBand(
        CUE_SAMPLE_RATE, 0.08f, seed, [](float) { return 3500.0f; }, 300.0f);
    Shape(hand, CUE_SAMPLE_RATE, Hit(0.012f, 0.0008f));
    w.AddSamples(0, hand, slap);
    return w;
}

// The door: the latch, the hinge's creak and the thud of it shutting.
void AddLatch(CWaveSynth& w, float start, unsigned seed) {
    AddKnock(w, start, 1900.0f, 0.5f, seed);
    AddKnock(w, start + 0.05f, 2400.0f, 0.35f, seed + 1);
}
void AddCreak(CWaveSynth& w, float start, float duration, float f0, float f1) {
    AddVoice(
        w, start, duration, [=](float t) { return f0 + (f1 - f0) * t / duration + 25.0f * std::sin(2 * PI * 7 * t); },
        [=](float t) { return 0.25f * std::sin(PI * t / duration) * (0.6f + 0.4f * std::sin(2 * PI * 23 * t)); },
        {0.3f, 0.5f, 0.4f, 0.3f, 0.2f, 0.15f});
}
void AddThud(CWaveSynth& w, float start, unsigned seed) {
    w.AddStrike(start, 0.45f, 140.0f, 70.0f, 0.03f, 0.9f, 0.09f);
    std::vector<float> body = NoiseBand(
        w.SampleRate(), 0.3f, seed, [](float) { return 900.0f; }, 60.0f);
    Shape(body, w.SampleRate(), Hit(0.05f, 0.001f));
    w.AddSamples(start, body, 2.0f);
    AddKnock(w, start + 0.005f, 700.0f, 0.3f, seed + 7);
}

// A drop of water: a bubble whose pitch rises quickly as it closes.
void AddDrip(CWaveSynth& w, float start, float f, float amplitude) {
    AddVoice(
        w, start, 0.09f, [=](float t) { return f * (1.0f + 14.0f * t); },
        [=](float t) { return amplitude * std::min(1.0f, t / 0.002f) * std::exp(-t / 0.025f); }, {1.0f});
}

CWaveSynth TvJingle() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float bpm = 168;
    Envelope lead;
    lead.attack = 0.005f;
    lead.decay = 0.12f;
    lead.sustain = 0.5f;
    lead.release = 0.04f;
    // "Ta-da-da-DAA": a rising fanfare that lands on a held major chord.
    std::vector<JingleNote> melody = {{72, 0.5f}, {76, 0.5f}, {79, 0.5f},  {84, 1.0f},  {-1, 0.25f},
                                      {81, 0.5f}, {84, 0.5f}, {88, 0.75f}, {86, 0.25f}, {84, 2.0f}};
    float end = w.AddJingle(0.0f, melody, bpm, 0.32f, WAVE_SQUARE, lead);
    w.AddJingle(0.0f, melody, bpm, 0.22f, WAVE_TRIANGLE, lead);
    std::vector<JingleNote> bass = {{48, 1.0f}, {55, 1.0f}, {53, 1.0f}, {55, 1.25f}, {48, 2.0f}};
    float beat = 60.0f / bpm;
    w.AddJingle(end - 6.25f * beat, bass, bpm, 0.4f, WAVE_TRIANGLE, lead);
    for (int note : {60, 64, 67})
        w.AddTone(end - 2.0f * beat, 2.0f * beat, NoteFrequency(note), 0.12f, WAVE_SAW, lead);
    AddBell(w, end - 2.0f * beat, 1.2f, NoteFrequency(96), 0.25f, 0.4f);
    return w;
}

CWaveSynth Register() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    // Keys, the drawer sliding out, then the bell: "ka-ching".
    AddKnock(w, 0.0f, 1500.0f, 0.5f, 11);
    AddKnock(w, 0.07f, 1700.0f, 0.5f, 12);
    std::vector<float> drawer = NoiseBand(
        CUE_SAMPLE_RATE, 0.22f, 13, [](float) { return 1600.0f; }, 150.0f);
    Shape(drawer, CUE_SAMPLE_RATE,
          [](float t) { return std::sin(PI * t / 0.22f) * (0.7f + 0.3f * std::sin(2 * PI * 60 * t)); });
    w.AddSamples(0.14f, drawer, 1.2f);
    AddBell(w, 0.3f, 1.3f, 2093.0f, 0.6f, 0.45f);
    AddBell(w, 0.3f, 1.3f, 2637.0f, 0.35f, 0.4f);
    AddKnock(w, 0.36f, 600.0f, 0.4f, 14);
    return w;
}

CWaveSynth Chime() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    // Ding-dong: a high bar, then a low one.
    AddBell(w, 0.0f, 2.2f, NoteFrequency(76), 0.7f, 0.8f);
    AddBell(w, 0.55f, 2.0f, NoteFrequency(72), 0.7f, 0.9f);
    return w;
}

CWaveSynth LightSaber() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 1.4f;
    // The hum, bending up and swelling as the blade swings through the air.
    auto swing = [](float t) { return std::exp(-std::pow((t - 0.55f) / 0.18f, 2.0f)); };
    AddVoice(
        w, 0, length, [&](float t) { return 95.0f + 40.0f * swing(t) + 2.0f * std::sin(2 * PI * 9 * t); },
        [&](float t) {
            return std::min(1.0f, t / 0.08f) * std::min(1.0f, (length - t) / 0.2f) * (0.35f + 0.5f * swing(t));
        },
        {0.7f, 0.5f, 0.45f, 0.3f, 0.25f, 0.2f, 0.15f, 0.1f});
    std::vector<float> air = NoiseBand(
        CUE_SAMPLE_RATE, length, 21, [&](float t) { return 600.0f + 2500.0f * swing(t); }, 200.0f);
    Shape(air, CUE_SAMPLE_RATE, [&](float t) { return 1.5f * swing(t); });
    w.AddSamples(0, air);
    return w;
}

// A shimmer of sines sweeping together, trembling: materialising (up) or vanishing (down).
CWaveSynth Teleport(bool in) {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 1.3f;
    for (int i = 0; i < 4; ++i) {
        float low = 220.0f * (1.0f + 0.5f * i), high = 1760.0f * (1.0f + 0.25f * i);
        float f0 = in ? low : high, f1 = in ? high : low;
        AddVoice(
            w, 0.03f * i, length,
            [=](float t) { return f0 * std::pow(f1 / f0, t / length) * (1.0f + 0.01f * std::sin(2 * PI * 6 * t)); },
            [=](float t) {
                float env = in ? std::min(1.0f, 0.15f + t / 0.9f) * std::min(1.0f, (length - t) / 0.15f)
                               : std::min(1.0f, t / 0.05f) * std::max(0.0f, 1.0f - t / length);
                return 0.25f * env * (0.6f + 0.4f * std::sin(2 * PI * 16 * t));
            },
            {1.0f, 0.2f});
    }
    return w;
}

CWaveSynth Otama() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    // A ladle tapping the pot: two small metallic clinks.
    AddBell(w, 0.0f, 0.5f, 1850.0f, 0.6f, 0.12f);
    AddKnock(w, 0.0f, 3000.0f, 0.2f, 31);
    AddBell(w, 0.16f, 0.6f, 1790.0f, 0.5f, 0.15f);
    AddKnock(w, 0.16f, 3100.0f, 0.18f, 32);
    return w;
}

CWaveSynth Helicopter() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 2.4f;
    const float bladeRate = 11.0f; // whup-whup-whup
    std::vector<float> chop = NoiseBand(
        CUE_SAMPLE_RATE, length, 41, [](float) { return 700.0f; }, 50.0f);
    Shape(chop, CUE_SAMPLE_RATE, [&](float t) {
        float p = t * bladeRate - std::floor(t * bladeRate);
        return std::exp(-p / 0.18f) * std::min(1.0f, t / 0.2f) * std::min(1.0f, (length - t) / 0.3f);
    });
    w.AddSamples(0, chop, 12.0f);
    AddVoice(
        w, 0, length, [](float t) { return 58.0f + 3.0f * std::sin(2 * PI * 0.7f * t); },
        [&](float t) { return 0.1f * std::min(1.0f, t / 0.2f) * std::min(1.0f, (length - t) / 0.3f); },
        {1.0f, 0.6f, 0.4f, 0.3f});
    return w;
}

CWaveSynth DoorOut() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    AddLatch(w, 0.0f, 51);
    AddCreak(w, 0.12f, 0.7f, 260.0f, 420.0f);
    AddThud(w, 1.0f, 52);
    return w;
}

CWaveSynth DoorIn() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    AddLatch(w, 0.0f, 61);
    AddCreak(w, 0.1f, 0.45f, 380.0f, 300.0f);
    AddThud(w, 0.62f, 62);
    AddLatch(w, 0.7f, 63);
    return w;
}

CWaveSynth ChairKo() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    AddKnock(w, 0.0f, 820.0f, 0.8f, 71);
    return w;
}

CWaveSynth ChairGa() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    // The legs scrape and clatter down.
    std::vector<float> scrape = NoiseBand(
        CUE_SAMPLE_RATE, 0.12f, 81, [](float) { return 2200.0f; }, 300.0f);
    Shape(scrape, CUE_SAMPLE_RATE, [](float t) { return std::sin(PI * t / 0.12f); });
    w.AddSamples(0, scrape, 1.2f);
    AddKnock(w, 0.1f, 560.0f, 1.0f, 82);
    AddKnock(w, 0.145f, 690.0f, 0.8f, 83);
    AddKnock(w, 0.2f, 610.0f, 0.6f, 84);
    AddThud(w, 0.1f, 85);
    return w;
}

CWaveSynth BathSplash() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 1.6f;
    // The body going in: a wide burst of water darkening as it settles, with bubbles.
    std::vector<float> wash = NoiseBand(
        CUE_SAMPLE_RATE, length, 91, [](float t) { return 300.0f + 5000.0f * std::exp(-t / 0.35f); }, 80.0f);
    Shape(wash, CUE_SAMPLE_RATE, [](float t) { return std::min(1.0f, t / 0.03f) * std::exp(-t / 0.45f); });
    w.AddSamples(0, wash, 2.5f);
    w.AddStrike(0.0f, 0.4f, 180.0f, 90.0f, 0.08f, 0.4f, 0.12f);
    SeedRand(92);
    for (int i = 0; i < 14; ++i) {
        float at = 0.15f + RandUnit() * 1.1f;
        AddDrip(w, at, 500.0f + 900.0f * RandUnit(), 0.25f * (1.0f - at / length));
    }
    return w;
}

CWaveSynth Drip(float f, bool twice) {
    CWaveSynth w(CUE_SAMPLE_RATE);
    AddDrip(w, 0.0f, f, 0.8f);
    std::vector<float> ring = NoiseBand(
        CUE_SAMPLE_RATE, 0.1f, 101, [](float) { return 4000.0f; }, 1500.0f);
    Shape(ring, CUE_SAMPLE_RATE, Hit(0.01f));
    w.AddSamples(0.0f, ring, 0.3f);
    if (twice)
        AddDrip(w, 0.22f, f * 1.25f, 0.55f);
    w.AddTone(0, 0.45f, 1.0f, 0.0f); // a little silence after the drop
    return w;
}

CWaveSynth Humming() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    // "Mm-mm-mmm": a little tune hummed with the mouth closed (soft harmonics, vibrato).
    std::vector<JingleNote> tune = {{67, 0.5f}, {69, 0.5f}, {72, 1.0f}, {69, 0.5f}, {67, 0.5f},
                                    {64, 1.0f}, {65, 0.5f}, {67, 0.5f}, {64, 0.5f}, {60, 1.5f}};
    const float beat = 60.0f / 110.0f;
    float t = 0;
    for (const JingleNote& n : tune) {
        float length = n.beats * beat;
        float f = NoteFrequency(n.note - 12);
        AddVoice(
            w, t, length * 1.05f,
            [=](float s) { return f * (1.0f + 0.012f * std::sin(2 * PI * 5.5f * s) * std::min(1.0f, s / 0.25f)); },
            [=](float s) { return 0.5f * std::min(1.0f, s / 0.05f) * std::min(1.0f, (length * 1.05f - s) / 0.08f); },
            {1.0f, 0.35f, 0.12f, 0.05f});
        t += length;
    }
    return w;
}

CWaveSynth Blip(std::vector<int> notes, float noteLength, Waveform wave) {
    CWaveSynth w(CUE_SAMPLE_RATE);
    Envelope e;
    e.attack = 0.003f;
    e.decay = noteLength * 0.6f;
    e.sustain = 0.4f;
    e.release = 0.02f;
    float t = 0;
    for (int n : notes) {
        w.AddTone(t, noteLength, NoteFrequency(n), 0.5f, wave, e);
        w.AddTone(t, noteLength, NoteFrequency(n + 12), 0.12f, WAVE_SINE, e);
        t += noteLength * 0.8f;
    }
    return w;
}

CWaveSynth MenuOpen() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 0.4f;
    std::vector<float> air = NoiseBand(
        CUE_SAMPLE_RATE, length, 111, [&](float t) { return 400.0f + 6000.0f * t / length; }, 150.0f);
    Shape(air, CUE_SAMPLE_RATE, [&](float t) { return std::sin(PI * t / length); });
    w.AddSamples(0, air, 2.0f);
    Envelope e;
    e.attack = 0.02f;
    e.release = 0.15f;
    w.AddChirp(0.05f, 0.3f, 500.0f, 1500.0f, 0.3f, WAVE_TRIANGLE, e);
    return w;
}

CWaveSynth Explosion() {
    CWaveSynth w(CUE_SAMPLE_RATE);
    const float length = 2.8f;
    // The crack of the tube, the blast and its long low rumble.
    std::vector<float> crack = NoiseBand(
        CUE_SAMPLE_RATE, 0.15f, 121, [](float) { return 7000.0f; }, 500.0f);
    Shape(crack, CUE_SAMPLE_RATE, Hit(0.03f, 0.001f));
    w.AddSamples(0, crack, 1.5f);
    std::vector<float> blast = NoiseBand(
        CUE_SAMPLE_RATE, length, 122, [](float t) { return 120.0f + 2500.0f * std::exp(-t / 0.25f); }, 25.0f);
    Shape(blast, CUE_SAMPLE_RATE, [&](float t) {
        return std::min(1.0f, t / 0.01f) * std::exp(-t / 0.7f) * std::min(1.0f, (length - t) / 0.3f);
    });
    w.AddSamples(0, blast, 5.0f);
    w.AddStrike(0, 1.5f, 90.0f, 35.0f, 0.3f, 0.6f, 0.5f);
    // Debris falling.
    SeedRand(123);
    for (int i = 0; i < 8; ++i)
        AddKnock(w, 0.4f + RandUnit() * 1.2f, 900.0f + 1500.0f * RandUnit(), 0.15f, 124 + i);
    return w;
}

// ---- The ending music: C major, 120 beats a minute, 36 bars of four beats.

constexpr float MUSIC_BPM = 120.0f;
constexpr float BEAT = 60.0f / MUSIC_BPM;
constexpr float BAR = 4 * BEAT;
constexpr int MUSIC_BARS = 36;

void Kick(CWaveSynth& w, float t) { w.AddStrike(t, 0.35f, 150.0f, 48.0f, 0.03f, 0.55f, 0.12f); }

void Snare(CWaveSynth& w, float t, unsigned seed) {
    std::vector<float> s = NoiseBand(
        MUSIC_SAMPLE_RATE, 0.2f, seed, [](float) { return 6000.0f; }, 400.0f);
    Shape(s, MUSIC_SAMPLE_RATE, Hit(0.05f, 0.001f));
    w.AddSamples(t, s, 0.5f);
    w.AddStrike(t, 0.12f, 220.0f, 180.0f, 0.02f, 0.15f, 0.04f);
}

void HiHat(CWaveSynth& w, float t, float amplitude, unsigned seed) {
    std::vector<float> s = Noise(MUSIC_SAMPLE_RATE, 0.06f, seed);
    HighPass(s, MUSIC_SAMPLE_RATE, 7000.0f);
    Shape(s, MUSIC_SAMPLE_RATE, Hit(0.015f, 0.0005f));
    w.AddSamples(t, s, amplitude);
}

} // namespace

CWaveSynth MakeEndingMusic() {
    CWaveSynth w(MUSIC_SAMPLE_RATE);
    // Chords of each four-bar phrase (roots as MIDI notes): C G Am F, and C Em F G.
    const int verse[4][3] = {{60, 64, 67}, {59, 62, 67}, {57, 60, 64}, {57, 60, 65}};
    const int bridge[4][3] = {{60, 64, 67}, {59, 64, 67}, {57, 60, 65}, {59, 62, 67}};
    const int verseRoots[4] = {36, 43, 45, 41};
    const int bridgeRoots[4] = {36, 40, 41, 43};
    // The melody of one verse (eight bars) and of the bridge, in beats.
    const std::vector<JingleNote> verseTune = {
        {76, 1}, {74, 0.5f}, {72, 0.5f}, {74, 1}, {76, 1},    {79, 1.5f}, {76, 0.5f}, {74, 2},
        {72, 1}, {74, 0.5f}, {76, 0.5f}, {72, 1}, {69, 1},    {72, 1.5f}, {71, 0.5f}, {72, 2},
        {76, 1}, {79, 0.5f}, {81, 0.5f}, {79, 1}, {76, 1},    {74, 1.5f}, {72, 0.5f}, {74, 2},
        {72, 1}, {69, 0.5f}, {72, 0.5f}, {74, 1}, {76, 0.5f}, {74, 0.5f}, {72, 4}};
    const std::vector<JingleNote> bridgeTune = {
        {79, 1.5f}, {77, 0.5f}, {76, 1}, {72, 1}, {71, 1.5f}, {72, 0.5f}, {74, 2}, {77, 1.5f}, {76, 0.5f},
        {74, 1},    {72, 1},    {74, 3}, {-1, 1}, {79, 1.5f}, {77, 0.5f}, {76, 1}, {79, 1},    {81, 1.5f},
        {79, 0.5f}, {76, 2},    {77, 1}, {76, 1}, {74, 1},    {72, 1},    {71, 2}, {74, 2}};
    Envelope lead;
    lead.attack = 0.01f;
    lead.decay = 0.2f;
    lead.sustain = 0.6f;
    lead.release = 0.08f;
    Envelope pad;
    pad.attack = 0.3f;
    pad.release = 0.4f;
    Envelope pluck;
    pluck.attack = 0.005f;
    pluck.decay = 0.15f;
    pluck.sustain = 0.5f;
    pluck.release = 0.03f;

    // Sections, in bars: intro 4, verse 8, bridge 8, verse 8, verse 4 + outro 4.
    enum Part {
        INTRO,
        VERSE,
        BRIDGE,
        OUTRO
    };
    auto partOf = [](int bar) {
        if (bar < 4)
            return INTRO;
        if (bar < 12)
            return VERSE;
        if (bar < 20)
            return BRIDGE;
        if (bar < 32)
            return VERSE;
        return OUTRO;
    };
    unsigned seed = 1000;
    for (int bar = 0; bar < MUSIC_BARS; ++bar) {
        float t = bar * BAR;
        Part part = partOf(bar);
        int chord = bar % 4;
        const int* notes = part == BRIDGE ? bridge[chord] : verse[chord];
        int root = part == BRIDGE ? bridgeRoots[chord] : verseRoots[chord];
        bool last = bar == MUSIC_BARS - 1;
        // Chords: a soft pad held over the bar.
        for (int i = 0; i < 3; ++i) {
            w.AddTone(t, last ? 2 * BAR : BAR, NoteFrequency(notes[i]), 0.05f, WAVE_TRIANGLE, pad);
            w.AddTone(t, last ? 2 * BAR : BAR, NoteFrequency(notes[i] + 12) * 1.003f, 0.02f, WAVE_SAW, pad);
        }
        if (last) {
            w.AddTone(t, 2 * BAR, NoteFrequency(root), 0.3f, WAVE_TRIANGLE, pad);
            Kick(w, t);
            AddBell(w, t, 3.0f, NoteFrequency(84), 0.08f, 1.0f);
            break;
        }
        // Bass: root and fifth in eighths, with an octave on the offbeat.
        for (int e = 0; e < 8; ++e) {
            int n = e == 3 || e == 7 ? root + 7 : e % 2 ? root + 12 : root;
            w.AddTone(t + e * BEAT / 2, BEAT / 2 * 0.9f, NoteFrequency(n), 0.22f, WAVE_TRIANGLE, pluck);
        }
        // Arpeggio sparkle above the chords, outside the intro's first bars.
        if (bar >= 2)
            for (int s = 0; s < 8; ++s)
                w.AddTone(t + s * BEAT / 2, BEAT / 2, NoteFrequency(notes[s % 3] + 12 + (s >= 4 ? 12 : 0)), 0.035f,
                          WAVE_SINE, pluck);
        // The beat: kick on 1 and 3, snare on 2 and 4, hi-hats in eighths.
        for (int b = 0; b < 4; ++b) {
            if (b % 2 == 0)
                Kick(w, t + b * BEAT);
            else if (part != INTRO || bar >= 2)
                Snare(w, t + b * BEAT, seed++);
            HiHat(w, t + b * BEAT, 0.12f, seed++);
            HiHat(w, t + b * BEAT + BEAT / 2, 0.07f, seed++);
        }
    }
    // Melody: verse at bar 4, bridge at 12, verse at 20, half a verse ending the tune at 28.
    auto sing = [&](float at, const std::vector<JingleNote>& tune) {
        w.AddJingle(at, tune, MUSIC_BPM, 0.16f, WAVE_SQUARE, lead);
        w.AddJingle(at, tune, MUSIC_BPM, 0.14f, WAVE_TRIANGLE, lead);
        // A second voice an octave lower, quieter, for body.
        std::vector<JingleNote> low = tune;
        for (JingleNote& n : low)
            if (n.note >= 0)
                n.note -= 12;
        w.AddJingle(at, low, MUSIC_BPM, 0.06f, WAVE_SINE, lead);
    };
    sing(4 * BAR, verseTune);
    sing(12 * BAR, bridgeTune);
    sing(20 * BAR, verseTune);
    sing(28 * BAR, verseTune);
    w.Normalize(SOUND_PEAK);
    return w;
}

CWaveSynth MakeCueSound(const std::string& cue) {
    CWaveSynth w(CUE_SAMPLE_RATE);
    if (cue == "tvJingle")
        w = TvJingle();
    else if (cue == "tvRegi")
        w = Register();
    else if (cue == "chime")
        w = Chime();
    else if (cue == "lightSaber")
        w = LightSaber();
    else if (cue == "teleporterIn")
        w = Teleport(true);
    else if (cue == "teleporterOut")
        w = Teleport(false);
    else if (cue == "conga0")
        w = Conga(330.0f, 0.12f, 0.4f, 201); // open tone, high
    else if (cue == "conga1")
        w = Conga(392.0f, 0.04f, 1.2f, 202); // slap
    else if (cue == "conga2")
        w = Conga(262.0f, 0.09f, 0.5f, 203); // middle drum
    else if (cue == "conga3")
        w = Conga(196.0f, 0.16f, 0.35f, 204); // low drum
    else if (cue == "otama")
        w = Otama();
    else if (cue == "bodyBlade")
        w = Helicopter();
    else if (cue == "doorOut")
        w = DoorOut();
    else if (cue == "doorIn")
        w = DoorIn();
    else if (cue == "chair0")
        w = ChairKo();
    else if (cue == "chair1")
        w = ChairGa();
    else if (cue == "furo0")
        w = BathSplash();
    else if (cue == "furo1")
        w = Drip(700.0f, false);
    else if (cue == "furo2")
        w = Drip(520.0f, true);
    else if (cue == "furo3")
        w = Humming();
    else if (cue == "kettei")
        w = Blip({88, 93}, 0.08f, WAVE_SQUARE);
    else if (cue == "cancel")
        w = Blip({81, 76}, 0.1f, WAVE_TRIANGLE);
    else if (cue == "open")
        w = MenuOpen();
    else if (cue == "tvBroken")
        w = Explosion();
    else
        return w;
    w.Normalize(SOUND_PEAK);
    return w;
}

namespace {

bool WriteFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes,
               std::string& error) {
    std::string path = (std::filesystem::path(folder) / name).string();
    if (!WriteBytesToFile(path, bytes)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string FileName(const std::string& entryPath) { return std::filesystem::path(entryPath).filename().string(); }

} // namespace

bool BuildSoundContent(const std::string& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string manifest = "# The sound cues and the ending music: <archive> <entry path> <file>\n";
    for (const SoundCueRow& row : SOUND_CUE_TABLE) {
        std::string name = FileName(row.path);
        if (!WriteFile(folder, name, MakeCueSound(row.cue).ToWav(), error))
            return false;
        manifest += std::string("sound/sound00.bin ") + row.path + " " + name + "\n";
    }
    std::string music = FileName(ENDING_MUSIC_PATH);
    if (!WriteFile(folder, music, MakeEndingMusic().ToWav(), error))
        return false;
    manifest += std::string("sound/sound01.bin ") + ENDING_MUSIC_PATH + " " + music + "\n";
    return WriteFile(folder, "sound.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
