#pragma once
#include <string>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"
#include "shell/camera/AutoCamera.h"
#include "shell/camera/CameraBody.h"
#include "shell/camera/CameraLimiter.h"
#include "shell/camera/FocusPoint.h"
#include "shell/camera/ManualCamera.h"

class CCameraResource;
class ICameraInput;
class ISetting;
struct CSavedState;

// The room camera as the rest of the program sees it.
class ICameraManager : public CConsoleObject {
public:
    explicit ICameraManager(const std::string& name) : CConsoleObject(name) {}

    // The camera's part of the state file: the distance and the target.
    virtual void Serialize(CSavedState& state, bool storing) = 0;
    // A point to look at in this frame; the list empties at every update.
    virtual void AddFocusPoint(const Vec3& position, float weight) = 0;
    virtual void Update(float dt, bool pointerInCameraZone) = 0;
    virtual void SetLens(float aspect, float zNear, float zFar) = 0;
    virtual void SetAuto(bool automatic) = 0;
    virtual bool IsAuto() = 0;
    // While locked, the automatic controller runs, whatever the setting,
    // and aims at the point from that distance.
    virtual void LockTarget(const Vec3& point, float distance) = 0;
    virtual void Unlock() = 0;
    virtual bool IsLocked() = 0;
    // The camera node that the main draw list records with.
    virtual CCameraResource* GetView() = 0;
    // Where the manual controls read the keyboard and pointer; not owned.
    virtual void SetInput(ICameraInput* input) = 0;

    using CConsoleObject::Update;
};

// The named object "camera": owns the body, the limiter, both controllers and
// the frame's focus points, and picks the controller each update. In the
// automatic setting any drag or wheel hands control to the user until
// resumeDelay after the last one. Owned by the render manager.
class CCameraManager : public ICameraManager {
public:
    CCameraManager(ISetting* settings, const std::string& name);

    void Serialize(CSavedState& state, bool storing) override;
    void AddFocusPoint(const Vec3& position, float weight) override;
    void Update(float dt, bool pointerInCameraZone) override;
    void SetLens(float aspect, float zNear, float zFar) override;
    void SetAuto(bool automatic) override { m_auto = automatic; }
    bool IsAuto() override { return m_auto; }
    void LockTarget(const Vec3& point, float distance) override { m_autoCamera.Lock(point, distance); }
    void Unlock() override { m_autoCamera.Unlock(); }
    bool IsLocked() override { return m_autoCamera.IsLocked(); }
    CCameraResource* GetView() override;

    void SetInput(ICameraInput* input) override;
    using ICameraManager::Update;

    // -1 before the first update, 0 manual, 1 automatic.
    int GetMode() const { return m_mode; }
    float GetResumeTimer() const { return m_resumeTimer; }
    const FocusPointList& GetFocusPoints() const { return m_focusPoints; }
    CCameraBody& GetBody() { return m_body; }
    CCameraLimiter& GetLimiter() { return m_limiter; }
    CAutoCamera& GetAutoCamera() { return m_autoCamera; }
    CManualCamera& GetManualCamera() { return m_manualCamera; }

private:
    CCameraBody m_body;
    CCameraLimiter m_limiter;
    bool m_auto;
    int m_mode = -1;
    CAutoCamera m_autoCamera;
    CManualCamera m_manualCamera;
    FocusPointList m_focusPoints;
    float m_resumeTimer = 0.0f;
    float m_resumeDelay = 3000.0f;
};

ICameraManager* CreateCameraManager(ISetting* settings, const char* name);
