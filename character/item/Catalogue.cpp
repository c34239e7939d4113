#include "character/item/Catalogue.h"

#include <cstring>

// clang-format off

// Room props (orders 1-3).
const GoodsRow ROOM_PROP_ROWS[ROOM_PROP_COUNT] = {
    // order  name  tvId  viewNode  twoPart  price (yen)  ownedAtStart
    {1, "door", "", "door", 0, 0, true},
    {2, "chair", "", "chair", 0, 0, true},
    {3, "tv", "", "tv", 0, 0, true},
};

const TextureSwapEntry SKIN_SWAPS[] = {
    {"vesko2003E_m0", "vesko_skinArm.tga"},
    {"vesko2003E_m1", "vesko_skinBody.tga"},
    {"vesko2003E_m4", "vesko_skinLeg.tga"},
    {"vesko2003E_m5", "vesko_skinNeck.tga"},
};

const BodyVariantRow BODY_VARIANT_ROWS[BODY_VARIANT_COUNT] = {
    {"vesko2003E", SKIN_SWAPS, 4},
    {"vesko2003ENagasode", nullptr, 0},
};

const char* const BODY_MODEL_NAMES[BODY_MODEL_COUNT] = {
    "vesko2002", "vesko2003ENagasode", "vesko_clothStandard", "clothBlue", "clothPink2", "chuchu",
    "katahimo", "miniSkirt", "clothNagasode", "tightSkirt", "etonaDress",
};

// Clothes (orders 4-25) and their texture swaps.
static const TextureSwapEntry SWAPS_CLOTH_PINK[] = {
    {"clothPink2_clothPink_m0", "clothPink.tga"},
    {"clothPink2m0", "clothPink.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_PINK_2[] = {
    {"clothPink2_clothPink_m0", "clothOrange.tga"},
    {"clothPink2m0", "clothOrange.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_CHEER_LEADER[] = {
    {"miniSkirt_m4", "clothCheerLeader.tga"},
    {"vesko2003E_m0", "vesko_armCheerLeader.tga"},
    {"vesko2003E_m1", "vesko_skinCheerLeader.tga"},
    {"vesko2003E_m4", "vesko_legCheerLeader.tga"},
    {"vesko2003E_m5", "vesko_neckCheerLeader.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_HATAN[] = {
    {"miniSkirt_m4", "clothHatan.tga"},
    {"vesko2003E_m0", "vesko_armHatan.tga"},
    {"vesko2003E_m1", "vesko_skinHatan.tga"},
    {"vesko2003E_m4", "vesko_legHatan.tga"},
    {"vesko2003E_m5", "vesko_neckHatan.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_KORVANT[] = {
    {"miniSkirt_m4", "clothKorvant.tga"},
    {"vesko2003E_m0", "vesko_armKorvant.tga"},
    {"vesko2003E_m1", "vesko_skinKorvant.tga"},
    {"vesko2003E_m4", "vesko_legKorvant.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_YAMAYURI[] = {
    {"miniSkirt_m4", "clothYamayuri.tga"},
    {"vesko2003E_m0", "vesko_armYamayuri.tga"},
    {"vesko2003E_m1", "vesko_skinYamayuri.tga"},
    {"vesko2003E_m4", "vesko_legYamayuri.tga"},
};
static const TextureSwapEntry SWAPS_SWIM_NO_SHOLDER_2[] = {
    {"vesko2003E_m1", "vesko_skinBodySwimNS2.tga"},
};
static const TextureSwapEntry SWAPS_SWIM_NO_SHOLDER_1[] = {
    {"vesko2003E_m1", "vesko_skinBodySwimNS1.tga"},
};
static const TextureSwapEntry SWAPS_LEOTARD[] = {
    {"vesko2003E_m1", "vesko_skinBodyLeotard.tga"},
    {"vesko2003E_m4", "vesko_legLeotard.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_TRAINING_A[] = {
    {"vesko2003E_m0", "vesko_armTrainingA.tga"},
    {"vesko2003E_m1", "vesko_skinBodyTrainingA.tga"},
    {"vesko2003E_m4", "vesko_legTrainingApsd.tga"},
    {"vesko2003E_m5", "vesko_neckTrainingA.tga"},
};
static const TextureSwapEntry SWAPS_CLOTH_TRAINING_B[] = {
    {"vesko2003E_m0", "vesko_armTrainingB.tga"},
    {"vesko2003E_m1", "vesko_skinBodyTrainingB.tga"},
    {"vesko2003E_m4", "vesko_legTrainingBpsd.tga"},
    {"vesko2003E_m5", "vesko_neckTrainingB.tga"},
};
static const TextureSwapEntry SWAPS_SWIM[] = {
    {"vesko2003E_m1", "vesko_skinBodySwim.tga"},
};
static const TextureSwapEntry SWAPS_SWIM_SHOLDER_1[] = {
    {"vesko2003E_m1", "vesko_skinBodySwimSholder1.tga"},
    {"vesko2003E_m4", "vesko_legSwimSholder1.tga"},
};
static const TextureSwapEntry SWAPS_SWIM_SHOLDER_2[] = {
    {"vesko2003E_m1", "vesko_skinBodySwimSholder2.tga"},
};
static const TextureSwapEntry SWAPS_ETONA[] = {
    {"vesko2003E_m0", "vesko_armEtona.tga"},
    {"vesko2003E_m4", "vesko_legEtona.tga"},
    {"vesko2003E_m5", "vesko_neckEtona.tga"},
};
static const TextureSwapEntry SWAPS_CHUCHU[] = {
    {"vesko2003E_m1", "vesko_skinBodyChuchu.tga"},
    {"vesko2003E_m4", "vesko_legChuchu.tga"},
};
static const TextureSwapEntry SWAPS_MOMO[] = {
    {"vesko2003E_m0", "vesko_armMomo.tga"},
    {"vesko2003E_m1", "vesko_skinMomo.tga"},
    {"vesko2003E_m4", "vesko_legMomo.tga"},
    {"vesko2003E_m5", "vesko_neckMomo.tga"},
};
static const TextureSwapEntry SWAPS_JAZI[] = {
    {"clothNagasode_m0", "jazi.tga"},
    {"clothNagasode_m1", "jazi.tga"},
};
static const TextureSwapEntry SWAPS_JAZI_YELLOW[] = {
    {"clothNagasode_m0", "jaziYellow.tga"},
    {"clothNagasode_m1", "jaziYellow.tga"},
};
static const TextureSwapEntry SWAPS_PAJAMA_ORANGE[] = {
    {"clothNagasode_m0", "pajamaOrange.tga"},
    {"clothNagasode_m1", "pajamaOrange.tga"},
};
const ClothRow CLOTH_ROWS[CLOTH_COUNT] = {
    // order  name  modelNode  bodyVariant  quillombOnly  tvId  tvPicture  price (yen)  swaps  ownedAtStart
    {4, "clothDefault", "vesko_clothStandard", 0, 0, "", "clothR_swimSchool", 0, nullptr, 0, true},
    {5, "clothPink", "clothPink2", 0, 1, "", "clothR_clothPink", 0, SWAPS_CLOTH_PINK, 2, true},
    {6, "clothBlue", "clothBlue", 0, 1, "tv_item57_blueCloth", "clothR_clothBlue", 12800, nullptr, 0, false},
    {7, "clothPink2", "clothPink2", 0, 1, "tv_item59_orangeCloth", "clothR_clothOrange", 12800, SWAPS_CLOTH_PINK_2, 2, false},
    {8, "clothCheerLeader", "miniSkirt", 0, 1, "tv_item66_cheerLeader", "clothR_cheerLeader", 8500, SWAPS_CLOTH_CHEER_LEADER, 5, false},
    {9, "clothHatan", "miniSkirt", 0, 1, "tv_item68_hatan", "clothR_hatan", 45300, SWAPS_CLOTH_HATAN, 5, false},
    {10, "clothKorvant", "miniSkirt", 0, 1, "tv_item69_korvant", "clothR_korvant", 35000, SWAPS_CLOTH_KORVANT, 4, false},
    {11, "clothYamayuri", "miniSkirt", 0, 1, "tv_item67_lilian", "clothR_yamayuri", 75000, SWAPS_CLOTH_YAMAYURI, 4, false},
    {12, "swimNoSholder2", "", 0, 0, "tv_item75_swimBikiniA", "clothR_swimBikiniA", 6500, SWAPS_SWIM_NO_SHOLDER_2, 1, false},
    {13, "swimNoSholder1", "", 0, 0, "tv_item74_swimOnpieceA", "clothR_swimWanpiA", 5600, SWAPS_SWIM_NO_SHOLDER_1, 1, false},
    {14, "leotard", "", 0, 0, "tv_item73_leotard", "clothR_leotard", 7500, SWAPS_LEOTARD, 2, false},
    {15, "clothTrainingA", "", 0, 0, "tv_item76_trainingA", "clothR_trainingA", 3780, SWAPS_CLOTH_TRAINING_A, 4, false},
    {16, "clothTrainingB", "", 0, 0, "tv_item77_trainingB", "clothR_trainingB", 3500, SWAPS_CLOTH_TRAINING_B, 4, false},
    {17, "swim", "katahimo", 0, 0, "tv_item79_swimSchool", "clothR_swimSchool", 5600, SWAPS_SWIM, 1, false},
    {18, "swimSholder1", "katahimo", 0, 0, "tv_item80_excersise", "clothR_exersise", 6980, SWAPS_SWIM_SHOLDER_1, 2, false},
    {19, "swimSholder2", "katahimo", 0, 0, "tv_item78_swimBikiniB", "clothR_swimBikiniB", 7500, SWAPS_SWIM_SHOLDER_2, 1, false},
    {20, "etona", "etonaDress", 0, 1, "tv_item71_etonaDress", "clothR_etonaDress", 98500, SWAPS_ETONA, 3, false},
    {21, "chuchu", "chuchu", 0, 1, "tv_item72_chuchu", "clothR_chuchu", 9800, SWAPS_CHUCHU, 2, false},
    {22, "momo", "tightSkirt", 0, 1, "tv_item70_momoDress", "clothR_momo", 67000, SWAPS_MOMO, 4, false},
    {23, "jazi", "clothNagasode", 1, 0, "tv_item64_jaziRed", "clothR_jaziRed", 4500, SWAPS_JAZI, 2, false},
    {24, "jaziYellow", "clothNagasode", 1, 0, "tv_item65_jaziYellow", "clothR_jajiYellow", 5600, SWAPS_JAZI_YELLOW, 2, false},
    {25, "pajamaOrange", "clothNagasode", 1, 0, "tv_item63_pajamaOrange", "clothR_pajamaOrange", 3200, SWAPS_PAJAMA_ORANGE, 2, false},
};
// Accessories (orders 26-64).
const AccessoryRow ACCESSORY_ROWS[ACCESSORY_COUNT] = {
    // order  name  modelNode  group  tvId  price (yen)  ownedAtStart
    {26, "mugiwaraCap", "cap_Mugiwara", 0, "tv_item10_capMugiwara", 3200, false},
    {27, "nurseCap", "cap_Nurse", 0, "tv_item11_capNurse", 4900, false},
    {28, "maidCap", "cap_Maid", 0, "tv_item12_capMaid", 5800, false},
    {29, "bexlaCap", "capBexlaPapa", 0, "tv_item37_capBexlaPapa", 3400, false},
    {30, "shampooCap", "shampooHat", 0, "tv_item22_shampooHat", 1980, false},
    {31, "nenekoCap", "capNeneko", 0, "tv_item40_capNeneko", 0, true},
    {32, "helmetCap", "capHelmet", 0, "tv_item44_capHelmet", 350, false},
    {33, "alianCap", "capAlian", 0, "tv_item41_capAlian", 6200, false},
    {34, "osageCap", "osageSpin", 0, "tv_item43_osageSpin", 2450, false},
    {35, "summerCap", "capSummer", 0, "tv_item42_capSummer", 1670, false},
    {36, "aoringoCap", "capAoringo", 0, "tv_item58_capAoringo", 4300, false},
    {37, "greenCap", "capGreenBeret", 0, "tv_item60_capGreenBeret", 5600, false},
    {38, "kurobuchiMegane", "glass_kurobuchi", 2, "tv_item13_kurobuchi", 2400, false},
    {39, "starMegane", "glassStar", 2, "tv_item23_glassStar", 2350, false},
    {40, "nekoMimi", "mimi_nekoMimi", 1, "tv_item14_mimiNeko", 3500, false},
    {41, "kumaMimi", "mimi_kumaMimi", 1, "tv_item15_mimiKuma", 3500, false},
    {42, "usaMimi", "mimi_usaMimi", 1, "tv_item16_mimiUsa", 3500, false},
    {43, "asukaMimi", "mimiAsuka", 1, "tv_item17_mimiAsuka", 7000, false},
    {44, "multiMimi", "multiSensor2", 1, "tv_item24_multiSensor", 29800, false},
    {45, "bexlaMimi", "osageBexla", 1, "tv_item30_osageBexla", 2500, false},
    {46, "saruMimi", "mimiSaru", 1, "tv_item38_mimiSaru", 3500, false},
    {47, "nekoShippo", "sippo_neko", 3, "tv_item18_tailNeko", 5000, false},
    {48, "saruShippo", "sippoSaru", 3, "tv_item39_sippoSaru", 5200, false},
    {49, "haibane", "angelWing", 4, "tv_item26_angelWing", 13500, false},
    {50, "haibaneRing", "angelRing", 4, "tv_item25_angelRing", 14000, false},
    {51, "antenaCap", "capAntena", 0, "tv_item86_capAntena", 150, false},
    {52, "reiMimi", "mimiRei", 1, "tv_item88_mimiAyanami", 7000, false},
    {53, "witchCap", "capWitch", 0, "tv_item87_capWitch", 8300, false},
    {54, "akazukinCap", "capAkazukin", 0, "tv_item85_capAkazukin", 1800, false},
    {55, "henshinBelt", "henshinBelt", 3, "tv_item81_henshinBelt", 32000, false},
    {56, "ribbonDeFronCap", "capRibbonDeFron", 0, "tv_item92_ribbonDeFron", 1600, false},
    {57, "momoMimi", "mimiMomo", 1, "tv_item89_capMomo", 7800, false},
    {58, "kosmosCap", "capKosmos", 0, "tv_item90_capKosmos", 12500, false},
    {59, "kitarouCap", "kitarou", 0, "tv_item20_kitarou", 4500, false},
    {60, "etonaOsage", "osageEtona", 4, "tv_item91_etonaOsage", 3000, false},
    {61, "etonaWing", "etonaWing", 4, "tv_item82_etonaWing", 3200, false},
    {62, "etonaKubiwa", "etonaKubiwa", 4, "tv_item84_etonaKubiwa", 4500, false},
    {63, "etonaBraceletR", "etonaBraceletR", 4, "tv_item83_etonaBracelet", 2300, false},
    {64, "etonaBraceletL", "etonaBraceletL", 4, "tv_item95_etonaBracelet2", 2300, false},
};

// Goods (orders 65-84).
const GoodsRow GOODS_ROWS[GOODS_COUNT] = {
    // order  name  tvId  viewNode  twoPart  price (yen)  ownedAtStart
    {65, "kotatsu", "tv_item01_kotatsu", "kotatsu", 0, 15800, false},
    {66, "bodyBlade", "tv_item02_bodyBlade", "bodyBlade", 1, 9800, false},
    {67, "domohornWinkle", "tv_item03_domoho", "domohornWinkle", 0, 1980, false},
    {68, "punchingBag", "tv_item04_punchingBag", "punchingBag", 0, 19800, false},
    {69, "bodyVac", "tv_item05_houkyou", "bodyVac", 0, 9800, false},
    {70, "lightSaber", "tv_item07_lightSaver", "lightSaber", 0, 7800, false},
    {71, "papaMakura", "tv_item06_sutekiMakura", "bexlaPapa_Makura", 0, 4800, false},
    {72, "segway", "tv_item08_ginger", "segway", 0, 45000, false},
    {73, "bodyVibrator", "tv_item19_buruburu", "bodyVibrator", 1, 26000, false},
    {74, "teleporter", "tv_item27_teleporter", "teleporter", 0, 12500, false},
    {75, "conga", "tv_item33_conga", "conga", 0, 26000, false},
    {76, "houchou", "tv_item28_houchou", "houchou", 0, 2850, false},
    {77, "otama", "tv_item35_otama", "otama", 0, 1980, false},
    {78, "flypanB", "tv_item29_flypanB", "flypanB", 0, 2200, false},
    {79, "reizouko", "tv_item46_reizouko", "reizouko", 0, 25000, false},
    {80, "senpuki", "tv_item47_senpuki", "senpuki", 0, 9800, false},
    {81, "milk", "tv_item53_milk", "milk", 0, 450, false},
    {82, "iceCream", "tv_item51_iceCream", "IceCreamVC", 0, 300, false},
    {83, "furin", "tv_item45_furin", "furinVC", 0, 1200, false},
    {84, "diabolos", "tv_item93_diabolos", "tako", 0, 5300, false},
};

// Order 85.
const char* const ENDING_ITEM_NAME = "ending";

// clang-format on

namespace {

template <class Row, int N>
const Row* FindRow(const Row (&rows)[N], const char* name) {
    if (!name)
        return nullptr;
    for (const Row& row : rows) {
        if (std::strcmp(row.name, name) == 0)
            return &row;
    }
    return nullptr;
}

} // namespace

const GoodsRow* FindGoodsRow(const char* name) {
    const GoodsRow* row = FindRow(ROOM_PROP_ROWS, name);
    return row ? row : FindRow(GOODS_ROWS, name);
}

const ClothRow* FindClothRow(const char* name) { return FindRow(CLOTH_ROWS, name); }

const AccessoryRow* FindAccessoryRow(const char* name) { return FindRow(ACCESSORY_ROWS, name); }
