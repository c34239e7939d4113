#pragma once
#include <functional>

class CResourceManager;

// Loads the character's models into the registry: body and clothes from model
// group 4, then room props and goods from group 0. selectResourceRoot (may be
// empty) makes the render manager's resource root the parent of what loads.
// Missing entries go through the loaders' missing-resource path; the answer
// is always true.
bool PreloadCharacterModels(CResourceManager* registry, const std::function<void()>& selectResourceRoot);
// Loads every animation set her action table plays from animation archive 0.
bool PreloadCharacterAnimations(CResourceManager* registry);
