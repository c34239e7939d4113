// deskmate_show_content: writes the TV-shopping show's models, motions and
// pictures with their manifest.
//
//   deskmate_show_content OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "tools/show/ShowContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_show_content OUTPUT-FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteShowContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_show_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
