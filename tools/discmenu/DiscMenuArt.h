#pragma once
#include <string>

#include "tools/media/Canvas.h"

// The disc menu's pictures: the background, the button faces and the icon.

constexpr int MENU_WIDTH = 640;
constexpr int MENU_HEIGHT = 480;

enum MenuButton {
    MB_INSTALL,
    MB_UNINSTALL,
    MB_DXINSTALL,
    MENU_BUTTON_COUNT
};

// The button's resource caption ("INSTALL" ...) and its band height.
const char* MenuButtonCaption(int button);
int MenuButtonHeight(int button);

CCanvas PaintMenuBackground();
// The normal face, or with disabled the greyed one: a band 640 pixels wide.
CCanvas PaintMenuButton(int button, bool disabled);
// The icon at 32 or 16 pixels a side.
CCanvas PaintMenuIcon(int size);

// Writes "background.bmp", "<CAPTION>U.bmp" and "<CAPTION>X.bmp" for each
// button and "autorun.ico" into folder. False with a message on failure.
bool BuildDiscMenuArt(const std::string& folder, std::string& error);
