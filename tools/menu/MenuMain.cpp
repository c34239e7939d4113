// deskmate_menu_content: writes the configuration menu's model, its texture
// and their manifest.
//
//   deskmate_menu_content OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "tools/menu/MenuContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_menu_content OUTPUT-FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteMenuContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_menu_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
