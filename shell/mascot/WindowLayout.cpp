#include "shell/mascot/WindowLayout.h"

#include <cstdint>

namespace {

constexpr int64_t KEPT_ON_SCREEN = 8;

int FitEdge(int start, int size, int screenSize, bool fullscreen) {
    if (fullscreen || int64_t(start) < KEPT_ON_SCREEN - size || int64_t(start) > int64_t(screenSize) - KEPT_ON_SCREEN)
        return 0;
    return start;
}

int64_t Distance(int a, int b) { return a > b ? int64_t(a) - b : int64_t(b) - a; }

} // namespace

CWindowLayout FitWindowLayout(int left, int top, int width, int height, bool fullscreen, int screenWidth,
                              int screenHeight) {
    CWindowLayout layout;
    layout.width = width;
    layout.height = height;
    layout.left = FitEdge(left, width, screenWidth, fullscreen);
    layout.top = FitEdge(top, height, screenHeight, fullscreen);
    return layout;
}

bool IsPointerFarFromStart(int x, int y, int startX, int startY) {
    return Distance(x, startX) > 30 || Distance(y, startY) > 30;
}
