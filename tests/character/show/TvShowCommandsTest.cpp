#include <gtest/gtest.h>

#include <sstream>

#include "character/show/TvShowCommands.h"
#include "character/show/TvShowLayout.h"
#include "engine/scene/Transform.h"

namespace {

TEST(TvShowCommands, PosPlacesTheTvAndPrintReportsIt) {
    CTransform tv("TV_root::the");
    tv.SetTranslation(1600.0f, -1550.0f, 0.0f);
    struct Case {
        std::string command;
        std::vector<std::string> args;
        std::string output;
        float x, y, z;
    };
    const Case cases[] = {
        {"pos", {"12", "-3.5"}, "zaplenu pos x y z\n", 1600.0f, -1550.0f, 0.0f},
        {"pos", {}, "zaplenu pos x y z\n", 1600.0f, -1550.0f, 0.0f},
        {"pos", {"2400", "-1150", "7"}, "", 2400.0f, -1150.0f, 7.0f},
        {"pos", {"abc", "1e2", "0.5", "extra"}, "", 0.0f, 100.0f, 0.5f},
        {"print", {}, "Zaplenu:\n  pos(0, 100, 0.5)\n", 0.0f, 100.0f, 0.5f},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_TRUE(HandleTvShowCommand(out, c.command, c.args, &tv)) << c.command;
        EXPECT_EQ(out.str(), c.output) << c.command;
        EXPECT_FLOAT_EQ(tv.GetChannelValue(CTransform::TC_TRANSLATION_X), c.x);
        EXPECT_FLOAT_EQ(tv.GetChannelValue(CTransform::TC_TRANSLATION_Y), c.y);
        EXPECT_FLOAT_EQ(tv.GetChannelValue(CTransform::TC_TRANSLATION_Z), c.z);
    }
    std::ostringstream out;
    EXPECT_FALSE(HandleTvShowCommand(out, "posx", {"1", "2", "3"}, &tv)) << "other words go to the base";
    EXPECT_FALSE(HandleTvShowCommand(out, "Print", {}, &tv));
    EXPECT_EQ(out.str(), "");
}

TEST(TvShowLayout, ItemScaleFitsTheBoundingSphereAndSurvivesNoRadius) {
    EXPECT_FLOAT_EQ(ItemShowScale(35.0f), 200.0f);
    EXPECT_FLOAT_EQ(ItemShowScale(7000.0f), 1.0f);
    EXPECT_FLOAT_EQ(ItemShowScale(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(ItemShowScale(-1.0f), 1.0f) << "unbounded";
}

} // namespace
