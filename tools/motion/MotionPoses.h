#pragma once
#include <string>

#include "tools/motion/Pose.h"

// The pose library her sets are made of. Angles follow the rig: a bone turns
// about the model's axes (she faces +z, her left on +x): a positive x turn
// bows the spine and swings a hanging limb back, a positive z turn raises
// her left arm sideways (her right arm with a negative one). Root heights
// are what the pose lowers or lifts her hips by.

// Her hips' height at rest (room units).
float HipHeight();

Pose Stand(float frame = 0);
// One walk cycle, phase 0..1; stride and arm swing scale the steps.
Pose Walk(float phase, float stride = 1.0f, float arms = 1.0f);
// Sleep-walking: small shuffling steps, arms held out, head hanging.
Pose SleepWalk(float phase);
// Sitting on the floor, legs stretched out (under the kotatsu).
Pose SitFloor();
// Kneeling upright; kneeling sat back on the heels.
Pose Kneel();
Pose Seiza();
// Sitting on a seat of the given height.
Pose SitSeat(float seatHeight);
// Lying on her back (head toward her -z before the heading turns it), her
// hips at `surface` + a little.
Pose LieBack(float surface);
// Squatting by `depth` 0..1 with the back bent.
Pose Crouch(float depth);
// Arms up in a stretch.
Pose ArmsUp(Pose p, float amount = 1.0f);
// Holding something before her chest with one hand (right or left), or both.
Pose Hold(Pose p, bool right, float lift = 1.0f);
Pose HoldBoth(Pose p);

// The base pose with one arm reaching so that the hand anchor lands on
// `target` (room units): the arm's pitch (and a crouch for low places) is
// chosen for the height and her root moved in x and z for the rest.
Pose Reach(const Pose& base, bool right, MeshPoint target);
// The anchor's world position for a pose.
MeshPoint HandAt(const Pose& pose, bool right);

// A blink: the eyes shut for a few frames every few seconds.
int Blink(float frame, int open);
