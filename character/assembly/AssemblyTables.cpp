#include "character/assembly/AssemblyTables.h"

// clang-format off

const CollisionShapeRow COLLISION_SHAPE_ROWS[COLLISION_SHAPE_COUNT] = {
    // transform  bone  translation (x, y, z)  rotation (x, y, z)  node  shape  radius  length  flag
    {"ctCc",  "koshi", {0.0f, -0.061f, 0.095f},    {0.0f, 0.0f, 1.570796f},                   "ccCc",  CS_CAPSULE, 0.41f,  1.0f, 0},
    {"ctCs2", "koshi", {0.0f, 0.158f, 0.103f},     {0.0f, 0.0f, 0.0f},                        "ccCs2", CS_SPHERE,  0.45f,  0.0f, 0},
    {"ctLs",  "koshi", {0.209f, -0.201f, -0.002f}, {0.0f, 0.0f, 0.0f},                        "ccLs",  CS_SPHERE,  0.637f, 0.0f, 0},
    {"ctRs",  "koshi", {-0.209f, -0.201f, -0.002f},{0.0f, 0.0f, 0.0f},                        "ccRs",  CS_SPHERE,  0.637f, 0.0f, 0},
    {"ctL",   "legL1", {-0.024f, -1.497f, -0.023f},{0.06616542f, 0.04810127f, 0.06716026f},   "ccL",   CS_CAPSULE, 0.485f, 3.0f, 1},
    // The same local matrix as "ctL", not a mirrored one.
    {"ctR",   "legR1", {-0.024f, -1.497f, -0.023f},{0.06616542f, 0.04810127f, 0.06716026f},   "ccR",   CS_CAPSULE, 0.485f, 3.0f, 1},
};

const SoundCueRow SOUND_CUE_ROWS[SOUND_CUE_COUNT] = {
    // slot  cue  node
    {1,  "lightSaber",    "lightSaberSound"},
    {2,  "teleporterIn",  "teleporterSound0"},
    {3,  "teleporterOut", "teleporterSound1"},
    {4,  "conga0",        "congaSound0"},
    {5,  "conga1",        "congaSound1"},
    {6,  "conga2",        "congaSound2"},
    {7,  "conga3",        "congaSound3"},
    {8,  "otama",         "otamaSound"},
    {9,  "bodyBlade",     "bodyBladeSound"},
    {10, "doorOut",       "doorOutSound"},
    {11, "doorIn",        "doorInSound"},
    {12, "chair0",        "chairSound0"},
    {13, "chair1",        "chairSound1"},
    {14, "furo0",         "furoSound0"},
    {15, "furo1",         "furoSound1"},
    {16, "furo2",         "furoSound2"},
    {17, "furo3",         "furoSound3"},
    {18, "tvBroken",      "tvBrokenSound"},
};

// clang-format on
