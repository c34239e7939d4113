// deskmate_room_preview: draws the generated room with a small software
// rasteriser into a PNG, to look at the model without the renderer.
//
//   deskmate_room_preview [--evening|--night] OUTPUT.png [eye-x eye-y eye-z target-x target-y target-z fov-y]
// The default view is the room camera's: eye (950, 460, 850) looking at the
// origin with a field of view of 0.314 rad. The sky and window panes of the
// day (or of the time given) are shown.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/RecordReaders.h"
#include "engine/resource/ResourceKind.h"
#include "tools/content/RoomBuilder.h"
#include "tools/content/TexturePainter.h"

namespace {

struct V3 {
    float x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Norm(V3 a) { return a * (1.0f / std::sqrt(Dot(a, a))); }

struct Vertex {
    V3 view; // camera space, looking down -z
    float u, v;
    V3 colour; // lit colour before texture
};

const int WIDTH = 960, HEIGHT = 720;
std::vector<float> g_depth(WIDTH* HEIGHT, 1e30f);
std::vector<float> g_rgb(WIDTH* HEIGHT * 3, 0.1f);

struct Material {
    const CPaintImage* texture = nullptr;
    float colour[4] = {1, 1, 1, 1};
    int type = ST_LAMBERT;
};

V3 Sample(const CPaintImage* image, float u, float v, bool clampV) {
    if (!image)
        return {1, 1, 1};
    u -= std::floor(u);
    v = clampV ? std::fmin(std::fmax(v, 0.0f), 0.9999f) : v - std::floor(v);
    int x = int(u * image->Width()) % image->Width(), y = int(v * image->Height()) % image->Height();
    float r, g, b;
    image->Get(x, y, r, g, b);
    return {r, g, b};
}

float g_focal;

void DrawTriangle(const Vertex* t, const Material& m, bool doubleSided, float alpha, bool clampV) {
    // Project.
    float sx[3], sy[3], iw[3];
    for (int i = 0; i < 3; ++i) {
        float w = -t[i].view.z;
        iw[i] = 1 / w;
        sx[i] = WIDTH / 2.0f + t[i].view.x * g_focal * iw[i];
        sy[i] = HEIGHT / 2.0f - t[i].view.y * g_focal * iw[i];
    }
    float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    // Screen y grows downward: counter-clockwise on screen gives a negative area.
    if (area >= 0 && !doubleSided)
        return;
    if (area == 0)
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
            size_t at = size_t(y) * WIDTH + x;
            if (depth >= g_depth[at])
                continue;
            auto lerp = [&](float a, float b, float c) {
                return (a * b0 * iw[0] + b * b1 * iw[1] + c * b2 * iw[2]) / w;
            };
            float u = lerp(t[0].u, t[1].u, t[2].u), v = lerp(t[0].v, t[1].v, t[2].v);
            V3 lit{lerp(t[0].colour.x, t[1].colour.x, t[2].colour.x), lerp(t[0].colour.y, t[1].colour.y, t[2].colour.y),
                   lerp(t[0].colour.z, t[1].colour.z, t[2].colour.z)};
            V3 tex = Sample(m.texture, u, v, clampV);
            V3 c{lit.x * tex.x, lit.y * tex.y, lit.z * tex.z};
            if (alpha < 1) {
                for (int k = 0; k < 3; ++k)
                    g_rgb[at * 3 + k] = g_rgb[at * 3 + k] * (1 - alpha) + (&c.x)[k] * alpha;
            } else {
                g_depth[at] = depth;
                g_rgb[at * 3] = c.x, g_rgb[at * 3 + 1] = c.y, g_rgb[at * 3 + 2] = c.z;
            }
        }
}

// Clips against the near plane, then draws the fan.
void DrawClipped(const Vertex* in, const Material& m, bool doubleSided, float alpha, bool clampV) {
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
            c.view = a.view + (b.view - a.view) * t;
            c.u = a.u + (b.u - a.u) * t;
            c.v = a.v + (b.v - a.v) * t;
            c.colour = a.colour + (b.colour - a.colour) * t;
            poly.push_back(c);
        }
    }
    for (size_t i = 2; i < poly.size(); ++i) {
        Vertex t[3] = {poly[0], poly[i - 1], poly[i]};
        DrawTriangle(t, m, doubleSided, alpha, clampV);
    }
}

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

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
        std::fprintf(stderr, "usage: deskmate_room_preview OUTPUT.png [eye target fov]\n");
        return 2;
    }
    V3 eye{950, 460, 850}, target{0, 0, 0};
    float fov = 0.314f;
    if (argc == 9) {
        eye = {float(atof(argv[2])), float(atof(argv[3])), float(atof(argv[4]))};
        target = {float(atof(argv[5])), float(atof(argv[6])), float(atof(argv[7]))};
        fov = float(atof(argv[8]));
    }
    g_focal = (HEIGHT / 2.0f) / std::tan(fov / 2);
    V3 back = Norm(eye - target), right = Norm(Cross({0, 1, 0}, back)), up = Cross(back, right);

    std::vector<uint8_t> bytes;
    std::string error;
    if (!BuildRoomModel(bytes, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<PaintedTexture> painted = PaintRoomTextures();
    std::map<std::string, const CPaintImage*> images;
    for (const PaintedTexture& t : painted)
        images[t.fileName] = &t.image;

    std::map<std::string, TextureRecord> textures;
    std::map<std::string, Material> materials;
    std::map<std::string, GeometryRecord> geometries;
    std::vector<ShapeRecord> shapes;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        uint32_t type, size;
        std::memcpy(&type, &bytes[at], 4);
        std::memcpy(&size, &bytes[at + 4], 4);
        if (size < 8 || size > bytes.size() - at) {
            std::fprintf(stderr, "broken chunk at %zu\n", at);
            return 1;
        }
        const uint8_t* record = &bytes[at + 8];
        size_t length = size - 8;
        at += size;
        TextureRecord t;
        ShaderRecord s;
        GeometryRecord g;
        ShapeRecord shape;
        if (type == RT_TEXTURE && ReadTextureRecord(record, length, t) == RR_ACCEPTED) {
            textures[t.name] = t;
        } else if (type == RT_SHADER && ReadShaderRecord(record, length, s) == RR_ACCEPTED) {
            Material m;
            if (textures.count(s.textureName))
                m.texture = images[textures[s.textureName].fileName];
            std::memcpy(m.colour, s.colour, sizeof m.colour);
            m.type = s.shaderType;
            materials[s.name] = m;
        } else if (type == RT_GEOMETRY && ReadGeometryRecord(record, length, g) == RR_ACCEPTED) {
            geometries[g.name] = g;
        } else if (type == RT_SHAPE && ReadShapeRecord(record, length, shape) == RR_ACCEPTED) {
            shapes.push_back(shape);
        }
    }

    const V3 lightPos{0, 300, 0};
    for (int pass = 0; pass < 2; ++pass)
        for (const ShapeRecord& shape : shapes)
            for (const ShapePair& pair : shape.pairs) {
                // Evening and night show no weight in the day.
                if (pair.shaderName.find(hidden[0]) != std::string::npos ||
                    pair.shaderName.find(hidden[1]) != std::string::npos)
                    continue;
                if (!materials.count(pair.shaderName) || !geometries.count(pair.geometryName))
                    continue;
                const Material& m = materials[pair.shaderName];
                const GeometryRecord& g = geometries[pair.geometryName];
                if (g.groups.empty())
                    continue;
                bool translucent = pair.geometryName == "room_windowGlassShape_025" || m.colour[3] < 1;
                if ((pass == 1) != translucent)
                    continue;
                bool hasNormal = g.vertexFormat & (1u << VE_NORMAL);
                bool hasColour = g.vertexFormat & (1u << VE_COLOR_0);
                size_t stride = 12 + (hasNormal ? 12 : 0) + (hasColour ? 16 : 0) + 8;
                std::vector<Vertex> vs(size_t(g.vertexCount));
                for (int i = 0; i < g.vertexCount; ++i) {
                    const uint8_t* p = g.vertices + stride * size_t(i);
                    V3 pos{ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)};
                    V3 n{0, 1, 0};
                    V3 vc{1, 1, 1};
                    size_t o = 12;
                    if (hasNormal) {
                        n = {ReadFloat(p + 12), ReadFloat(p + 16), ReadFloat(p + 20)};
                        o += 12;
                    }
                    if (hasColour) {
                        vc = {ReadFloat(p + o), ReadFloat(p + o + 4), ReadFloat(p + o + 8)};
                        o += 16;
                    }
                    Vertex& v = vs[size_t(i)];
                    V3 rel = pos - eye;
                    v.view = {Dot(rel, right), Dot(rel, up), Dot(rel, back)};
                    v.u = ReadFloat(p + o);
                    v.v = ReadFloat(p + o + 4);
                    float light = 1;
                    if (m.type != ST_CONSTANT) {
                        V3 toLight = lightPos - pos;
                        float d = std::sqrt(Dot(toLight, toLight));
                        float lambert = std::fmax(0.0f, (Dot(n, toLight * (1 / d)) + 0.3f) / 1.3f);
                        light = 0.42f + 0.7f * lambert * std::fmin(1.0f, 420.0f / d);
                    }
                    v.colour = V3{vc.x * m.colour[0], vc.y * m.colour[1], vc.z * m.colour[2]} * light;
                }
                bool clampV = false;
                for (const auto& t : textures)
                    if (m.texture == images[t.second.fileName] && t.second.addressV == TAM_CLAMP)
                        clampV = true;
                const GeometryIndexGroup& group = g.groups[0];
                for (int i = 0; i + 2 < group.indexCount; i += 3) {
                    if (group.Index(i) >= vs.size() || group.Index(i + 1) >= vs.size() ||
                        group.Index(i + 2) >= vs.size())
                        continue;
                    Vertex t[3] = {vs[group.Index(i)], vs[group.Index(i + 1)], vs[group.Index(i + 2)]};
                    DrawClipped(t, m, g.doubleSided != 0, translucent ? m.colour[3] : 1.0f, clampV);
                }
            }

    FILE* file = std::fopen(argv[1], "wb");
    if (!file)
        return 1;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        std::fclose(file);
        return 1;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, WIDTH, HEIGHT, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(WIDTH * 3);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH * 3; ++x)
            row[size_t(x)] =
                uint8_t(std::lround(std::fmin(1.0f, std::fmax(0.0f, g_rgb[size_t(y) * WIDTH * 3 + x])) * 255));
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return 0;
}
