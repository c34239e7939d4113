// deskmate_goods FOLDER: writes the goods and room-prop models, their
// pictures and "goods.manifest" into FOLDER.
#include <cstdio>
#include <string>

#include "tools/goods/GoodsBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskmate_goods FOLDER\n");
        return 2;
    }
    std::string error;
    if (!WriteGoodsContent(argv[1], error)) {
        std::fprintf(stderr, "deskmate_goods: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
