#pragma once
#include <cstdint>

#include "platform/audio/WavReader.h"

// One sound output that plays one run of PCM samples at a time, straight
// from the caller's bytes. The system's wave output implements it on
// Windows; tests give their own.
class IWaveOutput {
public:
    virtual ~IWaveOutput() {}
    // Whether the output can play samples of this format.
    virtual bool Supports(const WaveFormat& format) = 0;
    // Starts the samples, cutting off whatever was playing. The bytes are not
    // copied: they must stay valid until Stop, the next Play or the end of
    // the output.
    virtual bool Play(const WaveFormat& format, const uint8_t* samples, uint32_t size) = 0;
    // Silences the output and lets go of the bytes it was playing.
    virtual void Stop() = 0;
    // True while samples handed to Play are still being heard.
    virtual bool IsPlaying() = 0;
};
