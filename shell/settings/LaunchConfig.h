#pragma once
#include <cstdint>

// The launch settings: eleven integers kept in the text file "tavelune.cfg"
// beside the program (in the data folder, as the archives are), read once at
// start and rewritten whenever a setting changes. A plain record owned by the
// settings object.

enum LaunchConfigValue {
    LC_SHADER_MODE,   // 0 hardware vertex processing when available, 1 always software
    LC_WINDOW_CONFIG, // 0 640x640, 1 800x800, 2 1200x1200
    LC_WINDOW_MODE,   // 0 window with the bitmap outline, 1 plain window, 2 full screen
    LC_TOPMOST_MODE,
    LC_FIX_MODE,
    LC_INIT_X, // the window's centre, screen pixels
    LC_INIT_Y,
    LC_SOUND_MODE,
    LC_CAMERA_MODE, // 0 manual, 1 automatic
    LC_QUILLOMB_MODE,
    LC_CLEAR_MODE, // 1: the saved state is cleared at the next start
    LC_COUNT
};

const char* const LAUNCH_CONFIG_FILE_NAME = "tavelune.cfg";

struct CLaunchConfig {
    const char* fileName = LAUNCH_CONFIG_FILE_NAME;
    int32_t values[LC_COUNT] = {};
};

// Reads the file named by the record from the data folder. A value is the
// first run of digits on its line, negative after a minus sign. False when the
// file cannot be opened, holds a number outside 32 bits, or a value lies
// outside its range; the record is then left as it was. Values that a short
// file lacks keep their old ones.
bool LoadLaunchConfig(CLaunchConfig& config);

// Rewrites the file in the data folder: each value after its comment line.
// False when the file cannot be opened for writing (nothing is written then).
bool SaveLaunchConfig(const CLaunchConfig& config);

// The file's comment line for a value, without its newline.
const char* GetLaunchConfigComment(int index);
