#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/core/LittleEndian.h"
#include "platform/audio/WaveOutput.h"

// What a test output was asked to do; kept apart from the output, which its
// performance owns and deletes.
struct WaveOutputLog {
    struct Start {
        const uint8_t* samples;
        uint32_t size;
        WaveFormat format;
    };
    std::vector<Start> starts;
    int stops = 0;
    // Playing from the last Play until Stop or until the test says it has run out.
    bool playing = false;
    bool refusePlay = false;
    uint32_t onlyRate = 0; // non-zero: the one sample rate supported
    bool destroyed = false;
};

class CFakeWaveOutput : public IWaveOutput {
public:
    explicit CFakeWaveOutput(std::shared_ptr<WaveOutputLog> log) : m_log(std::move(log)) {}
    ~CFakeWaveOutput() override { m_log->destroyed = true; }
    bool Supports(const WaveFormat& f) override { return !m_log->onlyRate || f.sampleRate == m_log->onlyRate; }
    bool Play(const WaveFormat& f, const uint8_t* samples, uint32_t size) override {
        if (m_log->refusePlay)
            return false;
        m_log->starts.push_back({samples, size, f});
        m_log->playing = true;
        return true;
    }
    void Stop() override {
        ++m_log->stops;
        m_log->playing = false;
    }
    bool IsPlaying() override { return m_log->playing; }

private:
    std::shared_ptr<WaveOutputLog> m_log;
};

// A mono 16-bit PCM WAV of the given samples.
inline std::vector<uint8_t> MakeTestWav(const std::vector<int16_t>& samples, uint32_t rate = 22050) {
    std::vector<uint8_t> b;
    auto put16 = [&](uint32_t v) { AppendLe16(b, uint16_t(v)); };
    auto put32 = [&](uint32_t v) { AppendLe32(b, v); };
    auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
    uint32_t bytes = uint32_t(samples.size() * 2);
    tag("RIFF");
    put32(36 + bytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    tag("data");
    put32(bytes);
    for (int16_t s : samples)
        put16(uint16_t(s));
    return b;
}
