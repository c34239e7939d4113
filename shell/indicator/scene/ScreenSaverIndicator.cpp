#include "shell/indicator/scene/ScreenSaverIndicator.h"

#include <cstdlib>
#include <memory>

#include "character/act/ActPlayer.h"
#include "character/act/BoneChainNode.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "shell/render/RenderManager.h"
#include "shell/settings/Setting.h"

namespace {

const int INDICATOR_GROUP = 2;
const char* const LOGO_MODEL_FILE = "model/indicator/screenSaver.hgm";
const char* const LOGO_ANIMATION_FILE = "animation/indicator/screenSaver.hga";

CHandle FindShaderHandle(const std::string& name) {
    CShader* shader = CurrentResourceManager
                          ? dynamic_cast<CShader*>(CurrentResourceManager->Find(name.c_str(), RT_SHADER))
                          : nullptr;
    return shader ? shader->GetShaderHandle() : NULL_HANDLE;
}

} // namespace

bool LoadIndicatorModels(CRenderManager& renderManager) {
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(INDICATOR_GROUP));
    SetModelPathPrefix(INDICATOR_GROUP);
    renderManager.SelectResourceRoot();
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), LOGO_MODEL_FILE);
    return true;
}

bool LoadIndicatorAnimations() {
    std::unique_ptr<CDataArchive> archive(OpenAnimationArchive(INDICATOR_GROUP));
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), LOGO_ANIMATION_FILE);
    return true;
}

CIndicatorLogoMotion::CIndicatorLogoMotion(const std::string& name, CBoneChainNode* owner, const std::string& setName,
                                           const std::string& scope, const std::string& fadingShader)
    : CActMotion(name, owner, 0, setName, scope),
      m_shader(FindShaderHandle(fadingShader)) {}

bool CIndicatorLogoMotion::Update(float step, bool blending, float weight) {
    m_alpha = IndicatorLogoAlpha(m_time, m_frameCount);
    if (CShader* shader = ShaderHandles().Resolve(m_shader))
        shader->SetColor(1.0f, 1.0f, 1.0f, m_alpha);
    return CActMotion::Update(step, blending, weight);
}

CScreenSaverIndicator::CScreenSaverIndicator(const std::string& name, CRenderManager& renderManager, ISetting& setting,
                                             const std::string& scope)
    : CConsoleObject(name) {
    m_player = new CActPlayer(name + "_act_control");
    renderManager.SelectIndicatorRoot();
    BoneChainDesc desc;
    desc.models.push_back({LOGO_MODEL_NAME, RT_TRANSFORM});
    desc.root = {LOGO_MODEL_NAME, RT_TRANSFORM};
    desc.tip = {LOGO_MODEL_NAME, RT_TRANSFORM};
    m_logo = new CBoneChainNode(LOGO_NODE_NAME, desc, scope);
    CTransform* root = m_logo->GetRoot();
    if (root) {
        root->SetLightSetTree(renderManager.GetIndicatorLightSet().GetLightSetHandle());
        root->SetVisible(0.0f);
    }
    m_player->AddAction(new CIndicatorLogoMotion(LOGO_ACTION_NAME, m_logo, LOGO_ACTION_NAME, scope, LOGO_SHADER_NAME));
    IndicatorPlacement placement = PlaceIndicatorLogo(setting.GetWidth(), setting.GetHeight());
    if (root) {
        root->SetTranslation(placement.translation.x, placement.translation.y, placement.translation.z);
        root->SetScale(placement.scale, placement.scale, placement.scale);
    }
}

CScreenSaverIndicator::~CScreenSaverIndicator() {
    delete m_player;
    delete m_logo;
}

void CScreenSaverIndicator::Update(ISetting& setting, CRenderManager&, CWorld*, float stepMs) {
    if (!setting.IsNoSave())
        return;
    if (m_schedule.Step(stepMs))
        m_player->Request(CActRequest(LOGO_ACTION_NAME));
    m_player->Update((float)(int)stepMs);
    if (CTransform* root = m_logo->GetRoot())
        root->SetVisible(m_player->GetCurrentAction() ? 1.0f : 0.0f);
}

bool CScreenSaverIndicator::HandleCommand(std::ostream& out, const std::string& command,
                                          const std::vector<std::string>& args) {
    if (!IsWord(command, "screensaver"))
        return CConsoleObject::HandleCommand(out, command, args);
    if (args.empty()) {
        out << "indicators screensaver cmd ...\n";
        return true;
    }
    CTransform* root = m_logo->GetRoot();
    if (IsWord(args[0], "print")) {
        out << "Indicators:\n  ScreenSaver:\n";
        if (root)
            out << "    pos(" << root->GetChannelValue(CTransform::TC_TRANSLATION_X) << ", "
                << root->GetChannelValue(CTransform::TC_TRANSLATION_Y) << ", "
                << root->GetChannelValue(CTransform::TC_TRANSLATION_Z) << ")\n";
        return true;
    }
    if (IsWord(args[0], "pos")) {
        if (args.size() < 4) {
            out << "indicators screensaver pos x y z\n";
            return true;
        }
        if (root)
            root->SetTranslation((float)atof(args[1].c_str()), (float)atof(args[2].c_str()),
                                 (float)atof(args[3].c_str()));
        return true;
    }
    return CConsoleObject::HandleCommand(out, command, args);
}
