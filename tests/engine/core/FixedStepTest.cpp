#include <gtest/gtest.h>

#include <vector>

#include "engine/core/FixedStep.h"

namespace {

constexpr float PERIOD = 16.6667f;

struct PassCase {
    const char* what;
    float carried;     // accumulator before the pass
    float lastFrameMs; // time the previous pass took
    int updates;
    float carriedAfter;
};

TEST(FixedStep, UpdateCountsAndCarry) {
    const PassCase cases[] = {
        {"50 ms pass: two updates, one period carried", 0, 50.0f, 2, 16.6666f},
        {"500 ms stall: four updates, the rest dropped", 0, 500.0f, 4, 0},
        {"fast pass: one update, nothing owed", 0, 5.0f, 1, 0},
        {"exactly one period: one update", 0, PERIOD, 1, 0},
        {"carry plus a normal pass", 16.6666f, PERIOD, 1, 16.6665f},
        {"carry keeps the next pass catching up", 16.6666f, 50.0f, 3, 16.6665f},
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(c.what);
        CFixedStep step;
        bool first = false;
        if (c.carried > 0) {
            // A pass of carried + one period runs one update and leaves the carry.
            step.RunPass(c.carried + PERIOD, PERIOD, first, [](float) {});
            ASSERT_NEAR(step.GetAccumulator(), c.carried, 1e-3f);
        }
        int calls = 0;
        int count = step.RunPass(c.lastFrameMs, PERIOD, first, [&](float ms) {
            EXPECT_FLOAT_EQ(ms, PERIOD);
            ++calls;
        });
        EXPECT_EQ(count, c.updates);
        EXPECT_EQ(calls, c.updates);
        EXPECT_NEAR(step.GetAccumulator(), c.carriedAfter, 1e-3f);
        EXPECT_GE(step.GetAccumulator(), 0.0f);
    }
}

TEST(FixedStep, OnlyFirstUpdateOfPassSeesFlag) {
    CFixedStep step;
    bool first = false;
    std::vector<bool> seen;
    step.RunPass(500.0f, PERIOD, first, [&](float) { seen.push_back(first); });
    EXPECT_EQ(seen, (std::vector<bool>{true, false, false, false}));
    EXPECT_FALSE(first);
    seen.clear();
    step.RunPass(2.0f, PERIOD, first, [&](float) { seen.push_back(first); });
    EXPECT_EQ(seen, (std::vector<bool>{true}));
}

TEST(FixedStep, ResetDropsAccumulatedTime) {
    CFixedStep step;
    bool first = false;
    step.RunPass(50.0f, PERIOD, first, [](float) {});
    ASSERT_GT(step.GetAccumulator(), 0.0f);
    step.Reset();
    int count = step.RunPass(PERIOD, PERIOD, first, [](float) {});
    EXPECT_EQ(count, 1);
    EXPECT_FLOAT_EQ(step.GetAccumulator(), 0.0f);
}

} // namespace
