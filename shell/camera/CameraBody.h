#pragma once
#include <string>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"
#include "shell/camera/CameraView.h"

// The room camera's body: an eye fixed on the floor plan that aims at a
// target. The eye's height follows from how far away (on the ground plane)
// the target lies, and the distance value only sets the field of view. Owns
// its view, named after the body with "_camera".
class CCameraBody : public CConsoleObject {
public:
    explicit CCameraBody(const std::string& name);

    // "minD", "dH", "h", "fovYPerDist"; any other word lists them.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // Recomputes the eye's height, aims the view and sets its field of view.
    void SetTarget(const Vec3& target, float distance);
    void SetLens(float aspect, float zNear, float zFar);

    const Vec3& GetEye() const { return m_eye; }
    const Vec3& GetTarget() const { return m_target; }
    float GetDistance() const { return m_distance; }
    CCameraView& GetView() { return m_view; }
    const CCameraView& GetView() const { return m_view; }

    float GetMinD() const { return m_minD; }
    float GetDH() const { return m_dH; }
    float GetH() const { return m_h; }
    float GetFovYPerDist() const { return m_fovYPerDist; }

private:
    CCameraView m_view;
    Vec3 m_eye;
    Vec3 m_target;
    float m_distance = 1200.0f;
    float m_minD = 500.0f;
    float m_dH = 650000.0f;
    float m_h = -50.0f;
    // pi / 12000: 15 degrees per 1000 units of distance.
    float m_fovYPerDist = 0.000261799f;
};
