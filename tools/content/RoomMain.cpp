// deskmate_room: writes the room model, its textures and their manifest.
//
//   deskmate_room OUTPUT-FOLDER
#include <cstdio>
#include <string>

#include "tools/content/RoomBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_room OUTPUT-FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteRoomContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_room: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
