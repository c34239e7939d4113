#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "character/item/Catalogue.h"

namespace {

bool Empty(const char* text) { return !text || !*text; }

TEST(CatalogueTest, HoldsEightyFiveNamesInConstructionOrder) {
    std::set<std::string> names;
    int expected = 1;
    for (const GoodsRow& row : ROOM_PROP_ROWS) {
        EXPECT_EQ(row.order, expected++) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    for (const ClothRow& row : CLOTH_ROWS) {
        EXPECT_EQ(row.order, expected++) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    for (const AccessoryRow& row : ACCESSORY_ROWS) {
        EXPECT_EQ(row.order, expected++) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    for (const GoodsRow& row : GOODS_ROWS) {
        EXPECT_EQ(row.order, expected++) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
    }
    EXPECT_TRUE(names.insert(ENDING_ITEM_NAME).second);
    EXPECT_EQ(expected, 85);
    EXPECT_EQ((int)names.size(), CATALOGUE_ITEM_COUNT);
    EXPECT_EQ(CATALOGUE_ITEM_COUNT, 85);
}

TEST(CatalogueTest, TvIdsAreDistinctAndOnlyTheUnsoldLackOneAndCostNothing) {
    std::set<std::string> ids;
    std::set<std::string> without;
    auto check = [&](const char* name, const char* tvId, unsigned price) {
        if (Empty(tvId)) {
            without.insert(name);
            EXPECT_EQ(price, 0u) << name;
            return;
        }
        EXPECT_EQ(std::strncmp(tvId, "tv_item", 7), 0) << name;
        EXPECT_TRUE(ids.insert(tvId).second) << tvId << " twice";
    };
    for (const GoodsRow& row : ROOM_PROP_ROWS)
        check(row.name, row.tvId, row.price);
    for (const ClothRow& row : CLOTH_ROWS)
        check(row.name, row.tvId, row.price);
    for (const AccessoryRow& row : ACCESSORY_ROWS)
        check(row.name, row.tvId, row.price);
    for (const GoodsRow& row : GOODS_ROWS)
        check(row.name, row.tvId, row.price);
    without.insert(ENDING_ITEM_NAME);
    EXPECT_EQ(ids.size(), 79u);
    EXPECT_EQ(without, (std::set<std::string>{"door", "chair", "tv", "clothDefault", "clothPink", "ending"}));
}

TEST(CatalogueTest, SixItemsAreOwnedAtStart) {
    std::set<std::string> owned;
    for (const GoodsRow& row : ROOM_PROP_ROWS)
        if (row.ownedAtStart)
            owned.insert(row.name);
    for (const ClothRow& row : CLOTH_ROWS)
        if (row.ownedAtStart)
            owned.insert(row.name);
    for (const AccessoryRow& row : ACCESSORY_ROWS)
        if (row.ownedAtStart)
            owned.insert(row.name);
    for (const GoodsRow& row : GOODS_ROWS)
        EXPECT_FALSE(row.ownedAtStart) << row.name;
    EXPECT_EQ(owned, (std::set<std::string>{"door", "chair", "tv", "clothDefault", "clothPink", "nenekoCap"}));
    const AccessoryRow* neneko = FindAccessoryRow("nenekoCap");
    ASSERT_NE(neneko, nullptr);
    EXPECT_EQ(neneko->price, 0u);
    EXPECT_STREQ(neneko->tvId, "tv_item40_capNeneko");
}

TEST(CatalogueTest, SwapsCountFiftyThreeWithFourSkinSwapsBeside) {
    int swaps = 0;
    for (const ClothRow& row : CLOTH_ROWS) {
        EXPECT_EQ(row.swaps == nullptr, row.swapCount == 0) << row.name;
        for (int i = 0; i < row.swapCount; ++i) {
            EXPECT_FALSE(Empty(row.swaps[i].material)) << row.name;
            EXPECT_NE(std::strstr(row.swaps[i].texture, ".tga"), nullptr) << row.name;
        }
        swaps += row.swapCount;
        EXPECT_TRUE(row.bodyVariant >= 0 && row.bodyVariant < BODY_VARIANT_COUNT) << row.name;
    }
    EXPECT_EQ(swaps, 53);
    EXPECT_STREQ(BODY_VARIANT_ROWS[0].node, "vesko2003E");
    EXPECT_EQ(BODY_VARIANT_ROWS[0].swapCount, 4);
    EXPECT_STREQ(BODY_VARIANT_ROWS[1].node, "vesko2003ENagasode");
    EXPECT_EQ(BODY_VARIANT_ROWS[1].swapCount, 0);
}

TEST(CatalogueTest, RowsThatShareOrDifferFromTheirNames) {
    struct Case {
        const char* name;
        const char* viewNode;
    } goods[] = {{"papaMakura", "bexlaPapa_Makura"},
                 {"iceCream", "IceCreamVC"},
                 {"furin", "furinVC"},
                 {"diabolos", "tako"},
                 {"kotatsu", "kotatsu"},
                 {"door", "door"}};
    for (const Case& c : goods) {
        const GoodsRow* row = FindGoodsRow(c.name);
        ASSERT_NE(row, nullptr) << c.name;
        EXPECT_STREQ(row->viewNode, c.viewNode);
    }
    EXPECT_STREQ(FindClothRow("clothDefault")->tvPicture, "clothR_swimSchool");
    EXPECT_STREQ(FindClothRow("swim")->tvPicture, "clothR_swimSchool");
    EXPECT_STREQ(FindClothRow("clothPink")->modelNode, "clothPink2");
    EXPECT_STREQ(FindClothRow("clothPink2")->modelNode, "clothPink2");
    EXPECT_STREQ(FindClothRow("clothPink")->swaps[0].texture, "clothPink.tga");
    EXPECT_STREQ(FindClothRow("clothPink2")->swaps[0].texture, "clothOrange.tga");
    EXPECT_EQ(FindClothRow("clothBlue")->swapCount, 0);
    EXPECT_STREQ(FindClothRow("leotard")->modelNode, "");
    EXPECT_EQ(FindClothRow("jazi")->bodyVariant, 1);
    EXPECT_EQ(FindGoodsRow("bodyBlade")->twoPart, 1);
    EXPECT_EQ(FindGoodsRow("bodyVibrator")->twoPart, 1);
    EXPECT_EQ(FindAccessoryRow("henshinBelt")->group, 3);
    EXPECT_EQ(FindGoodsRow("nothing"), nullptr);
    EXPECT_EQ(FindClothRow(nullptr), nullptr);
}

} // namespace
