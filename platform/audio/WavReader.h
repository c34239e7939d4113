#pragma once
#include <cstddef>
#include <cstdint>

// The PCM layout of a WAV file's samples, as its "fmt " chunk gives it.
struct WaveFormat {
    uint16_t channels;
    uint32_t sampleRate;
    uint32_t bytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
};

inline bool operator==(const WaveFormat& a, const WaveFormat& b) {
    return a.channels == b.channels && a.sampleRate == b.sampleRate && a.bytesPerSecond == b.bytesPerSecond &&
           a.blockAlign == b.blockAlign && a.bitsPerSample == b.bitsPerSample;
}
inline bool operator!=(const WaveFormat& a, const WaveFormat& b) { return !(a == b); }

// A WAV file read in place: the format and a view of the sample bytes
// inside the caller's buffer, cut to whole sample frames.
struct WaveData {
    WaveFormat format;
    const uint8_t* samples;
    uint32_t size;
};

enum WavRefusal {
    WAV_OK = 0,
    WAV_NOT_RIFF_WAVE, // no "RIFF" ... "WAVE" header, or the RIFF size runs past the bytes
    WAV_BAD_CHUNK,     // a chunk header or body runs past the RIFF body
    WAV_NO_FORMAT,     // no "fmt " chunk before the "data" chunk, or a second one
    WAV_UNSUPPORTED,   // not PCM, or channels, rate or bits outside what is played
    WAV_INCONSISTENT,  // block size or byte rate that do not follow from the format
    WAV_NO_DATA,       // no "data" chunk, or one without a whole sample frame
};

// Reads a RIFF WAVE file of 8- or 16-bit PCM, mono or stereo, 8000 to
// 96000 Hz, from size bytes at data. Every read is checked against the end;
// a file that is not such a WAV is refused with the reason and out is left
// as it was. The sample view points into data and lives as long as it does.
WavRefusal ReadWav(const uint8_t* data, size_t size, WaveData& out);
