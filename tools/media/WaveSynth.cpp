#include "tools/media/WaveSynth.h"

#include <algorithm>
#include <cmath>

#include "engine/core/LittleEndian.h"
#include "engine/core/Random.h"

namespace {
constexpr double TWO_PI = 6.283185307179586;
}

float EnvelopeGain(const Envelope& e, float t, float duration) {
    if (t < 0 || t > duration)
        return 0.0f;
    float gain = e.attack > 0 ? std::min(1.0f, t / e.attack) : 1.0f;
    if (t >= e.attack) {
        float level = e.decay > 0 ? 1.0f - (1.0f - e.sustain) * std::min(1.0f, (t - e.attack) / e.decay) : e.sustain;
        gain *= level;
    }
    if (e.release > 0)
        gain *= std::min(1.0f, std::max(0.0f, (duration - t) / e.release));
    return gain;
}

float NoteFrequency(int midiNote) { return 440.0f * std::pow(2.0f, float(midiNote - 69) / 12.0f); }

float WaveValue(Waveform wave, double phase) {
    double f = phase - std::floor(phase);
    switch (wave) {
    case WAVE_SQUARE: return f < 0.5 ? 1.0f : -1.0f;
    case WAVE_TRIANGLE: return float(f < 0.25 ? 4 * f : f < 0.75 ? 2 - 4 * f : 4 * f - 4);
    case WAVE_SAW: return float(f < 0.5 ? 2 * f : 2 * f - 2);
    case WAVE_SINE:
    default: return float(std::sin(TWO_PI * f));
    }
}

CWaveSynth::CWaveSynth(int sampleRate) : m_sampleRate(sampleRate > 0 ? sampleRate : 22050) {}

size_t CWaveSynth::SampleCount(float duration) const {
    return duration > 0 ? size_t(std::lround(double(duration) * m_sampleRate)) : 0;
}

size_t CWaveSynth::Reserve(float start, size_t count) {
    size_t first = start > 0 ? size_t(std::lround(double(start) * m_sampleRate)) : 0;
    if (m_samples.size() < first + count)
        m_samples.resize(first + count, 0.0f);
    return first;
}

void CWaveSynth::AddTone(float start, float duration, float frequency, float amplitude, Waveform wave,
                         const Envelope& envelope) {
    AddChirp(start, duration, frequency, frequency, amplitude, wave, envelope);
}

void CWaveSynth::AddChirp(float start, float duration, float f0, float f1, float amplitude, Waveform wave,
                          const Envelope& envelope) {
    size_t count = SampleCount(duration);
    if (count == 0)
        return;
    size_t first = Reserve(start, count);
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / m_sampleRate;
        // The phase is the integral of the frequency.
        double phase = f0 * t + (f1 - f0) * t * t / (2.0 * duration);
        m_samples[first + i] += amplitude * EnvelopeGain(envelope, float(t), duration) * WaveValue(wave, phase);
    }
}

void CWaveSynth::AddNoise(float start, float duration, float amplitude, unsigned int seed, float smoothing,
                          const Envelope& envelope) {
    size_t count = SampleCount(duration);
    if (count == 0)
        return;
    size_t first = Reserve(start, count);
    float k = 1.0f - std::min(0.99f, std::max(0.0f, smoothing));
    SeedRand(seed);
    float y = 0;
    for (size_t i = 0; i < count; ++i) {
        float x = RandUnit() * 2.0f - 1.0f;
        y += k * (x - y);
        float t = float(double(i) / m_sampleRate);
        m_samples[first + i] += amplitude * EnvelopeGain(envelope, t, duration) * y;
    }
}

float CWaveSynth::AddJingle(float start, const std::vector<JingleNote>& notes, float beatsPerMinute, float amplitude,
                            Waveform wave, const Envelope& envelope) {
    float beat = beatsPerMinute > 0 ? 60.0f / beatsPerMinute : 0.5f;
    float t = start;
    for (const JingleNote& n : notes) {
        float length = std::max(0.0f, n.beats) * beat;
        if (n.note >= 0)
            AddTone(t, length, NoteFrequency(n.note), amplitude, wave, envelope);
        t += length;
    }
    return t;
}

void CWaveSynth::AddStrike(float start, float duration, float f0, float f1, float glide, float amplitude, float decay,
                           Waveform wave) {
    size_t count = SampleCount(duration);
    if (count == 0)
        return;
    size_t first = Reserve(start, count);
    Envelope edges;
    edges.attack = 0.002f;
    edges.release = 0.01f;
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = double(i) / m_sampleRate;
        double f = f1 + (f0 - f1) * (glide > 0 ? std::exp(-t / glide) : 0.0);
        double gain = decay > 0 ? std::exp(-t / decay) : 1.0;
        m_samples[first + i] +=
            float(amplitude * gain * EnvelopeGain(edges, float(t), duration) * WaveValue(wave, phase));
        phase += f / m_sampleRate;
    }
}

void CWaveSynth::AddSamples(float start, const std::vector<float>& samples, float gain) {
    if (samples.empty())
        return;
    size_t first = Reserve(start, samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        m_samples[first + i] += gain * samples[i];
}

float CWaveSynth::Peak() const {
    float largest = 0;
    for (float s : m_samples)
        largest = std::max(largest, std::fabs(s));
    return largest;
}

void CWaveSynth::Normalize(float peak) {
    float largest = Peak();
    if (largest <= 0)
        return;
    float scale = peak / largest;
    for (float& s : m_samples)
        s *= scale;
}

namespace {
void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
} // namespace

std::vector<uint8_t> CWaveSynth::ToWav() const {
    const uint32_t dataBytes = uint32_t(m_samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    AppendLe32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    AppendLe32(out, 16);
    AppendLe16(out, 1); // PCM
    AppendLe16(out, 1); // mono
    AppendLe32(out, uint32_t(m_sampleRate));
    AppendLe32(out, uint32_t(m_sampleRate) * 2);
    AppendLe16(out, 2);
    AppendLe16(out, 16);
    PutTag(out, "data");
    AppendLe32(out, dataBytes);
    for (float s : m_samples) {
        long v = std::lround(double(std::min(1.0f, std::max(-1.0f, s))) * 32767.0);
        AppendLe16(out, uint16_t(int16_t(v)));
    }
    return out;
}
