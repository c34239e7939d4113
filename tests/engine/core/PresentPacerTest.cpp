#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/PresentPacer.h"

namespace {

struct PacerCase {
    const char* what;
    std::vector<float> presents; // how long each present took (ms)
    float wait;                  // the wait after them
};

TEST(PresentPacer, WaitFollowsHowLongPresentsBlocked) {
    const PacerCase cases[] = {
        {"a device that keeps up: no wait", {0.2f, 0.1f, 0.0f, 0.9f}, 0.0f},
        {"one blocked present: its time", {6.0f}, 6.0f},
        {"blocks add up while they last", {6.0f, 4.0f, 2.5f}, 12.5f},
        {"each present that does not block eases it", {8.0f, 0.2f, 0.3f}, 7.0f},
        {"eased down to nothing, never below", {1.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}, 0.0f},
        {"exactly the threshold is not blocked", {1.0f}, 0.0f},
        {"a stall is capped at the slowest period", {90.0f, 90.0f}, 100.0f},
        {"a time that is not a number changes nothing", {5.0f, std::nanf(""), -3.0f}, 5.0f},
    };
    for (const PacerCase& c : cases) {
        SCOPED_TRACE(c.what);
        CPresentPacer pacer;
        for (float ms : c.presents)
            pacer.NotePresent(ms);
        EXPECT_FLOAT_EQ(pacer.GetWait(), c.wait);
    }
}

// A device that needs 30 ms a frame behind a loop that hands one over every
// 16.7 ms: once learnt, the sleep takes the wait and presents block briefly.
TEST(PresentPacer, SettlesOnTheDevicesPace) {
    CPresentPacer pacer;
    const float loop = 16.7f, device = 30.0f;
    float blockedLate = 0.0f, waitedLate = 0.0f;
    for (int frame = 0; frame < 400; ++frame) {
        const float blocked = std::max(0.0f, device - loop - pacer.GetWait());
        if (frame >= 200) {
            blockedLate += blocked;
            waitedLate += pacer.GetWait();
        }
        pacer.NotePresent(blocked);
    }
    EXPECT_LT(blockedLate / 200.0f, 1.0f);
    EXPECT_NEAR(waitedLate / 200.0f, device - loop, 1.0f);
}

TEST(PresentPacer, ResetForgetsTheWait) {
    CPresentPacer pacer;
    pacer.NotePresent(20.0f);
    pacer.Reset();
    EXPECT_FLOAT_EQ(pacer.GetWait(), 0.0f);
}

} // namespace
