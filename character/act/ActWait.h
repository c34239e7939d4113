#pragma once
#include "character/act/Act.h"

// Waits the milliseconds of its one word.
class CActWait : public CAct {
public:
    CActWait(const std::string& name, CBoneChainNode* owner);

    const char* GetClassName() const override;
    bool Start(const std::vector<std::string>& words) override;
    void End() override;
    bool Update(float step, bool blending, float weight) override;
    int GetLength() override;
    int GetTime() override;

private:
    float m_time;
    int m_length;
};
