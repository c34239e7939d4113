#pragma once
// Recording stand-ins for the Direct3D 8 interfaces: every call the renderer
// makes is written to a call list, and the answers that matter (the desktop
// format, the format pairs a device accepts, Present and the cooperative
// level) are scripted by the test. The objects belong to the test; Release
// only counts.
#include <windows.h>
#include <d3d8.h>

#include <array>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CRecordingSurface : public IDirect3DSurface8 {
public:
    ULONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetDevice(struct IDirect3DDevice8** ppDevice) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID refguid, const void* data, DWORD data_size, DWORD flags) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID refguid, void* pData, DWORD* pSizeOfData) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID refguid) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID riid, void** ppContainer) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* pDesc) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* locked_rect, const RECT* rect, DWORD flags) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE UnlockRect() override { return D3DERR_INVALIDCALL; }
};

using FormatPair = std::pair<D3DFORMAT, D3DFORMAT>; // (back buffer, depth)

class CRecordingDevice : public IDirect3DDevice8 {
public:
    std::vector<std::string> calls;
    ULONG refs = 1;
    // Script.
    const std::set<FormatPair>* accepted = nullptr; // what Reset accepts
    std::deque<HRESULT> presentResults;             // one per Present; D3D_OK when empty
    HRESULT cooperativeLevel = D3D_OK;
    DWORD maxStreams = 2;
    bool failDepthSurface = false;
    // Record.
    std::vector<D3DPRESENT_PARAMETERS> resets;
    std::map<DWORD, std::array<float, 4>> constants;
    std::vector<DWORD> constantOrder;
    std::map<DWORD, DWORD> renderStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;
    CRecordingSurface target, depth;

    void Record(const std::string& call) { calls.push_back(call); }
    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls)
            n += c == call;
        return n;
    }
    // Index of the first call equal to `call` at or after `from`, or -1.
    int Find(const std::string& call, size_t from = 0) const {
        for (size_t i = from; i < calls.size(); ++i)
            if (calls[i] == call)
                return (int)i;
        return -1;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override {
        Record("TestCooperativeLevel");
        return cooperativeLevel;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS8* caps) override {
        Record("GetDeviceCaps");
        *caps = D3DCAPS8{};
        caps->MaxStreams = maxStreams;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* params) override {
        Record("Reset");
        resets.push_back(*params);
        if (accepted && !accepted->count({params->BackBufferFormat, params->AutoDepthStencilFormat}))
            return D3DERR_INVALIDCALL;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
        Record("Present");
        if (presentResults.empty())
            return D3D_OK;
        HRESULT hr = presentResults.front();
        presentResults.pop_front();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(IDirect3DSurface8** surface) override {
        Record("GetRenderTarget");
        target.AddRef();
        *surface = &target;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface8** surface) override {
        Record("GetDepthStencilSurface");
        if (failDepthSurface) {
            *surface = nullptr;
            return D3DERR_NOTFOUND;
        }
        depth.AddRef();
        *surface = &depth;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(IDirect3DSurface8* t, IDirect3DSurface8* d) override {
        Record(std::string("SetRenderTarget") + (t == &target && d == &depth ? " main" : " other"));
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginScene() override {
        Record("BeginScene");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE EndScene() override {
        Record("EndScene");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Clear(DWORD, const D3DRECT*, DWORD flags, D3DCOLOR color, float z, DWORD) override {
        char text[64];
        snprintf(text, sizeof text, "Clear %lx %08lx %g", (unsigned long)flags, (unsigned long)color, z);
        Record(text);
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
        Record("SetRenderState");
        renderStates[state] = value;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override {
        Record("SetTexture " + std::to_string(stage) + (texture ? " texture" : " null"));
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
        Record("SetTextureStageState");
        stageStates[{stage, (DWORD)type}] = value;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstant(DWORD reg, const void* data, DWORD count) override {
        Record("SetVertexShaderConstant " + std::to_string(reg));
        const float* values = (const float*)data;
        for (DWORD i = 0; i < count; ++i) {
            constants[reg + i] = {values[4 * i], values[4 * i + 1], values[4 * i + 2], values[4 * i + 3]};
            constantOrder.push_back(reg + i);
        }
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT) override {
        Record("SetStreamSource " + std::to_string(stream) + (buffer ? " buffer" : " null"));
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer8* buffer, UINT) override {
        Record(std::string("SetIndices") + (buffer ? " buffer" : " null"));
        return D3D_OK;
    }
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override {
        Record("GetAvailableTextureMem");
        return 0;
    }
    HRESULT STDMETHODCALLTYPE ResourceManagerDiscardBytes(DWORD Bytes) override {
        Record("ResourceManagerDiscardBytes");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D8** ppD3D8) override {
        Record("GetDirect3D");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayMode(D3DDISPLAYMODE* pMode) override {
        Record("GetDisplayMode");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* pParameters) override {
        Record("GetCreationParameters");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT XHotSpot, UINT YHotSpot,
                                                  IDirect3DSurface8* pCursorBitmap) override {
        Record("SetCursorProperties");
        return D3D_OK;
    }
    void STDMETHODCALLTYPE SetCursorPosition(UINT XScreenSpace, UINT YScreenSpace, DWORD Flags) override {
        Record("SetCursorPosition");
    }
    WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL bShow) override {
        Record("ShowCursor");
        return 0;
    }
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* pPresentationParameters,
                                                        IDirect3DSwapChain8** pSwapChain) override {
        Record("CreateAdditionalSwapChain");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT BackBuffer, D3DBACKBUFFER_TYPE Type,
                                            IDirect3DSurface8** ppBackBuffer) override {
        Record("GetBackBuffer");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRasterStatus(D3DRASTER_STATUS* pRasterStatus) override {
        Record("GetRasterStatus");
        return D3D_OK;
    }
    void STDMETHODCALLTYPE SetGammaRamp(DWORD flags, const D3DGAMMARAMP* ramp) override { Record("SetGammaRamp"); }
    void STDMETHODCALLTYPE GetGammaRamp(D3DGAMMARAMP* pRamp) override { Record("GetGammaRamp"); }
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                            D3DPOOL Pool, IDirect3DTexture8** ppTexture) override {
        Record("CreateTexture");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage,
                                                  D3DFORMAT Format, D3DPOOL Pool,
                                                  IDirect3DVolumeTexture8** ppVolumeTexture) override {
        Record("CreateVolumeTexture");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                                D3DPOOL Pool, IDirect3DCubeTexture8** ppCubeTexture) override {
        Record("CreateCubeTexture");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                                 IDirect3DVertexBuffer8** ppVertexBuffer) override {
        Record("CreateVertexBuffer");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                                IDirect3DIndexBuffer8** ppIndexBuffer) override {
        Record("CreateIndexBuffer");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format,
                                                 D3DMULTISAMPLE_TYPE MultiSample, WINBOOL Lockable,
                                                 IDirect3DSurface8** ppSurface) override {
        Record("CreateRenderTarget");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                        D3DMULTISAMPLE_TYPE MultiSample,
                                                        IDirect3DSurface8** ppSurface) override {
        Record("CreateDepthStencilSurface");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateImageSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                 IDirect3DSurface8** ppSurface) override {
        Record("CreateImageSurface");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyRects(IDirect3DSurface8* src_surface, const RECT* src_rects, UINT rect_count,
                                        IDirect3DSurface8* dst_surface, const POINT* dst_points) override {
        Record("CopyRects");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture8* pSourceTexture,
                                            IDirect3DBaseTexture8* pDestinationTexture) override {
        Record("UpdateTexture");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFrontBuffer(IDirect3DSurface8* pDestSurface) override {
        Record("GetFrontBuffer");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        Record("SetTransform");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override {
        Record("GetTransform");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        Record("MultiplyTransform");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT8* viewport) override {
        Record("SetViewport");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT8* pViewport) override {
        Record("GetViewport");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8* material) override {
        Record("SetMaterial");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL8* pMaterial) override {
        Record("GetMaterial");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT8* light) override {
        Record("SetLight");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLight(DWORD Index, D3DLIGHT8* pLight) override {
        Record("GetLight");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, WINBOOL Enable) override {
        Record("LightEnable");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD Index, WINBOOL* pEnable) override {
        Record("GetLightEnable");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override {
        Record("SetClipPlane");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD Index, float* pPlane) override {
        Record("GetClipPlane");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override {
        Record("GetRenderState");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override {
        Record("BeginStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE EndStateBlock(DWORD* pToken) override {
        Record("EndStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE ApplyStateBlock(DWORD Token) override {
        Record("ApplyStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CaptureStateBlock(DWORD Token) override {
        Record("CaptureStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DeleteStateBlock(DWORD Token) override {
        Record("DeleteStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE Type, DWORD* pToken) override {
        Record("CreateStateBlock");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS8* clip_status) override {
        Record("SetClipStatus");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS8* pClipStatus) override {
        Record("GetClipStatus");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD Stage, IDirect3DBaseTexture8** ppTexture) override {
        Record("GetTexture");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override {
        Record("GetTextureStageState");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* pNumPasses) override {
        Record("ValidateDevice");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetInfo(DWORD DevInfoID, void* pDevInfoStruct, DWORD DevInfoStructSize) override {
        Record("GetInfo");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT palette_idx, const PALETTEENTRY* entries) override {
        Record("SetPaletteEntries");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT PaletteNumber, PALETTEENTRY* pEntries) override {
        Record("GetPaletteEntries");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT PaletteNumber) override {
        Record("SetCurrentTexturePalette");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* PaletteNumber) override {
        Record("GetCurrentTexturePalette");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                            UINT PrimitiveCount) override {
        Record("DrawPrimitive");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT minIndex, UINT NumVertices,
                                                   UINT startIndex, UINT primCount) override {
        Record("DrawIndexedPrimitive");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT primitive_count, const void* data,
                                              UINT stride) override {
        Record("DrawPrimitiveUP");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT min_vertex_idx,
                                                     UINT vertex_count, UINT primitive_count, const void* index_data,
                                                     D3DFORMAT index_format, const void* data, UINT stride) override {
        Record("DrawIndexedPrimitiveUP");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount,
                                              IDirect3DVertexBuffer8* pDestBuffer, DWORD Flags) override {
        Record("ProcessVertices");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* declaration, const DWORD* byte_code, DWORD* shader,
                                                 DWORD usage) override {
        Record("CreateVertexShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD Handle) override {
        Record("SetVertexShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShader(DWORD* pHandle) override {
        Record("GetVertexShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DeleteVertexShader(DWORD Handle) override {
        Record("DeleteVertexShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstant(DWORD Register, void* pConstantData,
                                                      DWORD ConstantCount) override {
        Record("GetVertexShaderConstant");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderDeclaration(DWORD Handle, void* pData, DWORD* pSizeOfData) override {
        Record("GetVertexShaderDeclaration");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderFunction(DWORD Handle, void* pData, DWORD* pSizeOfData) override {
        Record("GetVertexShaderFunction");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer8** ppStreamData,
                                              UINT* pStride) override {
        Record("GetStreamSource");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer8** ppIndexData, UINT* pBaseVertexIndex) override {
        Record("GetIndices");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* byte_code, DWORD* shader) override {
        Record("CreatePixelShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShader(DWORD Handle) override {
        Record("SetPixelShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShader(DWORD* pHandle) override {
        Record("GetPixelShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DeletePixelShader(DWORD Handle) override {
        Record("DeletePixelShader");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstant(DWORD reg_idx, const void* data, DWORD count) override {
        Record("SetPixelShaderConstant");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstant(DWORD Register, void* pConstantData,
                                                     DWORD ConstantCount) override {
        Record("GetPixelShaderConstant");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderFunction(DWORD Handle, void* pData, DWORD* pSizeOfData) override {
        Record("GetPixelShaderFunction");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT handle, const float* segment_count,
                                            const D3DRECTPATCH_INFO* patch_info) override {
        Record("DrawRectPatch");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT handle, const float* segment_count,
                                           const D3DTRIPATCH_INFO* patch_info) override {
        Record("DrawTriPatch");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT Handle) override {
        Record("DeletePatch");
        return D3D_OK;
    }
};

struct CreateDeviceCall {
    DWORD behaviour;
    D3DPRESENT_PARAMETERS params;
};

// Hands out its own device of type Device, a CRecordingDevice or a class
// that records more of it.
template <class Device>
class CRecordingD3dOf : public IDirect3D8 {
public:
    std::vector<std::string> calls;
    ULONG refs = 1;
    // Script.
    D3DFORMAT desktopFormat = D3DFMT_X8R8G8B8;
    HRESULT displayModeResult = D3D_OK;
    std::vector<D3DDISPLAYMODE> modes;
    DWORD vertexShaderVersion = D3DVS_VERSION(1, 1);
    std::set<FormatPair> accepted; // what CreateDevice (and the device's Reset) accepts
    // Record.
    std::vector<CreateDeviceCall> creates;
    Device device;

    CRecordingD3dOf() { device.accepted = &accepted; }

    void Record(const std::string& call) { calls.push_back(call); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT) override { return (UINT)modes.size(); }
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT, UINT mode, D3DDISPLAYMODE* out) override {
        if (mode >= modes.size())
            return D3DERR_INVALIDCALL;
        *out = modes[mode];
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT, D3DDISPLAYMODE* mode) override {
        Record("GetAdapterDisplayMode");
        *mode = D3DDISPLAYMODE{};
        mode->Width = 1024;
        mode->Height = 768;
        mode->RefreshRate = 60;
        mode->Format = desktopFormat;
        return displayModeResult;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT, D3DDEVTYPE, D3DCAPS8* caps) override {
        *caps = D3DCAPS8{};
        caps->VertexShaderVersion = vertexShaderVersion;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD behaviour, D3DPRESENT_PARAMETERS* params,
                                           IDirect3DDevice8** out) override {
        Record("CreateDevice");
        creates.push_back({behaviour, *params});
        if (!accepted.count({params->BackBufferFormat, params->AutoDepthStencilFormat})) {
            *out = nullptr;
            return D3DERR_NOTAVAILABLE;
        }
        device.AddRef();
        *out = &device;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* pInitializeFunction) override {
        Record("RegisterSoftwareDevice");
        return D3D_OK;
    }
    UINT STDMETHODCALLTYPE GetAdapterCount() override {
        Record("GetAdapterCount");
        return 0;
    }
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT Adapter, DWORD Flags,
                                                   D3DADAPTER_IDENTIFIER8* pIdentifier) override {
        Record("GetAdapterIdentifier");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT Adapter, D3DDEVTYPE CheckType, D3DFORMAT DisplayFormat,
                                              D3DFORMAT BackBufferFormat, WINBOOL Windowed) override {
        Record("CheckDeviceType");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                DWORD Usage, D3DRESOURCETYPE RType, D3DFORMAT CheckFormat) override {
        Record("CheckDeviceFormat");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat,
                                                         WINBOOL Windowed,
                                                         D3DMULTISAMPLE_TYPE MultiSampleType) override {
        Record("CheckDeviceMultiSampleType");
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT AdapterFormat,
                                                     D3DFORMAT RenderTargetFormat,
                                                     D3DFORMAT DepthStencilFormat) override {
        Record("CheckDepthStencilMatch");
        return D3D_OK;
    }
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT Adapter) override {
        Record("GetAdapterMonitor");
        return 0;
    }
};

using CRecordingD3d = CRecordingD3dOf<CRecordingDevice>;
