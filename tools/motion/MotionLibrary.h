#pragma once
#include <string>
#include <vector>

#include "tools/motion/MotionSet.h"

// Her 176 animation sets, authored as poses over her rig: a small library of
// body poses (standing, the walk cycle, sitting on the floor and on the
// chair, kneeling, lying, crouching, reaching, holding) combined per set.
// Fixed-origin sets stand in room coordinates where their action begins (the
// bed, the door, the TV, the kotatsu, each good's resting place); the others
// start from her own place. Sound nodes show for one frame when their cue
// plays.
const std::vector<MotionSpec>& MotionSets();
const MotionSpec* FindMotionSet(const std::string& set);

// Her hips' height over her soles at rest, in room units.
float RestHipHeight();
