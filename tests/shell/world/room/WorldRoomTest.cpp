// The world's room on the device: its skies, window panes and light presets
// by the hour, and what the user sees of them at four times of the day.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/TextureArchives.h"
#include "engine/camera/CameraResource.h"
#include "engine/drawlist/DrawList.h"
#include "engine/geometry/Geometry.h"
#include "engine/light/Light.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/lighting/LightPresets.h"
#include "shell/render/RenderManager.h"
#include "shell/world/DayBlend.h"
#include "shell/world/World.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "platform/image/ImageDecoders.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 320, HEIGHT = 240;
constexpr const char* SCOPE = "::the";

// The room camera: from the open corner of the room towards its middle.
const Vec3 CAMERA_EYE(950, 460, 850);
const Vec3 CAMERA_TARGET(0, 0, 0);
constexpr float CAMERA_FOV = 0.55f;

// A point of the lower left window pane, between the bars.
const Vec3 WINDOW_POINT(-566, 120, 50);

CResource* Find(const std::string& name, int kind) { return CurrentResourceManager->Find(name.c_str(), kind); }

// Seconds from the start at 18:00 to a clock reading, at the default ratio.
float StepTo(int hours, int minutes) {
    int seconds = (hours * 3600 + minutes * 60 - 64800 + 86400) % 86400;
    return float(seconds) * 1000.0f / CWorld::DEFAULT_TIME_RATIO;
}

// The render manager, the room and a fixed main camera, under a renderer;
// the frame loop runs a few passes, each updating the world and queueing
// the main scene.
class CWorldRun : public CConsoleRenderer {
public:
    CWorldRun(HWND window, ISetting& setting) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        render = std::make_unique<CRenderManager>(window, nullptr, &setting);
        LoadWorldModels(*render);
        world = std::make_unique<CWorld>("world", *render, SCOPE);
        render->SelectMainRoot();
        CTransform* place = new CTransform("worldTestCameraPlace");
        CMatrix view, inverse;
        view.SetLookAtRH(CAMERA_EYE, CAMERA_TARGET, Vec3(0, 1, 0));
        place->SetLocalMatrix(view.GetInverse(inverse));
        camera = new CCameraResource("worldTestCamera");
        camera->SetParent(place);
        render->SetMainCamera(camera, CAMERA_FOV);
    }
    ~CWorldRun() override {
        world.reset();
        render.reset();
    }

    int Update(float stepMs) override {
        world->Update(*render, 0.0f);
        if (IsFirstUpdate()) {
            render->DrawMain();
            if (++passes == passLimit)
                PostQuitMessage(0);
        }
        return 0;
    }

    std::unique_ptr<CRenderManager> render;
    std::unique_ptr<CWorld> world;
    CCameraResource* camera = nullptr;
    int passLimit = 3;
    int passes = 0;
};

class WorldRoom : public SceneWindowTest {
protected:
    WorldRoom() : SceneWindowTest("WorldRoomTest", "world", WIDTH, HEIGHT) {}
    static void SetUpTestSuite() {
        SceneWindowTest::SetUpTestSuite();
        InstallConsoleHook();
    }

    RgbPicture Shoot(CWorldRun& run) {
        run.ResetFrameTimer();
        run.Run();
        EXPECT_EQ(run.passes, run.passLimit);
        return CaptureWindow();
    }
};

struct Weights {
    float day, evening, night;
};

void ExpectWeights(const char* const names[3], const Weights& w) {
    const float weights[3] = {w.day, w.evening, w.night};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        CTransform* node = dynamic_cast<CTransform*>(Find(std::string(names[i]) + SCOPE, RT_TRANSFORM));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->GetChannelValue(CTransform::TC_VISIBLE), weights[i] > 0 ? 1.0f : 0.0f);
        for (const char* suffix : {"_m0", "_m1"}) {
            CShader* shader = dynamic_cast<CShader*>(Find(std::string(names[i]) + suffix, RT_SHADER));
            ASSERT_NE(shader, nullptr);
            ColorRGBA c = shader->GetColor();
            EXPECT_EQ(c.r, 1.0f);
            EXPECT_EQ(c.g, 1.0f);
            EXPECT_EQ(c.b, 1.0f);
            EXPECT_NEAR(c.a, weights[i], 1e-6f);
        }
    }
}

const char* const SKIES[3] = {"skyCilinderDay", "skyCilinderEvening", "skyCilinderNight"};
const char* const PANES[3] = {"room_mado1_Day", "room_mado2_evening", "room_mado0_Night"};

TEST_F(WorldRoom, InstancesTheRoomLitByTheRoomLights) {
    CWorldRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.world->HasRoom());
    CTransform* root = run.world->GetRoom()->GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "room_root::the");
    EXPECT_EQ(root->GetParent(), run.render->GetMainRoot());
    CGeometry* glass = dynamic_cast<CGeometry*>(Find("room_windowGlassShape_025", RT_GEOMETRY));
    ASSERT_NE(glass, nullptr);
    EXPECT_TRUE(glass->IsTranslucent());
    EXPECT_EQ(CWorld::TvScreenAnchor().x, 0.0f);
    EXPECT_EQ(CWorld::TvScreenAnchor().y, 75.0f);
    EXPECT_EQ(CWorld::TvScreenAnchor().z, -145.0f);
}

TEST_F(WorldRoom, SkiesPanesAndLightsFollowTheClock) {
    CWorldRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.world->HasRoom());
    struct Case {
        int h, m, s;
        bool roomLight;
        Weights sky, pane;
    };
    const Case cases[] = {
        {11, 30, 0, true, {1, 0, 0}, {1, 0, 0}},
        {15, 0, 0, true, {1, 0, 0}, {1, 0, 0}},
        {15, 0, 1, true, {1, 1 / 3600.0f, 0}, {1 - 1 / 3600.0f, 1, 0}},
        {17, 30, 0, true, {0, 1, 0.5f}, {0, 1, 0.5f}},
        {23, 0, 0, false, {0, 0, 1}, {0, 0, 1}},
        {6, 0, 0, true, {0, 0, 1}, {0, 0, 1}},
        {6, 0, 1, true, {1, 0, 1 - 1 / 3600.0f}, {1 / 3600.0f, 0, 1}},
    };
    CWorld& world = *run.world;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << ":" << c.m << ":" << c.s);
        world.SetRoomLight(c.roomLight);
        float target = float(c.h * 3600 + c.m * 60 + c.s);
        float step = (target - world.GetClockSeconds() + 86400.0f) * 1000.0f / world.GetTimeRatio();
        world.Update(*run.render, step);
        ASSERT_NEAR(world.GetClockSeconds(), target, 0.01f);
        ExpectWeights(SKIES, c.sky);
        ExpectWeights(PANES, c.pane);
        DayBlend blend = BlendForClock(world.GetClock(), c.roomLight);
        LightPreset expected;
        ASSERT_TRUE(BlendLightPresets(blend.presetA, blend.weightA, blend.presetB, blend.weightB, expected));
        const ColorRGBA& light = run.render->GetRoomLight()->Color();
        EXPECT_NEAR(light.r, expected.roomLight.r, 1e-5f);
        EXPECT_NEAR(light.b, expected.roomLight.b, 1e-5f);
        const ColorRGBA& ambient = run.render->GetItemAmbient()->Color();
        EXPECT_NEAR(ambient.g, expected.itemAmbient.g, 1e-5f);
    }
}

TEST_F(WorldRoom, ProjectsTheTvScreenAnchorToWholePixels) {
    CWorldRun run(m_window, m_setting);
    ASSERT_NE(run.GetDevice(), nullptr);
    int x = -1, y = -1;
    CWorld::ProjectTvScreenAnchor(*run.camera, x, y);
    Vec3 exact = run.camera->ProjectToScreen(CWorld::TvScreenAnchor());
    EXPECT_EQ(x, int(exact.x));
    EXPECT_EQ(y, int(exact.y));
    // The TV stands by the back wall, well inside the picture.
    EXPECT_GT(x, WIDTH / 4);
    EXPECT_LT(x, WIDTH * 3 / 4);
    EXPECT_GT(y, HEIGHT / 8);
    EXPECT_LT(y, HEIGHT / 2);

    // A camera without a lens projects nowhere: the pixel stays a number.
    CCameraResource flat("worldTestFlatCamera");
    CMatrix zero;
    for (int i = 0; i < 16; ++i)
        zero(i / 4, i % 4) = 0;
    flat.SetProjection(zero);
    x = y = -1;
    CWorld::ProjectTvScreenAnchor(flat, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(WorldRoom, WithoutTheRoomModelOnlyTheLightsChange) {
    CConsoleRenderer renderer(m_window, WIDTH, HEIGHT, true, true);
    CRenderManager render(m_window, nullptr, &m_setting);
    CWorld world("world", render, SCOPE);
    EXPECT_FALSE(world.HasRoom());
    world.Update(render, StepTo(12, 0));
    world.SetSkyWeights(1, 1, 1);
    world.SetWindowWeights(0, 0, 0);
    LightPreset afternoon;
    ASSERT_TRUE(GetLightPreset(LP_AFTERNOON, afternoon));
    EXPECT_FLOAT_EQ(render.GetRoomAmbient()->Color().r, afternoon.roomAmbient.r);
    EXPECT_FLOAT_EQ(render.GetRoomAmbient()->Color().b, afternoon.roomAmbient.b);
}

// The mean colour of a 9 x 9 patch round a pixel.
void PatchColour(const RgbPicture& p, int x, int y, float out[3]) {
    out[0] = out[1] = out[2] = 0;
    int n = 0;
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= p.width || py >= p.height)
                continue;
            for (int c = 0; c < 3; ++c)
                out[c] += p.rgb[size_t(py * p.width + px) * 3 + c];
            ++n;
        }
    for (int c = 0; c < 3; ++c)
        out[c] /= n > 0 ? float(n) : 1.0f;
}

TEST_F(WorldRoom, LooksAsKeptAtFourTimesOfDay) {
    struct Shot {
        int h, m;
        const char* name;
    };
    const Shot shots[] = {{6, 30, "world_0630"}, {12, 0, "world_1200"}, {17, 30, "world_1730"}, {23, 0, "world_2300"}};
    RgbPicture pictures[4];
    float window[4][3];
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(shots[i].name);
        CWorldRun run(m_window, m_setting);
        ASSERT_NE(run.GetDevice(), nullptr);
        ASSERT_TRUE(run.world->HasRoom());
        run.world->AdvanceClock(StepTo(shots[i].h, shots[i].m));
        CClockTime t = run.world->GetClock();
        ASSERT_EQ(t.hours, shots[i].h);
        ASSERT_EQ(t.minutes, shots[i].m);
        pictures[i] = Shoot(run);
        ASSERT_FALSE(pictures[i].rgb.empty());
        ASSERT_TRUE(WriteRgbPng(std::string(shots[i].name) + ".png", pictures[i]));
        Vec3 at = run.camera->ProjectToScreen(WINDOW_POINT);
        PatchColour(pictures[i], int(at.x), int(at.y), window[i]);
        PictureDifference d = CompareWithKept(pictures[i], std::string(DESKMATE_SOURCE_DIR "/tests/shell/world/room/") +
                                                               shots[i].name + "_reference.png");
        ASSERT_TRUE(d.sameSize);
        EXPECT_LT(d.meanChannelDifference, 3.0);
        EXPECT_LT(d.changedShare, 0.02);
    }
    // Through the window: a bright blue noon, a dark night, warm evening light
    // (more red than blue), and a dawn between night and day.
    auto brightness = [](const float c[3]) { return c[0] + c[1] + c[2]; };
    EXPECT_GT(window[1][2], window[1][0]);
    EXPECT_GT(brightness(window[1]), 1.6f * brightness(window[3]));
    EXPECT_GT(window[2][0], window[2][2]);
    EXPECT_GT(brightness(window[0]), brightness(window[3]));
    EXPECT_LT(brightness(window[0]), brightness(window[1]));
    // The four pictures differ from one another as a whole, not only at the window.
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            PictureDifference d = ComparePictures(pictures[a], pictures[b]);
            EXPECT_GT(d.meanChannelDifference, 4.0) << shots[a].name << " and " << shots[b].name;
        }
}

// The compiled directories hold the room under the key the world loads and
// the three skies the room's texture records name, opaque.
TEST(WorldArchives, CompiledDirectoriesHoldTheRoomAndItsSkies) {
    const ArchiveDescriptor* models = GetArchiveDescriptor(AK_MODEL, 0);
    const ArchiveDescriptor* textures = GetArchiveDescriptor(AK_TEXTURE, 0);
    ASSERT_NE(models, nullptr);
    ASSERT_NE(textures, nullptr);
    ASSERT_NE(models->directory, nullptr);
    ASSERT_NE(textures->directory, nullptr);
    auto listed = [](const ArchiveDescriptor* d, const char* key) {
        for (const ArchiveEntryRow* row = d->directory; row->key; ++row)
            if (std::string(row->key) == key)
                return row->size > 0;
        return false;
    };
    EXPECT_TRUE(listed(models, "ROOM"));
    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() {
            CloseTextureArchives();
            SetDataFolder(folder);
        }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    OpenTextureArchives();
    for (const char* key : {"SKY_DAY", "SKY_EVENING", "SKY_NIGHT"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(listed(textures, key));
        std::string file = std::string("model/common/") + key + ".tga";
        for (char& c : file)
            c = char(std::tolower((unsigned char)c));
        ArchiveEntry entry = GetTextureEntry(file);
        ASSERT_NE(entry.data, nullptr);
        CImage image;
        ASSERT_TRUE(DecodeImage(entry.data, entry.size, image, nullptr));
        EXPECT_FALSE(image.hasAlpha) << "an alpha channel would draw the sky in the translucent pass";
    }
}

} // namespace
