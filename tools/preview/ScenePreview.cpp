#include "tools/preview/ScenePreview.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/RecordReaders.h"
#include "engine/chunk/VertexSize.h"
#include "engine/resource/ResourceKind.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/preview/PreviewRaster.h"

namespace {

struct V3 {
    float x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Norm(V3 a) {
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? a * (1 / l) : a;
}

V3 TransformPoint(V3 p, const CMatrix& m) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}
V3 TransformVector(V3 p, const CMatrix& m) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0), p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2)};
}
CMatrix Multiply(const CMatrix& a, const CMatrix& b) {
    CMatrix out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float s = 0;
            for (int k = 0; k < 4; ++k)
                s += a(r, k) * b(k, c);
            out(r, c) = s;
        }
    return out;
}
CMatrix Scaled(const CMatrix& a, float k) {
    CMatrix out = a;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out(r, c) *= k;
    return out;
}
CMatrix Added(const CMatrix& a, const CMatrix& b) {
    CMatrix out = a;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out(r, c) += b(r, c);
    return out;
}

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

} // namespace

struct CScenePreview::Impl {
    struct Node {
        std::string name;
        int kind = RT_TRANSFORM;
        TransformRecord channels;
        CMatrix offset; // bones: the bind matrix
        int parent = -1;
        std::vector<int> children;
    };
    struct Material {
        ShaderRecord record;
        const CPaintImage* image = nullptr;
        bool clamp = false;
    };
    std::vector<std::unique_ptr<std::vector<uint8_t>>> streams;
    std::vector<Node> nodes;
    std::map<std::string, int> transforms, bones, shapes;
    std::map<std::string, TextureRecord> textures;
    std::map<std::string, Material> materials;
    std::map<std::string, GeometryRecord> geometries;
    std::map<std::string, ShapeRecord> shapeRecords;
    std::map<std::string, const CPaintImage*> images;

    int FindNode(const std::string& name) const {
        auto t = transforms.find(name);
        if (t != transforms.end())
            return t->second;
        auto b = bones.find(name);
        return b != bones.end() ? b->second : -1;
    }
    CMatrix World(int index) const {
        CMatrix local;
        ComputeRestMatrix(nodes[size_t(index)].channels, local);
        int parent = nodes[size_t(index)].parent;
        return parent < 0 ? local : Multiply(local, World(parent));
    }
    bool Visible(int index) const {
        for (int i = index; i >= 0; i = nodes[size_t(i)].parent)
            if (nodes[size_t(i)].kind != RT_SHAPE && nodes[size_t(i)].channels.visible == 0)
                return false;
        return true;
    }
    bool Below(int index, int above) const {
        for (int i = index; i >= 0; i = nodes[size_t(i)].parent)
            if (i == above)
                return true;
        return false;
    }

    // Every drawn vertex of a shape in world space with its normal, and each
    // triangle list, through the callback.
    void ForEachShape(int only,
                      const std::function<void(const Material&, const GeometryRecord&, const std::vector<V3>&,
                                               const std::vector<V3>&, const std::vector<float>&)>& draw) const {
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Node& node = nodes[i];
            if (node.kind != RT_SHAPE || !Visible(int(i)) || (only >= 0 && !Below(int(i), only)))
                continue;
            auto shape = shapeRecords.find(node.name);
            if (shape == shapeRecords.end())
                continue;
            CMatrix world = node.parent >= 0 ? World(node.parent) : CMatrix();
            for (const ShapePair& pair : shape->second.pairs) {
                auto mat = materials.find(pair.shaderName);
                auto geo = geometries.find(pair.geometryName);
                if (mat == materials.end() || geo == geometries.end() || geo->second.groups.empty())
                    continue;
                const GeometryRecord& g = geo->second;
                const Material& m = mat->second;
                uint32_t f = g.vertexFormat;
                size_t stride = GetVertexSize(f);
                auto offsetOf = [&](int bit) {
                    size_t o = 0;
                    for (int b = 0; b < bit; ++b)
                        if (f & (1u << b))
                            o += b <= 3 ? 12 : b <= 5 ? 16 : b <= 9 ? 4 : b == 10 ? 16 : 8;
                    return o;
                };
                int weights = 0;
                for (int b = VE_WEIGHT_0; b <= VE_WEIGHT_3; ++b)
                    weights += (f >> b) & 1;
                bool skinned = weights > 0 && (f & (1u << VE_WEIGHT_INDICES));
                std::vector<CMatrix> palette;
                if (skinned)
                    for (const std::string& bone : m.record.boneNames) {
                        auto b = bones.find(bone);
                        palette.push_back(
                            b == bones.end() ? CMatrix() : Multiply(nodes[size_t(b->second)].offset, World(b->second)));
                    }
                std::vector<V3> positions(size_t(g.vertexCount)), normals(size_t(g.vertexCount));
                std::vector<float> extra(size_t(g.vertexCount) * 6, 1.0f); // u, v, colour rgb, spare
                for (int v = 0; v < g.vertexCount; ++v) {
                    const uint8_t* p = g.vertices + stride * size_t(v);
                    V3 pos{ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)};
                    V3 n{0, 1, 0};
                    if (f & (1u << VE_NORMAL)) {
                        size_t o = offsetOf(VE_NORMAL);
                        n = {ReadFloat(p + o), ReadFloat(p + o + 4), ReadFloat(p + o + 8)};
                    }
                    CMatrix to = world;
                    if (skinned) {
                        CMatrix sum;
                        for (int r = 0; r < 4; ++r)
                            for (int c = 0; c < 4; ++c)
                                sum(r, c) = 0;
                        size_t io = offsetOf(VE_WEIGHT_INDICES);
                        float total = 0;
                        for (int k = 0; k < 4; ++k) {
                            float w;
                            if (k < weights)
                                w = ReadFloat(p + offsetOf(VE_WEIGHT_0 + k));
                            else
                                w = 0;
                            if (k == weights && weights < 4)
                                w = 1 - total;
                            total += w;
                            int index = int(std::lround(ReadFloat(p + io + 4 * size_t(k)) / 3));
                            if (w != 0 && index >= 0 && size_t(index) < palette.size())
                                sum = Added(sum, Scaled(palette[size_t(index)], w));
                        }
                        to = sum;
                    }
                    positions[size_t(v)] = TransformPoint(pos, to);
                    normals[size_t(v)] = Norm(TransformVector(n, to));
                    float* e = &extra[size_t(v) * 6];
                    if (f & (1u << VE_TEXCOORDINATE_0)) {
                        size_t o = offsetOf(VE_TEXCOORDINATE_0);
                        e[0] = ReadFloat(p + o);
                        e[1] = ReadFloat(p + o + 4);
                    }
                    if (f & (1u << VE_COLOR_0)) {
                        size_t o = offsetOf(VE_COLOR_0);
                        e[2] = ReadFloat(p + o);
                        e[3] = ReadFloat(p + o + 4);
                        e[4] = ReadFloat(p + o + 8);
                    }
                }
                draw(m, g, positions, normals, extra);
            }
        }
    }
};

CScenePreview::CScenePreview() : m(new Impl) {}
CScenePreview::~CScenePreview() = default;

void CScenePreview::AddImage(const std::string& fileName, const CPaintImage* image) { m->images[fileName] = image; }

bool CScenePreview::AddModel(const std::vector<uint8_t>& input, std::string& error) {
    m->streams.push_back(std::make_unique<std::vector<uint8_t>>(input));
    const std::vector<uint8_t>& bytes = *m->streams.back();
    for (size_t at = 0; at + 8 <= bytes.size();) {
        uint32_t type, size;
        std::memcpy(&type, &bytes[at], 4);
        std::memcpy(&size, &bytes[at + 4], 4);
        if (size < 8 || size > bytes.size() - at) {
            error = "broken chunk at " + std::to_string(at);
            return false;
        }
        const uint8_t* record = &bytes[at + 8];
        size_t length = size - 8;
        at += size;
        RecordResult result = RR_ACCEPTED;
        switch (type) {
        case RT_TEXTURE: {
            TextureRecord t;
            if ((result = ReadTextureRecord(record, length, t)) == RR_ACCEPTED)
                m->textures[t.name] = t;
            break;
        }
        case RT_SHADER: {
            Impl::Material mat;
            if ((result = ReadShaderRecord(record, length, mat.record)) == RR_ACCEPTED) {
                auto t = m->textures.find(mat.record.textureName);
                if (t != m->textures.end()) {
                    auto image = m->images.find(t->second.fileName);
                    mat.image = image != m->images.end() ? image->second : nullptr;
                    mat.clamp = t->second.addressV == TAM_CLAMP;
                }
                m->materials[mat.record.name] = mat;
            }
            break;
        }
        case RT_GEOMETRY: {
            GeometryRecord g;
            if ((result = ReadGeometryRecord(record, length, g)) == RR_ACCEPTED)
                m->geometries[g.name] = g;
            break;
        }
        case RT_SHAPE: {
            ShapeRecord s;
            if ((result = ReadShapeRecord(record, length, s)) == RR_ACCEPTED)
                m->shapeRecords[s.name] = s;
            break;
        }
        case RT_TRANSFORM:
        case RT_BONE: {
            Impl::Node node;
            node.kind = int(type);
            if (type == RT_TRANSFORM) {
                result = ReadTransformRecord(record, length, node.channels);
            } else {
                BoneRecord b;
                result = ReadBoneRecord(record, length, b);
                node.channels = b.transform;
                for (int c = 0; c < 3; ++c)
                    for (int r = 0; r < 4; ++r)
                        node.offset(r, c) = b.offset[c][r];
                node.offset(0, 3) = node.offset(1, 3) = node.offset(2, 3) = 0;
                node.offset(3, 3) = 1;
            }
            if (result == RR_ACCEPTED) {
                node.name = node.channels.name;
                m->nodes.push_back(node);
                (type == RT_TRANSFORM ? m->transforms : m->bones)[node.name] = int(m->nodes.size()) - 1;
            }
            break;
        }
        case RT_HIERARCHY: {
            HierarchyRecord h;
            if ((result = ReadHierarchyRecord(record, length, h)) != RR_ACCEPTED)
                break;
            std::vector<int> placed(h.nodes.size(), -1);
            for (size_t i = 0; i < h.nodes.size(); ++i) {
                const HierarchyNode& hn = h.nodes[i];
                int index = -1;
                if (hn.kind == RT_SHAPE) {
                    Impl::Node leaf;
                    leaf.name = hn.name;
                    leaf.kind = RT_SHAPE;
                    m->nodes.push_back(leaf);
                    index = int(m->nodes.size()) - 1;
                } else {
                    auto& map = hn.kind == RT_BONE ? m->bones : m->transforms;
                    auto found = map.find(hn.name);
                    index = found != map.end() ? found->second : -1;
                }
                if (index < 0) {
                    error = "hierarchy names a missing node " + hn.name;
                    return false;
                }
                placed[i] = index;
                if (hn.parent >= 0 && placed[size_t(hn.parent)] >= 0) {
                    int parent = placed[size_t(hn.parent)];
                    m->nodes[size_t(index)].parent = parent;
                    m->nodes[size_t(parent)].children.push_back(index);
                }
            }
            break;
        }
        default: break;
        }
        if (result != RR_ACCEPTED && result != RR_EMPTY) {
            error = "refused record of type " + std::to_string(type);
            return false;
        }
    }
    return true;
}

bool CScenePreview::HasNode(const std::string& node) const { return m->FindNode(node) >= 0; }

bool CScenePreview::SetChannel(const std::string& node, int channel, float value) {
    int index = m->FindNode(node);
    if (index < 0 || channel < 0 || channel > 9)
        return false;
    TransformRecord& t = m->nodes[size_t(index)].channels;
    if (channel < 3)
        t.translation[channel] = value;
    else if (channel < 6)
        t.rotation[channel - 3] = value;
    else if (channel < 9)
        t.scale[channel - 6] = value;
    else
        t.visible = value > 0 ? 1 : 0;
    return true;
}

bool CScenePreview::GetChannel(const std::string& node, int channel, float& value) const {
    int index = m->FindNode(node);
    if (index < 0 || channel < 0 || channel > 9)
        return false;
    const TransformRecord& t = m->nodes[size_t(index)].channels;
    value = channel < 3   ? t.translation[channel]
            : channel < 6 ? t.rotation[channel - 3]
            : channel < 9 ? t.scale[channel - 6]
                          : float(t.visible);
    return true;
}

bool CScenePreview::WorldPosition(const std::string& node, float out[3]) const {
    int index = m->FindNode(node);
    if (index < 0)
        return false;
    CMatrix w = m->World(index);
    out[0] = w(3, 0), out[1] = w(3, 1), out[2] = w(3, 2);
    return true;
}

bool CScenePreview::Bounds(const std::string& node, float centre[3], float& radius) const {
    int index = m->FindNode(node);
    if (index < 0)
        return false;
    V3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    std::vector<V3> all;
    m->ForEachShape(index, [&](const Impl::Material&, const GeometryRecord&, const std::vector<V3>& p,
                               const std::vector<V3>&, const std::vector<float>&) {
        for (const V3& v : p) {
            lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
            hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
            all.push_back(v);
        }
    });
    if (all.empty())
        return false;
    V3 c = (lo + hi) * 0.5f;
    float r = 0;
    for (const V3& v : all)
        r = std::max(r, std::sqrt(Dot(v - c, v - c)));
    centre[0] = c.x, centre[1] = c.y, centre[2] = c.z;
    radius = r;
    return true;
}

PreviewPicture CScenePreview::Render(const PreviewCamera& camera, int width, int height,
                                     const std::string& only) const {
    CPreviewRaster raster(width, height, camera.fovY, m_background);
    V3 eye{camera.eye[0], camera.eye[1], camera.eye[2]}, target{camera.target[0], camera.target[1], camera.target[2]};
    V3 back = Norm(eye - target);
    V3 right = Norm(Cross({0, 1, 0}, back));
    V3 up = Cross(back, right);
    const V3 lamp{0, 300, 0};
    int onlyIndex = only.empty() ? -1 : m->FindNode(only);
    if (!only.empty() && onlyIndex < 0)
        onlyIndex = int(m->nodes.size());

    for (int pass = 0; pass < 2; ++pass)
        m->ForEachShape(onlyIndex, [&](const Impl::Material& mat, const GeometryRecord& g, const std::vector<V3>& p,
                                       const std::vector<V3>& n, const std::vector<float>& e) {
            float alpha = mat.record.colour[3];
            bool translucent = alpha < 1;
            if ((pass == 1) != translucent)
                return;
            std::vector<RasterVertex> vs(p.size());
            for (size_t i = 0; i < p.size(); ++i) {
                V3 rel = p[i] - eye;
                vs[i].view[0] = Dot(rel, right);
                vs[i].view[1] = Dot(rel, up);
                vs[i].view[2] = Dot(rel, back);
                vs[i].u = e[i * 6];
                vs[i].v = e[i * 6 + 1];
                float light = 1;
                if (mat.record.shaderType != ST_CONSTANT) {
                    V3 toLamp = lamp - p[i];
                    float dist = std::sqrt(Dot(toLamp, toLamp));
                    float lambert = std::max(0.0f, (Dot(n[i], toLamp * (1 / dist)) + 0.3f) / 1.3f);
                    light = 0.42f + 0.7f * lambert * std::min(1.0f, 420.0f / dist);
                }
                const V3 colour = V3{e[i * 6 + 2] * mat.record.colour[0], e[i * 6 + 3] * mat.record.colour[1],
                                     e[i * 6 + 4] * mat.record.colour[2]} *
                                  light;
                vs[i].colour[0] = colour.x, vs[i].colour[1] = colour.y, vs[i].colour[2] = colour.z;
            }
            const RasterTexture texture{mat.image, mat.clamp, mat.clamp};
            const GeometryIndexGroup& group = g.groups[0];
            for (int i = 0; i + 2 < group.indexCount; i += 3) {
                uint16_t a = group.Index(i), b = group.Index(i + 1), c = group.Index(i + 2);
                if (a >= vs.size() || b >= vs.size() || c >= vs.size())
                    continue;
                const RasterVertex in[3] = {vs[a], vs[b], vs[c]};
                raster.DrawTriangle(in, texture, g.doubleSided != 0, translucent ? alpha : 1.0f);
            }
        });

    PreviewPicture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb = raster.ToRgb();
    return picture;
}
