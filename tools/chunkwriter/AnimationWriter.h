#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/chunk/ChunkRecords.h"

// One animation set of piecewise linear keys on named channels, written as
// its data, animator and set records: for the content builders that author
// short motions by their points.
class CAnimationWriter {
public:
    explicit CAnimationWriter(const std::string& setName) : m_setName(setName) {}

    // Keys as (frame, value) points from frame 0; the value holds after the
    // last point up to `length`.
    void Channel(const std::string& target, int kind, int attribute, std::vector<std::pair<float, float>> points,
                 float length);

    // The set's chunk stream; false with the reason when the chunk writer
    // refuses a record.
    bool Write(std::vector<uint8_t>& bytes, std::string& error) const;

private:
    std::string m_setName;
    std::vector<AnimationDataRecord> m_data;
    std::vector<AnimatorRecord> m_animators;
};
