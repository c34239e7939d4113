#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/drawlist/DrawList.h"
#include "engine/light/LightSet.h"
#include "engine/resource/Handle.h"

class CAmbientLight;
class CCameraResource;
class CDirectionalLight;
class CPointLight;
class CSystem;
class CTransform;
class ICameraManager;
class ISetting;
struct CSavedState;

// The near and far planes and aspect of the main scene's lens.
struct CameraLens {
    float aspect = 1.0f;
    float zNear = 100.0f;
    float zFar = 10000.0f;
};

// The named object "render": the three scene roots everything is built under
// (the main scene, the indicator overlay and the invisible root that holds
// loaded models as templates), the two draw lists the frame loop renders,
// the indicator scene's fixed orthographic camera, and three lighting groups
// (room, items, indicator), each an ambient light and one light in a light
// set. The world blends the room and item colours from the compiled presets
// every update. Made first by the system object, while its renderer is
// current, and deleted last; the nodes it made go with it.
class CRenderManager : public CConsoleObject {
public:
    static constexpr int MAIN_DRAW_LIST_SLOT = 0;
    static constexpr int INDICATOR_DRAW_LIST_SLOT = 1;
    static constexpr float MAIN_NEAR = 100.0f, MAIN_FAR = 10000.0f;
    static constexpr float INDICATOR_NEAR = 100.0f, INDICATOR_FAR = 100000.0f;
    // Window pixels to indicator units.
    static constexpr float INDICATOR_UNITS_PER_PIXEL = 100.0f;
    static constexpr float INDICATOR_EYE_DISTANCE = 50000.0f;

    CRenderManager(HWND mainWindow, CSystem* system, ISetting* setting);
    ~CRenderManager() override;

    // Make that root the default parent of new transforms: loaders take the
    // resource root, scene builders the main or the indicator root.
    void SelectMainRoot();
    void SelectIndicatorRoot();
    void SelectResourceRoot();

    // Steps the camera manager "camera" (owned), which views the main scene.
    void Update(float stepMs, bool pointerInCameraArea);
    // The camera's part of the state file.
    void Serialize(CSavedState& state, bool storing);
    ICameraManager* GetCameraManager() const { return m_cameraManager; }

    // A still camera node in place of the camera manager's view (not owned;
    // held by handle), fitted with this field of view; null gives the main
    // scene back to the camera manager.
    void SetMainCamera(CCameraResource* camera, float fieldOfViewY);
    // The still camera when one is set, else the camera manager's view.
    CCameraResource* GetMainCamera() const;

    // Queues the main tree with the main camera into draw-list slot 0, then
    // advances the frame stamp.
    void DrawMain();
    // The indicator tree with the indicator camera into slot 1, then the stamp.
    void DrawIndicators();

    // After a size or mode change: the main lens by the settings' width and
    // height, and the indicator camera's orthographic area (100 units a pixel).
    void FitCameras();
    // The same for a given size (a size of nothing is taken as 640 x 480).
    void FitCameras(int width, int height);

    // Room and item colours from two presets; indices outside the table
    // change nothing.
    void BlendLightPresets(int presetA, float weightA, int presetB, float weightB);

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    CTransform* GetMainRoot() const;
    CTransform* GetIndicatorRoot() const;
    CTransform* GetResourceRoot() const;
    CSceneDrawList& GetMainDrawList() { return m_mainDrawList; }
    CSceneDrawList& GetIndicatorDrawList() { return m_indicatorDrawList; }
    CCameraResource* GetIndicatorCamera() const;
    const CameraLens& GetMainLens() const { return m_mainLens; }

    CPointLight* GetRoomLight() const;
    CAmbientLight* GetRoomAmbient() const { return m_roomAmbient; }
    CLightSet& GetRoomLightSet() { return m_roomLightSet; }
    CPointLight* GetItemLight() const;
    CAmbientLight* GetItemAmbient() const { return m_itemAmbient; }
    CLightSet& GetItemLightSet() { return m_itemLightSet; }
    CDirectionalLight* GetIndicatorLight() const;
    CAmbientLight* GetIndicatorAmbient() const { return m_indicatorAmbient; }
    CLightSet& GetIndicatorLightSet() { return m_indicatorLightSet; }
    bool IsLightEdit() const { return m_lightEdit; }

    HWND GetMainWindow() const { return m_mainWindow; }
    CSystem* GetSystem() const { return m_system; }

private:
    void FitMainCamera();

    HWND m_mainWindow;
    CSystem* m_system;
    ISetting* m_setting;

    CHandle m_mainRoot;
    CSceneDrawList m_mainDrawList;
    ICameraManager* m_cameraManager = nullptr;
    CHandle m_mainCamera;
    float m_mainFieldOfView = 0.55f;
    CameraLens m_mainLens;

    CHandle m_roomLightPlace;
    CHandle m_roomLight;
    CAmbientLight* m_roomAmbient = nullptr;
    CLightSet m_roomLightSet;
    CHandle m_itemLightPlace;
    CHandle m_itemLight;
    CAmbientLight* m_itemAmbient = nullptr;
    CLightSet m_itemLightSet;

    CHandle m_indicatorRoot;
    CSceneDrawList m_indicatorDrawList;
    CHandle m_indicatorCameraPlace;
    CHandle m_indicatorCamera;
    CHandle m_indicatorLightPlace;
    CHandle m_indicatorLight;
    CAmbientLight* m_indicatorAmbient = nullptr;
    CLightSet m_indicatorLightSet;

    CHandle m_resourceRoot;
    bool m_lightEdit = false;
};
