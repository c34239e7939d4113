// deskmate_discmenu_art <folder>: paints the disc menu's pictures.
#include <cstdio>
#include <string>

#include "tools/discmenu/DiscMenuArt.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_discmenu_art <folder>\n");
        return 2;
    }
    std::string error;
    if (!BuildDiscMenuArt(argv[1], error)) {
        std::fprintf(stderr, "deskmate_discmenu_art: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
