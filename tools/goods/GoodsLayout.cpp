#include "tools/goods/GoodsLayout.h"

namespace {
constexpr float HALF_PI = 1.5707963f;

// base, file, view node, rest place, rest turn
const std::vector<GoodsPlace>& Table() {
    static const std::vector<GoodsPlace> places = {
        {"door", "door.hgm", "door", {200, 0, -257}, {0, 0, 0}},
        {"chair", "chair.hgm", "chair", {-260, 0, -45}, {0, 3.1415927f, 0}},
        {"tv", "tv.hgm", "tv", {0, 45, -190}, {0, 0, 0}},
        {"kotatsu", "kotatsu.hgm", "kotatsu", {0, 0, 0}, {0, 0, 0}},
        // Stood on end against the right wall.
        {"bodyBlade", "bodyBlade.hgm", "bodyBlade", {548, 78, 140}, {-HALF_PI, 0, 0}},
        {"domohornWinkle", "domohornWinkle.hgm", "domohornWinkle", {-532, 77, 352}, {0, 0.4f, 0}},
        {"punchingBag", "punchingBag.hgm", "punchingBag", {-300, 0, 420}, {0, 0, 0}},
        {"bodyVac", "bodyVac.hgm", "bodyVac", {545, 44, 30}, {0, -HALF_PI, 0}},
        {"lightSaber", "lightSaber.hgm", "lightSaber", {-420, 6.5f, 60}, {0, 0.5f, 0}},
        {"papaMakura", "papaMakura.hgm", "bexlaPapa_Makura", {-128, 9, 72}, {0, 0.9f, 0}},
        {"segway", "segway.hgm", "segway", {260, 80, -120}, {0, -0.6f, 0}},
        {"bodyVibrator", "beltVibrator.hgm", "bodyVibrator", {470, 0, 120}, {0, -HALF_PI, 0}},
        {"teleporter", "teleporter.hgm", "teleporter", {-300, 82, -215}, {0, 0.3f, 0}},
        {"conga", "conga.hgm", "conga", {-430, 0, 440}, {0, 0.6f, 0}},
        // Laid flat on the chest of drawers, the blade's side down.
        {"houchou", "houchou.hgm", "houchou", {462, 117.4f, -222}, {0, 0, HALF_PI}},
        {"flypanB", "flypanB.hgm", "flypanB", {515, 119, -238}, {0, -2.3f, 0}},
        {"otama", "otama.hgm", "otama", {470, 118, -205}, {0, 1.8f, 0}},
        {"reizouko", "reizouko.hgm", "reizouko", {-140, 0, -226}, {0, 0, 0}},
        {"senpuki", "senpuki.hgm", "senpuki", {380, 0, -70}, {0, -2.2f, 0}},
        {"milk", "milk.hgm", "milk", {-228, 83, -212}, {0, 0, 0}},
        {"iceCandy", "iceCandy.hgm", "iceCandy", {-205, 76, -210}, {0, 0, HALF_PI}},
        {"iceCream", "iceCream.hgm", "IceCreamVC", {-255, 77, -205}, {0, 0.4f, 0}},
        {"furin", "furin.hgm", "furinVC", {-538, 224, 110}, {0, 0, 0}},
        {"diabolos", "diabolos.hgm", "tako", {350, 180, -232}, {0, 0.3f, 0}},
    };
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
