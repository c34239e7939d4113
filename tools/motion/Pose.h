#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/content/MeshBuilder.h"

// One instant of her motion: the turn of each body bone (radians about the
// model's x, y and z; bones not named stay at rest), the root's place in the
// room (or relative to where she stands) with its heading, the face picture
// and any channels of the room's nodes the motion drives ("node:attr" with
// attr one of tx ty tz rx ry rz vis).
struct Pose {
    std::map<std::string, MeshPoint> bones;
    float x = 0, y = 0, z = 0, yaw = 0;
    int face = 1;
    std::map<std::string, float> extras;

    MeshPoint Bone(const std::string& name) const;
    // Adds to a bone's turn.
    Pose& Turn(const std::string& bone, float rx, float ry = 0, float rz = 0);
    Pose& Set(const std::string& bone, float rx, float ry = 0, float rz = 0);
    Pose& At(float px, float pz, float heading) {
        x = px, z = pz, yaw = heading;
        return *this;
    }
    Pose& At(MeshPoint p, float heading) { return At(p.x, p.z, heading); }
    Pose& Lift(float dy) {
        y += dy;
        return *this;
    }
    Pose& Face(int f) {
        face = f;
        return *this;
    }
    Pose& Extra(const std::string& channel, float value) {
        extras[channel] = value;
        return *this;
    }
};

// a + (b - a) t, the face and stepped extras switching at one half.
Pose Mix(const Pose& a, const Pose& b, float t);
// The same body turned and moved by a delta pose's bones and root.
Pose Add(const Pose& a, const Pose& delta, float k = 1.0f);

float Smooth(float t);
constexpr float PI = 3.14159265f;
constexpr float TAU = 6.2831853f;

// Key poses in time, eased from one to the next; before the first and after
// the last the pose holds.
class CTimeline {
public:
    CTimeline& Key(float frame, const Pose& pose);
    // A key the same as the last one, `frames` later (a hold).
    CTimeline& Hold(float frames);
    // A key `frames` after the last one.
    CTimeline& Then(float frames, const Pose& pose);
    Pose At(float frame) const;
    float End() const { return m_keys.empty() ? 0 : m_keys.back().first; }
    const Pose& Last() const { return m_keys.back().second; }
    const Pose& First() const { return m_keys.front().second; }

private:
    std::vector<std::pair<float, Pose>> m_keys;
};

// The world position of a node of her rig for a pose, her instance root at
// the room's origin (a fixed-origin motion) and "veskoRoot" at her scale.
MeshPoint RigWorldPosition(const Pose& pose, const std::string& node);
