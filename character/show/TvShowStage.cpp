#include "character/show/TvShowStage.h"

#include <cmath>

#include "character/Character.h"
#include "character/act/ActMotion.h"
#include "character/act/ActPlayer.h"
#include "character/act/BoneChainNode.h"
#include "character/item/Item.h"
#include "character/item/ItemNodes.h"
#include "character/show/TvShowCommands.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "shell/settings/Setting.h"
#include "shell/sound/SoundManager.h"
#include "shell/world/World.h"

namespace {

constexpr const char* TV_NODE_NAME = "TV";
constexpr const char* TV_CHAIN_ROOT = "TvRoot";
constexpr const char* TV_SCREEN_MODEL = "AnimateTextures";
constexpr const char* TV_ARROW_NODE = "Arrow";
constexpr const char* SHOW_MOTION = "taveluneTV";
constexpr const char* ENDING_SHOW_MOTION = "taveluneTVEnding";
constexpr const char* SCREEN_MOTION = "TVAnimateTexture";
constexpr const char* JINGLE_CUE = "tvJingle";
constexpr const char* REGISTER_CUE = "tvRegi";
constexpr float FOCUS_WEIGHT = 50.0f;
constexpr int DEFAULT_WIDTH = 640, DEFAULT_HEIGHT = 480;

CHandle TransformHandleOf(CTransform* node) { return node ? node->GetTransformHandle() : NULL_HANDLE; }

} // namespace

CTvShowStage::CTvShowStage(const std::string& name, CTransform* showLayer, CTransform* roomLayer, ISetting* setting,
                           const std::string& modelScope)
    : CConsoleObject(name + NAME_SUFFIX),
      m_setting(setting),
      m_scope(modelScope),
      m_showLayer(TransformHandleOf(showLayer)),
      m_roomLayer(TransformHandleOf(roomLayer)),
      m_showPlayer(new CActPlayer(name + NAME_SUFFIX + "_act_control0")),
      m_texturePlayer(new CActPlayer(name + NAME_SUFFIX + "_act_control1")) {
    CTransform* previous = GetDefaultParent();
    SetDefaultParent(showLayer);
    BoneChainDesc desc;
    desc.models.push_back({TV_CHAIN_ROOT, RT_TRANSFORM});
    desc.models.push_back({TV_SCREEN_MODEL, RT_TRANSFORM});
    // The TV's motions move its parts, never its place: with the chain ending
    // where it starts the root keeps the placement the show gives it.
    desc.root = {TV_CHAIN_ROOT, RT_TRANSFORM};
    desc.tip = {TV_CHAIN_ROOT, RT_TRANSFORM};
    m_tv = new CBoneChainNode(TV_NODE_NAME, desc, modelScope);
    if (CTransform* root = m_tv->GetRootTransform())
        root->SetVisible(0.0f);
    SetNodeVisible(FindTransformHandle(TV_ARROW_NODE, modelScope), false);
    SetDefaultParent(previous);

    m_showPlayer->AddAction(new CActMotion(SHOW_MOTION, m_tv, 0, SHOW_MOTION, modelScope));
    m_showPlayer->AddAction(new CActMotion(ENDING_SHOW_MOTION, m_tv, 0, ENDING_SHOW_MOTION, modelScope));
    m_texturePlayer->AddAction(new CActMotion(SCREEN_MOTION, m_tv, 0, SCREEN_MOTION, modelScope));
}

CTvShowStage::~CTvShowStage() {
    m_display.GiveBack(TransformHandles().Resolve(m_roomLayer));
    delete m_showPlayer;
    delete m_texturePlayer;
    delete m_tv;
}

CTransform* CTvShowStage::GetTvTransform() const { return m_tv ? m_tv->GetRootTransform() : nullptr; }

int CTvShowStage::GetWindowWidth() const { return m_setting ? m_setting->GetWidth() : DEFAULT_WIDTH; }

int CTvShowStage::GetWindowHeight() const { return m_setting ? m_setting->GetHeight() : DEFAULT_HEIGHT; }

TvShowPlacement CTvShowStage::GetTvPlacement() const {
    TvShowPlacement p;
    if (CTransform* tv = GetTvTransform()) {
        p.x = tv->GetChannelValue(CTransform::TC_TRANSLATION_X);
        p.y = tv->GetChannelValue(CTransform::TC_TRANSLATION_Y);
        p.z = tv->GetChannelValue(CTransform::TC_TRANSLATION_Z);
    }
    return p;
}

void CTvShowStage::Present(CItem* item, CRenderManager*, CCharacter& character) {
    if (!item || !IsPresentable(*item))
        return;
    // A show still on gives its node back before the next takes the stage.
    m_display.GiveBack(TransformHandles().Resolve(m_roomLayer));
    m_program.Begin(character.GetStats().mny);
    CTransform* tv = GetTvTransform();
    if (tv)
        tv->SetVisible(1.0f);

    m_showPlayer->Reset();
    m_texturePlayer->Reset();
    if (item->IsEndingItem())
        m_showPlayer->Request(CActRequest(ENDING_SHOW_MOTION, "infinit"));
    else
        m_showPlayer->Request(CActRequest(SHOW_MOTION));
    m_texturePlayer->Request(CActRequest(SCREEN_MOTION));

    const bool fullScreen = m_setting && m_setting->IsFullscreen();
    const int layout = m_setting ? m_setting->GetWindowConfig() : 0;
    const TvShowPlacement p = PlaceTvShow(fullScreen, layout, GetWindowWidth(), GetWindowHeight());
    if (tv)
        tv->SetTranslation(p.x, p.y, p.z);

    m_display.Take(*item, TransformHandles().Resolve(m_showLayer));
    ShowPanel(*item);
    m_item = item;
}

bool CTvShowStage::Update(ISetting*, CRenderManager* renderManager, CSoundManager* soundManager, CWorld&,
                          CCharacter& character, bool clicked, float step) {
    if (!m_item)
        return false;
    DrawBalloon(m_host ? m_host->GetCurrentView() : nullptr);
    float digits[CTvShowProgram::WHEEL_COUNT];
    m_program.TurnWheels(step, digits);
    DrawMoneyCounter(renderManager, digits);
    DrawItem(renderManager, *m_item, m_display.GetNode());
    if (m_program.TakeJingle() && soundManager)
        soundManager->PlayCue(JINGLE_CUE);
    const float whole = std::trunc(step);
    m_showPlayer->Update(whole);
    m_texturePlayer->Update(whole);

    CTvShowProgram::StepInput in;
    in.step = step;
    in.motionPlaying = m_showPlayer->GetCurrentAction() != nullptr;
    int px = 0, py = 0;
    in.buyClick = clicked && m_host && m_host->IsLeftButtonDown() && m_host->GetPointerPosition(px, py) &&
                  HitTest(renderManager, px, py);
    in.price = uint32_t(m_item->GetPrice() < 0 ? 0 : m_item->GetPrice());
    bool bought = false;
    uint32_t& money = character.GetStats().mny;
    const CTvShowProgram::StepResult result = m_program.Step(in, money, m_host, bought);
    if (bought) {
        m_item->SetOwned(true);
        if (soundManager)
            soundManager->PlayCue(REGISTER_CUE);
    }
    if (result == CTvShowProgram::STEP_CLOSED) {
        EndShow();
        return false;
    }
    if (m_host) {
        const Vec3 anchor = CWorld::TvScreenAnchor();
        m_host->AddFocusPoint(anchor.x, anchor.y, anchor.z, FOCUS_WEIGHT);
        m_host->AddFocusPoint(anchor.x, anchor.y, anchor.z, FOCUS_WEIGHT);
    }
    return true;
}

void CTvShowStage::EndShow() {
    m_display.GiveBack(TransformHandles().Resolve(m_roomLayer));
    m_showPlayer->Reset();
    m_texturePlayer->Reset();
    if (CTransform* tv = GetTvTransform())
        tv->SetVisible(0.0f);
    m_item = nullptr;
    if (m_host)
        m_host->RefreshCursor();
}

bool CTvShowStage::HitTest(CRenderManager*, int x, int y) {
    return IsOnTvPanel(x, y, GetWindowWidth(), GetWindowHeight(), GetTvPlacement());
}

bool CTvShowStage::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (HandleTvShowCommand(out, command, args, GetTvTransform()))
        return true;
    return CConsoleObject::HandleCommand(out, command, args);
}
