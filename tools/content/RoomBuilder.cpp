#include "tools/content/RoomBuilder.h"

#include <filesystem>
#include <map>
#include <memory>

#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/ResourceKind.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/ContentFile.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/TexturePainter.h"

namespace {

// Room extents: the two far walls (back z = ROOM_BACK, left x = ROOM_LEFT)
// face the fixed camera; the near walls face inward only, so that the
// camera outside the corner sees into the room.
constexpr float ROOM_LEFT = -560, ROOM_RIGHT = 560, ROOM_BACK = -260, ROOM_FRONT = 560;
// The share of a material's colour that it adds to the ambient light. Kept
// small: the half-Lambert lighting already reaches faces turned from the
// lamp, and every light preset has an ambient of at least 0.2, so more would
// saturate the room and hide how the light changes through the day.
constexpr float MATERIAL_AMBIENT = 0.03f;
constexpr float WALL_HEIGHT = 270, WALL_THICKNESS = 10;
// The window in the left wall.
constexpr float WINDOW_Z0 = -10, WINDOW_Z1 = 230, WINDOW_Y0 = 90, WINDOW_Y1 = 230;
// The room is a storey above the street: the ground lies this far below its
// floor, so that the window, seen from the camera above the room, looks out
// at the sky and not at the ground.
constexpr float GROUND_Y = -460;
// The sky cylinders' height range; the panorama's horizon (SKY_HORIZON_SHARE
// of the texture down) comes out just above the ground.
constexpr float SKY_BOTTOM = -900, SKY_TOP = 1100;
// Texture repeat lengths.
constexpr MeshUv FIT{0};
constexpr MeshUv WOOD{100};
constexpr MeshUv WALL{128};
constexpr MeshUv FLOOR{90};

struct Pair {
    std::string shader;
    std::string geometry;
    uint32_t format;
    bool doubleSided;
    CMeshBuilder mesh;
};

struct Node {
    std::string name;
    int parent;
    std::vector<std::unique_ptr<Pair>> pairs;
    MeshPoint translation{0, 0, 0};
    bool visible = true;
};

// Gathers textures, materials and per-node meshes, then writes them in the
// order the loaders need them.
class CRoomModel {
public:
    void Texture(const std::string& file, int addressV = TAM_WRAP) {
        TextureRecord t;
        t.name = file.substr(0, file.rfind('.'));
        t.fileName = file;
        t.magFilter = TFM_LINEAR;
        t.minFilter = TFM_LINEAR;
        t.mipFilter = TFM_NONE;
        t.addressU = TAM_WRAP;
        t.addressV = addressV;
        m_textures.push_back(t);
    }

    void Shader(const std::string& name, int type, const std::string& texture, float r = 1, float g = 1, float b = 1,
                float a = 1) {
        ShaderRecord s;
        s.name = name;
        s.shaderType = type;
        s.textureName = texture;
        float colour[4] = {r, g, b, a};
        for (int i = 0; i < 4; ++i) {
            s.colour[i] = colour[i];
            s.ambient[i] = i < 3 ? MATERIAL_AMBIENT * colour[i] : 1.0f;
        }
        m_shaders.push_back(s);
        m_shaderTypes[name] = type;
    }

    int AddNode(const std::string& name, int parent = 0) {
        m_nodes.push_back(std::make_unique<Node>());
        m_nodes.back()->name = name;
        m_nodes.back()->parent = parent;
        return int(m_nodes.size()) - 1;
    }

    // A node without shapes, placed at `at`, hidden unless animated.
    void AddMarker(const std::string& name, MeshPoint at) {
        int node = AddNode(name);
        m_nodes[size_t(node)]->translation = at;
        m_nodes[size_t(node)]->visible = false;
    }

    // The mesh of `node` drawn with `shader`; geometry names follow the node
    // unless one is given.
    CMeshBuilder& Mesh(int node, const std::string& shader, bool doubleSided = false,
                       const std::string& geometry = "") {
        Node& n = *m_nodes[size_t(node)];
        for (auto& p : n.pairs)
            if (p->shader == shader && (geometry.empty() || p->geometry == geometry))
                return p->mesh;
        auto pair = std::make_unique<Pair>();
        pair->shader = shader;
        pair->geometry = geometry.empty() ? n.name + "_" + std::to_string(n.pairs.size()) + "Geometry" : geometry;
        int type = m_shaderTypes.count(shader) ? m_shaderTypes[shader] : ST_LAMBERT;
        pair->format = ShaderVertexMask(type);
        pair->doubleSided = doubleSided;
        n.pairs.push_back(std::move(pair));
        return n.pairs.back()->mesh;
    }

    bool Write(std::vector<uint8_t>& bytes, std::string& error) {
        CChunkWriter writer;
        for (const TextureRecord& t : m_textures)
            writer.Write(t);
        for (const ShaderRecord& s : m_shaders)
            writer.Write(s);
        std::vector<std::unique_ptr<BuiltGeometry>> built;
        for (auto& node : m_nodes)
            for (auto& pair : node->pairs) {
                built.push_back(std::make_unique<BuiltGeometry>());
                if (!BuildGeometry(pair->mesh, pair->geometry, pair->format, pair->doubleSided, *built.back())) {
                    error = "cannot build geometry " + pair->geometry;
                    return false;
                }
                writer.Write(built.back()->record);
            }
        for (auto& node : m_nodes) {
            if (node->pairs.empty())
                continue;
            ShapeRecord shape;
            shape.name = ShapeName(*node);
            for (auto& pair : node->pairs)
                shape.pairs.push_back({pair->shader, pair->geometry});
            writer.Write(shape);
        }
        for (auto& node : m_nodes) {
            TransformRecord t;
            t.name = node->name;
            t.visible = node->visible ? 1 : 0;
            t.translation[0] = node->translation.x;
            t.translation[1] = node->translation.y;
            t.translation[2] = node->translation.z;
            writer.Write(t);
        }
        HierarchyRecord hierarchy;
        AppendTree(0, -1, hierarchy);
        writer.Write(hierarchy);
        return writer.TakeBytes(bytes, error);
    }

private:
    static std::string ShapeName(const Node& node) { return node.name + "Shape"; }

    // Node first, then its shape, then its child nodes' trees.
    void AppendTree(int index, int parent, HierarchyRecord& out) {
        const Node& node = *m_nodes[size_t(index)];
        int at = int(out.nodes.size());
        out.nodes.push_back({node.name, RT_TRANSFORM, 0, parent});
        if (!node.pairs.empty()) {
            out.nodes.push_back({ShapeName(node), RT_SHAPE, 0, at});
            ++out.nodes[size_t(at)].childCount;
        }
        for (size_t i = 1; i < m_nodes.size(); ++i)
            if (m_nodes[i]->parent == index) {
                ++out.nodes[size_t(at)].childCount;
                AppendTree(int(i), at, out);
            }
    }

    std::vector<TextureRecord> m_textures;
    std::vector<ShaderRecord> m_shaders;
    std::map<std::string, int> m_shaderTypes;
    std::vector<std::unique_ptr<Node>> m_nodes;
};

void Box(CMeshBuilder& mesh, float x0, float y0, float z0, float x1, float y1, float z1, MeshUv uv = WOOD,
         int faces = 63) {
    mesh.AddBox({x0, y0, z0}, {x1, y1, z1}, uv, faces);
}

// Box face bits.
constexpr int FACE_NX = 1, FACE_PX = 2, FACE_NY = 4, FACE_PY = 8, FACE_NZ = 16, FACE_PZ = 32;
constexpr int FACES_ALL = 63;

void AddShell(CRoomModel& room, int node) {
    CMeshBuilder& floor = room.Mesh(node, "room_floaring3_m");
    floor.AddQuad({ROOM_LEFT, 0, ROOM_FRONT}, {ROOM_RIGHT, 0, ROOM_FRONT}, {ROOM_RIGHT, 0, ROOM_BACK},
                  {ROOM_LEFT, 0, ROOM_BACK}, FLOOR);

    CMeshBuilder& wall = room.Mesh(node, "room_domecfuchi2_m");
    // Back wall, facing +z.
    wall.AddQuad({ROOM_LEFT, 0, ROOM_BACK}, {ROOM_RIGHT, 0, ROOM_BACK}, {ROOM_RIGHT, WALL_HEIGHT, ROOM_BACK},
                 {ROOM_LEFT, WALL_HEIGHT, ROOM_BACK}, WALL);
    // Left wall, facing +x, in four pieces round the window opening.
    auto left = [&](float z0, float z1, float y0, float y1) {
        wall.AddQuad({ROOM_LEFT, y0, z1}, {ROOM_LEFT, y0, z0}, {ROOM_LEFT, y1, z0}, {ROOM_LEFT, y1, z1}, WALL);
    };
    left(ROOM_BACK, WINDOW_Z0, 0, WALL_HEIGHT);
    left(WINDOW_Z1, ROOM_FRONT, 0, WALL_HEIGHT);
    left(WINDOW_Z0, WINDOW_Z1, 0, WINDOW_Y0);
    left(WINDOW_Z0, WINDOW_Z1, WINDOW_Y1, WALL_HEIGHT);
    // The far walls' thickness: their tops and the cut ends toward the camera.
    const float t = WALL_THICKNESS;
    Box(wall, ROOM_LEFT - t, 0, ROOM_BACK - t, ROOM_RIGHT, WALL_HEIGHT, ROOM_BACK, WALL, FACE_PY | FACE_PX);
    Box(wall, ROOM_LEFT - t, 0, ROOM_BACK, ROOM_LEFT, WALL_HEIGHT, ROOM_FRONT, WALL, FACE_PY | FACE_PZ);
    // Near walls face inward only: from the camera's side they are culled.
    wall.AddQuad({ROOM_RIGHT, 0, ROOM_BACK}, {ROOM_RIGHT, 0, ROOM_FRONT}, {ROOM_RIGHT, WALL_HEIGHT, ROOM_FRONT},
                 {ROOM_RIGHT, WALL_HEIGHT, ROOM_BACK}, WALL);
    wall.AddQuad({ROOM_RIGHT, 0, ROOM_FRONT}, {ROOM_LEFT, 0, ROOM_FRONT}, {ROOM_LEFT, WALL_HEIGHT, ROOM_FRONT},
                 {ROOM_RIGHT, WALL_HEIGHT, ROOM_FRONT}, WALL);

    // Dark wood: skirting, corner posts, the lintel beam and the window frame.
    CMeshBuilder& trim = room.Mesh(node, "room_krwood5fuchi2_m");
    Box(trim, ROOM_LEFT, 0, ROOM_BACK, ROOM_RIGHT, 10, ROOM_BACK + 2, WOOD, FACE_PY | FACE_PZ);
    Box(trim, ROOM_LEFT, 0, ROOM_BACK, ROOM_LEFT + 2, 10, ROOM_FRONT, WOOD, FACE_PY | FACE_PX);
    Box(trim, ROOM_LEFT, 0, ROOM_BACK, ROOM_LEFT + 14, WALL_HEIGHT, ROOM_BACK + 14, WOOD, FACE_PX | FACE_PZ | FACE_PY);
    Box(trim, ROOM_LEFT, 0, ROOM_FRONT - 14, ROOM_LEFT + 14, WALL_HEIGHT, ROOM_FRONT, WOOD,
        FACE_PX | FACE_NZ | FACE_PY);
    Box(trim, ROOM_RIGHT - 14, 0, ROOM_BACK, ROOM_RIGHT, WALL_HEIGHT, ROOM_BACK + 14, WOOD,
        FACE_NX | FACE_PZ | FACE_PY);
    Box(trim, ROOM_LEFT, 232, ROOM_BACK, ROOM_RIGHT, 244, ROOM_BACK + 5, WOOD, FACE_NY | FACE_PY | FACE_PZ);
    Box(trim, ROOM_LEFT, 232, ROOM_BACK, ROOM_LEFT + 5, 244, ROOM_FRONT, WOOD, FACE_NY | FACE_PY | FACE_PX);
    // Window frame: sill, head and jambs standing out of the wall.
    Box(trim, ROOM_LEFT, WINDOW_Y0 - 6, WINDOW_Z0 - 8, ROOM_LEFT + 12, WINDOW_Y0, WINDOW_Z1 + 8, WOOD,
        FACES_ALL & ~FACE_NX);
    Box(trim, ROOM_LEFT, WINDOW_Y1, WINDOW_Z0 - 8, ROOM_LEFT + 8, WINDOW_Y1 + 6, WINDOW_Z1 + 8, WOOD,
        FACES_ALL & ~FACE_NX);
    Box(trim, ROOM_LEFT - 10, WINDOW_Y0, WINDOW_Z0 - 8, ROOM_LEFT + 8, WINDOW_Y1, WINDOW_Z0, WOOD,
        FACES_ALL & ~FACE_NX);
    Box(trim, ROOM_LEFT - 10, WINDOW_Y0, WINDOW_Z1, ROOM_LEFT + 8, WINDOW_Y1, WINDOW_Z1 + 8, WOOD,
        FACES_ALL & ~FACE_NX);
    // Reveal of the opening below and above the glass.
    Box(trim, ROOM_LEFT - 10, WINDOW_Y0 - 1, WINDOW_Z0, ROOM_LEFT, WINDOW_Y0, WINDOW_Z1, WOOD, FACE_PY);
    Box(trim, ROOM_LEFT - 10, WINDOW_Y1, WINDOW_Z0, ROOM_LEFT, WINDOW_Y1 + 1, WINDOW_Z1, WOOD, FACE_NY);
    // Door frame and sliding door in the back wall.
    Box(trim, 150, 0, ROOM_BACK, 158, 205, ROOM_BACK + 6);
    Box(trim, 242, 0, ROOM_BACK, 250, 205, ROOM_BACK + 6);
    Box(trim, 150, 205, ROOM_BACK, 250, 213, ROOM_BACK + 6);
    CMeshBuilder& door = room.Mesh(node, "room_kotatsuwood2003_m");
    Box(door, 158, 0, ROOM_BACK, 242, 205, ROOM_BACK + 3, FIT, FACE_PZ);
}

// Open ground round the house, inside the sky cylinders, and the house's
// outer walls from the ground up to the room's floor on the camera's sides.
void AddGround(CRoomModel& room, int node) {
    room.Mesh(node, "room_ground_m").AddDisc(0, 0, 1960, GROUND_Y, 48, true);
    CMeshBuilder& outside = room.Mesh(node, "room_outerWall_m");
    outside.AddQuad({ROOM_RIGHT, GROUND_Y, ROOM_FRONT}, {ROOM_RIGHT, GROUND_Y, ROOM_BACK}, {ROOM_RIGHT, 0, ROOM_BACK},
                    {ROOM_RIGHT, 0, ROOM_FRONT}, WALL);
    outside.AddQuad({ROOM_LEFT, GROUND_Y, ROOM_FRONT}, {ROOM_RIGHT, GROUND_Y, ROOM_FRONT}, {ROOM_RIGHT, 0, ROOM_FRONT},
                    {ROOM_LEFT, 0, ROOM_FRONT}, WALL);
    // A floor band between the storeys.
    Box(outside, ROOM_LEFT, -18, ROOM_BACK, ROOM_RIGHT + 6, 0, ROOM_FRONT + 6, WALL, FACE_PX | FACE_PZ);
}

void AddBed(CRoomModel& room, int node) {
    const float x0 = -548, x1 = -345, z0 = -252, z1 = -140;
    CMeshBuilder& frame = room.Mesh(node, "room_bedwood2003_m");
    Box(frame, x0, 4, z0, x1, 28, z1);
    Box(frame, x0, 0, z0, x0 + 8, 4, z0 + 8);
    Box(frame, x1 - 8, 0, z0, x1, 4, z0 + 8);
    Box(frame, x0, 0, z1 - 8, x0 + 8, 4, z1);
    Box(frame, x1 - 8, 0, z1 - 8, x1, 4, z1);
    Box(frame, x0, 28, z0, x0 + 10, 90, z1);
    Box(frame, x1 - 8, 28, z0, x1, 52, z1);
    CMeshBuilder& mattress = room.Mesh(node, "room_wasashab_m");
    Box(mattress, x0 + 10, 28, z0 + 2, x1 - 8, 44, z1 - 2, FIT, FACES_ALL & ~FACE_NY);
    CMeshBuilder& cover = room.Mesh(node, "room_patternj2flower2_m");
    Box(cover, x0 + 60, 44, z0 + 1, x1 - 6, 52, z1 + 1, WOOD, FACES_ALL & ~FACE_NY);
    Box(cover, x0 + 60, 20, z1, x1 - 6, 44, z1 + 1, WOOD, FACE_PZ);
    CMeshBuilder& pillow = room.Mesh(node, "room_kotatsustiripe2003_m");
    Box(pillow, x0 + 16, 44, z0 + 18, x0 + 52, 58, z1 - 18, FIT, FACES_ALL & ~FACE_NY);
}

void AddDesk(CRoomModel& room, int node) {
    const float x0 = -325, x1 = -185, z0 = -255, z1 = -190;
    CMeshBuilder& wood = room.Mesh(node, "room_deskwood2003_m");
    Box(wood, x0, 68, z0, x1, 73, z1);
    Box(wood, x0, 0, z0, x0 + 5, 68, z1);
    Box(wood, x0 + 5, 40, z0, x1 - 45, 43, z1, WOOD, FACE_NY | FACE_PY | FACE_PZ);
    Box(wood, x1 - 45, 0, z0, x1, 68, z1, WOOD, FACES_ALL & ~FACE_PZ);
    CMeshBuilder& fronts = room.Mesh(node, "room_deskgradmini_m");
    for (int i = 0; i < 3; ++i) {
        float y0 = 2 + 22 * i;
        Box(fronts, x1 - 44, y0, z1, x1 - 1, y0 + 20, z1 + 2, FIT);
    }
    // A few books on the desk, standing against the wall.
    CMeshBuilder& books = room.Mesh(node, "room_books_m");
    Box(books, x0 + 8, 73, z0 + 2, x0 + 60, 101, z0 + 22, FIT, FACE_PZ | FACE_PY | FACE_PX);
}

void AddTvRack(CRoomModel& room, int node) {
    const float x0 = -95, x1 = 105, z0 = -255, z1 = -160;
    CMeshBuilder& body = room.Mesh(node, "room_tvrack2_m");
    Box(body, x0, 0, z0, x1, 8, z1);
    Box(body, x0, 8, z0, x0 + 6, 40, z1);
    Box(body, x1 - 6, 8, z0, x1, 40, z1);
    Box(body, x0 + 6, 8, z0, x1 - 6, 40, z0 + 4, WOOD, FACE_PZ);
    Box(body, (x0 + x1) / 2 - 3, 8, z0 + 4, (x0 + x1) / 2 + 3, 40, z1 - 4);
    CMeshBuilder& top = room.Mesh(node, "room_tvline_m");
    Box(top, x0 - 2, 40, z0, x1 + 2, 45, z1 + 2, FIT);
    CMeshBuilder& glass = room.Mesh(node, "room_tvrack3_m");
    Box(glass, x0 + 6, 10, z1 - 6, (x0 + x1) / 2 - 3, 38, z1 - 5, FIT, FACE_PZ);
    Box(glass, (x0 + x1) / 2 + 3, 10, z1 - 6, x1 - 6, 38, z1 - 5, FIT, FACE_PZ);
}

void AddShelves(CRoomModel& room, int node) {
    // An open bookshelf and a chest of drawers along the back wall.
    const float x0 = 280, x1 = 420, z0 = -255, z1 = -215, h = 180;
    CMeshBuilder& wood = room.Mesh(node, "room_krwood1b_m");
    Box(wood, x0, 0, z0, x0 + 4, h, z1);
    Box(wood, x1 - 4, 0, z0, x1, h, z1);
    for (int i = 0; i < 4; ++i) {
        float y = i == 0 ? 0.0f : 6 + 58.0f * i - 4;
        Box(wood, x0 + 4, y, z0, x1 - 4, y + 4, z1);
    }
    CMeshBuilder& books = room.Mesh(node, "room_books_m");
    Box(books, x0 + 4, 4, z0, x1 - 4, h - 4, z0 + 30, FIT, FACE_PZ);

    const float cx0 = 440, cx1 = 552, cz1 = -195;
    CMeshBuilder& chest = room.Mesh(node, "room_wood1c2tansu_m");
    Box(chest, cx0, 4, z0, cx1, 112, cz1, FIT, FACE_PZ);
    Box(wood, cx0, 0, z0, cx1, 4, cz1);
    Box(wood, cx0 - 1, 112, z0, cx1 + 1, 116, cz1 + 1);
    Box(wood, cx0, 4, z0, cx1, 112, cz1, WOOD, FACE_NX | FACE_PX);
}

void AddDresser(CRoomModel& room, int node) {
    const float x0 = ROOM_LEFT, x1 = ROOM_LEFT + 46, z0 = 330, z1 = 420;
    CMeshBuilder& front = room.Mesh(node, "room_wood1ckyoudai_m");
    Box(front, x0, 0, z0, x1, 70, z1, FIT, FACE_PX);
    CMeshBuilder& body = room.Mesh(node, "room_bedwood2003_m");
    Box(body, x0, 0, z0, x1, 70, z1, WOOD, FACE_PY | FACE_NZ | FACE_PZ);
    CMeshBuilder& mirror = room.Mesh(node, "room_wood1ckyoudai2_m");
    Box(mirror, x0, 70, z0 + 15, x0 + 6, 165, z1 - 15, FIT, FACE_PX);
}

void AddKotatsuArea(CRoomModel& room, int node) {
    CMeshBuilder& carpet = room.Mesh(node, "room_kotatsucarpet2003_m");
    Box(carpet, -165, 0, -150, 165, 1.5f, 170, FIT, FACE_PY);
    Box(carpet, -165, 0, -150, 165, 1.5f, 170, WALL, FACE_NX | FACE_PX | FACE_NZ | FACE_PZ);
    CMeshBuilder& cushions = room.Mesh(node, "room_kotatsustiripe2003_m");
    const float places[4][2] = {{-118, 10}, {118, 10}, {0, -110}, {0, 128}};
    for (const auto& p : places)
        Box(cushions, p[0] - 30, 1.5f, p[1] - 30, p[0] + 30, 9, p[1] + 30, FIT, FACES_ALL & ~FACE_NY);
    // Tatami mats by the window.
    CMeshBuilder& tatami = room.Mesh(node, "room_wasashab_m");
    for (int i = 0; i < 4; ++i) {
        float z0 = -5 + 90.0f * i;
        Box(tatami, -500, 0, z0, -320, 3, z0 + 89, FIT, FACES_ALL & ~FACE_NY);
    }
}

void AddSky(CRoomModel& room, const std::string& name, float radius) {
    int node = room.AddNode(name);
    // Three turns of the panorama keep its pixels about square.
    room.Mesh(node, name + "_m0").AddCylinder(0, 0, radius, SKY_BOTTOM, SKY_TOP, 48, true, false, false, MeshUv{0, 3});
    room.Mesh(node, name + "_m1").AddDisc(0, 0, radius, SKY_TOP, 48, false);
}

// One window pane set: mullions in the frame and curtains at its sides,
// shaded by vertex colour for its time of day.
void AddWindowPane(CRoomModel& room, const std::string& name, float r, float g, float b) {
    int node = room.AddNode(name);
    CMeshBuilder& bars = room.Mesh(node, name + "_m0");
    bars.SetColour(r, g, b);
    const float x = ROOM_LEFT - 4, mid = (WINDOW_Z0 + WINDOW_Z1) / 2;
    Box(bars, x - 2, WINDOW_Y0, mid - 3, x + 2, WINDOW_Y1, mid + 3, WOOD, FACES_ALL & ~FACE_NX);
    Box(bars, x - 2, 158, WINDOW_Z0, x + 2, 162, WINDOW_Z1, WOOD, FACES_ALL & ~FACE_NX);
    CMeshBuilder& curtains = room.Mesh(node, name + "_m1", true);
    curtains.SetColour(r, g, b);
    const float cx = ROOM_LEFT + 16;
    const float sides[2][2] = {{WINDOW_Z0 - 40, WINDOW_Z0 + 22}, {WINDOW_Z1 - 22, WINDOW_Z1 + 40}};
    for (const auto& s : sides) {
        // Gathered folds: a zigzag of narrow quads.
        const int folds = 6;
        for (int i = 0; i < folds; ++i) {
            float za = s[0] + (s[1] - s[0]) * i / folds, zb = s[0] + (s[1] - s[0]) * (i + 1) / folds;
            float xa = cx + ((i % 2) ? 5.0f : 0.0f), xb = cx + ((i % 2) ? 0.0f : 5.0f);
            curtains.AddQuad({xa, 40, zb}, {xb, 40, za}, {xb, 245, za}, {xa, 245, zb}, MeshUv{100});
        }
    }
    Box(curtains, cx - 4, 245, WINDOW_Z0 - 44, cx + 6, 250, WINDOW_Z1 + 44, WOOD);
}

void AddWindowGlass(CRoomModel& room) {
    int node = room.AddNode("room_windowGlass");
    CMeshBuilder& glass = room.Mesh(node, "room_windowGlass_m", true, "room_windowGlassShape_025");
    const float x = ROOM_LEFT - 5;
    glass.AddQuad({x, WINDOW_Y0, WINDOW_Z1}, {x, WINDOW_Y0, WINDOW_Z0}, {x, WINDOW_Y1, WINDOW_Z0},
                  {x, WINDOW_Y1, WINDOW_Z1});
}

const char* const ROOM_TEXTURE_FILES[] = {
    "room_bedwood2003.tga",       "room_books.tga",
    "room_deskgradmini.tga",      "room_deskwood2003.tga",
    "room_domecfuchi2.tga",       "room_floaring3.tga",
    "room_kotatsucarpet2003.tga", "room_kotatsustiripe2003.tga",
    "room_kotatsutop.tga",        "room_kotatsuwood2003.tga",
    "room_krwood1b.tga",          "room_krwood5fuchi2.tga",
    "room_patternj2flower2.tga",  "room_tvline.tga",
    "room_tvrack2.tga",           "room_tvrack3.tga",
    "room_wasashab.tga",          "room_wood1c2tansu.tga",
    "room_wood1ckyoudai.tga",     "room_wood1ckyoudai2.tga",
};

} // namespace

bool BuildRoomModel(std::vector<uint8_t>& bytes, std::string& error) {
    CRoomModel room;
    for (const char* file : ROOM_TEXTURE_FILES)
        room.Texture(file);
    for (const char* sky : {"sky_day.tga", "sky_evening.tga", "sky_night.tga"})
        room.Texture(sky, TAM_CLAMP);

    for (const char* file : ROOM_TEXTURE_FILES) {
        std::string stem = std::string(file).substr(0, std::string(file).rfind('.'));
        room.Shader(stem + "_m", ST_LAMBERT, stem);
    }
    // The world sets these colours to (1, 1, 1, weight) every update.
    const char* const skies[3][2] = {
        {"skyCilinderDay", "sky_day"}, {"skyCilinderEvening", "sky_evening"}, {"skyCilinderNight", "sky_night"}};
    for (const auto& sky : skies) {
        room.Shader(std::string(sky[0]) + "_m0", ST_CONSTANT, sky[1]);
        room.Shader(std::string(sky[0]) + "_m1", ST_CONSTANT, sky[1]);
    }
    const char* const panes[3][2] = {{"room_mado1_Day", "room_krwood5fuchi2"},
                                     {"room_mado2_evening", "room_krwood5fuchi2"},
                                     {"room_mado0_Night", "room_krwood5fuchi2"}};
    for (const auto& pane : panes) {
        room.Shader(std::string(pane[0]) + "_m0", ST_LAMBERT_VB, pane[1]);
        room.Shader(std::string(pane[0]) + "_m1", ST_LAMBERT_VB, "room_patternj2flower2");
    }
    room.Shader("room_ground_m", ST_LAMBERT, NO_TEXTURE_NAME, 0.36f, 0.42f, 0.28f);
    room.Shader("room_outerWall_m", ST_LAMBERT, NO_TEXTURE_NAME, 0.78f, 0.74f, 0.66f);
    room.Shader("room_windowGlass_m", ST_LAMBERT, NO_TEXTURE_NAME, 0.80f, 0.90f, 1.0f, 0.25f);

    room.AddNode("roomRoot", -1);
    AddShell(room, room.AddNode("room_shell"));
    AddGround(room, room.AddNode("room_ground"));
    AddBed(room, room.AddNode("room_bed"));
    AddDesk(room, room.AddNode("room_desk"));
    AddTvRack(room, room.AddNode("room_tvRack"));
    AddShelves(room, room.AddNode("room_shelves"));
    AddDresser(room, room.AddNode("room_dresser"));
    AddKotatsuArea(room, room.AddNode("room_kotatsuArea"));
    AddSky(room, "skyCilinderDay", 2000);
    AddSky(room, "skyCilinderEvening", 1990);
    AddSky(room, "skyCilinderNight", 1980);
    AddWindowGlass(room);
    AddWindowPane(room, "room_mado1_Day", 1.0f, 1.0f, 1.0f);
    AddWindowPane(room, "room_mado2_evening", 1.0f, 0.72f, 0.52f);
    AddWindowPane(room, "room_mado0_Night", 0.50f, 0.55f, 0.80f);
    // The bath's sound nodes, at the door she leaves by; hidden, so silent,
    // except for the single frames her bath motions show them.
    for (int i = 0; i < 4; ++i)
        room.AddMarker("furoSound" + std::to_string(i), {196, 100, ROOM_BACK - 10});
    return room.Write(bytes, error);
}

bool WriteRoomContent(const std::string& folder, std::string& error) {
    std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::vector<uint8_t> model;
    if (!BuildRoomModel(model, error) || !WriteContentFile(dir / "room.hgm", model, error))
        return false;
    std::string manifest = "# Generated by deskmate_room.\n";
    manifest += std::string("model/model00.bin ") + ROOM_MODEL_PATH + " room.hgm\n";
    for (const PaintedTexture& t : PaintRoomTextures()) {
        if (!WriteContentFile(dir / t.fileName, t.image.ToTga(), error))
            return false;
        manifest += "model/texture00.bin " + std::string(ROOM_ENTRY_FOLDER) + t.fileName + " " + t.fileName + "\n";
    }
    return WriteContentFile(dir / "room.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
