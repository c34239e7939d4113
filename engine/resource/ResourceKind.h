#pragma once

// The kind rows of the resource registry. Row 12 exists and stays empty.
enum ResourceKind {
    RT_GEOMETRY = 0,
    RT_SHADER = 1,
    RT_SHAPE = 2,
    RT_TEXTURE = 3,
    RT_TRANSFORM = 4,
    RT_LIGHT = 5,
    RT_CAMERA = 6,
    RT_ANIMATOR = 7,
    RT_ANIMATION_DATA = 8,
    RT_ANIMATION_SET = 9,
    RT_HIERARCHY = 10,
    RT_BONE = 11,
};

constexpr int RESOURCE_KIND_ROWS = 13;

inline bool IsValidResourceKind(int kind) { return kind >= 0 && kind < RESOURCE_KIND_ROWS; }

// The kind's name for dumps ("RT_SHAPE"); "RT_UNKNOWN" outside the table.
const char* ResourceKindName(int kind);
