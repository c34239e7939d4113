#pragma once
// A renderer on the recording Direct3D 8 stand-in whose passes run the
// fixed-step updates (the first of which may queue scenes) and then the
// draw-list pass, as the frame loop does; and the fixture that builds one.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <memory>

#include "engine/drawlist/DrawList.h"
#include "tests/engine/render/RecordingD3d.h"
#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"

class CPassRenderer : public CRenderer {
public:
    using CRenderer::CRenderer;

    // Runs during the first update of each pass only.
    std::function<void()> queue;

    int Update(float) override {
        if (IsFirstUpdate() && queue)
            queue();
        return 0;
    }
    // One pass of the frame loop, up to the draw lists and the frame stamp.
    void Pass() { RunUpdates(); }
};

// A 320x240 windowed CPassRenderer on D3d (a CRecordingD3dOf), with the
// device's record emptied after the renderer's own set-up. Tear-down puts
// back the material ambient and clears the hooks a test may have set.
template <class D3d>
class PassRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        s_d3d = &d3d;
        d3d.accepted = {{D3DFMT_X8R8G8B8, D3DFMT_D24X8}, {D3DFMT_X8R8G8B8, D3DFMT_D32}};
        SetDirect3DFactory(MakeD3d);
        renderer = std::make_unique<CPassRenderer>(nullptr, 320, 240, true, false);
        ASSERT_EQ(renderer->GetDevice(), &d3d.device);
        Forget();
    }
    void TearDown() override {
        renderer.reset();
        MaterialAmbient().Set(0.8f, 0.8f, 0.8f, 0.0f);
        SetDrawListPass(nullptr);
        SetConsoleFactory(nullptr);
        SetDirect3DFactory(nullptr);
        s_d3d = nullptr;
    }

    decltype(D3d::device)& device() { return d3d.device; }
    virtual void Forget() {
        device().calls.clear();
        device().constants.clear();
        device().constantOrder.clear();
    }
    std::array<float, 4> Constant(DWORD reg) { return device().constants[reg]; }
    bool Written(DWORD reg) { return device().constants.count(reg) != 0; }

    D3d d3d;
    std::unique_ptr<CPassRenderer> renderer;

private:
    static IDirect3D8* MakeD3d(unsigned) {
        s_d3d->AddRef();
        return s_d3d;
    }
    static inline D3d* s_d3d = nullptr;
};

using RecordingRendererTest = PassRendererTest<CRecordingD3d>;

// Element-wise comparison of a register with a float tolerance.
inline ::testing::AssertionResult NearVector(const std::array<float, 4>& actual, const std::array<float, 4>& expected,
                                             float tolerance = 1e-5f) {
    for (int i = 0; i < 4; ++i)
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure()
                   << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ", " << actual[3] << ") != ("
                   << expected[0] << ", " << expected[1] << ", " << expected[2] << ", " << expected[3] << ")";
    return ::testing::AssertionSuccess();
}
