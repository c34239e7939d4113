#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/motion/Pose.h"

// One of her animation sets: its name, its length in frames and her pose at
// every frame. Frame `length` is where a looping set wraps to frame 0.
struct MotionSpec {
    std::string set;
    int length = 0;
    std::function<Pose(float frame)> at;
};

// The set's animation file: every body bone's three turns, "veskoRoot"'s
// place and heading and the face picture span the whole length (so the
// first animator gives the set its length and a cross-fade always finds a
// pose to blend with), then the room nodes the motion drives. Keys are the
// pose sampled at every frame, merged where a channel runs straight; the face
// and visibilities step. False, with a message, for a set too short or a
// record the writer refused.
bool WriteMotionSet(const MotionSpec& spec, std::vector<uint8_t>& bytes, std::string& error);

// The frames of a channel sampled at 0..length, as keys: straight runs
// within `tolerance` merged (stepped: runs of one value). At least one key.
std::vector<AnimationKey> MergeKeys(const std::vector<float>& samples, bool stepped, float tolerance);
