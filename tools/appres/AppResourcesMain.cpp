// deskmate_app_resources <folder>: paints the pictures compiled into deskmate.exe.
#include <cstdio>
#include <string>

#include "tools/appres/AppResources.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_app_resources <folder>\n");
        return 2;
    }
    std::string error;
    if (!BuildAppResources(argv[1], error)) {
        std::fprintf(stderr, "deskmate_app_resources: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
