#pragma once
#include <vector>

#include "engine/math/Vec3.h"

// A point the automatic camera should look at this frame, with the weight its
// giver attached (kept, though the camera's average does not use it).
struct FocusPoint {
    Vec3 position;
    float weight;
};

using FocusPointList = std::vector<FocusPoint>;
