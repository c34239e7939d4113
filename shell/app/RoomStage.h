#pragma once

class CCameraResource;
class CRenderManager;
class CWorld;

// The room as the program shows it until the application's own start and
// system object take over: the render manager and the world with the room of
// model archive 0 in the main scene, its sky and lights following the world
// clock, seen through the camera manager's automatic camera and queued into
// draw-list slot 0 each update. Made while a renderer is current; its nodes belong to the
// renderer's registry, so it must go before the renderer does.
class CRoomStage {
public:
    static constexpr const char* SCOPE = "::the";

    CRoomStage(int width, int height);
    ~CRoomStage();

    // False when the room model was not in the archive.
    bool IsLoaded() const { return m_loaded; }
    // Moves the world clock and the camera on; the skies and lights follow.
    void Update(float stepMs);
    // Called on every update; the draw list takes the tree only in the first
    // update of a pass. The frame loop, not the stage, advances the frame stamp.
    void Queue();

    CCameraResource* GetCamera() const;
    CRenderManager* GetRenderManager() const { return m_render; }
    CWorld* GetWorld() const { return m_world; }

    CRoomStage(const CRoomStage&) = delete;
    CRoomStage& operator=(const CRoomStage&) = delete;

private:
    bool m_loaded = false;
    CRenderManager* m_render = nullptr;
    CWorld* m_world = nullptr;
};
