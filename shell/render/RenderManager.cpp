#include "shell/render/RenderManager.h"

#include "engine/camera/CameraResource.h"
#include "engine/core/FrameStamp.h"
#include "engine/light/Light.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/scene/Transform.h"
#include "shell/camera/CameraManager.h"
#include "shell/lighting/LightCommands.h"
#include "shell/lighting/LightPresets.h"
#include "shell/settings/Setting.h"

namespace {

constexpr int DRAW_LIST_ITEMS = 1024, DRAW_LIST_MATRICES = 1024, DRAW_LIST_CAMERAS = 16, DRAW_LIST_BUCKETS = 1024;
constexpr float LIGHT_HEIGHT = 300.0f;
constexpr float INDICATOR_LIGHT_TILT = -0.785398f, INDICATOR_LIGHT_TURN = 0.785398f;
// Used without a settings object or a size.
constexpr int FALLBACK_WIDTH = 640, FALLBACK_HEIGHT = 480;

template <class T>
T* ResolveNode(CHandle handle) {
    return dynamic_cast<T*>(NodeHandles().Resolve(handle));
}

template <class T>
void DeleteNode(CHandle& handle) {
    delete ResolveNode<T>(handle);
    handle = NULL_HANDLE;
}

CTransform* NewTransform(const char* name, CTransform* parent) {
    CTransform* transform = new CTransform(name);
    if (parent && transform->GetParent() != parent)
        transform->SetParent(parent);
    return transform;
}

} // namespace

CRenderManager::CRenderManager(HWND mainWindow, CSystem* system, ISetting* setting)
    : CConsoleObject("render"),
      m_mainWindow(mainWindow),
      m_system(system),
      m_setting(setting),
      m_mainDrawList(MAIN_DRAW_LIST_SLOT, DRAW_LIST_ITEMS, DRAW_LIST_MATRICES, DRAW_LIST_CAMERAS, DRAW_LIST_BUCKETS),
      m_indicatorDrawList(INDICATOR_DRAW_LIST_SLOT, DRAW_LIST_ITEMS, DRAW_LIST_MATRICES, DRAW_LIST_CAMERAS,
                          DRAW_LIST_BUCKETS) {
    CTransform* sceneRoot = GetRootTransform();
    SetDefaultParent(sceneRoot);

    CTransform* mainRoot = NewTransform("renderRootMain", sceneRoot);
    m_mainRoot = mainRoot->GetNodeHandle();
    // Its automatic or manual setting comes from the settings of this moment.
    m_cameraManager = CreateCameraManager(setting, "camera");

    // Room lighting: a point light above the middle of the room.
    CTransform* roomPlace = NewTransform("renderPntLightTransRoom", mainRoot);
    roomPlace->SetTranslation(0, LIGHT_HEIGHT, 0);
    m_roomLightPlace = roomPlace->GetNodeHandle();
    CPointLight* roomLight = new CPointLight("renderPntLightRoom");
    roomLight->SetParent(roomPlace);
    roomLight->SetColor(ColorRGBA(1, 1, 1, 1));
    m_roomLight = roomLight->GetNodeHandle();
    m_roomAmbient = new CAmbientLight();
    m_roomAmbient->SetColor(ColorRGBA(1, 1, 1, 1));
    m_roomLightSet.SetAmbient(m_roomAmbient);
    m_roomLightSet.SetLight(0, roomLight);

    // Item lighting: the same place, its own colours.
    CTransform* itemPlace = NewTransform("renderPntLightTransItem", mainRoot);
    itemPlace->SetTranslation(0, LIGHT_HEIGHT, 0);
    m_itemLightPlace = itemPlace->GetNodeHandle();
    CPointLight* itemLight = new CPointLight("renderPntLightItem");
    itemLight->SetParent(itemPlace);
    itemLight->SetColor(ColorRGBA(0.7f, 0.7f, 0.7f, 1));
    m_itemLight = itemLight->GetNodeHandle();
    m_itemAmbient = new CAmbientLight();
    m_itemAmbient->SetColor(ColorRGBA(0.5f, 0.5f, 0.5f, 1));
    m_itemLightSet.SetAmbient(m_itemAmbient);
    m_itemLightSet.SetLight(0, itemLight);

    // The indicator overlay: its camera looks along -Z at the XY plane, so
    // that X is screen right and Y screen up, 100 units a window pixel.
    CTransform* indicatorRoot = NewTransform("renderRootIndi", sceneRoot);
    m_indicatorRoot = indicatorRoot->GetNodeHandle();
    CTransform* cameraPlace = NewTransform("cameraIndi", indicatorRoot);
    CMatrix view, place;
    view.SetLookAtRH(Vec3(0, 0, INDICATOR_EYE_DISTANCE), Vec3(0, 0, 0), Vec3(0, 1, 0));
    cameraPlace->SetLocalMatrix(view.GetInverse(place));
    m_indicatorCameraPlace = cameraPlace->GetNodeHandle();
    CCameraResource* indicatorCamera = new CCameraResource("cameraIndi");
    indicatorCamera->SetParent(cameraPlace);
    indicatorCamera->SetFarDistance(INDICATOR_FAR);
    m_indicatorCamera = indicatorCamera->GetNodeHandle();

    CTransform* indicatorPlace = NewTransform("renderDirLightTransIndi", indicatorRoot);
    indicatorPlace->SetRotation(INDICATOR_LIGHT_TILT, INDICATOR_LIGHT_TURN, 0);
    m_indicatorLightPlace = indicatorPlace->GetNodeHandle();
    CDirectionalLight* indicatorLight = new CDirectionalLight("renderDirLightIndi");
    indicatorLight->SetParent(indicatorPlace);
    indicatorLight->SetColor(ColorRGBA(0.8f, 0.8f, 0.8f, 1));
    m_indicatorLight = indicatorLight->GetNodeHandle();
    m_indicatorAmbient = new CAmbientLight();
    m_indicatorAmbient->SetColor(ColorRGBA(0.35f, 0.35f, 0.35f, 1));
    m_indicatorLightSet.SetAmbient(m_indicatorAmbient);
    m_indicatorLightSet.SetLight(0, indicatorLight);

    // Models load under this root as templates; it is never drawn.
    CTransform* resourceRoot = NewTransform("renderRootReso", sceneRoot);
    resourceRoot->SetVisible(0.0f);
    m_resourceRoot = resourceRoot->GetNodeHandle();

    FitCameras();
    SelectMainRoot();
}

CRenderManager::~CRenderManager() {
    DeleteNode<CTransform>(m_resourceRoot);
    m_indicatorLightSet.SetLight(0, nullptr);
    m_indicatorLightSet.SetAmbient(nullptr);
    delete m_indicatorAmbient;
    DeleteNode<CDirectionalLight>(m_indicatorLight);
    DeleteNode<CTransform>(m_indicatorLightPlace);
    DeleteNode<CCameraResource>(m_indicatorCamera);
    DeleteNode<CTransform>(m_indicatorCameraPlace);
    DeleteNode<CTransform>(m_indicatorRoot);
    m_itemLightSet.SetLight(0, nullptr);
    m_itemLightSet.SetAmbient(nullptr);
    delete m_itemAmbient;
    DeleteNode<CPointLight>(m_itemLight);
    DeleteNode<CTransform>(m_itemLightPlace);
    m_roomLightSet.SetLight(0, nullptr);
    m_roomLightSet.SetAmbient(nullptr);
    delete m_roomAmbient;
    DeleteNode<CPointLight>(m_roomLight);
    DeleteNode<CTransform>(m_roomLightPlace);
    delete m_cameraManager;
    DeleteNode<CTransform>(m_mainRoot);
}

void CRenderManager::SelectMainRoot() { SetDefaultParent(GetMainRoot()); }
void CRenderManager::SelectIndicatorRoot() { SetDefaultParent(GetIndicatorRoot()); }
void CRenderManager::SelectResourceRoot() { SetDefaultParent(GetResourceRoot()); }

CTransform* CRenderManager::GetMainRoot() const { return ResolveNode<CTransform>(m_mainRoot); }
CTransform* CRenderManager::GetIndicatorRoot() const { return ResolveNode<CTransform>(m_indicatorRoot); }
CTransform* CRenderManager::GetResourceRoot() const { return ResolveNode<CTransform>(m_resourceRoot); }
CCameraResource* CRenderManager::GetIndicatorCamera() const { return ResolveNode<CCameraResource>(m_indicatorCamera); }
CCameraResource* CRenderManager::GetMainCamera() const {
    if (CCameraResource* still = ResolveNode<CCameraResource>(m_mainCamera))
        return still;
    return m_cameraManager ? m_cameraManager->GetView() : nullptr;
}

void CRenderManager::Update(float stepMs, bool pointerInCameraArea) {
    if (m_cameraManager)
        m_cameraManager->Update(stepMs, pointerInCameraArea);
}

void CRenderManager::Serialize(CSavedState& state, bool storing) {
    if (m_cameraManager)
        m_cameraManager->Serialize(state, storing);
}
CPointLight* CRenderManager::GetRoomLight() const { return ResolveNode<CPointLight>(m_roomLight); }
CPointLight* CRenderManager::GetItemLight() const { return ResolveNode<CPointLight>(m_itemLight); }
CDirectionalLight* CRenderManager::GetIndicatorLight() const {
    return ResolveNode<CDirectionalLight>(m_indicatorLight);
}

void CRenderManager::SetMainCamera(CCameraResource* camera, float fieldOfViewY) {
    m_mainCamera = camera ? camera->GetNodeHandle() : NULL_HANDLE;
    m_mainFieldOfView = fieldOfViewY;
    FitMainCamera();
}

void CRenderManager::DrawMain() {
    CTransform* root = GetMainRoot();
    CCameraResource* camera = GetMainCamera();
    if (root && camera)
        m_mainDrawList.AddTree(root, camera, true);
    AdvanceFrameStamp();
}

void CRenderManager::DrawIndicators() {
    CTransform* root = GetIndicatorRoot();
    CCameraResource* camera = GetIndicatorCamera();
    if (root && camera)
        m_indicatorDrawList.AddTree(root, camera, true);
    AdvanceFrameStamp();
}

void CRenderManager::FitCameras() {
    FitCameras(m_setting ? m_setting->GetWidth() : FALLBACK_WIDTH,
               m_setting ? m_setting->GetHeight() : FALLBACK_HEIGHT);
}

void CRenderManager::FitCameras(int width, int height) {
    // A size of nothing would make the lens infinite.
    if (width <= 0 || height <= 0) {
        width = FALLBACK_WIDTH;
        height = FALLBACK_HEIGHT;
    }
    m_mainLens.aspect = float(width) / float(height);
    m_mainLens.zNear = MAIN_NEAR;
    m_mainLens.zFar = MAIN_FAR;
    if (m_cameraManager)
        m_cameraManager->SetLens(m_mainLens.aspect, m_mainLens.zNear, m_mainLens.zFar);
    FitMainCamera();
    if (CCameraResource* camera = GetIndicatorCamera()) {
        CMatrix projection;
        projection.SetOrthoRH(float(width) * INDICATOR_UNITS_PER_PIXEL, float(height) * INDICATOR_UNITS_PER_PIXEL,
                              INDICATOR_NEAR, INDICATOR_FAR);
        camera->SetProjection(projection);
        camera->SetFarDistance(INDICATOR_FAR);
    }
}

void CRenderManager::FitMainCamera() {
    CCameraResource* camera = ResolveNode<CCameraResource>(m_mainCamera);
    if (!camera)
        return;
    CMatrix projection;
    projection.SetPerspectiveFovRH(m_mainFieldOfView, m_mainLens.aspect, m_mainLens.zNear, m_mainLens.zFar);
    camera->SetProjection(projection);
    camera->SetFarDistance(m_mainLens.zFar);
}

void CRenderManager::BlendLightPresets(int presetA, float weightA, int presetB, float weightB) {
    LightPreset blend;
    if (!::BlendLightPresets(presetA, weightA, presetB, weightB, blend))
        return;
    if (CPointLight* light = GetRoomLight())
        light->SetColor(blend.roomLight);
    m_roomAmbient->SetColor(blend.roomAmbient);
    if (CPointLight* light = GetItemLight())
        light->SetColor(blend.itemLight);
    m_itemAmbient->SetColor(blend.itemAmbient);
}

bool CRenderManager::HandleCommand(std::ostream& out, const std::string& command,
                                   const std::vector<std::string>& args) {
    const LightCommand parsed = ParseLightCommand(out, command, args);
    switch (parsed.kind) {
    case LightCommand::NONE: return CConsoleObject::HandleCommand(out, command, args);
    case LightCommand::USAGE: out.flush(); return true;
    case LightCommand::LIGHT_EDIT: m_lightEdit = parsed.lightEdit; return true;
    case LightCommand::SET_COLOURS: break;
    }
    CLightObject* light = nullptr;
    CAmbientLight* ambient = nullptr;
    switch (parsed.group) {
    case LG_ROOM: light = GetRoomLight(), ambient = m_roomAmbient; break;
    case LG_ITEM: light = GetItemLight(), ambient = m_itemAmbient; break;
    case LG_INDICATOR: light = GetIndicatorLight(), ambient = m_indicatorAmbient; break;
    }
    if (light)
        light->SetColor(parsed.light);
    ambient->SetColor(parsed.ambient);
    return true;
}
