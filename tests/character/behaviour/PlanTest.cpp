#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "character/proto/ActionPrototypes.h"
#include "tests/character/behaviour/PlanFixtures.h"

namespace {

// The draws a case's seed gives: u[i] scaled as frand, u.Raw(i) as drawn.
struct Draws {
    std::vector<int> d;
    float operator[](size_t i) const { return Unit(d.at(i)); }
    int Raw(size_t i) const { return d.at(i); }
};

struct PlanCase {
    const char* name;
    const char* branch;
    int draws; // draws the seed is chosen over
    std::function<bool(const Draws&)> when;
    std::function<void(ExpectedPlan&)> plan;
    bool asleep = false;
    bool pajama = false;
    bool kotatsu = false;
};

auto Always = [](const Draws&) { return true; };

void RollEnd(ExpectedPlan& e, const char* firstWait) {
    e.Draw();
    e.A("wait", firstWait);
    e.A("roll01");
    e.A("wait", firstWait == std::string("20000t") ? "5000t" : "30000t");
    e.A("roll03");
    e.A("wait", "5000t");
    e.A("roll04");
    e.A("wait", "5000t");
    e.A("roll05");
}

void DoorOut(ExpectedPlan& e) {
    e.S("doorOut00", 1, 1);
    e.A("roomOut", "out");
    e.A("doorIn00");
}

void DoorBack(ExpectedPlan& e) {
    e.A("doorOut00");
    e.A("roomOut", "in");
    e.A("doorIn00");
}

void SleepOutStart(ExpectedPlan& e) {
    for (const char* name : {"sleepOut01", "sleepOut05", "sleepOut06", "sleepOut07", "sleepOutL07"})
        e.A(name);
}

void Houchou(ExpectedPlan& e) {
    SleepOutStart(e);
    e.W(150, -150, 1, 0);
    e.W(150, -400, 0, 0);
    e.A("houchouHandle00");
    e.W(150, -150, 0, 0);
    e.R(0, 1);
    e.A("monkeySleep00", "10000t");
    e.R(1, 1);
    e.A("monkeySleep00", "10000t");
    e.W(150, -150, 0, 0);
    e.W(150, -400, 0, 0);
    e.A("houchouRelease00");
    e.W(150, -150, 0, 0);
    e.Blend(50);
    e.S("sleepInSleep00", 0, 1);
    e.A("sleep", "10000t");
}

void HalfSleeping(ExpectedPlan& e) {
    SleepOutStart(e);
    e.R(1, 0);
    e.W(-150, 100, 0, 0);
    e.R(0, 0);
    e.Blend(50);
    e.S("sleepInSleep00", 0, 1);
    e.A("sleep", "10000t");
}

void KotatsuStart(ExpectedPlan& e) {
    e.W(-100, 100, 1, 0);
    e.S("kotatsuIn00", 0, 1);
    e.Draw();
}

void KotatsuEnd(ExpectedPlan& e) {
    e.A("kotatsuOut00");
    e.W(-150, 0, 1, 0);
    e.W(-150, 150, 0, 1);
}

void SnackStart(ExpectedPlan& e, const char* handle) {
    e.S("reizoukoOn00", 1, 1);
    e.A(handle);
    e.A("reizoukoOn01");
    e.W(-100, 100, 1, 0);
    e.S("eatDown00", 0, 1);
    e.Draw();
}

void SegwayEnd(ExpectedPlan& e) {
    e.A("segway04");
    e.A("segway00", "2000t");
    e.Blend(30);
    e.MoveToStart("segway01", "segwayOffPP02");
    e.Blend(10);
    e.A("segwayOffPP02");
    e.A("segwayOffP02");
    e.A("segwayOff02");
}

void TeleporterEnd(ExpectedPlan& e) {
    e.S("teleporterReleaseP00", 1, 1);
    e.A("teleporterRelease00");
}

void OtamaPlan(ExpectedPlan& e, const char* first, const char* second, const char* third) {
    e.W(150, -150, 1, 0);
    e.W(150, -400, 0, 0);
    e.A("otamaHandle00");
    e.A("flypanBHandle00");
    e.W(150, -150, 0, 0);
    e.S("doorOut00", 0, 1);
    e.A("roomOut", "out");
    e.A("doorIn00");
    e.A("roomOut", "out2");
    e.A("roomOut", "in");
    e.Draw();
    e.A(first);
    e.Draw();
    e.A(second);
    e.A("wait", "3000t");
    e.Draw();
    e.A(third);
    e.A("wait", "5000t");
    e.A("roomOut", "out");
    e.A("doorOut00");
    e.A("roomOut", "in");
    e.A("doorIn00");
    e.W(150, -150, 1, 0);
    e.W(150, -400, 0, 0);
    e.A("flypanBRelease00");
    e.A("otamaRelease00");
    e.W(150, -150, 0, 1);
}

std::vector<PlanCase> Cases() {
    std::vector<PlanCase> c;
    c.push_back({"stand", "", 0, Always, [](ExpectedPlan& e) { e.A("stand", "10000t"); }});
    c.push_back({"dance", "monkey", 3, [](auto& u) { return u[2] < 0.2f; },
                 [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.Draw();
                     e.A("monkey", "10000t");
                     e.A("stand", "5000t");
                 }});
    c.push_back({"dance", "no loops", 4, [](auto& u) { return u[2] >= 0.2f && u.Raw(3) % 3 == 0; },
                 [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.Draw();
                     e.A("teijin00", "0.000000");
                     e.Draw();
                     e.A("stand", "5000t");
                 }});
    c.push_back({"dance", "two loops, kotatsu owned", 4, [](auto& u) { return u[2] >= 0.2f && u.Raw(3) % 3 == 2; },
                 [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.Draw();
                     e.A("teijin00", "2.000000");
                     e.Draw();
                     e.A("stand", "5000t");
                 },
                 false, false, true});
    c.push_back({"wash", "", 2, Always, [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.A("washHands00");
                     e.A("washHands01", "15000t");
                 }});
    c.push_back({"hiji", "", 0, Always, [](ExpectedPlan& e) {
                     e.A("hiji00");
                     e.A("wait", "5000t");
                 }});
    c.push_back({"hechyo", "", 0, Always, [](ExpectedPlan& e) { e.A("hechyo01"); }});
    c.push_back({"senti", "00", 1, [](auto& u) { return u[0] < 0.7f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.A("senti00");
                     e.A("wait", "3000t");
                 }});
    c.push_back({"senti", "01", 1, [](auto& u) { return u[0] >= 0.7f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.A("senti01");
                     e.A("wait", "3000t");
                 }});
    c.push_back({"roll", "short", 1, [](auto& u) { return u[0] < 0.4f; },
                 [](ExpectedPlan& e) {
                     e.S("roll00", 1, 1);
                     RollEnd(e, "20000t");
                 }});
    c.push_back({"roll", "long", 1, [](auto& u) { return u[0] >= 0.4f && u[0] < 0.8f; },
                 [](ExpectedPlan& e) {
                     e.S("roll00", 1, 1);
                     RollEnd(e, "5000t");
                 }});
    c.push_back({"roll", "half", 1, [](auto& u) { return u[0] >= 0.8f; },
                 [](ExpectedPlan& e) {
                     e.S("roll00", 1, 1);
                     e.Draw();
                     e.A("wait", "5000t");
                     e.A("roll04");
                     e.A("wait", "20000t");
                     e.A("roll05");
                 }});
    c.push_back({"box", "extra round", 3, [](auto& u) { return u[2] < 0.1f; },
                 [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.A("box00");
                     e.A("box02", "10");
                     e.Draw();
                     e.A("box03");
                     e.A("box02", "3");
                     e.A("box01");
                 }});
    c.push_back({"box", "", 3, [](auto& u) { return u[2] >= 0.1f; },
                 [](ExpectedPlan& e) {
                     e.R(1, 1);
                     e.A("box00");
                     e.A("box02", "10");
                     e.Draw();
                     e.A("box01");
                 }});
    c.push_back({"sleep", "", 0, Always, [](ExpectedPlan& e) {
                     e.WalkToStart("sleepIn", 1, 1);
                     e.Blend(40);
                     e.A("sleepIn");
                 }});
    c.push_back({"sleeping", "", 0, Always, [](ExpectedPlan& e) { e.A("sleep", "20000t"); }, true});
    c.push_back({"sleepingmove", "turn", 1, [](auto& u) { return u[0] >= 0.2f && u[0] < 0.6f; },
                 [](ExpectedPlan& e) {
                     e.A("sleep", "5000t");
                     e.A("sleep01");
                     e.Draw();
                     e.A("sleep03");
                     e.A("sleep02");
                     e.A("sleep", "10000t");
                 },
                 true});
    c.push_back({"sleepingmove", "toss", 1, [](auto& u) { return u[0] >= 0.6f; },
                 [](ExpectedPlan& e) {
                     e.A("sleep", "5000t");
                     e.A("sleep01");
                     e.Draw();
                     e.A("sleep04", "5");
                     e.A("sleep02");
                     e.A("sleep", "10000t");
                 },
                 true});
    c.push_back({"sleepingmove", "sit up", 1, [](auto& u) { return u[0] < 0.2f; },
                 [](ExpectedPlan& e) {
                     e.A("sleep", "5000t");
                     e.A("sleep01");
                     e.Draw();
                     e.A("sleepUp00");
                     e.A("wait", "10000t");
                     e.A("sleepUp01");
                     e.A("sleep02");
                     e.A("sleep", "10000t");
                 },
                 true});
    c.push_back({"osageBexla", "", 1, [](auto& u) { return u[0] >= 0.2f; },
                 [](ExpectedPlan& e) {
                     e.A("sleep", "5000t");
                     e.A("sleep01");
                     e.Draw();
                     e.A("sleepUp00");
                     e.A("osageBexlaOn00");
                     e.Move("osageBexla00", 250, 100);
                     e.Move("osageBexla00", -200, 250);
                     e.Move("osageBexla00", -200, -100);
                     e.Move("osageBexla00", 250, -100);
                     e.MoveToStart("osageBexla00", "osageBexlaOff00");
                     e.A("osageBexlaOff00");
                     e.A("sleepUp01");
                     e.A("sleep02");
                     e.A("sleep", "10000t");
                 },
                 true});
    c.push_back({"halfsleeping", "asleep", 4, Always, HalfSleeping, true});
    c.push_back({"halfsleeping", "awake", 4, Always, HalfSleeping, false});
    c.push_back({"houchou", "asleep", 4, Always, Houchou, true});
    c.push_back({"houchou", "asleep, kotatsu owned", 4, Always, Houchou, true, false, true});
    c.push_back({"resleep", "", 0, Always, [](ExpectedPlan& e) {
                     e.A("sleepOut01");
                     e.A("wait", "10000t");
                     e.A("sleepOut02");
                     e.A("sleep", "10000t");
                 }});
    c.push_back({"wakeup", "", 2, [](auto& u) { return u.Raw(0) % 5 == 4 && u.Raw(1) % 5 == 0; },
                 [](ExpectedPlan& e) {
                     e.A("sleepOut01");
                     e.Draw();
                     e.A("sleepOut03", "4.000000");
                     e.A("sleepOut05");
                     e.A("sleepOut06");
                     e.A("sleepOut07");
                     e.Draw();
                     e.A("sleepOut08", "0.000000");
                     e.A("sleepOut09");
                     e.A("sleepOutL09");
                 },
                 true});
    c.push_back({"eat", "", 0, Always, [](ExpectedPlan& e) {
                     DoorOut(e);
                     e.A("wait", "15000t");
                     DoorBack(e);
                 }});
    c.push_back({"furo", "every extra", 4,
                 [](auto& u) { return u[0] < 0.5f && u[1] < 0.8f && u[2] < 0.1f && u[3] < 0.5f; },
                 [](ExpectedPlan& e) {
                     DoorOut(e);
                     e.A("wait", "4000t");
                     e.A("furo00");
                     e.A("wait", "3000t");
                     e.Draw();
                     e.A("furo01");
                     e.A("wait", "5000t");
                     e.Draw();
                     e.A("furo02");
                     e.A("wait", "1000t");
                     e.Draw();
                     e.A("furo03");
                     e.A("wait", "5000t");
                     e.Draw();
                     e.A("furo00");
                     e.A("wait", "3000t");
                     DoorBack(e);
                 }});
    c.push_back({"furo", "no extra", 4,
                 [](auto& u) { return u[0] >= 0.5f && u[1] >= 0.8f && u[2] >= 0.1f && u[3] >= 0.5f; },
                 [](ExpectedPlan& e) {
                     DoorOut(e);
                     e.A("wait", "4000t");
                     e.A("furo00");
                     e.A("wait", "3000t");
                     e.Draw();
                     e.A("wait", "5000t");
                     e.Draw();
                     e.A("wait", "1000t");
                     e.Draw();
                     e.A("wait", "5000t");
                     e.Draw();
                     e.A("wait", "3000t");
                     DoorBack(e);
                 }});
    c.push_back({"change", "into pyjamas", 0, Always, [](ExpectedPlan& e) {
                     e.W(150, -150, 1, 0);
                     e.W(150, -400, 0, 0);
                     e.A("changeAcce");
                     e.A("changeCloth", "pajama");
                     e.A("wait", "10000t");
                     e.W(150, -150, 0, 1);
                 }});
    c.push_back({"change", "out of pyjamas", 1, [](auto& u) { return u[0] < 0.8f; },
                 [](ExpectedPlan& e) {
                     e.W(150, -150, 1, 0);
                     e.W(150, -400, 0, 0);
                     e.Draw();
                     e.A("changeAcce", "select");
                     e.A("changeCloth");
                     e.A("wait", "10000t");
                     e.W(150, -150, 0, 1);
                 },
                 false, true});
    c.push_back({"change", "out of pyjamas, no accessories", 1, [](auto& u) { return u[0] >= 0.8f; },
                 [](ExpectedPlan& e) {
                     e.W(150, -150, 1, 0);
                     e.W(150, -400, 0, 0);
                     e.Draw();
                     e.A("changeCloth");
                     e.A("wait", "10000t");
                     e.W(150, -150, 0, 1);
                 },
                 false, true});
    c.push_back({"zaplenu", "", 0, Always, [](ExpectedPlan& e) {
                     e.S("tvDown00", 1, 1);
                     e.A("zaplenu");
                     e.A("wait", "2000t");
                     e.A("tvUp00");
                 }});
    c.push_back({"zaplenu_ed", "", 0, Always, [](ExpectedPlan& e) {
                     e.S("tvDown00", 1, 1);
                     e.A("zaplenu");
                     e.A("wait", "1000t");
                     e.A("ending");
                     e.A("wait", "7000t");
                     e.A("tvBroken00");
                     e.A("wait", "13000t");
                     e.A("tvNew00");
                 }});
    c.push_back({"chair", "sit, lean", 2, [](auto& u) { return u[0] < 0.5f && u[1] < 0.5f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("chairDown00", 1, 1);
                     e.Draw();
                     e.A("chair02");
                     e.A("chair04", "3");
                     e.A("chair03");
                     e.A("chairUp00");
                 }});
    c.push_back({"chair", "sit, swing", 2, [](auto& u) { return u[0] < 0.5f && u[1] >= 0.5f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("chairDown00", 1, 1);
                     e.Draw();
                     e.A("chair01", "6");
                     e.A("chair00");
                     e.A("chairUp00");
                 }});
    for (int ride = 0; ride < 3; ++ride) {
        c.push_back({"chair",
                     ride == 0   ? "ride twice"
                     : ride == 1 ? "ride, turn"
                                 : "ride once",
                     2,
                     [ride](auto& u) {
                         return u[0] >= 0.5f && (ride == 0   ? u[1] < 0.5f
                                                 : ride == 1 ? u[1] >= 0.5f && u[1] < 0.7f
                                                             : u[1] >= 0.7f);
                     },
                     [ride](ExpectedPlan& e) {
                         e.Draw();
                         e.S("chairRideOn00", 1, 1);
                         e.A("chairRide00");
                         e.Draw();
                         if (ride == 0)
                             e.A("chairRide00");
                         if (ride == 1)
                             e.A("chairRide01");
                         e.A("chairRideOff00");
                     }});
    }
    c.push_back({"kotatsu", "rest", 1, [](auto& u) { return u[0] < 0.1f; },
                 [](ExpectedPlan& e) {
                     KotatsuStart(e);
                     e.A("wait", "15000t");
                     KotatsuEnd(e);
                 }});
    c.push_back({"kotatsu", "03", 1, [](auto& u) { return u[0] >= 0.1f && u[0] < 0.5f; },
                 [](ExpectedPlan& e) {
                     KotatsuStart(e);
                     e.A("kotatsu03");
                     e.A("kotatsu04", "10000t");
                     e.A("kotatsu05");
                     KotatsuEnd(e);
                 }});
    c.push_back({"kotatsu", "06", 1, [](auto& u) { return u[0] >= 0.5f && u[0] < 0.8f; },
                 [](ExpectedPlan& e) {
                     KotatsuStart(e);
                     e.A("kotatsu06");
                     e.A("wait", "15000t");
                     e.A("kotatsu07");
                     KotatsuEnd(e);
                 }});
    c.push_back({"kotatsu", "01", 1, [](auto& u) { return u[0] >= 0.8f; },
                 [](ExpectedPlan& e) {
                     KotatsuStart(e);
                     e.A("wait", "10000t");
                     e.A("kotatsu01");
                     e.A("wait", "30000t");
                     e.A("kotatsu02");
                     e.A("wait", "10000t");
                     KotatsuEnd(e);
                 }});
    for (int low = 0; low < 2; ++low) {
        c.push_back({"papaMakura", low ? "01" : "03", 1, [low](auto& u) { return (u[0] < 0.5f) == (low == 1); },
                     [low](ExpectedPlan& e) {
                         KotatsuStart(e);
                         e.A("papaMakura00");
                         e.A(low ? "papaMakura01" : "papaMakura03");
                         e.A("wait", "5000t");
                         e.A("papaMakura02", "30000t");
                         e.A("papaMakura04");
                         KotatsuEnd(e);
                     }});
    }
    for (int low = 0; low < 2; ++low) {
        c.push_back({"milk", low ? "third sip" : "last sip", 1, [low](auto& u) { return (u[0] < 0.5f) == (low == 1); },
                     [low](ExpectedPlan& e) {
                         SnackStart(e, "milkHandle00");
                         e.A("milk00");
                         e.A("milk01");
                         e.A("milk01");
                         if (low) {
                             e.A("wait", "2000t");
                             e.A("milk01");
                         } else {
                             e.A("milk02");
                         }
                         e.A("eatUp00");
                         e.A("eaten", "milk");
                         e.A("milkRelease00");
                         e.W(-100, 100, 1, 1);
                     }});
        c.push_back({"iceCream", low ? "extra bite" : "", 1, [low](auto& u) { return (u[0] < 0.3f) == (low == 1); },
                     [low](ExpectedPlan& e) {
                         SnackStart(e, "iceCreamHandle00");
                         e.A("iceCream00");
                         e.A("iceCream02");
                         e.A("iceCream02");
                         e.A("wait", "3000t");
                         e.A("iceCream02");
                         if (low)
                             e.A("iceCream02");
                         e.A("iceCreamRelease00");
                         e.A("wait", "3000t");
                         e.A("eaten", "iceCream");
                         e.A("eatUp01");
                         e.W(-100, 100, 1, 1);
                     }});
    }
    c.push_back({"domohornWinkle", "", 0, Always, [](ExpectedPlan& e) {
                     e.S("domohornHandle00", 1, 1);
                     e.A("domohornHandleL00");
                     e.W(0, 200, 1, 1);
                     e.A("monkey", "10");
                     e.W(250, 100, 1, 1);
                     e.A("monkey", "5");
                     e.S("domohornReleaseP00", 1, 1);
                     e.A("domohornRelease00");
                 }});
    c.push_back({"punchingBag", "punch", 1, [](auto& u) { return u[0] < 0.5f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("punchingBagP03", 1, 1);
                     e.A("punchingBag03");
                     e.A("wait", "20000t");
                     e.A("punchingBag03", "last");
                     e.Blend(30);
                     e.A("punchingBag05");
                 }});
    c.push_back({"punchingBag", "hug", 1, [](auto& u) { return u[0] >= 0.5f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("punchingBag04", 1, 1);
                     e.A("wait", "10000t");
                 }});
    for (int tour = 0; tour < 2; ++tour) {
        c.push_back({"bodyBlade", tour ? "tour" : "stay", 1, [tour](auto& u) { return (u[0] < 0.3f) == (tour == 1); },
                     [tour](ExpectedPlan& e) {
                         e.S("bodyBladeHandleP01", 1, 1);
                         e.A("bodyBladeHandle01");
                         e.A("bodyBladeHandleL01");
                         e.W(250, 100, 1, 1);
                         e.Draw();
                         if (tour) {
                             e.A("bodyBlade02");
                             e.Move("bodyBlade03", 250, -100);
                             e.Move("bodyBlade03", -200, -100);
                             e.Move("bodyBlade03", -200, 250);
                             e.Move("bodyBlade03", 250, 100);
                             e.A("bodyBlade04");
                         } else {
                             e.A("bodyBlade00");
                             e.A("bodyBlade01");
                             e.W(0, 200, 1, 1);
                             e.A("bodyBlade01");
                         }
                         e.S("bodyBladeReleaseP00", 1, 1);
                         e.A("bodyBladeRelease00");
                     }});
        c.push_back({"lightSaber", tour ? "second place" : "", 1,
                     [tour](auto& u) { return (u[0] < 0.5f) == (tour == 1); },
                     [tour](ExpectedPlan& e) {
                         e.S("lightSaberHandle00", 1, 1);
                         e.A("lightSaberHandleL00");
                         e.W(200, 200, 1, 1);
                         e.A("lightSaber00");
                         e.A("lightSaber01", "10");
                         e.Blend(15);
                         e.A("lightSaber02");
                         e.A("wait", "10000t");
                         e.A("lightSaber02", "last");
                         e.Draw();
                         if (tour) {
                             e.W(-100, 200, 1, 1);
                             e.A("lightSaber02");
                             e.A("wait", "5000t");
                             e.A("lightSaber02", "last");
                         }
                         e.S("lightSaberReleaseP00", 1, 1);
                         e.A("lightSaberRelease00");
                     }});
    }
    c.push_back({"segway", "tour", 2, [](auto& u) { return u[0] < 0.9f && u[1] < 0.7f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("segwayOn00", 1, 1);
                     e.A("segwayOnL00");
                     e.A("segwayOnLL00");
                     e.Blend(30);
                     e.Draw();
                     e.Move("segway02", -200, 200);
                     e.Blend(30);
                     e.Move("segway01", 250, 200);
                     e.Blend(30);
                     e.Move("segway02", -200, 200);
                     e.Blend(30);
                     e.Move("segway01", 170, 200);
                     e.Blend(15);
                     e.Move("segway02", 170, -400);
                     e.Blend(30);
                     e.Move("segway03", 170, 200);
                     e.Blend(15);
                     e.Move("segway01", -200, 200);
                     e.Blend(30);
                     e.Move("segway03", 250, 200);
                     e.Blend(30);
                     e.Move("segway01", 0, 200);
                     SegwayEnd(e);
                 }});
    c.push_back({"segway", "short ride", 2, [](auto& u) { return u[0] < 0.9f && u[1] >= 0.7f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("segwayOn00", 1, 1);
                     e.A("segwayOnL00");
                     e.A("segwayOnLL00");
                     e.Blend(30);
                     e.Draw();
                     e.Move("segway01", 0, 200);
                     SegwayEnd(e);
                 }});
    c.push_back({"segway", "standing ride", 1, [](auto& u) { return u[0] >= 0.9f; },
                 [](ExpectedPlan& e) {
                     e.Draw();
                     e.S("segwayOn01", 1, 1);
                     e.A("segwayOnL01");
                     e.Blend(20);
                     e.Move("segway05", 0, 200);
                     e.A("segway06");
                     e.Blend(20);
                     e.Move("segway05", 350, 250);
                     e.Blend(10);
                     e.A("segwayOff03");
                 }});
    c.push_back({"bodyVac", "", 0, Always, [](ExpectedPlan& e) {
                     e.S("bodyVacHandle00", 1, 1);
                     e.A("bodyVacHandleL00");
                     e.W(310, 30, 1, 0);
                     e.S("bodyVac00", 0, 1);
                     e.A("bodyVac01");
                     e.A("bodyVac01");
                     e.A("bodyVac01");
                     e.A("bodyVac02");
                     e.W(310, 30, 1, 0);
                     e.S("bodyVacReleaseP00", 0, 1);
                     e.A("bodyVacRelease00");
                 }});
    for (int more = 0; more < 2; ++more) {
        c.push_back({"bodyVibrator", more ? "longer" : "", 1, [more](auto& u) { return (u[0] < 0.5f) == (more == 1); },
                     [more](ExpectedPlan& e) {
                         e.S("bodyVibratorOn00", 1, 1);
                         e.A("bodyVibrator00", "10");
                         e.A("bodyVibrator01", "20");
                         e.A("bodyVibrator00", "10");
                         e.Draw();
                         if (more)
                             e.A("bodyVibrator01", "10");
                         e.A("bodyVibratorOff00");
                     }});
        c.push_back({"senpuki", more ? "longer" : "", 1, [more](auto& u) { return (u[0] < 0.5f) == (more == 1); },
                     [more](ExpectedPlan& e) {
                         e.S("senpukiOn00", 1, 1);
                         e.A("senpuki00");
                         e.Draw();
                         if (more)
                             e.A("senpuki01");
                         e.A("senpukiOff00");
                     }});
    }
    c.push_back({"teleporter", "round trip", 1, [](auto& u) { return u[0] < 0.7f; },
                 [](ExpectedPlan& e) {
                     e.S("teleporterHandle00", 1, 1);
                     e.A("teleporterHandleL00");
                     e.Draw();
                     e.S("teleporter00", 1, 1);
                     e.S("teleporter00", 1, 1);
                     e.S("teleporter02", 1, 1);
                     e.A("wait", "5000t");
                     e.A("doorIn00");
                     TeleporterEnd(e);
                 }});
    c.push_back({"teleporter", "fail", 1, [](auto& u) { return u[0] >= 0.7f; },
                 [](ExpectedPlan& e) {
                     e.S("teleporterHandle00", 1, 1);
                     e.A("teleporterHandleL00");
                     e.Draw();
                     e.S("teleporter01", 1, 1);
                     TeleporterEnd(e);
                 }});
    c.push_back({"otama", "00 01 01", 3, [](auto& u) { return u[0] < 0.5f && u[1] >= 0.5f && u[2] >= 0.2f; },
                 [](ExpectedPlan& e) { OtamaPlan(e, "otama00", "otama01", "otama01"); }});
    c.push_back({"otama", "01 00 00", 3, [](auto& u) { return u[0] >= 0.5f && u[1] < 0.5f && u[2] < 0.2f; },
                 [](ExpectedPlan& e) { OtamaPlan(e, "otama01", "otama00", "otama00"); }});
    c.push_back({"conga", "02", 2, [](auto& u) { return u[0] < 0.3f && u.Raw(1) % 4 == 3; },
                 [](ExpectedPlan& e) {
                     e.S("congaOn00", 1, 1);
                     e.A("conga00");
                     e.Draw();
                     e.Draw();
                     e.A("conga02", "13.000000");
                     e.A("conga03");
                     e.A("congaOff00");
                 }});
    c.push_back({"conga", "05 01", 3,
                 [](auto& u) { return u[0] >= 0.3f && u[0] < 0.6f && u.Raw(1) % 2 == 1 && u.Raw(2) % 4 == 0; },
                 [](ExpectedPlan& e) {
                     e.S("congaOn00", 1, 1);
                     e.A("conga00");
                     e.Draw();
                     e.Draw();
                     e.A("conga05", "3.000000");
                     e.Draw();
                     e.A("conga01", "7.000000");
                     e.A("conga03");
                     e.A("congaOff00");
                 }});
    c.push_back({"conga", "05 06", 2, [](auto& u) { return u[0] >= 0.6f && u.Raw(1) % 4 == 2; },
                 [](ExpectedPlan& e) {
                     e.S("congaOn00", 1, 1);
                     e.A("conga00");
                     e.Draw();
                     e.Draw();
                     e.A("conga05", "9.000000");
                     e.A("conga06");
                     e.A("conga03");
                     e.A("congaOff00");
                 }});
    return c;
}

} // namespace

TEST(CharacterPlans, EveryPlanGivesItsRequestsInOrder) {
    for (const PlanCase& pc : Cases()) {
        const std::string what = std::string(pc.name) + " " + pc.branch;
        std::vector<CItem*> items;
        if (pc.kotatsu)
            items.push_back(new FakeItem("kotatsu", FakeItem::GOODS, 1000, true));
        PlanCharacter pcChar("plans", items);
        CCharacter& character = pcChar.character;
        character.GetStats().bsl = pc.asleep ? 1 : 0;
        character.GetStats().pajama = pc.pajama ? 1 : 0;

        const unsigned seed = SeedWhere(pc.draws, [&](const std::vector<int>& d) { return pc.when(Draws{d}); });
        ASSERT_NE(seed, 0u) << what;
        const std::vector<int> draws = DrawsAfter(seed, pc.draws + 1);
        ExpectedPlan expected(draws, pc.asleep, pc.kotatsu);
        pc.plan(expected);

        SeedRand(seed);
        std::vector<CActRequest> plan;
        character.ExpandAction(plan, pc.name);
        EXPECT_EQ(Lines(plan), expected.lines) << what;
        EXPECT_EQ(Rand(), draws[expected.Used()]) << what << ": draws taken";
    }
}

TEST(CharacterPlans, UnknownNamesAndCaseGiveNothing) {
    PlanCharacter pc("plans_unknown");
    for (const char* name : {"", "Stand", "stand ", "walk", "sleepOut01", "dancing"}) {
        SeedRand(5);
        std::vector<CActRequest> plan{CActRequest("left over")};
        pc.character.ExpandAction(plan, name);
        EXPECT_TRUE(plan.empty()) << name;
        EXPECT_EQ(Rand(), DrawsAfter(5, 1)[0]) << name;
    }
}

TEST(CharacterPlans, EveryRequestNameIsARegisteredPrototype) {
    std::set<std::string> names;
    for (const ActionPrototypeRow& row : ActionPrototypeTable())
        names.insert(row.name);
    names.insert("blend");
    PlanCharacter pc("plans_names");
    for (const PlanCase& c : Cases()) {
        for (unsigned seed = 1; seed <= 200; ++seed) {
            SeedRand(seed);
            pc.character.GetStats().bsl = c.asleep ? 1 : 0;
            pc.character.GetStats().pajama = seed % 2;
            std::vector<CActRequest> plan;
            pc.character.ExpandAction(plan, c.name);
            ASSERT_FALSE(plan.empty()) << c.name;
            for (const CActRequest& request : plan)
                EXPECT_TRUE(names.count(request.name)) << c.name << ": " << request.name;
        }
    }
    // Every start a plan walks to is a prototype too.
    for (const std::string& name : StartActionNames())
        EXPECT_TRUE(names.count(name)) << name;
}

TEST(CharacterPlans, RandomWalksStayOnTheFreeFloor) {
    struct Case {
        bool kotatsu;
        float minX, maxX;
    };
    const Case cases[] = {{true, 100.0f, 300.0f}, {false, -200.0f, 300.0f}};
    for (const Case& c : cases) {
        std::vector<CItem*> items;
        if (c.kotatsu)
            items.push_back(new FakeItem("kotatsu", FakeItem::GOODS, 1000, true));
        PlanCharacter pc("plans_walks", items);
        float lowX = 1e9f, highX = -1e9f, lowZ = 1e9f, highZ = -1e9f;
        for (int draw : {0, 32767}) {
            SeedRand(SeedForFirstDraw(draw));
            std::vector<CActRequest> plan;
            Vec3 target = pc.character.AddRandomWalk(plan, false, false);
            ASSERT_EQ(plan.size(), 1u);
            EXPECT_EQ(Line(plan[0]), "walk " + F(target.x) + " " + F(target.z));
        }
        SeedRand(3);
        for (int walk = 0; walk < 5000; ++walk) {
            std::vector<CActRequest> plan;
            Vec3 target = pc.character.AddRandomWalk(plan, false, false);
            lowX = std::min(lowX, target.x);
            highX = std::max(highX, target.x);
            lowZ = std::min(lowZ, target.z);
            highZ = std::max(highZ, target.z);
        }
        EXPECT_GE(lowX, c.minX);
        EXPECT_LE(highX, c.maxX);
        EXPECT_LT(lowX, c.minX + 5.0f);
        EXPECT_GT(highX, c.maxX - 5.0f);
        EXPECT_GE(lowZ, 100.0f);
        EXPECT_LE(highZ, 250.0f);
        EXPECT_LT(lowZ, 102.0f);
        EXPECT_GT(highZ, 248.0f);
    }
}

TEST(CharacterPlans, WalkStepsWithTheirBlends) {
    PlanCharacter pc("plans_walkstep");
    struct Case {
        bool before, after, asleep;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {false, false, false, {"walk 10.000000 -20.500000"}},
        {true, false, false, {"blend 0.000000 30.000000", "walk 10.000000 -20.500000"}},
        {false, true, true, {"walkSleep00 10.000000 -20.500000", "blend 0.000000 15.000000"}},
        {true,
         true,
         true,
         {"blend 0.000000 30.000000", "walkSleep00 10.000000 -20.500000", "blend 0.000000 15.000000"}},
    };
    for (const Case& c : cases) {
        pc.character.GetStats().bsl = c.asleep ? 1 : 0;
        std::vector<CActRequest> plan;
        pc.character.AddWalk(plan, Vec3(10.0f, 99.0f, -20.5f), c.before, c.after);
        EXPECT_EQ(Lines(plan), c.want);
    }
    // A request whose action is not registered adds no walk.
    std::vector<CActRequest> plan;
    pc.character.AddWalkToActionStart(plan, CActRequest("nowhere"), true, true);
    EXPECT_TRUE(plan.empty());
    pc.character.GetStats().bsl = 0;
    pc.character.AddWalkToActionStart(plan, CActRequest("tvDown00"), false, false);
    Vec3 start;
    ASSERT_TRUE(pc.character.GetActionStart("tvDown00", start));
    EXPECT_EQ(Lines(plan), std::vector<std::string>{"walk " + F(start.x) + " " + F(start.z)});
}
