#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "character/show/DialWheel.h"
#include "character/show/TvShowLayout.h"
#include "character/show/TvShowProgram.h"
#include "tests/character/ai/AiFixtures.h"

namespace {

class PostedMessages : public IShowMessagePoster {
public:
    void PostToMainWindow(unsigned message) override { messages.push_back(message); }
    std::vector<unsigned> messages;
};

TEST(TvShowLayout, TvStandsByTheWindowSizeOrTheFullScreenLayout) {
    struct Case {
        bool fullScreen;
        int layout, width, height;
        float x, y;
    };
    const Case cases[] = {
        {false, 0, 640, 480, 1600.0f, -1550.0f},
        // hw 400, hh 300, q 105: x = 100 (105 - 400 - 68 + 320), y = 100 (300 + 68 - 105 - 240) + 50.
        {false, 0, 800, 600, -4300.0f, 2350.0f},
        {false, 0, 320, 240, 13400.0f, -9350.0f},
        {true, 0, 640, 480, 15000.0f, 50.0f},
        {true, 1, 1024, 768, 2400.0f, -1150.0f},
        {true, 2, 640, 480, 0.0f, 5050.0f},
        {true, 7, 640, 480, 15000.0f, 50.0f},
        {true, -1, 640, 480, 15000.0f, 50.0f},
    };
    for (const Case& c : cases) {
        const TvShowPlacement p = PlaceTvShow(c.fullScreen, c.layout, c.width, c.height);
        EXPECT_FLOAT_EQ(p.x, c.x) << c.fullScreen << " " << c.layout << " " << c.width;
        EXPECT_FLOAT_EQ(p.y, c.y) << c.fullScreen << " " << c.layout << " " << c.width;
        EXPECT_FLOAT_EQ(p.z, 0.0f);
    }
}

TEST(TvShowLayout, ThePanelIsTheTvsScreenRectangle) {
    // 640 × 480: the TV node at (1600, -1550) show units, window pixel
    // (336, 255.5); the panel runs 320 pixels left and 240 pixels up from it.
    const TvShowPlacement tv = PlaceTvShow(false, 0, 640, 480);
    struct Case {
        int x, y;
        bool on;
    };
    const Case cases[] = {
        {200, 100, true},  {16, 255, true}, {335, 255, true}, {336, 200, false}, {15, 200, false},
        {200, 256, false}, {200, 16, true}, {200, 15, false}, {600, 100, false}, {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOnTvPanel(c.x, c.y, 640, 480, tv), c.on) << c.x << "," << c.y;
    EXPECT_FLOAT_EQ(ToShowX(320.0f, 640, tv.x), -1600.0f);
    EXPECT_FLOAT_EQ(ToShowY(240.0f, 480, tv.y), 1550.0f);
}

TEST(DialWheel, FollowsAFallThenSwingsAndRests) {
    DialWheel wheel;
    wheel.lastValue = 5.0f;
    // At the start of a show it rests.
    EXPECT_FLOAT_EQ(wheel.Step(5.0f, 16.0f), 5.0f);
    // Falling: the value itself, modulo 10.
    EXPECT_FLOAT_EQ(wheel.Step(14.5f - 10.0f, 16.0f), 4.5f);
    EXPECT_NEAR(wheel.Step(13.0f, 16.0f), 2.7f, 1e-4) << "no longer falling: the swing starts";
    DialWheel w;
    w.lastValue = 20.0f;
    EXPECT_FLOAT_EQ(w.Step(17.0f, 10.0f), 7.0f);
    EXPECT_FLOAT_EQ(w.settleTime, 0.0f);
    // Stopped: first a full swing back of 0.3, then smaller ones.
    EXPECT_NEAR(w.Step(17.0f, 10.0f), 6.7f, 1e-4);
    float largest = 0.0f;
    for (int i = 0; i < 200; ++i) {
        const float d = std::fabs(w.Step(17.0f, 1.0f) - 7.0f);
        if (i > 20)
            largest = std::max(largest, d);
    }
    EXPECT_GT(largest, 0.01f);
    EXPECT_LT(largest, 0.3f);
    // 3.5 / 0.030003 time units after it stopped it rests on the value.
    for (int i = 0; i < 200; ++i)
        w.Step(17.0f, 1.0f);
    EXPECT_FLOAT_EQ(w.Step(17.0f, 1.0f), 7.0f);
    EXPECT_FLOAT_EQ(Tenth(37219.0f), 3721.0f);
    EXPECT_FLOAT_EQ(Tenth(9.9f), 0.0f);
}

struct ShowRun {
    CTvShowProgram show;
    PostedMessages posted;
    uint32_t money = 50000;
    CTvShowProgram::StepResult Step(float step, bool playing, bool click, uint32_t price, bool* bought = nullptr) {
        CTvShowProgram::StepInput in;
        in.step = step;
        in.motionPlaying = playing;
        in.buyClick = click;
        in.price = price;
        bool b = false;
        const CTvShowProgram::StepResult r = show.Step(in, money, &posted, b);
        if (bought)
            *bought = b;
        return r;
    }
};

TEST(TvShowProgram, ABuyRollsTheCounterDownAndItSettles) {
    ShowRun run;
    run.show.Begin(run.money);
    float digits[CTvShowProgram::WHEEL_COUNT];
    run.show.TurnWheels(16.0f, digits);
    const float rest[CTvShowProgram::WHEEL_COUNT] = {0, 0, 0, 0, 5, 0, 0, 0};
    for (int i = 0; i < CTvShowProgram::WHEEL_COUNT; ++i)
        EXPECT_FLOAT_EQ(digits[i], rest[i]) << "wheel " << i;
    EXPECT_TRUE(run.show.TakeJingle());
    EXPECT_FALSE(run.show.TakeJingle()) << "the jingle plays once";

    bool bought = false;
    EXPECT_EQ(run.Step(16.0f, true, true, 12800, &bought), CTvShowProgram::STEP_RUNNING);
    EXPECT_TRUE(bought);
    EXPECT_EQ(run.money, 37200u);
    EXPECT_EQ(run.show.GetPhase(), CTvShowProgram::PHASE_PAYING);
    EXPECT_NEAR(run.show.GetDisplayMoney(), 50000.0f - 16.0f * 14.2497f, 0.01f);
    // A second click buys nothing.
    run.Step(16.0f, true, true, 12800, &bought);
    EXPECT_FALSE(bought);
    EXPECT_EQ(run.money, 37200u);
    // 12800 / 14.2497 ≈ 898 time units of rolling.
    float previous = run.show.GetDisplayMoney();
    int steps = 2;
    while (run.show.GetPhase() == CTvShowProgram::PHASE_PAYING && steps < 1000) {
        run.show.TurnWheels(16.0f, digits);
        run.Step(16.0f, true, false, 12800);
        EXPECT_LE(run.show.GetDisplayMoney(), previous);
        previous = run.show.GetDisplayMoney();
        ++steps;
    }
    EXPECT_EQ(steps, 57) << "898 time units at 16 a step";
    EXPECT_EQ(run.show.GetPhase(), CTvShowProgram::PHASE_PAID);
    EXPECT_FLOAT_EQ(run.show.GetDisplayMoney(), 37200.0f);
    // The ones wheel swings about 0 and comes to rest there; the others read 3 7 2.
    bool swung = false;
    for (int i = 0; i < 40; ++i) {
        run.show.TurnWheels(16.0f, digits);
        swung = swung || std::fabs(digits[0]) > 0.05f;
    }
    EXPECT_TRUE(swung);
    run.show.TurnWheels(16.0f, digits);
    const float settled[CTvShowProgram::WHEEL_COUNT] = {0, 0, 2, 7, 3, 0, 0, 0};
    for (int i = 0; i < CTvShowProgram::WHEEL_COUNT; ++i)
        EXPECT_NEAR(digits[i], settled[i], 1e-3) << "wheel " << i;
}

TEST(TvShowProgram, PostsTheEndMessageOnceTwoSecondsAfterTheEnd) {
    struct Case {
        const char* what;
        bool buy;
    };
    for (const Case& c : {Case{"motion ends", false}, Case{"bought", true}}) {
        ShowRun run;
        run.show.Begin(run.money);
        run.Step(10.0f, true, c.buy, 300);
        // Let the motion end (or the counter reach the new sum).
        int steps = 0;
        while (run.show.GetPhase() != (c.buy ? CTvShowProgram::PHASE_PAID : CTvShowProgram::PHASE_ENDED))
            run.Step(10.0f, false, false, 300), ++steps;
        EXPECT_LT(steps, 100) << c.what;
        const float ended = run.show.GetElapsed();
        int closedAfter = -1;
        for (int i = 1; i <= 400; ++i) {
            if (run.Step(10.0f, false, !c.buy, 300) == CTvShowProgram::STEP_CLOSED) {
                closedAfter = i;
                break;
            }
        }
        // elapsed must exceed 2000: the 200th 10-unit step reaches it, the next passes it.
        EXPECT_NEAR(ended + closedAfter * 10.0f, 2010.0f, 10.0f) << c.what;
        EXPECT_EQ(run.posted.messages, std::vector<unsigned>{0x47Cu}) << c.what;
        EXPECT_EQ(run.money, c.buy ? 49700u : 50000u) << c.what << ": no purchase after the end";
        EXPECT_FALSE(run.show.IsRunning());
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(run.Step(10.0f, false, false, 300), CTvShowProgram::STEP_CLOSED);
        EXPECT_EQ(run.posted.messages.size(), 1u) << c.what;
    }
}

TEST(TvShowProgram, ADearItemTakesTheMoneyToZeroNotAroundTheTop) {
    ShowRun run;
    run.money = 1000;
    run.show.Begin(run.money);
    bool bought = false;
    run.Step(16.0f, true, true, 250000, &bought);
    EXPECT_TRUE(bought);
    EXPECT_EQ(run.money, 0u);
    for (int i = 0; i < 10; ++i)
        run.Step(16.0f, true, false, 250000);
    EXPECT_FLOAT_EQ(run.show.GetDisplayMoney(), 0.0f);
}

TEST(TvShowProgram, OnlyPricedItemsAndTheEndingAreOffered) {
    struct Case {
        const char* what;
        FakeItem::Kind kind;
        int price;
        bool collected;
        bool presentable;
    };
    const Case cases[] = {
        // A thrown-away accessory reads as never had.
        {"free cap never had", FakeItem::ACCESSORY, 0, false, false},
        {"free cap lost after collecting", FakeItem::ACCESSORY, 0, true, false},
        {"priced cap lost after collecting", FakeItem::ACCESSORY, 4500, true, true},
        {"good", FakeItem::GOODS, 1200, false, true},
        {"free good kept collected", FakeItem::GOODS, 0, true, false},
        {"free cloth", FakeItem::CLOTH, 0, false, false},
        {"ending item", FakeItem::ENDING, 0, true, true},
    };
    for (const Case& c : cases) {
        FakeItem item("x", c.kind, c.price);
        item.SetCollected(c.collected);
        EXPECT_EQ(IsPresentable(item), c.presentable) << c.what;
    }
}

} // namespace
