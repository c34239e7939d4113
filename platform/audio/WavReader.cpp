#include "platform/audio/WavReader.h"

#include <cstring>

#include "engine/core/LittleEndian.h"

namespace {

bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

constexpr uint16_t FORMAT_PCM = 1;
constexpr uint32_t LOWEST_RATE = 8000;
constexpr uint32_t HIGHEST_RATE = 96000;

} // namespace

WavRefusal ReadWav(const uint8_t* data, size_t size, WaveData& out) {
    if (!data || size < 12 || !IsTag(data, "RIFF") || !IsTag(data + 8, "WAVE"))
        return WAV_NOT_RIFF_WAVE;
    // The RIFF body follows the 8-byte header; its size counts "WAVE" too.
    uint32_t riffSize = ReadLe32(data + 4);
    if (riffSize < 4 || riffSize > size - 8)
        return WAV_NOT_RIFF_WAVE;
    const size_t end = size_t(riffSize) + 8;

    bool haveFormat = false;
    WaveFormat format = {};
    size_t at = 12;
    while (at < end) {
        if (end - at < 8)
            return WAV_BAD_CHUNK;
        const uint8_t* header = data + at;
        uint32_t chunkSize = ReadLe32(header + 4);
        size_t body = at + 8;
        if (chunkSize > end - body)
            return WAV_BAD_CHUNK;
        if (IsTag(header, "fmt ")) {
            if (haveFormat)
                return WAV_NO_FORMAT;
            if (chunkSize < 16)
                return WAV_BAD_CHUNK;
            const uint8_t* f = data + body;
            if (ReadLe16(f) != FORMAT_PCM)
                return WAV_UNSUPPORTED;
            format.channels = ReadLe16(f + 2);
            format.sampleRate = ReadLe32(f + 4);
            format.bytesPerSecond = ReadLe32(f + 8);
            format.blockAlign = ReadLe16(f + 12);
            format.bitsPerSample = ReadLe16(f + 14);
            if (format.channels < 1 || format.channels > 2 || format.sampleRate < LOWEST_RATE ||
                format.sampleRate > HIGHEST_RATE || (format.bitsPerSample != 8 && format.bitsPerSample != 16))
                return WAV_UNSUPPORTED;
            if (format.blockAlign != format.channels * format.bitsPerSample / 8 ||
                format.bytesPerSecond != format.sampleRate * format.blockAlign)
                return WAV_INCONSISTENT;
            haveFormat = true;
        } else if (IsTag(header, "data")) {
            if (!haveFormat)
                return WAV_NO_FORMAT;
            uint32_t whole = chunkSize - chunkSize % format.blockAlign;
            if (whole == 0)
                return WAV_NO_DATA;
            out.format = format;
            out.samples = data + body;
            out.size = whole;
            return WAV_OK;
        }
        // Chunks are padded to an even length; a pad byte missing at the very end is tolerated.
        size_t next = body + chunkSize + (chunkSize & 1);
        at = next < end ? next : end;
    }
    return WAV_NO_DATA;
}
