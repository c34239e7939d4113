#include "shell/app/RoomStage.h"

#include "engine/camera/CameraResource.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/scene/Transform.h"
#include "shell/render/RenderManager.h"
#include "shell/world/World.h"

namespace {

// The room camera: from the open corner of the room towards its middle.
const Vec3 CAMERA_EYE(950, 460, 850);
const Vec3 CAMERA_TARGET(0, 0, 0);
constexpr float CAMERA_FOV = 0.55f;

} // namespace

CRoomStage::CRoomStage(int width, int height) {
    m_render = new CRenderManager(nullptr, nullptr, nullptr);
    m_render->FitCameras(width, height);
    LoadWorldModels(*m_render);
    m_world = new CWorld("world", *m_render, SCOPE);
    m_loaded = m_world->HasRoom();

    m_render->SelectMainRoot();
    CTransform* cameraPlace = new CTransform("roomCameraTrans");
    CMatrix view;
    view.SetLookAtRH(CAMERA_EYE, CAMERA_TARGET, Vec3(0, 1, 0));
    CMatrix place;
    cameraPlace->SetLocalMatrix(view.GetInverse(place));
    m_camera = new CCameraResource("roomCamera");
    m_camera->SetParent(cameraPlace);
    m_render->SetMainCamera(m_camera, CAMERA_FOV);
    // The skies and lights of the start time before the first frame.
    m_world->Update(*m_render, 0.0f);
}

CRoomStage::~CRoomStage() {
    delete m_world;
    delete m_render;
}

void CRoomStage::Update(float stepMs) { m_world->Update(*m_render, stepMs); }

void CRoomStage::Queue() { m_render->DrawMain(); }
