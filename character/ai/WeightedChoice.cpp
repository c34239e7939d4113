#include "character/ai/WeightedChoice.h"

#include "engine/core/Random.h"

void WeightedChoice::Add(const std::string& name, int weight) { m_rows.push_back(Row{name, weight}); }

std::string WeightedChoice::Pick() const {
    if (m_rows.empty())
        return std::string();
    int sum = 0;
    for (const Row& row : m_rows)
        sum += row.weight;
    // Rounded to a float in memory, so that the x87 build truncates the same
    // value as the host (at rand() 32767 the wider product falls just short).
    volatile float scaled = (float)(Rand() * sum) * 3.0518509e-05f;
    int r = (int)scaled;
    for (const Row& row : m_rows) {
        if (row.weight >= r)
            return row.name;
        r -= row.weight;
    }
    return m_rows.back().name;
}
