// The renderer against a recording Direct3D 8: the format search and its
// "init.log" lines, resets and mode changes, the stage cache, the shader
// constants and the frame loop.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/core/FrameStamp.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/render/RenderHooks.h"
#include "engine/resource/Resource.h"
#include "engine/resource/ResourceManager.h"
#include "tests/engine/render/RecordingD3d.h"

namespace {

CRecordingD3d* g_d3d = nullptr;
int g_failures = 0;
int g_closes = 0;

IDirect3D8* MakeRecordingD3d(unsigned) {
    if (g_d3d)
        g_d3d->AddRef();
    return g_d3d;
}
IDirect3D8* MakeNoD3d(unsigned) { return nullptr; }
void CountFailure() { ++g_failures; }

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++g_closes;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RendererTest";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "renderer", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

std::string ReadInitLog() {
    std::ifstream in("init.log"); // text mode, as written
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

const char* const GROUP0[] = {"D3DFMT_D32", "D3DFMT_D24X8", "D3DFMT_D24S8", "D3DFMT_D24X4S4"};
const char* const GROUP16[] = {"D3DFMT_D16", "D3DFMT_D16_LOCKABLE", "D3DFMT_D15S1", "D3DFMT_UNKNOWN"};

// "Try" lines of one group: every try fails, except the one at `success` when given.
std::string Tries(const char* adapter, const char* const* depths, int success = -1) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        text += std::string("Try [") + adapter + "] [" + depths[i] + "]...";
        if (i == success)
            return text + "Success\nInit Success\n";
        text += "Failed\n";
    }
    return text;
}

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_d3d = &d3d;
        g_failures = 0;
        g_closes = 0;
        SetDirect3DFactory(MakeRecordingD3d);
        DeviceFailureHandler = CountFailure;
        window = MakeWindow();
        ASSERT_NE(window, nullptr);
        DrainMessages();
    }
    void TearDown() override {
        SetDirect3DFactory(nullptr);
        DeviceFailureHandler = nullptr;
        g_d3d = nullptr;
        DestroyWindow(window);
        DrainMessages();
    }

    CRecordingD3d d3d;
    HWND window = nullptr;
};

TEST_F(RendererTest, WindowModeLogsEachTryUntilTheDeviceAccepts) {
    struct Case {
        const char* what;
        D3DFORMAT desktop;
        FormatPair accepted;
        DWORD vertexShaderVersion;
        bool forceSoftware;
        std::string log;
        DWORD behaviour;
    };
    const Case cases[] = {
        {"32-bit desktop, D32 refused",
         D3DFMT_X8R8G8B8,
         {D3DFMT_X8R8G8B8, D3DFMT_D24X8},
         D3DVS_VERSION(1, 1),
         false,
         "Start Initial Window Mode...\nUse Hardware Processing\n" + Tries("D3DFMT_X8R8G8B8", GROUP0, 1),
         D3DCREATE_HARDWARE_VERTEXPROCESSING},
        {"16-bit desktop, software forced",
         D3DFMT_R5G6B5,
         {D3DFMT_R5G6B5, D3DFMT_D15S1},
         D3DVS_VERSION(1, 1),
         true,
         "Start Initial Window Mode...\nUse Software Processing\n" + Tries("D3DFMT_R5G6B5", GROUP16, 2),
         D3DCREATE_SOFTWARE_VERTEXPROCESSING},
        {"no vertex shader 1.1",
         D3DFMT_A8R8G8B8,
         {D3DFMT_A8R8G8B8, D3DFMT_D32},
         D3DVS_VERSION(1, 0),
         false,
         "Start Initial Window Mode...\nUse Software Processing\n" + Tries("D3DFMT_A8R8G8B8", GROUP0, 0),
         D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d3d.desktopFormat = c.desktop;
        d3d.accepted = {c.accepted};
        d3d.vertexShaderVersion = c.vertexShaderVersion;
        d3d.creates.clear();
        {
            CRenderer renderer(window, 320, 240, true, c.forceSoftware);
            EXPECT_EQ(ReadInitLog(), c.log);
            ASSERT_EQ(renderer.GetDevice(), &d3d.device);
            ASSERT_FALSE(d3d.creates.empty());
            const CreateDeviceCall& last = d3d.creates.back();
            EXPECT_EQ(last.behaviour, c.behaviour);
            EXPECT_EQ(last.params.BackBufferFormat, c.desktop);
            EXPECT_EQ(last.params.BackBufferWidth, 0u);
            EXPECT_EQ(last.params.BackBufferHeight, 0u);
            EXPECT_EQ(last.params.SwapEffect, D3DSWAPEFFECT_DISCARD);
            EXPECT_TRUE(last.params.Windowed);
            EXPECT_TRUE(last.params.EnableAutoDepthStencil);
        }
        EXPECT_EQ(d3d.device.refs, 1u);
        EXPECT_EQ(d3d.device.target.refs, 1u);
        EXPECT_EQ(d3d.device.depth.refs, 1u);
        EXPECT_EQ(d3d.refs, 1u);
    }
    EXPECT_EQ(g_failures, 0);
}

TEST_F(RendererTest, SuccessSetsStatesAndRendererConstants) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D32}};
    CRenderer renderer(window, 320, 240, true, false);
    CRecordingDevice& device = d3d.device;
    EXPECT_EQ(device.renderStates[D3DRS_CULLMODE], (DWORD)D3DCULL_NONE);
    EXPECT_EQ(device.renderStates[D3DRS_ALPHABLENDENABLE], (DWORD)TRUE);
    EXPECT_EQ(device.renderStates[D3DRS_SRCBLEND], (DWORD)D3DBLEND_SRCALPHA);
    EXPECT_EQ(device.renderStates[D3DRS_DESTBLEND], (DWORD)D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(device.renderStates[D3DRS_BLENDOP], (DWORD)D3DBLENDOP_ADD);
    EXPECT_EQ(device.renderStates[D3DRS_SHADEMODE], (DWORD)D3DSHADE_GOURAUD);
    EXPECT_EQ((device.stageStates[{0, D3DTSS_ALPHAOP}]), (DWORD)D3DTOP_MODULATE);
    EXPECT_EQ((device.stageStates[{0, D3DTSS_ALPHAARG1}]), (DWORD)D3DTA_DIFFUSE);
    EXPECT_EQ((device.stageStates[{0, D3DTSS_ALPHAARG2}]), (DWORD)D3DTA_TEXTURE);
    EXPECT_EQ((device.stageStates[{0, D3DTSS_MAGFILTER}]), (DWORD)D3DTEXF_NONE);
    EXPECT_EQ((device.constants[75]), (std::array<float, 4>{0, 0.5f, 1, 2}));
    EXPECT_EQ((device.constants[76]), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ((device.constants[77]), (std::array<float, 4>{0, 0, 0, 0}));
    EXPECT_EQ((device.constants[74]), (std::array<float, 4>{1, 1, 1, 1}));
    // The scene is open after construction.
    EXPECT_EQ(device.Count("BeginScene"), 1);
    EXPECT_EQ(CRenderer::Current(), &renderer);
    EXPECT_EQ(CurrentResourceManager, renderer.GetResourceManager());
}

TEST_F(RendererTest, WindowModeFailures) {
    struct Case {
        const char* what;
        D3DFORMAT desktop;
        HRESULT displayMode;
        std::string log;
        size_t creates;
    };
    const Case cases[] = {
        {"8-bit desktop outside the table", D3DFMT_P8, D3D_OK,
         "Start Initial Window Mode...\nCan't Find Suitable DepthMode\nInit Failed\n", 0},
        {"desktop mode unreadable", D3DFMT_X8R8G8B8, D3DERR_NOTAVAILABLE,
         "Start Initial Window Mode...\nFail GetAdapterDisplayMode\nInit Failed\n", 0},
        {"every depth format refused", D3DFMT_X8R8G8B8, D3D_OK,
         "Start Initial Window Mode...\nUse Hardware Processing\n" + Tries("D3DFMT_X8R8G8B8", GROUP0) + "Init Failed\n",
         4},
    };
    int failures = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d3d.desktopFormat = c.desktop;
        d3d.displayModeResult = c.displayMode;
        d3d.creates.clear();
        CRenderer renderer(window, 320, 240, true, false);
        EXPECT_EQ(ReadInitLog(), c.log);
        EXPECT_EQ(d3d.creates.size(), c.creates);
        EXPECT_EQ(renderer.GetDevice(), nullptr);
        EXPECT_EQ(g_failures, ++failures);
    }
}

TEST_F(RendererTest, MissingDirect3DTakesTheFailedPath) {
    SetDirect3DFactory(MakeNoD3d);
    CConsoleRenderer renderer(window, 320, 240, true, false);
    EXPECT_EQ(ReadInitLog(), "Start Initial Window Mode...\nFail GetAdapterDisplayMode\nInit Failed\n");
    EXPECT_EQ(g_failures, 1);
    EXPECT_EQ(renderer.GetDevice(), nullptr);
    // Without a device nothing is drawn, and nothing crashes.
    CMatrix identity;
    renderer.SetWorld(identity);
    renderer.SetModulateColor(ColorRGBA(1, 0, 0, 1));
    EXPECT_EQ(renderer.ResetDevice(), -1);
    EXPECT_EQ(g_failures, 1);
}

TEST_F(RendererTest, FullScreenWhereEveryFormatFailsTriesSevenGroups) {
    d3d.desktopFormat = D3DFMT_X8R8G8B8;
    CRenderer renderer(window, 640, 480, false, false);
    std::string expected = "Start Initial FullScreen Mode...\n";
    const char* adapters[] = {"D3DFMT_X8R8G8B8", "D3DFMT_A8R8G8B8", "D3DFMT_R8G8B8",  "D3DFMT_R5G6B5",
                              "D3DFMT_X1R5G5B5", "D3DFMT_A1R5G5B5", "D3DFMT_A4R4G4B4"};
    for (int i = 0; i < 7; ++i)
        expected += "Use Hardware Processing\n" + Tries(adapters[i], i < 2 ? GROUP0 : GROUP16);
    expected += "Init Failed\n";
    EXPECT_EQ(ReadInitLog(), expected);
    ASSERT_EQ(d3d.creates.size(), 28u);
    const D3DFORMAT backFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R8G8B8,  D3DFMT_R5G6B5,
                                     D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4};
    for (int i = 0; i < 28; ++i) {
        const D3DPRESENT_PARAMETERS& params = d3d.creates[i].params;
        EXPECT_EQ(params.BackBufferFormat, backFormats[i / 4]);
        EXPECT_EQ(params.BackBufferWidth, 640u);
        EXPECT_EQ(params.BackBufferHeight, 480u);
        EXPECT_EQ(params.SwapEffect, D3DSWAPEFFECT_COPY_VSYNC);
        EXPECT_FALSE(params.Windowed);
        EXPECT_EQ(params.FullScreen_RefreshRateInHz, 0u);
    }
    EXPECT_EQ(g_failures, 1);
}

TEST_F(RendererTest, FullScreenTakesSixtyHertzOnlyForTheRequestedSize) {
    auto mode = [](UINT w, UINT h, UINT hz, D3DFORMAT f) {
        D3DDISPLAYMODE m = {};
        m.Width = w, m.Height = h, m.RefreshRate = hz, m.Format = f;
        return m;
    };
    struct Case {
        const char* what;
        std::vector<D3DDISPLAYMODE> modes;
        UINT refresh;
    };
    const Case cases[] = {
        {"size at 60 Hz in another format",
         {mode(800, 600, 60, D3DFMT_X8R8G8B8), mode(640, 480, 60, D3DFMT_R5G6B5)},
         60},
        {"size only at 75 Hz", {mode(640, 480, 75, D3DFMT_X8R8G8B8), mode(800, 600, 60, D3DFMT_X8R8G8B8)}, 0},
        {"no modes", {}, 0},
    };
    d3d.accepted = {{D3DFMT_A8R8G8B8, D3DFMT_D24S8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d3d.modes = c.modes;
        d3d.creates.clear();
        CRenderer renderer(window, 640, 480, false, false);
        ASSERT_EQ(d3d.creates.size(), 7u); // four for X8R8G8B8, three for A8R8G8B8
        EXPECT_EQ(d3d.creates.back().params.FullScreen_RefreshRateInHz, c.refresh);
        EXPECT_EQ(ReadInitLog(), "Start Initial FullScreen Mode...\nUse Hardware Processing\n" +
                                     Tries("D3DFMT_X8R8G8B8", GROUP0) + "Use Hardware Processing\n" +
                                     Tries("D3DFMT_A8R8G8B8", GROUP0, 2));
    }
}

TEST_F(RendererTest, SetWorldUploadsTheThreeTransposedProducts) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D32}};
    CRenderer renderer(window, 320, 240, true, false);
    CMatrix world, view, projection;
    world.SetTranslation(1, 2, 3);
    view.SetTranslation(0, 0, -10);
    projection.SetPerspectiveFovRH(1.0f, 1.5f, 1.0f, 100.0f);
    renderer.SetProjection(projection);
    renderer.SetView(view);
    d3d.device.constantOrder.clear();
    renderer.SetWorld(world);
    EXPECT_EQ(d3d.device.constantOrder, (std::vector<DWORD>{8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7}));
    CMatrix wv, wvp, vp;
    view.PreMultiply(wv, world);
    projection.PreMultiply(wvp, wv);
    projection.PreMultiply(vp, view);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_FLOAT_EQ(d3d.device.constants[0 + r][c], wvp(c, r));
            EXPECT_FLOAT_EQ(d3d.device.constants[4 + r][c], vp(c, r));
            EXPECT_FLOAT_EQ(d3d.device.constants[8 + r][c], projection(c, r));
        }
}

TEST_F(RendererTest, CameraConstantsAreUploadedOncePerCameraChange) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D32}};
    CRenderer renderer(window, 320, 240, true, false);
    CMatrix world, view, projection;
    view.SetTranslation(0, 0, -10);
    projection.SetPerspectiveFovRH(1.0f, 1.5f, 1.0f, 100.0f);
    renderer.SetProjection(projection);
    renderer.SetView(view);
    renderer.SetWorld(world);
    // Further items under the same camera upload only their own product.
    d3d.device.constantOrder.clear();
    world.SetTranslation(1, 0, 0);
    renderer.SetWorld(world);
    renderer.SetWorld(world);
    EXPECT_EQ(d3d.device.constantOrder, (std::vector<DWORD>{0, 1, 2, 3, 0, 1, 2, 3}));
    // A new view brings the view-projection up to date with the next item.
    d3d.device.constantOrder.clear();
    view.SetTranslation(0, 0, -20);
    renderer.SetView(view);
    renderer.SetWorld(world);
    EXPECT_EQ(d3d.device.constantOrder, (std::vector<DWORD>{8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7}));
    CMatrix vp;
    projection.PreMultiply(vp, view);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_FLOAT_EQ(d3d.device.constants[4 + r][c], vp(c, r));
    // A reset device has lost them: the next item uploads them again.
    ASSERT_EQ(renderer.ResetDevice(), 0);
    d3d.device.constantOrder.clear();
    renderer.SetWorld(world);
    EXPECT_EQ(d3d.device.constantOrder, (std::vector<DWORD>{8, 9, 10, 11, 0, 1, 2, 3, 4, 5, 6, 7}));
}

// Texture binding through the stage cache.
std::vector<std::pair<CTexture*, int>> g_binds;
void RecordBind(CTexture* texture, int stage) { g_binds.push_back({texture, stage}); }

TEST_F(RendererTest, StageCacheSkipsRepeatedBindsAndIsEmptiedByResetAndModeChange) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    SetTextureStageBinder(RecordBind);
    g_binds.clear();
    CTexture* a = reinterpret_cast<CTexture*>(0x1000);
    CTexture* b = reinterpret_cast<CTexture*>(0x2000);
    {
        CRenderer renderer(window, 320, 240, true, false);
        CRecordingDevice& device = d3d.device;
        renderer.SetTexture(0, a);
        renderer.SetTexture(0, a);
        renderer.SetTexture(1, a);
        renderer.SetTexture(0, b);
        EXPECT_EQ(g_binds, (std::vector<std::pair<CTexture*, int>>{{a, 0}, {a, 1}, {b, 0}}));
        device.calls.clear();
        renderer.SetTexture(0, nullptr);
        renderer.SetTexture(0, nullptr);
        renderer.SetTexture(5, nullptr);
        renderer.SetTexture(8, a); // no such stage
        EXPECT_EQ(device.calls, (std::vector<std::string>{"SetTexture 0 null"}));

        // A reset unbinds every stage and stream before Reset and forgets the cache.
        device.calls.clear();
        ASSERT_EQ(renderer.ResetDevice(), 0);
        int reset = device.Find("Reset");
        ASSERT_GE(reset, 0);
        for (int stage = 0; stage < 8; ++stage) {
            int unbind = device.Find("SetTexture " + std::to_string(stage) + " null");
            EXPECT_GE(unbind, 0);
            EXPECT_LT(unbind, reset);
        }
        for (int stream = 0; stream < 2; ++stream) {
            int unbind = device.Find("SetStreamSource " + std::to_string(stream) + " null");
            EXPECT_GE(unbind, 0);
            EXPECT_LT(unbind, reset);
        }
        EXPECT_LT(device.Find("SetIndices null"), reset);
        EXPECT_EQ(renderer.GetStageTexture(1), nullptr);
        g_binds.clear();
        renderer.SetTexture(1, a);
        EXPECT_EQ(g_binds.size(), 1u);

        // So does a mode change.
        g_binds.clear();
        ASSERT_EQ(renderer.ChangeMode(400, 300, true), 0);
        renderer.SetTexture(1, a);
        EXPECT_EQ(g_binds.size(), 1u);
    }
    SetTextureStageBinder(nullptr);
}

// A resource that counts the device-object walks.
struct CountingResource : CResource {
    int released = 0, restored = 0;
    CountingResource() : CResource("counting", RT_TEXTURE) {}
    void ReleaseDeviceObjects() override { ++released; }
    void RestoreDeviceObjects() override { ++restored; }
};

TEST_F(RendererTest, ResetAndModeChangeRewriteTheLogAndKeepTheHandlerAside) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    CRenderer renderer(window, 320, 240, true, false);
    CountingResource* resource = new CountingResource(); // owned by the renderer's registry
    CRecordingDevice& device = d3d.device;

    ASSERT_EQ(renderer.ResetDevice(), 0);
    EXPECT_EQ(ReadInitLog(),
              "Start Initial Window Mode...\nUse Hardware Processing\n" + Tries("D3DFMT_X8R8G8B8", GROUP0, 1));
    EXPECT_EQ(d3d.creates.size(), 2u); // the first set-up only: a reset uses Reset
    EXPECT_EQ(device.resets.size(), 2u);
    EXPECT_EQ(device.target.refs, 2u); // held once, not leaked by the reset
    EXPECT_EQ(device.depth.refs, 2u);

    // A mode change to full screen that nothing accepts: negative, no scene begun, no handler.
    const std::set<FormatPair> none;
    device.accepted = &none;
    device.calls.clear();
    device.resets.clear();
    EXPECT_LT(renderer.ChangeMode(640, 480, false), 0);
    device.accepted = &d3d.accepted;
    EXPECT_EQ(g_failures, 0);
    EXPECT_EQ(device.resets.size(), 28u);
    EXPECT_EQ(device.Count("BeginScene"), 0);
    EXPECT_EQ(resource->released, 1);
    EXPECT_EQ(resource->restored, 0);
    EXPECT_NE(ReadInitLog().find("Start Initial FullScreen Mode...\n"), std::string::npos);
    EXPECT_EQ(DeviceFailureHandler, &CountFailure);

    // Back to a window: restored, c74 reset, scene begun once.
    device.calls.clear();
    device.constants.erase(74);
    EXPECT_EQ(renderer.ChangeMode(320, 240, true), 0);
    EXPECT_EQ(device.Count("BeginScene"), 1);
    EXPECT_EQ(device.Count("EndScene"), 1);
    EXPECT_EQ(resource->restored, 1);
    EXPECT_EQ((device.constants[74]), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(renderer.GetWidth(), 320);
}

// A system object stand-in: counts updates and ends the loop on a chosen pass.
class CLoopRenderer : public CConsoleRenderer {
public:
    using CConsoleRenderer::CConsoleRenderer;

    int quitOnPass = 1;  // PostQuitMessage during this pass's first update
    int closeOnPass = 0; // Update answers 1 on this pass
    int stallOnPass = 0; // the first update of this pass takes 500 ms
    int passes = 0;
    std::vector<int> updatesPerPass;
    std::vector<bool> firstFlags;
    std::vector<int> presentsBeforePass;
    int loopStarts = 0, loopEnds = 0;

    void OnLoopStart() override { ++loopStarts; }
    int OnLoopEnd() override { return ++loopEnds + 40; }
    int Update(float stepMs) override {
        EXPECT_FLOAT_EQ(stepMs, 16.6667f);
        firstFlags.push_back(IsFirstUpdate());
        if (IsFirstUpdate()) {
            ++passes;
            updatesPerPass.push_back(0);
            presentsBeforePass.push_back(g_d3d->device.Count("Present"));
            if (passes == quitOnPass)
                PostQuitMessage(0);
            if (passes == stallOnPass)
                Sleep(500);
        }
        ++updatesPerPass.back();
        return passes == closeOnPass ? 1 : 0;
    }
};

TEST_F(RendererTest, QuitEndsThePassBeforeItIsPresented) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    for (int quitOnPass : {1, 3}) {
        SCOPED_TRACE(quitOnPass);
        CLoopRenderer renderer(window, 320, 240, true, false);
        renderer.quitOnPass = quitOnPass;
        d3d.device.calls.clear();
        int stamp = FrameStamp;
        EXPECT_EQ(renderer.Run(), 41);
        EXPECT_EQ(renderer.loopStarts, 1);
        EXPECT_EQ(renderer.passes, quitOnPass);
        EXPECT_EQ(d3d.device.Count("Present"), quitOnPass - 1);
        EXPECT_EQ(d3d.device.Count("EndScene"), quitOnPass - 1);
        // Every presented pass begins and clears the next scene.
        EXPECT_EQ(d3d.device.Count("BeginScene"), quitOnPass - 1);
        EXPECT_EQ(d3d.device.Count("Clear 3 ff0000ff 1"), quitOnPass - 1);
        EXPECT_EQ(FrameStamp - stamp, quitOnPass);
    }
}

TEST_F(RendererTest, UpdateAskingToCloseSendsCloseToTheWindow) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    CLoopRenderer renderer(window, 320, 240, true, false);
    renderer.quitOnPass = 0;
    renderer.closeOnPass = 2;
    renderer.Run();
    EXPECT_EQ(g_closes, 1);
    EXPECT_EQ(renderer.passes, 2);
    EXPECT_EQ(d3d.device.Count("Present"), 1);
}

TEST_F(RendererTest, StallRunsFourUpdatesAndDropsTheRest) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    CLoopRenderer renderer(window, 320, 240, true, false);
    renderer.stallOnPass = 2;
    renderer.quitOnPass = 4;
    renderer.ResetFrameTimer();
    renderer.Run();
    ASSERT_EQ(renderer.updatesPerPass.size(), 4u);
    EXPECT_EQ(renderer.updatesPerPass[2], 4);
    // The flag is set for the first update of each pass only.
    int firsts = 0;
    for (bool first : renderer.firstFlags)
        firsts += first;
    EXPECT_EQ(firsts, 4);
    EXPECT_TRUE(renderer.firstFlags[0]);
    EXPECT_GE(renderer.GetLastWorkTime(), 0.0f);
}

// The draw-list pass: counts, and on its second call leaves an off-screen target current.
int g_drawListPasses = 0;
void CountDrawListPass() {
    if (++g_drawListPasses == 2)
        CRenderer::Current()->SetOffscreenTarget(reinterpret_cast<CTexture*>(0x3000));
}

TEST_F(RendererTest, EachPassRendersTheDrawListsAndReturnsToTheScreen) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    g_drawListPasses = 0;
    SetDrawListPass(CountDrawListPass);
    CLoopRenderer renderer(window, 320, 240, true, false);
    renderer.quitOnPass = 3;
    d3d.device.calls.clear();
    renderer.Run();
    SetDrawListPass(nullptr);
    EXPECT_EQ(g_drawListPasses, 3);
    // Only the pass that left a texture target bound goes back to the main target.
    EXPECT_EQ(d3d.device.Count("SetRenderTarget main"), 1);
    int restore = d3d.device.Find("SetRenderTarget main");
    ASSERT_GE(restore, 0);
    EXPECT_EQ(d3d.device.Find("Clear 3 ff0000ff 1", restore), restore + 1);
    EXPECT_EQ(renderer.GetOffscreenTarget(), nullptr);
}

void RecordLost(int state) { g_d3d->device.Record("lost " + std::to_string(state)); }

TEST_F(RendererTest, LostDeviceIsResetWhenItCanBeAndTheSceneBegunOnce) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}};
    CLoopRenderer renderer(window, 320, 240, true, false);
    CountingResource* resource = new CountingResource();
    renderer.SetDeviceLostCallback(RecordLost);
    CRecordingDevice& device = d3d.device;
    device.presentResults = {D3DERR_DEVICELOST, D3DERR_DEVICELOST};
    device.cooperativeLevel = D3DERR_DEVICELOST;
    renderer.quitOnPass = 2;
    device.calls.clear();
    renderer.Run();
    // Still lost: windows back, nothing reset.
    EXPECT_EQ(device.Count("lost 0"), 1);
    EXPECT_EQ(device.Count("Reset"), 0);
    EXPECT_EQ(resource->released, 0);

    // Ready to be reset.
    device.cooperativeLevel = D3DERR_DEVICENOTRESET;
    device.constants.erase(74);
    renderer.passes = 0;
    device.calls.clear();
    renderer.Run();
    EXPECT_EQ(device.Count("lost 1"), 1);
    EXPECT_EQ(resource->released, 1);
    EXPECT_EQ(resource->restored, 1);
    int reset = device.Find("Reset");
    ASSERT_GE(reset, 0);
    EXPECT_EQ(device.Count("BeginScene"), 1);
    EXPECT_GT(device.Find("BeginScene"), reset);
    EXPECT_EQ((device.constants[74]), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(ReadInitLog(),
              "Start Initial Window Mode...\nUse Hardware Processing\n" + Tries("D3DFMT_X8R8G8B8", GROUP0, 1));
}

TEST_F(RendererTest, PacingSleepsTheRestOfThePeriodOnlyInAWindow) {
    d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D32}};
    {
        CRenderer renderer(window, 320, 240, true, false);
        renderer.ResetFrameTimer();
        renderer.PaceFrame();
        EXPECT_GE(renderer.GetLastFrameTime(), 15.0f);
        EXPECT_LT(renderer.GetLastWorkTime(), renderer.GetLastFrameTime());
    }
    {
        CRenderer renderer(window, 640, 480, false, false);
        ASSERT_NE(renderer.GetDevice(), nullptr);
        renderer.ResetFrameTimer();
        renderer.PaceFrame();
        EXPECT_LT(renderer.GetLastFrameTime(), 12.0f); // the vertical-sync copy paces full screen
    }
}

TEST(Timer, MeasuresElapsedMillisecondsAndCountsLiveTimers) {
    int before = CTimer::LiveCount();
    {
        CTimer outer;
        {
            CTimer inner;
            EXPECT_EQ(CTimer::LiveCount(), before + 2);
        }
        EXPECT_EQ(CTimer::LiveCount(), before + 1);
        outer.Reset();
        Sleep(30);
        float elapsed = outer.Elapsed();
        EXPECT_GE(elapsed, 25.0f);
        EXPECT_LT(elapsed, 2000.0f);
        outer.Reset();
        EXPECT_LT(outer.Elapsed(), elapsed);
    }
    EXPECT_EQ(CTimer::LiveCount(), before);
}

} // namespace
