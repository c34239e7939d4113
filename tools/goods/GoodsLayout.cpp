#include "tools/goods/GoodsLayout.h"

#include "character/item/Catalogue.h"
#include "character/preload/PreloadLists.h"

namespace {
constexpr float HALF_PI = 1.5707963f;

// base, file, view node, rest place, rest turn
const std::vector<GoodsPlace>& Table() {
    static const std::vector<GoodsPlace> places = [] {
        std::vector<GoodsPlace> rows = {
            {"door", {200, 0, -256}, {0, 0, 0}},
            {"chair", {-260, 0, -45}, {0, 3.1415927f, 0}},
            {"tv", {0, 45, -190}, {0, 0, 0}},
            {"kotatsu", {0, 0, 0}, {0, 0, 0}},
            // Stood on end against the right wall.
            {"bodyBlade", {548, 78, 140}, {-HALF_PI, 0, 0}},
            {"domohornWinkle", {-532, 77, 352}, {0, 0.4f, 0}},
            {"punchingBag", {-170, 0, 330}, {0, 0, 0}},
            {"bodyVac", {545, 44, 30}, {0, -HALF_PI, 0}},
            {"lightSaber", {-420, 10.5f, 60}, {0, 0.5f, 0}},
            {"papaMakura", {-128, 9, 72}, {0, 0.9f, 0}},
            {"segway", {260, 80, -120}, {0, -0.6f, 0}},
            {"bodyVibrator", {470, 0, 120}, {0, -HALF_PI, 0}},
            {"teleporter", {-300, 82, -215}, {0, 0.3f, 0}},
            {"conga", {-430, 0, 440}, {0, 0.6f, 0}},
            // Kitchen things on a counter beyond the door, the knife laid flat.
            {"houchou", {165, 90.4f, -385}, {0, 0, HALF_PI}},
            {"flypanB", {225, 92, -392}, {0, 3.1415927f, 0}},
            {"otama", {195, 91, -385}, {0, 3.1415927f, 0}},
            {"reizouko", {-140, 0, -226}, {0, 0, 0}},
            {"senpuki", {380, 0, -70}, {0, -1.39f, 0}},
            // Milk and ice cream stand in the refrigerator, on its middle shelf.
            {"milk", {-149, 77, -212}, {0, 0, 0}},
            {"iceCandy", {-205, 76, -210}, {0, 0, HALF_PI}},
            {"iceCream", {-131, 71, -212}, {0, 0.4f, 0}},
            {"furin", {-538, 224, 110}, {0, 0, 0}},
            {"diabolos", {350, 180, -232}, {0, 0.3f, 0}},
        };
        // File names from the preload list (same order), view nodes from the catalogue.
        for (size_t i = 0; i < rows.size() && i < size_t(CHARACTER_GOODS_MODEL_FILE_COUNT); ++i) {
            std::string path = CHARACTER_GOODS_MODEL_FILES[i];
            rows[i].file = path.substr(path.rfind('/') + 1);
            const GoodsRow* item = FindGoodsRow(rows[i].base.c_str());
            rows[i].viewNode = item ? item->viewNode : rows[i].base;
        }
        return rows;
    }();
    return places;
}
} // namespace

const std::vector<GoodsPlace>& GoodsPlaces() { return Table(); }

const GoodsPlace* FindGoodsPlace(const std::string& base) {
    for (const GoodsPlace& p : Table())
        if (base == p.base)
            return &p;
    return nullptr;
}
