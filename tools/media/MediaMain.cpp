// deskmate_media_content <folder>: writes the engine's own pictures and
// their manifest for the packer.
#include <cstdio>
#include <string>

#include "tools/media/MediaContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_media_content <folder>\n");
        return 2;
    }
    std::string error;
    if (!BuildMediaContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_media_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
