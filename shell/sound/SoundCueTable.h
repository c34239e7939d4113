#pragma once

// The sound cues by name and the WAV file that each plays, all in sound
// archive 0; the ending music is the one entry of sound archive 1.
struct SoundCueRow {
    const char* cue;
    const char* path;
};

constexpr int SOUND_CUE_COUNT = 24;
extern const SoundCueRow SOUND_CUE_TABLE[SOUND_CUE_COUNT];

extern const char* const ENDING_MUSIC_PATH;
