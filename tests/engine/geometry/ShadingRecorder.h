#pragma once
// A recording Direct3D 8 whose device also keeps what the shaders and
// geometry give it: vertex and index buffers with their bytes and locks,
// vertex programs made and deleted, and each indexed draw with the buffers,
// cull mode and program it used; the pass-renderer fixture on it, also with
// a scene to draw.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/camera/CameraResource.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/scene/Transform.h"
#include "engine/texture/Texture.h"
#include "engine/texture/TextureDevice.h"

template <class Interface, class Desc>
class CRecordingBuffer : public Interface {
public:
    explicit CRecordingBuffer(UINT length, DWORD usage, D3DPOOL pool) : bytes(length, 0xCD), usage(usage), pool(pool) {}

    std::vector<uint8_t> bytes;
    DWORD usage;
    D3DPOOL pool;
    ULONG refs = 1;
    int locks = 0;
    std::vector<DWORD> lockFlags;
    std::vector<UINT> lockSizes;
    bool locked = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8**) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return D3DERR_INVALIDCALL; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE GetPriority() override { return 0; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, BYTE** data, DWORD flags) override {
        if (locked || offset > bytes.size() || size > bytes.size() - offset) {
            *data = nullptr;
            return D3DERR_INVALIDCALL;
        }
        ++locks;
        lockFlags.push_back(flags);
        lockSizes.push_back(size);
        locked = true;
        *data = bytes.data() + offset;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE Unlock() override {
        if (!locked)
            return D3DERR_INVALIDCALL;
        locked = false;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDesc(Desc*) override { return D3DERR_INVALIDCALL; }
};

using CRecordingVertexBuffer = CRecordingBuffer<IDirect3DVertexBuffer8, D3DVERTEXBUFFER_DESC>;
using CRecordingIndexBuffer = CRecordingBuffer<IDirect3DIndexBuffer8, D3DINDEXBUFFER_DESC>;

struct IndexedDraw {
    D3DPRIMITIVETYPE type;
    UINT vertices;
    UINT primitives;
    IDirect3DVertexBuffer8* stream;
    UINT stride;
    IDirect3DIndexBuffer8* indices;
    DWORD cull;
    DWORD zWrite;
    DWORD program;
};

class CShadingDevice : public CRecordingDevice {
public:
    std::vector<std::unique_ptr<CRecordingVertexBuffer>> vertexBuffers;
    std::vector<std::unique_ptr<CRecordingIndexBuffer>> indexBuffers;
    std::vector<IndexedDraw> draws;
    // Programs by handle; made and deleted counts.
    std::set<DWORD> livePrograms;
    int programsMade = 0;
    int programsDeleted = 0;
    DWORD nextProgram = 100;
    DWORD program = 0;
    IDirect3DVertexBuffer8* stream = nullptr;
    UINT stride = 0;
    IDirect3DIndexBuffer8* indices = nullptr;

    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD, D3DPOOL pool,
                                                 IDirect3DVertexBuffer8** out) override {
        Record("CreateVertexBuffer");
        vertexBuffers.emplace_back(new CRecordingVertexBuffer(length, usage, pool));
        *out = vertexBuffers.back().get();
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT, D3DPOOL pool,
                                                IDirect3DIndexBuffer8** out) override {
        Record("CreateIndexBuffer");
        indexBuffers.emplace_back(new CRecordingIndexBuffer(length, usage, pool));
        *out = indexBuffers.back().get();
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD*, const DWORD*, DWORD* handle, DWORD) override {
        Record("CreateVertexShader");
        *handle = nextProgram++;
        livePrograms.insert(*handle);
        ++programsMade;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DeleteVertexShader(DWORD handle) override {
        Record("DeleteVertexShader");
        if (livePrograms.erase(handle))
            ++programsDeleted;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD handle) override {
        Record("SetVertexShader");
        program = handle;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT number, IDirect3DVertexBuffer8* buffer, UINT bytes) override {
        Record("SetStreamSource " + std::to_string(number) + (buffer ? " buffer" : " null"));
        if (number == 0)
            stream = buffer, stride = bytes;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer8* buffer, UINT) override {
        Record(std::string("SetIndices") + (buffer ? " buffer" : " null"));
        indices = buffer;
        return D3D_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT, UINT vertices, UINT,
                                                   UINT primitives) override {
        Record("DrawIndexedPrimitive");
        draws.push_back({type, vertices, primitives, stream, stride, indices, renderStates[D3DRS_CULLMODE],
                         renderStates[D3DRS_ZWRITEENABLE], program});
        return D3D_OK;
    }

    CRecordingVertexBuffer* VertexBuffer(IDirect3DVertexBuffer8* buffer) {
        for (auto& b : vertexBuffers)
            if (b.get() == buffer)
                return b.get();
        return nullptr;
    }
};

using CShadingD3d = CRecordingD3dOf<CShadingDevice>;

// The pass-renderer fixture on the shading device, with the draw-list hooks
// installed and the texture binds the stage cache lets through recorded.
class ShadingTest : public PassRendererTest<CShadingD3d> {
protected:
    void SetUp() override {
        s_bound.clear();
        SetTextureStageBinder(RecordBind);
        InstallDrawListHooks();
        PassRendererTest::SetUp();
    }
    void TearDown() override {
        PassRendererTest::TearDown();
        SetTextureStageBinder(nullptr);
    }

    void Forget() override {
        PassRendererTest::Forget();
        device().draws.clear();
    }

    // (texture, stage) of every bind the renderer's stage cache let through.
    static inline std::vector<std::pair<CTexture*, int>> s_bound;

private:
    static void RecordBind(CTexture* texture, int stage) { s_bound.push_back({texture, stage}); }
};

// A shading fixture with a scene: a draw list, a camera five units back
// along +z and a root to hang shapes under.
class SceneShadingTest : public ShadingTest {
protected:
    void SetUp() override {
        ShadingTest::SetUp();
        list = std::make_unique<CSceneDrawList>(0, 16, 64, 4, 16);
        eye = new CTransform("eye");
        eye->SetTranslation(0, 0, 5);
        camera = new CCameraResource("camera");
        eye->AddChild(camera);
        camera->SetFarDistance(100);
        root = new CTransform("root");
    }
    void TearDown() override {
        list.reset();
        ShadingTest::TearDown();
    }

    // One pass whose first update queues the root, then runs more.
    void Draw(const std::function<void()>& more = nullptr) {
        renderer->queue = [this, more] {
            list->AddTree(root, camera, true);
            if (more)
                more();
        };
        Forget();
        renderer->Pass();
    }

    std::unique_ptr<CSceneDrawList> list;
    CTransform* eye = nullptr;
    CCameraResource* camera = nullptr;
    CTransform* root = nullptr;
};

// Vertex bytes of floats.
inline std::vector<uint8_t> FloatBytes(const std::vector<float>& values) {
    std::vector<uint8_t> bytes(values.size() * sizeof(float));
    if (!values.empty())
        std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

// A device-free frame that only reports its format.
class CFormatFrame : public CTextureFrame {
public:
    explicit CFormatFrame(uint32_t format) : m_format(format) {}
    uint32_t GetFormat() const override { return m_format; }

private:
    uint32_t m_format;
};

// A texture in the current registry with one frame of a D3DFORMAT value, or
// with no frame for format 0; made without a device.
inline CTexture* MakeTestTexture(const char* name, uint32_t format) {
    CTexture* texture = new CTexture(name, TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1, false);
    if (format)
        texture->AppendFrame(new CFormatFrame(format));
    return texture;
}
