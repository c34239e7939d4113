#pragma once
#include "engine/drawlist/DrawList.h"
#include "engine/light/LightSet.h"

class CAmbientLight;
class CCameraResource;
class CModelInstanceNode;
class CPointLight;
class CTransform;

// The room as the program shows it until the application's own start and
// system object take over: the room model of model archive 0 instanced in
// the main scene, lit by the night preset with the room light on (the world
// clock starts at 18:00), seen through a fixed camera, queued into draw-list
// slot 0 each update. Made while a renderer is current; its nodes belong to
// the renderer's registry, so it must go before the renderer does.
class CRoomStage {
public:
    static constexpr const char* SCOPE = "::the";

    CRoomStage(int width, int height);
    ~CRoomStage();

    // False when the room model was not in the archive.
    bool IsLoaded() const { return m_loaded; }
    // Called on every update; the draw list takes the tree only in the first
    // update of a pass. The frame loop, not the stage, advances the frame stamp.
    void Queue();

    CCameraResource* GetCamera() const { return m_camera; }

    CRoomStage(const CRoomStage&) = delete;
    CRoomStage& operator=(const CRoomStage&) = delete;

private:
    void ShowOnly(const char* const names[3], int shown);

    bool m_loaded = false;
    CTransform* m_mainRoot = nullptr;
    CCameraResource* m_camera = nullptr;
    CAmbientLight* m_ambient = nullptr;
    CPointLight* m_roomLight = nullptr;
    CLightSet m_lightSet;
    CSceneDrawList m_drawList;
    CModelInstanceNode* m_room = nullptr;
};
