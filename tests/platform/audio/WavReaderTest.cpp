#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/LittleEndian.h"
#include "platform/audio/WavReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutTag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

void PutChunk(Bytes& b, const char* tag, const Bytes& body, bool pad = true) {
    PutTag(b, tag);
    AppendLe32(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && body.size() % 2)
        b.push_back(0);
}

Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes f;
    AppendLe16(f, tag);
    AppendLe16(f, channels);
    AppendLe32(f, rate);
    AppendLe32(f, rate * channels * bits / 8);
    AppendLe16(f, uint16_t(channels * bits / 8));
    AppendLe16(f, bits);
    return f;
}

// "RIFF" size "WAVE" and the chunks.
Bytes Riff(const Bytes& chunks) {
    Bytes b;
    PutTag(b, "RIFF");
    AppendLe32(b, uint32_t(4 + chunks.size()));
    PutTag(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

Bytes Samples(size_t n) {
    Bytes s(n);
    for (size_t i = 0; i < n; ++i)
        s[i] = uint8_t(i * 7 + 3);
    return s;
}

Bytes GoodWav() {
    Bytes chunks;
    PutChunk(chunks, "fmt ", Fmt(1, 1, 22050, 16));
    PutChunk(chunks, "data", Samples(200));
    return Riff(chunks);
}

TEST(WavReader, ReadsFormatAndPointsAtTheSamplesInPlace) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", Fmt(1, 2, 44100, 16));
    // An odd-sized chunk before the data is skipped with its pad byte.
    PutChunk(chunks, "LIST", Bytes{'I', 'N', 'F', 'O', 'x'});
    PutChunk(chunks, "data", Samples(402)); // 100.5 frames: the half frame is cut
    Bytes wav = Riff(chunks);
    WaveData w = {};
    ASSERT_EQ(ReadWav(wav.data(), wav.size(), w), WAV_OK);
    EXPECT_EQ(w.format.channels, 2);
    EXPECT_EQ(w.format.sampleRate, 44100u);
    EXPECT_EQ(w.format.bytesPerSecond, 176400u);
    EXPECT_EQ(w.format.blockAlign, 4);
    EXPECT_EQ(w.format.bitsPerSample, 16);
    EXPECT_EQ(w.size, 400u);
    EXPECT_EQ(w.samples, wav.data() + wav.size() - 402);
    EXPECT_EQ(std::memcmp(w.samples, Samples(400).data(), 400), 0);
}

TEST(WavReader, ReadsEightBitMonoAndStopsAtTheRiffBody) {
    Bytes chunks;
    PutChunk(chunks, "fmt ", Fmt(1, 1, 8000, 8));
    PutChunk(chunks, "data", Samples(9), false); // the last pad byte is missing
    Bytes wav = Riff(chunks);
    // Bytes after the RIFF body belong to no chunk.
    wav.insert(wav.end(), {'j', 'u', 'n', 'k'});
    WaveData w = {};
    ASSERT_EQ(ReadWav(wav.data(), wav.size(), w), WAV_OK);
    EXPECT_EQ(w.format.bitsPerSample, 8);
    EXPECT_EQ(w.size, 9u);
}

// Each hostile file is refused with its reason, and the result is left alone.
TEST(WavReader, RefusesFilesThatAreNotPlayableWavs) {
    auto with = [](const Bytes& fmt, const Bytes& data, bool fmtFirst = true) {
        Bytes chunks;
        if (fmtFirst)
            PutChunk(chunks, "fmt ", fmt);
        PutChunk(chunks, "data", data);
        if (!fmtFirst)
            PutChunk(chunks, "fmt ", fmt);
        return Riff(chunks);
    };
    Bytes good = GoodWav();
    Bytes riffTooLong = good;
    riffTooLong[4] += 1;
    Bytes notWave = good;
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    Bytes chunkPastEnd = good;
    chunkPastEnd[40] = 0xff, chunkPastEnd[41] = 0xff, chunkPastEnd[42] = 0xff, chunkPastEnd[43] = 0xff;
    Bytes brokenHeader = Riff(Bytes{'f', 'm', 't', ' ', 16, 0});
    Bytes shortFmt = with(Bytes(14, 1), Samples(8));
    Bytes blockWrong = with(Fmt(1, 1, 22050, 16), Samples(8));
    blockWrong[32] = 4;
    Bytes rateWrong = with(Fmt(1, 1, 22050, 16), Samples(8));
    rateWrong[28] += 1;
    Bytes twoFmt;
    {
        Bytes chunks;
        PutChunk(chunks, "fmt ", Fmt(1, 1, 22050, 16));
        PutChunk(chunks, "fmt ", Fmt(1, 1, 22050, 16));
        PutChunk(chunks, "data", Samples(8));
        twoFmt = Riff(chunks);
    }
    Bytes noData;
    {
        Bytes chunks;
        PutChunk(chunks, "fmt ", Fmt(1, 1, 22050, 16));
        PutChunk(chunks, "LIST", Samples(6));
        noData = Riff(chunks);
    }
    struct Case {
        const char* what;
        Bytes bytes;
        WavRefusal refusal;
    } cases[] = {
        {"empty", {}, WAV_NOT_RIFF_WAVE},
        {"header cut", Bytes(good.begin(), good.begin() + 11), WAV_NOT_RIFF_WAVE},
        {"not a WAVE", notWave, WAV_NOT_RIFF_WAVE},
        {"RIFF size past the bytes", riffTooLong, WAV_NOT_RIFF_WAVE},
        {"RIFF body cut", Bytes(good.begin(), good.end() - 1), WAV_NOT_RIFF_WAVE},
        {"chunk size past the body", chunkPastEnd, WAV_BAD_CHUNK},
        {"chunk header cut", brokenHeader, WAV_BAD_CHUNK},
        {"fmt shorter than 16", shortFmt, WAV_BAD_CHUNK},
        {"data before fmt", with(Fmt(1, 1, 22050, 16), Samples(8), false), WAV_NO_FORMAT},
        {"two fmt chunks", twoFmt, WAV_NO_FORMAT},
        {"compressed", with(Fmt(2, 1, 22050, 16), Samples(8)), WAV_UNSUPPORTED},
        {"float", with(Fmt(3, 1, 22050, 32), Samples(8)), WAV_UNSUPPORTED},
        {"no channels", with(Fmt(1, 0, 22050, 16), Samples(8)), WAV_UNSUPPORTED},
        {"three channels", with(Fmt(1, 3, 22050, 16), Samples(12)), WAV_UNSUPPORTED},
        {"24 bits", with(Fmt(1, 1, 22050, 24), Samples(9)), WAV_UNSUPPORTED},
        {"rate 0", with(Fmt(1, 1, 0, 16), Samples(8)), WAV_UNSUPPORTED},
        {"rate too high", with(Fmt(1, 1, 192000, 16), Samples(8)), WAV_UNSUPPORTED},
        {"block size wrong", blockWrong, WAV_INCONSISTENT},
        {"byte rate wrong", rateWrong, WAV_INCONSISTENT},
        {"no data chunk", noData, WAV_NO_DATA},
        {"empty data", with(Fmt(1, 1, 22050, 16), {}), WAV_NO_DATA},
        {"less than a frame", with(Fmt(1, 2, 22050, 16), Samples(3)), WAV_NO_DATA},
    };
    for (const Case& c : cases) {
        // An exactly sized copy: any read past the end is caught by the sanitizers.
        std::vector<uint8_t> exact(c.bytes);
        WaveData w = {{7, 7, 7, 7, 7}, nullptr, 77};
        EXPECT_EQ(ReadWav(exact.empty() ? nullptr : exact.data(), exact.size(), w), c.refusal) << c.what;
        EXPECT_EQ(w.size, 77u) << c.what;
        EXPECT_EQ(w.samples, nullptr) << c.what;
    }
}

// Every cut of a good file, and every single corrupted byte of its headers,
// is refused or read with samples that lie inside the bytes.
TEST(WavReader, EveryCutOrCorruptedHeaderByteStaysInsideTheBytes) {
    Bytes good = GoodWav();
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + n);
        WaveData w = {};
        EXPECT_NE(ReadWav(cut.data(), cut.size(), w), WAV_OK) << n;
    }
    for (size_t at = 0; at < 44; ++at) {
        for (uint8_t v : {uint8_t(0), uint8_t(0x7f), uint8_t(0xff)}) {
            std::vector<uint8_t> bad(good);
            bad[at] = v;
            WaveData w = {};
            if (ReadWav(bad.data(), bad.size(), w) == WAV_OK) {
                EXPECT_GE(w.samples, bad.data()) << at;
                EXPECT_LE(w.samples + w.size, bad.data() + bad.size()) << at;
                EXPECT_EQ(w.size % w.format.blockAlign, 0u) << at;
            }
        }
    }
}

} // namespace
