#include "engine/console/ConsoleObject.h"

#include <cstdlib>

// Function-local statics: built on the first registration, so they outlive
// every console object, static ones included.
ConsoleObjectMap& ConsoleObjectRegistry() {
    static ConsoleObjectMap registry;
    return registry;
}

std::string& SelectedObjectName() {
    static std::string selected;
    return selected;
}

CConsoleObject::CConsoleObject(const char* name) : m_name(name ? name : "") { Register(); }

CConsoleObject::CConsoleObject(const std::string& name) : m_name(name) { Register(); }

CConsoleObject::~CConsoleObject() { Unregister(); }

void CConsoleObject::Register() {
    if (m_name.empty())
        return;
    // multimap::insert places the entry after its namesakes.
    ConsoleObjectRegistry().insert(ConsoleObjectMap::value_type(m_name, this));
}

void CConsoleObject::Unregister() {
    if (m_name.empty())
        return;
    ConsoleObjectMap& registry = ConsoleObjectRegistry();
    auto range = registry.equal_range(m_name);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == this) {
            registry.erase(it);
            return;
        }
    }
}

bool CConsoleObject::HandleCommand(std::ostream& out, const std::string& command,
                                   const std::vector<std::string>& args) {
    if (IsWord(command, "select")) {
        SelectedObjectName() = m_name;
        return true;
    }
    return false;
}

void CConsoleObject::Update(int32_t value) {}

bool BindFloatParameter(std::ostream& out, float& value, const char* keyword, std::vector<std::string>& usage,
                        const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, keyword)) {
        if (!args.empty())
            value = (float)std::atof(args[0].c_str());
        else
            out << value << "\n" << std::flush;
        return true;
    }
    usage.push_back(keyword);
    return false;
}
