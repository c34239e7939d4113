#pragma once

// The fixed facts of her assembly: where her collision shapes hang and which
// node of her models plays which sound cue. Names are looked up with the
// scene scope suffix.

enum CollisionShapeKind {
    CS_CAPSULE,
    CS_SPHERE,
};

// A code-made transform under one of her bones, carrying a collision node.
// The local matrix is the rotation (about X, then Y, then Z, radians)
// followed by the translation, in model units before her scale.
struct CollisionShapeRow {
    const char* transform;
    const char* bone;
    float translation[3];
    float rotation[3];
    const char* node;
    CollisionShapeKind kind;
    float radius;
    float length; // capsules: along the local Y axis
    unsigned char flag;
};

struct SoundCueRow {
    int slot;
    const char* cue;
    const char* node;
};

constexpr int COLLISION_SHAPE_COUNT = 6;
constexpr int SOUND_CUE_COUNT = 18;

extern const CollisionShapeRow COLLISION_SHAPE_ROWS[COLLISION_SHAPE_COUNT];
extern const SoundCueRow SOUND_CUE_ROWS[SOUND_CUE_COUNT];

// Her body instance and its chain.
constexpr const char* BODY_INSTANCE_NAME = "vesko_mdl";
constexpr const char* BODY_CHAIN_TIP = "koshi";
constexpr const char* BODY_CHAIN_ROOT = "vesko2002";
constexpr const char* BODY_EXTRA_NODE = "veskoRoot";
constexpr float BODY_SCALE = 16.66f;
constexpr const char* SHADOW_NODE = "maruKage";
constexpr float SHADOW_HEIGHT = 1.0f;
// Room props switched by whether the ending item is owned.
constexpr const char* OLD_TV_NODE = "Tv";
constexpr const char* NEW_TV_NODE = "tv2003lcdvc";
// Where and how she starts.
constexpr float START_X = 200.0f;
constexpr float START_Z = 200.0f;
constexpr unsigned START_MONEY = 50000;
constexpr const char* START_ACTION = "stand";
constexpr const char* START_WORD = "1t";
