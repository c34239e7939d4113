#pragma once
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"

// A fixed view of the room: from the open corner of the room towards its
// middle, wide enough to take in every piece of furniture in a 4:3 picture.
// The room preview tool and the still pictures of the room's tests look
// through it; the program's own view is the camera manager's.
const Vec3 ROOM_CAMERA_EYE(950, 460, 850);
const Vec3 ROOM_CAMERA_TARGET(0, 0, 0);
const Vec3 ROOM_CAMERA_UP(0, 1, 0);
// Just wider than the camera's overlook of the room (0.707), so that even
// the hidden back corners of the chest by the shelf stay inside the picture.
constexpr float ROOM_CAMERA_FOV_Y = 0.74f; // radians
constexpr float ROOM_CAMERA_NEAR = 100, ROOM_CAMERA_FAR = 10000;

// World to camera space (right-handed, looking down -z).
inline CMatrix GetRoomCameraView() {
    CMatrix view;
    view.SetLookAtRH(ROOM_CAMERA_EYE, ROOM_CAMERA_TARGET, ROOM_CAMERA_UP);
    return view;
}

// The projection for a picture of width / height; a height of 0 counts as 1.
inline CMatrix GetRoomCameraProjection(int width, int height) {
    CMatrix projection;
    projection.SetPerspectiveFovRH(ROOM_CAMERA_FOV_Y, float(width) / float(height > 0 ? height : 1), ROOM_CAMERA_NEAR,
                                   ROOM_CAMERA_FAR);
    return projection;
}
