#pragma once
#include <string>
#include <vector>

#include "engine/resource/Handle.h"
#include "engine/scene/Node.h"

class CShader;
class CGeometry;

// The scene node that draws geometry: pairs of (shader, geometry), lit by
// one light set. While a draw list walks a tree a shape queues itself
// (first update of a frame only) and runs its shaders' skin updates; the draw
// list later calls its opaque and translucent passes with the world matrix
// already set.
class CShape : public CNode {
public:
    struct Pair {
        CHandle shader;
        CHandle geometry;
    };

    explicit CShape(const char* name);
    ~CShape() override;

    void AddPair(CShader* shader, CGeometry* geometry);
    int GetPairCount() const { return (int)m_pairs.size(); }
    // Resolved through the handles; null when gone.
    CShader* GetPairShader(int i) const;
    CGeometry* GetPairGeometry(int i) const;
    // A pair draws in the translucent pass when its geometry is marked
    // translucent or its shader says so.
    bool IsPairTranslucent(int i) const;

    void Render() override;
    CShape* Clone(const std::string& scope) override;
    void SetLightSet(CHandle lightSet) override;
    bool GetBoundingSphere(Vec3& centre, float& radius) const override;

    void DrawOpaque();
    void DrawTranslucent();

    CHandle GetShapeHandle() const { return m_shapeHandle; }
    CHandle GetLightSet() const { return m_lightSet; }

    bool IsBillboard() const { return m_billboard; }
    void SetBillboard(bool billboard) { m_billboard = billboard; }
    float GetBillboardRotation() const { return m_billboardRotation; }
    void SetBillboardRotation(float radians) { m_billboardRotation = radians; }
    float GetBillboardScale() const { return m_billboardScale; }
    void SetBillboardScale(float scale) { m_billboardScale = scale; }

protected:
    CShape(const CShape& source, const std::string& scope);

private:
    void DrawPass(bool translucent);

    CHandle m_shapeHandle;
    CHandle m_lightSet;
    std::vector<Pair> m_pairs;
    bool m_billboard;
    float m_billboardRotation;
    float m_billboardScale;
};

HandleTable<CShape>& ShapeHandles();
