#include <gtest/gtest.h>

#include <sstream>

#include "engine/scene/Bone.h"
#include "engine/scene/ModelInstanceNode.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

// A loaded model "<name>": top transform, one bone, one shape under the bone.
CTransform* MakeModel(const std::string& name) {
    auto* top = new CTransform(name.c_str());
    auto* bone = new CBone((name + "Bone").c_str());
    auto* shape = new ProbeShape((name + "Mesh").c_str());
    top->AddChild(bone);
    bone->AddChild(shape);
    return top;
}

int Registered(const std::string& name) {
    auto range = ConsoleObjectRegistry().equal_range(name);
    return (int)std::distance(range.first, range.second);
}

} // namespace

TEST(ModelInstanceNodeTest, NamesCarryTheScopeLast) {
    SceneRegistry r;
    CTransform* scene = CreateRootTransform();
    {
        CModelInstanceNode room("room", "");
        EXPECT_EQ(room.GetName(), "room");
        ASSERT_NE(room.GetRoot(), nullptr);
        EXPECT_EQ(room.GetRoot()->GetName(), "room_root");
        EXPECT_EQ(room.GetRoot()->GetParent(), scene);

        CModelInstanceNode body("body", "::the");
        EXPECT_EQ(body.GetName(), "body::the");
        EXPECT_EQ(body.GetRoot()->GetName(), "body_root::the");
        EXPECT_EQ(Registered("body::the"), 1);

        std::ostringstream out;
        SelectedObjectName() = "";
        EXPECT_TRUE(body.HandleCommand(out, "select", {}));
        EXPECT_EQ(SelectedObjectName(), "body::the");
        EXPECT_FALSE(body.HandleCommand(out, "print", {}));
        EXPECT_TRUE(room.GetRoot()->GetChildren().empty());
    }
    EXPECT_EQ(Registered("body::the"), 0);
    EXPECT_EQ(CurrentResourceManager->Find("body_root::the", RT_TRANSFORM), nullptr);
    EXPECT_EQ(scene->GetChildren().size(), 0u);
}

TEST(ModelInstanceNodeTest, AttachModelWithAndWithoutItsModel) {
    SceneRegistry r;
    MakeModel("chair");
    CModelInstanceNode chair("chair", "chair", RT_TRANSFORM, "::a");
    CModelInstanceNode other("chair2", "chair", RT_TRANSFORM, "::b");
    CModelInstanceNode none("ghost", "noSuchModel", RT_TRANSFORM, "::a");

    std::vector<std::string> names;
    CollectNames(chair.GetRoot(), names);
    EXPECT_EQ(names,
              (std::vector<std::string>{"chair_root::a", "  chair::a", "    chairBone::a", "      chairMesh::a"}));
    EXPECT_TRUE(none.GetRoot()->GetChildren().empty());
    EXPECT_FALSE(none.AttachModel("chair", RT_BONE));

    // Independent trees: moving one instance's copy leaves the other's alone.
    auto* boneA = dynamic_cast<CBone*>(CurrentResourceManager->Find("chairBone::a", RT_BONE));
    auto* boneB = dynamic_cast<CBone*>(CurrentResourceManager->Find("chairBone::b", RT_BONE));
    ASSERT_NE(boneA, nullptr);
    ASSERT_NE(boneB, nullptr);
    EXPECT_EQ(boneB->GetParent()->GetParent(), other.GetRoot());
    chair.GetRoot()->SetTranslation(5.0f, 0.0f, 0.0f);
    EXPECT_EQ(boneA->GetWorldMatrix()(3, 0), 5.0f);
    EXPECT_EQ(boneB->GetWorldMatrix()(3, 0), 0.0f);

    // A second attach adds another copy under the same root.
    EXPECT_TRUE(chair.AttachModel("chairBone", RT_BONE));
    EXPECT_EQ(chair.GetRoot()->GetChildren().size(), 2u);
}

TEST(ModelInstanceNodeTest, ModelListSkipsTheMissingOne) {
    SceneRegistry r;
    MakeModel("hat");
    MakeModel("tail");
    CModelInstanceNode chain("chain", {{"hat", RT_TRANSFORM}, {"lost", RT_TRANSFORM}, {"tail", RT_TRANSFORM}}, "::the");
    std::vector<std::string> tops;
    for (CHandle h : chain.GetRoot()->GetChildren())
        tops.push_back(NodeHandles().Resolve(h)->GetName());
    EXPECT_EQ(tops, (std::vector<std::string>{"hat::the", "tail::the"}));
}

TEST(ModelInstanceNodeTest, OutlivingItsRegistryIsHarmless) {
    auto* instance = [] {
        SceneRegistry r;
        MakeModel("lamp");
        auto* lamp = new CModelInstanceNode("lamp", "lamp", RT_TRANSFORM, "::the");
        EXPECT_NE(lamp->GetRoot(), nullptr);
        return lamp;
    }();
    EXPECT_EQ(instance->GetRoot(), nullptr);
    EXPECT_FALSE(instance->AttachModel("lamp", RT_TRANSFORM));
    delete instance;
    EXPECT_EQ(Registered("lamp::the"), 0);
}
