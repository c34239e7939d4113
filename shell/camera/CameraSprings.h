#pragma once
#include "engine/math/Vec3.h"

// The spring-and-damper steps of the automatic camera (dt in ms). Each moves
// cur toward goal and answers true, or leaves it as it is and answers false
// when it is already within stopDelta of the goal. The damper term works on
// how far the goal itself moved since the previous update (prevGoal to goal);
// springLen is the rest length the spring pulls toward.
bool SpringStepScalar(float& cur, float goal, float prevGoal, float dt, float stopDelta, float spring, float damp,
                      float springLen);
bool SpringStepVector(Vec3& cur, const Vec3& goal, const Vec3& prevGoal, float dt, float stopDelta, float spring,
                      float damp, float springLen);

// How fast a point moved on the ground plane from b to a, in units per
// 16.67 ms frame; 0 for steps shorter than 1 ms.
float HorizontalSpeed(const Vec3& a, const Vec3& b, float dt);

// The tunable values of one spring pair: the distance and the target.
struct SpringTuning {
    float distStopDelta;
    float distSpring;
    float distDamp;
    float distSpringLen;
    float tgtStopDelta;
    float tgtSpring;
    float tgtDamp;
    float tgtSpringLen;
};
