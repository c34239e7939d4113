#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum Waveform {
    WAVE_SINE,
    WAVE_SQUARE,
    WAVE_TRIANGLE,
    WAVE_SAW,
};

// Gain over a sound's life, in seconds: rises linearly from 0 to 1 over
// attack, falls to sustain over decay, and falls to 0 over the last release
// seconds of the sound. Zero times give hard edges.
struct Envelope {
    float attack = 0.005f;
    float decay = 0.0f;
    float sustain = 1.0f;
    float release = 0.005f;
};

// Gain at time t (seconds from the start) of a sound lasting duration.
float EnvelopeGain(const Envelope& envelope, float t, float duration);
// Equal temperament, note 69 = A4 = 440 Hz.
float NoteFrequency(int midiNote);
// One cycle of the waveform at phase (cycles; only the fraction counts), in -1..1.
float WaveValue(Waveform wave, double phase);

// One note of a jingle: a MIDI note number (negative: a rest) and its length in beats.
struct JingleNote {
    int note;
    float beats;
};

// A mono sound built by mixing tones, chirps and noise into one buffer of
// float samples (-1..1 is full scale), written as 16-bit PCM WAV. Sounds mix
// by adding; the buffer grows to hold what is added.
class CWaveSynth {
public:
    explicit CWaveSynth(int sampleRate = 22050);

    int SampleRate() const { return m_sampleRate; }
    const std::vector<float>& Samples() const { return m_samples; }
    float Duration() const { return float(m_samples.size()) / float(m_sampleRate); }

    void AddTone(float start, float duration, float frequency, float amplitude, Waveform wave = WAVE_SINE,
                 const Envelope& envelope = Envelope());
    // A sweep from f0 to f1, linear in frequency.
    void AddChirp(float start, float duration, float f0, float f1, float amplitude, Waveform wave = WAVE_SINE,
                  const Envelope& envelope = Envelope());
    // White noise from Rand() after SeedRand(seed), through a one-pole
    // low-pass: smoothing 0 keeps it white, towards 1 it darkens.
    void AddNoise(float start, float duration, float amplitude, unsigned int seed, float smoothing = 0.0f,
                  const Envelope& envelope = Envelope());
    // Notes one after another at the tempo (beats per minute); answers the
    // time at which the jingle ends.
    float AddJingle(float start, const std::vector<JingleNote>& notes, float beatsPerMinute, float amplitude,
                    Waveform wave = WAVE_SINE, const Envelope& envelope = Envelope());
    // A struck tone: its frequency glides from f0 towards f1 with time
    // constant glide (seconds) and its gain falls by e every decay seconds,
    // after a 2 ms attack and with a 10 ms fade at the end.
    void AddStrike(float start, float duration, float f0, float f1, float glide, float amplitude, float decay,
                   Waveform wave = WAVE_SINE);
    // Adds samples made elsewhere, at this synth's rate, scaled by gain.
    void AddSamples(float start, const std::vector<float>& samples, float gain = 1.0f);
    // Scales everything so that the largest magnitude becomes peak (nothing
    // happens to silence).
    void Normalize(float peak);
    // The largest magnitude of any sample.
    float Peak() const;

    // RIFF WAVE, PCM, one channel, 16 bits; samples beyond full scale clip.
    std::vector<uint8_t> ToWav() const;

private:
    // The buffer index of a time, growing the buffer to hold count samples from it.
    size_t Reserve(float start, size_t count);
    size_t SampleCount(float duration) const;

    int m_sampleRate;
    std::vector<float> m_samples;
};
