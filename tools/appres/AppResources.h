#pragma once
#include <string>

#include "tools/media/Canvas.h"

// The pictures compiled into deskmate.exe: its icon, the four cursors of the
// pointer zones and the splash.

// The splash: 452 × 452, pure green outside its outline.
constexpr int SPLASH_SIZE = 452;
constexpr Rgba SPLASH_KEY = {0, 255, 0, 255};

// The application icon at 32 or 16 pixels a side: her face.
CCanvas PaintAppIcon(int size);
// 32 × 32 cursors, hot spot (15, 15) for the first three.
CCanvas PaintMoveCursor();    // four-way arrow
CCanvas PaintRotateCursor();  // circular arrow
CCanvas PaintYenCursor();     // yen sign over "PAY"
CCanvas PaintPictureCursor(); // a small heart
CCanvas PaintSplash();

// Writes "deskmate.ico", "move.cur", "rotate.cur", "picture.cur",
// "yen.cur" and "splash.bmp" into folder. False with a message on failure.
bool BuildAppResources(const std::string& folder, std::string& error);
