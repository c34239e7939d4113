#include <gtest/gtest.h>

#include <sstream>

#include "shell/lighting/LightCommands.h"

namespace {

using Words = std::vector<std::string>;

TEST(LightCommands, ColourWordsSetLightAndAmbientWithAlphaOne) {
    struct Case {
        const char* word;
        LightGroup group;
    };
    const Case cases[] = {{"lightRoom", LG_ROOM}, {"lightItem", LG_ITEM}, {"lightIndi", LG_INDICATOR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        std::ostringstream out;
        LightCommand parsed = ParseLightCommand(out, c.word, Words{"1", "0", "0.5", "0.25", "0", "0", "9", "x"});
        ASSERT_EQ(parsed.kind, LightCommand::SET_COLOURS);
        EXPECT_EQ(parsed.group, c.group);
        EXPECT_FLOAT_EQ(parsed.light.r, 1);
        EXPECT_FLOAT_EQ(parsed.light.g, 0);
        EXPECT_FLOAT_EQ(parsed.light.b, 0.5f);
        EXPECT_FLOAT_EQ(parsed.light.a, 1);
        EXPECT_FLOAT_EQ(parsed.ambient.r, 0.25f);
        EXPECT_FLOAT_EQ(parsed.ambient.g, 0);
        EXPECT_FLOAT_EQ(parsed.ambient.b, 0);
        EXPECT_FLOAT_EQ(parsed.ambient.a, 1);
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(LightCommands, TooFewNumbersWriteTheUsageLine) {
    struct Case {
        const char* word;
        Words args;
        const char* usage;
    };
    const Case cases[] = {
        {"lightRoom", {"1", "0", "0"}, "render lightRoom r g b ar ag ab\n"},
        {"lightItem", {"1", "0", "0", "0", "0"}, "render lightItem r g b ar ag ab\n"},
        {"lightIndi", {}, "render lightIndi r g b ar ag ab\n"},
        {"lightEdit", {}, "render lightEdit on/off\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        std::ostringstream out;
        EXPECT_EQ(ParseLightCommand(out, c.word, c.args).kind, LightCommand::USAGE);
        EXPECT_EQ(out.str(), c.usage);
    }
}

TEST(LightCommands, LightEditIsOnOnlyForOn) {
    const std::pair<const char*, bool> cases[] = {{"on", true}, {"off", false}, {"ON", false}, {"1", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        std::ostringstream out;
        LightCommand parsed = ParseLightCommand(out, "lightEdit", Words{c.first});
        ASSERT_EQ(parsed.kind, LightCommand::LIGHT_EDIT);
        EXPECT_EQ(parsed.lightEdit, c.second);
    }
}

TEST(LightCommands, OtherWordsAreNotLightWords) {
    for (const char* word : {"select", "lightroom", "light", "lightRoomX", ""}) {
        SCOPED_TRACE(word);
        std::ostringstream out;
        EXPECT_EQ(ParseLightCommand(out, word, Words{"1", "1", "1", "1", "1", "1"}).kind, LightCommand::NONE);
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(LightCommands, NumbersReadLikeAtof) {
    std::ostringstream out;
    LightCommand parsed = ParseLightCommand(out, "lightRoom", Words{"0.5x", "abc", "-1", "1e-1", "  2", ""});
    ASSERT_EQ(parsed.kind, LightCommand::SET_COLOURS);
    EXPECT_FLOAT_EQ(parsed.light.r, 0.5f);
    EXPECT_FLOAT_EQ(parsed.light.g, 0);
    EXPECT_FLOAT_EQ(parsed.light.b, -1);
    EXPECT_FLOAT_EQ(parsed.ambient.r, 0.1f);
    EXPECT_FLOAT_EQ(parsed.ambient.g, 2);
    EXPECT_FLOAT_EQ(parsed.ambient.b, 0);
}

} // namespace
