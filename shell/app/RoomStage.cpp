#include "shell/app/RoomStage.h"

#include <memory>
#include <string>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/camera/CameraResource.h"
#include "engine/light/Light.h"
#include "engine/geometry/Geometry.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "shell/world/RoomCamera.h"

namespace {

// Night with the room light on.
const ColorRGBA ROOM_LIGHT(0.8f, 0.8f, 0.8f, 1.0f);
const ColorRGBA ROOM_AMBIENT(0.2f, 0.2f, 0.3f, 1.0f);

// Day, evening and night: the skies and the window panes.
const char* const SKIES[3] = {"skyCilinderDay", "skyCilinderEvening", "skyCilinderNight"};
const char* const WINDOWS[3] = {"room_mado1_Day", "room_mado2_evening", "room_mado0_Night"};
constexpr int NIGHT = 2;

template <class T>
T* Find(const std::string& name, int kind) {
    return CurrentResourceManager ? dynamic_cast<T*>(CurrentResourceManager->Find(name.c_str(), kind)) : nullptr;
}

} // namespace

CRoomStage::CRoomStage(int width, int height) : m_drawList(0, 1024, 1024, 16, 1024) {
    CTransform* sceneRoot = GetRootTransform();
    SetDefaultParent(sceneRoot);
    m_mainRoot = new CTransform("renderRootMain");
    // Loaded models are templates under an invisible root; the scene shows copies.
    CTransform* resourceRoot = new CTransform("renderRootReso");
    resourceRoot->SetVisible(0.0f);

    SetDefaultParent(m_mainRoot);
    CTransform* lightPlace = new CTransform("renderPntLightTransRoom");
    lightPlace->SetTranslation(0, 300, 0);
    m_roomLight = new CPointLight("renderPntLightRoom");
    m_roomLight->SetParent(lightPlace);
    m_roomLight->SetColor(ROOM_LIGHT);
    m_ambient = new CAmbientLight();
    m_ambient->SetColor(ROOM_AMBIENT);
    m_lightSet.SetAmbient(m_ambient);
    m_lightSet.SetLight(0, m_roomLight);

    CTransform* cameraPlace = new CTransform("roomCameraTrans");
    CMatrix place;
    cameraPlace->SetLocalMatrix(GetRoomCameraView().GetInverse(place));
    m_camera = new CCameraResource("roomCamera");
    m_camera->SetParent(cameraPlace);
    m_camera->SetProjection(GetRoomCameraProjection(width, height));
    m_camera->SetFarDistance(ROOM_CAMERA_FAR);

    SetDefaultParent(resourceRoot);
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(0));
    SetModelPathPrefix(0);
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), "model/common/room.hgm");
    archive.reset();

    SetDefaultParent(m_mainRoot);
    m_loaded = Find<CTransform>("roomRoot", RT_TRANSFORM) != nullptr;
    if (!m_loaded)
        return;
    m_room = new CModelInstanceNode("room", "roomRoot", RT_TRANSFORM, SCOPE);
    if (CTransform* root = m_room->GetRoot())
        root->SetLightSetTree(m_lightSet.GetLightSetHandle());
    if (CGeometry* glass = Find<CGeometry>("room_windowGlassShape_025", RT_GEOMETRY))
        glass->SetTranslucent(true);
    ShowOnly(SKIES, NIGHT);
    ShowOnly(WINDOWS, NIGHT);
}

CRoomStage::~CRoomStage() {
    delete m_room;
    delete m_ambient;
}

// One of the three skies (or window panes) at full weight, the others hidden.
void CRoomStage::ShowOnly(const char* const names[3], int shown) {
    for (int i = 0; i < 3; ++i) {
        float weight = i == shown ? 1.0f : 0.0f;
        if (CTransform* node = Find<CTransform>(std::string(names[i]) + SCOPE, RT_TRANSFORM))
            node->SetVisible(weight > 0 ? 1.0f : 0.0f);
        for (const char* suffix : {"_m0", "_m1"})
            if (CShader* shader = Find<CShader>(std::string(names[i]) + suffix, RT_SHADER))
                shader->SetColor(1, 1, 1, weight);
    }
}

void CRoomStage::Queue() { m_drawList.AddTree(m_mainRoot, m_camera, true); }
