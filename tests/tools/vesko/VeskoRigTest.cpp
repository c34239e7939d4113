#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "tools/vesko/VeskoRig.h"

namespace {

float Length(const float v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(VeskoRig, NamesAreUniqueAndParentsComeFirst) {
    std::set<std::string> seen;
    for (const VeskoRigNode& node : VeskoRigNodes()) {
        SCOPED_TRACE(node.name);
        EXPECT_TRUE(seen.insert(node.name).second);
        if (*node.parent) {
            EXPECT_TRUE(seen.count(node.parent));
            const VeskoRigNode* parent = FindVeskoRigNode(node.parent);
            ASSERT_NE(parent, nullptr);
            // Bones hang only under bones or the root; the root is no bone.
            if (node.kind == VESKO_BONE) {
                EXPECT_TRUE(parent->kind == VESKO_BONE || std::string(parent->name) == VeskoNames::ROOT);
            }
        } else {
            EXPECT_EQ(std::string(node.name), VeskoNames::TOP);
        }
    }
    EXPECT_EQ(FindVeskoRigNode("nothing"), nullptr);
}

TEST(VeskoRig, HoldsTheNamesTheProgramLooksUp) {
    struct Case {
        const char* name;
        VeskoNodeKind kind;
        const char* parent; // null: any
    };
    const Case cases[] = {
        {"vesko2002", VESKO_TRANSFORM, ""},
        {"veskoRoot", VESKO_TRANSFORM, "vesko2002"},
        {"koshi", VESKO_BONE, nullptr},
        {"legL1", VESKO_BONE, "koshi"},
        {"legR1", VESKO_BONE, "koshi"},
        {"head", VESKO_BONE, nullptr},
        {"vesko2003E", VESKO_TRANSFORM, "vesko2002"},
        {"maruKage", VESKO_TRANSFORM, "vesko2002"},
        {"veskoHandlingC", VESKO_TRANSFORM, nullptr},
        {"veskoHandlingR", VESKO_TRANSFORM, nullptr},
        {"veskoHandlingL", VESKO_TRANSFORM, nullptr},
        {"osageBexlaR", VESKO_TRANSFORM, "osageBexla"},
        {"osageBexlaL", VESKO_TRANSFORM, "osageBexla"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VeskoRigNode* node = FindVeskoRigNode(c.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->kind, c.kind);
        if (c.parent) {
            EXPECT_STREQ(node->parent, c.parent);
        }
    }
    // The chain from "koshi" climbs to the top through the root.
    const VeskoRigNode* n = FindVeskoRigNode("koshi");
    bool passedRoot = false;
    while (n && *n->parent) {
        passedRoot |= std::string(n->name) == VeskoNames::ROOT;
        n = FindVeskoRigNode(n->parent);
    }
    ASSERT_NE(n, nullptr);
    EXPECT_STREQ(n->name, "vesko2002");
    EXPECT_TRUE(passedRoot);

    const char* accessories[] = {
        "cap_Mugiwara",  "cap_Nurse",      "cap_Maid",      "capBexlaPapa",    "shampooHat",   "capNeneko",
        "capHelmet",     "capAlian",       "osageSpin",     "capSummer",       "capAoringo",   "capGreenBeret",
        "capAntena",     "capWitch",       "capAkazukin",   "capRibbonDeFron", "capKosmos",    "kitarou",
        "mimi_nekoMimi", "mimi_kumaMimi",  "mimi_usaMimi",  "mimiAsuka",       "multiSensor2", "osageBexla",
        "mimiSaru",      "mimiRei",        "mimiMomo",      "glass_kurobuchi", "glassStar",    "sippo_neko",
        "sippoSaru",     "henshinBelt",    "angelWing",     "angelRing",       "osageEtona",   "etonaWing",
        "etonaKubiwa",   "etonaBraceletR", "etonaBraceletL"};
    EXPECT_EQ(std::size(accessories), 39u);
    for (const char* name : accessories) {
        SCOPED_TRACE(name);
        const VeskoRigNode* node = FindVeskoRigNode(name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->kind, VESKO_TRANSFORM);
        EXPECT_EQ(node->role, VR_ACCESSORY);
        // Under the root, so that it scales with her.
        float p[3];
        EXPECT_TRUE(VeskoRestPosition(name, p));
        const VeskoRigNode* up = node;
        while (up && std::string(up->name) != VeskoNames::ROOT)
            up = *up->parent ? FindVeskoRigNode(up->parent) : nullptr;
        EXPECT_NE(up, nullptr);
    }
}

TEST(VeskoRig, HairStrandsHangStraightFromTheHead) {
    const std::vector<std::string>& hair = VeskoHairBones();
    ASSERT_EQ(hair.size(), 16u);
    for (const std::string& name : hair) {
        SCOPED_TRACE(name);
        const VeskoRigNode* node = FindVeskoRigNode(name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->kind, VESKO_BONE);
        EXPECT_EQ(node->role, VR_HAIR);
        const std::string parent = node->parent;
        const bool end = name.back() == 'e';
        const bool middle = name.back() == 'm';
        if (!end && !middle) {
            EXPECT_EQ(parent, "head");
        } else {
            // A child goes on downwards; the side lock's end continues its middle bone's line.
            EXPECT_LT(node->translation[1], -0.3f);
            const VeskoRigNode* up = FindVeskoRigNode(parent);
            ASSERT_NE(up, nullptr);
            if (parent.back() == 'm') {
                float dot = 0;
                for (int k = 0; k < 3; ++k)
                    dot += node->translation[k] * up->translation[k];
                EXPECT_NEAR(dot / (Length(node->translation) * Length(up->translation)), 1.0f, 1e-5f);
            }
        }
    }
}

TEST(VeskoRig, StandsOnTheFloorAtHerHeight) {
    float head[3], hip[3], knee[3], ankle[3], toe[3], thigh[3], hand[3];
    ASSERT_TRUE(VeskoRestPosition("head", head));
    ASSERT_TRUE(VeskoRestPosition("koshi", hip));
    ASSERT_TRUE(VeskoRestPosition("legL1", thigh));
    ASSERT_TRUE(VeskoRestPosition("legL2", knee));
    ASSERT_TRUE(VeskoRestPosition("legL3", ankle));
    ASSERT_TRUE(VeskoRestPosition("legL4", toe));
    ASSERT_TRUE(VeskoRestPosition("veskoHandlingL", hand));
    // The program's leg capsules run three units down from the thighs.
    EXPECT_NEAR(thigh[1], 3.0f, 0.15f);
    EXPECT_GT(thigh[0], 0.0f); // her left is +x
    EXPECT_GT(ankle[1], 0.05f);
    EXPECT_LT(ankle[1], 0.3f);
    EXPECT_GT(toe[2], ankle[2]); // feet point forward (+z)
    EXPECT_GT(head[1], hip[1] + 1.5f);
    EXPECT_LT(head[1], VESKO_MODEL_HEIGHT - 0.8f);
    EXPECT_LT(hand[1], hip[1]);
    EXPECT_NEAR(VESKO_MODEL_HEIGHT * VESKO_ROOT_SCALE, 100.0f, 1.0f);
    // Carry points undo the root's scale.
    for (const char* anchor : {"veskoHandlingC", "veskoHandlingR", "veskoHandlingL"}) {
        const VeskoRigNode* node = FindVeskoRigNode(anchor);
        ASSERT_NE(node, nullptr);
        for (float s : node->scale)
            EXPECT_NEAR(s * VESKO_ROOT_SCALE, 1.0f, 1e-5f);
    }
}

} // namespace
