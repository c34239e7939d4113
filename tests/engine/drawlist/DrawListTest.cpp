// Draw lists on the recording device: depth buckets and their drawing order,
// camera records, camera changes between items, billboards, the palette
// cursor, the fixed-size arrays and the per-frame reset of the render pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/camera/CameraResource.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/drawlist/DrawList.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/spring/ColliderList.h"
#include "engine/spring/SpringGravity.h"

namespace {

// What the renderer held when a pair was drawn.
struct Drawn {
    std::string shape;
    bool depthWrites;
    CMatrix projection, view, world;
    int paletteCursor;
    ColorRGBA billboard;
};
std::vector<Drawn> g_drawn;
const float MARKER = 12345.0f;

// A constant shader that notes every pair it is applied for. After noting it
// scribbles on the renderer's view, so that an item drawn without its camera
// being set again shows the scribble. Its skin update pushes `pushes`
// matrices, as a skinned shader does.
class CNotingShader : public CShader {
public:
    CNotingShader(const char* name, bool translucent, int pushes = 0) : CShader(name, ST_CONSTANT), m_pushes(pushes) {
        SetColor(0.2f, 0.4f, 0.6f, translucent ? 0.5f : 1.0f);
    }
    void Apply() override {
        CShader::Apply();
        CRenderer* renderer = CRenderer::Current();
        CDrawList* list = GetCurrentDrawList();
        const auto& states = static_cast<CRecordingDevice*>(renderer->GetDevice())->renderStates;
        auto zwrite = states.find(D3DRS_ZWRITEENABLE);
        g_drawn.push_back({m_owner, zwrite != states.end() && zwrite->second == TRUE, renderer->GetProjection(),
                           renderer->GetView(), renderer->GetWorld(), list ? list->GetPaletteCursor() : -99,
                           BillboardColor()});
        CMatrix scribble;
        scribble(3, 3) = MARKER;
        renderer->SetView(scribble);
    }
    void UpdateSkin() override {
        for (int i = 0; i < m_pushes; ++i) {
            CMatrix m;
            m(3, 0) = (float)i;
            GetCurrentDrawList()->PushMatrix(m);
        }
    }
    std::string m_owner;

private:
    int m_pushes;
};

bool IsMarker(const CMatrix& view) { return view(3, 3) == MARKER; }

class DrawListTest : public RecordingRendererTest {
protected:
    void SetUp() override {
        RecordingRendererTest::SetUp();
        InstallDrawListHooks();
        g_drawn.clear();
        const float triangle[3][5] = {{0, 0, 0, 0, 0}, {1, 0, 0, 1, 0}, {0, 1, 0, 0, 1}};
        const uint16_t indices[3] = {0, 1, 2};
        geometry = new CIndexedGeometry("triangle", (1u << VE_POSITION) | (1u << VE_TEXCOORDINATE_0), 3, triangle);
        geometry->AddGroup(PT_TRIANGLE_LIST, 3, indices);
        scene = new CTransform("scene");
        list = new CSceneDrawList(0, 1024, 1024, 16, 1024);
        camera = MakeCamera("camera", 0, 0, 0);
    }
    void TearDown() override {
        delete list;
        RecordingRendererTest::TearDown(); // the registry takes the rest
    }

    // A camera at (x, y, z) looking down -Z, far distance 100.
    CCameraResource* MakeCamera(const char* name, float x, float y, float z) {
        CTransform* mount = new CTransform((std::string(name) + "Mount").c_str());
        mount->SetTranslation(x, y, z);
        CCameraResource* cam = new CCameraResource(name);
        mount->AddChild(cam);
        CMatrix projection;
        projection.SetPerspectiveFovRH(1.0f, 4.0f / 3.0f, 0.1f, 100.0f);
        cam->SetProjection(projection);
        cam->SetFarDistance(100.0f);
        return cam;
    }

    // A shape under its own transform at (x, y, z) below parent; one pair
    // per entry of kinds ('o' opaque, 't' translucent).
    CShape* MakeShape(const std::string& name, CTransform* parent, float x, float y, float z,
                      const std::string& kinds = "o", int pushes = 0) {
        CTransform* place = new CTransform((name + "Place").c_str());
        parent->AddChild(place);
        place->SetTranslation(x, y, z);
        CShape* shape = new CShape(name.c_str());
        place->AddChild(shape);
        for (char kind : kinds) {
            CNotingShader* shader = new CNotingShader((name + kind).c_str(), kind == 't', pushes);
            shader->m_owner = name;
            shape->AddPair(shader, geometry);
        }
        return shape;
    }

    std::vector<std::string> DrawnOrder() const {
        std::vector<std::string> names;
        for (const Drawn& d : g_drawn)
            names.push_back(d.shape);
        return names;
    }

    CIndexedGeometry* geometry = nullptr;
    CTransform* scene = nullptr;
    CSceneDrawList* list = nullptr;
    CCameraResource* camera = nullptr;
};

TEST_F(DrawListTest, OpaqueNearFirstWithDepthWritesThenTranslucentFarFirstWithout) {
    // Queued far before near, so the order drawn is the buckets' doing.
    MakeShape("opaqueFar", scene, 0, 0, -5);
    MakeShape("opaqueNear", scene, 0, 0, -1);
    MakeShape("clearNear", scene, 0.5f, 0, -1, "t");
    MakeShape("clearFar", scene, 0.5f, 0, -5, "t");
    std::vector<int> opaque10, opaque51, clear1014, clear973;
    renderer->queue = [&] {
        list->AddTree(scene, camera, true);
        opaque10 = list->GetOpaqueBucket(10);
        opaque51 = list->GetOpaqueBucket(51);
        clear1014 = list->GetTranslucentBucket(1014);
        clear973 = list->GetTranslucentBucket(973);
    };
    renderer->Pass();

    EXPECT_EQ(opaque10, std::vector<int>{1});
    EXPECT_EQ(opaque51, std::vector<int>{0});
    EXPECT_EQ(clear1014, std::vector<int>{2});
    EXPECT_EQ(clear973, std::vector<int>{3});
    const std::vector<std::string> order = {"opaqueNear", "opaqueFar", "clearFar", "clearNear"};
    EXPECT_EQ(DrawnOrder(), order);
    ASSERT_EQ(g_drawn.size(), 4u);
    EXPECT_TRUE(g_drawn[0].depthWrites);
    EXPECT_TRUE(g_drawn[1].depthWrites);
    EXPECT_FALSE(g_drawn[2].depthWrites);
    EXPECT_FALSE(g_drawn[3].depthWrites);
    EXPECT_EQ(g_drawn[1].world(3, 2), -5.0f); // each with its own world matrix
    EXPECT_EQ(g_drawn[0].world(3, 2), -1.0f);

    // Everything was emptied: the next pass draws nothing.
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(list->GetCameraCount(), 0);
    EXPECT_TRUE(list->GetOpaqueBucket(10).empty());
    EXPECT_TRUE(list->GetTranslucentBucket(973).empty());
    renderer->queue = nullptr;
    g_drawn.clear();
    renderer->Pass();
    EXPECT_TRUE(g_drawn.empty());
}

TEST_F(DrawListTest, DepthAtTheEyeBeyondFarAndBehind) {
    struct Case {
        const char* name;
        float z;           // world z; the camera sits at the origin looking down -Z
        int opaque, clear; // expected buckets, -1 when not queued
    } cases[] = {
        {"atEye", 0, 0, 1023},
        {"beyondFar", -200, 1023, 0},
        {"behindWithinFar", 50, 0, 1023},
        {"behindBeyondFar", 150, -1, -1},
        {"justInside", -99.99f, 1023, 1},
    };
    std::vector<CShape*> shapes;
    for (const Case& c : cases)
        shapes.push_back(MakeShape(c.name, scene, 0, 0, c.z, "ot"));
    std::vector<std::vector<int>> opaque(1024), clear(1024);
    int items = 0;
    renderer->queue = [&] {
        list->AddTree(scene, camera, true);
        items = list->GetItemCount();
        for (int b = 0; b < 1024; ++b) {
            opaque[b] = list->GetOpaqueBucket(b);
            clear[b] = list->GetTranslucentBucket(b);
        }
    };
    renderer->Pass();

    EXPECT_EQ(items, 4);
    int item = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.opaque < 0)
            continue;
        EXPECT_NE(std::find(opaque[c.opaque].begin(), opaque[c.opaque].end(), item), opaque[c.opaque].end());
        EXPECT_NE(std::find(clear[c.clear].begin(), clear[c.clear].end(), item), clear[c.clear].end());
        ++item;
    }
    // A shape with both kinds of pairs is drawn in both passes, the one behind
    // beyond the far distance in neither.
    int drawnAtEye = 0, drawnBehind = 0;
    for (const Drawn& d : g_drawn) {
        drawnAtEye += d.shape == "atEye";
        drawnBehind += d.shape == "behindBeyondFar";
    }
    EXPECT_EQ(drawnAtEye, 4); // two pairs applied in each pass
    EXPECT_EQ(drawnBehind, 0);
}

TEST_F(DrawListTest, CameraRecordsFollowTheOpeningCalls) {
    CTransform* first = new CTransform("first");
    CTransform* second = new CTransform("second");
    CTransform* third = new CTransform("third");
    MakeShape("a", first, 0, 0, -1);
    MakeShape("b", second, 0, 0, -2);
    MakeShape("c", third, 0, 0, -3);
    CCameraResource* cameraB = MakeCamera("cameraB", 0, 0, 10);
    CCameraResource* cameraC = MakeCamera("cameraC", 0, 0, 20);
    int counts[3] = {};
    int itemCameras[3] = {};
    float recordEyeZ[2] = {};
    renderer->queue = [&] {
        counts[0] = list->AddTree(first, camera, false);   // opens record 0 all the same
        counts[1] = list->AddTree(second, cameraB, false); // queues against record 1, opens nothing
        counts[2] = list->AddTree(third, cameraC, true);   // fills record 1
        for (int i = 0; i < 3; ++i)
            itemCameras[i] = list->GetItem(i).camera;
        recordEyeZ[0] = list->GetCamera(0).eye[2];
        recordEyeZ[1] = list->GetCamera(1).eye[2];
    };
    renderer->Pass();

    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(counts[2], 2);
    EXPECT_EQ(itemCameras[0], 0);
    EXPECT_EQ(itemCameras[1], 1);
    EXPECT_EQ(itemCameras[2], 1);
    EXPECT_NEAR(recordEyeZ[0], 0, 1e-5f);
    EXPECT_NEAR(recordEyeZ[1], 20, 1e-5f); // cameraC's, not cameraB's
    ASSERT_EQ(g_drawn.size(), 3u);
    EXPECT_NEAR(g_drawn[0].view(3, 2), 0, 1e-5f);
    EXPECT_NEAR(g_drawn[1].view(3, 2), -20, 1e-5f);

    // Outside the first update nothing is queued and no record opens.
    g_drawn.clear();
    renderer->queue = nullptr;
    int laterCount = -1;
    renderer->Update(16.6667f); // not the first update: the flag is down
    laterCount = list->AddTree(first, camera, true);
    EXPECT_EQ(laterCount, 0);
    EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(DrawListTest, UnopenedCameraRecordIsIdentityNotLeftovers) {
    // Record 1 is never opened in this list's first frame: its items draw
    // with identity matrices.
    CTransform* first = new CTransform("first");
    CTransform* second = new CTransform("second");
    MakeShape("a", first, 0, 0, -1);
    MakeShape("b", second, 0, 0, -2);
    renderer->queue = [&] {
        list->AddTree(first, camera, false);
        list->AddTree(second, camera, false);
    };
    renderer->Pass();
    ASSERT_EQ(g_drawn.size(), 2u);
    EXPECT_EQ(g_drawn[1].shape, "b");
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(g_drawn[1].view(r, c), r == c ? 1.0f : 0.0f);
            EXPECT_EQ(g_drawn[1].projection(r, c), r == c ? 1.0f : 0.0f);
        }
}

TEST_F(DrawListTest, CameraIsSetOnlyWhenItChangesBetweenItems) {
    CTransform* first = new CTransform("first");
    CTransform* second = new CTransform("second");
    MakeShape("near1", first, 0, 0, -1);
    MakeShape("near2", first, 0, 0, -2);
    MakeShape("other3", second, 0, 0, 7);      // 3 in front of cameraB at z = 10
    MakeShape("clear4", second, 0, 0, 6, "t"); // 4 in front of cameraB
    CCameraResource* cameraB = MakeCamera("cameraB", 0, 0, 10);
    renderer->queue = [&] {
        list->AddTree(first, camera, true);
        list->AddTree(second, cameraB, true);
    };
    renderer->Pass();

    const std::vector<std::string> order = {"near1", "near2", "other3", "clear4"};
    ASSERT_EQ(DrawnOrder(), order);
    EXPECT_FALSE(IsMarker(g_drawn[0].view)); // the first item always sets it
    EXPECT_TRUE(IsMarker(g_drawn[1].view));  // same camera: left alone
    EXPECT_FALSE(IsMarker(g_drawn[2].view)); // camera changed
    EXPECT_NEAR(g_drawn[2].view(3, 2), -10, 1e-5f);
    EXPECT_TRUE(IsMarker(g_drawn[3].view)); // carried over into the translucent pass
}

TEST_F(DrawListTest, BillboardTurnsToTheEyeAndCarriesItsShaderColour) {
    CShape* board = MakeShape("board", scene, 10, 0, 0, "t");
    board->SetBillboard(true);
    board->SetBillboardScale(2.0f);
    CMatrix world;
    renderer->queue = [&] {
        list->AddTree(scene, camera, true);
        world = list->GetItem(0).world;
    };
    renderer->Pass();

    // Its +Z turned to the eye at the origin, i.e. along -X; scaled 2 in its
    // plane only; still at (10, 0, 0).
    EXPECT_NEAR(world(2, 0), -1, 1e-5f);
    EXPECT_NEAR(world(2, 1), 0, 1e-5f);
    EXPECT_NEAR(world(2, 2), 0, 1e-5f);
    EXPECT_NEAR(std::sqrt(world(0, 0) * world(0, 0) + world(0, 1) * world(0, 1) + world(0, 2) * world(0, 2)), 2, 1e-5f);
    EXPECT_NEAR(world(1, 1), 2, 1e-5f);
    EXPECT_NEAR(world(3, 0), 10, 1e-5f);
    ASSERT_EQ(g_drawn.size(), 1u);
    EXPECT_EQ(g_drawn[0].billboard.r, 0.2f);
    EXPECT_EQ(g_drawn[0].billboard.g, 0.4f);
    EXPECT_EQ(g_drawn[0].billboard.b, 0.6f);
    EXPECT_EQ(g_drawn[0].billboard.a, 0.5f);
    // The shape put it in the material colour after its shader's own.
    EXPECT_TRUE(NearVector(Constant(78), {0.2f, 0.4f, 0.6f, 0.5f}));
}

TEST_F(DrawListTest, EachItemReadsThePaletteFromItsFirstMatrix) {
    MakeShape("skinned", scene, 0, 0, -1, "o", 2);
    MakeShape("skinnedToo", scene, 0, 0, -2, "o", 3);
    int extraCount = 0;
    float secondFirst = 0;
    renderer->queue = [&] {
        list->AddTree(scene, camera, true);
        extraCount = list->GetExtraMatrixCount();
        secondFirst = list->GetMatrix(list->GetItem(1).firstExtraMatrix)(3, 0);
    };
    renderer->Pass();
    EXPECT_EQ(extraCount, 5);
    EXPECT_EQ(secondFirst, 0.0f);
    ASSERT_EQ(g_drawn.size(), 2u);
    EXPECT_EQ(g_drawn[0].paletteCursor, 0);
    EXPECT_EQ(g_drawn[1].paletteCursor, 2);
    EXPECT_EQ(list->GetExtraMatrixCount(), 0);
}

TEST_F(DrawListTest, FixedArraysRefuseWhatDoesNotFit) {
    CSceneDrawList small(2, 2, 3, 2, 8);
    // Extra matrices: three fit, the fourth is refused and never read back.
    CMatrix m;
    m(3, 0) = 7;
    EXPECT_TRUE(small.PushMatrix(m));
    EXPECT_TRUE(small.PushMatrix(m));
    EXPECT_TRUE(small.PushMatrix(m));
    m(3, 0) = 99;
    EXPECT_FALSE(small.PushMatrix(m));
    EXPECT_EQ(small.GetExtraMatrixCount(), 3);
    EXPECT_EQ(small.GetMatrix(2)(3, 0), 7.0f);
    EXPECT_EQ(small.GetMatrix(3)(3, 0), 0.0f); // identity outside what was pushed
    EXPECT_EQ(small.GetMatrix(-1)(3, 3), 1.0f);

    // Items: two of three queued.
    CTransform* crowd = new CTransform("crowd");
    MakeShape("s0", crowd, 0, 0, -1);
    MakeShape("s1", crowd, 0, 0, -2);
    CShape* third = MakeShape("s2", crowd, 0, 0, -3);
    // Cameras: with room for one record, a second opening is refused and its
    // tree's shapes are not queued against a record that does not exist.
    CSceneDrawList oneCamera(3, 8, 8, 1, 8);
    CTransform* firstTree = new CTransform("firstTree");
    CTransform* secondTree = new CTransform("secondTree");
    MakeShape("c0", firstTree, 0, 0, -1);
    MakeShape("c1", secondTree, 0, 0, -2);
    int crowdItems = 0, counts[2] = {}, items[2] = {};
    bool viewIsIdentity = false;
    renderer->queue = [&] {
        small.AddTree(crowd, camera, true);
        crowdItems = small.GetItemCount();
        counts[0] = oneCamera.AddTree(firstTree, camera, true);
        items[0] = oneCamera.GetItemCount();
        counts[1] = oneCamera.AddTree(secondTree, camera, true);
        items[1] = oneCamera.GetItemCount();
        viewIsIdentity = oneCamera.GetCameraView()(3, 3) == 1.0f && oneCamera.GetCameraView()(0, 1) == 0.0f;
        EXPECT_EQ(small.AddShape(*third), -1);
    };
    renderer->Pass();
    EXPECT_EQ(crowdItems, 2);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(counts[1], 1);
    EXPECT_EQ(items[1], 1);
    EXPECT_TRUE(viewIsIdentity);
    const std::vector<std::string> order = {"s0", "s1", "c0"};
    EXPECT_EQ(DrawnOrder(), order);

    // A list asked for a taken slot stays out of the table and leaves it alone.
    {
        CSceneDrawList intruder(2, 4, 4, 4, 4);
        EXPECT_EQ(intruder.GetSlot(), -1);
        EXPECT_EQ(GetDrawListInSlot(2), &small);
        CSceneDrawList outside(16, 4, 4, 4, 0);
        EXPECT_EQ(outside.GetSlot(), -1);
        EXPECT_EQ(outside.GetBucketCount(), 1);
    }
    EXPECT_EQ(GetDrawListInSlot(2), &small);
}

TEST_F(DrawListTest, ShapeDeletedAfterQueueingIsSkipped) {
    CShape* doomed = MakeShape("doomed", scene, 0, 0, -1, "ot");
    MakeShape("kept", scene, 0, 0, -2, "ot");
    renderer->queue = [&] {
        list->AddTree(scene, camera, true);
        delete doomed;
    };
    renderer->Pass();
    const std::vector<std::string> order = {"kept", "kept", "kept", "kept"};
    EXPECT_EQ(DrawnOrder(), order);
    EXPECT_EQ(list->GetItemCount(), 0);
}

int g_sequence = 0;
int g_preSlot1 = -1, g_postSlot1 = -1, g_preSlot0 = -1;
void PreSlot0() { g_preSlot0 = g_sequence++; }
void PreSlot1() { g_preSlot1 = g_sequence++; }
void PostSlot1() { g_postSlot1 = g_sequence++; }

TEST_F(DrawListTest, RenderPassDrawsSlotsInOrderThenResetsGravityAndColliders) {
    CSceneDrawList second(1, 16, 16, 2, 16);
    list->SetPreDrawCallback(PreSlot0);
    second.SetPreDrawCallback(PreSlot1);
    second.SetPostDrawCallback(PostSlot1);
    g_sequence = 0;
    CTransform* other = new CTransform("other");
    MakeShape("inSlot1", other, 0, 0, -1);
    MakeShape("inSlot0", scene, 0, 0, -1);
    renderer->queue = [&] {
        second.AddTree(other, camera, true);
        list->AddTree(scene, camera, true);
    };
    SetSpringGravity(Vec3(1, 2, 3));
    ColliderRecord record = {};
    record.type = COLLIDER_SPHERE;
    ASSERT_TRUE(AddCollider(record));
    // A texture target left current from elsewhere: the lists draw to the screen.
    renderer->SetOffscreenTarget(reinterpret_cast<CTexture*>(0x1000));
    device().calls.clear();
    renderer->Pass();

    const std::vector<std::string> order = {"inSlot0", "inSlot1"};
    EXPECT_EQ(DrawnOrder(), order);
    EXPECT_EQ(g_preSlot0, 0);
    EXPECT_EQ(g_preSlot1, 1);
    EXPECT_EQ(g_postSlot1, 2);
    EXPECT_EQ(GetSpringGravity().x, 0.0f);
    EXPECT_EQ(GetSpringGravity().y, SPRING_GRAVITY_DEFAULT_Y);
    EXPECT_EQ(GetSpringGravity().z, 0.0f);
    EXPECT_EQ(GetColliderCount(), 0);
    EXPECT_EQ(device().Count("SetRenderTarget main"), 1);
    EXPECT_EQ(renderer->GetOffscreenTarget(), nullptr);
}

} // namespace
