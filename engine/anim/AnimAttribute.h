#pragma once

// The animatable attributes an animator can name; the stored values of the
// animation files.
enum AnimAttribute {
    AA_TRANSLATION_X = 0,
    AA_TRANSLATION_Y,
    AA_TRANSLATION_Z,
    AA_ROTATION_X,
    AA_ROTATION_Y,
    AA_ROTATION_Z,
    AA_SCALE_X,
    AA_SCALE_Y,
    AA_SCALE_Z,
    AA_COLOR_A,
    AA_COLOR_R,
    AA_COLOR_G,
    AA_COLOR_B,
    AA_VISIBLE,
    AA_FRAME_EXTENSION,
    AA_TRANSLATION_U,
    AA_TRANSLATION_V,
    AA_ROTATION_W,
    AA_SCALE_U,
    AA_SCALE_V,
    AA_TRANSLUCENT,
};

constexpr int ANIM_ATTRIBUTE_COUNT = 21;

inline bool IsValidAnimAttribute(int attribute) { return attribute >= 0 && attribute < ANIM_ATTRIBUTE_COUNT; }

enum AnimWriteType {
    AWT_OVER_WRITE = 0,
    AWT_BLEND = 1,
};
