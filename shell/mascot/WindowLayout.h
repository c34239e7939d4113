#pragma once

// Where the main window goes: the settings' size and corner, pulled back to
// the screen's left (or top) edge when fewer than 8 pixels of it would stay
// on the screen, and to (0, 0) in full screen.
struct CWindowLayout {
    int left;
    int top;
    int width;
    int height;
};

CWindowLayout FitWindowLayout(int left, int top, int width, int height, bool fullscreen, int screenWidth,
                              int screenHeight);

// The screen-saver run ends once the pointer is more than 30 pixels away
// from where it was after set-up, on either axis.
bool IsPointerFarFromStart(int x, int y, int startX, int startY);
