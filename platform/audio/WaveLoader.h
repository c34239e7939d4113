#pragma once
#include <cstdint>

class CWaveSegment;

// Where a segment's file is: bytes in memory that the caller owns.
struct MemoryObjectDesc {
    const uint8_t* memData;
    uint32_t memLength;
};

// Makes segments out of WAV files in memory.
class CWaveLoader {
public:
    // A new segment over the described bytes (no copy is made), owned by the
    // caller; null when the bytes are not a WAV file that can be played.
    CWaveSegment* GetObject(const MemoryObjectDesc& desc);
};
