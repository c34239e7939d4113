#pragma once
#include <string>
#include <vector>

// A one-off weighted pick among named rows: built row by row for one decision
// (the idle choice, the proposer, the adjuster), then picked once with one
// draw from the program's generator.
class WeightedChoice {
public:
    struct Row {
        std::string name;
        int weight;
    };

    void Add(const std::string& name, int weight);
    // Empty without rows. r = rand() × sum / 32767, truncated; the first row
    // whose weight reaches the rest of r wins, the last row when none does.
    std::string Pick() const;

    const std::vector<Row>& GetRows() const { return m_rows; }

private:
    std::vector<Row> m_rows;
};
