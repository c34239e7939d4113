#pragma once

// Where the pointer is, as the main window and the update see it: it picks
// the cursor and what a left-button drag does.
enum PointerZone {
    ZONE_NONE = 0,   // nothing happens here
    ZONE_DRAG = 1,   // the window may be dragged from here
    ZONE_CAMERA = 2, // the camera may be turned by dragging from here
    ZONE_TV = 3,     // the TV-shopping show's buy panel
};

// What the zones depend on besides the point.
struct CPointerScene {
    bool cameraLocked = false;
    bool menuOpen = false;
    bool insideMenuPanel = false; // read only while the menu is open
    bool tvPanelHit = false;      // read only while the menu is closed
    bool fullscreen = false;
    bool fixed = false;
    int width = 0; // the window's client size in pixels
    int height = 0;
};

// The window's rim (on or outside a central circle of radius
// 0.35 x min(width, height)) drags the window, the inside turns the camera;
// in full screen or with the window fixed everything is camera. With the
// menu open only the rim outside its panel drags, and nothing else counts.
PointerZone ClassifyPointer(const CPointerScene& scene, int x, int y);

// Cursor table index: 0 arrow, 1 move, 2 circular arrow, 3 yen; the fifth
// cursor is loaded but no zone selects it.
constexpr int CURSOR_COUNT = 5;
int CursorForZone(int zone, bool fullscreen);

// Drag mode that a left-button press starts: 0 none, 1 the window, 2 the camera.
enum DragMode {
    DRAG_NONE = 0,
    DRAG_WINDOW = 1,
    DRAG_CAMERA = 2
};
DragMode DragModeForPress(int zone, bool fullscreen);
