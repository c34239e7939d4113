#pragma once

// The files loaded before the character is built: her body and cloth models
// (model group 4), the room props and goods (model group 0) and one animation
// set per motion of her action table (animation archive 0, file
// "animation/" + set name + ".hga").

constexpr int CHARACTER_BODY_MODEL_FILE_COUNT = 11;
constexpr int CHARACTER_GOODS_MODEL_FILE_COUNT = 24;
constexpr int CHARACTER_MODEL_FILE_COUNT = CHARACTER_BODY_MODEL_FILE_COUNT + CHARACTER_GOODS_MODEL_FILE_COUNT;
constexpr int CHARACTER_ANIMATION_SET_COUNT = 176;

constexpr int CHARACTER_BODY_MODEL_GROUP = 4;
constexpr int CHARACTER_GOODS_MODEL_GROUP = 0;
constexpr int CHARACTER_ANIMATION_ARCHIVE = 0;

// Archive paths, in load order.
extern const char* const CHARACTER_BODY_MODEL_FILES[CHARACTER_BODY_MODEL_FILE_COUNT];
extern const char* const CHARACTER_GOODS_MODEL_FILES[CHARACTER_GOODS_MODEL_FILE_COUNT];
// Set names, in load order.
extern const char* const CHARACTER_ANIMATION_SETS[CHARACTER_ANIMATION_SET_COUNT];
