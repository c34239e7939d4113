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
#include "tools/preview/PreviewRaster.h"

namespace {

const int WIDTH = 960, HEIGHT = 720;
// The room light of the night preset, and how the preview shades with it.
const Vec3 LIGHT_PLACE(0, 300, 0);
const float BACKGROUND[3] = {0.1f, 0.1f, 0.1f};

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
    CPreview(const CMatrix& view, float fovY) : m_view(view), m_raster(WIDTH, HEIGHT, fovY, BACKGROUND) {}

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
        const std::vector<uint8_t> rgb = m_raster.ToRgb();
        CCanvas canvas(WIDTH, HEIGHT);
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x) {
                const uint8_t* c = &rgb[(size_t(y) * WIDTH + size_t(x)) * 3];
                canvas.Set(x, y, Rgba{c[0], c[1], c[2], 255});
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
        std::vector<RasterVertex> vs(size_t(g.vertexCount));
        for (size_t i = 0; i < vs.size(); ++i) {
            const uint8_t* p = g.vertices + stride * i;
            const Vec3 position = ReadVec3(p);
            const Vec3 normal = normalAt >= 0 ? ReadVec3(p + normalAt) : Vec3(0, 1, 0);
            const Vec3 tint = colourAt >= 0 ? ReadVec3(p + colourAt) : Vec3(1, 1, 1);
            RasterVertex& v = vs[i];
            Vec3 view = position;
            view.TransformCoord(m_view);
            v.view[0] = view.x, v.view[1] = view.y, v.view[2] = view.z;
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
            v.colour[0] = tint.x * m.colour[0] * light;
            v.colour[1] = tint.y * m.colour[1] * light;
            v.colour[2] = tint.z * m.colour[2] * light;
        }
        const RasterTexture texture{m.texture, false, m.clampV};
        const GeometryIndexGroup& group = g.groups[0];
        for (int i = 0; i + 2 < group.indexCount; i += 3) {
            const size_t a = group.Index(i), b = group.Index(i + 1), c = group.Index(i + 2);
            if (a >= vs.size() || b >= vs.size() || c >= vs.size())
                continue;
            const RasterVertex t[3] = {vs[a], vs[b], vs[c]};
            m_raster.DrawTriangle(t, texture, g.doubleSided != 0, alpha);
        }
    }

    CMatrix m_view;
    CPreviewRaster m_raster;
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
