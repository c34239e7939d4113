// Archive keys and texture names of any path bytes, code-page-932 ones among them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/TextureArchives.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    std::string key = MakeArchiveKey(path);
    (void)key;
    std::string name;
    if (NormaliseTextureName(path, name))
        FindTextureList(name);
    return 0;
}
