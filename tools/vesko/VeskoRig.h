#pragma once
#include <string>
#include <vector>

// Vesko's rig: every transform and bone of "vesko2002" in "vesko.hgm" with
// its parent and rest channels. The body meshes, the clothes and the motions
// are all authored against this one table.
//
// Units are model units: "veskoRoot" is scaled to VESKO_ROOT_SCALE by the
// program, so she stands VESKO_MODEL_HEIGHT units (about 100 room units)
// tall, her soles on y = 0, facing +Z, her left on +X. Every bone's rest
// rotation is zero, so each bone's axes are those of the model and a bone's
// rest translation is its offset from its parent; motions turn bones about
// these axes. The rig's file keeps "veskoRoot" at scale 1; meshes are bound
// in these units.

constexpr float VESKO_ROOT_SCALE = 16.66f;
constexpr float VESKO_MODEL_HEIGHT = 6.0f;
// Hand anchors undo the root's scale, so that a carried good keeps its size.
constexpr float VESKO_ANCHOR_SCALE = 1.0f / VESKO_ROOT_SCALE;

// Names the program and the motions look up.
namespace VeskoNames {
constexpr const char* TOP = "vesko2002";
constexpr const char* ROOT = "veskoRoot";
constexpr const char* HIPS = "koshi";
constexpr const char* HEAD = "head";
constexpr const char* BODY_0 = "vesko2003E";
constexpr const char* BODY_1 = "vesko2003ENagasode";
constexpr const char* SHADOW = "maruKage";
constexpr const char* HEAD_PARTS = "veskoKao";
constexpr const char* HAND_CENTRE = "veskoHandlingC";
constexpr const char* HAND_RIGHT = "veskoHandlingR";
constexpr const char* HAND_LEFT = "veskoHandlingL";
// The face: one animated texture resource whose frame (AA_FRAME_EXTENSION,
// 1 to VESKO_FACE_FRAMES) picks the expression.
constexpr const char* FACE_TEXTURE = "vesko_face";
constexpr const char* FACE_FILE = "vesko_face.tga";
// Swinging skirt hems follow these bones (under "koshi").
constexpr const char* SKIRT_PINK_BONE = "DynamicsBoneSkirtPink";
constexpr const char* SKIRT_BLUE_BONE = "DynamicsBoneSkirtBlue";
} // namespace VeskoNames

// Face frames, in order: 1 neutral, 2 eyes closed, 3 smiling, 4 surprised,
// 5 sleepy, 6 eating, 7 sad, 8 angry, 9 talking, 10 winking, 11 troubled,
// 12 asleep.
constexpr int VESKO_FACE_FRAMES = 12;
enum VeskoFace {
    VF_NEUTRAL = 1,
    VF_CLOSED,
    VF_SMILE,
    VF_SURPRISED,
    VF_SLEEPY,
    VF_EATING,
    VF_SAD,
    VF_ANGRY,
    VF_TALKING,
    VF_WINK,
    VF_TROUBLED,
    VF_ASLEEP,
};

enum VeskoNodeKind {
    VESKO_BONE,      // a bone chunk (looked up as RT_BONE)
    VESKO_TRANSFORM, // a transform chunk (RT_TRANSFORM)
};

// Groups of nodes, for the builders and the motions.
enum VeskoNodeRole {
    VR_FRAME,     // the top, the root and the model transforms
    VR_BODY,      // bones that the body meshes follow
    VR_HAIR,      // hair strand bones (identity rest rotation, roots under "head")
    VR_DYNAMICS,  // bones that swinging cloth is bound to (never keyed)
    VR_ANCHOR,    // hand and centre carry anchors
    VR_ACCESSORY, // accessory transforms (shown when worn)
};

struct VeskoRigNode {
    const char* name;
    const char* parent; // "" for the top
    VeskoNodeKind kind;
    VeskoNodeRole role;
    float translation[3]; // rest offset from the parent, model units
    float scale[3];
};

// The whole rig, parents before children.
const std::vector<VeskoRigNode>& VeskoRigNodes();
// The node of that name, or null.
const VeskoRigNode* FindVeskoRigNode(const std::string& name);
// The rest position of a node in the rig's space (under "vesko2002", with
// "veskoRoot" at scale 1; anchor scales do not move their children's origin
// by more than their own offsets, which the table keeps zero below them).
bool VeskoRestPosition(const std::string& name, float out[3]);

// The sixteen hair bones in strand order (three-bone side locks first).
const std::vector<std::string>& VeskoHairBones();
// The bones of her body skeleton below "koshi" and "koshi" itself.
const std::vector<std::string>& VeskoBodyBones();
