#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/anim/ChangeStamp.h"
#include "engine/anim/Channel.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/resource/ResourceKind.h"
#include "engine/scene/Node.h"

// An inner node of the scene: its local matrix comes from nine animatable
// channels (translation, rotation in radians, scale) and it has a tenth for
// visibility. The local matrix is rebuilt only when a channel was written since
// the last build (a set matrix holds until a write in a later frame), the world
// matrix at most once per frame.
// Children are held by node handle in attach order and are not owned.
class CTransform : public CNode, public CChangeStamp {
public:
    enum ChannelSlot {
        TC_TRANSLATION_X = 0,
        TC_TRANSLATION_Y,
        TC_TRANSLATION_Z,
        TC_ROTATION_X,
        TC_ROTATION_Y,
        TC_ROTATION_Z,
        TC_SCALE_X,
        TC_SCALE_Y,
        TC_SCALE_Z,
        TC_VISIBLE,
        TC_COUNT,
    };

    // Attaches itself under the default parent when that resolves.
    CTransform(const char* name, int kind = RT_TRANSFORM);
    ~CTransform() override;

    CHandle GetChannel(int attribute) override;
    // Marks the channels written, then stamps the frame.
    void Touch() override;

    // Moves the child here from wherever it hung. Refused (false) for a null
    // child, the transform itself or one of its ancestors: a cycle would hang
    // every walk of the tree.
    bool AddChild(CNode* child);
    void RemoveChild(CNode* child);
    const std::vector<CHandle>& GetChildren() const { return m_children; }

    void Render() override;
    // Only when visible is not exactly 0: this node, then each child's tree.
    void RenderTree() override;
    // A deep copy named with the scope appended, starting under the source's
    // parent; the caller moves it where it belongs.
    CTransform* Clone(const std::string& scope) override;
    void Print(std::ostream& out, int depth) override;

    void ComputeLocalMatrix(CMatrix& out) const;
    const CMatrix& GetLocalMatrix();
    // Holds until a channel write in a later frame.
    void SetLocalMatrix(const CMatrix& matrix);
    // local × parent world; a node without a parent answers its local matrix.
    const CMatrix& GetWorldMatrix();

    // Stores the light set in every shape of the subtree.
    void SetLightSetTree(CHandle lightSet);
    // In the parent's space; radius -2 when nothing is bounded, -1 (centre 0)
    // when something is unbounded.
    void ComputeBoundingSphere(Vec3& centre, float& radius);

    float GetChannelValue(int slot) const;
    // A direct write; a matrix channel touches the change stamp like an
    // animator write, the visible channel does not.
    void SetChannelValue(int slot, float value);
    void SetTranslation(float x, float y, float z);
    void SetRotation(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetVisible(float visible);

    CHandle GetTransformHandle() const { return m_transformHandle; }
    int32_t GetLocalStamp() const { return m_localStamp; }
    int32_t GetWorldStamp() const { return m_worldStamp; }

protected:
    CTransform(const CTransform& source, const std::string& scope);
    // Clones the source's children under this transform.
    void CloneChildren(const CTransform& source, const std::string& scope);

private:
    CHandle m_transformHandle;
    std::vector<CHandle> m_children;
    CChannel m_channels[TC_COUNT];
    CMatrix m_local;
    int32_t m_localStamp;
    CMatrix m_world;
    int32_t m_worldStamp;
    // A channel write since the local matrix was last built or set.
    bool m_channelsWritten;
    // The local matrix came from SetLocalMatrix, not from the channels.
    bool m_localWasSet;
};

HandleTable<CTransform>& TransformHandles();

// The most levels a tree may reach through the model loaders, counted from
// its top (level 1) down to its deepest node. Several hierarchy records can
// stack their trees onto one another; the loaders refuse the link that would
// go past this, so the recursive walks (drawing, cloning, bounds, world
// matrices, light sets) use a small part of the main thread's stack.
constexpr int MAX_SCENE_DEPTH = 1024;

// The root "rootTrans", the default parent new transforms attach under, and
// the count of world-matrix computations (statistics).
constexpr const char* ROOT_TRANSFORM_NAME = "rootTrans";

// Made once by the renderer; it has no parent and becomes the default parent.
CTransform* CreateRootTransform();
CTransform* GetRootTransform();
void SetDefaultParent(CTransform* transform);
// Null when it no longer resolves.
CTransform* GetDefaultParent();
extern int32_t WorldMatrixComputations;
