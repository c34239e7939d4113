#include "engine/camera/CameraResource.h"

#include "engine/resource/ResourceKind.h"
#include "engine/scene/Transform.h"

HandleTable<CCameraResource>& CameraHandles() {
    static HandleTable<CCameraResource> table;
    return table;
}

CCameraResource::CCameraResource(const char* name) : CNode(name, RT_CAMERA), m_farDistance(1.0f) {
    m_cameraHandle = CameraHandles().Register(this);
}

CCameraResource::~CCameraResource() { CameraHandles().Release(m_cameraHandle.index); }

void CCameraResource::SetProjection(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                                    float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                                    float m32, float m33) {
    const float values[16] = {m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33};
    for (int i = 0; i < 16; ++i)
        m_projection(i / 4, i % 4) = values[i];
}

CMatrix CCameraResource::GetViewMatrix() const {
    CMatrix view;
    if (CTransform* parent = GetParent())
        parent->GetWorldMatrix().GetInverse(view);
    return view;
}

Vec3 CCameraResource::ProjectToClip(const Vec3& point) const {
    CMatrix viewProjection;
    m_projection.PreMultiply(viewProjection, GetViewMatrix());
    Vec3 clip = point;
    clip.TransformCoord(viewProjection);
    return clip;
}
