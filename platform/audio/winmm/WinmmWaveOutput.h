#pragma once
#include <memory>

#include "platform/audio/WaveOutput.h"

// The system's wave output (winmm, the wave mapper): one buffer written
// straight from the caller's bytes, the device kept open while the format
// stays the same. Null when no wave device can be opened at all.
std::unique_ptr<IWaveOutput> CreateSystemWaveOutput();
