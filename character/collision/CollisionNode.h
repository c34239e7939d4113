#pragma once

// The resource kind of the collision nodes (the row after RT_BONE).
constexpr int RT_COLLISION = 12;

// Asked before a collision node reports: true only in the first update of a
// frame's pass, so that each node reports once per drawn frame. With none set,
// every call reports.
using FirstUpdateQuery = bool (*)();
void SetCollisionFirstUpdateQuery(FirstUpdateQuery query);
bool CollisionReportAllowed();
