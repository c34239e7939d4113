// The "system" object's console words and the steps of the first updates.
#include <gtest/gtest.h>

#include <sstream>

#include "shell/mascot/SystemConsole.h"

namespace {

TEST(SystemConsole, Words) {
    CSystemConsole system("system");
    std::ostringstream out;
    EXPECT_TRUE(system.HandleCommand(out, "stop", {}));
    EXPECT_TRUE(system.IsStopped());
    EXPECT_TRUE(system.HandleCommand(out, "start", {"x"}));
    EXPECT_FALSE(system.IsStopped());
    EXPECT_TRUE(system.HandleCommand(out, "timeratio", {"2.5", "9"}));
    EXPECT_EQ(system.GetTimeRatio(), 2.5f);
    EXPECT_TRUE(system.HandleCommand(out, "rendering", {"on"}));
    EXPECT_EQ(out.str(), "");

    EXPECT_FALSE(system.HandleCommand(out, "timeratio", {}));
    EXPECT_EQ(out.str(), "name timeratio value\n");
    EXPECT_EQ(system.GetTimeRatio(), 2.5f);

    // Words compare whole: a longer or shorter word is someone else's.
    EXPECT_FALSE(system.HandleCommand(out, "stops", {}));
    EXPECT_FALSE(system.HandleCommand(out, "sto", {}));
    EXPECT_FALSE(system.IsStopped());
    SelectedObjectName().clear();
    EXPECT_TRUE(system.HandleCommand(out, "select", {}));
    EXPECT_EQ(SelectedObjectName(), "system");
}

TEST(SystemConsole, FirstTenUpdatesTakeTheStartStep) {
    CStartSteps steps;
    const float passed[] = {0.0f, 50.0f, 16.67f, 3.0f, 100.0f, 16.67f, 16.67f, 1.0f, 2.0f, 16.67f};
    for (float step : passed)
        EXPECT_EQ(steps.Next(step), 16.66f);
    EXPECT_EQ(steps.Next(33.3f), 33.3f);
    EXPECT_EQ(steps.Next(0.0f), 0.0f);
}

} // namespace
