#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "engine/math/Color.h"

// The light groups of the render manager that the text commands set by hand.
enum LightGroup {
    LG_ROOM,
    LG_ITEM,
    LG_INDICATOR
};

// What one of the render manager's light words asks for.
struct LightCommand {
    enum Kind {
        NONE,  // not a light word
        USAGE, // a light word with too few arguments: the usage line was written
        LIGHT_EDIT,
        SET_COLOURS
    };
    Kind kind = NONE;
    bool lightEdit = false;
    LightGroup group = LG_ROOM;
    ColorRGBA light;
    ColorRGBA ambient;
};

// Reads "lightEdit on/off" and "lightRoom"/"lightItem"/"lightIndi" with six
// numbers (light r g b, ambient r g b; alpha 1; words past the sixth
// ignored). Words compare exactly; numbers are read with atof.
LightCommand ParseLightCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args);
