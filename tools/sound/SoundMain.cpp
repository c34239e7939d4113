// deskmate_sound_content <folder>: synthesises the sound cues and the ending
// music, with their manifest for the packer.
#include <cstdio>
#include <string>

#include "tools/sound/SoundContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_sound_content <folder>\n");
        return 2;
    }
    std::string error;
    if (!BuildSoundContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_sound_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
