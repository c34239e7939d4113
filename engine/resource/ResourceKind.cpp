#include "engine/resource/ResourceKind.h"

namespace {
const char* const RESOURCE_KIND_NAMES[] = {
    "RT_GEOMETRY", "RT_SHADER",   "RT_SHAPE",          "RT_TEXTURE",       "RT_TRANSFORM", "RT_LIGHT",
    "RT_CAMERA",   "RT_ANIMATOR", "RT_ANIMATION_DATA", "RT_ANIMATION_SET", "RT_HIERARCHY", "RT_BONE",
};
constexpr int NAMED_KINDS = sizeof RESOURCE_KIND_NAMES / sizeof RESOURCE_KIND_NAMES[0];
} // namespace

const char* ResourceKindName(int kind) {
    if (kind < 0 || kind >= NAMED_KINDS)
        return "RT_UNKNOWN";
    return RESOURCE_KIND_NAMES[kind];
}
