#include "character/ai/ActionHistory.h"

void ActionHistory::Add(const std::string& name) {
    m_names.push_back(name);
    ++m_counts[name];
}

void ActionHistory::Clear() {
    m_names.clear();
    m_counts.clear();
}

std::string ActionHistory::Last() const { return m_names.empty() ? std::string() : m_names.back(); }

int ActionHistory::Count(const std::string& name) const {
    auto it = m_counts.find(name);
    return it == m_counts.end() ? 0 : it->second;
}

bool ActionHistory::Contains(const std::string& name) const { return m_counts.find(name) != m_counts.end(); }
