// Pointer zones, the cursor each shows and the drag a press starts.
#include <gtest/gtest.h>

#include "shell/mascot/PointerZone.h"

namespace {

CPointerScene Window(int width, int height) {
    CPointerScene scene;
    scene.width = width;
    scene.height = height;
    return scene;
}

TEST(PointerZone, RimDragsAndInsideTurnsTheCamera) {
    struct Case {
        int width, height, x, y;
        PointerZone zone;
    };
    const Case cases[] = {
        {640, 640, 320, 320, ZONE_CAMERA},                                      // centre
        {640, 640, 544, 320, ZONE_DRAG},                                        // exactly on the circle (r = 224)
        {640, 640, 543, 320, ZONE_CAMERA},                                      // a pixel inside
        {640, 640, 320, 96, ZONE_DRAG},                                         // on the circle above the centre
        {640, 640, 320, 97, ZONE_CAMERA},    {640, 640, 5, 5, ZONE_DRAG},       // corner
        {800, 800, 680, 400, ZONE_DRAG},                                        // r = 280
        {800, 800, 679, 400, ZONE_CAMERA},   {1200, 1200, 600, 180, ZONE_DRAG}, // r = 420
        {1200, 1200, 600, 181, ZONE_CAMERA}, {640, 480, 488, 240, ZONE_DRAG},   // the shorter side sets r = 168
        {640, 480, 487, 240, ZONE_CAMERA},   {640, 640, -2000000000, 2000000000, ZONE_DRAG}, // far off, no overflow
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyPointer(Window(c.width, c.height), c.x, c.y), c.zone)
            << c.width << "x" << c.height << " at " << c.x << "," << c.y;
}

TEST(PointerZone, FullScreenOrFixedHasNoRim) {
    for (int which = 0; which < 2; ++which) {
        CPointerScene scene = Window(640, 640);
        (which == 0 ? scene.fullscreen : scene.fixed) = true;
        EXPECT_EQ(ClassifyPointer(scene, 2, 2), ZONE_CAMERA);
        EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_CAMERA);
        scene.menuOpen = true;
        EXPECT_EQ(ClassifyPointer(scene, 2, 2), ZONE_NONE);
        EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_NONE);
    }
}

TEST(PointerZone, MenuPanelAndLockedCameraAndTvPanel) {
    CPointerScene scene = Window(640, 640);
    scene.menuOpen = true;
    EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_DRAG); // the menu takes the camera area's place
    scene.insideMenuPanel = true;
    EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_NONE);
    scene.tvPanelHit = true; // the show's panel is not looked at with the menu open
    EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_NONE);
    scene.menuOpen = false;
    EXPECT_EQ(ClassifyPointer(scene, 320, 320), ZONE_TV);
    EXPECT_EQ(ClassifyPointer(scene, 2, 2), ZONE_TV);
    scene.fullscreen = true;
    EXPECT_EQ(ClassifyPointer(scene, 2, 2), ZONE_TV);
    scene.cameraLocked = true;
    EXPECT_EQ(ClassifyPointer(scene, 2, 2), ZONE_NONE);
}

TEST(PointerZone, CursorAndDragForEachZone) {
    struct Case {
        int zone;
        bool fullscreen;
        int cursor;
        DragMode drag;
    };
    const Case cases[] = {
        {ZONE_NONE, false, 0, DRAG_NONE},    {ZONE_DRAG, false, 1, DRAG_WINDOW},
        {ZONE_DRAG, true, 0, DRAG_NONE},     {ZONE_CAMERA, false, 2, DRAG_CAMERA},
        {ZONE_CAMERA, true, 2, DRAG_CAMERA}, {ZONE_TV, false, 3, DRAG_NONE},
        {ZONE_TV, true, 3, DRAG_NONE},       {7, false, 0, DRAG_NONE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CursorForZone(c.zone, c.fullscreen), c.cursor) << c.zone << " " << c.fullscreen;
        EXPECT_EQ(DragModeForPress(c.zone, c.fullscreen), c.drag) << c.zone << " " << c.fullscreen;
    }
}

} // namespace
