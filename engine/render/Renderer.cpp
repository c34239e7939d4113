#include "engine/render/Renderer.h"

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/archive/TextureArchives.h"
#include "engine/core/FrameStamp.h"
#include "engine/core/Log.h"
#include "engine/geometry/GeometryChunkLoaders.h"
#include "engine/render/FormatTables.h"
#include "engine/render/FrameReport.h"
#include "engine/render/RenderHooks.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"

DeviceFailureHandlerFn DeviceFailureHandler = nullptr;

const float CRenderer::FRAME_PERIODS[FRAME_PERIOD_COUNT] = {16.6667f, 33.3333f, 50.0f, 66.6667f, 83.3333f, 100.0f};

namespace {

CRenderer* g_currentRenderer = nullptr;

constexpr int STREAMS_UNBOUND_AT_MOST = 16;

// Vertex shader constants owned by the renderer.
constexpr DWORD C_WORLD_VIEW_PROJECTION = 0;
constexpr DWORD C_VIEW_PROJECTION = 4;
constexpr DWORD C_PROJECTION = 8;
constexpr DWORD C_MODULATE = 74;
constexpr DWORD C_HALVES = 75;
constexpr DWORD C_ONES = 76;
constexpr DWORD C_ZEROS = 77;

const char* AdapterFormatName(D3DFORMAT format) {
    for (const AdapterFormatEntry& entry : ADAPTER_FORMATS)
        if (entry.format == format)
            return entry.name;
    return "D3DFMT_UNKNOWN";
}

} // namespace

CRenderer::CRenderer(HWND window, int width, int height, bool windowed, bool forceSoftware)
    : m_window(window),
      m_width(width),
      m_height(height),
      m_windowed(windowed),
      m_forceSoftware(forceSoftware) {
    m_d3d = CreateDirect3D(SDK_VERSION);
    InitDevice(); // a failure reaches the application through DeviceFailureHandler

    m_framePeriodIndex = 0;
    m_clearColor = CLEAR_COLOR;
    m_clearDepth = 1.0f;
    m_lastWorkTime = m_lastFrameTime = FRAME_PERIODS[0];
    m_averageWorkTime = m_workTimeSum = 0;
    m_frameCount = 0;
    m_fixedStep.Reset();

    g_currentRenderer = this;
    m_resourceManager = new CResourceManager();
    CurrentResourceManager = m_resourceManager;
    OpenTextureArchives();
    if (DefaultTextureMaker makeDefault = GetDefaultTextureMaker())
        makeDefault();
    RegisterSceneChunkHandlers();
    RegisterModelChunkHandlers();
    RegisterAnimChunkHandlers();
    CreateRootTransform();

    ClearStageCache();
    if (m_device)
        m_device->BeginScene();
    SetModulateColor(ColorRGBA(1, 1, 1, 1));
}

CRenderer::~CRenderer() {
    if (m_device)
        m_device->EndScene();
    ReleaseSurfaces();
    CloseTextureArchives();
    delete m_resourceManager;
    m_resourceManager = nullptr;
    if (m_device) {
        m_device->Release();
        m_device = nullptr;
    }
    if (m_d3d) {
        m_d3d->Release();
        m_d3d = nullptr;
    }
    if (g_currentRenderer == this)
        g_currentRenderer = nullptr;
}

void CRenderer::OnLoopStart() {}
int CRenderer::OnLoopEnd() { return 0; }
int CRenderer::Update(float) { return -1; }

CRenderer* CRenderer::Current() { return g_currentRenderer; }

DWORD CRenderer::ChooseVertexProcessing(CLog& log) {
    D3DCAPS8 caps = {};
    if (FAILED(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)))
        caps.VertexShaderVersion = 0;
    if (caps.VertexShaderVersion >= D3DVS_VERSION(1, 1) && !m_forceSoftware) {
        log.Printf("Use Hardware Processing\n");
        return D3DCREATE_HARDWARE_VERTEXPROCESSING;
    }
    log.Printf("Use Software Processing\n");
    return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
}

// The four depth formats of a group, each tried with the device itself; the
// first accepted one wins.
bool CRenderer::TryDepthFormats(CLog& log, D3DPRESENT_PARAMETERS& params, DWORD behaviour, const char* adapterName,
                                int group) {
    for (const DepthFormatEntry& depth : DEPTH_FORMATS[group]) {
        params.AutoDepthStencilFormat = depth.format;
        log.Printf("Try [%s] [%s]...", adapterName, depth.name);
        HRESULT hr;
        if (m_resetting && m_device) {
            hr = m_device->Reset(&params);
        } else {
            IDirect3DDevice8* device = nullptr;
            hr = m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window, behaviour, &params, &device);
            if (SUCCEEDED(hr) && device) {
                if (m_device)
                    m_device->Release();
                m_device = device;
            } else if (SUCCEEDED(hr)) {
                hr = E_FAIL;
            }
        }
        if (SUCCEEDED(hr))
            return true;
        log.Printf("Failed\n");
    }
    return false;
}

int CRenderer::InitDevice() {
    CLog log;
    log.Open("init.log");
    // A Reset keeps nothing bound: the textures and buffers are about to be
    // released and re-created, and the stage cache must not skip re-binding.
    if (m_resetting && m_device)
        UnbindBeforeReset();
    ClearStageCache();
    // A new or reset device holds none of the camera's constants.
    m_cameraConstantsStale = true;

    if (m_windowed) {
        log.Printf("Start Initial Window Mode...\n");
        D3DDISPLAYMODE desktop = {};
        if (!m_d3d || FAILED(m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop))) {
            log.Printf("Fail GetAdapterDisplayMode\n");
        } else {
            D3DPRESENT_PARAMETERS params = {};
            params.BackBufferFormat = desktop.Format;
            params.SwapEffect = D3DSWAPEFFECT_DISCARD;
            params.Windowed = TRUE;
            params.EnableAutoDepthStencil = TRUE;
            int group = FindDepthGroup(desktop.Format);
            if (group < 0) {
                log.Printf("Can't Find Suitable DepthMode\n");
            } else {
                DWORD behaviour = ChooseVertexProcessing(log);
                if (TryDepthFormats(log, params, behaviour, AdapterFormatName(desktop.Format), group))
                    return FinishInitDevice(log);
            }
        }
    } else {
        log.Printf("Start Initial FullScreen Mode...\n");
        if (m_d3d) {
            UINT refreshRate = 0;
            UINT modeCount = m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT);
            for (UINT i = 0; i < modeCount; ++i) {
                D3DDISPLAYMODE mode = {};
                if (FAILED(m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &mode)))
                    continue;
                if ((int)mode.Width == m_width && (int)mode.Height == m_height && mode.RefreshRate == 60) {
                    refreshRate = 60;
                    break;
                }
            }
            for (const AdapterFormatEntry& adapter : ADAPTER_FORMATS) {
                if (adapter.depthGroup < 0)
                    break;
                D3DPRESENT_PARAMETERS params = {};
                params.BackBufferWidth = m_width;
                params.BackBufferHeight = m_height;
                params.BackBufferFormat = adapter.format;
                params.SwapEffect = D3DSWAPEFFECT_COPY_VSYNC;
                params.Windowed = FALSE;
                params.EnableAutoDepthStencil = TRUE;
                params.FullScreen_RefreshRateInHz = refreshRate;
                DWORD behaviour = ChooseVertexProcessing(log);
                if (TryDepthFormats(log, params, behaviour, adapter.name, adapter.depthGroup))
                    return FinishInitDevice(log);
            }
        }
    }

    log.Printf("Init Failed\n");
    if (DeviceFailureHandler)
        DeviceFailureHandler();
    return -1;
}

int CRenderer::FinishInitDevice(CLog& log) {
    log.Printf("Success\n");
    log.Printf("Init Success\n");
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    m_device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    m_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    m_device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_NONE);
    m_device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_NONE);
    m_device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    m_device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    SetRendererConstants();

    ReleaseSurfaces();
    if (SUCCEEDED(m_device->GetDepthStencilSurface(&m_mainDepth)) &&
        SUCCEEDED(m_device->GetRenderTarget(&m_mainTarget)))
        return 0;
    ReleaseSurfaces();
    log.Printf("Init Failed\n");
    if (DeviceFailureHandler)
        DeviceFailureHandler();
    return -1;
}

void CRenderer::SetRendererConstants() {
    const float ones[4] = {1, 1, 1, 1};
    const float zeros[4] = {0, 0, 0, 0};
    const float halves[4] = {0, 0.5f, 1, 2};
    m_device->SetVertexShaderConstant(C_ONES, ones, 1);
    m_device->SetVertexShaderConstant(C_ZEROS, zeros, 1);
    m_device->SetVertexShaderConstant(C_HALVES, halves, 1);
}

void CRenderer::UnbindBeforeReset() {
    for (int stage = 0; stage < TEXTURE_STAGES; ++stage)
        m_device->SetTexture(stage, nullptr);
    D3DCAPS8 caps = {};
    int streams = SUCCEEDED(m_device->GetDeviceCaps(&caps)) ? (int)caps.MaxStreams : 1;
    if (streams < 1)
        streams = 1;
    if (streams > STREAMS_UNBOUND_AT_MOST)
        streams = STREAMS_UNBOUND_AT_MOST;
    for (int stream = 0; stream < streams; ++stream)
        m_device->SetStreamSource(stream, nullptr, 0);
    m_device->SetIndices(nullptr, 0);
}

void CRenderer::ReleaseSurfaces() {
    if (m_mainTarget) {
        m_mainTarget->Release();
        m_mainTarget = nullptr;
    }
    if (m_mainDepth) {
        m_mainDepth->Release();
        m_mainDepth = nullptr;
    }
}

void CRenderer::ClearStageCache() {
    for (CTexture*& texture : m_stageTextures)
        texture = nullptr;
}

int CRenderer::ResetDevice() {
    ReleaseSurfaces();
    m_resetting = true;
    DeviceFailureHandlerFn handler = DeviceFailureHandler;
    DeviceFailureHandler = nullptr;
    int result = InitDevice();
    m_resetting = false;
    DeviceFailureHandler = handler;
    return result;
}

int CRenderer::ChangeMode(int width, int height, bool windowed) {
    m_width = width;
    m_height = height;
    m_windowed = windowed;
    if (m_device)
        m_device->EndScene();
    ReleaseAllDeviceObjects();
    int result = ResetDevice();
    if (result < 0)
        return result;
    RestoreAllDeviceObjects();
    SetModulateColor(ColorRGBA(1, 1, 1, 1));
    m_clearColor = CLEAR_COLOR;
    m_clearDepth = 1.0f;
    m_device->BeginScene();
    return 0;
}

void CRenderer::SetProjection(const CMatrix& matrix) {
    m_projection = matrix;
    m_cameraConstantsStale = true;
}

void CRenderer::SetView(const CMatrix& matrix) {
    m_view = matrix;
    m_cameraConstantsStale = true;
}

void CRenderer::SetWorld(const CMatrix& matrix) {
    m_world = matrix;
    if (!m_device)
        return;
    const bool uploadCamera = m_cameraConstantsStale;
    if (uploadCamera) {
        CMatrix projection = m_projection;
        projection.Transpose();
        m_device->SetVertexShaderConstant(C_PROJECTION, &projection, 4);
    }
    CMatrix worldView, worldViewProjection;
    m_view.PreMultiply(worldView, m_world);
    m_projection.PreMultiply(worldViewProjection, worldView);
    worldViewProjection.Transpose();
    m_device->SetVertexShaderConstant(C_WORLD_VIEW_PROJECTION, &worldViewProjection, 4);
    if (uploadCamera) {
        CMatrix viewProjection;
        m_projection.PreMultiply(viewProjection, m_view);
        viewProjection.Transpose();
        m_device->SetVertexShaderConstant(C_VIEW_PROJECTION, &viewProjection, 4);
        m_cameraConstantsStale = false;
    }
}

void CRenderer::SetTexture(int stage, CTexture* texture) {
    if (stage < 0 || stage >= TEXTURE_STAGES)
        return;
    if (texture) {
        if (m_stageTextures[stage] == texture)
            return;
        TextureStageBinder bind = GetTextureStageBinder();
        if (!bind)
            return;
        bind(texture, stage);
        m_stageTextures[stage] = texture;
    } else {
        if (!m_stageTextures[stage])
            return;
        if (m_device)
            m_device->SetTexture(stage, nullptr);
        m_stageTextures[stage] = nullptr;
    }
}

CTexture* CRenderer::GetStageTexture(int stage) const {
    return stage >= 0 && stage < TEXTURE_STAGES ? m_stageTextures[stage] : nullptr;
}

void CRenderer::RestoreRenderTarget() {
    if (!m_offscreenTarget || !m_device)
        return;
    m_device->SetRenderTarget(m_mainTarget, m_mainDepth);
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_clearColor, m_clearDepth, 0);
}

void CRenderer::SetModulateColor(const ColorRGBA& color) {
    if (!m_device)
        return;
    const float value[4] = {color.r, color.g, color.b, color.a};
    m_device->SetVertexShaderConstant(C_MODULATE, value, 1);
}

void CRenderer::ResetFrameTimer() {
    m_fixedStep.Reset();
    m_presentPacer.Reset();
    m_frameTimer.Reset();
}

void CRenderer::PaceFrame() {
    float work = m_frameTimer.Elapsed();
    m_lastWorkTime = work;
    ++m_frameCount;
    m_workTimeSum += work;
    if (m_frameCount % 60 == 0) {
        m_averageWorkTime = m_workTimeSum / (float)m_frameCount;
        m_workTimeSum = 0;
        m_frameCount = 0;
    }
    float period = GetFramePeriod();
    if (m_windowed && work < period)
        Sleep((DWORD)(period - work));
    m_lastFrameTime = m_frameTimer.Elapsed();
    m_frameTimer.Reset();
}

void CRenderer::RunUpdates() {
    m_fixedStep.RunPass(m_lastFrameTime, GetFramePeriod(), m_firstUpdate, [this](float step) {
        const double start = FrameReportClockMs();
        const int result = Update(step);
        NoteUpdateTime(FrameReportClockMs() - start);
        if (result != 0)
            PostMessageA(m_window, WM_CLOSE, 0, 0);
    });
    if (DrawListPass renderAll = GetDrawListPass())
        renderAll();
    AdvanceFrameStamp();
    // The last draw list drew into a texture: the console and the next
    // frame go to the screen.
    if (m_offscreenTarget) {
        RestoreRenderTarget();
        m_offscreenTarget = nullptr;
    }
}

void CRenderer::BeginAndClear() {
    m_device->BeginScene();
    m_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_clearColor, m_clearDepth, 0);
}

void CRenderer::PresentFrame() {
    if (!m_device)
        return;
    m_device->EndScene();
    // A device behind by its frame latency makes Present spin; sleeping for
    // the wait it showed lately leaves the processor to the device.
    if (const DWORD wait = (DWORD)m_presentPacer.GetWait())
        Sleep(wait);
    LARGE_INTEGER before, after, frequency;
    QueryPerformanceCounter(&before);
    const HRESULT presented = m_device->Present(nullptr, nullptr, nullptr, nullptr);
    QueryPerformanceCounter(&after);
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        m_presentPacer.NotePresent(
            float(double(after.QuadPart - before.QuadPart) * 1000.0 / double(frequency.QuadPart)));
    if (SUCCEEDED(presented))
        NoteFramePresented();
    if (FAILED(presented)) {
        if (m_device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) {
            if (m_deviceLostCallback)
                m_deviceLostCallback(1);
            m_device->EndScene();
            ReleaseAllDeviceObjects();
            if (ResetDevice() == 0) {
                RestoreAllDeviceObjects();
                m_clearColor = CLEAR_COLOR;
                m_clearDepth = 1.0f;
                SetModulateColor(ColorRGBA(1, 1, 1, 1));
                // The scene is begun below, once.
            }
        } else if (m_deviceLostCallback) {
            m_deviceLostCallback(0);
        }
    }
    BeginAndClear();
}
