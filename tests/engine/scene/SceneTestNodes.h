#pragma once
#include <string>
#include <vector>

#include "engine/math/Vec3.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Node.h"
#include "engine/scene/Transform.h"

// A leaf standing in for a shape: it logs its draws and answers a set sphere.
struct ProbeShape : CNode {
    ProbeShape(const char* name, std::vector<std::string>* log = nullptr) : CNode(name, RT_SHAPE), log(log) {}
    ProbeShape(const ProbeShape& source, const std::string& scope)
        : CNode(source, scope),
          log(source.log),
          centre(source.centre),
          radius(source.radius) {}
    void Render() override {
        if (log)
            log->push_back(GetName());
    }
    ProbeShape* Clone(const std::string& scope) override { return new ProbeShape(*this, scope); }
    void SetLightSet(CHandle set) override { lightSet = set; }
    bool GetBoundingSphere(Vec3& c, float& r) const override {
        c = centre;
        r = radius;
        return true;
    }
    std::vector<std::string>* log;
    Vec3 centre;
    float radius = 1.0f;
    CHandle lightSet = NULL_HANDLE;
};

// Its own registry, no default parent, and a known frame.
struct SceneRegistry {
    SceneRegistry() : saved(CurrentResourceManager) {
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
    }
    ~SceneRegistry() {
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
    }
    CResourceManager* saved;
    CResourceManager registry;
};

// The names of a subtree, depth first, indented by level.
inline void CollectNames(CNode* node, std::vector<std::string>& out, int depth = 0) {
    out.push_back(std::string(depth * 2, ' ') + node->GetName());
    if (auto* t = dynamic_cast<CTransform*>(node))
        for (CHandle h : t->GetChildren())
            if (CNode* child = NodeHandles().Resolve(h))
                CollectNames(child, out, depth + 1);
}
