#include "shell/ending/scene/Ending.h"

#include <memory>

#include "character/act/ActMotion.h"
#include "character/act/ActPlayer.h"
#include "character/act/BoneChainNode.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkRecords.h"
#include "engine/chunk/VertexSize.h"
#include "engine/core/FrameStamp.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"
#include "shell/camera/CameraManager.h"
#include "shell/render/RenderManager.h"
#include "shell/settings/Setting.h"
#include "shell/sound/SoundManager.h"

namespace {

const int ENDING_GROUP = 3;
const char* const END_ROLL_MODEL_FILE = "model/ending/endRoll.hgm";
const char* const SMOKE_MODEL_FILE = "model/ending/smoke.hgm";
const char* const END_ROLL_ANIMATION_FILE = "animation/ending/endRoll.hga";

const char* const END_ROLL_ACTION = "endRoll";
const char* const END_ROLL_MODELS[] = {"BackGround", "congratulationsEndRoll", "TITLELOGO", "scrollTEXT", "EndCredit"};

// The staff roll's textures and the shaders of the roll that show them.
const char* const STAFF_ROLL_TEXTURES[] = {"end_congratulations", "end_gradation", "end_staff1", "end_staff2"};
struct ShaderTexture {
    const char* shader;
    int texture; // into STAFF_ROLL_TEXTURES
};
const ShaderTexture STAFF_ROLL_SHADERS[] = {
    {"gradation", 1},
    {"congraturations", 0},
    {"congraturationsB1", 0},
    {"congraturationsB2", 0},
    {"project1", 2},
    {"TITLE", 0},
    {"TITLE_Blur", 0},
    {"STAFFA", 2},
    {"STAFFB", 3},
    {"aeeYouNextTime", 3},
    {"URL1", 3},
    {"LOGO_MOTO", 0},
    {"LOGO_Blur1", 0},
};

// The black mask over the whole indicator scene.
const float MASK_HALF_WIDTH = 80000.0f;
const float MASK_HALF_HEIGHT = 60000.0f;
const float MASK_Z = -1000.0f;
const uint32_t MASK_VERTEX_MASK = (1u << VE_POSITION) | (1u << VE_TEXCOORDINATE_0); // 0x801

const float ACTOR_SCALE_PER_PIXEL = 0.20833333f;
const float ACTOR_DEPTH_SCALE = 500.0f;

const SmokeEmitter TV_SMOKE = {Vec3(-35.0f, 93.0f, -150.0f), Vec3(35.0f, 93.0f, -150.0f)};

// D3DBLEND values less one: source alpha over the inverse.
const int BLEND_SOURCE_ALPHA = 4;
const int BLEND_INVERSE_SOURCE_ALPHA = 5;

CResource* Find(const std::string& name, int kind) {
    return CurrentResourceManager ? CurrentResourceManager->Find(name.c_str(), kind) : nullptr;
}

void SetVisible(CModelInstanceNode* instance, bool visible) {
    if (CTransform* root = instance ? instance->GetRoot() : nullptr)
        root->SetVisible(visible ? 1.0f : 0.0f);
}

} // namespace

bool PreloadEndingModels(CRenderManager& renderManager) {
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(ENDING_GROUP));
    SetModelPathPrefix(ENDING_GROUP);
    renderManager.SelectResourceRoot();
    if (archive) {
        LoadModelFromArchive(CurrentResourceManager, archive.get(), END_ROLL_MODEL_FILE);
        LoadModelFromArchive(CurrentResourceManager, archive.get(), SMOKE_MODEL_FILE);
    }
    return true;
}

bool PreloadEndingAnimations() {
    std::unique_ptr<CDataArchive> archive(OpenAnimationArchive(ENDING_GROUP));
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), END_ROLL_ANIMATION_FILE);
    return true;
}

CEnding::CEnding(const std::string& name, CRenderManager& renderManager, ICameraManager* camera, ISetting* setting,
                 const std::string& scope)
    : CConsoleObject(name),
      CEndingSequence(name, &m_scene),
      m_scene(*this),
      m_emitter(TV_SMOKE),
      m_renderManager(&renderManager),
      m_camera(camera),
      m_setting(setting) {
    SetModelPathPrefix(ENDING_GROUP);
    renderManager.SelectIndicatorRoot();
    m_root = new CModelInstanceNode(name, scope);
    SetVisible(m_root, false);
    CTransform* root = m_root->GetRoot();

    BoneChainDesc desc;
    for (const char* model : END_ROLL_MODELS)
        desc.models.push_back({model, RT_TRANSFORM});
    desc.root = {END_ROLL_MODELS[0], RT_TRANSFORM};
    desc.tip = {END_ROLL_MODELS[0], RT_TRANSFORM};
    m_actor = new CBoneChainNode(name + "_ending", desc, scope);
    if (CTransform* actorRoot = m_actor->GetRoot()) {
        if (root)
            root->AddChild(actorRoot);
        actorRoot->SetLightSetTree(renderManager.GetIndicatorLightSet().GetLightSetHandle());
    }
    // Shown only while the roll plays: it is scaled to the window then.
    SetVisible(m_actor, false);
    MapStaffRollTextures();

    m_mask = new CModelInstanceNode(name + "_mask", scope);
    if (CTransform* maskRoot = m_mask->GetRoot()) {
        if (root)
            root->AddChild(maskRoot);
    }
    SetVisible(m_mask, false);
    BuildMask();

    m_player = new CActPlayer(name + "_act_control");
    m_player->AddAction(new CActMotion(END_ROLL_ACTION, m_actor, 0, END_ROLL_ACTION, scope));

    CNode* smoke = dynamic_cast<CNode*>(Find("smoke", RT_TRANSFORM));
    CShape* smokeShape = dynamic_cast<CShape*>(Find("smokeShape", RT_SHAPE));
    if (smoke)
        m_smokeNode = smoke->GetNodeHandle();
    if (smokeShape) {
        smokeShape->SetBillboard(true);
        m_smokeShape = smokeShape->GetShapeHandle();
    }
    if (CTransform* smokeTransform = dynamic_cast<CTransform*>(smoke))
        smokeTransform->SetLightSetTree(renderManager.GetRoomLightSet().GetLightSetHandle());
}

CEnding::~CEnding() {
    delete m_player;
    delete ShapeHandles().Resolve(m_maskShape);
    delete ShaderHandles().Resolve(m_maskShader);
    delete GeometryHandles().Resolve(m_maskGeometry);
    delete m_mask;
    for (CHandle texture : m_textures)
        delete ResourceHandles().Resolve(texture);
    delete m_actor;
    delete m_root;
}

void CEnding::MapStaffRollTextures() {
    CTexture* textures[4] = {};
    for (int i = 0; i < 4; ++i) {
        std::string file = std::string(STAFF_ROLL_TEXTURES[i]) + ".tga";
        textures[i] = new CFileTexture(STAFF_ROLL_TEXTURES[i], file.c_str(), TFM_LINEAR, TFM_LINEAR, TFM_NONE,
                                       TAM_CLAMP, TAM_CLAMP, 1, false);
        m_textures.push_back(textures[i]->GetHandle());
    }
    for (const ShaderTexture& row : STAFF_ROLL_SHADERS) {
        if (CShader* shader = dynamic_cast<CShader*>(Find(row.shader, RT_SHADER)))
            shader->SetTexture(textures[row.texture]);
    }
}

void CEnding::BuildMask() {
    CShader* shader = CreateShader("endingMaskShader", ST_CONSTANT);
    if (shader) {
        shader->SetTexture(dynamic_cast<CTexture*>(Find(DUMMY_TEXTURE_NAME, RT_TEXTURE)));
        shader->SetBlend(BLEND_SOURCE_ALPHA, BLEND_INVERSE_SOURCE_ALPHA);
        shader->SetColor(0.0f, 0.0f, 0.0f, 0.0f);
        m_maskShader = shader->GetShaderHandle();
    }
    // Two triangles: position then texture coordinates (all 0).
    const float x0 = -MASK_HALF_WIDTH, x1 = MASK_HALF_WIDTH, y0 = -MASK_HALF_HEIGHT, y1 = MASK_HALF_HEIGHT;
    const float vertices[6][5] = {
        {x0, y0, MASK_Z, 0, 0}, {x1, y0, MASK_Z, 0, 0}, {x1, y1, MASK_Z, 0, 0},
        {x0, y0, MASK_Z, 0, 0}, {x1, y1, MASK_Z, 0, 0}, {x0, y1, MASK_Z, 0, 0},
    };
    CIndexedGeometry* geometry = new CIndexedGeometry("endingMaskGeometry", MASK_VERTEX_MASK, 6, vertices);
    const uint16_t indices[6] = {0, 1, 2, 3, 4, 5};
    geometry->AddGroup(PT_TRIANGLE_LIST, 6, indices);
    geometry->SetDoubleSided(true);
    geometry->SetTranslucent(true);
    m_maskGeometry = geometry->GetGeometryHandle();
    CShape* shape = new CShape("endingMaskShape");
    shape->AddPair(shader, geometry);
    m_maskShape = shape->GetShapeHandle();
    if (CTransform* maskRoot = m_mask->GetRoot())
        maskRoot->AddChild(shape);
}

int CEnding::Run(CRenderManager& renderManager, CSoundManager* soundManager, CWorld*, float dt) {
    m_renderManager = &renderManager;
    m_soundManager = soundManager;
    return CEndingSequence::Run(dt);
}

bool CEnding::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, "restart")) {
        Restart();
        if (m_soundManager)
            m_soundManager->StopEndingMusic();
        return true;
    }
    return CConsoleObject::HandleCommand(out, command, args);
}

void CEnding::CScene::LockCamera(const Vec3& point, float distance) {
    if (m_ending.m_camera)
        m_ending.m_camera->LockTarget(point, distance);
}

void CEnding::CScene::UnlockCamera() {
    if (m_ending.m_camera)
        m_ending.m_camera->Unlock();
}

void CEnding::CScene::LoadMusic() {
    if (m_ending.m_soundManager)
        m_ending.m_soundManager->LoadEndingMusic();
}

void CEnding::CScene::PlayMusic() {
    if (m_ending.m_soundManager)
        m_ending.m_soundManager->PlayEndingMusic();
}

void CEnding::CScene::StopMusic() {
    if (m_ending.m_soundManager)
        m_ending.m_soundManager->StopEndingMusic();
}

void CEnding::CScene::ResetSmoke() {
    m_ending.m_emitter = TV_SMOKE;
    for (CEndingParticle& particle : m_ending.m_particles)
        particle.age = CEndingParticle::MAX_AGE + 1.0f;
}

void CEnding::CScene::DrawSmoke() {
    CTransform* node = dynamic_cast<CTransform*>(NodeHandles().Resolve(m_ending.m_smokeNode));
    CShape* shape = ShapeHandles().Resolve(m_ending.m_smokeShape);
    CShader* shader = shape && shape->GetPairCount() > 0 ? shape->GetPairShader(0) : nullptr;
    CCameraResource* view = m_ending.m_camera ? m_ending.m_camera->GetView() : nullptr;
    CRenderManager* render = m_ending.m_renderManager;
    for (CEndingParticle& particle : m_ending.m_particles) {
        SmokePuff puff = particle.Step(m_ending.m_emitter);
        if (!node || !shape || !render)
            continue;
        node->SetTranslation(puff.translation.x, puff.translation.y, puff.translation.z);
        shape->SetBillboardScale(puff.scale);
        shape->SetBillboardRotation(puff.rotation);
        if (shader)
            shader->SetColor(1.0f, 1.0f, 1.0f, puff.alpha);
        if (view)
            render->GetMainDrawList().AddTree(node, view, false);
        AdvanceFrameStamp();
    }
}

void CEnding::CScene::SetRootVisible(bool visible) { SetVisible(m_ending.m_root, visible); }

void CEnding::CScene::SetMaskVisible(bool visible) { SetVisible(m_ending.m_mask, visible); }

void CEnding::CScene::SetMaskAlpha(float alpha) {
    m_ending.m_maskAlpha = alpha;
    if (CShader* shader = ShaderHandles().Resolve(m_ending.m_maskShader))
        shader->SetColor(0.0f, 0.0f, 0.0f, alpha);
}

void CEnding::CScene::SetActorVisible(bool visible) { SetVisible(m_ending.m_actor, visible); }

void CEnding::CScene::ScaleActor(float windowHeight) {
    if (CTransform* root = m_ending.m_actor->GetRoot()) {
        float s = windowHeight * ACTOR_SCALE_PER_PIXEL;
        root->SetScale(s, s, ACTOR_DEPTH_SCALE);
    }
}

float CEnding::CScene::GetWindowHeight() {
    return m_ending.m_setting ? (float)m_ending.m_setting->GetHeight() : 480.0f;
}

bool CEnding::CScene::RequestEndRoll() { return m_ending.m_player->Request(CActRequest(END_ROLL_ACTION)); }

void CEnding::CScene::UpdateEndRoll(float milliseconds) { m_ending.m_player->Update(milliseconds); }

bool CEnding::CScene::IsEndRollPlaying() { return m_ending.m_player->GetCurrentAction() != nullptr; }

void CEnding::CScene::ResetEndRoll() { m_ending.m_player->Reset(); }
