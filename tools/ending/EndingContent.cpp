#include "tools/ending/EndingContent.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "engine/anim/AnimAttribute.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkRecords.h"
#include "engine/resource/ResourceKind.h"
#include "tools/media/FontRaster.h"
#include "tools/chunkwriter/AnimationWriter.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/media/ImageWriters.h"

namespace {

const float PI = 3.14159265f;
const uint32_t QUAD_FORMAT = 0x801; // position, texcoord

// A region of a picture, in texture coordinates (v = 0 at the top row).
struct UvRect {
    float u0, v0, u1, v1;
};

struct QuadNode {
    std::string name;
    int parent = -1;
    float translation[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    bool visible = true;
    // A quad from (x0, y0) to (x1, y1) at z, showing `uv` of the shader's
    // texture; no shader means a node without a shape.
    std::string shader;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, z = 0;
    UvRect uv{0, 0, 1, 1};
};

// A model made of textured quads in one plane: gathers textures, unlit
// shaders and nodes, and writes them in the order the loaders need.
class CQuadModel {
public:
    void Texture(const std::string& name, const std::string& file) {
        TextureRecord t;
        t.name = name;
        t.fileName = file;
        t.magFilter = TFM_LINEAR;
        t.minFilter = TFM_LINEAR;
        t.mipFilter = TFM_NONE;
        t.addressU = TAM_CLAMP;
        t.addressV = TAM_CLAMP;
        m_textures.push_back(t);
    }
    void Shader(const std::string& name, const std::string& texture) {
        ShaderRecord s;
        s.name = name;
        s.shaderType = ST_CONSTANT;
        s.textureName = texture;
        for (int i = 0; i < 4; ++i) {
            s.colour[i] = 1.0f;
            s.ambient[i] = 1.0f;
        }
        m_shaders.push_back(s);
    }
    int Node(const std::string& name, int parent, float x = 0, float y = 0, float z = 0) {
        QuadNode n;
        n.name = name;
        n.parent = parent;
        n.translation[0] = x;
        n.translation[1] = y;
        n.translation[2] = z;
        m_nodes.push_back(n);
        return int(m_nodes.size()) - 1;
    }
    int Quad(const std::string& name, int parent, const std::string& shader, float x0, float y0, float x1, float y1,
             float z, UvRect uv = {0, 0, 1, 1}) {
        int i = Node(name, parent);
        QuadNode& n = m_nodes[size_t(i)];
        n.shader = shader;
        n.x0 = x0;
        n.y0 = y0;
        n.x1 = x1;
        n.y1 = y1;
        n.z = z;
        n.uv = uv;
        return i;
    }
    QuadNode& At(int i) { return m_nodes[size_t(i)]; }

    bool Write(std::vector<uint8_t>& bytes, std::string& error) {
        CChunkWriter writer;
        for (const TextureRecord& t : m_textures)
            writer.Write(t);
        for (const ShaderRecord& s : m_shaders)
            writer.Write(s);
        std::vector<std::unique_ptr<Built>> built;
        for (const QuadNode& n : m_nodes) {
            if (n.shader.empty())
                continue;
            built.push_back(std::make_unique<Built>());
            BuildQuad(n, *built.back());
            writer.Write(built.back()->record);
        }
        for (const QuadNode& n : m_nodes) {
            if (n.shader.empty())
                continue;
            ShapeRecord shape;
            shape.name = n.name + "Shape";
            shape.pairs.push_back({n.shader, n.name + "Geometry"});
            writer.Write(shape);
        }
        for (const QuadNode& n : m_nodes) {
            TransformRecord t;
            t.name = n.name;
            t.visible = n.visible ? 1 : 0;
            for (int k = 0; k < 3; ++k) {
                t.translation[k] = n.translation[k];
                t.scale[k] = n.scale[k];
            }
            writer.Write(t);
        }
        for (size_t i = 0; i < m_nodes.size(); ++i) {
            if (m_nodes[i].parent >= 0)
                continue;
            HierarchyRecord hierarchy;
            AppendTree(int(i), -1, hierarchy);
            writer.Write(hierarchy);
        }
        return writer.TakeBytes(bytes, error);
    }

private:
    struct Built {
        GeometryRecord record;
        std::vector<uint8_t> vertices;
        std::vector<uint8_t> indices;
    };

    static void PutFloat(std::vector<uint8_t>& out, float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(bits >> (8 * i)));
    }

    static void BuildQuad(const QuadNode& n, Built& out) {
        const float corners[4][4] = {
            {n.x0, n.y0, n.uv.u0, n.uv.v1},
            {n.x1, n.y0, n.uv.u1, n.uv.v1},
            {n.x1, n.y1, n.uv.u1, n.uv.v0},
            {n.x0, n.y1, n.uv.u0, n.uv.v0},
        };
        for (const auto& c : corners) {
            PutFloat(out.vertices, c[0]);
            PutFloat(out.vertices, c[1]);
            PutFloat(out.vertices, n.z);
            PutFloat(out.vertices, c[2]);
            PutFloat(out.vertices, c[3]);
        }
        const uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
        for (uint16_t i : indices) {
            out.indices.push_back(uint8_t(i));
            out.indices.push_back(uint8_t(i >> 8));
        }
        GeometryRecord& r = out.record;
        r.name = n.name + "Geometry";
        r.centre[0] = 0.5f * (n.x0 + n.x1);
        r.centre[1] = 0.5f * (n.y0 + n.y1);
        r.centre[2] = n.z;
        r.radius = 0.5f * std::sqrt((n.x1 - n.x0) * (n.x1 - n.x0) + (n.y1 - n.y0) * (n.y1 - n.y0));
        r.doubleSided = 1;
        r.vertexFormat = QUAD_FORMAT;
        r.vertexCount = 4;
        r.vertices = out.vertices.data();
        GeometryIndexGroup group;
        group.primitiveType = PT_TRIANGLE_LIST;
        group.indexCount = 6;
        group.indices = out.indices.data();
        r.groups.push_back(group);
    }

    void AppendTree(int index, int parent, HierarchyRecord& out) {
        const QuadNode& node = m_nodes[size_t(index)];
        int at = int(out.nodes.size());
        out.nodes.push_back({node.name, RT_TRANSFORM, 0, parent});
        if (!node.shader.empty()) {
            out.nodes.push_back({node.name + "Shape", RT_SHAPE, 0, at});
            ++out.nodes[size_t(at)].childCount;
        }
        for (size_t i = 0; i < m_nodes.size(); ++i)
            if (m_nodes[i].parent == index) {
                ++out.nodes[size_t(at)].childCount;
                AppendTree(int(i), at, out);
            }
    }

    std::vector<TextureRecord> m_textures;
    std::vector<ShaderRecord> m_shaders;
    std::vector<QuadNode> m_nodes;
};

// ---- Pictures.

const Rgba CLEAR = {0, 0, 0, 0};
const Rgba CREAM = {255, 246, 224, 255};
const Rgba ROSE = {255, 150, 180, 255};
const Rgba GOLD = {255, 214, 110, 255};
const Rgba SKY = {170, 210, 255, 255};

// The outline font every caption is drawn with; the first failure to draw
// is kept for BuildEndingFiles to report.
CFontRaster& Font() {
    static CFontRaster font;
    if (!font.IsOpen())
        font.Open();
    return font;
}

std::string g_paintError;

// UTF-8 text centred on a row, each line centred on its own, lines `size`
// apart; with glow a faint halo of the same colour around it.
void CentredText(CCanvas& c, int centreY, const std::string& text, Rgba colour, int size, bool glow = true) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    const int lineHeight = size * 11 / 10;
    int y = centreY - lineHeight * int(lines.size()) / 2;
    for (const std::string& line : lines) {
        TextMask mask;
        if (!Font().Render(line, TE_UTF8, size, mask)) {
            if (g_paintError.empty())
                g_paintError = "cannot draw \"" + line + "\": " + Font().LastError();
            return;
        }
        const int x = (c.Width() - mask.width) / 2;
        const int top = y + (lineHeight - mask.height) / 2;
        if (glow) {
            const Rgba halo = {colour.r, colour.g, colour.b, 48};
            const int r = size / 12 + 1;
            for (int dy = -r; dy <= r; dy += r)
                for (int dx = -r; dx <= r; dx += r)
                    if (dx || dy)
                        DrawTextMask(c, mask, x + dx, top + dy, halo);
        }
        DrawTextMask(c, mask, x, top, colour);
        y += lineHeight;
    }
}

void Star(CCanvas& c, float cx, float cy, float r, Rgba colour) {
    c.FillShape(
        [=](float x, float y) {
            float dx = x - cx, dy = y - cy;
            float a = std::atan2(dy, dx);
            float k = 0.55f + 0.45f * std::cos(5.0f * (a + PI / 2));
            return std::sqrt(dx * dx + dy * dy) - r * k;
        },
        int(cx - r - 2), int(cy - r - 2), int(cx + r + 2), int(cy + r + 2), [=](float, float) { return colour; });
}

// The credits: a heading, then names of parts, each a title and lines.
struct CreditBlock {
    const char* heading;
    const char* lines;
};

void CreditColumn(CCanvas& c, int top, const CreditBlock* blocks, size_t count) {
    int y = top;
    for (size_t i = 0; i < count; ++i) {
        CentredText(c, y, blocks[i].heading, GOLD, 28);
        y += 36;
        std::string lines = blocks[i].lines;
        size_t start = 0;
        while (start <= lines.size()) {
            size_t end = lines.find('\n', start);
            if (end == std::string::npos)
                end = lines.size();
            CentredText(c, y, lines.substr(start, end - start), CREAM, 20, false);
            y += 24;
            start = end + 1;
        }
        y += 34;
    }
}

const CreditBlock STAFF_PART_1[] = {
    {"ENGINE", "archives and resources\nscene graph and bones\nDirect3D 8 renderer\nshaders and skinning\nspring "
               "dynamics"},
    {"CHARACTER", "Vesko's body and clothes\nher actions and moods\nthe TV-shopping show\nher hair in the wind"},
    {"THE ROOM", "furniture and the sky\nthe clock of her world\nlights of the day"},
    {"DATA TOOLS", "chunk-stream writer\narchive packer\nmeshes and skeletons\npainter and sound synth"},
};

const CreditBlock STAFF_PART_2[] = {
    {"LIBRARIES", "libpng\nlibjpeg-turbo\nzlib\nGoogleTest"},
    {"PLATFORM", "Wine\nMesa\nmingw-w64"},
    {"THE DISC MENU", "autorun and its set-up"},
};

} // namespace

CCanvas PaintStaffRollPicture(const std::string& name) {
    if (name == "end_gradation") {
        CCanvas c(64, 256);
        c.FillGradient(0, 0, 64, 128, {18, 16, 52, 255}, {70, 42, 96, 255}, true);
        c.FillGradient(0, 128, 64, 256, {70, 42, 96, 255}, {150, 80, 96, 255}, true);
        return c;
    }
    if (name == "end_congratulations") {
        CCanvas c(512, 512, CLEAR);
        // Rows 0-127: the greeting; 128-255: the title; 256-511: the logo.
        CentredText(c, 48, "CONGRATULATIONS!", ROSE, 46);
        CentredText(c, 104, "おめでとう!", CREAM, 28);
        CentredText(c, 192, "deskmate", CREAM, 84);
        const Rgba hair = {96, 56, 40, 255};
        c.FillEllipse(170, 390, 26, 74, hair); // long hair at her sides
        c.FillEllipse(342, 390, 26, 74, hair);
        c.FillEllipse(256, 360, 84, 84, {255, 226, 204, 255});
        c.FillEllipse(214, 398, 14, 8, {255, 184, 190, 255}); // cheeks
        c.FillEllipse(298, 398, 14, 8, {255, 184, 190, 255});
        c.FillEllipse(256, 308, 96, 46, hair);
        c.FillEllipse(226, 372, 10, 14, {60, 40, 40, 255});
        c.FillEllipse(286, 372, 10, 14, {60, 40, 40, 255});
        c.FillEllipse(256, 408, 18, 8, ROSE);
        Star(c, 160, 300, 26, GOLD);
        Star(c, 352, 300, 26, GOLD);
        CentredText(c, 478, "VESKO", ROSE, 48);
        return c;
    }
    if (name == "end_staff1") {
        CCanvas c(512, 1024, CLEAR);
        // Rows 0-127: the heading of the roll; below, the first credits.
        CentredText(c, 50, "STAFF", GOLD, 56);
        CentredText(c, 106, "スタッフ", CREAM, 26);
        CreditColumn(c, 170, STAFF_PART_1, sizeof(STAFF_PART_1) / sizeof(STAFF_PART_1[0]));
        return c;
    }
    if (name == "end_staff2") {
        CCanvas c(512, 1024, CLEAR);
        // Rows 0-703: the rest of the credits; 704-895: the greeting;
        // 896-1023: the address.
        CreditColumn(c, 40, STAFF_PART_2, sizeof(STAFF_PART_2) / sizeof(STAFF_PART_2[0]));
        CentredText(c, 780, "SEE YOU\nNEXT TIME!", ROSE, 50);
        CentredText(c, 868, "またね!", CREAM, 32);
        CentredText(c, 960, "deskmate.invalid/vesko", SKY, 26);
        return c;
    }
    // The placeholders the model names until the program maps the real ones.
    return CCanvas(8, 8, {128, 128, 128, 255});
}

CCanvas PaintLogoLettering() {
    CCanvas c(256, 128, CLEAR);
    // Rows 0-63: the name; 64-127: a star at the left and the mode.
    CentredText(c, 32, "deskmate", CREAM, 52);
    Star(c, 32, 96, 26, GOLD);
    TextMask mode;
    if (Font().Render("SCREEN SAVER", TE_UTF8, 20, mode))
        DrawTextMask(c, mode, 72, 92 - mode.height / 2, SKY);
    else if (g_paintError.empty())
        g_paintError = "cannot draw the logo: " + Font().LastError();
    return c;
}

CCanvas PaintSmokePuff() {
    CCanvas c(64, 64, CLEAR);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            float dx = (x + 0.5f - 32) / 32, dy = (y + 0.5f - 32) / 32;
            float d = std::sqrt(dx * dx + dy * dy);
            float wobble = 0.08f * std::sin(7 * std::atan2(dy, dx));
            float a = 1.0f - d / (0.92f + wobble);
            if (a <= 0)
                continue;
            c.Set(x, y, {34, 30, 30, uint8_t(255 * std::min(1.0f, a * a * 1.6f))});
        }
    return c;
}

namespace {

const char* const LIST2 = "model/texture02.bin";
const char* const LIST3 = "model/texture03.bin";

// The staff roll, laid out on a 640 x 480 screen centred on the origin.
bool BuildEndRoll(std::vector<uint8_t>& bytes, std::string& error) {
    CQuadModel m;
    const char* dummies[] = {"congratulations", "gradation", "staff1", "staff2"};
    for (const char* d : dummies)
        m.Texture(std::string("dummy_end_") + d, std::string("dummy_end_") + d + ".tga");
    m.Shader("gradation", "dummy_end_gradation");
    for (const char* s : {"congraturations", "congraturationsB1", "congraturationsB2", "TITLE", "TITLE_Blur",
                          "LOGO_MOTO", "LOGO_Blur1"})
        m.Shader(s, "dummy_end_congratulations");
    m.Shader("project1", "dummy_end_staff1");
    m.Shader("STAFFA", "dummy_end_staff1");
    for (const char* s : {"STAFFB", "aeeYouNextTime", "URL1"})
        m.Shader(s, "dummy_end_staff2");

    int back = m.Node("BackGround", -1);
    m.Quad("endBackPlane", back, "gradation", -340, -260, 340, 260, -2);

    const UvRect greeting{0, 0, 1, 0.25f}, title{0, 0.25f, 1, 0.5f}, logo{0, 0.5f, 1, 1};
    int congrats = m.Node("congratulationsEndRoll", -1);
    m.Quad("endCongratsText", congrats, "congraturations", -300, -75, 300, 75, 0.2f, greeting);
    m.Quad("endCongratsGlow1", congrats, "congraturationsB1", -320, -80, 320, 80, 0.1f, greeting);
    m.Quad("endCongratsGlow2", congrats, "congraturationsB2", -345, -86, 345, 86, 0.0f, greeting);

    int titleTop = m.Node("TITLELOGO", -1);
    m.Quad("endTitleText", titleTop, "TITLE", -256, 60, 256, 188, 0.2f, title);
    m.Quad("endTitleGlow", titleTop, "TITLE_Blur", -276, 50, 276, 198, 0.1f, title);
    m.Quad("endLogoArt", titleTop, "LOGO_MOTO", -192, -200, 192, -8, 0.2f, logo);
    m.Quad("endLogoGlow", titleTop, "LOGO_Blur1", -204, -206, 204, -2, 0.1f, logo);

    // The scroll: 256 units of picture width for 512 pixels, so 2 pixels a unit.
    int scroll = m.Node("scrollTEXT", -1, 0, -300, 0);
    m.Quad("endStaffHeading", scroll, "project1", -256, -128, 256, 0, 0.2f, {0, 0, 1, 0.125f});
    m.Quad("endStaffFirst", scroll, "STAFFA", -256, -1024, 256, -128, 0.2f, {0, 0.125f, 1, 1});
    m.Quad("endStaffSecond", scroll, "STAFFB", -256, -1728, 256, -1024, 0.2f, {0, 0, 1, 0.6875f});

    int credit = m.Node("EndCredit", -1);
    m.Quad("endSeeYou", credit, "aeeYouNextTime", -256, -40, 256, 152, 0.2f, {0, 0.6875f, 1, 0.875f});
    m.Quad("endAddress", credit, "URL1", -256, -160, 256, -32, 0.2f, {0, 0.875f, 1, 1});
    return m.Write(bytes, error);
}

// The staff roll's timing, in frames of 1/60 s before its 1.116 speed-up.
const float ROLL_LENGTH = 4150.0f;
const float SCROLL_START = 900.0f, SCROLL_END = 3450.0f;

bool BuildEndRollAnimation(std::vector<uint8_t>& bytes, std::string& error) {
    CAnimationWriter a("endRoll");
    const float L = ROLL_LENGTH;
    // First: the scroll, which spans the whole roll and so gives its length.
    a.Channel("scrollTEXT", RT_TRANSFORM, AA_TRANSLATION_Y, {{SCROLL_START, -300}, {SCROLL_END, 2050}}, L);
    // The greeting: in, held, out (translucency: 1 unseen, 0 solid).
    for (const char* s : {"congraturations", "congraturationsB1", "congraturationsB2"})
        a.Channel(s, RT_SHADER, AA_TRANSLUCENT,
                  {{0, 1},
                   {90, std::strcmp(s, "congraturations") ? 0.8f : 0.0f},
                   {300, std::strcmp(s, "congraturations") ? 0.8f : 0.0f},
                   {390, 1}},
                  L);
    a.Channel("congratulationsEndRoll", RT_TRANSFORM, AA_SCALE_X, {{0, 0.8f}, {390, 1.1f}}, L);
    a.Channel("congratulationsEndRoll", RT_TRANSFORM, AA_SCALE_Y, {{0, 0.8f}, {390, 1.1f}}, L);
    // The title and the logo.
    for (const char* s : {"TITLE", "TITLE_Blur", "LOGO_MOTO", "LOGO_Blur1"}) {
        float solid = std::strstr(s, "Blur") ? 0.8f : 0.0f;
        a.Channel(s, RT_SHADER, AA_TRANSLUCENT, {{0, 1}, {390, 1}, {480, solid}, {800, solid}, {880, 1}}, L);
    }
    // The credits, seen only while they scroll.
    for (const char* s : {"project1", "STAFFA", "STAFFB"})
        a.Channel(s, RT_SHADER, AA_TRANSLUCENT,
                  {{0, 1}, {SCROLL_START, 1}, {SCROLL_START + 30, 0}, {SCROLL_END - 30, 0}, {SCROLL_END, 1}}, L);
    // The closing greeting and the address, left on screen at the end.
    for (const char* s : {"aeeYouNextTime", "URL1"})
        a.Channel(s, RT_SHADER, AA_TRANSLUCENT, {{0, 1}, {SCROLL_END, 1}, {SCROLL_END + 120, 0}}, L);
    return a.Write(bytes, error);
}

bool BuildSmoke(std::vector<uint8_t>& bytes, std::string& error) {
    CQuadModel m;
    m.Texture("effect_blackSmokeC", "effect_blackSmokeC.tga");
    m.Shader("smokePuff", "effect_blackSmokeC");
    int smoke = m.Node("smoke", -1);
    // The one quad is the node's shape, facing +Z. The program scales it by
    // the puff's age (up to 10): four units across makes a puff of up to 40,
    // big enough to read as smoke from the camera's distance of 1000.
    QuadNode& n = m.At(smoke);
    n.shader = "smokePuff";
    n.x0 = -2.0f;
    n.y0 = -2.0f;
    n.x1 = 2.0f;
    n.y1 = 2.0f;
    return m.Write(bytes, error);
}

// The logo: its lower left corner at the origin, about 200 x 64 units.
bool BuildLogo(std::vector<uint8_t>& bytes, std::string& error) {
    CQuadModel m;
    m.Texture("sc_mozi", "sc_mozi.tga");
    m.Shader("phong1", "sc_mozi");
    int top = m.Node("sc_logoModel", -1);
    m.Quad("sc_logoName", top, "phong1", 40, 24, 232, 72, 0, {0, 0, 1, 0.5f});
    m.Quad("sc_logoMode", top, "phong1", 48, 0, 232, 23, 0, {0.25f, 0.625f, 1, 0.8125f});
    int star = m.Node("sc_logoStar", top, 20, 30, 0);
    m.Quad("sc_logoStarMark", star, "phong1", -18, -18, 18, 18, 0.1f, {0, 0.5f, 0.25f, 1});
    return m.Write(bytes, error);
}

bool BuildLogoAnimation(std::vector<uint8_t>& bytes, std::string& error) {
    CAnimationWriter a("screenSaver");
    // The star turns once while the logo shows; 600 frames in all.
    a.Channel("sc_logoStar", RT_TRANSFORM, AA_ROTATION_Z, {{0, 0}, {600, -2 * PI}}, 600);
    a.Channel("sc_logoName", RT_TRANSFORM, AA_TRANSLATION_Y, {{0, -6}, {130, 0}}, 600);
    return a.Write(bytes, error);
}

} // namespace

bool BuildEndingFiles(std::vector<EndingFile>& files, std::string& error) {
    files.clear();
    if (!Font().IsOpen()) {
        error = "no font: " + Font().LastError();
        return false;
    }
    g_paintError.clear();
    struct Model {
        const char* archive;
        const char* path;
        bool (*build)(std::vector<uint8_t>&, std::string&);
    };
    const Model models[] = {
        {"model/model02.bin", "model/indicator/screenSaver.hgm", BuildLogo},
        {"model/model03.bin", "model/ending/endRoll.hgm", BuildEndRoll},
        {"model/model03.bin", "model/ending/smoke.hgm", BuildSmoke},
        {"animation/animation02.bin", "animation/indicator/screenSaver.hga", BuildLogoAnimation},
        {"animation/animation03.bin", "animation/ending/endRoll.hga", BuildEndRollAnimation},
    };
    for (const Model& model : models) {
        EndingFile f{model.archive, model.path, {}};
        if (!model.build(f.bytes, error))
            return false;
        files.push_back(std::move(f));
    }
    files.push_back({LIST2, "model/indicator/sc_mozi.tga", EncodeTga(PaintLogoLettering(), true)});
    for (const char* name :
         {"dummy_end_congratulations", "dummy_end_gradation", "dummy_end_staff1", "dummy_end_staff2"})
        files.push_back(
            {LIST3, std::string("model/ending/") + name + ".tga", EncodeTga(PaintStaffRollPicture(name), false)});
    files.push_back({LIST3, "model/ending/effect_blackSmokeC.tga", EncodeTga(PaintSmokePuff(), true)});
    for (const char* name : {"end_congratulations", "end_gradation", "end_staff1", "end_staff2"}) {
        CCanvas picture = PaintStaffRollPicture(name);
        files.push_back({LIST3, std::string("model/ending/") + name + ".tga", EncodeTga(picture, !picture.IsOpaque())});
    }
    if (!g_paintError.empty()) {
        error = g_paintError;
        return false;
    }
    return true;
}

bool WriteEndingContent(const std::string& folder, std::string& error) {
    std::vector<EndingFile> files;
    if (!BuildEndingFiles(files, error))
        return false;
    std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string manifest = "# Generated by deskmate_ending.\n";
    for (const EndingFile& f : files) {
        std::string local = f.path.substr(f.path.rfind('/') + 1);
        if (!WriteBytesToFile((dir / local).string(), f.bytes)) {
            error = "cannot write " + (dir / local).string();
            return false;
        }
        manifest += f.archive + " " + f.path + " " + local + "\n";
    }
    if (!WriteBytesToFile((dir / "ending.manifest").string(), std::vector<uint8_t>(manifest.begin(), manifest.end()))) {
        error = "cannot write the manifest";
        return false;
    }
    return true;
}
