#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/chunk/ChunkRecords.h"
#include "engine/chunk/FieldUnpack.h"
#include "tests/engine/chunk/StreamBytes.h"

namespace {

TEST(UnpackFields, TextFieldTakesLengthRoundedDownToFourPlusFour) {
    struct Case {
        std::string text;
        long used;
    } cases[] = {{"", 4}, {"abc", 4}, {"abcd", 8}, {"abcdefg", 8}, {"abcdefgh", 12}};
    for (const Case& c : cases) {
        StreamBytes b;
        b.Text(c.text).Int(77);
        char text[CHUNK_TEXT_BUFFER];
        int32_t after = 0;
        EXPECT_EQ(UnpackFields(b.Data(), b.Size(), "sl", text, &after), c.used + 4) << c.text;
        EXPECT_EQ(std::string(text), c.text);
        EXPECT_EQ(after, 77) << c.text;
    }
}

TEST(UnpackFields, ReadsEachKindAndIgnoresOtherLetters) {
    StreamBytes b;
    b.Int(-5).Float(2.5f).Short(0xBEEF).Text("name");
    int32_t l = 0;
    float f = 0;
    uint16_t w = 0;
    char s[CHUNK_TEXT_BUFFER];
    EXPECT_EQ(UnpackFields(b.Data(), b.Size(), "l f-w s", &l, &f, &w, s), 4 + 4 + 2 + 8);
    EXPECT_EQ(l, -5);
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_STREQ(s, "name");
}

TEST(UnpackFields, RefusesFieldsPastTheEnd) {
    char s[CHUNK_TEXT_BUFFER];
    int32_t l = 0;
    uint16_t w = 0;
    StreamBytes three;
    three.bytes = {1, 2, 3};
    EXPECT_EQ(UnpackFields(three.Data(), 3, "l", &l), -1);
    EXPECT_EQ(UnpackFields(three.Data(), 1, "w", &w), -1);
    EXPECT_EQ(UnpackFields(nullptr, 8, "l", &l), -1);
    EXPECT_EQ(UnpackFields(nullptr, 8, "s", s), -1);

    // A text without a zero inside its record.
    StreamBytes noZero;
    noZero.bytes = {'a', 'b', 'c', 'd', 'e', 'f'};
    EXPECT_EQ(UnpackFields(noZero.Data(), noZero.Size(), "s", s), -1);
    // The zero is there but the padding after it is not.
    StreamBytes shortPad;
    shortPad.bytes = {'a', 'b', 'c', 'd', 'e', 0};
    EXPECT_EQ(UnpackFields(shortPad.Data(), shortPad.Size(), "s", s), -1);
}

TEST(UnpackFields, RefusesTextsThatDoNotFitTheBuffer) {
    char s[CHUNK_TEXT_BUFFER];
    StreamBytes longest;
    longest.Text(std::string(255, 'x'));
    EXPECT_EQ(UnpackFields(longest.Data(), longest.Size(), "s", s), 256);
    EXPECT_EQ(std::strlen(s), 255u);
    StreamBytes tooLong;
    tooLong.Text(std::string(256, 'x'));
    EXPECT_EQ(UnpackFields(tooLong.Data(), tooLong.Size(), "s", s), -1);
}

} // namespace
