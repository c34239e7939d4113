#pragma once
#include <string>

#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/scene/Node.h"

// The camera node a draw list reads when it queues a scene: a projection with
// its far distance; the view is the inverse of the world matrix of the
// transform it hangs under. Built as a member of the camera controller.
class CCameraResource : public CNode {
public:
    explicit CCameraResource(const char* name);
    ~CCameraResource() override;

    void SetProjection(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
                       float m20, float m21, float m22, float m23, float m30, float m31, float m32, float m33);
    void SetProjection(const CMatrix& projection) { m_projection = projection; }
    const CMatrix& GetProjection() const { return m_projection; }
    float GetFarDistance() const { return m_farDistance; }
    void SetFarDistance(float farDistance) { m_farDistance = farDistance; }

    // Identity without a live parent.
    CMatrix GetViewMatrix() const;
    Vec3 ProjectToClip(const Vec3& point) const;
    // Pixels from the top-left of the client area, by the renderer's size
    // (Windows build only).
    Vec3 ProjectToScreen(const Vec3& point) const;

    void Render() override {}
    CNode* Clone(const std::string& scope) override { return nullptr; }

    CHandle GetCameraHandle() const { return m_cameraHandle; }

private:
    CMatrix m_projection;
    CHandle m_cameraHandle;
    float m_farDistance;
};

HandleTable<CCameraResource>& CameraHandles();
