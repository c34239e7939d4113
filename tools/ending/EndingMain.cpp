// deskmate_ending: writes the screen-saver logo, the staff roll, the smoke,
// their animations and pictures, and their manifest.
//
//   deskmate_ending OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "tools/ending/EndingContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_ending OUTPUT-FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteEndingContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_ending: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
