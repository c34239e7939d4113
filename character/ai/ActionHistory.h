#pragma once
#include <map>
#include <string>
#include <vector>

// The action names the AI has chosen, in order, with a count per name. The
// character reads it for her idle choice and action weights and clears it at
// wake-up; the proposer reads the last name.
class ActionHistory {
public:
    void Add(const std::string& name);
    void Clear();
    // The most recently chosen name, or empty.
    std::string Last() const;
    // 0 for a name never chosen since the last clear.
    int Count(const std::string& name) const;
    // False for a name never chosen since the last clear.
    bool Contains(const std::string& name) const;

    const std::vector<std::string>& GetNames() const { return m_names; }

private:
    std::vector<std::string> m_names;
    std::map<std::string, int> m_counts;
};
