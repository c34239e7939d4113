#include "tools/vesko/VeskoModels.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/chunk/ChunkEnums.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/vesko/VeskoRig.h"
#include "tools/vesko/VeskoShapes.h"

namespace {

constexpr float PI = 3.14159265358979f;
// The share of a material's colour it adds to the ambient light.
constexpr float MATERIAL_AMBIENT = 0.3f;

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }
float SmoothStep(float a, float b, float x) {
    float t = Clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

struct Colour {
    float c[4];
};
Colour Rgb(int r, int g, int b) { return {{float(r) / 255, float(g) / 255, float(b) / 255, 1}}; }
const Colour TEXTURED = {{1, 1, 1, 1}};

std::vector<Station> Mirror(std::vector<Station> stations) {
    for (Station& s : stations)
        s.x = -s.x;
    return stations;
}

} // namespace

// ---- The file writer ------------------------------------------------------

CVeskoModelFile::CVeskoModelFile(std::string path, std::string top) : m_path(std::move(path)), m_top(std::move(top)) {}

void CVeskoModelFile::Texture(const std::string& file, const std::string& name, bool animated) {
    TextureRecord t;
    t.name = name.empty() ? file : name;
    t.fileName = file;
    t.magFilter = TFM_LINEAR;
    t.minFilter = TFM_LINEAR;
    t.mipFilter = TFM_NONE;
    t.addressU = TAM_WRAP;
    t.addressV = TAM_WRAP;
    t.animated = animated ? 1.0f : 0.0f;
    m_textures.push_back(t);
}

ShaderRecord& CVeskoModelFile::Shader(const std::string& name, int type, const std::string& texture,
                                      const float colour[4], const std::vector<std::string>& bones) {
    ShaderRecord s;
    s.name = name;
    s.shaderType = type;
    s.textureName = texture.empty() ? NO_TEXTURE_NAME : texture;
    for (int i = 0; i < 4; ++i) {
        s.colour[i] = colour[i];
        s.ambient[i] = i < 3 ? MATERIAL_AMBIENT * colour[i] : 1.0f;
    }
    s.boneNames = bones;
    for (size_t i = 0; i < bones.size(); ++i)
        if (bones[i].rfind(DYNAMICS_BONE_PREFIX, 0) == 0)
            s.dynamicsBone = int(i);
    m_shaders.push_back(s);
    return m_shaders.back();
}

const ShaderRecord* CVeskoModelFile::FindShader(const std::string& name) const {
    for (const ShaderRecord& s : m_shaders)
        if (s.name == name)
            return &s;
    return nullptr;
}

VeskoPart& CVeskoModelFile::Part(const std::string& node, const std::string& shader, bool doubleSided) {
    const std::string shape = node + "Shape";
    for (auto& p : m_parts)
        if (p->shape == shape && p->shader == shader)
            return *p;
    if (std::find(m_shapes.begin(), m_shapes.end(), shape) == m_shapes.end()) {
        m_shapes.push_back(shape);
        m_nodes.AddLeaf(shape, RT_SHAPE, node);
    }
    auto part = std::make_unique<VeskoPart>();
    part->shape = shape;
    part->shader = shader;
    part->geometry = shader + "Geometry";
    part->doubleSided = doubleSided;
    m_parts.push_back(std::move(part));
    return *m_parts.back();
}

bool CVeskoModelFile::Write(std::vector<uint8_t>& bytes, std::string& error) {
    if (m_nodes.Failed()) {
        error = m_path + ": the node tree was refused";
        return false;
    }
    CChunkWriter writer;
    for (const TextureRecord& t : m_textures)
        writer.Write(t);
    m_nodes.WriteNodes(writer);
    for (const ShaderRecord& s : m_shaders)
        writer.Write(s);
    std::vector<std::unique_ptr<BuiltGeometry>> built;
    for (auto& part : m_parts) {
        const ShaderRecord* shader = FindShader(part->shader);
        if (!shader) {
            error = m_path + ": no shader " + part->shader;
            return false;
        }
        built.push_back(std::make_unique<BuiltGeometry>());
        if (!BuildGeometry(part->mesh, part->geometry, ShaderVertexMask(shader->shaderType), part->doubleSided,
                           *built.back())) {
            error = m_path + ": cannot build geometry " + part->geometry;
            return false;
        }
        writer.Write(built.back()->record);
    }
    for (const std::string& shape : m_shapes) {
        ShapeRecord record;
        record.name = shape;
        for (auto& part : m_parts)
            if (part->shape == shape)
                record.pairs.push_back({part->shader, part->geometry});
        writer.Write(record);
    }
    m_nodes.WriteHierarchy(writer);
    if (writer.Failed()) {
        error = m_path + ": the chunk writer refused a record";
        return false;
    }
    bytes = writer.GetBytes();
    return true;
}

bool BuildVeskoSkeleton(CSkeletonBuilder& skeleton) {
    for (const VeskoRigNode& n : VeskoRigNodes()) {
        MeshPoint t{n.translation[0], n.translation[1], n.translation[2]};
        MeshPoint s{n.scale[0], n.scale[1], n.scale[2]};
        if (n.kind == VESKO_BONE)
            skeleton.AddBone(n.name, n.parent, t, {0, 0, 0}, s);
        else
            skeleton.AddTransform(n.name, n.parent, t, {0, 0, 0}, s);
    }
    return !skeleton.Failed();
}

namespace {

// ---- Skinning -------------------------------------------------------------

// The rest skeleton every mesh is bound in, and each bone's far end.
struct Rig {
    CSkeletonBuilder skeleton;
    std::map<std::string, MeshPoint> tails;

    Rig() {
        BuildVeskoSkeleton(skeleton);
        // A bone's tail: its main child, or a short way on.
        const std::pair<const char*, const char*> chains[] = {{"koshi", "sebone1"},
                                                              {"sebone1", "sebone2"},
                                                              {"sebone2", "kubi"},
                                                              {"kubi", "head"},
                                                              {"kataL", "udeL1"},
                                                              {"udeL1", "udeL2"},
                                                              {"udeL2", "teL"},
                                                              {"kataR", "udeR1"},
                                                              {"udeR1", "udeR2"},
                                                              {"udeR2", "teR"},
                                                              {"legL1", "legL2"},
                                                              {"legL2", "legL3"},
                                                              {"legL3", "legL4"},
                                                              {"legR1", "legR2"},
                                                              {"legR2", "legR3"},
                                                              {"legR3", "legR4"},
                                                              {"hairMomiL", "hairMomiLm"},
                                                              {"hairMomiLm", "hairMomiLe"},
                                                              {"hairMomiR", "hairMomiRm"},
                                                              {"hairMomiRm", "hairMomiRe"},
                                                              {"hairBackLA", "hairBackLAe"},
                                                              {"hairBackRA", "hairBackRAe"},
                                                              {"hairBackLB", "hairBackLBe"},
                                                              {"hairBackRB", "hairBackRBe"},
                                                              {"hairBackC", "hairBackCe"}};
        for (auto& c : chains) {
            const VeskoRigNode* child = FindVeskoRigNode(c.second);
            tails[c.first] = {child->translation[0], child->translation[1], child->translation[2]};
        }
        tails["head"] = {0, 0.6f, 0};
        tails["teL"] = {0.02f, -0.3f, 0.02f};
        tails["teR"] = {-0.02f, -0.3f, 0.02f};
        tails["legL4"] = {0, 0, 0.1f};
        tails["legR4"] = {0, 0, 0.1f};
        for (const std::string& hair : VeskoHairBones())
            if (hair.back() == 'e') {
                const VeskoRigNode* n = FindVeskoRigNode(hair);
                tails[hair] = {n->translation[0] * 0.4f, n->translation[1] * 0.4f, n->translation[2] * 0.4f};
            }
    }

    MeshPoint At(const std::string& node, MeshPoint local = {0, 0, 0}) const {
        return skeleton.RestPoint(skeleton.Find(node), local);
    }
    const CMatrix& World(const std::string& node) const { return skeleton.Node(skeleton.Find(node)).world; }
    // Segments of the named bones, by their places in `palette`.
    std::vector<SkinSegment> Segments(const std::vector<std::string>& palette,
                                      const std::vector<std::string>& bones) const {
        std::vector<SkinSegment> out;
        for (const std::string& b : bones) {
            int index = int(std::find(palette.begin(), palette.end(), b) - palette.begin());
            auto tail = tails.find(b);
            out.push_back(
                skeleton.Segment(skeleton.Find(b), index, tail == tails.end() ? MeshPoint{0, 0.1f, 0} : tail->second));
        }
        return out;
    }
};

const Rig& TheRig() {
    static const Rig rig;
    return rig;
}

int PaletteIndex(const std::vector<std::string>& palette, const std::string& bone) {
    return int(std::find(palette.begin(), palette.end(), bone) - palette.begin());
}

// Skins everything added from here on to one bone.
void Rigid(CMeshBuilder& mesh, const std::vector<std::string>& palette, const std::string& bone) {
    MeshSkin skin;
    skin.count = 1;
    skin.bones[0] = PaletteIndex(palette, bone);
    skin.weights[0] = 1;
    mesh.SetSkin(skin);
}

// ---- The body ------------------------------------------------------------

const std::vector<std::string> ARM_BONES = {"sebone2", "kataL", "udeL1", "udeL2", "teL",
                                            "kataR",   "udeR1", "udeR2", "teR"};
const std::vector<std::string> BODY_BONES = {"koshi", "sebone1", "sebone2", "kataL", "kataR",
                                             "legL1", "legR1",   "udeL1",   "udeR1"};
const std::vector<std::string> LEG_BONES = {"koshi", "legL1", "legL2", "legL3", "legL4",
                                            "legR1", "legR2", "legR3", "legR4"};
const std::vector<std::string> NECK_BONES = {"sebone2", "kubi", "head"};

const std::vector<Station>& TorsoStations() {
    static const std::vector<Station> s = {{4.53f, 0, -0.02f, 0.10f, 0.09f},  {4.47f, 0, -0.02f, 0.22f, 0.13f},
                                           {4.40f, 0, -0.02f, 0.35f, 0.17f},  {4.26f, 0, -0.01f, 0.375f, 0.19f},
                                           {4.04f, 0, 0.0f, 0.34f, 0.19f},    {3.86f, 0, 0.0f, 0.31f, 0.18f},
                                           {3.62f, 0, 0.0f, 0.265f, 0.165f},  {3.48f, 0, 0.0f, 0.265f, 0.17f},
                                           {3.28f, 0, 0.0f, 0.33f, 0.195f},   {3.08f, 0, -0.01f, 0.40f, 0.225f},
                                           {2.92f, 0, -0.01f, 0.40f, 0.215f}, {2.80f, 0, 0.0f, 0.30f, 0.17f},
                                           {2.72f, 0, 0.0f, 0.12f, 0.09f},    {2.69f, 0, 0, 0, 0}};
    return s;
}

// The bust and the seat, as offsets from the torso's ellipses.
float TorsoBulge(float y, float s) {
    auto g = [](float d, float w) { return std::exp(-(d / w) * (d / w)); };
    float bust = 0.085f * g(y - 4.0f, 0.12f) * (g(s - 0.5f - 0.088f, 0.05f) + g(s - 0.5f + 0.088f, 0.05f));
    float seat = 0.035f * g(y - 3.0f, 0.16f) * (g(s - 0.06f, 0.07f) + g(s - 0.94f, 0.07f));
    return bust + seat;
}

const std::vector<Station>& ArmStations() { // the left arm
    static const std::vector<Station> s = {
        {4.50f, 0.43f, -0.02f, 0.03f, 0.03f},   {4.44f, 0.44f, -0.02f, 0.10f, 0.10f},
        {4.00f, 0.52f, -0.025f, 0.092f, 0.09f}, {3.56f, 0.605f, -0.03f, 0.068f, 0.066f},
        {3.45f, 0.62f, -0.02f, 0.068f, 0.066f}, {3.15f, 0.66f, 0.0f, 0.062f, 0.058f},
        {2.80f, 0.705f, 0.03f, 0.046f, 0.042f}, {2.76f, 0.71f, 0.035f, 0, 0}};
    return s;
}

const std::vector<Station>& LegStations() { // the left leg
    static const std::vector<Station> s = {{3.10f, 0.19f, 0, 0, 0},
                                           {3.05f, 0.19f, 0, 0.17f, 0.17f},
                                           {2.90f, 0.205f, 0, 0.205f, 0.20f},
                                           {2.50f, 0.215f, 0.01f, 0.185f, 0.18f},
                                           {2.00f, 0.215f, 0.02f, 0.15f, 0.145f},
                                           {1.55f, 0.22f, 0.03f, 0.112f, 0.11f},
                                           {1.35f, 0.22f, 0.02f, 0.115f, 0.115f},
                                           {1.05f, 0.22f, -0.01f, 0.125f, 0.13f},
                                           {0.60f, 0.22f, 0, 0.085f, 0.085f},
                                           {0.25f, 0.22f, -0.01f, 0.062f, 0.062f},
                                           {0.12f, 0.22f, -0.01f, 0.058f, 0.06f},
                                           {0.08f, 0.22f, -0.01f, 0, 0}};
    return s;
}

const std::vector<Station>& NeckStations() {
    static const std::vector<Station> s = {{4.98f, 0, 0.0f, 0.105f, 0.105f},
                                           {4.75f, 0, -0.01f, 0.11f, 0.105f},
                                           {4.54f, 0, -0.02f, 0.125f, 0.115f},
                                           {4.48f, 0, -0.02f, 0.13f, 0.115f}};
    return s;
}

constexpr float ARM_V = 0.5f, TORSO_V = 1 / 1.8f, LEG_V = 0.296f, NECK_V = 2.0f;

void AddArms(CMeshBuilder& mesh, const std::vector<std::string>& palette, float inflate, bool hands,
             bool upperArms = true) {
    const Rig& rig = TheRig();
    for (int side = 0; side < 2; ++side) {
        const char* s = side == 0 ? "L" : "R";
        auto bone = [s](const char* base) { return std::string(base) + s; };
        std::vector<Station> stations = side == 0 ? ArmStations() : Mirror(ArmStations());
        int first = mesh.VertexCount();
        Rigid(mesh, palette, bone("ude") + "1");
        if (upperArms) {
            AddTube(mesh, stations, 14, 24, 4.50f, ARM_V, 0, inflate);
            // The shoulder's round, over the top of the arm.
            MeshPoint shoulder = rig.At(bone("ude") + "1", {side == 0 ? -0.04f : 0.04f, 0.0f, -0.01f});
            AddEllipsoid(mesh, {0.10f + inflate, 0.08f + inflate, 0.10f + inflate},
                         Place(shoulder, {0, 0, side == 0 ? -0.35f : 0.35f}), 14, 8, 0, 0.06f);
        } else {
            // Only the forearm's end shows from a long sleeve.
            AddTubeBand(mesh, stations, 3.0f, 2.76f, 12, 6, 4.50f, ARM_V, 0, inflate);
        }
        mesh.WeightByDistance(
            first, rig.Segments(palette, {bone("kata"), bone("ude") + "1", bone("ude") + "2", bone("te")}), 2);
        if (hands) {
            Rigid(mesh, palette, bone("te"));
            MeshPoint wrist = rig.At(bone("te"));
            float x = side == 0 ? 1.0f : -1.0f;
            AddEllipsoid(mesh, {0.04f, 0.14f, 0.075f},
                         Place({wrist.x + x * 0.015f, wrist.y - 0.14f, wrist.z + 0.01f}, {0, 0, x * 0.08f}), 12, 10,
                         0.9f, 1.0f);
            AddEllipsoid(mesh, {0.028f, 0.065f, 0.028f},
                         Place({wrist.x - x * 0.01f, wrist.y - 0.08f, wrist.z + 0.07f}, {-0.3f, 0, -x * 0.3f}), 8, 6,
                         0.9f, 0.95f);
        }
    }
}

void AddTorso(CMeshBuilder& mesh, const std::vector<std::string>& palette, float yTop, float yBottom, float inflate,
              bool bulge = true) {
    const Rig& rig = TheRig();
    int first = mesh.VertexCount();
    Rigid(mesh, palette, "sebone1");
    AddTubeBand(mesh, TorsoStations(), yTop, yBottom, 28, 36, 4.50f, TORSO_V, 0, inflate, bulge ? TorsoBulge : nullptr);
    std::vector<std::string> bones = {"koshi", "sebone1", "sebone2"};
    if (PaletteIndex(palette, "legL1") < int(palette.size()))
        bones.insert(bones.end(), {"legL1", "legR1"});
    if (PaletteIndex(palette, "kataL") < int(palette.size()))
        bones.insert(bones.end(), {"kataL", "kataR"});
    mesh.WeightByDistance(first, rig.Segments(palette, bones), 2, 5);
}

void AddLegs(CMeshBuilder& mesh, const std::vector<std::string>& palette, float yTop, float yBottom, float inflate,
             bool feet) {
    const Rig& rig = TheRig();
    for (int side = 0; side < 2; ++side) {
        const char* s = side == 0 ? "L" : "R";
        auto bone = [s](const char* base, int n) { return std::string(base) + s + std::to_string(n); };
        std::vector<Station> stations = side == 0 ? LegStations() : Mirror(LegStations());
        int first = mesh.VertexCount();
        Rigid(mesh, palette, bone("leg", 1));
        AddTubeBand(mesh, stations, yTop, yBottom, 16, 40, 3.05f, LEG_V, 0, inflate);
        std::vector<std::string> bones = {bone("leg", 1), bone("leg", 2), bone("leg", 3)};
        if (yTop > 2.85f)
            bones.push_back("koshi");
        mesh.WeightByDistance(first, rig.Segments(palette, bones), 2);
        if (feet) {
            Rigid(mesh, palette, bone("leg", 3));
            MeshPoint ankle = rig.At(bone("leg", 3));
            AddEllipsoid(mesh, {0.08f + inflate, 0.08f + inflate, 0.22f + inflate},
                         Place({ankle.x, 0.08f, ankle.z + 0.10f}), 12, 10, 0.9f, 1.0f);
        }
    }
}

void AddNeck(CMeshBuilder& mesh, const std::vector<std::string>& palette) {
    int first = mesh.VertexCount();
    Rigid(mesh, palette, "kubi");
    AddTube(mesh, NeckStations(), 14, 8, 4.95f, NECK_V, 0);
    mesh.WeightByDistance(first, TheRig().Segments(palette, {"sebone2", "kubi", "head"}), 2);
}

// ---- The head --------------------------------------------------------------

// The head's surface in the head bone's space, by the angle round (0 at the
// back, pi/2 on the left, pi at the front) and the latitude.
MeshPoint HeadPoint(float a, float lat, float grow = 0) {
    float cl = std::cos(lat), sl = std::sin(lat);
    float front = std::max(0.0f, -std::cos(a));
    float jaw = lat < 0 ? SmoothStep(0.0f, 1.0f, -sl) : 0.0f;
    float x = (0.47f + grow) * cl * std::sin(a) * (1 - 0.24f * jaw);
    float y = (0.53f + grow) * sl * (1 + 0.06f * jaw * front);
    float z = -(0.49f + grow) * cl * std::cos(a) * (1 + 0.06f * (1 - front) * cl);
    return {x, y + 0.55f, z + 0.02f};
}

MeshPoint HeadToRig(MeshPoint p) {
    MeshPoint head = TheRig().At("head");
    return {p.x + head.x, p.y + head.y, p.z + head.z};
}

// Bangs: where the hair ends above the face, by the angle round.
float HairLine(float a) {
    float front = std::max(0.0f, -std::cos(a));
    float side = std::fabs(std::sin(a));
    float back = -0.85f + 0.6f * side * side;
    // Points of the fringe across the forehead.
    float zig = std::fabs(std::fmod((a - PI) * 4.2f + 100.5f, 1.0f) - 0.5f) * 2;
    float fringe = 0.12f + 0.12f * zig;
    return back + (fringe - back) * SmoothStep(0.35f, 0.8f, front);
}

void AddHead(CVeskoModelFile& file, const std::string& node, const std::string& faceShader,
             const std::string& hairShader, const std::vector<std::string>& hairPalette) {
    const std::vector<std::string> facePalette = {"head"};
    CMeshBuilder& face = file.Part(node, faceShader).mesh;
    Rigid(face, facePalette, "head");
    const float a0 = PI / 2 - 0.1f, a1 = 3 * PI / 2 + 0.1f;
    face.AddSurface(30, 26, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        MeshPoint h = HeadPoint(a0 + (a1 - a0) * s, PI / 2 - PI * t);
        p = HeadToRig(h);
        u = 0.5f + h.x / 1.04f;
        v = (1.12f - h.y) / 1.2f;
    });
    // Ears, mapped on the skin at the face's edges.
    for (float side : {-1.0f, 1.0f}) {
        int first = face.VertexCount();
        AddEllipsoid(face, {0.04f, 0.095f, 0.065f}, Place(HeadToRig({side * 0.46f, 0.47f, 0.0f}), {0, 0, side * 0.2f}),
                     10, 8);
        (void)first;
    }

    CMeshBuilder& hair = file.Part(node, hairShader, true).mesh;
    Rigid(hair, hairPalette, "head");
    // The back of the head, under the hair.
    hair.AddSurface(20, 20, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        p = HeadToRig(HeadPoint(a1 + (a0 + 2 * PI - a1) * s, PI / 2 - PI * t));
        u = s;
        v = 0.2f + 0.3f * t;
    });
    // The hair over the crown, ending in the fringe.
    hair.AddSurface(64, 16, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float a = 2 * PI * s;
        float lat = PI / 2 - t * (PI / 2 - HairLine(a));
        float volume = 0.045f + 0.03f * std::max(0.0f, std::sin(lat));
        p = HeadToRig(HeadPoint(a, lat, volume));
        u = s;
        v = 0.05f + 0.45f * t;
    });
    // The strands that swing: each from its root down its bones.
    const Rig& rig = TheRig();
    struct Strand {
        std::vector<const char*> bones;
        float radius, flat;
        MeshPoint side;
    };
    const Strand strands[] = {
        {{"hairMomiL", "hairMomiLm", "hairMomiLe"}, 0.075f, 0.4f, {0, 0, 1}},
        {{"hairMomiR", "hairMomiRm", "hairMomiRe"}, 0.075f, 0.4f, {0, 0, 1}},
    };
    // The long hair down her back: one curtain from the back of the head,
    // swinging with the five back strands' bones.
    {
        const float grow = 0.08f, nape = 0.3f;
        auto headAt = [&](float a, float y) {
            float sl = std::max(-1.0f, std::min(1.0f, (y - 0.55f) / (0.53f + grow)));
            return HeadPoint(a, std::asin(sl), grow);
        };
        int first = hair.VertexCount();
        hair.AddSurface(30, 22, [&](float s, float t, MeshPoint& p, float& u, float& v) {
            float a = -1.5f + 3.0f * s;
            float side = std::fabs(a) / 1.5f;
            float zig = std::fabs(std::fmod(a * 5.0f + 10.5f, 1.0f) - 0.5f) * 2;
            float tip = -1.0f + 0.5f * side * side + 0.07f * zig;
            if (t < 0.25f) {
                // Lower at the sides, so the curtain meets the cap over the ears.
                float top = 0.95f - 0.5f * side * side;
                p = headAt(a, top + (nape - top) * t / 0.25f);
            } else {
                float f = (t - 0.25f) / 0.75f;
                MeshPoint top = headAt(a, nape);
                float back = std::min(top.z, -0.27f);
                float k = SmoothStep(0.0f, 0.4f, f);
                p = {top.x * (1 + 0.1f * f), nape + (tip - nape) * f, top.z + (back - top.z) * k};
            }
            p = HeadToRig(p);
            u = s;
            v = 0.1f + 0.9f * t;
        });
        std::vector<std::string> bones = {"head"};
        for (const char* b : {"hairBackLA", "hairBackRA", "hairBackLB", "hairBackRB", "hairBackC", "hairBackLAe",
                              "hairBackRAe", "hairBackLBe", "hairBackRBe", "hairBackCe"})
            bones.push_back(b);
        hair.WeightByDistance(first, rig.Segments(hairPalette, bones), 2, 4);
    }
    for (const Strand& strand : strands) {
        std::vector<MeshPoint> path;
        std::vector<std::string> bones;
        for (const char* b : strand.bones) {
            path.push_back(rig.At(b));
            bones.push_back(b);
        }
        // Start inside the cap, and run on past the last bone.
        MeshPoint a = path[0], b = path[1], last = path.back(), before = path[path.size() - 2];
        MeshPoint up{a.x - (b.x - a.x) * 0.12f, a.y - (b.y - a.y) * 0.12f, a.z - (b.z - a.z) * 0.12f};
        path.insert(path.begin(), up);
        path.push_back({last.x + (last.x - before.x) * 0.3f, last.y + (last.y - before.y) * 0.3f,
                        last.z + (last.z - before.z) * 0.3f});
        int first = hair.VertexCount();
        AddStrand(hair, path, strand.radius, 0, strand.flat, strand.side, 10, 16);
        std::vector<std::string> weighted = bones;
        weighted.push_back("head");
        hair.WeightByDistance(first, rig.Segments(hairPalette, weighted), 2, 6);
    }
}

// ---- Accessories -----------------------------------------------------------

// Rigid meshes under an accessory node, in the node's own space (caps: the
// crown at about y 0.2 above the node, the head's middle at y -0.37).
class CAccessories {
public:
    explicit CAccessories(CVeskoModelFile& file) : m_file(file) {}

    CMeshBuilder& Mesh(const std::string& node, Colour colour, const std::string& texture = "",
                       bool doubleSided = false) {
        std::string shader = node + "_m" + std::to_string(m_count[node]++);
        if (!texture.empty() && !HasTexture(texture))
            m_file.Texture(texture);
        m_file.Shader(shader, ST_LAMBERT, texture, colour.c);
        return m_file.Part(node, shader, doubleSided).mesh;
    }

private:
    bool HasTexture(const std::string& file) const {
        for (const TextureRecord& t : m_file.Textures())
            if (t.fileName == file)
                return true;
        return false;
    }
    CVeskoModelFile& m_file;
    std::map<std::string, int> m_count;
};

// A hat's brim: a flat ring from r0 to r1 at height y.
void Brim(CMeshBuilder& m, float r0, float r1, float y, float droop = 0, MeshPoint scale = {1, 1, 1}) {
    m.AddSurface(32, 3, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float a = 2 * PI * s, r = r0 + (r1 - r0) * t;
        p = {scale.x * r * std::sin(a), y - droop * t * t, -scale.z * r * std::cos(a)};
        u = s;
        v = t;
    });
}

// A cap's dome over the crown, from the top down to `lat`.
void Dome(CMeshBuilder& m, float grow, float lat, float tilt = 0) {
    m.AddSurface(28, 10, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float a = 2 * PI * s, l = PI / 2 - t * (PI / 2 - lat);
        MeshPoint h = HeadPoint(a, l, grow);
        float c = std::cos(tilt), sn = std::sin(tilt);
        float y = h.y - 0.55f, z = h.z - 0.02f;
        p = {h.x, 0.55f - 0.92f + y * c - z * sn, 0.02f + y * sn + z * c};
        u = s;
        v = t;
    });
}

void PairedEars(CMeshBuilder& m, MeshPoint radii, float x, float y, float z, float roll, float pitch = 0) {
    for (float side : {-1.0f, 1.0f})
        AddEllipsoid(m, radii, Place({side * x, y, z}, {pitch, 0, -side * roll}), 12, 10);
}

void BuildAccessories(CVeskoModelFile& file) {
    CAccessories acc(file);
    const Colour straw = Rgb(236, 204, 120), white = Rgb(248, 248, 250), red = Rgb(210, 40, 56);
    const Colour black = Rgb(30, 28, 34), pink = Rgb(250, 170, 200), brown = Rgb(130, 84, 52);
    const Colour green = Rgb(70, 130, 70), gold = Rgb(240, 200, 90), navy = Rgb(40, 50, 100);

    // Straw hat with a red band.
    {
        CMeshBuilder& m = acc.Mesh("cap_Mugiwara", straw);
        Dome(m, 0.13f, 0.25f);
        Brim(acc.Mesh("cap_Mugiwara", straw, "", true), 0.5f, 0.9f, -0.02f, 0.06f);
        AddRing(acc.Mesh("cap_Mugiwara", red), 0.51f, 0.035f, 1.6f, Place({0, 0.02f, 0.02f}), 28, 6);
    }
    // Nurse's cap: a folded white band with a red cross.
    {
        CMeshBuilder& m = acc.Mesh("cap_Nurse", white);
        m.AddBox({-0.28f, 0.05f, 0.05f}, {0.28f, 0.25f, 0.25f});
        CMeshBuilder& c = acc.Mesh("cap_Nurse", red);
        c.AddBox({-0.03f, 0.1f, 0.25f}, {0.03f, 0.22f, 0.262f});
        c.AddBox({-0.07f, 0.14f, 0.25f}, {0.07f, 0.18f, 0.262f});
    }
    // Maid's frilled headband.
    {
        CMeshBuilder& m = acc.Mesh("cap_Maid", white);
        for (int i = 0; i <= 10; ++i) {
            float a = PI * (0.1f + 0.8f * float(i) / 10);
            AddEllipsoid(m, {0.07f, 0.06f, 0.03f},
                         Place({0.5f * std::cos(a), -0.02f + 0.17f * std::sin(a), 0.12f}, {0.6f, 0, a - PI / 2}), 8, 6);
        }
        AddRing(acc.Mesh("cap_Maid", black), 0.5f, 0.02f, 1, Place({0, -0.02f, 0.05f}, {1.2f, 0, 0}, {1, 1, 0.7f}));
    }
    // A father's cap: dome and a visor.
    {
        Dome(acc.Mesh("capBexlaPapa", Rgb(60, 90, 170)), 0.11f, 0.35f);
        CMeshBuilder& m = acc.Mesh("capBexlaPapa", Rgb(60, 90, 170), "", true);
        m.AddSurface(12, 3, [&](float s, float t, MeshPoint& p, float& u, float& v) {
            float a = PI * (0.25f + 0.5f * s);
            float r = 0.45f + 0.3f * t;
            p = {r * std::cos(a), -0.05f - 0.05f * t, r * std::sin(a)};
            u = s, v = t;
        });
        AddEllipsoid(acc.Mesh("capBexlaPapa", white), {0.05f, 0.03f, 0.05f}, Place({0, 0.22f, 0}), 8, 6);
    }
    // Shampoo hat: a soft ring round the forehead.
    {
        CMeshBuilder& m = acc.Mesh("shampooHat", Rgb(150, 210, 240), "", true);
        Brim(m, 0.48f, 0.85f, -0.18f, 0.05f);
    }
    // Cat-eared beanie.
    {
        CMeshBuilder& m = acc.Mesh("capNeneko", TEXTURED, "capNeneko.tga");
        Dome(m, 0.11f, 0.2f);
        PairedEars(m, {0.12f, 0.16f, 0.05f}, 0.3f, 0.18f, 0.0f, 0.45f);
    }
    // Helmet with a stripe.
    {
        Dome(acc.Mesh("capHelmet", Rgb(250, 210, 50)), 0.14f, 0.05f);
        AddRing(acc.Mesh("capHelmet", white), 0.45f, 0.03f, 1, Place({0, 0.05f, 0.02f}, {PI / 2, 0, 0}, {1, 1, 1.1f}));
    }
    // Alien antennae.
    {
        CMeshBuilder& m = acc.Mesh("capAlian", Rgb(120, 220, 90));
        for (float side : {-1.0f, 1.0f}) {
            AddStrand(m, {{side * 0.15f, 0.0f, 0}, {side * 0.25f, 0.35f, 0.05f}, {side * 0.32f, 0.5f, 0.1f}}, 0.02f,
                      0.02f, 1, {1, 0, 0}, 6, 6);
            AddEllipsoid(m, {0.06f, 0.06f, 0.06f}, Place({side * 0.33f, 0.54f, 0.1f}), 10, 8);
        }
        AddRing(m, 0.48f, 0.02f, 1, Place({0, -0.05f, 0.02f}, {1.3f, 0, 0}, {1, 1, 0.8f}));
    }
    // Twin pigtails on a cap.
    {
        CMeshBuilder& m = acc.Mesh("osageSpin", TEXTURED, "osageSpin.tga");
        for (float side : {-1.0f, 1.0f}) {
            AddEllipsoid(m, {0.13f, 0.13f, 0.13f}, Place({side * 0.42f, -0.05f, -0.15f}), 12, 10);
            AddStrand(m, {{side * 0.45f, -0.1f, -0.18f}, {side * 0.62f, -0.5f, -0.22f}, {side * 0.6f, -1.0f, -0.2f}},
                      0.09f, 0, 0.6f, {0, 0, 1}, 10, 10);
        }
    }
    // Summer hat: wide white brim with a blue ribbon.
    {
        Dome(acc.Mesh("capSummer", white), 0.12f, 0.3f);
        Brim(acc.Mesh("capSummer", white, "", true), 0.5f, 1.0f, -0.02f, 0.12f);
        AddRing(acc.Mesh("capSummer", Rgb(80, 150, 230)), 0.51f, 0.03f, 1.5f, Place({0, 0.02f, 0.02f}), 28, 6);
    }
    // A green apple.
    {
        CMeshBuilder& m = acc.Mesh("capAoringo", TEXTURED, "capAoringoFrame.tga");
        AddEllipsoid(m, {0.3f, 0.26f, 0.3f}, Place({0, 0.2f, 0}), 16, 12);
        AddStrand(acc.Mesh("capAoringo", brown), {{0, 0.4f, 0}, {0.03f, 0.55f, 0}}, 0.025f, 0.02f, 1, {1, 0, 0}, 6, 4);
        AddEllipsoid(acc.Mesh("capAoringo", green), {0.1f, 0.02f, 0.05f}, Place({0.1f, 0.5f, 0}, {0, 0, 0.4f}), 8, 6);
    }
    // Beret, tilted.
    AddEllipsoid(acc.Mesh("capGreenBeret", Rgb(50, 110, 60)), {0.6f, 0.12f, 0.58f},
                 Place({0.05f, 0.12f, -0.05f}, {0, 0, -0.25f}), 20, 10);
    // Cap with an antenna.
    {
        CMeshBuilder& m = acc.Mesh("capAntena", TEXTURED, "capAntenaGray.tga");
        Dome(m, 0.11f, 0.3f);
        AddStrand(m, {{0, 0.15f, 0}, {0, 0.6f, 0}}, 0.015f, 0.015f, 1, {1, 0, 0}, 6, 4);
        AddEllipsoid(acc.Mesh("capAntena", red), {0.05f, 0.05f, 0.05f}, Place({0, 0.63f, 0}), 8, 6);
    }
    // Witch's hat: a bent cone on a brim.
    {
        CMeshBuilder& m = acc.Mesh("capWitch", TEXTURED, "mimiWitch.tga");
        AddStrand(m, {{0, -0.02f, 0}, {0, 0.45f, -0.05f}, {0.1f, 0.8f, -0.25f}}, 0.5f, 0, 1, {1, 0, 0}, 20, 10);
        Brim(acc.Mesh("capWitch", TEXTURED, "mimiWitch.tga", true), 0.45f, 0.95f, -0.02f, 0.08f);
    }
    // Red riding hood: a hood round the back of the head.
    {
        CMeshBuilder& m = acc.Mesh("capAkazukin", red, "", true);
        m.AddSurface(24, 12, [&](float s, float t, MeshPoint& p, float& u, float& v) {
            float a = PI * (-0.68f + 1.36f * s);
            float lat = PI / 2 - t * (PI / 2 + 0.9f);
            MeshPoint h = HeadPoint(a, lat, 0.1f);
            p = {h.x, h.y - 0.92f, h.z};
            u = s, v = t;
        });
    }
    // A big ribbon bow.
    {
        CMeshBuilder& m = acc.Mesh("capRibbonDeFron", TEXTURED, "capRibbonDeFron.tga");
        for (float side : {-1.0f, 1.0f})
            AddEllipsoid(m, {0.22f, 0.13f, 0.07f}, Place({side * 0.2f, 0.12f, 0.05f}, {0, 0, side * 0.3f}), 12, 8);
        AddEllipsoid(m, {0.07f, 0.08f, 0.07f}, Place({0, 0.1f, 0.07f}), 8, 6);
    }
    // A cosmos flower on the side of the head.
    {
        CMeshBuilder& m = acc.Mesh("capKosmos", TEXTURED, "capKosmos.tga");
        for (int i = 0; i < 8; ++i) {
            float a = 2 * PI * float(i) / 8;
            AddEllipsoid(m, {0.05f, 0.13f, 0.02f},
                         Place({0.35f + 0.1f * std::sin(a), -0.05f + 0.1f * std::cos(a), 0.25f}, {0, -0.5f, -a}), 8, 6);
        }
        AddEllipsoid(acc.Mesh("capKosmos", gold), {0.05f, 0.05f, 0.03f}, Place({0.35f, -0.05f, 0.27f}), 8, 6);
    }
    // The eyeball father on her head.
    {
        AddEllipsoid(acc.Mesh("kitarou", white), {0.12f, 0.12f, 0.12f}, Place({0, 0.3f, 0.0f}), 12, 10);
        AddEllipsoid(acc.Mesh("kitarou", black), {0.05f, 0.05f, 0.02f}, Place({0, 0.3f, 0.115f}), 8, 6);
        AddEllipsoid(acc.Mesh("kitarou", red), {0.08f, 0.1f, 0.08f}, Place({0, 0.15f, -0.02f}), 10, 8);
    }
    // Ears.
    PairedEars(acc.Mesh("mimi_nekoMimi", black), {0.12f, 0.18f, 0.045f}, 0.3f, 0.18f, 0.0f, 0.45f);
    {
        PairedEars(acc.Mesh("mimi_kumaMimi", brown), {0.13f, 0.13f, 0.06f}, 0.36f, 0.12f, -0.02f, 0.7f);
        PairedEars(acc.Mesh("mimi_kumaMimi", Rgb(220, 170, 130)), {0.07f, 0.07f, 0.03f}, 0.36f, 0.12f, 0.03f, 0.7f);
    }
    {
        PairedEars(acc.Mesh("mimi_usaMimi", white), {0.08f, 0.36f, 0.045f}, 0.16f, 0.45f, -0.05f, 0.15f, -0.2f);
        PairedEars(acc.Mesh("mimi_usaMimi", pink), {0.045f, 0.28f, 0.02f}, 0.16f, 0.45f, 0.0f, 0.15f, -0.2f);
    }
    PairedEars(acc.Mesh("mimiAsuka", TEXTURED, "mimiAsuka.tga"), {0.05f, 0.12f, 0.04f}, 0.34f, -0.05f, 0.12f, 1.0f);
    {
        CMeshBuilder& m = acc.Mesh("multiSensor2", white);
        for (float side : {-1.0f, 1.0f}) {
            AddEllipsoid(m, {0.06f, 0.12f, 0.12f}, Place({side * 0.5f, -0.45f, 0.0f}), 12, 8);
            AddStrand(m, {{side * 0.52f, -0.4f, -0.02f}, {side * 0.55f, 0.05f, -0.1f}}, 0.02f, 0.01f, 1, {0, 0, 1}, 6,
                      4);
        }
    }
    // Pigtails hung on their two side nodes, with the ties on the main node.
    {
        for (const char* node : {"osageBexlaL", "osageBexlaR"}) {
            float side = node[10] == 'L' ? 1.0f : -1.0f;
            CMeshBuilder& m = acc.Mesh(node, TEXTURED, "osageBexlaHairColor.tga");
            AddStrand(m, {{0, 0.05f, 0}, {side * 0.1f, -0.4f, -0.02f}, {side * 0.08f, -1.1f, 0.0f}}, 0.12f, 0, 0.7f,
                      {0, 0, 1}, 10, 12);
        }
        CMeshBuilder& ties = acc.Mesh("osageBexla", red);
        for (float side : {-1.0f, 1.0f})
            AddRing(ties, 0.1f, 0.035f, 1, Place({side * 0.5f, 0.05f, -0.05f}));
    }
    PairedEars(acc.Mesh("mimiSaru", brown), {0.04f, 0.1f, 0.09f}, 0.52f, -0.45f, 0.0f, 0.2f);
    {
        CMeshBuilder& m = acc.Mesh("mimiRei", TEXTURED, "mimiRei.tga");
        for (float side : {-1.0f, 1.0f})
            m.AddBox({side * 0.35f - 0.04f, -0.08f, 0.1f}, {side * 0.35f + 0.04f, 0.08f, 0.2f});
    }
    {
        PairedEars(acc.Mesh("mimiMomo", TEXTURED, "mimiMomo.tga"), {0.1f, 0.16f, 0.05f}, 0.32f, 0.14f, 0.0f, 0.4f);
        PairedEars(acc.Mesh("mimiMomo", TEXTURED, "mimiMomoGray.tga"), {0.055f, 0.1f, 0.02f}, 0.32f, 0.14f, 0.04f,
                   0.4f);
    }
    // Glasses: round black frames, and star-shaped pink ones.
    {
        CMeshBuilder& m = acc.Mesh("glass_kurobuchi", black);
        for (float side : {-1.0f, 1.0f}) {
            AddRing(m, 0.1f, 0.014f, 1, Place({side * 0.18f, 0, 0.02f}, {PI / 2, 0, 0}, {1.1f, 1, 1}), 20, 6);
            AddStrand(m, {{side * 0.29f, 0.02f, 0.0f}, {side * 0.47f, 0.04f, -0.3f}}, 0.012f, 0.012f, 1, {0, 1, 0}, 6,
                      4);
        }
        AddStrand(m, {{-0.08f, 0.02f, 0.04f}, {0.08f, 0.02f, 0.04f}}, 0.012f, 0.012f, 1, {0, 1, 0}, 6, 3);
    }
    {
        CMeshBuilder& m = acc.Mesh("glassStar", Rgb(250, 90, 170));
        std::vector<OutlinePoint> star;
        for (int i = 0; i < 10; ++i) {
            float a = PI / 2 + 2 * PI * float(i) / 10, r = i % 2 ? 0.06f : 0.14f;
            star.push_back({r * std::cos(a), r * std::sin(a)});
        }
        for (float side : {-1.0f, 1.0f})
            m.AddExtrusion(star, 0.03f, true, false, Place({side * 0.18f, 0, 0.0f}));
        AddStrand(m, {{-0.08f, 0.02f, 0.02f}, {0.08f, 0.02f, 0.02f}}, 0.012f, 0.012f, 1, {0, 1, 0}, 6, 3);
    }
    // Tails.
    AddStrand(acc.Mesh("sippo_neko", black),
              {{0, 0, 0.05f}, {0, -0.1f, -0.35f}, {0.1f, 0.2f, -0.7f}, {0.15f, 0.7f, -0.75f}, {0.05f, 0.9f, -0.6f}},
              0.05f, 0, 1, {1, 0, 0}, 8, 24);
    AddStrand(acc.Mesh("sippoSaru", brown),
              {{0, 0, 0.05f},
               {0, -0.2f, -0.4f},
               {0.1f, -0.1f, -0.8f},
               {0.05f, 0.25f, -0.9f},
               {-0.1f, 0.3f, -0.7f},
               {-0.05f, 0.12f, -0.6f}},
              0.045f, 0.03f, 1, {1, 0, 0}, 8, 28);
    // Belt with its big buckle.
    {
        AddRing(acc.Mesh("henshinBelt", Rgb(190, 190, 200)), 0.3f, 0.05f, 1.2f,
                Place({0, 0, 0.0f}, {0, 0, 0}, {1.12f, 1, 0.68f}), 28, 6);
        CMeshBuilder& b = acc.Mesh("henshinBelt", red);
        AddEllipsoid(b, {0.12f, 0.12f, 0.04f}, Place({0, 0, 0.21f}), 14, 10);
        AddEllipsoid(acc.Mesh("henshinBelt", gold), {0.06f, 0.06f, 0.02f}, Place({0, 0, 0.25f}), 10, 8);
    }
    // Wings and the halo.
    for (const char* node : {"angelWing", "etonaWing"}) {
        bool angel = node[0] == 'a';
        CMeshBuilder& m = acc.Mesh(node, angel ? white : Rgb(90, 40, 120), "", true);
        for (float side : {-1.0f, 1.0f})
            for (int k = 0; k < (angel ? 3 : 2); ++k)
                AddEllipsoid(m, {angel ? 0.45f - 0.1f * float(k) : 0.35f, angel ? 0.15f : 0.12f, 0.02f},
                             Place({side * (0.35f + 0.05f * float(k)), 0.1f - 0.12f * float(k), -0.02f},
                                   {0, side * 0.5f, side * (0.5f - 0.35f * float(k))}),
                             14, 8);
    }
    AddRing(acc.Mesh("angelRing", TEXTURED, "haibane_ring.tga"), 0.32f, 0.04f, 0.6f, Place({0, 0, 0}), 28, 8);
    {
        CMeshBuilder& m = acc.Mesh("osageEtona", TEXTURED, "vesko_hair02Etona.tga");
        for (float side : {-1.0f, 1.0f})
            AddEllipsoid(m, {0.2f, 0.09f, 0.05f}, Place({side * 0.22f, 0.1f, -0.28f}, {0.3f, 0, side * 0.4f}), 12, 8);
        AddEllipsoid(m, {0.06f, 0.06f, 0.06f}, Place({0, 0.1f, -0.3f}), 8, 6);
    }
    AddRing(acc.Mesh("etonaKubiwa", black), 0.12f, 0.025f, 1.4f, Place({0, 0, 0}, {0, 0, 0}, {1, 1, 0.95f}), 20, 6);
    for (const char* node : {"etonaBraceletR", "etonaBraceletL"})
        AddRing(acc.Mesh(node, Rgb(150, 60, 190)), 0.06f, 0.02f, 1.4f, Place({0, 0, 0.02f}), 16, 6);
    (void)navy;
}

// ---- The files -------------------------------------------------------------

std::vector<std::string> HairPalette() {
    std::vector<std::string> p = {"head"};
    for (const std::string& h : VeskoHairBones())
        p.push_back(h);
    return p;
}

std::unique_ptr<CVeskoModelFile> BuildBody() {
    auto file = std::make_unique<CVeskoModelFile>("model/vesko/vesko.hgm", VeskoNames::TOP);
    BuildVeskoSkeleton(file->Nodes());
    for (const char* t : {"vesko_skinArm.tga", "vesko_skinBody.tga", "vesko_skinLeg.tga", "vesko_skinNeck.tga",
                          "vesko_hair01Grad.tga", "maruKage.tga"})
        file->Texture(t);
    file->Texture(VeskoNames::FACE_FILE, VeskoNames::FACE_TEXTURE, true);

    file->Shader("vesko2003E_m0", ST_LAMBERT_2WS, "vesko_skinArm.tga", TEXTURED.c, ARM_BONES);
    file->Shader("vesko2003E_m1", ST_LAMBERT_2WS, "vesko_skinBody.tga", TEXTURED.c, BODY_BONES);
    file->Shader("vesko2003E_m4", ST_LAMBERT_2WS, "vesko_skinLeg.tga", TEXTURED.c, LEG_BONES);
    file->Shader("vesko2003E_m5", ST_LAMBERT_2WS, "vesko_skinNeck.tga", TEXTURED.c, NECK_BONES);
    file->Shader("veskoKao_m2", ST_LAMBERT_2WS, VeskoNames::FACE_TEXTURE, TEXTURED.c, {"head"});
    file->Shader("veskoKao_m3", ST_LAMBERT_2WS, "vesko_hair01Grad.tga", TEXTURED.c, HairPalette());
    const float shadow[4] = {1, 1, 1, 1};
    file->Shader("maruKage_m0", ST_LAMBERT, "maruKage.tga", shadow);

    AddArms(file->Part(VeskoNames::BODY_0, "vesko2003E_m0").mesh, ARM_BONES, 0, true);
    AddTorso(file->Part(VeskoNames::BODY_0, "vesko2003E_m1").mesh, BODY_BONES, 4.56f, 2.69f, 0);
    AddLegs(file->Part(VeskoNames::BODY_0, "vesko2003E_m4").mesh, LEG_BONES, 3.10f, 0.08f, 0, true);
    AddNeck(file->Part(VeskoNames::BODY_0, "vesko2003E_m5").mesh, NECK_BONES);
    AddHead(*file, VeskoNames::HEAD_PARTS, "veskoKao_m2", "veskoKao_m3", HairPalette());
    // The shadow: a flat disc in room units, facing up.
    CMeshBuilder& disc = file->Part(VeskoNames::SHADOW, "maruKage_m0").mesh;
    disc.AddQuad({-13, 0, 13}, {13, 0, 13}, {13, 0, -13}, {-13, 0, -13});
    BuildAccessories(*file);
    return file;
}

// A cloth file: its top node with the garment shapes under it.
std::unique_ptr<CVeskoModelFile> ClothFile(const std::string& file, const std::string& top) {
    auto out = std::make_unique<CVeskoModelFile>("model/vesko/" + file, top);
    out->Nodes().AddTransform(top, "", {0, 0, 0});
    return out;
}

// A flared skirt from the waist down to `hem`, widening to `flare` at the hem.
void Skirt(CMeshBuilder& mesh, const std::vector<std::string>& palette, float top, float hem, float flare,
           float waistInflate, int around = 36, int rows = 10, float wave = 0.0f) {
    const Rig& rig = TheRig();
    int first = mesh.VertexCount();
    Rigid(mesh, palette, "koshi");
    mesh.AddSurface(around, rows, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float y = top + (hem - top) * t;
        // Follow the body near the waist, then fall outward.
        Station body = {y, 0, 0, 0.4f, 0.23f};
        if (y > 2.95f) {
            for (size_t i = 1; i < TorsoStations().size(); ++i)
                if (y >= TorsoStations()[i].y) {
                    const Station& a = TorsoStations()[i - 1];
                    const Station& b = TorsoStations()[i];
                    float k = (a.y - y) / (a.y - b.y);
                    body = {y, 0, a.z + (b.z - a.z) * k, a.rx + (b.rx - a.rx) * k, a.rz + (b.rz - a.rz) * k};
                    break;
                }
        }
        float hipRx = 0.41f, hipRz = 0.24f;
        float below = SmoothStep(top, hem, y);
        float rx = std::max(body.rx, hipRx * below + body.rx * (1 - below)) + waistInflate + flare * t * t;
        float rz = std::max(body.rz, hipRz * below + body.rz * (1 - below)) + waistInflate + flare * 0.8f * t * t;
        float a = 2 * PI * s;
        float ripple = 1 + wave * t * std::sin(a * 16);
        p = {rx * ripple * std::sin(a), y, body.z - rz * ripple * std::cos(a)};
        u = s;
        v = t * 0.96f;
    });
    std::vector<std::string> bones = {"koshi"};
    if (PaletteIndex(palette, "legL1") < int(palette.size()))
        bones.insert(bones.end(), {"legL1", "legR1"});
    mesh.WeightByDistance(first, rig.Segments(palette, bones), 2, 3);
}

// Gives the skirt's lower rows weight on the dynamics bone and links each
// point to its neighbours round and below (seam points to their twins).
void MakeSwinging(ShaderRecord& shader, int around, int rows) {
    const int stride = around + 1;
    std::vector<int32_t> links;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= around; ++i) {
            int at = j * stride + i;
            if (i < around)
                links.push_back(at + 1);
            if (j < rows)
                links.push_back(at + stride);
            if (i == around)
                links.push_back(j * stride);
            links.push_back(-1);
        }
    shader.linkList = links;
}

} // namespace

namespace {

// Moves a share of the lower rows' skin onto the dynamics bone; the mesh
// holds only the skirt, row by row from the waist down.
void SwingSkin(CMeshBuilder& mesh, int dynamicsIndex, int around, int rows, float from) {
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= around; ++i) {
            const MeshVertex& v = mesh.Vertices()[size_t(j * (around + 1) + i)];
            float t = float(j) / float(rows);
            float a = 0.65f * SmoothStep(from, 1.0f, t);
            MeshSkin s;
            s.count = a > 0 ? 2 : 1;
            s.bones[0] = v.skin.bones[0];
            s.weights[0] = 1 - a;
            s.bones[1] = dynamicsIndex;
            s.weights[1] = a;
            mesh.SetVertexSkin(j * (around + 1) + i, s);
        }
}

void AddDynamicDress(CVeskoModelFile& file, const std::string& top, const std::string& bodice, const std::string& skirt,
                     const std::string& texture, const std::string& dynamics) {
    const std::vector<std::string> topBones = {"koshi", "sebone1", "sebone2", "kataL", "kataR", "udeL1", "udeR1"};
    file.Shader(bodice, ST_LAMBERT_2WS, texture, TEXTURED.c, topBones);
    const std::vector<std::string> skirtBones = {"koshi", dynamics};
    ShaderRecord& shader = file.Shader(skirt, ST_LAMBERT_2WS_DY, texture, TEXTURED.c, skirtBones);
    CMeshBuilder& b = file.Part(top, bodice).mesh;
    AddTorso(b, topBones, 4.42f, 3.35f, 0.025f);
    // Puffed short sleeves.
    for (int side = 0; side < 2; ++side) {
        std::vector<Station> st = side == 0 ? ArmStations() : Mirror(ArmStations());
        int first = b.VertexCount();
        Rigid(b, topBones, side == 0 ? "udeL1" : "udeR1");
        AddTubeBand(b, st, 4.5f, 4.12f, 14, 6, 4.50f, 0.5f, 0, 0.035f);
        (void)first;
    }
    const int around = 32, rows = 8;
    CMeshBuilder& m = file.Part(top, skirt).mesh;
    Skirt(m, skirtBones, 3.42f, 2.45f, 0.42f, 0.03f, around, rows, 0.03f);
    SwingSkin(m, 1, around, rows, 0.45f);
    MakeSwinging(shader, around, rows);
}

} // namespace

bool BuildVeskoModels(std::vector<std::unique_ptr<CVeskoModelFile>>& files, std::string& error) {
    files.clear();
    files.push_back(BuildBody());

    // The long-sleeved body: the arms show only at the wrists.
    {
        auto f = std::make_unique<CVeskoModelFile>("model/vesko/veskoNagasode.hgm", VeskoNames::BODY_1);
        f->Nodes().AddTransform(VeskoNames::BODY_1, "", {0, 0, 0});
        f->Shader("vesko2003ENagasode_m0", ST_LAMBERT_2WS, "vesko_skinArm.tga", TEXTURED.c, ARM_BONES);
        f->Shader("vesko2003ENagasode_m1", ST_LAMBERT_2WS, "vesko_skinBody.tga", TEXTURED.c, BODY_BONES);
        f->Shader("vesko2003ENagasode_m4", ST_LAMBERT_2WS, "vesko_skinLeg.tga", TEXTURED.c, LEG_BONES);
        f->Shader("vesko2003ENagasode_m5", ST_LAMBERT_2WS, "vesko_skinNeck.tga", TEXTURED.c, NECK_BONES);
        AddArms(f->Part(VeskoNames::BODY_1, "vesko2003ENagasode_m0").mesh, ARM_BONES, 0, true, false);
        AddTorso(f->Part(VeskoNames::BODY_1, "vesko2003ENagasode_m1").mesh, BODY_BONES, 4.56f, 2.69f, -0.01f, false);
        AddLegs(f->Part(VeskoNames::BODY_1, "vesko2003ENagasode_m4").mesh, LEG_BONES, 3.10f, 0.08f, 0, true);
        AddNeck(f->Part(VeskoNames::BODY_1, "vesko2003ENagasode_m5").mesh, NECK_BONES);
        files.push_back(std::move(f));
    }

    // The everyday dress: a pale blue sundress with a white collar and a red ribbon.
    {
        auto f = ClothFile("cloth.hgm", "vesko_clothStandard");
        const std::vector<std::string> bones = {"koshi", "sebone1", "sebone2", "kataL", "kataR", "legL1", "legR1"};
        f->Shader("vesko_clothStandard_m0", ST_LAMBERT_2WS, "", Rgb(150, 196, 240).c, bones);
        f->Shader("vesko_clothStandard_m1", ST_LAMBERT_2WS, "", Rgb(250, 250, 252).c, bones);
        f->Shader("vesko_clothStandard_m2", ST_LAMBERT_2WS, "", Rgb(220, 50, 70).c, {"sebone2"});
        CMeshBuilder& dress = f->Part("vesko_clothStandard", "vesko_clothStandard_m0").mesh;
        AddTorso(dress, bones, 4.36f, 3.3f, 0.025f);
        Skirt(dress, bones, 3.34f, 2.42f, 0.34f, 0.03f, 36, 10, 0.02f);
        CMeshBuilder& collar = f->Part("vesko_clothStandard", "vesko_clothStandard_m1").mesh;
        Rigid(collar, bones, "sebone2");
        AddTubeBand(collar, TorsoStations(), 4.46f, 4.34f, 28, 3, 4.5f, 1, 0, 0.04f);
        Rigid(collar, bones, "koshi");
        AddTubeBand(collar, TorsoStations(), 3.36f, 3.30f, 28, 2, 4.5f, 1, 0, 0.035f);
        CMeshBuilder& ribbon = f->Part("vesko_clothStandard", "vesko_clothStandard_m2").mesh;
        Rigid(ribbon, {"sebone2"}, "sebone2");
        for (float side : {-1.0f, 1.0f})
            AddEllipsoid(ribbon, {0.07f, 0.045f, 0.025f}, Place({side * 0.06f, 4.30f, 0.2f}, {0, 0, side * 0.3f}), 10,
                         8);
        AddEllipsoid(ribbon, {0.025f, 0.03f, 0.025f}, Place({0, 4.30f, 0.21f}), 8, 6);
        files.push_back(std::move(f));
    }

    {
        auto f = ClothFile("dynamicsClothPink.hgm", "clothPink2");
        f->Texture("clothPink.tga");
        AddDynamicDress(*f, "clothPink2", "clothPink2_clothPink_m0", "clothPink2m0", "clothPink.tga",
                        VeskoNames::SKIRT_PINK_BONE);
        files.push_back(std::move(f));
    }
    {
        auto f = ClothFile("dynamicsClothBlue.hgm", "clothBlue");
        f->Texture("clothBlue.tga");
        AddDynamicDress(*f, "clothBlue", "clothBlue_m0", "clothBlue_m1", "clothBlue.tga", VeskoNames::SKIRT_BLUE_BONE);
        files.push_back(std::move(f));
    }
    // The tutu: a wide frill at the hips.
    {
        auto f = ClothFile("chuchu.hgm", "chuchu");
        f->Texture("clothChuchu.tga");
        const std::vector<std::string> bones = {"koshi"};
        f->Shader("chuchu_m0", ST_LAMBERT_2WS, "clothChuchu.tga", TEXTURED.c, bones);
        CMeshBuilder& m = f->Part("chuchu", "chuchu_m0", true).mesh;
        Rigid(m, bones, "koshi");
        for (int layer = 0; layer < 2; ++layer)
            m.AddSurface(48, 4, [&](float s, float t, MeshPoint& p, float& u, float& v) {
                float a = 2 * PI * s;
                float r = 0.43f + (0.5f + 0.1f * float(layer)) * t;
                float y = 3.2f - 0.06f * float(layer) - (0.1f + 0.05f * std::sin(a * 12)) * t;
                p = {r * std::sin(a), y, -r * 0.8f * std::cos(a)};
                u = s, v = t * 0.9f;
            });
        files.push_back(std::move(f));
    }
    // Shoulder straps of the swimsuits.
    {
        auto f = ClothFile("katahimo.hgm", "katahimo");
        const std::vector<std::string> bones = {"sebone2"};
        f->Shader("katahimo_m0", ST_LAMBERT_2WS, "", Rgb(40, 48, 96).c, bones);
        CMeshBuilder& m = f->Part("katahimo", "katahimo_m0").mesh;
        Rigid(m, bones, "sebone2");
        for (float side : {-1.0f, 1.0f})
            AddStrand(m,
                      {{side * 0.16f, 4.02f, 0.22f},
                       {side * 0.15f, 4.3f, 0.17f},
                       {side * 0.16f, 4.48f, 0.02f},
                       {side * 0.15f, 4.36f, -0.16f},
                       {side * 0.12f, 4.0f, -0.2f}},
                      0.025f, 0.025f, 0.35f, {1, 0, 0}, 6, 16);
        files.push_back(std::move(f));
    }
    {
        auto f = ClothFile("miniSkirt.hgm", "miniSkirt");
        f->Texture("clothCheerLeader.tga");
        const std::vector<std::string> bones = {"koshi", "legL1", "legR1"};
        f->Shader("miniSkirt_m4", ST_LAMBERT_2WS, "clothCheerLeader.tga", TEXTURED.c, bones);
        Skirt(f->Part("miniSkirt", "miniSkirt_m4").mesh, bones, 3.5f, 2.62f, 0.26f, 0.02f, 40, 8, 0.04f);
        files.push_back(std::move(f));
    }
    // Jersey or pyjamas: a long-sleeved top and long trousers.
    {
        auto f = ClothFile("nagasode.hgm", "clothNagasode");
        f->Texture("jazi.tga");
        const std::vector<std::string> top = {"koshi", "sebone1", "sebone2", "kataL", "kataR", "udeL1",
                                              "udeL2", "teL",     "udeR1",   "udeR2", "teR"};
        const std::vector<std::string> legs = LEG_BONES;
        f->Shader("clothNagasode_m0", ST_LAMBERT_2WS, "jazi.tga", TEXTURED.c, top);
        f->Shader("clothNagasode_m1", ST_LAMBERT_2WS, "jazi.tga", TEXTURED.c, legs);
        CMeshBuilder& m = f->Part("clothNagasode", "clothNagasode_m0").mesh;
        AddTorso(m, top, 4.47f, 3.2f, 0.03f, false);
        const Rig& rig = TheRig();
        for (int side = 0; side < 2; ++side) {
            const char* s = side == 0 ? "L" : "R";
            std::vector<Station> st = side == 0 ? ArmStations() : Mirror(ArmStations());
            int first = m.VertexCount();
            Rigid(m, top, std::string("ude") + s + "1");
            AddTubeBand(m, st, 4.49f, 2.84f, 14, 20, 4.5f, 0.5f, 0, 0.03f);
            m.WeightByDistance(first,
                               rig.Segments(top, {std::string("kata") + s, std::string("ude") + s + "1",
                                                  std::string("ude") + s + "2", std::string("te") + s}),
                               2);
        }
        CMeshBuilder& p = f->Part("clothNagasode", "clothNagasode_m1").mesh;
        Rigid(p, legs, "koshi");
        AddTubeBand(p, TorsoStations(), 3.3f, 2.7f, 28, 8, 3.3f, 0.5f, 0, 0.03f, TorsoBulge);
        AddLegs(p, legs, 3.0f, 0.2f, 0.03f, false);
        files.push_back(std::move(f));
    }
    // A tight skirt to the knees.
    {
        auto f = ClothFile("tightSkirt.hgm", "tightSkirt");
        f->Texture("clothMomo.tga");
        const std::vector<std::string> bones = {"koshi", "legL1", "legR1"};
        f->Shader("tightSkirt_m0", ST_LAMBERT_2WS, "clothMomo.tga", TEXTURED.c, bones);
        Skirt(f->Part("tightSkirt", "tightSkirt_m0").mesh, bones, 3.5f, 1.75f, -0.02f, 0.025f, 36, 12);
        files.push_back(std::move(f));
    }
    // The gothic dress with a long flared skirt and a headdress.
    {
        auto f = ClothFile("etonaDress.hgm", "etonaDress");
        f->Texture("clothEtona.tga");
        // Its headdress shares the hair picture vesko.hgm already loads.
        const std::vector<std::string> bones = {"koshi", "sebone1", "sebone2", "kataL", "kataR", "legL1", "legR1"};
        f->Shader("etonaDress_m0", ST_LAMBERT_2WS, "clothEtona.tga", TEXTURED.c, bones);
        f->Shader("etonaDress_m1", ST_LAMBERT_2WS, "vesko_hair02Etona.tga", TEXTURED.c, {"head"});
        CMeshBuilder& m = f->Part("etonaDress", "etonaDress_m0").mesh;
        AddTorso(m, bones, 4.3f, 3.3f, 0.025f);
        Skirt(m, bones, 3.34f, 1.9f, 0.45f, 0.03f, 40, 12, 0.05f);
        CMeshBuilder& h = f->Part("etonaDress", "etonaDress_m1").mesh;
        Rigid(h, {"head"}, "head");
        MeshPoint head = TheRig().At("head");
        // A band over the crown from ear to ear, leaning back a little.
        std::vector<MeshPoint> band;
        for (int k = 0; k <= 20; ++k) {
            float phi = -1.75f + 3.5f * float(k) / 20;
            float y = 0.66f * std::cos(phi), z = -0.1f;
            band.push_back({head.x + 0.6f * std::sin(phi), head.y + 0.55f + y * std::cos(0.45f) + z * std::sin(0.45f),
                            head.z + 0.02f - y * std::sin(0.45f) + z * std::cos(0.45f)});
        }
        AddStrand(h, band, 0.06f, 0.06f, 0.45f, {0, 0, 1}, 8, 40);
        files.push_back(std::move(f));
    }
    for (auto& f : files)
        if (f->Nodes().Failed()) {
            error = f->Path() + ": the node tree was refused";
            return false;
        }
    return true;
}
