#pragma once
#include <windows.h>
#include <d3d8.h>

#include "engine/core/FixedStep.h"
#include "engine/core/PresentPacer.h"
#include "engine/math/Color.h"
#include "engine/math/Matrix.h"
#include "engine/render/Timer.h"

class CResourceManager;
class CTexture;
class CLog;

// Called when the device cannot be set up (outside a reset or mode change).
using DeviceFailureHandlerFn = void (*)();
extern DeviceFailureHandlerFn DeviceFailureHandler;

// The owner of the Direct3D 8 interface and device. It chooses the display
// and depth formats at start and at every mode change or reset (writing each
// attempt to "init.log"), keeps the transforms that the vertex programs
// read, caches the texture bound to each stage and runs the fixed-step
// pacing of the frame loop. One renderer lives at a time, reachable through
// Current(); it owns the resource registry that everything later joins.
class CRenderer {
public:
    static constexpr int TEXTURE_STAGES = 8;
    static constexpr unsigned SDK_VERSION = 220;
    static constexpr D3DCOLOR CLEAR_COLOR = 0xFF0000FF;
    static constexpr int FRAME_PERIOD_COUNT = 6;
    static const float FRAME_PERIODS[FRAME_PERIOD_COUNT];

    CRenderer(HWND window, int width, int height, bool windowed, bool forceSoftware);
    virtual ~CRenderer();

    // Called once when the frame loop starts.
    virtual void OnLoopStart();
    // Called when WM_QUIT ends the loop; its result is the loop's result.
    virtual int OnLoopEnd();
    // One fixed step of stepMs; non-zero asks the program to close.
    virtual int Update(float stepMs);

    // 0 on success, -1 on failure.
    int InitDevice();
    int ResetDevice();
    int ChangeMode(int width, int height, bool windowed);

    // The camera's constants go to the device with the next SetWorld, once
    // per change rather than once per drawn item.
    void SetProjection(const CMatrix& matrix);
    void SetView(const CMatrix& matrix);
    void SetWorld(const CMatrix& matrix);
    void SetTexture(int stage, CTexture* texture);
    void RestoreRenderTarget();
    void SetModulateColor(const ColorRGBA& color);
    void ResetFrameTimer();
    void PaceFrame();

    static CRenderer* Current();

    IDirect3DDevice8* GetDevice() const { return m_device; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    bool IsWindowed() const { return m_windowed; }
    bool IsFirstUpdate() const { return m_firstUpdate; }
    CTexture* GetOffscreenTarget() const { return m_offscreenTarget; }
    void SetOffscreenTarget(CTexture* target) { m_offscreenTarget = target; }
    CResourceManager* GetResourceManager() const { return m_resourceManager; }
    const CMatrix& GetProjection() const { return m_projection; }
    const CMatrix& GetView() const { return m_view; }
    const CMatrix& GetWorld() const { return m_world; }
    CTexture* GetStageTexture(int stage) const;
    float GetFramePeriod() const { return FRAME_PERIODS[m_framePeriodIndex]; }
    float GetAverageWorkTime() const { return m_averageWorkTime; }
    float GetLastWorkTime() const { return m_lastWorkTime; }
    float GetLastFrameTime() const { return m_lastFrameTime; }
    float GetStepAccumulator() const { return m_fixedStep.GetAccumulator(); }

    // Minimises the other windows on 1 and puts them back on 0.
    using DeviceLostCallback = void (*)(int);
    void SetDeviceLostCallback(DeviceLostCallback callback) { m_deviceLostCallback = callback; }

    CRenderer(const CRenderer&) = delete;
    CRenderer& operator=(const CRenderer&) = delete;

protected:
    // The update steps of one pass, the draw-list pass and the frame stamp.
    void RunUpdates();
    // Ends and presents the scene, handles a lost device, begins the next scene.
    void PresentFrame();
    void BeginAndClear();

private:
    bool TryDepthFormats(CLog& log, D3DPRESENT_PARAMETERS& params, DWORD behaviour, const char* adapterName, int group);
    DWORD ChooseVertexProcessing(CLog& log);
    int FinishInitDevice(CLog& log);
    void UnbindBeforeReset();
    void ReleaseSurfaces();
    void SetRendererConstants();
    void ClearStageCache();

    IDirect3D8* m_d3d = nullptr;
    IDirect3DDevice8* m_device = nullptr;
    HWND m_window;
    int m_width;
    int m_height;
    bool m_windowed;
    bool m_forceSoftware;
    CMatrix m_projection;
    CMatrix m_world;
    CMatrix m_view;
    // Set when the projection or view changed, or the device lost its
    // constants, since the camera's constants were last uploaded.
    bool m_cameraConstantsStale = true;
    int m_framePeriodIndex = 0;
    CTimer m_frameTimer;
    float m_lastWorkTime = 16.6667f;
    float m_workTimeSum = 0;
    int m_frameCount = 0;
    D3DCOLOR m_clearColor = CLEAR_COLOR;
    float m_clearDepth = 1.0f;
    CTexture* m_stageTextures[TEXTURE_STAGES] = {};
    bool m_resetting = false;
    CResourceManager* m_resourceManager = nullptr;
    float m_averageWorkTime = 0;
    float m_lastFrameTime = 16.6667f;
    CFixedStep m_fixedStep;
    CPresentPacer m_presentPacer;
    bool m_firstUpdate = false;
    DeviceLostCallback m_deviceLostCallback = nullptr;
    CTexture* m_offscreenTarget = nullptr;
    IDirect3DSurface8* m_mainTarget = nullptr;
    IDirect3DSurface8* m_mainDepth = nullptr;
};
