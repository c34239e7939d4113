// deskmate_vesko_content: writes Vesko's models, her textures and their manifest.
//
//   deskmate_vesko_content OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "tools/vesko/VeskoContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_vesko_content OUTPUT-FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteVeskoContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_vesko_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
