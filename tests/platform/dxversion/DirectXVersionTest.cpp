#include <gtest/gtest.h>

#include "platform/dxversion/DirectXVersion.h"

namespace {

TEST(DirectXVersion, ReadsTheFourFieldsOfTheVersionText) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t version, revision;
    } cases[] = {
        {"4.08.01.0901", true, 0x40008, 0x10385}, // DirectX 8.1
        {"4.08.00.0400", true, 0x40008, 0x00190}, // 8.0
        {"4.09.00.0904", true, 0x40009, 0x00388}, // 9.0c
        {"4.07.00.0700", true, 0x40007, 0x002BC},
        {"4.8.1.901", true, 0x40008, 0x10385},
        {"", false, 0, 0},
        {"4.08.01", false, 0, 0},
        {"4.08.01.0901.1", false, 0, 0},
        {"4.08.01.0901 ", false, 0, 0},
        {"4..01.0901", false, 0, 0},
        {"4.08.01.99999", false, 0, 0}, // above 16 bits
        {"x.08.01.0901", false, 0, 0},
    };
    for (const Case& c : cases) {
        uint32_t v = 7, r = 7;
        EXPECT_EQ(ParseDirectXVersion(c.text, v, r), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.version) << c.text;
            EXPECT_EQ(r, c.revision) << c.text;
        } else {
            EXPECT_EQ(v, 7u) << c.text; // untouched
        }
    }
    uint32_t v, r;
    EXPECT_FALSE(ParseDirectXVersion(nullptr, v, r));
}

TEST(DirectXVersion, EightOneOrLater) {
    EXPECT_FALSE(IsDirectX81OrLater(0x40008, 0x10384));
    EXPECT_TRUE(IsDirectX81OrLater(0x40008, 0x10385));
    EXPECT_TRUE(IsDirectX81OrLater(0x40009, 0));
    EXPECT_FALSE(IsDirectX81OrLater(0x40007, 0xFFFFFFFF));
}

} // namespace
