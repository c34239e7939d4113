#pragma once
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "engine/console/ConsoleObject.h"

// One settable float of a named object, by keyword.
struct FloatProperty {
    const char* keyword;
    float* value;
};

// The property parser of an object whose tunable values are floats: the
// keywords are bound in table order with BindFloatParameter; a word that
// matches none writes every keyword followed by a blank, then a newline.
// Always true: such an object takes every word.
bool ParseFloatProperties(std::ostream& out, const FloatProperty* properties, size_t count, const std::string& command,
                          const std::vector<std::string>& args);

template <size_t N>
bool ParseFloatProperties(std::ostream& out, const FloatProperty (&properties)[N], const std::string& command,
                          const std::vector<std::string>& args) {
    return ParseFloatProperties(out, properties, N, command, args);
}

// A named object that is nothing but a property parser over floats that
// live elsewhere (the tunable values of a state, say); the owner of those
// floats keeps this object beside them.
class CFloatPropertyObject : public CConsoleObject {
public:
    CFloatPropertyObject(const std::string& name, std::vector<FloatProperty> properties)
        : CConsoleObject(name),
          m_properties(std::move(properties)) {}

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override {
        return ParseFloatProperties(out, m_properties.data(), m_properties.size(), command, args);
    }

private:
    std::vector<FloatProperty> m_properties;
};
