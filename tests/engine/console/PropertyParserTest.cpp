// A property parser over a table of floats.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/console/PropertyParser.h"

namespace {

struct PropertyParserTest : ::testing::Test {
    float speed = 1.5f;
    float damper = 0.25f;
    CFloatPropertyObject object{"parserTest", {{"speed", &speed}, {"damper", &damper}}};

    std::string Run(const std::string& word, const std::vector<std::string>& args, bool& handled) {
        std::ostringstream out;
        handled = object.HandleCommand(out, word, args);
        return out.str();
    }
};

TEST_F(PropertyParserTest, KeywordsPrintAndSetTheirFloats) {
    bool handled = false;
    EXPECT_EQ(Run("damper", {}, handled), "0.25\n");
    EXPECT_TRUE(handled);
    EXPECT_EQ(Run("speed", {"4.5", "ignored"}, handled), "");
    EXPECT_TRUE(handled);
    EXPECT_EQ(speed, 4.5f);
    EXPECT_EQ(damper, 0.25f);
    // Not a number reads as 0.
    Run("damper", {"abc"}, handled);
    EXPECT_EQ(damper, 0.0f);
}

TEST_F(PropertyParserTest, AnyOtherWordListsTheKeywordsInOrder) {
    bool handled = false;
    for (const char* word : {"select", "Speed", "spee", "print"}) {
        EXPECT_EQ(Run(word, {"1"}, handled), "speed damper \n") << word;
        EXPECT_TRUE(handled) << word;
    }
    EXPECT_EQ(speed, 1.5f);
    EXPECT_EQ(damper, 0.25f);
}

} // namespace
