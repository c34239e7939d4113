// deskmate_room_preview: draws the generated room with a small software
// rasteriser into a PNG, to look at the model without the renderer.
//
//   deskmate_room_preview [--evening|--night] OUTPUT.png [eye-x eye-y eye-z target-x target-y target-z fov-y]
// The default view is the room camera's (shell/world/RoomCamera.h). The sky
// and window panes of the day (or of the time given) are shown.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/chunk/VertexSize.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "shell/world/RoomCamera.h"
#include "tools/content/RoomBuilder.h"
#include "tools/content/TexturePainter.h"
#include "tools/media/Canvas.h"
#include "tools/media/ImageWriters.h"

namespace {

const int WIDTH = 960, HEIGHT = 720;
// The room light of the night preset, and how the preview shades with it.
const Vec3 LIGHT_PLACE(0, 300, 0);

struct Vertex {
    Vec3 view; // camera space, looking down -z
    float u = 0, v = 0;
    Vec3 colour; // lit colour before texture
};

Vec3 Lerp(const Vec3& a, const Vec3& b, float t) {
    return Vec3(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
}

Vec3 Difference(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z); }

struct Material {
    const CPaintImage* texture = nullptr;
    bool clampV = false;
    float colour[4] = {1, 1, 1, 1};
    int type = ST_LAMBERT;
};

// The records of the room's chunk stream, gathered by the engine's own walk.
struct RoomRecords {
    std::map<std::string, TextureRecord> textures;
    std::map<std::string, ShaderRecord> shaders;
    std::map<std::string, GeometryRecord> geometries;
    std::vector<ShapeRecord> shapes;
};
RoomRecords g_records;

void KeepTexture(const TextureRecord& r) { g_records.textures[r.name] = r; }
void KeepShader(const ShaderRecord& r) { g_records.shaders[r.name] = r; }
void KeepGeometry(const GeometryRecord& r) { g_records.geometries[r.name] = r; }
void KeepShape(const ShapeRecord& r) { g_records.shapes.push_back(r); }

// Byte offset of an element inside a vertex of the format; -1 when absent.
int ElementOffset(uint32_t format, int element) {
    if (!(format & (1u << element)))
        return -1;
    int offset = 0;
    for (int e = 0; e < element; ++e)
        if (format & (1u << e))
            offset += GetVertexElementSize(e);
    return offset;
}

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

Vec3 ReadVec3(const uint8_t* p) { return Vec3(ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)); }

class CPreview {
public:
    CPreview(const CMatrix& view, float fovY)
        : m_view(view),
          m_focal((HEIGHT / 2.0f) / std::tan(fovY / 2)),
          m_depth(size_t(WIDTH) * HEIGHT, 1e30f),
          m_rgb(size_t(WIDTH) * HEIGHT * 3, 0.1f) {}

    // Every geometry of the shapes, opaque ones first, then the translucent
    // ones over them; shaders whose names hold a hidden word are left out.
    void DrawRoom(const std::map<std::string, Material>& materials, const std::string hidden[2]) {
        for (int pass = 0; pass < 2; ++pass)
            for (const ShapeRecord& shape : g_records.shapes)
                for (const ShapePair& pair : shape.pairs) {
                    if (pair.shaderName.find(hidden[0]) != std::string::npos ||
                        pair.shaderName.find(hidden[1]) != std::string::npos)
                        continue;
                    auto material = materials.find(pair.shaderName);
                    auto geometry = g_records.geometries.find(pair.geometryName);
                    if (material == materials.end() || geometry == g_records.geometries.end())
                        continue;
                    const Material& m = material->second;
                    bool translucent = pair.geometryName == "room_windowGlassShape_025" || m.colour[3] < 1;
                    if ((pass == 1) == translucent)
                        DrawGeometry(geometry->second, m, translucent ? m.colour[3] : 1.0f);
                }
    }

    CCanvas ToCanvas() const {
        CCanvas canvas(WIDTH, HEIGHT);
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x) {
                const float* c = &m_rgb[(size_t(y) * WIDTH + size_t(x)) * 3];
                auto byte = [](float v) { return uint8_t(std::lround(std::fmin(1.0f, std::fmax(0.0f, v)) * 255)); };
                canvas.Set(x, y, Rgba{byte(c[0]), byte(c[1]), byte(c[2]), 255});
            }
        return canvas;
    }

private:
    void DrawGeometry(const GeometryRecord& g, const Material& m, float alpha) {
        if (g.groups.empty() || !g.vertices)
            return;
        const uint32_t format = g.vertexFormat;
        const size_t stride = size_t(GetVertexSize(format));
        const int normalAt = ElementOffset(format, VE_NORMAL);
        const int colourAt = ElementOffset(format, VE_COLOR_0);
        const int uvAt = ElementOffset(format, VE_TEXCOORDINATE_0);
        if (ElementOffset(format, VE_POSITION) != 0)
            return;
        std::vector<Vertex> vs(size_t(g.vertexCount));
        for (size_t i = 0; i < vs.size(); ++i) {
            const uint8_t* p = g.vertices + stride * i;
            const Vec3 position = ReadVec3(p);
            const Vec3 normal = normalAt >= 0 ? ReadVec3(p + normalAt) : Vec3(0, 1, 0);
            const Vec3 tint = colourAt >= 0 ? ReadVec3(p + colourAt) : Vec3(1, 1, 1);
            Vertex& v = vs[i];
            v.view = position;
            v.view.TransformCoord(m_view);
            if (uvAt >= 0) {
                v.u = ReadFloat(p + uvAt);
                v.v = ReadFloat(p + uvAt + 4);
            }
            float light = 1;
            if (m.type != ST_CONSTANT) {
                Vec3 toLight = Difference(LIGHT_PLACE, position);
                const float d = toLight.Length();
                toLight.Normalize();
                const float lambert = std::fmax(0.0f, (Vec3::Dot(normal, toLight) + 0.3f) / 1.3f);
                light = 0.42f + 0.7f * lambert * std::fmin(1.0f, 420.0f / d);
            }
            v.colour = Vec3(tint.x * m.colour[0] * light, tint.y * m.colour[1] * light, tint.z * m.colour[2] * light);
        }
        const GeometryIndexGroup& group = g.groups[0];
        for (int i = 0; i + 2 < group.indexCount; i += 3) {
            const size_t a = group.Index(i), b = group.Index(i + 1), c = group.Index(i + 2);
            if (a >= vs.size() || b >= vs.size() || c >= vs.size())
                continue;
            const Vertex t[3] = {vs[a], vs[b], vs[c]};
            DrawClipped(t, m, g.doubleSided != 0, alpha);
        }
    }

    // Clips against the near plane, then draws the fan.
    void DrawClipped(const Vertex* in, const Material& m, bool doubleSided, float alpha) {
        const float nearZ = -1.0f;
        std::vector<Vertex> poly;
        for (int i = 0; i < 3; ++i) {
            const Vertex& a = in[i];
            const Vertex& b = in[(i + 1) % 3];
            bool aIn = a.view.z <= nearZ, bIn = b.view.z <= nearZ;
            if (aIn)
                poly.push_back(a);
            if (aIn != bIn) {
                float t = (nearZ - a.view.z) / (b.view.z - a.view.z);
                Vertex c;
                c.view = Lerp(a.view, b.view, t);
                c.u = a.u + (b.u - a.u) * t;
                c.v = a.v + (b.v - a.v) * t;
                c.colour = Lerp(a.colour, b.colour, t);
                poly.push_back(c);
            }
        }
        for (size_t i = 2; i < poly.size(); ++i) {
            const Vertex t[3] = {poly[0], poly[i - 1], poly[i]};
            DrawTriangle(t, m, doubleSided, alpha);
        }
    }

    void DrawTriangle(const Vertex* t, const Material& m, bool doubleSided, float alpha) {
        float sx[3], sy[3], iw[3];
        for (int i = 0; i < 3; ++i) {
            iw[i] = 1 / -t[i].view.z;
            sx[i] = WIDTH / 2.0f + t[i].view.x * m_focal * iw[i];
            sy[i] = HEIGHT / 2.0f - t[i].view.y * m_focal * iw[i];
        }
        float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        // Screen y grows downward: counter-clockwise on screen gives a negative area.
        if ((area >= 0 && !doubleSided) || area == 0)
            return;
        int x0 = std::max(0, int(std::floor(std::fmin(sx[0], std::fmin(sx[1], sx[2])))));
        int x1 = std::min(WIDTH - 1, int(std::ceil(std::fmax(sx[0], std::fmax(sx[1], sx[2])))));
        int y0 = std::max(0, int(std::floor(std::fmin(sy[0], std::fmin(sy[1], sy[2])))));
        int y1 = std::min(HEIGHT - 1, int(std::ceil(std::fmax(sy[0], std::fmax(sy[1], sy[2])))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float b0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                float b1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                float b2 = 1 - b0 - b1;
                if (b0 < 0 || b1 < 0 || b2 < 0)
                    continue;
                float w = b0 * iw[0] + b1 * iw[1] + b2 * iw[2];
                float depth = 1 / w;
                size_t at = size_t(y) * WIDTH + size_t(x);
                if (depth >= m_depth[at])
                    continue;
                auto lerp = [&](float a, float b, float c) {
                    return (a * b0 * iw[0] + b * b1 * iw[1] + c * b2 * iw[2]) / w;
                };
                float u = lerp(t[0].u, t[1].u, t[2].u), v = lerp(t[0].v, t[1].v, t[2].v);
                const float lit[3] = {lerp(t[0].colour.x, t[1].colour.x, t[2].colour.x),
                                      lerp(t[0].colour.y, t[1].colour.y, t[2].colour.y),
                                      lerp(t[0].colour.z, t[1].colour.z, t[2].colour.z)};
                float tex[3];
                Sample(m, u, v, tex);
                float* out = &m_rgb[at * 3];
                for (int k = 0; k < 3; ++k) {
                    const float c = lit[k] * tex[k];
                    out[k] = alpha < 1 ? out[k] * (1 - alpha) + c * alpha : c;
                }
                if (alpha >= 1)
                    m_depth[at] = depth;
            }
    }

    static void Sample(const Material& m, float u, float v, float rgb[3]) {
        const CPaintImage* image = m.texture;
        if (!image) {
            rgb[0] = rgb[1] = rgb[2] = 1;
            return;
        }
        u -= std::floor(u);
        v = m.clampV ? std::fmin(std::fmax(v, 0.0f), 0.9999f) : v - std::floor(v);
        int x = int(u * image->Width()) % image->Width(), y = int(v * image->Height()) % image->Height();
        image->Get(x, y, rgb[0], rgb[1], rgb[2]);
    }

    CMatrix m_view;
    float m_focal;
    std::vector<float> m_depth;
    std::vector<float> m_rgb;
};

} // namespace

int main(int argc, char** argv) {
    std::string hidden[2] = {"vening", "Night"};
    if (argc > 1 && (std::strcmp(argv[1], "--evening") == 0 || std::strcmp(argv[1], "--night") == 0)) {
        hidden[0] = "Day";
        hidden[1] = argv[1][2] == 'e' ? "Night" : "vening";
        --argc;
        ++argv;
    }
    if (argc != 2 && argc != 9) {
        std::fprintf(stderr, "usage: deskmate_room_preview [--evening|--night] OUTPUT.png [eye target fov]\n");
        return 2;
    }
    CMatrix view = GetRoomCameraView();
    float fovY = ROOM_CAMERA_FOV_Y;
    if (argc == 9) {
        const Vec3 eye(float(atof(argv[2])), float(atof(argv[3])), float(atof(argv[4])));
        const Vec3 target(float(atof(argv[5])), float(atof(argv[6])), float(atof(argv[7])));
        view.SetLookAtRH(eye, target, ROOM_CAMERA_UP);
        fovY = float(atof(argv[8]));
    }

    std::vector<uint8_t> bytes;
    std::string error;
    if (!BuildRoomModel(bytes, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    SetChunkHandler(KeepTexture);
    SetChunkHandler(KeepShader);
    SetChunkHandler(KeepGeometry);
    SetChunkHandler(KeepShape);
    const ChunkWalkResult walk = LoadChunkStream(nullptr, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
    ClearChunkHandlers();
    if (!walk.complete || walk.refused > 0) {
        std::fprintf(stderr, "the room's chunk stream is broken (%d records refused)\n", walk.refused);
        return 1;
    }

    const std::vector<PaintedTexture> painted = PaintRoomTextures();
    std::map<std::string, const CPaintImage*> images;
    for (const PaintedTexture& t : painted)
        images[t.fileName] = &t.image;
    std::map<std::string, Material> materials;
    for (const auto& entry : g_records.shaders) {
        const ShaderRecord& s = entry.second;
        Material m;
        auto texture = g_records.textures.find(s.textureName);
        if (texture != g_records.textures.end()) {
            auto image = images.find(texture->second.fileName);
            m.texture = image != images.end() ? image->second : nullptr;
            m.clampV = texture->second.addressV == TAM_CLAMP;
        }
        std::memcpy(m.colour, s.colour, sizeof m.colour);
        m.type = s.shaderType;
        materials[s.name] = m;
    }

    CPreview preview(view, fovY);
    preview.DrawRoom(materials, hidden);
    std::vector<uint8_t> png;
    if (!EncodePng(preview.ToCanvas(), false, png, error) || !WriteBytesToFile(argv[1], png)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.empty() ? "cannot be written" : error.c_str());
        return 1;
    }
    return 0;
}
