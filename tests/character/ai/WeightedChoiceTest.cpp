#include <gtest/gtest.h>

#include "character/ai/ActionHistory.h"
#include "character/ai/WeightedChoice.h"
#include "tests/character/ai/AiFixtures.h"

TEST(WeightedChoice, PickWalksTheRowsByTheScaledDraw) {
    WeightedChoice choice;
    choice.Add("a", 10);
    choice.Add("b", 50);
    choice.Add("c", 30);
    // Rows 10, 50, 30: r = trunc(draw × 90 / 32767); a row is taken when its
    // weight is at least what is left of r.
    struct Exact {
        int draw;
        const char* want;
    };
    const Exact exact[] = {
        {0, "a"},     // r 0
        {32767, "c"}, // r 90: 90 - 10 - 50 = 30 reaches the last row exactly
        {3641, "a"},  // r 10
        {4005, "b"},  // r 11
        {21845, "b"}, // r 60: 50 left at the second row
        {22210, "c"}, // r 61
    };
    for (const Exact& c : exact) {
        SeedRand(SeedForFirstDraw(c.draw));
        EXPECT_EQ(choice.Pick(), c.want) << "draw " << c.draw;
    }
}

TEST(WeightedChoice, EmptyZeroAndLastRows) {
    WeightedChoice none;
    SeedRand(SeedForFirstDraw(100));
    EXPECT_EQ(none.Pick(), "");
    EXPECT_EQ(Rand(), 100) << "no draw without rows";

    struct Case {
        std::vector<WeightedChoice::Row> rows;
        int draw;
        const char* want;
    };
    const Case cases[] = {
        // A zero row is taken when r is 0 at it, skipped behind a larger r.
        {{{"zero", 0}, {"ten", 10}}, 0, "zero"},
        {{{"zero", 0}, {"ten", 10}}, 4000, "ten"},
        {{{"ten", 10}, {"zero", 0}, {"five", 5}}, 32767, "five"},
        // All zero: r is 0 and the first row wins.
        {{{"x", 0}, {"y", 0}}, 32767, "x"},
        // The empty name is a row like any other.
        {{{"", 15}, {"sleep", 50}}, 0, ""},
    };
    for (const Case& c : cases) {
        WeightedChoice choice;
        for (const auto& row : c.rows)
            choice.Add(row.name, row.weight);
        SeedRand(SeedForFirstDraw(c.draw));
        EXPECT_EQ(choice.Pick(), c.want) << c.rows.front().name << " at " << c.draw;
    }
}

TEST(WeightedChoice, SeedForFirstDrawGivesTheDraw) {
    for (int value : {0, 1, 12345, 32767}) {
        SeedRand(SeedForFirstDraw(value));
        EXPECT_EQ(Rand(), value);
    }
}

TEST(ActionHistory, KeepsOrderCountsAndClears) {
    ActionHistory history;
    EXPECT_EQ(history.Last(), "");
    EXPECT_EQ(history.Count("dance"), 0);
    for (const char* name : {"dance", "wash", "dance", "stand"})
        history.Add(name);
    EXPECT_EQ(history.Last(), "stand");
    EXPECT_EQ(history.Count("dance"), 2);
    EXPECT_EQ(history.Count("wash"), 1);
    EXPECT_FALSE(history.Contains("box"));
    EXPECT_EQ(history.GetNames(), (std::vector<std::string>{"dance", "wash", "dance", "stand"}));
    history.Clear();
    EXPECT_EQ(history.Last(), "");
    EXPECT_FALSE(history.Contains("dance"));
    EXPECT_TRUE(history.GetNames().empty());
}
