#include "shell/app/RoomStage.h"

#include "engine/camera/CameraResource.h"
#include "engine/math/Matrix.h"
#include "engine/scene/Transform.h"
#include "shell/render/RenderManager.h"
#include "shell/world/World.h"

CRoomStage::CRoomStage(int width, int height) {
    m_render = new CRenderManager(nullptr, nullptr, nullptr);
    m_render->FitCameras(width, height);
    LoadWorldModels(*m_render);
    m_world = new CWorld("world", *m_render, SCOPE);
    m_loaded = m_world->HasRoom();

    m_render->SelectMainRoot();
    // The skies and lights of the start time before the first frame.
    m_world->Update(*m_render, 0.0f);
}

CRoomStage::~CRoomStage() {
    delete m_world;
    delete m_render;
}

void CRoomStage::Update(float stepMs) {
    m_world->Update(*m_render, stepMs);
    // Nothing to look at yet: the automatic camera overlooks the room.
    m_render->Update(stepMs, false);
}

CCameraResource* CRoomStage::GetCamera() const { return m_render->GetMainCamera(); }

void CRoomStage::Queue() { m_render->DrawMain(); }
