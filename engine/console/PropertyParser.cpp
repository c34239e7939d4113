#include "engine/console/PropertyParser.h"

#include "engine/console/ConsoleObject.h"

bool ParseFloatProperties(std::ostream& out, const FloatProperty* properties, size_t count, const std::string& command,
                          const std::vector<std::string>& args) {
    std::vector<std::string> usage;
    for (size_t i = 0; i < count; ++i)
        if (BindFloatParameter(out, *properties[i].value, properties[i].keyword, usage, command, args))
            return true;
    for (const std::string& keyword : usage)
        out << keyword << " ";
    out << "\n" << std::flush;
    return true;
}
