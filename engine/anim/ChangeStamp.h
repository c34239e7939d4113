#pragma once
#include <cstdint>

// Records the frame of the last animated write to its owner's channels, so the
// owner can tell whether what it derived from them is out of date. Transforms
// and textures carry one as a second base.
class CChangeStamp {
public:
    CChangeStamp();
    virtual ~CChangeStamp() = default;

    virtual void Touch();

    int32_t GetChangeStamp() const { return m_changeStamp; }
    void SetChangeStamp(int32_t stamp) { m_changeStamp = stamp; }

private:
    int32_t m_changeStamp;
};
