#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "character/act/ActMotion.h"
#include "engine/console/ConsoleObject.h"
#include "engine/resource/Handle.h"
#include "shell/indicator/IndicatorSchedule.h"

class CActPlayer;
class CBoneChainNode;
class CRenderManager;
class CWorld;
class ISetting;

// Loads the logo model and its animation (model and animation group 2).
bool LoadIndicatorModels(CRenderManager& renderManager);
bool LoadIndicatorAnimations();

// The logo's motion: fades the shared shader of its lettering in and out by
// the motion's frame before moving it as any motion does.
class CIndicatorLogoMotion : public CActMotion {
public:
    CIndicatorLogoMotion(const std::string& name, CBoneChainNode* owner, const std::string& setName,
                         const std::string& scope, const std::string& fadingShader);
    bool Update(float step, bool blending, float weight) override;

    float GetAlpha() const { return m_alpha; }

private:
    CHandle m_shader;
    float m_alpha = 0.0f;
};

// The named object "indicators" of the screen-saver run: the blinking logo
// in the lower left corner of the indicator scene, played once every 30 s
// through an action player of its own and hidden between showings. Owned
// by the system object; owns the logo and the player.
class CScreenSaverIndicator : public CConsoleObject {
public:
    static constexpr const char* LOGO_NODE_NAME = "sreenSaver";
    static constexpr const char* LOGO_MODEL_NAME = "sc_logoModel";
    static constexpr const char* LOGO_ACTION_NAME = "screenSaver";
    static constexpr const char* LOGO_SHADER_NAME = "phong1";

    CScreenSaverIndicator(const std::string& name, CRenderManager& renderManager, ISetting& setting,
                          const std::string& scope);
    ~CScreenSaverIndicator() override;

    void Update(ISetting& setting, CRenderManager& renderManager, CWorld* world, float stepMs);
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;
    using CConsoleObject::Update;

    CBoneChainNode* GetLogo() const { return m_logo; }
    CActPlayer* GetPlayer() const { return m_player; }
    const CIndicatorSchedule& GetSchedule() const { return m_schedule; }

private:
    CBoneChainNode* m_logo = nullptr;
    CIndicatorSchedule m_schedule;
    CActPlayer* m_player = nullptr;
};
