#include "engine/camera/CameraResource.h"
#include "engine/render/Renderer.h"

// Apart from the rest of the camera node: the client size comes from the
// renderer, which needs the device headers.
Vec3 CCameraResource::ProjectToScreen(const Vec3& point) const {
    CRenderer* renderer = CRenderer::Current();
    if (!renderer)
        return Vec3();
    const Vec3 clip = ProjectToClip(point);
    return Vec3((clip.x + 1.0f) * (float)renderer->GetWidth() * 0.5f,
                (1.0f - clip.y) * (float)renderer->GetHeight() * 0.5f, 0.0f);
}
