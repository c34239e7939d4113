#include "engine/chunk/ChunkRecords.h"

#include <cstring>

const char* ShaderRecord::TextureToFind() const {
    return textureName == NO_TEXTURE_NAME ? DUMMY_TEXTURE_NAME : textureName.c_str();
}

std::vector<ShaderLink> ShaderRecord::Links() const {
    std::vector<ShaderLink> links;
    int point = 0;
    for (int32_t value : linkList) {
        if (value == -1)
            ++point;
        else
            links.push_back({point, value});
    }
    return links;
}
