#pragma once
#include "character/act/Act.h"
#include "engine/math/Color.h"

// Whatever takes the colour the scene is modulated with (the renderer).
class IModulateColorTarget {
public:
    virtual ~IModulateColorTarget() = default;
    virtual void SetModulateColor(const ColorRGBA& color) = 0;
};

// Fades the modulate colour from one colour to another over milliseconds.
class CActFadeColor : public CAct {
public:
    CActFadeColor(const std::string& name, CBoneChainNode* owner, IModulateColorTarget* renderer);

    const char* GetClassName() const override;
    // "fr fg fb tr tg tb milliseconds".
    bool Start(const std::vector<std::string>& words) override;
    void End() override;
    bool Update(float step, bool blending, float weight) override;
    int GetLength() override;
    int GetTime() override;

private:
    IModulateColorTarget* m_renderer;
    float m_fromR, m_fromG, m_fromB;
    float m_toR, m_toG, m_toB;
    float m_time;
    int m_length;
};
