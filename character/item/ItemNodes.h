#pragma once
#include <string>

#include "engine/resource/Handle.h"

class CTransform;

// The transform named name + scope in the current registry, by handle (the
// null handle when there is none).
CHandle FindTransformHandle(const std::string& name, const std::string& scope);
CTransform* ResolveTransform(CHandle handle);
void SetNodeVisible(CHandle node, bool visible);
// Visibility of 1.0 or more; false for a node that is gone.
bool IsNodeShown(CHandle node);
