#include "tools/vesko/VeskoRig.h"

namespace {

constexpr float A = VESKO_ANCHOR_SCALE;

#define ONE                                                                                                            \
    { 1, 1, 1 }

// Bones of the right side mirror the left in x.
const std::vector<VeskoRigNode>& Table() {
    static const std::vector<VeskoRigNode> nodes = {
        // name                 parent        kind             role          translation               scale
        {"vesko2002", "", VESKO_TRANSFORM, VR_FRAME, {0, 0, 0}, ONE},
        {"veskoRoot", "vesko2002", VESKO_TRANSFORM, VR_FRAME, {0, 0, 0}, ONE},
        {"koshi", "veskoRoot", VESKO_BONE, VR_BODY, {0, 3.05f, 0}, ONE},
        {"sebone1", "koshi", VESKO_BONE, VR_BODY, {0, 0.28f, 0}, ONE},
        {"sebone2", "sebone1", VESKO_BONE, VR_BODY, {0, 0.52f, 0}, ONE},
        {"kubi", "sebone2", VESKO_BONE, VR_BODY, {0, 0.72f, -0.03f}, ONE},
        {"head", "kubi", VESKO_BONE, VR_BODY, {0, 0.25f, 0.03f}, ONE},
        {"kataL", "sebone2", VESKO_BONE, VR_BODY, {0.10f, 0.55f, -0.03f}, ONE},
        {"udeL1", "kataL", VESKO_BONE, VR_BODY, {0.34f, 0, 0}, ONE},
        {"udeL2", "udeL1", VESKO_BONE, VR_BODY, {0.17f, -0.86f, -0.02f}, ONE},
        {"teL", "udeL2", VESKO_BONE, VR_BODY, {0.10f, -0.78f, 0.06f}, ONE},
        {"kataR", "sebone2", VESKO_BONE, VR_BODY, {-0.10f, 0.55f, -0.03f}, ONE},
        {"udeR1", "kataR", VESKO_BONE, VR_BODY, {-0.34f, 0, 0}, ONE},
        {"udeR2", "udeR1", VESKO_BONE, VR_BODY, {-0.17f, -0.86f, -0.02f}, ONE},
        {"teR", "udeR2", VESKO_BONE, VR_BODY, {-0.10f, -0.78f, 0.06f}, ONE},
        {"legL1", "koshi", VESKO_BONE, VR_BODY, {0.22f, -0.14f, 0}, ONE},
        {"legL2", "legL1", VESKO_BONE, VR_BODY, {0, -1.42f, 0.02f}, ONE},
        {"legL3", "legL2", VESKO_BONE, VR_BODY, {0, -1.31f, -0.04f}, ONE},
        {"legL4", "legL3", VESKO_BONE, VR_BODY, {0, -0.12f, 0.30f}, ONE},
        {"legR1", "koshi", VESKO_BONE, VR_BODY, {-0.22f, -0.14f, 0}, ONE},
        {"legR2", "legR1", VESKO_BONE, VR_BODY, {0, -1.42f, 0.02f}, ONE},
        {"legR3", "legR2", VESKO_BONE, VR_BODY, {0, -1.31f, -0.04f}, ONE},
        {"legR4", "legR3", VESKO_BONE, VR_BODY, {0, -0.12f, 0.30f}, ONE},

        // Swinging hems rest where the hips are.
        {"DynamicsBoneSkirtPink", "koshi", VESKO_BONE, VR_DYNAMICS, {0, 0, 0}, ONE},
        {"DynamicsBoneSkirtBlue", "koshi", VESKO_BONE, VR_DYNAMICS, {0, 0, 0}, ONE},

        // Hair strands: roots on the head, each child straight on from its parent.
        {"hairMomiL", "head", VESKO_BONE, VR_HAIR, {0.44f, 0.42f, 0.18f}, ONE},
        {"hairMomiLm", "hairMomiL", VESKO_BONE, VR_HAIR, {0.04f, -0.42f, 0.02f}, ONE},
        {"hairMomiLe", "hairMomiLm", VESKO_BONE, VR_HAIR, {0.04f, -0.42f, 0.02f}, ONE},
        {"hairMomiR", "head", VESKO_BONE, VR_HAIR, {-0.44f, 0.42f, 0.18f}, ONE},
        {"hairMomiRm", "hairMomiR", VESKO_BONE, VR_HAIR, {-0.04f, -0.42f, 0.02f}, ONE},
        {"hairMomiRe", "hairMomiRm", VESKO_BONE, VR_HAIR, {-0.04f, -0.42f, 0.02f}, ONE},
        {"hairBackLA", "head", VESKO_BONE, VR_HAIR, {0.24f, 0.78f, -0.36f}, ONE},
        {"hairBackLAe", "hairBackLA", VESKO_BONE, VR_HAIR, {0.08f, -0.85f, -0.08f}, ONE},
        {"hairBackRA", "head", VESKO_BONE, VR_HAIR, {-0.24f, 0.78f, -0.36f}, ONE},
        {"hairBackRAe", "hairBackRA", VESKO_BONE, VR_HAIR, {-0.08f, -0.85f, -0.08f}, ONE},
        {"hairBackLB", "head", VESKO_BONE, VR_HAIR, {0.34f, 0.42f, -0.40f}, ONE},
        {"hairBackLBe", "hairBackLB", VESKO_BONE, VR_HAIR, {0.06f, -1.05f, -0.05f}, ONE},
        {"hairBackRB", "head", VESKO_BONE, VR_HAIR, {-0.34f, 0.42f, -0.40f}, ONE},
        {"hairBackRBe", "hairBackRB", VESKO_BONE, VR_HAIR, {-0.06f, -1.05f, -0.05f}, ONE},
        {"hairBackC", "head", VESKO_BONE, VR_HAIR, {0, 0.60f, -0.50f}, ONE},
        {"hairBackCe", "hairBackC", VESKO_BONE, VR_HAIR, {0, -1.30f, -0.05f}, ONE},

        // Carry points: in the right and left palm, and before her chest.
        {"veskoHandlingR", "teR", VESKO_TRANSFORM, VR_ANCHOR, {-0.02f, -0.22f, 0.05f}, {A, A, A}},
        {"veskoHandlingL", "teL", VESKO_TRANSFORM, VR_ANCHOR, {0.02f, -0.22f, 0.05f}, {A, A, A}},
        {"veskoHandlingC", "sebone2", VESKO_TRANSFORM, VR_ANCHOR, {0, 0.15f, 0.60f}, {A, A, A}},

        // Caps and hats sit on the crown.
        {"cap_Mugiwara", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"cap_Nurse", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"cap_Maid", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capBexlaPapa", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"shampooHat", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capNeneko", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capHelmet", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capAlian", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"osageSpin", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capSummer", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capAoringo", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capGreenBeret", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capAntena", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capWitch", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capAkazukin", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capRibbonDeFron", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"capKosmos", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"kitarou", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        // Ears and head pieces.
        {"mimi_nekoMimi", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"mimi_kumaMimi", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"mimi_usaMimi", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"mimiAsuka", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"multiSensor2", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"osageBexla", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.62f, -0.30f}, ONE},
        {"osageBexlaR", "osageBexla", VESKO_TRANSFORM, VR_ACCESSORY, {-0.50f, 0.05f, -0.05f}, ONE},
        {"osageBexlaL", "osageBexla", VESKO_TRANSFORM, VR_ACCESSORY, {0.50f, 0.05f, -0.05f}, ONE},
        {"mimiSaru", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"mimiRei", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        {"mimiMomo", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.92f, 0}, ONE},
        // Glasses at eye height, before the face.
        {"glass_kurobuchi", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.46f, 0.52f}, ONE},
        {"glassStar", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.46f, 0.52f}, ONE},
        // Tails behind the hips; the belt round the waist.
        {"sippo_neko", "koshi", VESKO_TRANSFORM, VR_ACCESSORY, {0, -0.12f, -0.42f}, ONE},
        {"sippoSaru", "koshi", VESKO_TRANSFORM, VR_ACCESSORY, {0, -0.12f, -0.42f}, ONE},
        {"henshinBelt", "koshi", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.12f, 0}, ONE},
        // Wings on the back, the halo above the head, the etona set.
        {"angelWing", "sebone2", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.30f, -0.36f}, ONE},
        {"angelRing", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 1.30f, -0.05f}, ONE},
        {"osageEtona", "head", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.62f, -0.30f}, ONE},
        {"etonaWing", "sebone2", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.30f, -0.36f}, ONE},
        {"etonaKubiwa", "kubi", VESKO_TRANSFORM, VR_ACCESSORY, {0, 0.10f, 0.01f}, ONE},
        {"etonaBraceletR", "teR", VESKO_TRANSFORM, VR_ACCESSORY, {0.01f, 0.08f, 0}, ONE},
        {"etonaBraceletL", "teL", VESKO_TRANSFORM, VR_ACCESSORY, {-0.01f, 0.08f, 0}, ONE},

        // Model transforms: the body meshes, the head's meshes (face and
        // hair, worn with every body) and the shadow (placed by the program
        // in room units, so not under the root).
        {"vesko2003E", "vesko2002", VESKO_TRANSFORM, VR_FRAME, {0, 0, 0}, ONE},
        {"veskoKao", "vesko2002", VESKO_TRANSFORM, VR_FRAME, {0, 0, 0}, ONE},
        {"maruKage", "vesko2002", VESKO_TRANSFORM, VR_FRAME, {0, 1.0f, 0}, ONE},
    };
    return nodes;
}

#undef ONE

} // namespace

const std::vector<VeskoRigNode>& VeskoRigNodes() { return Table(); }

const VeskoRigNode* FindVeskoRigNode(const std::string& name) {
    for (const VeskoRigNode& node : Table())
        if (name == node.name)
            return &node;
    return nullptr;
}

bool VeskoRestPosition(const std::string& name, float out[3]) {
    const VeskoRigNode* node = FindVeskoRigNode(name);
    if (!node)
        return false;
    float p[3] = {0, 0, 0};
    // Rest rotations are zero; a scaled node scales what lies below it.
    std::vector<const VeskoRigNode*> chain;
    for (const VeskoRigNode* n = node; n; n = *n->parent ? FindVeskoRigNode(n->parent) : nullptr)
        chain.push_back(n);
    for (size_t i = chain.size(); i-- > 0;) {
        float s[3] = {1, 1, 1};
        for (size_t j = chain.size(); j-- > i + 1;)
            for (int k = 0; k < 3; ++k)
                s[k] *= chain[j]->scale[k];
        for (int k = 0; k < 3; ++k)
            p[k] += chain[i]->translation[k] * s[k];
    }
    for (int k = 0; k < 3; ++k)
        out[k] = p[k];
    return true;
}

const std::vector<std::string>& VeskoHairBones() {
    static const std::vector<std::string> names = {"hairMomiL",  "hairMomiLm",  "hairMomiLe", "hairMomiR",
                                                   "hairMomiRm", "hairMomiRe",  "hairBackLA", "hairBackLAe",
                                                   "hairBackRA", "hairBackRAe", "hairBackLB", "hairBackLBe",
                                                   "hairBackRB", "hairBackRBe", "hairBackC",  "hairBackCe"};
    return names;
}

const std::vector<std::string>& VeskoBodyBones() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const VeskoRigNode& node : Table())
            if (node.role == VR_BODY)
                out.push_back(node.name);
        return out;
    }();
    return names;
}
