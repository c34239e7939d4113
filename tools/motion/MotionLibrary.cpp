#include "tools/motion/MotionLibrary.h"

#include <cmath>
#include <functional>
#include <map>

#include "tools/goods/GoodsLayout.h"
#include "tools/motion/MotionPoses.h"
#include "tools/vesko/VeskoRig.h"

namespace {

using Frames = std::function<Pose(float)>;
using Extra = std::function<void(float, Pose&)>;

// Nothing of her goes through the floor: where a frame would put a bone
// below it (a bend blended on its way to or from lying down, say), she is
// lifted by that much. A frame that takes her far below (out of the room)
// is left as it is.
Frames OnTheFloor(Frames at) {
    return [at = std::move(at)](float f) {
        Pose p = at(f);
        float lowest = 0;
        for (const std::string& bone : VeskoBodyBones())
            lowest = std::fmin(lowest, RigWorldPosition(p, bone).y);
        const float allowed = -0.3f, farBelow = -100;
        if (lowest < allowed && lowest > farBelow)
            p.y += allowed - lowest;
        return p;
    };
}

struct Library {
    std::vector<MotionSpec> sets;

    void Add(const std::string& set, int length, Frames at) {
        sets.push_back({set, length, OnTheFloor(std::move(at))});
    }
    // A timeline played once; `extra` adds what else the frame drives.
    void Add(const std::string& set, const CTimeline& line, Extra extra = nullptr) {
        int length = int(std::ceil(line.End()));
        Add(set, length < 2 ? 2 : length, [line, extra](float f) {
            Pose p = line.At(f);
            if (extra)
                extra(f, p);
            return p;
        });
    }
};

// A node shown for exactly one frame.
void Pulse(Pose& p, float frame, const std::string& node, int at) {
    p.extras[node + ":vis"] = int(std::lround(frame)) == at ? 1.0f : 0.0f;
}

float Wave(float frame, float period, float phase = 0) { return std::sin((frame / period + phase) * TAU); }

Pose Placed(Pose p, float x, float z, float yaw) {
    p.x += x, p.z += z, p.yaw += yaw;
    return p;
}
Pose Placed(Pose p, MeshPoint at, float yaw) { return Placed(std::move(p), at.x, at.z, yaw); }

MeshPoint Rest(const char* base) {
    const GoodsPlace* place = FindGoodsPlace(base);
    return place ? place->rest : MeshPoint{0, 0, 0};
}

// The point in front of a place along a heading, at a distance.
MeshPoint InFront(MeshPoint at, float yaw, float distance) {
    return {at.x + distance * std::sin(yaw), 0, at.z + distance * std::cos(yaw)};
}

// ---- standing, walking and the small idle motions (from her own place) ----

void StandingAndWalking(Library& lib) {
    lib.Add("veskoStand01", 300, [](float f) {
        Pose p = Stand(f);
        // Weight shifts from foot to foot and a look round the room.
        float w = Wave(f, 300);
        p.Turn("koshi", 0, 0, 0.03f * w);
        p.Turn("legL1", 0, 0, -0.03f * w);
        p.Turn("legR1", 0, 0, -0.03f * w);
        p.Turn("head", 0, 0.25f * Wave(f, 300, 0.25f), 0.05f * w);
        p.face = Blink(f, VF_NEUTRAL);
        return p;
    });
    lib.Add("veskoWalk04", 60, [](float f) {
        Pose p = Walk(f / 60);
        p.face = Blink(f, VF_NEUTRAL);
        return p;
    });
    lib.Add("veskoWalk03", 80, [](float f) { return SleepWalk(f / 80); });

    lib.Add("veskoMonkey01", 120, [](float f) {
        // A monkey dance: knees bent, one hand scratching the head, the other
        // the side, bouncing.
        Pose p = Crouch(0.35f);
        float s = Wave(f, 30);
        p.Set("udeR1", -0.5f, 0, -2.2f - 0.2f * s);
        p.Set("udeR2", -1.9f);
        p.Set("udeL1", 0.1f, 0, 1.0f);
        p.Set("udeL2", -1.8f - 0.3f * s);
        p.Turn("koshi", 0, 0.2f * Wave(f, 60), 0);
        p.Turn("head", 0, 0.2f * Wave(f, 60), 0.15f * s);
        p.y += 3 * std::fabs(s);
        p.face = f < 60 ? VF_SMILE : VF_TALKING;
        return p;
    });
    lib.Add("veskoMonkey02", 180, [](float f) {
        Pose p = Crouch(0.3f);
        float s = Wave(f, 60);
        p.Set("udeR1", -0.5f, 0, -2.1f);
        p.Set("udeR2", -1.9f - 0.2f * s);
        p.Set("udeL1", 0.1f, 0, 0.9f);
        p.Set("udeL2", -1.7f);
        p.Turn("head", 0.3f, 0, 0.1f * s);
        p.y += 1.5f * std::fabs(s);
        p.face = VF_SLEEPY;
        return p;
    });
    lib.Add("veskoTeijin00", 240, [](float f) {
        // Morning exercises: arms up, side bends, knee bends.
        float t = f / 240;
        Pose p = Stand(f);
        if (t < 0.35f) {
            p = ArmsUp(p, std::fabs(Wave(f, 84 * 2)));
        } else if (t < 0.7f) {
            p = ArmsUp(p, 1);
            p.Turn("sebone1", 0, 0, 0.35f * Wave(f - 84, 84));
        } else {
            float d = 0.5f * (1 - std::cos((f - 168) / 72 * TAU));
            Pose c = Crouch(0.6f * d);
            p.bones.insert(c.bones.begin(), c.bones.end());
            for (const char* leg : {"legL1", "legR1", "legL2", "legR2", "legL3", "legR3"})
                p.bones[leg] = c.bones[leg];
            p.y = c.y;
            p.Set("udeL1", -1.5f * d, 0, 0.1f);
            p.Set("udeR1", -1.5f * d, 0, -0.1f);
        }
        p.face = VF_SMILE;
        return p;
    });
    for (int k = 0; k < 2; ++k)
        lib.Add(k ? "veskoWashHand01" : "veskoWashHand00", 150, [k](float f) {
            // Hands together before her, rubbing; the second shakes them dry.
            Pose p = Stand(f);
            float s = Wave(f, 20);
            p.Set("udeL1", -0.7f, 0.3f, 0.05f);
            p.Set("udeR1", -0.7f, -0.3f, -0.05f);
            p.Set("udeL2", -0.9f, 0, 0.1f * s);
            p.Set("udeR2", -0.9f, 0, 0.1f * s);
            p.Set("sebone1", 0.15f);
            p.Set("head", 0.3f);
            if (k == 1 && f > 90) {
                float d = Wave(f, 8);
                p.Set("udeL1", -0.4f, 0, 0.5f);
                p.Set("udeR1", -0.4f, 0, -0.5f);
                p.Set("teL", 0.5f * d);
                p.Set("teR", -0.5f * d);
            }
            p.face = VF_NEUTRAL;
            return p;
        });
    CTimeline hechyo;
    Pose crane = Stand();
    crane.Set("legR1", -1.2f);
    crane.Set("legR2", 1.6f);
    crane.Set("udeL1", -0.2f, 0, 2.2f);
    crane.Set("udeR1", -1.3f, 0, -0.3f);
    crane.Set("teR", 0.8f);
    crane.Set("teL", -0.6f);
    crane.face = VF_ANGRY;
    Pose shout = crane;
    shout.face = VF_TALKING;
    shout.Turn("sebone2", -0.1f);
    hechyo.Key(0, Stand()).Then(25, crane).Hold(35).Then(8, shout).Hold(40).Then(30, Stand());
    lib.Add("veskoHechyo01", hechyo);
    lib.Add("veskoHiji00", 200, [](float f) {
        // Chin on her hand, the elbow propped on the other arm: thinking.
        Pose p = Stand(f);
        p.Set("udeL1", -0.5f, 0.5f, 0.1f);
        p.Set("udeL2", -1.4f);
        p.Set("udeR1", -0.3f, 0, -0.05f);
        p.Set("udeR2", -2.4f);
        p.Set("head", 0.1f, 0, -0.15f - 0.05f * Wave(f, 100));
        p.face = f > 140 ? VF_SMILE : Blink(f, VF_TROUBLED);
        return p;
    });
}

// ---- boxing, stretching and the bath (from her own place) -----------------

void BoxingAndBath(Library& lib) {
    auto guard = [] {
        Pose p = Stand();
        p.Set("legL1", -0.25f, 0, 0.05f);
        p.Set("legR1", 0.2f, 0, -0.05f);
        p.Set("legL2", 0.25f);
        p.Set("legR2", 0.25f);
        p.Set("udeL1", -0.9f, 0.3f, 0.2f);
        p.Set("udeR1", -0.7f, -0.3f, -0.2f);
        p.Set("udeL2", -1.9f);
        p.Set("udeR2", -2.1f);
        p.Set("koshi", 0, -0.3f);
        p.y = -3;
        p.face = VF_ANGRY;
        return p;
    };
    auto punch = [](Pose p, bool right, float high) {
        p.Set(right ? "udeR1" : "udeL1", -1.55f - high, right ? -0.15f : 0.15f, 0);
        p.Set(right ? "udeR2" : "udeL2", -0.05f);
        p.Turn("koshi", 0, right ? 0.45f : -0.25f);
        return p;
    };
    const int combos[4][6] = {{0, 0, 1, -1, -1, -1}, {0, 1, 0, 1, -1, -1}, {1, 1, 0, 1, 0, -1}, {0, 1, 2, 3, 1, -1}};
    for (int k = 0; k < 4; ++k) {
        CTimeline t;
        t.Key(0, Stand()).Then(15, guard());
        for (int i = 0; i < 6 && combos[k][i] >= 0; ++i) {
            int c = combos[k][i];
            Pose hit = punch(guard(), c % 2 == 1, c >= 2 ? 0.5f : 0.0f);
            if (c == 3)
                hit.Set("udeR2", -1.2f), hit.Set("udeR1", -2.3f, 0, -0.2f);
            t.Then(6, hit).Then(8, guard());
        }
        t.Hold(10).Then(15, Stand());
        lib.Add("veskoBox0" + std::to_string(k), t);
    }
    for (int k = 0; k < 2; ++k)
        lib.Add(k ? "veskoSenti01" : "veskoSenti00", 240, [k](float f) {
            // Stretches: reaching up and bending to each side, then forward.
            Pose p = ArmsUp(Stand(f), 1);
            float t = f / 240;
            if (k == 0)
                p.Turn("sebone1", 0, 0, 0.45f * std::sin(t * TAU * 2));
            else
                p.Turn("sebone1", 0.6f * (0.5f - 0.5f * std::cos(t * TAU * 2)), 0, 0);
            p.face = VF_CLOSED;
            if (f < 30 || f > 210)
                p = Mix(Stand(f), p, Smooth(std::fmin(f, 240 - f) / 30));
            return p;
        });
    // In the bath she is out of the room: only the sounds are heard.
    for (int k = 0; k < 4; ++k) {
        const int beats[4][3] = {{20, 70, 130}, {15, 60, 100}, {30, 90, 150}, {10, 50, 120}};
        lib.Add("veskoFuro0" + std::to_string(k), 180, [k, beats](float f) {
            Pose p = SitFloor();
            p.Turn("sebone1", 0.1f * Wave(f, 90));
            p = ArmsUp(p, 0.5f + 0.3f * Wave(f, 60));
            p.face = VF_SMILE;
            int at = beats[k][0];
            for (int i = 0; i < 3; ++i)
                if (int(std::lround(f)) == beats[k][i])
                    at = beats[k][i];
            Pulse(p, f, "furoSound" + std::to_string(k), at);
            return p;
        });
    }
}

// ---- sleep, the door and the TV (in the room) -----------------------------

const MeshPoint BED_HIPS{-478, 0, -196};
const float BED_TOP = 44;
const float BED_YAW = PI / 2; // head toward -x, on the pillow

// Under the cover: sunk into the mattress so that the cover (8 thick) lies
// over her, her back raised from the waist so that her head rests on the
// pillow.
Pose InBed(float frame) {
    Pose p = Placed(LieBack(BED_TOP - 10), BED_HIPS, BED_YAW);
    p.Turn("sebone1", 0.6f - 0.03f * Wave(frame, 120));
    p.Turn("sebone2", 0.2f);
    p.Turn("kubi", 0.45f);
    p.Set("head", 0.1f);
    return p;
}
Pose BedEdge() {
    Pose p = Placed(SitSeat(BED_TOP), -445, -150, 0);
    return p;
}
Pose BedSide() { return Placed(Stand(), RoomSpots::BEFORE_BED, PI); }
Pose SitUpInBed() {
    Pose p = Placed(SitFloor(), BED_HIPS, BED_YAW);
    p.y = BED_TOP + 4 - HipHeight();
    p.Set("udeL1", 0.2f, 0, 0.3f);
    p.Set("udeR1", 0.2f, 0, -0.3f);
    p.Set("udeL2", -0.3f);
    p.Set("udeR2", -0.3f);
    p.face = VF_SLEEPY;
    return p;
}

void Sleep(Library& lib) {
    {
        CTimeline t;
        Pose edge = BedEdge();
        Pose lying = InBed(0);
        Pose half = Mix(edge, lying, 0.5f);
        half.y = BED_TOP + 14 - HipHeight();
        t.Key(0, BedSide())
            .Then(30, Placed(Stand(), -445, -130, 0))
            .Then(30, edge)
            .Hold(20)
            .Then(25, half)
            .Then(30, lying);
        lib.Add("veskoSleepIn00", t);
    }
    {
        CTimeline t;
        Pose start = Placed(SleepWalk(0), RoomSpots::BEFORE_BED, PI);
        Pose fall = Placed(SleepWalk(0.5f), -440, -150, PI);
        fall.Set("koshi", 0.6f);
        Pose down = InBed(0);
        down.Set("koshi", 1.5708f); // face down first
        down.face = VF_ASLEEP;
        t.Key(0, start).Then(40, fall).Then(25, down).Hold(20).Then(40, InBed(0));
        lib.Add("veskoSleepIn01", t);
    }
    lib.Add("veskoSleep00", 240, [](float f) { return InBed(f); });
    // Turning in her sleep: to one side, the other, an arm up, a kick.
    for (int k = 1; k <= 4; ++k)
        lib.Add("veskoSleep0" + std::to_string(k), 240, [k](float f) {
            Pose p = InBed(f);
            float a = std::sin(f / 240 * PI);
            if (k == 1)
                p.Turn("koshi", 0, 0, 0.45f * a), p.Turn("legL1", -0.25f * a), p.Turn("legL2", 0.5f * a),
                    p.Turn("kubi", 0.3f * a);
            if (k == 2)
                p.Turn("koshi", 0, 0, -0.45f * a), p.Turn("legR1", -0.25f * a), p.Turn("legR2", 0.5f * a),
                    p.Turn("kubi", 0.3f * a);
            if (k == 3)
                p.Turn("udeR1", -2.6f * a, 0, 0), p.Turn("udeR2", -1.0f * a), p.Turn("head", 0, 0.5f * a);
            if (k == 4) {
                // Kicking under the cover.
                float l = a * (0.5f + 0.5f * Wave(f, 30)), r = a * (0.5f - 0.5f * Wave(f, 30));
                p.Turn("legL1", -0.1f * l), p.Turn("legL2", 0.3f * l);
                p.Turn("legR1", -0.1f * r), p.Turn("legR2", 0.3f * r);
            }
            return p;
        });
    // Waking up: sitting up, stretching, and out of bed to stand beside it.
    struct Wake {
        const char* set;
        int style;     // 0 plain, 1 big stretch, 2 rubbing eyes, 3 falls out, 4 jumps up, 5 slow
        bool backDown; // dozes off again instead of getting up
    };
    const Wake wakes[] = {{"veskoSleepOut00", 0, false}, {"veskoSleepOut01", 1, false}, {"veskoSleepOut02", 2, false},
                          {"veskoSleepOut03", 3, false}, {"veskoSleepOut05", 4, false}, {"veskoSleepOut06", 5, false},
                          {"veskoSleepOut07", 1, false}, {"veskoSleepOutL07", 1, true}, {"veskoSleepOut08", 2, false},
                          {"veskoSleepOut09", 0, false}, {"veskoSleepOutL09", 2, true}};
    for (const Wake& w : wakes) {
        CTimeline t;
        t.Key(0, InBed(0)).Hold(20);
        Pose up = SitUpInBed();
        if (w.style == 3) {
            // Rolls off the edge and lands on the floor, then gets up.
            Pose roll = InBed(0);
            roll.Turn("koshi", 0, 0, -1.5f);
            roll.z += 30;
            roll.face = VF_SURPRISED;
            Pose floor = Placed(LieBack(0), -460, -105, BED_YAW);
            floor.face = VF_TROUBLED;
            t.Then(20, roll).Then(15, floor).Hold(40).Then(30, Placed(Kneel(), -450, -105, PI / 2));
        } else if (w.style == 4) {
            Pose jump = BedEdge();
            jump.face = VF_SURPRISED;
            t.Then(10, up).Then(12, jump);
        } else {
            t.Then(w.style == 5 ? 60 : 35, up).Hold(20);
            if (w.style == 1 || w.style == 0) {
                Pose stretch = ArmsUp(up, 1);
                stretch.face = w.style == 1 ? VF_CLOSED : VF_SLEEPY;
                t.Then(30, stretch).Hold(w.style == 1 ? 40 : 15).Then(25, up);
            }
            if (w.style == 2) {
                Pose rub = up;
                rub.Set("udeL1", -1.2f, 0.3f, 0.2f), rub.Set("udeL2", -2.2f);
                rub.Set("udeR1", -1.2f, -0.3f, -0.2f), rub.Set("udeR2", -2.2f);
                rub.Set("head", 0.3f);
                t.Then(20, rub).Hold(40).Then(20, up);
            }
        }
        if (w.backDown) {
            t.Then(40, InBed(0)).Hold(30);
        } else {
            Pose edge = BedEdge();
            edge.face = VF_NEUTRAL;
            if (w.style != 3)
                t.Then(30, edge).Hold(15);
            Pose side = BedSide();
            side.face = w.style == 4 ? VF_SURPRISED : VF_NEUTRAL;
            t.Then(30, side).Hold(10);
        }
        lib.Add(w.set, t);
    }
    for (int k = 0; k < 2; ++k) {
        // Getting up: straight up onto her feet on the bed and down, or a
        // slow sit-up and yawn.
        CTimeline t;
        t.Key(0, InBed(0)).Hold(15);
        if (k == 0) {
            Pose standing = Placed(Stand(), -440, -196, PI / 2);
            standing.y = BED_TOP;
            standing.face = VF_SMILE;
            t.Then(25, SitUpInBed()).Then(20, ArmsUp(standing, 1)).Hold(30).Then(25, BedSide());
        } else {
            Pose yawn = ArmsUp(SitUpInBed(), 0.7f);
            yawn.face = VF_TALKING;
            t.Then(45, SitUpInBed()).Then(25, yawn).Hold(30).Then(25, BedEdge()).Then(30, BedSide());
        }
        lib.Add(k ? "veskoSleepUp01" : "veskoSleepUp00", t);
    }
}

void DoorAndTv(Library& lib) {
    const MeshPoint before = RoomSpots::BEFORE_DOOR, beyond = RoomSpots::BEYOND_DOOR;
    {
        // Out: she slides the door open, steps through and closes it.
        CTimeline t;
        Pose at = Placed(Stand(), before, PI);
        Pose pull = at;
        pull.Set("udeR1", -1.3f, 0, -0.4f), pull.Set("udeR2", -0.4f);
        Pose slid = pull;
        slid.Set("udeR1", -1.2f, 0, 0.2f);
        t.Key(0, at).Then(15, pull).Then(25, slid).Then(0.01f, slid);
        Pose step = Placed(Walk(0.25f), before.x, before.z - 25, PI);
        Pose through = Placed(Walk(0.75f), before.x, beyond.z + 45, PI);
        t.Then(20, step).Then(20, through).Then(20, Placed(Stand(), beyond, PI)).Hold(30);
        lib.Add("veskoDoorOut00", t, [](float f, Pose& p) {
            float open = f < 15 ? 0 : f < 40 ? (f - 15) / 25 : f < 95 ? 1 : f < 120 ? 1 - (f - 95) / 25 : 0;
            p.extras["doorSlide:tx"] = -72 * Smooth(open);
            Pulse(p, f, "doorOutSound", 16);
        });
    }
    {
        CTimeline t;
        Pose at = Placed(Stand(), beyond, 0);
        t.Key(0, at)
            .Hold(30)
            .Then(20, Placed(Walk(0.25f), beyond.x, beyond.z + 40, 0))
            .Then(20, Placed(Walk(0.75f), before.x, before.z - 10, 0))
            .Then(20, Placed(Walk(0.0f), before.x, before.z + 25, 0))
            .Then(20, Placed(Stand(), before.x, before.z + 40, 0))
            .Hold(30);
        lib.Add("veskoDoorIn00", t, [](float f, Pose& p) {
            float open = f < 8 ? 0 : f < 30 ? (f - 8) / 22 : f < 100 ? 1 : f < 125 ? 1 - (f - 100) / 25 : 0;
            p.extras["doorSlide:tx"] = -72 * Smooth(open);
            Pulse(p, f, "doorInSound", 8);
        });
    }
    const MeshPoint tv = RoomSpots::BEFORE_TV;
    Pose kneel = Placed(Kneel(), tv, PI);
    kneel.Set("sebone1", 0.2f);
    kneel.Set("udeL1", -0.6f, 0, 0.1f), kneel.Set("udeR1", -0.6f, 0, -0.1f);
    kneel.Set("udeL2", -0.4f), kneel.Set("udeR2", -0.4f);
    kneel.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, Placed(Stand(), tv, PI)).Then(30, Placed(Crouch(0.5f), tv, PI)).Then(25, kneel).Hold(10);
        lib.Add("veskoTVDown00", t);
    }
    {
        CTimeline t;
        t.Key(0, kneel).Hold(10).Then(25, Placed(Crouch(0.5f), tv, PI)).Then(30, Placed(Stand(), tv, PI));
        lib.Add("veskoTVUp00", t);
    }
    {
        // The old set blows up in her face: she is thrown back on her seat.
        CTimeline t;
        Pose thrown = Placed(SitFloor(), tv.x, tv.z + 35, PI);
        thrown.Set("koshi", -0.5f);
        thrown = ArmsUp(thrown, 0.6f);
        thrown.face = VF_SURPRISED;
        Pose dazed = thrown;
        dazed.Set("koshi", -0.2f);
        dazed.face = VF_TROUBLED;
        t.Key(0, kneel).Hold(40).Then(10, thrown).Hold(60).Then(40, dazed).Hold(40).Then(40, Placed(Stand(), tv, PI));
        lib.Add("veskoTVBroken00", t, [](float f, Pose& p) {
            p.extras["Tv:vis"] = f < 40 ? 1.0f : 0.0f;
            Pulse(p, f, "tvBrokenSound", 40);
        });
    }
    {
        // The new flat set appears: she claps and cheers.
        CTimeline t;
        Pose at = Placed(Stand(), tv, PI);
        Pose clap = HoldBoth(at);
        clap.face = VF_SMILE;
        Pose cheer = ArmsUp(at, 1);
        cheer.face = VF_SMILE;
        cheer.y = 8;
        t.Key(0, at).Hold(30).Then(15, clap).Then(10, at).Then(10, clap).Then(15, cheer).Then(15, at).Hold(30);
        lib.Add("veskoTVNew00", t, [](float f, Pose& p) { p.extras["tv2003lcdvc:vis"] = f < 30 ? 0.0f : 1.0f; });
    }
}

// ---- rolling on the floor and the chair -----------------------------------

void RollingAndChair(Library& lib) {
    const float rx = 150, rz = 180; // an open patch of floor
    Pose lying = Placed(LieBack(0), rx, rz, PI / 2);
    lying.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, Placed(Stand(), rx - 30, rz, PI / 2))
            .Then(25, Placed(Crouch(0.8f), rx - 10, rz, PI / 2))
            .Then(30, lying);
        lib.Add("veskoRoll00", t);
    }
    // Rolling over and back along the floor, and kicking her legs.
    const int kinds[4] = {1, 3, 4, 5};
    for (int kind : kinds) {
        std::string name = "veskoRoll0" + std::to_string(kind);
        if (kind == 5) {
            CTimeline t;
            t.Key(0, lying)
                .Hold(10)
                .Then(30, Placed(Crouch(0.8f), rx - 10, rz, PI / 2))
                .Then(25, Placed(Stand(), rx - 30, rz, PI / 2));
            lib.Add(name, t);
            continue;
        }
        lib.Add(name, 160, [lying, kind](float f) {
            Pose p = lying;
            float a = std::sin(f / 160 * PI);
            if (kind == 4) {
                p.Turn("legL1", -0.9f * a * (0.5f + 0.5f * Wave(f, 20)));
                p.Turn("legR1", -0.9f * a * (0.5f - 0.5f * Wave(f, 20)));
                p.Turn("udeL1", 0, 0, 1.2f * a), p.Turn("udeR1", 0, 0, -1.2f * a);
                p.face = VF_TALKING;
                return p;
            }
            // One whole turn about her length while moving across, her arms
            // stretched out over her head so that she does not roll over
            // them, her hips lifted by her shoulders while she is on her side.
            float turn = (kind == 1 ? 1.0f : -1.0f) * TAU * Smooth(f / 160);
            Pose stretched = p;
            stretched.Set("udeL1", 0, 0, 3.1f), stretched.Set("udeR1", 0, 0, -3.1f);
            stretched.Set("udeL2", 0), stretched.Set("udeR2", 0);
            p = Mix(p, stretched, Smooth(std::fmin(1.0f, 3 * a)));
            p.Turn("koshi", 0, 0, 0);
            p.bones["koshi"].z = turn;
            p.y += 2.5f * std::fabs(std::sin(turn));
            p.z += (kind == 1 ? 1 : -1) * 35 * std::sin(Smooth(f / 160) * PI);
            p.face = f > 50 && f < 110 ? VF_CLOSED : VF_SMILE;
            return p;
        });
    }

    const MeshPoint chair = Rest("chair");
    const float seat = 44.5f;
    Pose before = Placed(Stand(), chair.x, chair.z + 28, 0);
    Pose sitting = Placed(SitSeat(seat), chair.x, chair.z + 4, 0);
    sitting.face = VF_NEUTRAL;
    {
        CTimeline t;
        t.Key(0, before).Then(30, Placed(Crouch(0.4f), chair.x, chair.z + 14, 0)).Then(25, sitting);
        lib.Add("veskoChairDown00", t, [](float f, Pose& p) { Pulse(p, f, "chairSound0", 52); });
    }
    {
        CTimeline t;
        t.Key(0, sitting).Then(25, Placed(Crouch(0.4f), chair.x, chair.z + 14, 0)).Then(30, before);
        lib.Add("veskoChairUp00", t);
    }
    // Sitting: swinging her legs, swivelling, leaning back, reading, dozing.
    for (int k = 0; k < 5; ++k)
        lib.Add("veskoChair0" + std::to_string(k), 240, [sitting, k](float f) {
            Pose p = sitting;
            float s = Wave(f, 60), a = std::sin(f / 240 * PI);
            switch (k) {
            case 0:
                p.Turn("legL2", 0.4f * s), p.Turn("legR2", -0.4f * s);
                p.face = Blink(f, VF_SMILE);
                break;
            case 1:
                p.yaw += 0.6f * std::sin(f / 240 * TAU);
                p.extras["chairSeat:ry"] = 0.6f * std::sin(f / 240 * TAU);
                p.face = VF_SMILE;
                break;
            case 2:
                p.Turn("sebone1", -0.35f * a), p.Turn("legL1", 0.3f * a), p.Turn("legR1", 0.3f * a);
                p = Mix(p, ArmsUp(p, 1), 0.6f * a);
                p.face = VF_CLOSED;
                break;
            case 3:
                p = HoldBoth(p);
                p.Set("head", 0.35f, 0.1f * s);
                p.face = Blink(f, VF_NEUTRAL);
                break;
            default:
                p.Set("head", 0.5f * a, 0, 0.2f * a);
                p.Turn("sebone1", 0.2f * a);
                p.face = a > 0.3f ? VF_ASLEEP : VF_SLEEPY;
                break;
            }
            return p;
        });
    // Riding the chair: kneeling on the seat, scooting round and round.
    Pose onSeat = Placed(Kneel(), chair.x, chair.z - 2, 0);
    onSeat.y = seat - 22;
    onSeat.Set("udeL1", -0.9f, 0, 0.2f), onSeat.Set("udeR1", -0.9f, 0, -0.2f);
    onSeat.Set("udeL2", -0.9f), onSeat.Set("udeR2", -0.9f);
    onSeat.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, before).Then(25, Placed(Crouch(0.3f), chair.x, chair.z + 12, 0)).Then(25, onSeat);
        lib.Add("veskoChairRideOn00", t);
    }
    {
        CTimeline t;
        t.Key(0, onSeat).Then(25, Placed(Crouch(0.3f), chair.x, chair.z + 12, 0)).Then(25, before);
        lib.Add("veskoChairRideOff00", t, [](float f, Pose& p) { p.extras["chairSeat:ry"] = 0; });
    }
    for (int k = 0; k < 2; ++k)
        lib.Add(k ? "veskoChairRide01" : "veskoChairRide00", 180, [onSeat, k](float f) {
            Pose p = onSeat;
            float spin = (k ? -1.0f : 1.0f) * TAU * Smooth(f / 180);
            p.yaw += spin;
            p.extras["chairSeat:ry"] = spin;
            p.Turn("head", -0.2f, 0, 0.2f * Wave(f, 45));
            p = Mix(p, ArmsUp(p, 1), k ? 0.0f : 0.5f * std::sin(f / 180 * PI));
            p.face = f < 20 ? VF_SMILE : VF_SURPRISED;
            Pulse(p, f, k ? "chairSound1" : "chairSound0", 5);
            return p;
        });
}

// ---- the kotatsu ------------------------------------------------------------

// Eating at the kotatsu's left side, sitting on her heels.
const MeshPoint EAT_SPOT{-128, 0, 10};
Pose EatingSeat() {
    Pose p = Placed(Seiza(), EAT_SPOT, PI / 2);
    p.face = VF_SMILE;
    return p;
}
Pose EatStand() { return Placed(Stand(), EAT_SPOT.x - 40, EAT_SPOT.z, PI / 2); }

// Before the refrigerator, facing its door, near enough to reach inside.
constexpr float FRIDGE_DOOR_OPEN = 1.9f;
Pose FridgeLook() {
    const MeshPoint fridge = Rest("reizouko");
    return Placed(Stand(), fridge.x - 10, fridge.z + 55, PI);
}
// The right hand on the door's handle.
Pose FridgeGrip(const Pose& from) {
    const MeshPoint fridge = Rest("reizouko");
    return Reach(from, true, MeshPoint{fridge.x - 26, 82, fridge.z + 33});
}
Pose FridgePeek() {
    Pose p = FridgeLook();
    p.Set("sebone1", 0.35f), p.Set("head", 0.2f);
    p.Set("udeR1", -1.4f, 0, -0.3f), p.Set("udeR2", -0.3f);
    p.face = VF_SURPRISED;
    return p;
}
// The left hand on a good's place on the shelf.
Pose FridgeReach(const char* good) {
    Pose p = Reach(Placed(Stand(), InFront(Rest(good), 0, 30), PI), false, Rest(good));
    p.Set("udeR1", -1.4f, 0, -0.3f), p.Set("udeR2", -0.3f);
    p.face = VF_SMILE;
    return p;
}

void Kotatsu(Library& lib) {
    const MeshPoint seat = RoomSpots::KOTATSU_SEAT;
    Pose standing = Placed(Stand(), seat.x, seat.z + 45, PI);
    Pose inside = Placed(SitFloor(), seat, PI);
    inside.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, standing).Then(30, Placed(Crouch(0.8f), seat.x, seat.z + 25, PI)).Then(30, inside);
        lib.Add("veskoKotatsuIn00", t);
    }
    {
        CTimeline t;
        t.Key(0, inside).Then(30, Placed(Crouch(0.8f), seat.x, seat.z + 25, PI)).Then(30, standing);
        lib.Add("veskoKotatsuOut00", t);
    }
    // At the kotatsu: warming up, a mandarin, lying down, dozing, watching
    // TV chin on hands, tea, a stretch, a yawn.
    for (int k = 0; k < 8; ++k)
        lib.Add("veskoKotatsu0" + std::to_string(k), 240, [inside, k](float f) {
            Pose p = inside;
            float a = std::sin(f / 240 * PI), s = Wave(f, 40);
            switch (k) {
            case 0:
                p.Turn("sebone1", 0.1f * a), p.Turn("head", 0.1f * a, 0, 0.1f * Wave(f, 120));
                p.face = a > 0.5f ? VF_CLOSED : VF_SMILE;
                break;
            case 1: {
                float bite = 0.5f + 0.5f * s;
                p.Set("udeR1", -1.0f - 0.3f * bite, 0.4f, -0.1f), p.Set("udeR2", -1.4f - 0.7f * bite);
                p.face = bite > 0.6f ? VF_EATING : VF_SMILE;
                break;
            }
            case 2:
            case 3: {
                float down = Smooth(f / 60) * (k == 2 ? Smooth((240 - f) / 60) : 1.0f);
                p.Turn("koshi", -1.4f * down), p.Turn("sebone1", -0.12f * down);
                // Her legs stay under the quilt while her back goes down.
                p.Turn("legL1", 1.4f * down), p.Turn("legR1", 1.4f * down);
                p.y = inside.y - 2 * down;
                p.Set("udeL1", -0.2f * (1 - down), 0, 0.15f + 0.6f * down);
                p.Set("udeR1", -0.2f * (1 - down), 0, -0.15f - 0.6f * down);
                p.face = k == 3 && down > 0.8f ? VF_ASLEEP : VF_SMILE;
                break;
            }
            case 4:
                p.Set("udeL1", -1.25f, 0.5f, 0.1f), p.Set("udeL2", -2.1f);
                p.Set("udeR1", -1.25f, -0.5f, -0.1f), p.Set("udeR2", -2.1f);
                p.Set("sebone1", 0.4f), p.Set("head", -0.3f, 0, 0.08f * s);
                p.face = Blink(f, VF_NEUTRAL);
                break;
            case 5: {
                float sip = Smooth(std::fabs(std::sin(f / 240 * TAU)));
                p = Mix(p, HoldBoth(p), 1);
                p.Turn("udeL1", -0.5f * sip), p.Turn("udeR1", -0.5f * sip), p.Turn("head", -0.2f * sip);
                p.face = sip > 0.6f ? VF_CLOSED : VF_SMILE;
                break;
            }
            case 6:
                p = Mix(p, ArmsUp(p, 1), a);
                p.face = VF_CLOSED;
                break;
            default:
                p = Mix(p, ArmsUp(p, 0.6f), a);
                p.Turn("head", -0.2f * a);
                p.face = a > 0.4f ? VF_TALKING : VF_SLEEPY;
                break;
            }
            return p;
        });
    // Crawling under the quilt to stand in the middle wearing the kotatsu,
    // and back out of it.
    Pose wearing = Placed(Stand(), 0, 0, PI);
    wearing.Set("udeL1", -0.4f, 0, 0.9f), wearing.Set("udeR1", -0.4f, 0, -0.9f);
    wearing.face = VF_SMILE;
    Pose crawl = Placed(Crouch(1.0f), 0, 50, PI);
    crawl.Set("sebone1", 1.0f);
    {
        CTimeline t;
        t.Key(0, inside).Then(30, crawl).Then(35, wearing).Hold(20);
        lib.Add("veskoKotatsu08", t);
    }
    {
        CTimeline t;
        t.Key(0, wearing).Hold(20).Then(35, crawl).Then(30, standing);
        lib.Add("veskoKotatsu09", t);
    }
    const MeshPoint eat = EAT_SPOT;
    Pose eatStand = Placed(Stand(), eat.x - 40, eat.z, PI / 2);
    Pose eatSit = EatingSeat();
    {
        CTimeline t;
        t.Key(0, eatStand).Then(30, Placed(Crouch(0.7f), eat.x - 20, eat.z, PI / 2)).Then(30, eatSit);
        lib.Add("veskoEatDown00", t);
    }
    for (int k = 0; k < 2; ++k) {
        CTimeline t;
        Pose full = eatSit;
        full.face = k ? VF_SMILE : VF_EATING;
        full.Set("udeR1", -0.6f, 0.3f), full.Set("udeR2", -1.2f);
        t.Key(0, eatSit)
            .Then(20, full)
            .Hold(k ? 40 : 20)
            .Then(30, Placed(Crouch(0.7f), eat.x - 20, eat.z, PI / 2))
            .Then(30, eatStand);
        lib.Add(k ? "veskoEatUp01" : "veskoEatUp00", t);
    }
    // The arm pillow by the kotatsu: lying down with her head on it.
    const MeshPoint pillow = Rest("papaMakura");
    Pose onPillow = Placed(LieBack(0), pillow.x, pillow.z + 32, 0);
    onPillow.y = 12 - HipHeight();
    onPillow.face = VF_SMILE;
    Pose near = Placed(Stand(), pillow.x - 30, pillow.z + 60, PI / 2);
    {
        CTimeline t;
        t.Key(0, near).Then(30, Placed(Crouch(0.8f), pillow.x - 10, pillow.z + 45, PI / 2)).Then(35, onPillow);
        lib.Add("veskoPapaMakura00", t);
    }
    for (int k = 1; k <= 3; ++k)
        lib.Add("veskoPapaMakura0" + std::to_string(k), 240, [onPillow, k](float f) {
            Pose p = onPillow;
            float a = std::sin(f / 240 * PI);
            if (k == 1)
                p.Turn("koshi", 0, 0, 0.9f * a), p.Turn("udeL1", -1.4f * a), p.face = VF_SMILE;
            if (k == 2)
                p.Turn("sebone1", -0.05f * Wave(f, 120)), p.face = VF_ASLEEP;
            if (k == 3)
                p.Turn("koshi", 0, 0, -0.9f * a), p.Turn("udeR1", -1.4f * a), p.face = a > 0.5f ? VF_CLOSED : VF_SMILE;
            return p;
        });
    {
        CTimeline t;
        t.Key(0, onPillow).Hold(10).Then(35, Placed(Crouch(0.8f), pillow.x - 10, pillow.z + 45, PI / 2)).Then(30, near);
        lib.Add("veskoPapaMakura04", t);
    }
}

// ---- goods carried in her hands ---------------------------------------------

// Where she stands for a good on a surface: facing it from `distance` away
// along `approachYaw` (the direction she faces).
struct Approach {
    MeshPoint item;
    float yaw;
    bool right;
};

Pose ApproachStand(const Approach& a) {
    Pose reach = Reach(Placed(Stand(), InFront(a.item, a.yaw + PI, 30), a.yaw), a.right, a.item);
    Pose p = Placed(Stand(), 0, 0, a.yaw);
    p.x = reach.x, p.z = reach.z;
    return p;
}
Pose ApproachReach(const Approach& a, int face = VF_NEUTRAL) {
    Pose p = Reach(Placed(Stand(), InFront(a.item, a.yaw + PI, 30), a.yaw), a.right, a.item);
    p.face = face;
    return p;
}
Pose Holding(const Approach& a, int face = VF_SMILE) {
    Pose p = Hold(ApproachStand(a), a.right);
    p.face = face;
    return p;
}

// The four motions of taking a good and putting it back: before the grab,
// the grab (the good joins her hand at its end), holding it, and putting it
// down (it returns to its place at the start of the last).
void CarrySets(Library& lib, const Approach& a, const std::string& handleP, const std::string& handle,
               const std::string& holdLoop, const std::string& releaseP, const std::string& release,
               bool releaseAttachesAtEnd = false) {
    Pose stand = ApproachStand(a), reach = ApproachReach(a), half = Mix(stand, reach, 0.5f);
    if (!handleP.empty()) {
        CTimeline t;
        t.Key(0, stand).Hold(10).Then(30, half);
        lib.Add(handleP, t);
    }
    if (!handle.empty()) {
        CTimeline t;
        if (handleP.empty())
            t.Key(0, stand).Hold(10).Then(30, reach).Hold(8);
        else
            t.Key(0, half).Then(20, reach).Hold(8);
        lib.Add(handle, t);
    }
    const Pose held = Holding(a);
    if (!holdLoop.empty())
        lib.Add(holdLoop, 120, [a, held](float f) {
            Pose p = held;
            p.Turn(a.right ? "udeR1" : "udeL1", -0.08f * Wave(f, 60));
            p.Turn("head", 0.15f, 0.1f * Wave(f, 120));
            p.face = Blink(f, VF_SMILE);
            return p;
        });
    if (!releaseP.empty()) {
        CTimeline t;
        t.Key(0, held).Hold(10).Then(30, reach).Hold(5);
        lib.Add(releaseP, t);
    }
    if (!release.empty()) {
        CTimeline t;
        if (releaseAttachesAtEnd)
            t.Key(0, held).Hold(10).Then(30, reach).Hold(8);
        else
            t.Key(0, reach).Hold(8).Then(30, stand).Hold(10);
        lib.Add(release, t);
    }
}

void HandGoods(Library& lib) {
    // The skin care bottle on the dresser.
    Approach domohorn{Rest("domohornWinkle"), -PI / 2, true};
    CarrySets(lib, domohorn, "", "veskoDomohornWinkleHandle00", "", "veskoDomohornWinkleReleaseP00",
              "veskoDomohornWinkleRelease00");
    const Pose domohornHeld = Holding(domohorn);
    lib.Add("veskoDomohornWinkleHandleL00", 180, [domohornHeld](float f) {
        // Dabbing it on her cheeks, looking in the mirror.
        Pose p = domohornHeld;
        float s = 0.5f + 0.5f * Wave(f, 45);
        p.Set("udeR1", -1.3f, -0.4f, -0.2f), p.Set("udeR2", -1.8f - 0.3f * s);
        p.Set("udeL1", -1.2f, 0.5f, 0.2f), p.Set("udeL2", -2.0f - 0.3f * (1 - s));
        p.Set("head", -0.05f, 0.15f * Wave(f, 90));
        p.face = s > 0.5f ? VF_CLOSED : VF_SMILE;
        return p;
    });

    // The body blade against the right wall: held in the right hand and shaken.
    Approach blade{Rest("bodyBlade"), PI / 2, true};
    CarrySets(lib, blade, "veskoBodyBladeHandleP01", "veskoBodyBladeHandle01", "veskoBodyBladeHandleL01",
              "veskoBodyBladeReleaseP00", "veskoBodyBladeRelease00");
    auto shaking = [](float f, int style) {
        Pose p = Stand();
        float s = Wave(f, 6);
        float pitch = style == 1 ? -2.6f : style == 2 ? -0.8f : -1.45f;
        p.Set("udeR1", pitch + 0.12f * s, 0, style == 3 ? -1.2f : -0.1f);
        p.Set("udeR2", -0.3f);
        p.Set("udeL1", -1.0f, 0, 0.2f), p.Set("udeL2", -1.5f);
        p.Set("legL2", 0.3f), p.Set("legR2", 0.3f);
        p.y = -3 + 1.0f * s;
        p.face = style == 2 ? VF_ANGRY : VF_SMILE;
        p.extras["bodyBladeTipF:rx"] = 0.22f * s;
        p.extras["bodyBladeTipB:rx"] = -0.22f * s;
        Pulse(p, f, "bodyBladeSound", 2);
        return p;
    };
    const char* bladeSets[4] = {"veskoBodyBlade00", "veskoBodyBlade01", "veskoBodyBlade02", "veskoBodyBlade04"};
    for (int k = 0; k < 4; ++k)
        lib.Add(bladeSets[k], 180, [shaking, k](float f) { return shaking(f, k); });
    lib.Add("veskoBodyBlade03", 60, [shaking](float f) {
        Pose walk = Walk(f / 60, 0.8f, 0.3f);
        Pose p = shaking(f, 0);
        for (const char* leg : {"legL1", "legR1", "legL2", "legR2", "legL3", "legR3"})
            p.bones[leg] = walk.Bone(leg);
        p.y = walk.y;
        p.extras.erase("bodyBladeSound:vis");
        return p;
    });

    // The light saber lying on the tatami, held in the left hand.
    Approach saber{Rest("lightSaber"), -PI / 2 + 0.5f, false};
    CarrySets(lib, saber, "", "veskoLightSaberHandle00", "veskoLightSaberHandleL00", "veskoLightSaberReleaseP00",
              "veskoLightSaberRelease00");
    for (int k = 0; k < 3; ++k)
        lib.Add("veskoLightSaber0" + std::to_string(k), 150, [k](float f) {
            // Guard, a high swing down, a spin and a thrust.
            Pose guard = Stand();
            guard.Set("udeL1", -1.1f, 0.5f, 0.3f), guard.Set("udeL2", -1.2f);
            guard.Set("udeR1", -0.9f, -0.5f, -0.2f), guard.Set("udeR2", -1.3f);
            guard.Set("legL1", -0.3f), guard.Set("legR1", 0.3f), guard.Set("legL2", 0.3f), guard.Set("legR2", 0.3f);
            guard.y = -4;
            guard.face = VF_ANGRY;
            Pose high = guard;
            high.Set("udeL1", -2.8f, 0.2f, 0.2f), high.Set("udeL2", -0.4f);
            Pose low = guard;
            low.Set("udeL1", -0.7f, -0.6f, 0.0f), low.Set("udeL2", -0.1f), low.Turn("sebone1", 0.3f);
            low.face = VF_TALKING;
            CTimeline t;
            t.Key(0, Stand()).Then(20, guard);
            if (k == 0)
                t.Then(25, high).Then(8, low).Hold(20).Then(25, guard);
            if (k == 1) {
                Pose spun = low;
                spun.yaw = TAU;
                t.Then(20, high).Then(25, spun).Then(20, guard);
                Pose back = guard;
                back.yaw = TAU;
                t.Then(1, back);
            }
            if (k == 2) {
                Pose thrust = guard;
                thrust.Set("udeL1", -1.55f, 0, 0.05f), thrust.Set("udeL2", 0), thrust.Turn("koshi", 0, -0.4f);
                thrust.z = 12;
                t.Then(15, thrust).Then(15, guard).Then(15, thrust).Then(20, guard);
            }
            t.Then(20, Placed(Stand(), 0, k == 1 ? 0 : 0, k == 1 ? TAU : 0));
            Pose p = t.At(f);
            if (k == 1 && f >= 110)
                p.yaw = TAU;
            Pulse(p, f, "lightSaberSound", 22);
            return p;
        });

    // The broom-like body vac leaning on the right wall.
    Approach vac{Rest("bodyVac"), PI / 2, true};
    CarrySets(lib, vac, "", "veskoBodyVacHandle00", "veskoBodyVacHandleL00", "veskoBodyVacReleaseP00",
              "veskoBodyVacRelease00");
    for (int k = 0; k < 3; ++k)
        lib.Add("veskoBodyVac0" + std::to_string(k), 200, [k](float f) {
            // Cleaning the floor about (310, 30): pushing and pulling as she goes.
            float s = Wave(f, 40);
            Pose p = Walk(f / 100, 0.35f, 0);
            p.Set("udeR1", -0.7f - 0.3f * s, 0, -0.1f), p.Set("udeR2", -0.5f + 0.2f * s);
            p.Set("udeL1", -0.6f - 0.2f * s, 0.3f, 0.1f), p.Set("udeL2", -0.9f);
            p.Set("sebone1", 0.2f);
            float yaw = k == 0 ? -PI / 2 : k == 1 ? PI / 2 : 0;
            float travel = 40 * std::sin(f / 200 * PI);
            p = Placed(p, 310 + travel * std::sin(yaw), 30 + travel * std::cos(yaw), yaw);
            p.face = k == 2 ? VF_TROUBLED : Blink(f, VF_SMILE);
            return p;
        });

    // The teleporter on the desk: a press of its button and she is elsewhere.
    Approach teleporter{Rest("teleporter"), PI, true};
    CarrySets(lib, teleporter, "", "veskoTeleporterHandle00", "veskoTeleporterHandleL00", "veskoTeleporterReleaseP00",
              "veskoTeleporterRelease00");
    const MeshPoint hops[3][2] = {
        {{-250, 0, -120}, {150, 0, 160}}, {{150, 0, 160}, {-120, 0, 200}}, {{-120, 0, 200}, {-250, 0, -120}}};
    for (int k = 0; k < 3; ++k) {
        MeshPoint from = hops[k][0], to = hops[k][1];
        lib.Add("veskoTeleporter0" + std::to_string(k), 160, [from, to](float f) {
            bool there = f >= 70;
            Pose p = Hold(Stand(f), true, 1.3f);
            p.Turn("udeR2", -0.3f);
            p = Placed(p, there ? to : from, there ? 0.0f : PI / 4);
            if (f >= 50 && f < 90)
                p.y = -3000; // gone
            p.face = f < 50 ? VF_SURPRISED : VF_SMILE;
            Pulse(p, f, "teleporterSound0", 45);
            Pulse(p, f, "teleporterSound1", 88);
            return p;
        });
    }

    // Kitchen things, kept beyond the door: the knife, the ladle and the pan.
    Approach knife{Rest("houchou"), PI, true};
    Approach ladle{Rest("otama"), PI, true};
    Approach pan{Rest("flypanB"), PI, false};
    CarrySets(lib, knife, "", "veskoHouchouHandle00", "", "", "veskoHouchouRelease00", true);
    CarrySets(lib, ladle, "", "veskoOtamaHandle00", "", "", "veskoOtamaRelease00", true);
    CarrySets(lib, pan, "", "veskoFlypanBHandle00", "", "", "veskoFlypanBRelease00", true);
    for (int k = 0; k < 2; ++k)
        lib.Add("veskoOtama0" + std::to_string(k), 180, [k](float f) {
            // Banging the ladle on the pan to wake someone, or stirring a pot.
            Pose p = Stand(f);
            if (k == 0) {
                float s = Wave(f, 24);
                p.Set("udeR1", -1.6f - 0.5f * s, 0, -0.3f), p.Set("udeR2", -0.8f);
                p.Set("udeL1", -1.3f, 0, 0.3f), p.Set("udeL2", -0.6f);
                p.face = VF_TALKING;
            } else {
                float s = Wave(f, 45), c = Wave(f, 45, 0.25f);
                p.Set("udeR1", -0.9f + 0.15f * s, 0.2f * c, -0.1f), p.Set("udeR2", -0.9f);
                p.Set("sebone1", 0.2f);
                p.face = Blink(f, VF_SMILE);
            }
            int at = 0;
            for (int beat = 12; beat < 180; beat += 24)
                if (k == 0 && int(std::lround(f)) == beat)
                    at = beat;
            if (k == 0)
                Pulse(p, f, "otamaSound", at ? at : 12);
            return p;
        });

    // Milk and ice cream from the refrigerator, taken in the left hand while
    // the door stands open and had sitting at the kotatsu. She lets go of
    // them where she ate: they go back to the shelf out of sight.
    for (int k = 0; k < 2; ++k) {
        CTimeline t;
        t.Key(0, FridgePeek()).Then(25, FridgeReach(k ? "iceCream" : "milk")).Hold(8);
        lib.Add(k ? "veskoIceCreamHandle00" : "veskoMilkHandle00", t,
                [](float, Pose& p) { p.extras["reizoukoDoor:ry"] = FRIDGE_DOOR_OPEN; });
    }
    {
        // On her feet after drinking: the empty bottle's hand comes down.
        CTimeline t;
        t.Key(0, Hold(EatStand(), false)).Hold(8).Then(25, EatStand()).Hold(5);
        lib.Add("veskoMilkRelease00", t);
    }
    {
        // Still sitting: the empty cup is put down, her hands go to her lap.
        CTimeline t;
        t.Key(0, Hold(EatingSeat(), false)).Hold(8).Then(25, EatingSeat()).Hold(5);
        lib.Add("veskoIceCreamRelease00", t);
    }
    for (int k = 0; k < 3; ++k)
        lib.Add("veskoMilk0" + std::to_string(k), 180, [milkHeld = Hold(EatingSeat(), false), k](float f) {
            // The bath-house way: the other hand on her hip, head back, gulping.
            Pose p = milkHeld;
            float drink = Smooth(f / 40) * Smooth((180 - f) / 40);
            p.Set("udeL1", -1.2f - 1.0f * drink, 0.3f, 0.2f), p.Set("udeL2", -1.6f);
            p.Turn("head", -0.6f * drink), p.Turn("sebone2", -0.15f * drink);
            if (k != 2)
                p.Set("udeR1", 0.3f, 0, -0.6f), p.Set("udeR2", -1.6f);
            p.face = drink > 0.5f ? VF_CLOSED : (k == 2 ? VF_SMILE : VF_EATING);
            return p;
        });
    for (int k : {0, 2})
        lib.Add("veskoIceCream0" + std::to_string(k), 180, [creamHeld = Hold(EatingSeat(), false), k](float f) {
            // The cup in her left hand, the spoon to her mouth with the right.
            Pose p = creamHeld;
            float bite = 0.5f + 0.5f * Wave(f, k ? 30 : 45);
            p.Set("udeR1", -0.9f - 0.4f * bite, -0.4f, -0.1f), p.Set("udeR2", -1.2f - 0.8f * bite);
            p.Set("head", 0.15f - 0.1f * bite);
            p.face = bite > 0.7f ? VF_EATING : (k ? VF_SURPRISED : VF_SMILE);
            return p;
        });
}

// ---- goods she uses where they stand ----------------------------------------

void StandingGoods(Library& lib) {
    // The punching bag.
    const MeshPoint bag = Rest("punchingBag");
    const MeshPoint spot{bag.x, 0, bag.z - 38};
    Pose guard = Placed(Stand(), spot, 0);
    guard.Set("udeL1", -0.9f, 0.3f, 0.2f), guard.Set("udeR1", -0.7f, -0.3f, -0.2f);
    guard.Set("udeL2", -1.9f), guard.Set("udeR2", -2.1f);
    guard.Set("legL1", -0.25f), guard.Set("legR1", 0.2f), guard.Set("legL2", 0.25f), guard.Set("legR2", 0.25f);
    guard.y = -3;
    guard.face = VF_ANGRY;
    {
        CTimeline t;
        t.Key(0, Placed(Stand(), spot.x, spot.z - 20, 0)).Then(30, guard).Hold(10);
        lib.Add("veskoPunchingBagP03", t);
    }
    auto hits = [guard](float f, int style) {
        Pose p = guard;
        float phase = std::fmod(f, 40.0f) / 40;
        float jab = Smooth(phase * 4) * Smooth((1 - phase) * 4);
        bool right = int(f / 40) % 2 == 1;
        if (style == 4) {
            // Kicks.
            p.Set(right ? "legR1" : "legL1", -1.4f * jab, 0, 0);
            p.Set(right ? "legR2" : "legL2", 0.3f * (1 - jab));
        } else {
            p.Set(right ? "udeR1" : "udeL1", -1.55f * jab - 0.8f * (1 - jab), 0, 0);
            p.Set(right ? "udeR2" : "udeL2", -0.1f * jab - 2.0f * (1 - jab));
            p.Turn("koshi", 0, (right ? 0.4f : -0.3f) * jab);
        }
        // The bag swings away from each hit and back.
        float swing = std::sin(std::fmod(f, 40.0f) / 40 * TAU) * std::fmin(1.0f, f / 20);
        p.extras["punchingBagBag:rx"] = -0.25f * swing * (style == 5 ? 0.4f : 1.0f);
        if (style == 5) {
            p.Set("sebone1", 0.35f), p.Set("head", 0.3f);
            p.face = VF_TROUBLED;
        }
        return p;
    };
    for (int k = 3; k <= 5; ++k)
        lib.Add("veskoPunchingBag0" + std::to_string(k), 160, [hits, k](float f) { return hits(f, k); });

    // The segway: taken by the handlebar, ridden standing on it.
    const GoodsPlace* segway = FindGoodsPlace("segway");
    const MeshPoint bar = segway->rest;
    const float heading = segway->restRotation.y;
    Approach byHand{bar, heading + PI / 2, false};
    Pose riding = Placed(Stand(), 0, 0, heading);
    riding.Set("udeL1", -0.75f, 0, 0.15f), riding.Set("udeR1", -0.75f, 0, -0.15f);
    riding.Set("udeL2", -0.6f), riding.Set("udeR2", -0.6f);
    riding.face = VF_SMILE;
    {
        // Place her so that her centre anchor is on the handlebar.
        MeshPoint anchor = RigWorldPosition(riding, VeskoNames::HAND_CENTRE);
        riding.x += bar.x - anchor.x;
        riding.z += bar.z - anchor.z;
        riding.y += bar.y - anchor.y;
    }
    Pose besideIt = Placed(Stand(), InFront(bar, heading + PI, 35), heading);
    {
        // Stepping on: the segway joins her centre anchor at the end.
        CTimeline t;
        Pose step = riding;
        step.y = 0;
        step.Set("legR1", -0.8f), step.Set("legR2", 0.8f);
        t.Key(0, besideIt).Then(25, step).Then(20, riding).Hold(10);
        lib.Add("veskoSegwayOn00", t);
    }
    // Riding on the spot: fixed-origin idles, and the loops she rides with.
    auto ride = [riding](float f, float lean, float turn) {
        Pose p = riding;
        p.Turn("koshi", 0.1f * lean);
        p.Turn("sebone1", 0, 0.2f * turn);
        p.Turn("head", 0, 0.25f * turn);
        p.face = Blink(f, VF_SMILE);
        return p;
    };
    lib.Add("veskoSegwayOnL00", 120, [ride](float f) { return ride(f, 0, 0.3f * Wave(f, 120)); });
    lib.Add("veskoSegwayOnLL00", 120, [ride](float f) {
        Pose p = ride(f, 0, 0);
        p = Mix(p, ArmsUp(p, 0.5f), 0.5f + 0.5f * Wave(f, 120));
        return p;
    });
    for (const char* set : {"veskoSegway00", "veskoSegway04", "veskoSegway06"}) {
        int k = set[12] - '0';
        lib.Add(set, 150, [ride, riding, k](float f) {
            Pose p = ride(f, k == 4 ? 1.0f : 0.0f, k == 6 ? Wave(f, 150) : 0.0f);
            p.x -= riding.x, p.z -= riding.z, p.yaw -= riding.yaw;
            if (k == 0)
                p = Mix(p, ArmsUp(p, 1), 0.5f - 0.5f * std::cos(f / 150 * TAU)), p.face = VF_SMILE;
            return p;
        });
    }
    const float wheelTurn = 6 * PI; // a loop's worth of wheel, at 4 units a frame
    for (const char* set : {"veskoSegway01", "veskoSegway02", "veskoSegway03", "veskoSegway05"}) {
        int k = set[12] - '0';
        lib.Add(set, 60, [ride, riding, k, wheelTurn](float f) {
            Pose p = ride(f, 1.0f, k == 2 ? 0.5f : k == 3 ? -0.5f : 0.0f);
            p.x = 0, p.z = 0, p.yaw = 0;
            p.extras["segwayWheelL:rx"] = wheelTurn * f / 60;
            p.extras["segwayWheelR:rx"] = wheelTurn * f / 60;
            p.face = k == 5 ? VF_SURPRISED : VF_SMILE;
            return p;
        });
    }
    {
        // Stepping off where it is kept: the segway goes back at the start
        // of the last.
        Pose off = besideIt;
        off.face = VF_SMILE;
        CTimeline pp, p, last;
        pp.Key(0, riding).Hold(20).Then(20, ride(0, -1, 0));
        lib.Add("veskoSegwayOffPP02", pp);
        p.Key(0, ride(0, -1, 0)).Then(20, riding).Hold(10);
        lib.Add("veskoSegwayOffP02", p);
        last.Key(0, riding).Then(25, off).Hold(10);
        lib.Add("veskoSegwayOff02", last);
        // Taken by the left hand, pulled along and let go.
        Pose reach = ApproachReach(byHand), pull = Hold(ApproachStand(byHand), false, 1.4f);
        CTimeline on, onLoop, offP, off3;
        on.Key(0, ApproachStand(byHand)).Then(30, reach).Hold(8);
        lib.Add("veskoSegwayOn01", on);
        lib.Add("veskoSegwayOnL01", 120, [pull](float f) {
            Pose q = pull;
            q.Turn("udeL1", -0.1f * Wave(f, 60));
            q.face = Blink(f, VF_SMILE);
            return q;
        });
        offP.Key(0, pull).Then(30, reach).Hold(5);
        lib.Add("veskoSegwayOffP03", offP);
        off3.Key(0, reach).Hold(5).Then(30, ApproachStand(byHand));
        lib.Add("veskoSegwayOff03", off3);
    }

    // The belt machine: stepping into the belt and shaking.
    const GoodsPlace* vibrator = FindGoodsPlace("bodyVibrator");
    const MeshPoint column = vibrator->rest;
    const float machineYaw = vibrator->restRotation.y;
    const MeshPoint inBelt = InFront(column, machineYaw, 18);
    const float facing = machineYaw + PI;
    Pose ready = Placed(Stand(), inBelt, facing);
    ready.Set("udeL1", -1.2f, 0, 0.5f), ready.Set("udeR1", -1.2f, 0, -0.5f);
    ready.Set("udeL2", -0.3f), ready.Set("udeR2", -0.3f);
    {
        CTimeline t;
        Pose press = ready;
        press.Set("udeR1", -2.3f, 0, -0.2f), press.Set("udeR2", -0.4f);
        t.Key(0, Placed(Stand(), InFront(column, machineYaw, 60), facing))
            .Then(30, ready)
            .Then(15, press)
            .Then(15, ready);
        lib.Add("veskoBeltVibratorOn00", t);
    }
    for (int k = 0; k < 2; ++k)
        lib.Add(k ? "veskoBeltVibrator01" : "veskoBeltVibrator00", 120, [ready, k](float f) {
            Pose p = ready;
            float s = Wave(f, 4);
            p.y += 0.8f * s;
            p.Turn("koshi", 0.04f * s), p.Turn("head", 0, 0, 0.05f * s);
            if (k)
                p = Mix(p, ArmsUp(p, 1), 0.6f);
            p.face = k ? VF_TALKING : VF_TROUBLED;
            p.extras["bodyVibratorBelt:rx"] = 0.06f * s;
            return p;
        });
    {
        CTimeline t;
        Pose press = ready;
        press.Set("udeR1", -2.3f, 0, -0.2f), press.Set("udeR2", -0.4f);
        t.Key(0, ready).Then(15, press).Then(15, ready).Then(30,
                                                             Placed(Stand(), InFront(column, machineYaw, 60), facing));
        lib.Add("veskoBeltVibratorOff00", t, [](float, Pose& p) { p.extras["bodyVibratorBelt:rx"] = 0; });
    }

    // The conga drums.
    const GoodsPlace* conga = FindGoodsPlace("conga");
    const float congaYaw = conga->restRotation.y;
    const MeshPoint behind = InFront(conga->rest, congaYaw + PI, 30);
    Pose player = Placed(Stand(), behind, congaYaw);
    player.Set("udeL1", -0.9f, 0, 0.35f), player.Set("udeR1", -0.9f, 0, -0.35f);
    player.Set("udeL2", -0.6f), player.Set("udeR2", -0.6f);
    player.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, Placed(Stand(), InFront(conga->rest, congaYaw + PI, 60), congaYaw)).Then(30, player).Hold(10);
        lib.Add("veskoCongaOn00", t);
    }
    const int rhythms[6][4] = {{0, 1, 0, 1}, {0, 0, 1, 2}, {2, 3, 2, 3}, {0, 2, 1, 3}, {3, 3, 1, 0}, {0, 1, 2, 3}};
    const char* congaSets[6] = {"veskoConga00", "veskoConga01", "veskoConga02",
                                "veskoConga03", "veskoConga05", "veskoConga06"};
    for (int k = 0; k < 6; ++k) {
        std::vector<int> beats(rhythms[k], rhythms[k] + 4);
        lib.Add(congaSets[k], 160, [player, beats, k](float f) {
            Pose p = player;
            int beat = int(f / 20) % 8;
            float phase = std::fmod(f, 20.0f) / 20;
            float up = 1 - std::fabs(phase * 2 - 1);
            bool right = beats[size_t(beat % 4)] % 2 == 1;
            p.Turn(right ? "udeR1" : "udeL1", -0.5f * up);
            p.Turn(right ? "udeR2" : "udeL2", -0.6f * up);
            p.Turn("koshi", 0, 0.15f * Wave(f, 80), 0.05f * Wave(f, 40));
            p.Turn("head", 0.1f * up, 0, 0.1f * Wave(f, 80));
            p.y = -2 + 2 * Wave(f, 40);
            p.face = k >= 4 ? VF_TALKING : VF_SMILE;
            int at = int(f) - int(std::fmod(f, 20.0f));
            for (int c : beats)
                p.extras["congaSound" + std::to_string(c) + ":vis"] =
                    (int(std::lround(f)) == at && at > 0 && beats[size_t(beat % 4)] == c) ? 1.0f : 0.0f;
            return p;
        });
    }
    {
        CTimeline t;
        Pose bow = player;
        bow.Set("sebone1", 0.6f), bow.Set("head", 0.3f);
        t.Key(0, player).Hold(10).Then(25, bow).Hold(20).Then(25, Placed(Stand(), behind, congaYaw));
        lib.Add("veskoCongaOff00", t);
    }

    // The pigtail toy: the pigtails spin like rotors and lift her.
    const MeshPoint lift{150, 0, 200};
    auto rotors = [](Pose& p, float f, float speed) {
        p.extras["osageBexlaR:ry"] = speed * f * 0.9f;
        p.extras["osageBexlaL:ry"] = -speed * f * 0.9f;
    };
    Pose hover = Placed(Stand(), lift, 0);
    hover.Set("legL2", 0.5f), hover.Set("legR2", 0.7f), hover.Set("legL1", -0.2f);
    hover = ArmsUp(hover, 0.3f);
    hover.y = 30;
    hover.face = VF_SMILE;
    {
        CTimeline t;
        t.Key(0, Placed(Stand(), lift, 0)).Hold(30).Then(40, hover);
        lib.Add("veskoOsageBexlaOn00", t, [rotors](float f, Pose& p) { rotors(p, f, Smooth(f / 30)); });
    }
    lib.Add("veskoOsageBexla00", 60, [hover, rotors](float f) {
        Pose p = hover;
        p.x = p.z = p.yaw = 0;
        p.y = 30 + 3 * Wave(f, 60);
        p.Turn("koshi", 0.15f);
        rotors(p, f, 2 * PI / 0.9f * 4 / 60);
        return p;
    });
    {
        CTimeline t;
        t.Key(0, hover).Then(40, Placed(Crouch(0.3f), lift, 0)).Then(20, Placed(Stand(), lift, 0));
        lib.Add("veskoOsageBexlaOff00", t, [rotors](float f, Pose& p) { rotors(p, f, Smooth((60 - f) / 40)); });
    }

    // The electric fan: switching it on, enjoying the wind, switching it off.
    const GoodsPlace* fan = FindGoodsPlace("senpuki");
    const float fanYaw = fan->restRotation.y;
    const MeshPoint inFront = InFront(fan->rest, fanYaw, 42);
    Pose atFan = Placed(Stand(), inFront, fanYaw + PI);
    Pose press = Placed(Crouch(0.6f), InFront(fan->rest, fanYaw, 30), fanYaw + PI);
    press.Set("udeR1", -1.0f, 0, -0.1f), press.Set("udeR2", -0.2f);
    auto blades = [](Pose& p, float turns) { p.extras["senpukiBlade:rz"] = turns * TAU; };
    {
        CTimeline t;
        t.Key(0, atFan).Then(25, press).Hold(10).Then(25, atFan).Hold(20);
        lib.Add("veskoSenpukiOn00", t, [blades](float f, Pose& p) {
            // From the press the blades gather speed: 1/6 turn a frame at full.
            float run = std::fmax(0.0f, f - 35);
            blades(p, run * run / 240.0f);
        });
    }
    for (int k = 0; k < 2; ++k)
        lib.Add(k ? "veskoSenpuki01" : "veskoSenpuki00", 120, [atFan, blades, k](float f) {
            Pose p = k ? Placed(Seiza(), atFan.x, atFan.z, atFan.yaw) : atFan;
            p = Mix(p, ArmsUp(p, 0.8f), 0.5f);
            p.Turn("head", -0.3f);
            p.face = k ? VF_TALKING : VF_CLOSED;
            blades(p, f / 6);
            return p;
        });
    {
        CTimeline t;
        t.Key(0, atFan).Then(25, press).Hold(10).Then(25, atFan).Hold(20);
        lib.Add("veskoSenpukiOff00", t, [blades](float f, Pose& p) {
            // Slowing from full speed to a stop.
            float run = std::fmin(f, 60.0f);
            blades(p, run / 6 - run * run / 720.0f);
        });
    }

    // The fridge: opening the door and looking in; after taking something
    // out with her left hand, shutting it with her right.
    {
        CTimeline t;
        t.Key(0, FridgeLook())
            .Then(20, FridgeGrip(FridgeLook()))
            .Then(25, FridgeLook())
            .Then(20, FridgePeek())
            .Hold(30);
        lib.Add("veskoReizoukoOn00", t, [](float f, Pose& p) {
            float open = f < 20 ? 0 : f < 45 ? (f - 20) / 25 : 1;
            p.extras["reizoukoDoor:ry"] = FRIDGE_DOOR_OPEN * Smooth(open);
        });
    }
    {
        CTimeline t;
        Pose took = Hold(FridgeLook(), false);
        took.face = VF_SMILE;
        Pose start = Mix(FridgeReach("milk"), FridgeReach("iceCream"), 0.5f);
        t.Key(0, start).Then(20, took).Then(20, FridgeGrip(took)).Then(20, took).Hold(10);
        lib.Add("veskoReizoukoOn01", t, [](float f, Pose& p) {
            float open = f < 20 ? 1 : f < 40 ? (40 - f) / 20 : 0;
            p.extras["reizoukoDoor:ry"] = FRIDGE_DOOR_OPEN * Smooth(open);
        });
    }
}

Library Build() {
    Library lib;
    StandingAndWalking(lib);
    BoxingAndBath(lib);
    Sleep(lib);
    DoorAndTv(lib);
    RollingAndChair(lib);
    Kotatsu(lib);
    HandGoods(lib);
    StandingGoods(lib);
    return lib;
}

} // namespace

float RestHipHeight() { return HipHeight(); }

const std::vector<MotionSpec>& MotionSets() {
    static const std::vector<MotionSpec> sets = Build().sets;
    return sets;
}

const MotionSpec* FindMotionSet(const std::string& set) {
    for (const MotionSpec& m : MotionSets())
        if (m.set == set)
            return &m;
    return nullptr;
}
