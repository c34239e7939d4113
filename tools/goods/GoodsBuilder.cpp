#include "tools/goods/GoodsBuilder.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

#include "engine/chunk/ChunkEnums.h"
#include "tools/content/ContentFile.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/goods/GoodsLayout.h"
#include "tools/goods/PropModel.h"

namespace {

constexpr float PI = 3.14159265f;
constexpr MeshUv FIT{0};
constexpr int FACE_NX = 1, FACE_PX = 2, FACE_NY = 4, FACE_PY = 8, FACE_NZ = 16, FACE_PZ = 32, ALL = 63;

// Scale, then turn (x, y, z), then move: the placement of a primitive.
CMatrix Place(MeshPoint at, MeshPoint turn = {0, 0, 0}, MeshPoint scale = {1, 1, 1}) {
    TransformRecord t;
    const MeshPoint* v[3] = {&at, &turn, &scale};
    float* out[3] = {t.translation, t.rotation, t.scale};
    for (int k = 0; k < 3; ++k) {
        out[k][0] = v[k]->x;
        out[k][1] = v[k]->y;
        out[k][2] = v[k]->z;
    }
    CMatrix m;
    ComputeRestMatrix(t, m);
    return m;
}

void Box(CMeshBuilder& mesh, float x0, float y0, float z0, float x1, float y1, float z1, int faces = ALL,
         MeshUv uv = FIT) {
    mesh.AddBox({x0, y0, z0}, {x1, y1, z1}, uv, faces);
}

// A cylinder along z from z0 to z1 round (x, y).
void CylinderZ(CMeshBuilder& mesh, float x, float y, float z0, float z1, float radius, int segments = 16) {
    mesh.AddLathe({{0, 0}, {radius, 0}, {radius, 0}, {radius, z1 - z0}, {radius, z1 - z0}, {0, z1 - z0}}, segments,
                  Place({x, y, z0}, {PI / 2, 0, 0}));
}

// A cylinder along x from x0 to x1 round (y, z).
void CylinderX(CMeshBuilder& mesh, float y, float z, float x0, float x1, float radius, int segments = 16) {
    mesh.AddLathe({{0, 0}, {radius, 0}, {radius, 0}, {radius, x1 - x0}, {radius, x1 - x0}, {0, x1 - x0}}, segments,
                  Place({x0, y, z}, {0, 0, -PI / 2}));
}

// An upright closed cylinder.
void CylinderY(CMeshBuilder& mesh, float x, float z, float y0, float y1, float radius, int segments = 16) {
    mesh.AddCylinder(x, z, radius, y0, y1, segments, false, true, true);
}

// A rod from a to b.
void Rod(CMeshBuilder& mesh, MeshPoint a, MeshPoint b, float radius, int segments = 8) {
    float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length <= 0)
        return;
    // The capsule's axis is y; turn it onto the rod by x, then y.
    float yaw = std::atan2(dx, dz);
    float pitch = std::acos(std::fmax(-1.0f, std::fmin(1.0f, dy / length)));
    mesh.AddCapsule(radius, length, 2, segments, 1,
                    Place({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2}, {pitch, yaw, 0}));
}

// The four nodes every goods model has; answers the view node.
struct GoodsNodes {
    int root, init, handling, view;
};

GoodsNodes Start(CPropModel& model, const GoodsPlace& place) {
    GoodsNodes n;
    const std::string base = place.base;
    n.root = model.Node(base + "Root", -1);
    n.init = model.Node(base + "Init", n.root, place.rest, place.restRotation);
    n.handling = model.Node(base + "Handling", n.init);
    n.view = model.Node(place.viewNode, n.handling);
    return n;
}

// A hidden node that a motion shows for one frame when its sound plays.
void SoundNode(CPropModel& model, int parent, const std::string& name, MeshPoint at) {
    model.Node(name, parent, at, {0, 0, 0}, false);
}

// ---- room props -----------------------------------------------------------

void BuildDoor(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("door_frameWood", "room_krwood5fuchi2.tga");
    m.Shader("door_frame_m", "door_frameWood", 0.9f, 0.8f, 0.7f);
    m.Shader("door_paper_m", "", 0.93f, 0.90f, 0.80f);
    m.Shader("door_pull_m", "", 0.20f, 0.16f, 0.12f);
    // The sliding door, moved along x by the door motions.
    int slide = m.Node("doorSlide", n.view);
    CMeshBuilder& frame = m.Mesh(slide, "door_frame_m");
    Box(frame, -42, 0, 0, -36, 205, 4);
    Box(frame, 36, 0, 0, 42, 205, 4);
    Box(frame, -36, 0, 0, 36, 8, 4);
    Box(frame, -36, 197, 0, 36, 205, 4);
    for (int i = 1; i < 4; ++i)
        Box(frame, -36, 8 + 47.25f * i - 1.5f, 0.5f, 36, 8 + 47.25f * i + 1.5f, 3.5f);
    Box(frame, -1.5f, 8, 0.5f, 1.5f, 197, 3.5f);
    CMeshBuilder& paper = m.Mesh(slide, "door_paper_m");
    Box(paper, -36, 8, 1, 36, 197, 3, FACE_PZ | FACE_NZ);
    CMeshBuilder& pull = m.Mesh(slide, "door_pull_m");
    Box(pull, 28, 95, 3.5f, 33, 110, 4.5f);
    // The hall beyond, seen through the doorway while the door stands open:
    // a dim back wall and the corridor's floor, laid over the wall behind
    // the door.
    m.Shader("door_hall_m", "", 0.16f, 0.13f, 0.11f, 1.0f, ST_CONSTANT);
    m.Shader("door_hallFloor_m", "", 0.30f, 0.22f, 0.15f, 1.0f, ST_CONSTANT);
    int hall = m.Node("doorHall", n.root, {p.rest.x, 0, p.rest.z - 0.4f});
    m.Mesh(hall, "door_hall_m").AddQuad({-42, 0, 0}, {42, 0, 0}, {42, 205, 0}, {-42, 205, 0});
    m.Mesh(hall, "door_hallFloor_m").AddQuad({-42, 0, 0.05f}, {42, 0, 0.05f}, {36, 30, 0.05f}, {-36, 30, 0.05f});
    SoundNode(m, n.root, "doorOutSound", {200, 100, -255});
    SoundNode(m, n.root, "doorInSound", {200, 100, -255});
}

void BuildChair(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("chair_frame_m", "", 0.25f, 0.26f, 0.30f);
    m.Shader("chair_cloth_m", "", 0.20f, 0.42f, 0.72f);
    m.Shader("chair_metal_m", "", 0.75f, 0.76f, 0.80f);
    CMeshBuilder& frame = m.Mesh(n.view, "chair_frame_m");
    // Five-legged star base with casters.
    for (int i = 0; i < 5; ++i) {
        float a = 2 * PI * i / 5;
        float x = 26 * std::sin(a), z = 26 * std::cos(a);
        Rod(frame, {0, 8, 0}, {x, 5, z}, 2.2f);
        frame.AddSphere(3.0f, 6, 8, Place({x, 3, z}));
    }
    CMeshBuilder& metal = m.Mesh(n.view, "chair_metal_m");
    CylinderY(metal, 0, 0, 8, 36, 2.5f, 12);
    // The seat and back turn on the column.
    int seat = m.Node("chairSeat", n.view, {0, 36, 0});
    CMeshBuilder& cloth = m.Mesh(seat, "chair_cloth_m");
    cloth.AddLathe({{0, 0}, {20, 0}, {23, 2}, {23, 6}, {21, 8}, {0, 8.5f}}, 24, Place({0, 0, 0}, {0, 0, 0}, {1, 1, 1}));
    Box(cloth, -20, 16, -26, 20, 56, -20);
    CMeshBuilder& seatFrame = m.Mesh(seat, "chair_frame_m");
    Box(seatFrame, -3, 0, -24, 3, 18, -20);
    Box(seatFrame, -24, 10, -8, -21, 14, 10);
    Box(seatFrame, 21, 10, -8, 24, 14, 10);
    Box(seatFrame, -24, 3, -6, -21, 10, -3);
    Box(seatFrame, 21, 3, -6, 24, 10, -3);
    SoundNode(m, n.root, "chairSound0", p.rest);
    SoundNode(m, n.root, "chairSound1", p.rest);
}

void BuildTv(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("tv_screenRef", "ref.tga", TAM_CLAMP);
    m.Shader("tv_case_m", "", 0.78f, 0.77f, 0.74f);
    m.Shader("tv_dark_m", "", 0.16f, 0.16f, 0.18f);
    m.Shader("tv_screen_m", "tv_screenRef", 0.55f, 0.62f, 0.70f);
    m.Shader("tv_lcd_m", "", 0.12f, 0.12f, 0.14f);
    m.Shader("tv_led_m", "", 1.0f, 0.25f, 0.2f);
    // The old tube set: its screen's centre is the show's anchor (0, 75, -145).
    int crt = m.Node("Tv", n.view);
    CMeshBuilder& box = m.Mesh(crt, "tv_case_m");
    Box(box, -38, 2, -20, 38, 60, 44, ALL & ~FACE_PZ);
    Box(box, -38, 2, 44, 38, 8, 45);
    Box(box, -38, 52, 44, 38, 60, 45);
    Box(box, -38, 8, 44, -31, 52, 45);
    Box(box, 31, 8, 44, 38, 52, 45);
    // The tube's back.
    box.AddLathe({{0, -36}, {14, -36}, {26, -20}, {26, -20}}, 16, Place({0, 31, 0}, {PI / 2, 0, 0}));
    CMeshBuilder& dark = m.Mesh(crt, "tv_dark_m");
    Box(dark, -30, 0, -18, 30, 2, 40);
    Box(dark, 24, 3, 44.5f, 30, 6, 45.5f);
    CMeshBuilder& screen = m.Mesh(crt, "tv_screen_m");
    screen.AddQuad({-31, 8, 45}, {31, 8, 45}, {31, 52, 45}, {-31, 52, 45});
    m.Mesh(crt, "tv_led_m").AddBox({20, 4, 44.5f}, {22, 6, 45.6f}, FIT);
    // The new flat set, shown once the old one is gone.
    int lcd = m.Node("tv2003lcdvc", n.view, {0, 0, 0}, {0, 0, 0}, false);
    CMeshBuilder& lcdCase = m.Mesh(lcd, "tv_dark_m");
    Box(lcdCase, -14, 0, 22, 14, 2, 38);
    Box(lcdCase, -3, 2, 28, 3, 10, 32);
    Box(lcdCase, -48, 6, 39, 48, 60, 43);
    CMeshBuilder& lcdScreen = m.Mesh(lcd, "tv_lcd_m");
    lcdScreen.AddQuad({-45, 9, 43.2f}, {45, 9, 43.2f}, {45, 57, 43.2f}, {-45, 57, 43.2f});
    m.Mesh(lcd, "tv_led_m").AddBox({40, 6.5f, 43}, {42, 8, 43.5f}, FIT);
    SoundNode(m, n.root, "tvBrokenSound", {0, 75, -160});
}

// ---- goods ------------------------------------------------------------------

void BuildKotatsu(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("kotatsu_top", "room_kotatsutop.tga");
    m.Texture("kotatsu_wood", "room_kotatsuwood2003.tga");
    m.Texture("kotatsu_quilt", "room_kotatsustiripe2003.tga");
    m.Shader("kotatsu_top_m", "kotatsu_top", 1, 1, 1);
    m.Shader("kotatsu_wood_m", "kotatsu_wood", 1, 1, 1);
    m.Shader("kotatsu_quilt_m", "kotatsu_quilt", 1, 0.92f, 0.92f);
    m.Shader("kotatsu_orange_m", "", 1.0f, 0.55f, 0.08f);
    m.Shader("kotatsu_basket_m", "", 0.62f, 0.45f, 0.25f);
    // Everything that moves with her when she wears it lies in the body.
    int body = m.Node("kotatsuBody", n.view);
    CMeshBuilder& top = m.Mesh(body, "kotatsu_top_m");
    Box(top, -46, 38, -46, 46, 41, 46, FACE_PY);
    CMeshBuilder& wood = m.Mesh(body, "kotatsu_wood_m");
    Box(wood, -46, 38, -46, 46, 41, 46, ALL & ~FACE_PY, MeshUv{60});
    for (float sx : {-1.0f, 1.0f})
        for (float sz : {-1.0f, 1.0f})
            Box(wood, sx * 40 - 3, 0, sz * 40 - 3, sx * 40 + 3, 38, sz * 40 + 3);
    // The quilt hangs from under the board and spreads on the floor.
    CMeshBuilder& quilt = m.Mesh(body, "kotatsu_quilt_m");
    const int steps = 12;
    auto edge = [&](float t, float s) {
        // t: 0 at the board, 1 on the floor; s: -1..1 along the side.
        float spread = 44 + 16 * t * t + 3 * std::sin(s * 6 + t * 3) * t;
        return std::pair<float, float>(spread, 37.5f * (1 - t) + 0.5f);
    };
    for (int side = 0; side < 4; ++side)
        for (int i = 0; i < steps; ++i)
            for (int j = 0; j < 4; ++j) {
                float s0 = -1 + 2.0f * i / steps, s1 = -1 + 2.0f * (i + 1) / steps;
                float t0 = j / 4.0f, t1 = (j + 1) / 4.0f;
                auto pt = [&](float s, float t) {
                    auto e = edge(t, s);
                    float across = s * e.first, out = e.first;
                    MeshPoint q;
                    switch (side) {
                    case 0: q = {across, e.second, out}; break;
                    case 1: q = {out, e.second, -across}; break;
                    case 2: q = {-across, e.second, -out}; break;
                    default: q = {-out, e.second, across}; break;
                    }
                    return q;
                };
                quilt.AddQuad(pt(s0, t1), pt(s1, t1), pt(s1, t0), pt(s0, t0), MeshUv{0, 1});
            }
    Box(quilt, -45, 37, -45, 45, 38, 45, FACE_PY);
    // A basket of mandarins on the board.
    int basket = m.Node("kotatsuMikan", body, {10, 41, -8});
    m.Mesh(basket, "kotatsu_basket_m").AddLathe({{0, 0}, {10, 0}, {13, 5}, {12.5f, 5}, {9.5f, 0.8f}, {0, 0.8f}}, 16);
    CMeshBuilder& oranges = m.Mesh(basket, "kotatsu_orange_m");
    const float fruit[4][3] = {{-4, 4.5f, -3}, {4, 4.5f, -2}, {0, 4.5f, 4.5f}, {0, 9, 0}};
    for (const auto& f : fruit)
        oranges.AddSphere(4.2f, 8, 10, Place({f[0], f[1], f[2]}, {0, 0, 0}, {1, 0.85f, 1}));
}

void BuildBodyBlade(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("bodyBlade_blade_m", "", 0.98f, 0.80f, 0.12f);
    m.Shader("bodyBlade_grip_m", "", 0.12f, 0.12f, 0.14f);
    m.Shader("bodyBlade_tip_m", "", 0.85f, 0.15f, 0.12f);
    CMeshBuilder& grip = m.Mesh(n.view, "bodyBlade_grip_m");
    grip.AddCapsule(2.2f, 10, 3, 12, 1, Place({0, 0, 0}, {PI / 2, 0, 0}));
    CMeshBuilder& blade = m.Mesh(n.view, "bodyBlade_blade_m");
    Box(blade, -4, -0.8f, -30, 4, 0.8f, 30);
    // The flexing ends: the second part the show turns.
    for (int side = 0; side < 2; ++side) {
        float s = side ? 1.0f : -1.0f;
        int end = m.Node(side ? "bodyBladeTipF" : "bodyBladeTipB", n.view, {0, 0, 30 * s});
        CMeshBuilder& b = m.Mesh(end, "bodyBlade_blade_m");
        Box(b, -3.6f, -0.7f, side ? 0.0f : -44.0f, 3.6f, 0.7f, side ? 44.0f : 0.0f);
        m.Mesh(end, "bodyBlade_tip_m").AddSphere(3.2f, 6, 10, Place({0, 0, 45 * s}, {0, 0, 0}, {1, 0.8f, 1.4f}));
    }
    SoundNode(m, n.root, "bodyBladeSound", p.rest);
}

void BuildDomohorn(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("domohornWinkle_bottle_m", "", 0.96f, 0.93f, 0.86f);
    m.Shader("domohornWinkle_cap_m", "", 0.80f, 0.62f, 0.20f);
    m.Shader("domohornWinkle_label_m", "", 0.45f, 0.22f, 0.12f);
    CMeshBuilder& bottle = m.Mesh(n.view, "domohornWinkle_bottle_m");
    bottle.AddLathe({{0, -7}, {3.2f, -7}, {3.6f, -6}, {3.6f, 2}, {2.6f, 4}, {1.4f, 4.6f}, {0, 4.6f}}, 16);
    CMeshBuilder& label = m.Mesh(n.view, "domohornWinkle_label_m");
    label.AddCylinder(0, 0, 3.7f, -4, 0, 16, false, false, false);
    m.Mesh(n.view, "domohornWinkle_cap_m").AddLathe({{0, 4.4f}, {1.6f, 4.4f}, {1.7f, 7}, {0, 7}}, 12);
}

void BuildPunchingBag(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("punchingBag_base_m", "", 0.12f, 0.12f, 0.14f);
    m.Shader("punchingBag_spring_m", "", 0.70f, 0.70f, 0.72f);
    m.Shader("punchingBag_bag_m", "", 0.82f, 0.10f, 0.10f);
    m.Shader("punchingBag_band_m", "", 0.95f, 0.95f, 0.92f);
    m.Mesh(n.view, "punchingBag_base_m").AddLathe({{0, 0}, {24, 0}, {26, 3}, {24, 14}, {8, 18}, {6, 22}, {0, 22}}, 24);
    CMeshBuilder& spring = m.Mesh(n.view, "punchingBag_spring_m");
    for (int i = 0; i < 5; ++i)
        spring.AddLathe({{3.2f, 22 + 3.0f * i}, {4.5f, 23 + 3.0f * i}, {3.2f, 24.5f + 3.0f * i}}, 12);
    // The bag swings about the top of the spring.
    int bag = m.Node("punchingBagBag", n.view, {0, 36, 0});
    CMeshBuilder& b = m.Mesh(bag, "punchingBag_bag_m");
    b.AddCapsule(17, 88, 6, 20, 4, Place({0, 62, 0}));
    CMeshBuilder& band = m.Mesh(bag, "punchingBag_band_m");
    band.AddCylinder(0, 0, 17.4f, 86, 92, 20, false, false, false);
    band.AddCylinder(0, 0, 17.4f, 30, 34, 20, false, false, false);
    m.Mesh(bag, "punchingBag_base_m").AddCylinder(0, 0, 6, 0, 4, 12, false, false, true);
}

void BuildBodyVac(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("bodyVac_body_m", "", 0.55f, 0.20f, 0.75f);
    m.Shader("bodyVac_stick_m", "", 0.78f, 0.78f, 0.82f);
    m.Shader("bodyVac_dark_m", "", 0.15f, 0.15f, 0.17f);
    m.Shader("bodyVac_bin_m", "", 0.65f, 0.82f, 0.90f);
    // Grip at the origin, the stick down to the floor head.
    CMeshBuilder& dark = m.Mesh(n.view, "bodyVac_dark_m");
    dark.AddCapsule(1.8f, 8, 2, 10, 1, Place({0, 2, 0}));
    CMeshBuilder& body = m.Mesh(n.view, "bodyVac_body_m");
    body.AddCapsule(4.2f, 10, 3, 14, 1, Place({0, -8, 1.5f}));
    m.Mesh(n.view, "bodyVac_bin_m").AddCylinder(0, 3, 3.6f, -17, -12, 14, false, true, true);
    CMeshBuilder& stick = m.Mesh(n.view, "bodyVac_stick_m");
    Rod(stick, {0, -16, 1.5f}, {0, -41, 4}, 1.1f);
    // The floor head, pointing forward.
    Box(body, -11, -44, 0, 11, -40.5f, 12);
    Box(dark, -11.5f, -44.5f, 11, 11.5f, -41, 13);
    Rod(dark, {-9, -43, 2}, {9, -43, 2}, 1.3f);
}

void BuildLightSaber(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("lightSaber_hilt_m", "", 0.72f, 0.73f, 0.76f);
    m.Shader("lightSaber_grip_m", "", 0.10f, 0.10f, 0.11f);
    m.Shader("lightSaber_blade_m", "", 0.55f, 1.0f, 0.65f, 1.0f, ST_CONSTANT);
    m.Shader("lightSaber_glow_m", "", 0.85f, 1.0f, 0.88f, 1.0f, ST_CONSTANT);
    CMeshBuilder& hilt = m.Mesh(n.view, "lightSaber_hilt_m");
    CylinderZ(hilt, 0, 0, -6, 16, 2.2f);
    CylinderZ(hilt, 0, 0, 14, 17, 2.9f);
    Box(hilt, 2.0f, -0.8f, 6, 3.2f, 0.8f, 10);
    CMeshBuilder& grip = m.Mesh(n.view, "lightSaber_grip_m");
    for (int i = 0; i < 4; ++i)
        CylinderZ(grip, 0, 0, -4 + 4.5f * i, -1.5f + 4.5f * i, 2.45f);
    int blade = m.Node("lightSaberBlade", n.view, {0, 0, 17});
    m.Mesh(blade, "lightSaber_blade_m").AddCapsule(2.2f, 80, 4, 12, 1, Place({0, 0, 41}, {PI / 2, 0, 0}));
    m.Mesh(blade, "lightSaber_glow_m").AddCapsule(1.2f, 80, 3, 8, 1, Place({0, 0, 41}, {PI / 2, 0, 0}));
    // Its display stand on the tatami: two cradles on a base.
    m.Shader("lightSaber_stand_m", "", 0.30f, 0.20f, 0.14f);
    int stand = m.Node("lightSaberStand", n.root, {p.rest.x, 3, p.rest.z}, p.restRotation);
    CMeshBuilder& wood = m.Mesh(stand, "lightSaber_stand_m");
    Box(wood, -5, 0, -8, 5, 1.5f, 30);
    for (float z : {-2.0f, 24.0f}) {
        Box(wood, -4, 1.5f, z - 1.5f, -2.4f, 8, z + 1.5f);
        Box(wood, 2.4f, 1.5f, z - 1.5f, 4, 8, z + 1.5f);
        Box(wood, -2.4f, 1.5f, z - 1.5f, 2.4f, 4.6f, z + 1.5f);
    }
    SoundNode(m, n.root, "lightSaberSound", p.rest);
}

void BuildPapaMakura(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("papaMakura_pillow_m", "", 0.55f, 0.72f, 0.92f);
    m.Shader("papaMakura_sleeve_m", "", 0.30f, 0.36f, 0.55f);
    m.Shader("papaMakura_skin_m", "", 0.98f, 0.80f, 0.66f);
    m.Shader("papaMakura_face_m", "", 0.18f, 0.14f, 0.12f);
    // A pillow with a father's arm to lie on, his face on the pillow.
    CMeshBuilder& pillow = m.Mesh(n.view, "papaMakura_pillow_m");
    pillow.AddSphere(1, 10, 16, Place({0, 0, 0}, {0, 0, 0}, {22, 8, 14}));
    CMeshBuilder& face = m.Mesh(n.view, "papaMakura_face_m");
    Box(face, -8, 3, 13.2f, -4, 4, 13.8f);
    Box(face, 4, 3, 13.2f, 8, 4, 13.8f);
    face.AddSphere(2.2f, 6, 8, Place({0, -1.5f, 13}, {0, 0, 0}, {2.5f, 0.5f, 0.3f}));
    CMeshBuilder& sleeve = m.Mesh(n.view, "papaMakura_sleeve_m");
    sleeve.AddCapsule(5.5f, 26, 4, 14, 2, Place({30, -2, 4}, {0, 0, PI / 2}));
    CMeshBuilder& skin = m.Mesh(n.view, "papaMakura_skin_m");
    skin.AddCapsule(4.2f, 18, 4, 12, 2, Place({56, -3, 4}, {0, 0, PI / 2}));
    skin.AddSphere(5, 8, 10, Place({69, -3, 4}, {0, 0, 0}, {1.1f, 0.7f, 1.3f}));
}

void BuildSegway(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("segway_body_m", "", 0.92f, 0.92f, 0.94f);
    m.Shader("segway_dark_m", "", 0.13f, 0.13f, 0.15f);
    m.Shader("segway_tyre_m", "", 0.08f, 0.08f, 0.08f);
    m.Shader("segway_hub_m", "", 0.70f, 0.12f, 0.12f);
    // Handlebar at the origin; the platform and wheels below it.
    CMeshBuilder& dark = m.Mesh(n.view, "segway_dark_m");
    Rod(dark, {-18, 0, 0}, {18, 0, 0}, 1.6f);
    for (float s : {-1.0f, 1.0f})
        Rod(dark, {s * 17, 0, 0}, {s * 20, 0, 0}, 2.3f);
    CMeshBuilder& body = m.Mesh(n.view, "segway_body_m");
    Rod(body, {0, -1, -1}, {0, -62, -3}, 1.8f);
    Box(body, -4, -8, -2.5f, 4, -2, 1.5f);
    Box(body, -20, -72, -13, 20, -64, 13);
    Box(dark, -18, -64, -11, 18, -63.5f, 11, FACE_PY);
    for (int side = 0; side < 2; ++side) {
        float s = side ? 1.0f : -1.0f;
        int wheel = m.Node(side ? "segwayWheelL" : "segwayWheelR", n.view, {s * 25, -67, 0});
        CMeshBuilder& tyre = m.Mesh(wheel, "segway_tyre_m");
        CylinderX(tyre, 0, 0, -3.5f, 3.5f, 13, 20);
        CMeshBuilder& hub = m.Mesh(wheel, "segway_hub_m");
        CylinderX(hub, 0, 0, s > 0 ? 3.5f : -4.0f, s > 0 ? 4.0f : -3.5f, 7, 12);
        Box(body, s > 0 ? 20.0f : -22.0f, -72, -14, s > 0 ? 22.0f : -20.0f, -58, 14);
    }
}

void BuildBeltVibrator(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("bodyVibrator_body_m", "", 0.90f, 0.88f, 0.84f);
    m.Shader("bodyVibrator_dark_m", "", 0.22f, 0.22f, 0.26f);
    m.Shader("bodyVibrator_belt_m", "", 0.95f, 0.45f, 0.65f);
    m.Shader("bodyVibrator_panel_m", "", 0.25f, 0.75f, 0.95f, 1.0f, ST_CONSTANT);
    CMeshBuilder& body = m.Mesh(n.view, "bodyVibrator_body_m");
    Box(body, -22, 0, -26, 22, 8, 26);
    Box(body, -6, 8, -22, 6, 100, -12);
    Box(body, -12, 96, -24, 12, 112, -6);
    CMeshBuilder& dark = m.Mesh(n.view, "bodyVibrator_dark_m");
    Box(dark, -16, 8, -4, 16, 10, 18, FACE_PY);
    Box(dark, -4, 52, -12, 4, 60, -6);
    Box(m.Mesh(n.view, "bodyVibrator_panel_m"), -9, 100, -6, 9, 109, -5.6f, FACE_PZ);
    // The belt loop that shakes: the second part the show turns.
    int belt = m.Node("bodyVibratorBelt", n.view, {0, 56, -6});
    CMeshBuilder& b = m.Mesh(belt, "bodyVibrator_belt_m");
    const int steps = 16;
    std::vector<MeshPoint> loop;
    for (int i = 0; i <= steps; ++i) {
        float a = PI * (0.12f + 1.76f * i / steps);
        loop.push_back({-13 * std::sin(a) * 1.0f, 0, 16 - 16 * std::cos(a)});
    }
    b.AddExtrusion({{-0.6f, -5}, {0.6f, -5}, {0.6f, 5}, {-0.6f, 5}}, loop, true, false);
}

void BuildTeleporter(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("teleporter_body_m", "", 0.30f, 0.32f, 0.40f);
    m.Shader("teleporter_trim_m", "", 0.95f, 0.78f, 0.20f);
    m.Shader("teleporter_dome_m", "", 0.40f, 0.95f, 1.0f, 1.0f, ST_CONSTANT);
    m.Shader("teleporter_button_m", "", 0.95f, 0.20f, 0.25f);
    CMeshBuilder& body = m.Mesh(n.view, "teleporter_body_m");
    body.AddCapsule(3.2f, 10, 3, 14, 1, Place({0, -2, 0}));
    CMeshBuilder& trim = m.Mesh(n.view, "teleporter_trim_m");
    trim.AddLathe({{3.0f, 3}, {5.5f, 4}, {5.5f, 5.5f}, {0, 5.5f}}, 16);
    Rod(trim, {2.5f, 5, -2}, {5, 14, -3}, 0.5f);
    trim.AddSphere(1.1f, 6, 8, Place({5, 14.5f, -3}));
    m.Mesh(n.view, "teleporter_dome_m").AddSphere(4.2f, 8, 14, Place({0, 5.5f, 0}, {0, 0, 0}, {1, 0.7f, 1}));
    m.Mesh(n.view, "teleporter_button_m").AddSphere(1.2f, 6, 8, Place({0, -1, 3.2f}, {0, 0, 0}, {1, 1, 0.5f}));
    SoundNode(m, n.root, "teleporterSound0", p.rest);
    SoundNode(m, n.root, "teleporterSound1", p.rest);
}

void BuildConga(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("conga_metalTex", "conga_metal.tga");
    m.Texture("conga_woodTex", "conga_redwood.tga");
    m.Texture("conga_skinTex", "conga_skin.tga", TAM_CLAMP);
    m.Shader("conga_metal_m", "conga_metalTex", 1, 1, 1);
    m.Shader("conga_wood_m", "conga_woodTex", 1, 1, 1);
    m.Shader("conga_skin_m", "conga_skinTex", 1, 1, 1);
    // Two drums on a low stand, the tall one on the left.
    const float drums[2][4] = {{-16, 0, 78, 14}, {17, 4, 70, 15.5f}};
    for (int i = 0; i < 2; ++i) {
        float x = drums[i][0], z = drums[i][1], h = drums[i][2], r = drums[i][3];
        CMeshBuilder& wood = m.Mesh(n.view, "conga_wood_m");
        wood.AddLathe({{0, 4}, {r * 0.8f, 4}, {r * 0.8f, 4}, {r * 1.08f, h * 0.45f}, {r, h * 0.9f}, {r, h}}, 20,
                      Place({x, 0, z}), MeshUv{0, 2});
        CMeshBuilder& skin = m.Mesh(n.view, "conga_skin_m");
        skin.AddDisc(x, z, r, h + 0.6f, 20, true);
        CMeshBuilder& metal = m.Mesh(n.view, "conga_metal_m");
        metal.AddCylinder(x, z, r + 0.7f, h - 1.5f, h + 0.8f, 20, false, false, false);
        metal.AddCylinder(x, z, r * 0.8f + 0.6f, 4, 7, 20, false, false, false);
        for (int k = 0; k < 6; ++k) {
            float a = 2 * PI * k / 6 + 0.3f;
            float lx = x + (r + 0.8f) * std::sin(a), lz = z + (r + 0.8f) * std::cos(a);
            Rod(metal, {lx, h - 12, lz}, {lx, h - 1, lz}, 0.7f, 6);
        }
        // The stand's feet.
        Rod(metal, {x - r * 0.8f, 0.8f, z}, {x + r * 0.8f, 0.8f, z}, 0.8f, 6);
        Rod(metal, {x, 0.8f, z - r * 0.8f}, {x, 0.8f, z + r * 0.8f}, 0.8f, 6);
    }
    for (int i = 0; i < 4; ++i)
        SoundNode(m, n.root, "congaSound" + std::to_string(i), p.rest);
}

void BuildHouchou(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("houchou_bladeTex", "houchou_blade.tga", TAM_CLAMP);
    m.Texture("houchou_woodTex", "houchou_wood.tga");
    m.Shader("houchou_blade_m", "houchou_bladeTex", 1, 1, 1);
    m.Shader("houchou_wood_m", "houchou_woodTex", 1, 1, 1);
    m.Shader("houchou_bolster_m", "", 0.55f, 0.55f, 0.58f);
    // The grip at the origin, the blade forward along z, its edge down.
    CMeshBuilder& wood = m.Mesh(n.view, "houchou_wood_m");
    wood.AddCapsule(1.3f, 10, 2, 10, 1, Place({0, 0, -3}, {PI / 2, 0, 0}, {0.8f, 1, 1.1f}));
    m.Mesh(n.view, "houchou_bolster_m").AddCylinder(0, 0, 1.5f, 0, 1.5f, 10, false, true, true);
    CMeshBuilder& blade = m.Mesh(n.view, "houchou_blade_m");
    blade.AddExtrusion({{0, 1.2f}, {20, 1.0f}, {24, -0.5f}, {22, -3.6f}, {0, -3.9f}}, 0.3f, true, false,
                       Place({-0.15f, 0, 3}, {0, -PI / 2, 0}));
}

void BuildFlypan(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("flypanB_pan_m", "", 0.18f, 0.18f, 0.20f);
    m.Shader("flypanB_inside_m", "", 0.32f, 0.30f, 0.30f);
    m.Shader("flypanB_handle_m", "", 0.45f, 0.25f, 0.12f);
    CMeshBuilder& handle = m.Mesh(n.view, "flypanB_handle_m");
    handle.AddCapsule(1.4f, 14, 2, 10, 1, Place({0, 0, 1}, {PI / 2 - 0.12f, 0, 0}));
    CMeshBuilder& pan = m.Mesh(n.view, "flypanB_pan_m");
    pan.AddLathe({{0, -1.6f}, {10, -1.6f}, {13.5f, 2.4f}, {13.2f, 2.6f}}, 24, Place({0, -1.5f, 22}));
    Rod(pan, {0, -1.0f, 6}, {0, -1.6f, 9.5f}, 1.0f);
    m.Mesh(n.view, "flypanB_inside_m").AddDisc(0, 22, 10, -2.9f, 24, true);
}

void BuildOtama(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("otama_metal_m", "", 0.80f, 0.80f, 0.84f);
    m.Shader("otama_grip_m", "", 0.85f, 0.35f, 0.20f);
    CMeshBuilder& grip = m.Mesh(n.view, "otama_grip_m");
    grip.AddCapsule(1.0f, 9, 2, 8, 1, Place({0, 0, -1}, {PI / 2, 0, 0}, {1, 1, 0.6f}));
    CMeshBuilder& metal = m.Mesh(n.view, "otama_metal_m");
    Rod(metal, {0, 0, 3}, {0, -1, 20}, 0.5f, 6);
    Rod(metal, {0, -1, 20}, {0, -5, 23}, 0.5f, 6);
    // The bowl, double-sided so its inside shows.
    CMeshBuilder& bowl = m.Mesh(n.view, "otama_metal_m", true);
    bowl.AddLathe({{0, -4}, {2.5f, -3.7f}, {3.8f, -2.5f}, {4.3f, 0}}, 16, Place({0, -4, 27.3f}));
    SoundNode(m, n.root, "otamaSound", p.rest);
}

void BuildReizouko(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("reizouko_ref", "ref.tga");
    m.Shader("reizouko_body_m", "", 0.92f, 0.95f, 0.97f);
    m.Shader("reizouko_inside_m", "", 0.98f, 0.98f, 0.90f, 1.0f, ST_CONSTANT);
    m.Shader("reizouko_handle_m", "reizouko_ref", 0.9f, 0.9f, 0.95f);
    m.Shader("reizouko_food_m", "", 0.95f, 0.55f, 0.30f);
    m.Shader("reizouko_green_m", "", 0.40f, 0.75f, 0.30f);
    m.Shader("reizouko_dark_m", "", 0.25f, 0.27f, 0.30f);
    // Facing +z in its own space: the doors hinge on the +x side.
    CMeshBuilder& body = m.Mesh(n.view, "reizouko_body_m");
    Box(body, -30, 4, -28, 30, 150, 28, ALL & ~FACE_PZ);
    Box(body, -30, 4, 26, -27, 150, 28, FACE_PZ | FACE_NX);
    Box(body, 27, 4, 26, 30, 150, 28, FACE_PZ | FACE_PX);
    Box(body, -27, 145, 26, 27, 150, 28, FACE_PZ);
    Box(body, -27, 4, 26, 27, 8, 28, FACE_PZ);
    Box(body, -27, 103, 26, 27, 107, 28, FACE_PZ);
    Box(m.Mesh(n.view, "reizouko_dark_m"), -28, 0, -26, 28, 4, 26, FACE_PX | FACE_NX | FACE_PZ | FACE_NZ);
    // The lit inside and what is in it.
    CMeshBuilder& inside = m.Mesh(n.view, "reizouko_inside_m");
    inside.AddQuad({-27, 8, 24}, {27, 8, 24}, {27, 103, 24}, {-27, 103, 24});
    inside.AddQuad({-27, 107, 24}, {27, 107, 24}, {27, 145, 24}, {-27, 145, 24});
    CMeshBuilder& food = m.Mesh(n.view, "reizouko_food_m");
    Box(food, -20, 40, 20, -8, 52, 24.5f);
    food.AddSphere(4, 6, 8, Place({12, 74, 22}));
    CMeshBuilder& green = m.Mesh(n.view, "reizouko_green_m");
    Box(green, 2, 14, 19, 22, 24, 24.5f);
    Box(green, -18, 115, 19, 0, 124, 24.5f);
    Box(m.Mesh(n.view, "reizouko_dark_m"), -27, 36, 23, 27, 37, 24.5f);
    Box(m.Mesh(n.view, "reizouko_dark_m"), -27, 66, 23, 27, 67, 24.5f);
    // The doors, each turning on its hinge at +x.
    const float doors[2][2] = {{4, 104.5f}, {105.5f, 150}};
    for (int i = 0; i < 2; ++i) {
        int door = m.Node(i ? "reizoukoDoorTop" : "reizoukoDoor", n.view, {30, 0, 28});
        CMeshBuilder& d = m.Mesh(door, "reizouko_body_m");
        Box(d, -60, doors[i][0], 0, 0, doors[i][1], 4);
        CMeshBuilder& h = m.Mesh(door, "reizouko_handle_m");
        float y0 = i ? doors[i][0] + 4 : doors[i][1] - 40, y1 = i ? doors[i][0] + 30 : doors[i][1] - 6;
        Box(h, -56, y0, 4, -53, y1, 7);
    }
}

void BuildSenpuki(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("senpuki_body_m", "", 0.93f, 0.93f, 0.95f);
    m.Shader("senpuki_blade_m", "", 0.45f, 0.75f, 0.95f);
    m.Shader("senpuki_guard_m", "", 0.80f, 0.82f, 0.86f);
    m.Shader("senpuki_button_m", "", 0.25f, 0.55f, 0.95f);
    CMeshBuilder& body = m.Mesh(n.view, "senpuki_body_m");
    body.AddLathe({{0, 0}, {18, 0}, {18.5f, 2}, {16, 5}, {3, 6}, {0, 6}}, 24);
    CylinderY(body, 0, 0, 5, 70, 1.8f, 12);
    CMeshBuilder& buttons = m.Mesh(n.view, "senpuki_button_m");
    for (int i = 0; i < 3; ++i)
        buttons.AddCylinder(-5 + 5.0f * i, 12, 1.6f, 4, 6.5f, 10, false, true, false);
    // The head turns about the pole; the blades turn about the head's axis.
    int head = m.Node("senpukiHead", n.view, {0, 72, 0});
    CMeshBuilder& motor = m.Mesh(head, "senpuki_body_m");
    motor.AddCapsule(6.5f, 6, 4, 16, 1, Place({0, 0, -4}, {PI / 2, 0, 0}));
    CMeshBuilder& guard = m.Mesh(head, "senpuki_guard_m");
    for (float z : {1.0f, 8.0f})
        guard.AddLathe({{22.5f, -0.6f}, {23, 0}, {22.5f, 0.6f}, {22, 0}, {22.5f, -0.6f}}, 32,
                       Place({0, 0, z}, {PI / 2, 0, 0}));
    for (int i = 0; i < 12; ++i) {
        float a = 2 * PI * i / 12;
        float x = 22.5f * std::sin(a), y = 22.5f * std::cos(a);
        Rod(guard, {x, y, 1}, {x * 0.9f, y * 0.9f, 9.5f}, 0.35f, 4);
        Rod(guard, {x * 0.9f, y * 0.9f, 9.5f}, {0, 0, 11}, 0.3f, 4);
    }
    int blades = m.Node("senpukiBlade", head, {0, 0, 4.5f});
    CMeshBuilder& blade = m.Mesh(blades, "senpuki_blade_m", true);
    for (int i = 0; i < 3; ++i) {
        float a = 2 * PI * i / 3;
        blade.AddExtrusion({{-4, 3}, {4, 3}, {8, 12}, {6, 19}, {0, 21}, {-6, 18}, {-7, 10}}, 0.4f, true, false,
                           Place({0, 0, -0.2f}, {0.2f, 0, a}));
    }
    m.Mesh(blades, "senpuki_button_m").AddSphere(3.2f, 6, 10, Place({0, 0, 0.8f}, {0, 0, 0}, {1, 1, 0.6f}));
}

void BuildMilk(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("milk_label", "milk.tga", TAM_CLAMP);
    m.Shader("milk_bottle_m", "milk_label", 1, 1, 1);
    m.Shader("milk_cap_m", "", 0.95f, 0.95f, 0.90f);
    m.Shader("milk_seal_m", "", 0.25f, 0.45f, 0.85f);
    // A glass bottle of milk, gripped round its middle.
    CMeshBuilder& bottle = m.Mesh(n.view, "milk_bottle_m");
    bottle.AddLathe({{0, -9}, {3.4f, -9}, {3.6f, -8}, {3.6f, 2}, {2.4f, 6}, {2.2f, 8}, {0, 8}}, 18, CMatrix(),
                    MeshUv{0, 1});
    m.Mesh(n.view, "milk_cap_m").AddCylinder(0, 0, 2.35f, 7.5f, 9.2f, 14, false, true, false);
    m.Mesh(n.view, "milk_seal_m").AddCylinder(0, 0, 2.45f, 7.6f, 8.4f, 14, false, false, false);
}

void BuildIceCandy(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("iceCandy_ice_m", "", 0.55f, 0.80f, 1.0f);
    m.Shader("iceCandy_stick_m", "", 0.90f, 0.78f, 0.55f);
    Box(m.Mesh(n.view, "iceCandy_stick_m"), -0.6f, -0.2f, -3, 0.6f, 0.2f, 4);
    m.Mesh(n.view, "iceCandy_ice_m").AddCapsule(2.5f, 6, 3, 12, 1, Place({0, 0, 9}, {PI / 2, 0, 0}, {1.4f, 0.6f, 1}));
}

void BuildIceCream(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("iceCream_cup_m", "", 0.95f, 0.92f, 0.85f);
    m.Shader("iceCream_band_m", "", 0.85f, 0.25f, 0.45f);
    m.Shader("iceCream_cream_m", "", 1.0f, 0.85f, 0.90f);
    m.Shader("iceCream_spoon_m", "", 0.95f, 0.80f, 0.55f);
    CMeshBuilder& cup = m.Mesh(n.view, "iceCream_cup_m");
    cup.AddLathe({{0, -4}, {3.2f, -4}, {4.6f, 3}, {4.2f, 3}, {0, 3}}, 18);
    m.Mesh(n.view, "iceCream_band_m").AddLathe({{3.5f, -1.5f}, {4.2f, 1.5f}}, 18);
    CMeshBuilder& cream = m.Mesh(n.view, "iceCream_cream_m");
    cream.AddSphere(4.0f, 8, 12, Place({0, 3.6f, 0}, {0, 0, 0}, {1, 0.75f, 1}));
    Box(m.Mesh(n.view, "iceCream_spoon_m"), 0.5f, 3, -0.5f, 1.6f, 10, 0.2f);
}

void BuildFurin(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Shader("furin_glass_m", "", 0.70f, 0.88f, 1.0f);
    m.Shader("furin_paint_m", "", 0.95f, 0.25f, 0.30f);
    m.Shader("furin_string_m", "", 0.90f, 0.90f, 0.85f);
    m.Shader("furin_paper_m", "", 0.98f, 0.95f, 0.70f);
    // A glass wind bell hanging by its string, its paper strip below.
    CMeshBuilder& string = m.Mesh(n.view, "furin_string_m");
    Rod(string, {0, 0, 0}, {0, -10, 0}, 0.2f, 4);
    CMeshBuilder& glass = m.Mesh(n.view, "furin_glass_m", true);
    glass.AddLathe({{5.5f, -20}, {5.0f, -16}, {3.5f, -12}, {0.8f, -10}, {0, -10}}, 18);
    CMeshBuilder& paint = m.Mesh(n.view, "furin_paint_m");
    for (int i = 0; i < 3; ++i) {
        float a = 2 * PI * i / 3;
        paint.AddSphere(1.1f, 4, 6, Place({4.6f * std::sin(a), -16.5f, 4.6f * std::cos(a)}, {0, 0, 0}, {1, 1, 0.5f}));
    }
    Rod(string, {0, -12, 0}, {0, -26, 0}, 0.15f, 4);
    string.AddSphere(0.8f, 4, 6, Place({0, -20, 0}));
    int strip = m.Node("furinTanzaku", n.view, {0, -26, 0});
    Box(m.Mesh(strip, "furin_paper_m"), -2.2f, -16, -0.1f, 2.2f, 0, 0.1f);
}

void BuildDiabolos(CPropModel& m, const GoodsPlace& p) {
    GoodsNodes n = Start(m, p);
    m.Texture("diabolos_skin", "diabolos.tga", TAM_CLAMP);
    m.Shader("diabolos_body_m", "diabolos_skin", 1, 1, 1);
    m.Shader("diabolos_leg_m", "", 0.58f, 0.22f, 0.62f);
    m.Shader("diabolos_horn_m", "", 0.95f, 0.92f, 0.80f);
    // An octopus toy with little devil horns: the head wears the painted face.
    CMeshBuilder& body = m.Mesh(n.view, "diabolos_body_m");
    body.AddSphere(1, 12, 16, Place({0, 15, 0}, {0, PI, 0}, {9, 10, 9}), MeshUv{0, 1});
    CMeshBuilder& legs = m.Mesh(n.view, "diabolos_leg_m");
    for (int i = 0; i < 8; ++i) {
        float a = 2 * PI * i / 8;
        float sx = std::sin(a), sz = std::cos(a);
        Rod(legs, {4 * sx, 6, 4 * sz}, {10 * sx, 2, 10 * sz}, 1.9f, 6);
        Rod(legs, {10 * sx, 2, 10 * sz}, {14 * sx, 1.2f, 14 * sz}, 1.3f, 6);
    }
    CMeshBuilder& horns = m.Mesh(n.view, "diabolos_horn_m");
    for (float s : {-1.0f, 1.0f})
        horns.AddLathe({{0, 0}, {1.6f, 0}, {0, 5}}, 8, Place({s * 5, 22.5f, 0}, {0, 0, -s * 0.4f}));
}

// A floor cushion: in the archive's directory, loaded by no list.
bool BuildCushion(std::vector<uint8_t>& bytes, std::string& error) {
    CPropModel m;
    m.Shader("cushion_cloth_m", "", 0.80f, 0.35f, 0.30f);
    m.Shader("cushion_tuft_m", "", 0.95f, 0.85f, 0.55f);
    int root = m.Node("cushionRoot", -1);
    int cushion = m.Node("cushion", root, {118, 0, 10});
    m.Mesh(cushion, "cushion_cloth_m").AddSphere(1, 8, 16, Place({0, 5, 0}, {0, 0, 0}, {30, 5, 30}));
    m.Mesh(cushion, "cushion_tuft_m").AddSphere(1.5f, 4, 6, Place({0, 10, 0}));
    return m.Write(bytes, error);
}

using Builder = std::function<void(CPropModel&, const GoodsPlace&)>;

const std::map<std::string, Builder>& Builders() {
    static const std::map<std::string, Builder> builders = {
        {"door", BuildDoor},
        {"chair", BuildChair},
        {"tv", BuildTv},
        {"kotatsu", BuildKotatsu},
        {"bodyBlade", BuildBodyBlade},
        {"domohornWinkle", BuildDomohorn},
        {"punchingBag", BuildPunchingBag},
        {"bodyVac", BuildBodyVac},
        {"lightSaber", BuildLightSaber},
        {"papaMakura", BuildPapaMakura},
        {"segway", BuildSegway},
        {"bodyVibrator", BuildBeltVibrator},
        {"teleporter", BuildTeleporter},
        {"conga", BuildConga},
        {"houchou", BuildHouchou},
        {"flypanB", BuildFlypan},
        {"otama", BuildOtama},
        {"reizouko", BuildReizouko},
        {"senpuki", BuildSenpuki},
        {"milk", BuildMilk},
        {"iceCandy", BuildIceCandy},
        {"iceCream", BuildIceCream},
        {"furin", BuildFurin},
        {"diabolos", BuildDiabolos},
    };
    return builders;
}

} // namespace

bool BuildGoodsModel(const std::string& base, std::vector<uint8_t>& bytes, std::string& error) {
    const GoodsPlace* place = FindGoodsPlace(base);
    auto builder = Builders().find(base);
    if (!place || builder == Builders().end()) {
        error = "no goods model " + base;
        return false;
    }
    CPropModel model;
    builder->second(model, *place);
    if (!model.Write(bytes, error)) {
        error = base + ": " + error;
        return false;
    }
    return true;
}

bool WriteGoodsContent(const std::string& folder, std::string& error) {
    std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string manifest = "# Generated by deskmate_goods.\n";
    for (const GoodsPlace& place : GoodsPlaces()) {
        std::vector<uint8_t> bytes;
        if (!BuildGoodsModel(place.base, bytes, error) || !WriteContentFile(dir / place.file, bytes, error))
            return false;
        manifest += std::string("model/model00.bin ") + GOODS_ENTRY_FOLDER + place.file + " " + place.file + "\n";
    }
    std::vector<uint8_t> cushion;
    if (!BuildCushion(cushion, error) || !WriteContentFile(dir / "cushion.hgm", cushion, error))
        return false;
    manifest += std::string("model/model00.bin ") + GOODS_ENTRY_FOLDER + "cushion.hgm cushion.hgm\n";
    for (const PaintedTexture& t : PaintGoodsTextures()) {
        if (!WriteContentFile(dir / t.fileName, t.image.ToTga(), error))
            return false;
        manifest += "model/texture00.bin " + std::string(GOODS_ENTRY_FOLDER) + t.fileName + " " + t.fileName + "\n";
    }
    return WriteContentFile(dir / "goods.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
