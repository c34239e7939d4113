#include "platform/audio/WaveLoader.h"

#include <new>

#include "platform/audio/WaveSegment.h"

CWaveSegment* CWaveLoader::GetObject(const MemoryObjectDesc& desc) {
    WaveData wave = {};
    if (ReadWav(desc.memData, desc.memLength, wave) != WAV_OK)
        return nullptr;
    return new (std::nothrow) CWaveSegment(wave);
}
