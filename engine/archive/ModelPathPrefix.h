#pragma once

// The current model path prefix, which texture resources built while a model
// group loads put before their file names. Groups: 0 "model/common/",
// 1 "model/zaplenu/", 2 "model/indicator/", 3 "model/ending/", 4 "model/vesko/".
constexpr int MODEL_PATH_PREFIX_COUNT = 5;

// An index outside the table leaves the prefix as it was (false).
bool SetModelPathPrefix(int index);
// Empty until the first SetModelPathPrefix.
const char* GetModelPathPrefix();
// The table's text, or null outside it.
const char* ModelPathPrefixText(int index);
