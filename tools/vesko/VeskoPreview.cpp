#include "tools/vesko/VeskoPreview.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "tools/vesko/VeskoRig.h"

namespace {

struct V3 {
    float x, y, z;
};
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Unit(V3 a) {
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? V3{a.x / l, a.y / l, a.z / l} : V3{0, 1, 0};
}

V3 Transform(MeshPoint p, const CMatrix& m) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}
V3 TransformNormal(MeshPoint n, const CMatrix& m) {
    return Unit({n.x * m(0, 0) + n.y * m(1, 0) + n.z * m(2, 0), n.x * m(0, 1) + n.y * m(1, 1) + n.z * m(2, 1),
                 n.x * m(0, 2) + n.y * m(1, 2) + n.z * m(2, 2)});
}

struct Panel {
    int x0, width, height;
    float yaw;
    float scale, centreY;
    std::vector<float> depth;
};

struct Vert {
    float sx, sy, depth, u, v, light;
};

class CRaster {
public:
    CRaster(VeskoPicture& picture) : m_picture(picture) {}

    void Triangle(Panel& panel, const Vert* t, const CCanvas* texture, const float* colour, bool doubleSided,
                  bool blend) {
        float area = (t[1].sx - t[0].sx) * (t[2].sy - t[0].sy) - (t[2].sx - t[0].sx) * (t[1].sy - t[0].sy);
        // Screen y grows downward: a front face has a negative area here.
        if (area == 0 || (area > 0 && !doubleSided))
            return;
        int x0 = std::max(0, int(std::floor(std::min({t[0].sx, t[1].sx, t[2].sx}))));
        int x1 = std::min(panel.width - 1, int(std::ceil(std::max({t[0].sx, t[1].sx, t[2].sx}))));
        int y0 = std::max(0, int(std::floor(std::min({t[0].sy, t[1].sy, t[2].sy}))));
        int y1 = std::min(panel.height - 1, int(std::ceil(std::max({t[0].sy, t[1].sy, t[2].sy}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float b0 = ((t[1].sx - px) * (t[2].sy - py) - (t[2].sx - px) * (t[1].sy - py)) / area;
                float b1 = ((t[2].sx - px) * (t[0].sy - py) - (t[0].sx - px) * (t[2].sy - py)) / area;
                float b2 = 1 - b0 - b1;
                if (b0 < 0 || b1 < 0 || b2 < 0)
                    continue;
                float depth = b0 * t[0].depth + b1 * t[1].depth + b2 * t[2].depth;
                size_t at = size_t(y) * size_t(panel.width) + size_t(x);
                if (depth <= panel.depth[at])
                    continue;
                float u = b0 * t[0].u + b1 * t[1].u + b2 * t[2].u;
                float v = b0 * t[0].v + b1 * t[1].v + b2 * t[2].v;
                float light = b0 * t[0].light + b1 * t[1].light + b2 * t[2].light;
                float c[4] = {colour[0], colour[1], colour[2], colour[3]};
                if (texture && texture->Width() > 0) {
                    u -= std::floor(u);
                    v -= std::floor(v);
                    Rgba s = texture->Get(std::min(texture->Width() - 1, int(u * float(texture->Width()))),
                                          std::min(texture->Height() - 1, int(v * float(texture->Height()))));
                    c[0] *= float(s.r) / 255, c[1] *= float(s.g) / 255, c[2] *= float(s.b) / 255;
                    c[3] *= float(s.a) / 255;
                }
                uint8_t* out = &m_picture.rgb[(size_t(y) * size_t(m_picture.width) + size_t(panel.x0 + x)) * 3];
                for (int k = 0; k < 3; ++k) {
                    float value = std::min(1.0f, c[k] * light) * 255;
                    out[k] = uint8_t(std::lround(blend ? out[k] * (1 - c[3]) + value * c[3] : value));
                }
                if (!blend)
                    panel.depth[at] = depth;
            }
    }

private:
    VeskoPicture& m_picture;
};

bool UnderNode(const CSkeletonBuilder& nodes, int index, const std::string& name) {
    for (int i = index; i >= 0; i = nodes.Node(i).parent)
        if (nodes.Node(i).name == name)
            return true;
    return false;
}

bool Hidden(const CSkeletonBuilder& nodes, int index, const VeskoPreviewScene& scene) {
    for (int i = index; i >= 0; i = nodes.Node(i).parent) {
        if (scene.hidden.count(nodes.Node(i).name))
            return true;
        if (nodes.Node(i).parent < 0)
            return !scene.shown.count(nodes.Node(i).name);
    }
    return true;
}

} // namespace

VeskoPicture RenderVeskoPreview(const std::vector<std::unique_ptr<CVeskoModelFile>>& files,
                                const std::vector<VeskoTexture>& textures, const VeskoPreviewScene& scene,
                                const std::vector<float>& yaws, int panelWidth, int panelHeight) {
    VeskoPicture picture;
    picture.width = panelWidth * int(yaws.size());
    picture.height = panelHeight;
    picture.rgb.resize(size_t(picture.width) * size_t(picture.height) * 3);
    // A soft backdrop and a floor.
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            float f = float(y) / float(picture.height);
            uint8_t* p = &picture.rgb[(size_t(y) * size_t(picture.width) + size_t(x)) * 3];
            bool floor = f > 0.92f;
            p[0] = uint8_t(floor ? 196 : 214 - 20 * f);
            p[1] = uint8_t(floor ? 180 : 222 - 20 * f);
            p[2] = uint8_t(floor ? 160 : 236 - 16 * f);
        }
    std::map<std::string, const CCanvas*> images;
    for (const VeskoTexture& t : textures)
        images[t.fileName] = &t.image;
    std::map<std::string, std::string> textureFiles;
    for (auto& f : files)
        for (const TextureRecord& t : f->Textures()) {
            std::string file = t.fileName;
            if (t.IsAnimated())
                file = file.substr(0, file.rfind('.')) + "." + std::to_string(scene.face) + ".tga";
            textureFiles[t.name] = file;
        }
    CRaster raster(picture);
    for (size_t k = 0; k < yaws.size(); ++k) {
        Panel panel;
        panel.x0 = int(k) * panelWidth;
        panel.width = panelWidth;
        panel.height = panelHeight;
        panel.yaw = yaws[k];
        // 100 room units fill a little under the panel's height; the floor near the bottom.
        panel.scale = float(panelHeight) * 0.82f / 100.0f * scene.zoom;
        panel.depth.assign(size_t(panelWidth) * size_t(panelHeight), -1e30f);
        const V3 toCamera{std::sin(panel.yaw), 0, std::cos(panel.yaw)};
        const V3 right{std::cos(panel.yaw), 0, -std::sin(panel.yaw)};
        const V3 light = Unit({0.35f, 0.8f, 0.6f});
        for (int pass = 0; pass < 2; ++pass)
            for (auto& f : files) {
                const CSkeletonBuilder& nodes = f->Nodes();
                for (auto& part : f->Parts()) {
                    int shape = nodes.Find(part->shape);
                    if (shape < 0 || Hidden(nodes, shape, scene))
                        continue;
                    const ShaderRecord* shader = f->FindShader(part->shader);
                    if (!shader)
                        continue;
                    const CCanvas* texture = nullptr;
                    auto file = textureFiles.find(shader->textureName);
                    if (file != textureFiles.end() && images.count(file->second))
                        texture = images[file->second];
                    bool translucent = texture && !texture->IsOpaque();
                    if ((pass == 1) != translucent)
                        continue;
                    // Skinned meshes are bound in the rig's space; rigid ones
                    // hang under their node. Under the root everything is scaled.
                    bool skinned = !shader->boneNames.empty();
                    CMatrix place;
                    if (!skinned)
                        place = nodes.Node(nodes.Node(shape).parent).world;
                    bool scaled = skinned || UnderNode(nodes, shape, VeskoNames::ROOT);
                    if (scaled) {
                        CMatrix s, m;
                        D3DXMatrixScaling(&s, VESKO_ROOT_SCALE, VESKO_ROOT_SCALE, VESKO_ROOT_SCALE);
                        D3DXMatrixMultiply(&m, &place, &s);
                        place = m;
                    }
                    const auto& vertices = part->mesh.Vertices();
                    std::vector<Vert> screen(vertices.size());
                    for (size_t i = 0; i < vertices.size(); ++i) {
                        V3 p = Transform(vertices[i].position, place);
                        V3 n = TransformNormal(vertices[i].normal, place);
                        Vert& s = screen[i];
                        s.sx = float(panelWidth) / 2 + Dot(p, right) * panel.scale;
                        s.sy = float(panelHeight) / 2 - (p.y - scene.lookY) * panel.scale;
                        s.depth = Dot(p, toCamera);
                        s.u = vertices[i].u;
                        s.v = vertices[i].v;
                        float lambert = Dot(n, light);
                        if (part->doubleSided && Dot(n, toCamera) < 0)
                            lambert = -lambert;
                        s.light = translucent ? 1.0f : 0.5f + 0.6f * std::max(0.0f, lambert);
                    }
                    const auto& indices = part->mesh.Indices();
                    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
                        Vert t[3] = {screen[indices[i]], screen[indices[i + 1]], screen[indices[i + 2]]};
                        raster.Triangle(panel, t, texture, shader->colour, part->doubleSided, translucent);
                    }
                }
            }
    }
    return picture;
}
