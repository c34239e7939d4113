// deskmate_motion_content FOLDER: writes her animation files and
// "motion.manifest" into FOLDER.
#include <cstdio>
#include <string>

#include "tools/motion/MotionContent.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_motion_content FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteMotionContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_motion_content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
