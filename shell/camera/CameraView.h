#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"

class CCameraResource;
class CTransform;
class ICameraInput;

// A camera as the scene sees it: a transform whose local matrix is the
// inverse of a look-at matrix, and under it the camera node that draw lists
// read, with its projection. The view owns both nodes; they belong to no
// resource registry and hang under no other node, so the camera node's view
// is always exactly the last look-at. Serves the room camera (inside the
// camera body) and the indicator scene's orthographic camera.
class CCameraView : public CConsoleObject {
public:
    explicit CCameraView(const std::string& name);
    ~CCameraView() override;

    // "print" writes the look-at and the lens; other words go to the base.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;
    // A free camera for inspection, driven by the pointer while a button is
    // held with O (orbit), Z (pan) or P (push in). Nothing in the program's
    // frame calls it.
    void Update(int32_t value) override;

    void LookAt(const Vec3& eye, const Vec3& target, const Vec3& up);
    void SetPerspective(float fovY, float aspect, float zNear, float zFar);
    void SetOrtho(float width, float height, float zNear, float zFar);

    // The input that the inspection camera reads; not owned, may be null.
    void SetInput(ICameraInput* input) { m_input = input; }

    CCameraResource* GetCamera() const { return m_camera.get(); }
    CTransform* GetTransform() const { return m_transform.get(); }
    const Vec3& GetEye() const { return m_eye; }
    const Vec3& GetTarget() const { return m_target; }
    const Vec3& GetUp() const { return m_up; }
    bool IsPerspective() const { return m_perspective; }
    float GetFovY() const { return m_fovY; }
    float GetAspect() const { return m_aspect; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    float GetNear() const { return m_near; }
    float GetFar() const { return m_far; }

private:
    std::unique_ptr<CTransform> m_transform;
    std::unique_ptr<CCameraResource> m_camera;
    Vec3 m_eye;
    Vec3 m_target;
    Vec3 m_up;
    bool m_perspective = true;
    float m_fovY = 1.0f;
    float m_aspect = 1.0f;
    float m_width = 1.0f;
    float m_height = 1.0f;
    float m_near = 1.0f;
    float m_far = 100.0f;
    ICameraInput* m_input = nullptr;
};
