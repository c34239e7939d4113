#include "shell/lighting/LightCommands.h"

#include <cstdlib>

#include "engine/console/ConsoleObject.h"

namespace {

struct ColourWord {
    const char* word;
    LightGroup group;
    const char* usage;
};

const ColourWord COLOUR_WORDS[] = {
    {"lightRoom", LG_ROOM, "render lightRoom r g b ar ag ab"},
    {"lightItem", LG_ITEM, "render lightItem r g b ar ag ab"},
    {"lightIndi", LG_INDICATOR, "render lightIndi r g b ar ag ab"},
};

float Number(const std::string& word) { return static_cast<float>(std::atof(word.c_str())); }

} // namespace

LightCommand ParseLightCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    LightCommand parsed;
    if (IsWord(command, "lightEdit")) {
        if (args.empty()) {
            out << "render lightEdit on/off\n";
            parsed.kind = LightCommand::USAGE;
            return parsed;
        }
        parsed.kind = LightCommand::LIGHT_EDIT;
        parsed.lightEdit = IsWord(args[0], "on");
        return parsed;
    }
    for (const ColourWord& w : COLOUR_WORDS) {
        if (!IsWord(command, w.word))
            continue;
        if (args.size() < 6) {
            out << w.usage << "\n";
            parsed.kind = LightCommand::USAGE;
            return parsed;
        }
        parsed.kind = LightCommand::SET_COLOURS;
        parsed.group = w.group;
        parsed.light = ColorRGBA(Number(args[0]), Number(args[1]), Number(args[2]), 1.0f);
        parsed.ambient = ColorRGBA(Number(args[3]), Number(args[4]), Number(args[5]), 1.0f);
        return parsed;
    }
    return parsed;
}
