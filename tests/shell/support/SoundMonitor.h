#pragma once
// Hearing what the program plays: parec records the monitor of the
// PulseAudio sink that the test script starts (DESKMATE_SOUND_MONITOR on the
// server PULSE_SERVER), and a cue's own samples are looked for in the
// recording.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/core/LittleEndian.h"
#include "platform/audio/WavReader.h"
#include "shell/sound/SoundCueTable.h"

namespace sound_monitor {

constexpr int RATE = 22050; // the cues' rate; the recording is made at it

inline std::vector<float> Samples16(const uint8_t* bytes, size_t size) {
    std::vector<float> out(size / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = float(int16_t(ReadLe16(bytes + 2 * i))) / 32768.0f;
    return out;
}

inline float Rms(const std::vector<float>& s, size_t from, size_t count) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < from + count && i < s.size(); ++i, ++n)
        sum += double(s[i]) * s[i];
    return n ? float(std::sqrt(sum / n)) : 0.0f;
}

// The first sample louder than the threshold, or the size when there is none.
inline size_t Onset(const std::vector<float>& s, float threshold) {
    for (size_t i = 0; i < s.size(); ++i)
        if (std::fabs(s[i]) > threshold)
            return i;
    return s.size();
}

// The best normalised correlation of the template with the recording at lags
// near the expected one.
inline float BestMatch(const std::vector<float>& recording, const std::vector<float>& pattern, size_t around,
                       size_t reach, size_t& lag) {
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

    static inline int s_count = 0;
    std::string m_raw, m_stop, m_done;
};

// The samples of a cue's WAV in the build's sound archive (the data folder's).
inline std::vector<float> CueSamples(const char* cue) {
    std::unique_ptr<CDataArchive> archive(OpenSoundArchive(0));
    if (!archive)
        return {};
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

} // namespace sound_monitor
