// Lights and light sets: the kind a set reports, and the constants each kind
// of light uploads for the shape being drawn.
#include <gtest/gtest.h>

#include <vector>

#include "engine/drawlist/DrawList.h"
#include "engine/light/Light.h"
#include "engine/light/LightSet.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/scene/Transform.h"

namespace {

CMatrix MatrixOf(const float (&values)[16]) {
    CMatrix m;
    for (int i = 0; i < 16; ++i)
        m(i / 4, i % 4) = values[i];
    return m;
}

using LightTest = RecordingRendererTest;

TEST_F(LightTest, KindCountsTheLightsThatResolve) {
    CAmbientLight ambient;
    CDirectionalLight* d[3] = {new CDirectionalLight("d0"), new CDirectionalLight("d1"), new CDirectionalLight("d2")};
    CPointLight* p[3] = {new CPointLight("p0"), new CPointLight("p1"), new CPointLight("p2")};
    struct Case {
        const char* what;
        bool ambient;
        CLightObject* slots[3];
        LightSetKind kind;
    } cases[] = {
        {"ambient only", true, {}, LS_A1},
        {"ambient and a point", true, {p[0]}, LS_A1P1},
        {"ambient and a directional", true, {d[0]}, LS_A1D1},
        {"a point without ambient", false, {p[0]}, LS_NON},
        {"three without ambient", false, {d[0], d[1], p[0]}, LS_NON},
        {"two directionals and a point", true, {d[0], d[1], p[0]}, LS_A1D2P1},
        {"a directional and two points", true, {p[0], d[0], p[1]}, LS_A1D1P2},
        {"three directionals", true, {d[0], d[1], d[2]}, LS_A1D3},
        {"three points", true, {p[0], p[1], p[2]}, LS_A1P3},
        {"a directional in the last slot", true, {nullptr, nullptr, d[2]}, LS_A1D1},
        {"an ambient light in a slot counts as nothing", true, {&ambient, p[1]}, LS_A1P1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLightSet set;
        if (c.ambient)
            set.SetAmbient(&ambient);
        for (int i = 0; i < 3; ++i)
            set.SetLight(i, c.slots[i]);
        EXPECT_EQ(set.GetKind(), c.kind);
    }

    // Deleted lights stop counting; a deleted ambient light makes the set unlit.
    CLightSet set;
    auto* ambient2 = new CAmbientLight();
    set.SetAmbient(ambient2);
    set.SetLight(0, d[0]);
    set.SetLight(1, p[0]);
    EXPECT_EQ(set.GetKind(), LS_A1D1P1);
    delete static_cast<CNode*>(p[0]); // a node light goes through its node
    EXPECT_EQ(set.GetKind(), LS_A1D1);
    set.SetLight(3, p[1]); // no such slot
    set.SetLight(-1, p[1]);
    EXPECT_EQ(set.GetKind(), LS_A1D1);
    delete ambient2;
    EXPECT_EQ(set.GetKind(), LS_NON);

    for (CDirectionalLight* light : d)
        delete light;
    delete p[1];
    delete p[2];
}

TEST_F(LightTest, UploadsEachKindInObjectViewAndWorldSpace) {
    // The light placements: the directional's +Z row is (0, 3, 4), left
    // unnormalised; the point sits at (1, 2, 3).
    CTransform* dirPlace = new CTransform("dirPlace");
    dirPlace->SetLocalMatrix(MatrixOf({1, 0, 0, 0, 0, 0, 1, 0, 0, 3, 4, 0, 9, 9, 9, 1}));
    CTransform* pointPlace = new CTransform("pointPlace");
    pointPlace->SetLocalMatrix(MatrixOf({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));

    CAmbientLight ambient;
    ambient.SetColor(ColorRGBA(0.1f, 0.2f, 0.3f, 0.4f));
    auto* directional = new CDirectionalLight("sun");
    directional->SetColor(ColorRGBA(1, 0.5f, 0.25f, 1));
    dirPlace->AddChild(directional);
    auto* point = new CPointLight("lamp");
    point->SetColor(ColorRGBA(0.5f, 0.5f, 1, 0));
    pointPlace->AddChild(point);

    CLightSet set;
    set.SetAmbient(&ambient);
    set.SetLight(1, directional);
    set.SetLight(2, point);

    // View: a quarter turn about Z, then 10 back; the drawn shape is scaled by
    // 2 and moved to (5, 6, 7).
    renderer->SetView(MatrixOf({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1}));
    renderer->SetWorld(MatrixOf({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1}));
    MaterialAmbient().Set(0.5f, 0.5f, 0.5f, 0);
    device().constants.clear();
    device().constantOrder.clear();

    set.Apply();

    EXPECT_TRUE(NearVector(Constant(80), {0.6f, 0.7f, 0.8f, 0.4f}));
    // Directional in slot 1: c86-c89.
    EXPECT_TRUE(NearVector(Constant(86), {1, 0.5f, 0.25f, 1}));
    EXPECT_TRUE(NearVector(Constant(87), {0, 0.3f, 0.4f, 0.5f})); // (0, 1.5, 2) normalised, halved
    EXPECT_TRUE(NearVector(Constant(88), {-1.5f, 0, 2, 0.5f}));   // (-3, 0, 4) halved
    EXPECT_TRUE(NearVector(Constant(89), {0, 3, 4, 0}));
    // Point in slot 2: c91-c94.
    EXPECT_TRUE(NearVector(Constant(91), {0.5f, 0.5f, 1, 0}));
    EXPECT_TRUE(NearVector(Constant(92), {-2, -2, -2, 1}));
    EXPECT_TRUE(NearVector(Constant(93), {-2, 1, -7, 1}));
    EXPECT_TRUE(NearVector(Constant(94), {1, 2, 3, 1}));
    // The fifth register of a slot and the empty slot 0 are left alone.
    for (DWORD reg : {81u, 82u, 83u, 84u, 85u, 90u, 95u})
        EXPECT_FALSE(Written(reg)) << "c" << reg;
    const std::vector<DWORD> order = {80, 86, 87, 88, 89, 91, 92, 93, 94};
    EXPECT_EQ(device().constantOrder, order);

    // The material ambient was used up: the next pair gets the light alone.
    EXPECT_TRUE(
        NearVector({MaterialAmbient().r, MaterialAmbient().g, MaterialAmbient().b, MaterialAmbient().a}, {0, 0, 0, 0}));
    set.Apply();
    EXPECT_TRUE(NearVector(Constant(80), {0.1f, 0.2f, 0.3f, 0.4f}));

    // A deleted light is skipped, the others still upload.
    delete static_cast<CNode*>(point);
    device().constantOrder.clear();
    set.Apply();
    const std::vector<DWORD> withoutPoint = {80, 86, 87, 88, 89};
    EXPECT_EQ(device().constantOrder, withoutPoint);

    delete static_cast<CNode*>(directional);
    delete dirPlace;
    delete pointPlace;
}

TEST_F(LightTest, NodeLightWithoutPlacementShinesAlongZFromTheOrigin) {
    CDirectionalLight directional("loose");
    CPointLight point("loosePoint");
    directional.Upload(0);
    point.Upload(1);
    EXPECT_TRUE(NearVector(Constant(84), {0, 0, 1, 0}));
    EXPECT_TRUE(NearVector(Constant(89), {0, 0, 0, 1}));
    // A slot outside 0-2 writes nothing.
    device().constantOrder.clear();
    directional.Upload(3);
    point.Upload(-1);
    EXPECT_TRUE(device().constantOrder.empty());
}

} // namespace
