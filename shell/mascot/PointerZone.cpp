#include "shell/mascot/PointerZone.h"

#include <algorithm>
#include <cstdint>

PointerZone ClassifyPointer(const CPointerScene& scene, int x, int y) {
    if (scene.cameraLocked)
        return ZONE_NONE;
    if (scene.menuOpen) {
        if (scene.insideMenuPanel || scene.fullscreen || scene.fixed)
            return ZONE_NONE;
        return ZONE_DRAG;
    }
    if (scene.tvPanelHit)
        return ZONE_TV;
    if (scene.fullscreen || scene.fixed)
        return ZONE_CAMERA;
    // r = 0.35 m, in whole numbers so that a point exactly on the circle is
    // on it. With doubled offsets, r^2 > dx^2 + dy^2 is 49 m^2 > 100 (dx2^2 + dy2^2).
    // Points far off the window are clamped first; they stay outside the circle.
    const int64_t FAR = int64_t(1) << 24;
    int64_t m = std::clamp<int64_t>(std::min(scene.width, scene.height), 0, FAR);
    int64_t dx2 = 2 * std::clamp<int64_t>(x, -FAR, FAR) - std::clamp<int64_t>(scene.width, 0, FAR);
    int64_t dy2 = 2 * std::clamp<int64_t>(y, -FAR, FAR) - std::clamp<int64_t>(scene.height, 0, FAR);
    return 49 * m * m > 100 * (dx2 * dx2 + dy2 * dy2) ? ZONE_CAMERA : ZONE_DRAG;
}

int CursorForZone(int zone, bool fullscreen) {
    switch (zone) {
    case ZONE_DRAG: return fullscreen ? 0 : 1;
    case ZONE_CAMERA: return 2;
    case ZONE_TV: return 3;
    default: return 0;
    }
}

DragMode DragModeForPress(int zone, bool fullscreen) {
    if (zone == ZONE_CAMERA)
        return DRAG_CAMERA;
    if (zone == ZONE_DRAG && !fullscreen)
        return DRAG_WINDOW;
    return DRAG_NONE;
}
