#include "shell/camera/CameraView.h"

#include <algorithm>
#include <cmath>

#include "engine/camera/CameraResource.h"
#include "engine/input/Keyboard.h"
#include "engine/input/Pointer.h"
#include "engine/math/Geometry2D.h"
#include "engine/math/Matrix.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "shell/camera/CameraInput.h"

namespace {

// The inspection camera's steps per pointer unit; button 1 makes them ten
// times larger.
const float ORBIT_STEP = 0.01f;
const float MOVE_STEP = 0.5f;
const float LARGE_STEP_FACTOR = 10.0f;
const float CLOSEST_TO_TARGET = 0.1f;
// Orbiting stops this short of straight above or below the target, where the
// look-at would have no sideways direction.
const float PITCH_LIMIT = 1.5607964f;

Vec3 Sub(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }
Vec3 Add(const Vec3& a, const Vec3& b) { return Vec3(a.x + b.x, a.y + b.y, a.z + b.z); }
Vec3 Scale(const Vec3& a, float s) { return Vec3(a.x * s, a.y * s, a.z * s); }

// Builds the nodes outside any registry: the view owns them.
class CNoRegistry {
public:
    CNoRegistry() : m_saved(CurrentResourceManager) { CurrentResourceManager = nullptr; }
    ~CNoRegistry() { CurrentResourceManager = m_saved; }

private:
    CResourceManager* m_saved;
};

} // namespace

CCameraView::CCameraView(const std::string& name) : CConsoleObject(name), m_target(0, 0, -1), m_up(0, 1, 0) {
    {
        CNoRegistry outside;
        m_transform.reset(new CTransform(name.c_str()));
        m_camera.reset(new CCameraResource(name.c_str()));
    }
    if (CTransform* parent = m_transform->GetParent())
        parent->RemoveChild(m_transform.get());
    m_camera->SetParent(m_transform.get());
    LookAt(m_eye, m_target, m_up);
    SetPerspective(m_fovY, m_aspect, m_near, m_far);
}

CCameraView::~CCameraView() = default;

void CCameraView::LookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    CMatrix view;
    view.SetLookAtRH(eye, target, up);
    CMatrix place;
    m_transform->SetLocalMatrix(view.GetInverse(place));
    m_eye = eye;
    m_target = target;
    m_up = up;
}

void CCameraView::SetPerspective(float fovY, float aspect, float zNear, float zFar) {
    CMatrix projection;
    projection.SetPerspectiveFovRH(fovY, aspect, zNear, zFar);
    m_camera->SetProjection(projection);
    m_camera->SetFarDistance(zFar);
    m_fovY = fovY;
    m_aspect = aspect;
    m_near = zNear;
    m_far = zFar;
    m_perspective = true;
}

void CCameraView::SetOrtho(float width, float height, float zNear, float zFar) {
    CMatrix projection;
    projection.SetOrthoRH(width, height, zNear, zFar);
    m_camera->SetProjection(projection);
    m_camera->SetFarDistance(zFar);
    m_width = width;
    m_height = height;
    m_near = zNear;
    m_far = zFar;
    m_perspective = false;
}

bool CCameraView::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, "print")) {
        out << GetName() << ":\n";
        out << "  EyeVec(" << m_eye.x << ", " << m_eye.y << ", " << m_eye.z << ")\n";
        out << "  IntVec(" << m_target.x << ", " << m_target.y << ", " << m_target.z << ")\n";
        out << "   UpVec(" << m_up.x << ", " << m_up.y << ", " << m_up.z << ")\n";
        if (m_perspective)
            out << "  FovY(" << m_fovY << ") Aspect(" << m_aspect << ")\n";
        else
            out << "  Width(" << m_width << ") Height(" << m_height << ")\n";
        out << "  Near(" << m_near << ") Far(" << m_far << ")\n" << std::flush;
        return true;
    }
    return CConsoleObject::HandleCommand(out, command, args);
}

void CCameraView::Update(int32_t) {
    CKeyboard* keyboard = m_input ? m_input->GetKeyboard() : nullptr;
    CPointer* pointer = m_input ? m_input->GetPointer() : nullptr;
    if (!keyboard || !pointer)
        return;
    const bool primary = KeyDown(pointer->GetButton(PB_LEFT));
    const bool large = KeyDown(pointer->GetButton(PB_RIGHT));
    if (!primary && !large)
        return;
    const float factor = large ? LARGE_STEP_FACTOR : 1.0f;
    const float dx = (float)pointer->GetAxis(PA_X).delta;
    const float dy = (float)pointer->GetAxis(PA_Y).delta;
    Vec3 eye = m_eye;
    Vec3 target = m_target;

    if (KeyDown(keyboard->GetKey(CAMERA_KEY_ORBIT))) {
        Vec3 offset = Sub(eye, target);
        const float length = offset.Length();
        if (length > 0.0f) {
            float pitch, yaw;
            DirectionToPitchYaw(pitch, yaw, offset);
            yaw -= dx * ORBIT_STEP * factor;
            pitch = std::max(-PITCH_LIMIT, std::min(PITCH_LIMIT, pitch + dy * ORBIT_STEP * factor));
            const Vec3 direction(std::cos(pitch) * std::sin(yaw), -std::sin(pitch), std::cos(pitch) * std::cos(yaw));
            eye = Add(target, Scale(direction, length));
        }
    }
    if (KeyDown(keyboard->GetKey(CAMERA_KEY_PAN))) {
        Vec3 forward = Sub(target, eye);
        forward.Normalize();
        Vec3 right, up;
        Vec3::Cross(right, forward, m_up);
        right.Normalize();
        Vec3::Cross(up, right, forward);
        const float step = MOVE_STEP * factor;
        const Vec3 move = Add(Scale(right, -dx * step), Scale(up, dy * step));
        eye = Add(eye, move);
        target = Add(target, move);
    }
    if (KeyDown(keyboard->GetKey(CAMERA_KEY_PUSH))) {
        Vec3 toTarget = Sub(target, eye);
        const float length = toTarget.Length();
        if (length > 0.0f) {
            const float kept = std::max(CLOSEST_TO_TARGET, length - dy * MOVE_STEP * factor);
            eye = Sub(target, Scale(toTarget, kept / length));
        }
    }
    LookAt(eye, target, m_up);
}
