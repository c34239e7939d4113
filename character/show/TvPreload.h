#pragma once
#include <functional>

class CResourceManager;

// The show's model archive and the order its files load in.
constexpr int TV_MODEL_GROUP = 1;
constexpr int TV_MODEL_FILE_COUNT = 3;
extern const char* const TV_MODEL_FILES[TV_MODEL_FILE_COUNT];
constexpr int TV_ANIMATION_ARCHIVE = 1;
constexpr int TV_ANIMATION_FILE_COUNT = 3;
extern const char* const TV_ANIMATION_FILES[TV_ANIMATION_FILE_COUNT];

// Loads the TV, its screen and the money dial from model group 1 (under the
// resource root when selectResourceRoot is given). Always true: missing
// entries go the loaders' missing-resource way.
bool PreloadTvModels(CResourceManager* registry, const std::function<void()>& selectResourceRoot);
// The show's three motions from animation archive 1. Always true.
bool PreloadTvAnimations(CResourceManager* registry);
