#pragma once

class ISetting;

// One row of marks of the menu: its mark nodes in index order, the setting
// it shows (mark i for the value i) and the setter a click on mark i calls.
struct MenuRowSpec {
    const char* marks[3];
    int count;
    int (*get)(ISetting& setting);
    void (*set)(ISetting& setting, int index);
};

// Window size, window mode, fixed, on top, camera, QuillombMode, sound.
extern const MenuRowSpec MENU_ROWS[7];
