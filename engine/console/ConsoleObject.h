#pragma once
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Base of every object that answers text commands by name. An object with a
// non-empty name is entered in the process-wide registry from construction to
// destruction; the registry does not own it. Derived handlers compare their
// words exactly, write a usage line when arguments are missing and hand every
// word they do not know to their base, so the chain ends here with "select".
class CConsoleObject {
public:
    explicit CConsoleObject(const char* name);
    explicit CConsoleObject(const std::string& name);
    virtual ~CConsoleObject();

    // True when the word was taken by this object.
    virtual bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args);
    // Per-update hook; nothing here.
    virtual void Update(int32_t value);

    const std::string& GetName() const { return m_name; }

    CConsoleObject(const CConsoleObject&) = delete;
    CConsoleObject& operator=(const CConsoleObject&) = delete;

protected:
    void Register();
    void Unregister();

private:
    std::string m_name;
};

// Name to object, byte-wise ordered; namesakes stay in insertion order.
using ConsoleObjectMap = std::multimap<std::string, CConsoleObject*>;
ConsoleObjectMap& ConsoleObjectRegistry();

// The name of the object that last took "select" (a copy, kept after it goes).
std::string& SelectedObjectName();

// Exact compare of two words: same length, same bytes.
inline bool IsWord(const std::string& word, const char* expected) { return word == expected; }

// One keyword of a property parser: the float is set from the first argument
// (atof) or, with none, printed on a line of its own; true in both cases.
// Another word appends the keyword to usage and answers false.
bool BindFloatParameter(std::ostream& out, float& value, const char* keyword, std::vector<std::string>& usage,
                        const std::string& command, const std::vector<std::string>& args);
