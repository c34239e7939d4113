#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "shell/state/SavedState.h"

// The state file "tavelune.dat": the version word, the camera's distance and
// interest point, the money, the item count and each item's name and state
// code, little-endian through our archive stream.

const uint32_t STATE_FILE_VERSION = 0x10000;
const char* const STATE_FILE_NAME = "tavelune.dat";
// Far beyond what the catalogue can fill; a longer file is not ours.
const size_t STATE_FILE_MAX_BYTES = 1u << 20;

enum StateReadResult {
    SR_OK,
    SR_MISSING,    // no file yet: nothing to load, not an error
    SR_TOO_NEW,    // a version word above ours
    SR_MALFORMED,  // short, truncated, oversized or holding values we cannot use
    SR_UNREADABLE, // there, but it could not be opened or read (locked, no access)
};

// The file image of a state. A camera that is not usable is written as the
// default camera; the items go in ascending byte order of their names.
std::vector<uint8_t> EncodeState(const CSavedState& state);

// Reads a whole state file image. The state is written only on SR_OK, so a
// refused file leaves the caller's record as it was. A camera that is not
// finite is dropped alone: hasCamera is false, the money and items are kept.
StateReadResult DecodeState(const uint8_t* data, size_t length, CSavedState& state, uint32_t& version);

StateReadResult ReadStateFile(const char* path, CSavedState& state, uint32_t& version);
// Writes beside the old file and replaces it only once the new one is on disk.
bool WriteStateFile(const char* path, const CSavedState& state);
