#include "engine/archive/ModelPathPrefix.h"

namespace {
const char* const PREFIXES[MODEL_PATH_PREFIX_COUNT] = {
    "model/common/", "model/zaplenu/", "model/indicator/", "model/ending/", "model/vesko/",
};
const char* g_prefix = "";
} // namespace

const char* ModelPathPrefixText(int index) {
    return index >= 0 && index < MODEL_PATH_PREFIX_COUNT ? PREFIXES[index] : nullptr;
}

bool SetModelPathPrefix(int index) {
    const char* prefix = ModelPathPrefixText(index);
    if (!prefix)
        return false;
    g_prefix = prefix;
    return true;
}

const char* GetModelPathPrefix() { return g_prefix; }
