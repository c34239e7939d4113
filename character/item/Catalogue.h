#pragma once

// The fixed catalogue of everything Vesko can own, and the body variants her
// clothes refer to. Rows are in construction order; the character builds one
// item per row and adds it to her registry. Every node and material name is
// looked up with the scene scope suffix.

// A material of her model and the texture file it takes.
struct TextureSwapEntry {
    const char* material;
    const char* texture;
};

// Room props and goods: each builds its own model instance from the loaded
// model "<name>Root".
struct GoodsRow {
    int order;
    const char* name;
    const char* tvId; // "" for the room props
    const char* viewNode;
    unsigned char twoPart;
    unsigned price;
    bool ownedAtStart;
};

struct ClothRow {
    int order;
    const char* name;
    const char* modelNode; // "" when the cloth is only texture swaps
    int bodyVariant;
    unsigned char quillombOnly;
    const char* tvId; // "" when the TV never sells it
    const char* tvPicture;
    unsigned price;
    const TextureSwapEntry* swaps;
    int swapCount;
    bool ownedAtStart;
};

// Groups: 0 caps and hats, 1 ears and head pieces, 2 glasses, 3 tails and the
// belt, 4 wings, the halo and the etona set.
struct AccessoryRow {
    int order;
    const char* name;
    const char* modelNode;
    int group;
    const char* tvId;
    unsigned price;
    bool ownedAtStart;
};

// One of her two body models and the skin swaps it brings.
struct BodyVariantRow {
    const char* node;
    const TextureSwapEntry* swaps;
    int swapCount;
};

constexpr int ROOM_PROP_COUNT = 3;
constexpr int CLOTH_COUNT = 22;
constexpr int ACCESSORY_COUNT = 39;
constexpr int GOODS_COUNT = 20;
constexpr int CATALOGUE_ITEM_COUNT = ROOM_PROP_COUNT + CLOTH_COUNT + ACCESSORY_COUNT + GOODS_COUNT + 1;
constexpr int BODY_VARIANT_COUNT = 2;
// The models her one body instance is built from, in order.
constexpr int BODY_MODEL_COUNT = 11;

extern const GoodsRow ROOM_PROP_ROWS[ROOM_PROP_COUNT];
extern const ClothRow CLOTH_ROWS[CLOTH_COUNT];
extern const AccessoryRow ACCESSORY_ROWS[ACCESSORY_COUNT];
extern const GoodsRow GOODS_ROWS[GOODS_COUNT];
extern const char* const ENDING_ITEM_NAME;
extern const BodyVariantRow BODY_VARIANT_ROWS[BODY_VARIANT_COUNT];
extern const char* const BODY_MODEL_NAMES[BODY_MODEL_COUNT];

// Null when no row has that name.
const GoodsRow* FindGoodsRow(const char* name); // room props included
const ClothRow* FindClothRow(const char* name);
const AccessoryRow* FindAccessoryRow(const char* name);
