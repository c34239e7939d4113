// The WAV reader, and a segment over whatever it accepts: every sample byte
// it points at is read.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/audio/WavReader.h"
#include "platform/audio/WaveLoader.h"
#include "platform/audio/WaveSegment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WaveData wave = {};
    if (ReadWav(data, size, wave) != WAV_OK)
        return 0;
    volatile uint32_t sum = 0;
    for (uint32_t i = 0; i < wave.size; ++i)
        sum = sum + wave.samples[i];
    CWaveLoader loader;
    std::unique_ptr<CWaveSegment> segment(loader.GetObject({data, uint32_t(size)}));
    if (!segment || segment->GetWave().size != wave.size || segment->GetLengthMs() > uint64_t(wave.size) * 1000)
        __builtin_trap();
    return 0;
}
