#pragma once
#include <string>

#include "tools/media/WaveSynth.h"

// The program's sounds, synthesised: every cue of the cue table and the
// ending music. Each is normalised to SOUND_PEAK, below full scale.
constexpr int CUE_SAMPLE_RATE = 22050;
constexpr int MUSIC_SAMPLE_RATE = 44100;
constexpr float SOUND_PEAK = 0.89f;

// The sound of one cue by its name in the cue table; an unknown name gives
// an empty synth.
CWaveSynth MakeCueSound(const std::string& cue);
// The ending music: a tune with melody, chords, bass and a beat, 72 seconds.
CWaveSynth MakeEndingMusic();

// Writes every cue's WAV and the music into folder, with "sound.manifest"
// naming each file's archive and entry path for the packer. False with a
// message when a file cannot be written.
bool BuildSoundContent(const std::string& folder, std::string& error);
