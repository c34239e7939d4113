#include "tools/motion/MotionPoses.h"

#include <cmath>

#include "tools/vesko/VeskoRig.h"

float HipHeight() {
    static const float hip = [] {
        float p[3];
        VeskoRestPosition(VeskoNames::HIPS, p);
        return p[1] * VESKO_ROOT_SCALE;
    }();
    return hip;
}

Pose Stand(float frame) {
    Pose p;
    float b = std::sin(frame * TAU / 150);
    p.Set("sebone1", 0.02f * b);
    p.Set("sebone2", -0.02f * b);
    p.Set("udeL1", 0.03f * b, 0, 0.14f);
    p.Set("udeR1", 0.03f * b, 0, -0.14f);
    p.Set("udeL2", -0.2f);
    p.Set("udeR2", -0.2f);
    p.Set("head", -0.03f, 0.04f * std::sin(frame * TAU / 300));
    p.face = VF_NEUTRAL;
    return p;
}

Pose Walk(float phase, float stride, float arms) {
    Pose p = Stand();
    float s = std::sin(TAU * phase), c = std::cos(TAU * phase);
    p.Set("legL1", -0.42f * s * stride);
    p.Set("legR1", 0.42f * s * stride);
    p.Set("legL2", (0.1f + 0.65f * std::fmax(0.0f, c)) * stride);
    p.Set("legR2", (0.1f + 0.65f * std::fmax(0.0f, -c)) * stride);
    p.Set("legL3", -0.25f * std::fmax(0.0f, c) * stride);
    p.Set("legR3", -0.25f * std::fmax(0.0f, -c) * stride);
    p.Set("udeL1", 0.36f * s * arms, 0, 0.12f);
    p.Set("udeR1", -0.36f * s * arms, 0, -0.12f);
    p.Set("udeL2", -0.25f - 0.2f * std::fmax(0.0f, -s) * arms);
    p.Set("udeR2", -0.25f - 0.2f * std::fmax(0.0f, s) * arms);
    p.Set("koshi", 0, 0.08f * s * stride);
    p.Set("sebone2", 0.03f, -0.1f * s * stride);
    p.y = (-1.2f + 1.0f * std::cos(2 * TAU * phase)) * stride;
    return p;
}

Pose SleepWalk(float phase) {
    Pose p = Walk(phase, 0.45f, 0.0f);
    p.Set("udeL1", -1.35f, 0, 0.12f);
    p.Set("udeR1", -1.35f, 0, -0.12f);
    p.Set("udeL2", -0.1f);
    p.Set("udeR2", -0.1f);
    p.Set("head", 0.35f, 0, 0.08f * std::sin(TAU * phase));
    p.face = VF_ASLEEP;
    return p;
}

Pose SitFloor() {
    Pose p = Stand();
    p.Set("legL1", -1.45f, 0, 0.06f);
    p.Set("legR1", -1.45f, 0, -0.06f);
    p.Set("legL2", 0.12f);
    p.Set("legR2", 0.12f);
    p.Set("legL3", -0.45f);
    p.Set("legR3", -0.45f);
    p.Set("sebone1", 0.12f);
    p.Set("udeL1", -0.7f, 0, 0.15f);
    p.Set("udeR1", -0.7f, 0, -0.15f);
    p.Set("udeL2", -0.7f);
    p.Set("udeR2", -0.7f);
    p.y = 9 - HipHeight();
    return p;
}

Pose Kneel() {
    Pose p = Stand();
    p.Set("legL2", 1.55f);
    p.Set("legR2", 1.55f);
    // The feet laid back along the floor behind the knees.
    p.Set("legL3", 1.5f);
    p.Set("legR3", 1.5f);
    p.y = -24;
    return p;
}

Pose Seiza() {
    Pose p = Stand();
    p.Set("legL1", -1.3f, 0, 0.05f);
    p.Set("legR1", -1.3f, 0, -0.05f);
    p.Set("legL2", 2.75f);
    p.Set("legR2", 2.75f);
    p.Set("legL3", 0.9f);
    p.Set("legR3", 0.9f);
    p.Set("udeL1", -0.45f, 0, 0.1f);
    p.Set("udeR1", -0.45f, 0, -0.1f);
    p.Set("udeL2", -0.6f);
    p.Set("udeR2", -0.6f);
    p.y = 17 - HipHeight();
    return p;
}

Pose SitSeat(float seat) {
    Pose p = Stand();
    p.Set("legL1", -1.5f, 0, 0.08f);
    p.Set("legR1", -1.5f, 0, -0.08f);
    p.Set("legL2", 1.5f);
    p.Set("legR2", 1.5f);
    p.Set("udeL1", -0.45f, 0, 0.18f);
    p.Set("udeR1", -0.45f, 0, -0.18f);
    p.Set("udeL2", -0.8f);
    p.Set("udeR2", -0.8f);
    p.y = seat + 3 - HipHeight();
    return p;
}

Pose LieBack(float surface) {
    Pose p;
    p.Set("koshi", -1.5708f);
    p.Set("udeL1", 0, 0, 0.18f);
    p.Set("udeR1", 0, 0, -0.18f);
    p.Set("udeL2", -0.25f);
    p.Set("udeR2", -0.25f);
    p.Set("head", -0.25f);
    p.Set("legL1", -0.05f, 0, 0.05f);
    p.Set("legR1", -0.05f, 0, -0.05f);
    p.Set("legL3", -0.6f);
    p.Set("legR3", -0.6f);
    p.y = surface + 6 - HipHeight();
    p.face = VF_ASLEEP;
    return p;
}

Pose Crouch(float d) {
    Pose p = Stand();
    p.Set("legL1", -1.25f * d, 0, 0.1f * d);
    p.Set("legR1", -1.25f * d, 0, -0.1f * d);
    p.Set("legL2", 2.1f * d);
    p.Set("legR2", 2.1f * d);
    p.Set("legL3", -0.85f * d);
    p.Set("legR3", -0.85f * d);
    p.Set("sebone1", 0.35f * d);
    p.Set("sebone2", 0.15f * d);
    // The hips come down by what the bent thigh and shin lose in height, so
    // that the feet stay flat on the floor at every depth.
    const float thigh = 1.42f * VESKO_ROOT_SCALE, shin = 1.31f * VESKO_ROOT_SCALE;
    p.y = -(thigh * (1 - std::cos(1.25f * d)) + shin * (1 - std::cos(0.85f * d)));
    return p;
}

Pose ArmsUp(Pose p, float a) {
    p.Set("udeL1", -0.3f * a, 0, 0.14f + 2.6f * a);
    p.Set("udeR1", -0.3f * a, 0, -0.14f - 2.6f * a);
    p.Set("udeL2", -0.1f);
    p.Set("udeR2", -0.1f);
    p.Set("sebone2", -0.12f * a);
    p.Set("head", -0.25f * a);
    return p;
}

Pose Hold(Pose p, bool right, float lift) {
    p.Set(right ? "udeR1" : "udeL1", -0.45f * lift, 0, right ? -0.2f : 0.2f);
    p.Set(right ? "udeR2" : "udeL2", -1.15f * lift);
    return p;
}

Pose HoldBoth(Pose p) { return Hold(Hold(p, true), false); }

MeshPoint HandAt(const Pose& pose, bool right) {
    return RigWorldPosition(pose, right ? VeskoNames::HAND_RIGHT : VeskoNames::HAND_LEFT);
}

Pose Reach(const Pose& base, bool right, MeshPoint target) {
    const char* arm = right ? "udeR1" : "udeL1";
    const char* elbow = right ? "udeR2" : "udeL2";
    Pose best = base;
    float bestScore = 1e30f;
    for (int c = 0; c <= 12; ++c) {
        // Deeper than a squat the back bends on down to the floor.
        float d = std::fmin(1.0f, c / 8.0f), bend = std::fmax(0.0f, (c - 8) / 4.0f);
        Pose crouched = Crouch(d);
        crouched.Turn("sebone1", 0.45f * bend);
        crouched.Turn("sebone2", 0.35f * bend);
        for (int a = 0; a <= 56; ++a) {
            float pitch = -0.1f - 0.05f * float(a);
            Pose p = base;
            for (const auto& kv : crouched.bones)
                if (kv.first.compare(0, 3, "leg") == 0 || kv.first.compare(0, 5, "sebon") == 0)
                    p.bones[kv.first] = kv.second;
            p.y = base.y + crouched.y;
            p.Set(arm, pitch, 0, right ? -0.12f : 0.12f);
            p.Set(elbow, -0.15f);
            MeshPoint hand = HandAt(p, right);
            float score = 10 * std::fabs(hand.y - target.y) + 6 * (d + bend) + std::fabs(pitch + 1.1f);
            if (score < bestScore) {
                bestScore = score;
                best = p;
            }
        }
    }
    MeshPoint hand = HandAt(best, right);
    best.x += target.x - hand.x;
    best.z += target.z - hand.z;
    return best;
}

int Blink(float frame, int open) {
    float t = std::fmod(frame, 170.0f);
    return t > 80 && t < 86 ? VF_CLOSED : open;
}
