#pragma once

// Window and back-buffer sizes by WindowConfig (0, 1, 2). The outlined window
// is square; the plain window and full screen use the nearest 4:3 display mode.
const int CLIP_WINDOW_WIDTHS[3] = {640, 800, 1200};
const int CLIP_WINDOW_HEIGHTS[3] = {640, 800, 1200};
const int PLAIN_WINDOW_WIDTHS[3] = {640, 800, 1280};
const int PLAIN_WINDOW_HEIGHTS[3] = {480, 600, 1024};
