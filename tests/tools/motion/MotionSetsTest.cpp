#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "character/preload/PreloadLists.h"
#include "character/proto/ActionPrototypes.h"
#include "engine/anim/AnimAttribute.h"
#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include <filesystem>
#include "engine/anim/AnimChunkLoaders.h"
#include "engine/anim/AnimationSet.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/chunk/RecordReaders.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "engine/texture/Texture.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/RoomBuilder.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/goods/GoodsBuilder.h"
#include "tools/goods/GoodsLayout.h"
#include "tools/motion/MotionContent.h"
#include "tools/motion/MotionLibrary.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"
#include "tools/motion/MotionPoses.h"
#include "tools/motion/MotionSet.h"
#include "tools/vesko/VeskoModels.h"
#include "tools/vesko/VeskoRig.h"

#include "tests/tools/content/ShapeStandIn.h"

namespace {

struct ReadSet {
    std::vector<AnimatorRecord> animators;
    std::map<std::string, AnimationDataRecord> data;
    int setRecords = 0;
};

ReadSet ReadRecords(const std::vector<uint8_t>& bytes) {
    ReadSet out;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        uint32_t type = ReadLe32(&bytes[at]), size = ReadLe32(&bytes[at + 4]);
        if (size < 8 || size > bytes.size() - at)
            break;
        const uint8_t* r = &bytes[at + 8];
        AnimatorRecord a;
        AnimationDataRecord d;
        AnimationSetRecord s;
        if (type == RT_ANIMATOR && ReadAnimatorRecord(r, size - 8, a) == RR_ACCEPTED)
            out.animators.push_back(a);
        if (type == RT_ANIMATION_DATA && ReadAnimationDataRecord(r, size - 8, d) == RR_ACCEPTED)
            out.data[d.name] = d;
        if (type == RT_ANIMATION_SET && ReadAnimationSetRecord(r, size - 8, s) == RR_ACCEPTED)
            ++out.setRecords;
        at += size;
    }
    return out;
}

float Duration(const AnimationDataRecord& d) {
    float t = 0;
    for (const AnimationKey& k : d.keys)
        t += k.length;
    return t;
}

// The value of a key list at an integer frame, as the engine samples it.
float ValueAt(const AnimationDataRecord& d, int frame) {
    float start = 0;
    for (size_t i = 0; i < d.keys.size(); ++i) {
        const AnimationKey& k = d.keys[i];
        if (frame < start + k.length || i + 1 == d.keys.size())
            return k.start + k.change * (frame - start) / k.length;
        start += k.length;
    }
    return 0;
}

int g_missing = 0;

// One registry as the program's: the room, her rig, the goods, then every
// animation file, walked by the engine's loaders.
class MotionRegistry : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        state = new State;
        State& s = *state;
        s.saved = CurrentResourceManager;
        CurrentResourceManager = &s.registry;
        SetDefaultParent(nullptr);
        s.root = CreateRootTransform();
        SetDefaultParent(s.root);
        ClearChunkHandlers();
        RegisterSceneChunkHandlers();
        RegisterAnimChunkHandlers();
        SetChunkHandler([](const ShapeRecord& r) { new CShapeStandIn(r.name.c_str()); });
        SetChunkHandler([](const TextureRecord& r) { new CTexture(r.name.c_str(), 2, 2, 2, 0, 0, 1, r.IsAnimated()); });
        SetChunkHandler([](const ShaderRecord&) {});
        SetChunkHandler([](const GeometryRecord&) {});
        g_missing = 0;
        SetMissingResourceHandler([](void*) { ++g_missing; });
        std::string error;
        std::vector<uint8_t> bytes;
        if (BuildRoomModel(bytes, error))
            s.Walk(bytes);
        // Her eleven models as the program loads them.
        std::vector<std::unique_ptr<CVeskoModelFile>> vesko;
        if (!BuildVeskoModels(vesko, error))
            s.errors.push_back(error);
        for (auto& file : vesko) {
            std::vector<uint8_t> model;
            if (file->Write(model, error))
                s.Walk(model);
            else
                s.errors.push_back(error);
        }
        s.veskoFiles = int(vesko.size());
        for (const GoodsPlace& place : GoodsPlaces())
            if (BuildGoodsModel(place.base, bytes, error))
                s.Walk(bytes);
        s.modelMissing = g_missing;
        for (const MotionSpec& spec : MotionSets()) {
            std::vector<uint8_t> set;
            if (!WriteMotionSet(spec, set, error)) {
                s.errors.push_back(error);
                continue;
            }
            s.files[spec.set] = set;
            ChunkWalkResult walk = s.Walk(set);
            s.refused += walk.refused + walk.empty + (walk.complete ? 0 : 1);
        }
        // The program scales her root; the rig file keeps it at 1.
        auto* root = dynamic_cast<CTransform*>(s.registry.Find(VeskoNames::ROOT, RT_TRANSFORM));
        if (root)
            for (int c = CTransform::TC_SCALE_X; c <= CTransform::TC_SCALE_Z; ++c)
                root->SetChannelValue(c, VESKO_ROOT_SCALE);
    }
    static void TearDownTestSuite() {
        SetMissingResourceHandler(nullptr);
        ClearChunkHandlers();
        SetDefaultParent(nullptr);
        CurrentResourceManager = state->saved;
        delete state;
        state = nullptr;
    }

    struct State {
        CResourceManager registry;
        CResourceManager* saved = nullptr;
        CTransform* root = nullptr;
        std::map<std::string, std::vector<uint8_t>> files;
        std::vector<std::string> errors;
        int refused = 0;
        int modelMissing = 0;
        int veskoFiles = 0;
        std::vector<std::unique_ptr<std::vector<uint8_t>>> kept;
        ChunkWalkResult Walk(const std::vector<uint8_t>& bytes) {
            kept.push_back(std::make_unique<std::vector<uint8_t>>(bytes));
            return LoadChunkStream(&registry, kept.back()->data(), kept.back()->size(), CHUNK_MASK_ALL);
        }
    };
    static State* state;

    // Plays a set's frame on the loaded nodes and answers a node's world position.
    static MeshPoint At(const std::string& set, float frame, const std::string& node, int kind = -1) {
        auto* s = dynamic_cast<CAnimationSet*>(state->registry.Find(set.c_str(), RT_ANIMATION_SET));
        if (!s)
            return {NAN, NAN, NAN};
        AdvanceFrameStamp();
        s->Apply(frame, 1.0f, AWT_OVER_WRITE);
        CResource* r = nullptr;
        if (kind < 0) {
            r = state->registry.Find(node.c_str(), RT_BONE);
            if (!r)
                r = state->registry.Find(node.c_str(), RT_TRANSFORM);
        } else {
            r = state->registry.Find(node.c_str(), kind);
        }
        auto* t = dynamic_cast<CTransform*>(r);
        if (!t)
            return {NAN, NAN, NAN};
        const CMatrix& w = t->GetWorldMatrix();
        return {w(3, 0), w(3, 1), w(3, 2)};
    }
};
MotionRegistry::State* MotionRegistry::state = nullptr;

float Flat(MeshPoint a, MeshPoint b) { return std::hypot(a.x - b.x, a.z - b.z); }
float Distance(MeshPoint a, MeshPoint b) {
    return std::sqrt(std::pow(a.x - b.x, 2) + std::pow(a.y - b.y, 2) + std::pow(a.z - b.z, 2));
}

TEST(MotionLibrary, OneSetForEveryMotionOfThePrototypeTableAndThePreloadList) {
    std::set<std::string> made;
    for (const MotionSpec& m : MotionSets())
        EXPECT_TRUE(made.insert(m.set).second) << "twice: " << m.set;
    std::set<std::string> preloaded(CHARACTER_ANIMATION_SETS, CHARACTER_ANIMATION_SETS + CHARACTER_ANIMATION_SET_COUNT);
    EXPECT_EQ(made.size(), 176u);
    EXPECT_EQ(made, preloaded);
    for (const ActionPrototypeRow& row : ActionPrototypeTable())
        if (row.animationSet) {
            EXPECT_TRUE(made.count(row.animationSet)) << row.name << " plays " << row.animationSet;
        }
    EXPECT_EQ(FindMotionSet("veskoWalk02"), nullptr);
}

TEST(MotionKeys, StraightRunsMergeAndStepsHold) {
    // Samples 0, 1, 2, 3 then flat at 3: two keys; the stepped run keeps values.
    std::vector<AnimationKey> line = MergeKeys({0, 1, 2, 3, 3, 3}, false, 0.001f);
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0].length, 3.0f);
    EXPECT_EQ(line[0].change, 3.0f);
    EXPECT_EQ(line[1].length, 2.0f);
    EXPECT_EQ(line[1].change, 0.0f);
    std::vector<AnimationKey> steps = MergeKeys({1, 1, 2, 2, 2, 1}, true, 0);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].start, 1.0f);
    EXPECT_EQ(steps[0].length, 2.0f);
    EXPECT_EQ(steps[1].start, 2.0f);
    EXPECT_EQ(steps[1].length, 3.0f);
    EXPECT_TRUE(MergeKeys({4}, false, 0).empty());
    MotionSpec tooShort{"x", 1, [](float) { return Pose(); }};
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(WriteMotionSet(tooShort, bytes, error));
}

TEST_F(MotionRegistry, EveryFileLoadsWithEveryTargetPresent) {
    EXPECT_TRUE(state->errors.empty()) << state->errors.front();
    EXPECT_EQ(state->veskoFiles, 11);
    EXPECT_NE(state->registry.Find(VeskoNames::FACE_TEXTURE, RT_TEXTURE), nullptr);
    EXPECT_EQ(state->modelMissing, 0);
    EXPECT_EQ(g_missing, 0);
    EXPECT_EQ(state->refused, 0);
    for (const MotionSpec& m : MotionSets()) {
        auto* set = dynamic_cast<CAnimationSet*>(state->registry.Find(m.set.c_str(), RT_ANIMATION_SET));
        ASSERT_NE(set, nullptr) << m.set;
        EXPECT_EQ(set->GetLength(), float(m.length)) << m.set;
    }
}

// The rules every set keeps: one set a file; every curve spans the whole
// length; the root motion on "veskoRoot"; nothing keyed that the program
// owns; sound nodes shown for one frame at a time, ending hidden.
TEST_F(MotionRegistry, EverySetSpansItsLengthKeysTheRootAndLeavesTheProgramsChannels) {
    for (const auto& file : state->files) {
        SCOPED_TRACE(file.first);
        ReadSet r = ReadRecords(file.second);
        EXPECT_EQ(r.setRecords, 1);
        const float length = float(FindMotionSet(file.first)->length);
        std::set<int> rootChannels;
        for (const AnimatorRecord& a : r.animators) {
            ASSERT_TRUE(r.data.count(a.dataName)) << a.name;
            EXPECT_FLOAT_EQ(Duration(r.data[a.dataName]), length) << a.name;
            if (a.targetName == VeskoNames::ROOT) {
                rootChannels.insert(a.attribute);
                EXPECT_TRUE(a.attribute < AA_SCALE_X) << a.name;
            }
            EXPECT_NE(a.targetName, VeskoNames::SHADOW);
            EXPECT_NE(a.targetName, "vesko_mdl_root");
            if (a.targetName == "osageBexlaR" || a.targetName == "osageBexlaL") {
                EXPECT_NE(a.attribute, AA_VISIBLE);
            }
            if (a.attribute == AA_VISIBLE && a.targetName.find("Sound") != std::string::npos) {
                const AnimationDataRecord& d = r.data[a.dataName];
                // Each cue: one frame shown, between hidden ones.
                int shown = 0, longest = 0, run = 0;
                for (int f = 0; f < int(length); ++f) {
                    bool on = ValueAt(d, f) == 1.0f;
                    shown += on;
                    run = on ? run + 1 : 0;
                    longest = std::max(longest, run);
                }
                EXPECT_GE(shown, 1) << a.targetName;
                EXPECT_EQ(longest, 1) << a.targetName;
                EXPECT_EQ(ValueAt(d, 0), 0.0f) << a.targetName;
                EXPECT_EQ(d.keys.back().start + d.keys.back().change, 0.0f) << a.targetName;
            }
        }
        EXPECT_EQ(rootChannels, (std::set<int>{AA_TRANSLATION_X, AA_TRANSLATION_Y, AA_TRANSLATION_Z, AA_ROTATION_Y}));
    }
}

// The sets that make a sound show its node.
TEST_F(MotionRegistry, SoundsPlayInTheirMotions) {
    const std::map<std::string, std::vector<std::string>> sounds = {
        {"veskoDoorOut00", {"doorOutSound"}},
        {"veskoDoorIn00", {"doorInSound"}},
        {"veskoTVBroken00", {"tvBrokenSound"}},
        {"veskoFuro00", {"furoSound0"}},
        {"veskoFuro01", {"furoSound1"}},
        {"veskoFuro02", {"furoSound2"}},
        {"veskoFuro03", {"furoSound3"}},
        {"veskoLightSaber00", {"lightSaberSound"}},
        {"veskoLightSaber01", {"lightSaberSound"}},
        {"veskoLightSaber02", {"lightSaberSound"}},
        {"veskoTeleporter00", {"teleporterSound0", "teleporterSound1"}},
        {"veskoTeleporter01", {"teleporterSound0", "teleporterSound1"}},
        {"veskoTeleporter02", {"teleporterSound0", "teleporterSound1"}},
        {"veskoOtama00", {"otamaSound"}},
        {"veskoBodyBlade00", {"bodyBladeSound"}},
        {"veskoBodyBlade04", {"bodyBladeSound"}},
        {"veskoChairDown00", {"chairSound0"}},
        {"veskoChairRide01", {"chairSound1"}},
        {"veskoConga00", {"congaSound0", "congaSound1"}},
        {"veskoConga02", {"congaSound2", "congaSound3"}},
    };
    for (const auto& s : sounds) {
        ReadSet r = ReadRecords(state->files[s.first]);
        for (const std::string& node : s.second) {
            bool keyed = false;
            for (const AnimatorRecord& a : r.animators)
                keyed = keyed || (a.targetName == node && a.attribute == AA_VISIBLE);
            EXPECT_TRUE(keyed) << s.first << " " << node;
        }
    }
}

// Fixed-origin sets begin where their action begins: her hips (the chain
// tip the program walks her to) at the bed, the door, the TV, the kotatsu,
// the chair, the fridge, the fan ...
TEST_F(MotionRegistry, FixedOriginSetsStartWhereTheirActionBegins) {
    struct Case {
        const char* set;
        MeshPoint near;
        float within;
    } cases[] = {
        {"veskoSleepIn00", RoomSpots::BEFORE_BED, 10}, {"veskoSleepIn01", RoomSpots::BEFORE_BED, 10},
        {"veskoSleep00", {-462, 0, -196}, 40},         {"veskoDoorOut00", RoomSpots::BEFORE_DOOR, 10},
        {"veskoDoorIn00", RoomSpots::BEYOND_DOOR, 10}, {"veskoTVDown00", RoomSpots::BEFORE_TV, 10},
        {"veskoKotatsuIn00", {0, 0, 140}, 10},         {"veskoChairDown00", {-260, 0, -17}, 12},
        {"veskoReizoukoOn00", {-150, 0, -171}, 15},    {"veskoSenpukiOn00", {340, 0, -62}, 25},
        {"veskoCongaOn00", {-463, 0, 390}, 25},        {"veskoPunchingBagP03", {-170, 0, 272}, 15},
        {"veskoBodyVac00", {310, 0, 30}, 10},          {"veskoEatDown00", {-168, 0, 10}, 15},
    };
    for (const Case& c : cases) {
        MeshPoint hips = At(c.set, 0, VeskoNames::HIPS);
        EXPECT_LT(Flat(hips, c.near), c.within) << c.set << " starts at " << hips.x << ", " << hips.z;
        EXPECT_GT(hips.y, 20.0f) << c.set;
    }
}

// Her feet stay on the floor however deep she crouches (the hips come down
// by what the bent legs lose, not in a straight line), and kneeling her
// knees are down and her feet laid back along the floor.
TEST(MotionPoses, CrouchingAndKneelingKeepHerFeetOnTheFloor) {
    for (float d : {0.1f, 0.25f, 0.35f, 0.5f, 0.7f, 0.8f, 1.0f}) {
        const ::Pose p = Crouch(d);
        for (const char* bone : {"legL3", "legR3"}) {
            MeshPoint ankle = RigWorldPosition(p, bone);
            EXPECT_NEAR(ankle.y, RigWorldPosition(Stand(), bone).y, 1.0f) << d << " " << bone;
        }
        for (const char* bone : {"legL4", "legR4"})
            EXPECT_GT(RigWorldPosition(p, bone).y, 0.0f) << d << " " << bone;
    }
    const ::Pose kneel = Kneel();
    for (const char* bone : {"legL2", "legR2"}) {
        EXPECT_GT(RigWorldPosition(kneel, bone).y, 0.0f) << bone;
        EXPECT_LT(RigWorldPosition(kneel, bone).y, 4.0f) << bone;
    }
    for (const char* bone : {"legL3", "legR3", "legL4", "legR4"})
        EXPECT_GT(RigWorldPosition(kneel, bone).y, 0.0f) << bone;
}

// Rolling along the floor she stretches her arms over her head and does
// not roll through them.
TEST_F(MotionRegistry, RollingAlongTheFloorKeepsHerAboveIt) {
    for (const char* set : {"veskoRoll01", "veskoRoll03"}) {
        const MotionSpec* spec = FindMotionSet(set);
        ASSERT_NE(spec, nullptr) << set;
        for (float frame = 0; frame < float(spec->length); frame += 5)
            for (const std::string& bone : VeskoBodyBones())
                EXPECT_GT(At(set, frame, bone).y, -2.0f) << set << " " << frame << " " << bone;
    }
}

// No frame of any set puts a bone of her body through the floor, also while
// she goes down to lie or comes back up; only the teleporter takes her out
// of the room, far below it.
TEST_F(MotionRegistry, NothingOfHerGoesThroughTheFloor) {
    int frames = 0;
    for (const MotionSpec& spec : MotionSets())
        for (float frame = 0; frame < float(spec.length); frame += 5) {
            float lowest = 0;
            std::string which;
            for (const std::string& bone : VeskoBodyBones()) {
                const float y = At(spec.set, frame, bone).y;
                if (y < lowest)
                    lowest = y, which = bone;
            }
            if (lowest < -100 && spec.set.rfind("veskoTeleporter", 0) == 0)
                continue;
            EXPECT_GT(lowest, -0.6f) << spec.set << " " << frame << " " << which;
            ++frames;
        }
    EXPECT_GT(frames, 1000);
}

// Asleep she lies under the bed's cover (x from -488, top 52 high), her
// hips, knees and ankles low enough that the cover hides them as she turns
// and kicks, and her head on the pillow (x -532 to -496, top 58).
TEST_F(MotionRegistry, AsleepSheLiesUnderTheCoverWithHerHeadOnThePillow) {
    const float coverTop = 52, pillowTop = 58;
    for (const char* set : {"veskoSleep00", "veskoSleep01", "veskoSleep02", "veskoSleep03", "veskoSleep04"}) {
        const MotionSpec* spec = FindMotionSet(set);
        ASSERT_NE(spec, nullptr) << set;
        for (float frame = 0; frame < float(spec->length); frame += 20) {
            // Bone centres, each with the body's half thickness there.
            for (auto [bone, half] : std::vector<std::pair<const char*, float>>{
                     {VeskoNames::HIPS, 5.0f}, {"legL2", 2.5f}, {"legR2", 2.5f}, {"legL3", 2.0f}, {"legR3", 2.0f}}) {
                MeshPoint at = At(set, frame, bone);
                EXPECT_GT(at.x, -488.0f) << set << " " << frame << " " << bone;
                EXPECT_LT(at.y + half, coverTop) << set << " " << frame << " " << bone;
            }
            // The middle of her head, halfway from the head bone to the crown,
            // above the pillow by most of a head's half depth (less when she
            // has turned on her side).
            MeshPoint neck = At(set, frame, VeskoNames::HEAD), crown = At(set, frame, "cap_Mugiwara");
            MeshPoint middle{(neck.x + crown.x) / 2, (neck.y + crown.y) / 2, (neck.z + crown.z) / 2};
            EXPECT_GT(middle.x, -532.0f) << set << " " << frame;
            EXPECT_LT(middle.x, -496.0f) << set << " " << frame;
            EXPECT_GT(middle.y, pillowTop + 3) << set << " " << frame;
        }
    }
}

// A linked motion moves a good between its place and her hand: her hand is
// on the good's resting place at the frame the good changes parent.
TEST_F(MotionRegistry, HandsMeetTheGoodWhenItChangesHands) {
    int checked = 0;
    for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
        if (row.actionClass != AC_MOTION_LINKED || row.moved.source != LINK_ITEM_CARRIED)
            continue;
        const GoodsPlace* place = FindGoodsPlace(row.moved.name);
        ASSERT_NE(place, nullptr) << row.name;
        const MotionSpec* spec = FindMotionSet(row.animationSet);
        ASSERT_NE(spec, nullptr);
        // Which hand: the anchor of this row or of the row that took the
        // good (the segway is let go as it was taken: off 02 after on 00).
        const std::map<std::string, std::string> takenBy = {{"segwayOff02", "segwayOn00"},
                                                            {"segwayOff03", "segwayOn01"}};
        std::string anchor = row.parent.source == LINK_NODE ? row.parent.name : "";
        for (const ActionPrototypeRow& other : ActionPrototypeTable()) {
            if (other.actionClass != AC_MOTION_LINKED || other.moved.source != LINK_ITEM_CARRIED)
                continue;
            bool pair = takenBy.count(row.name) ? takenBy.at(row.name) == other.name
                                                : std::string(other.moved.name) == row.moved.name;
            if (anchor.empty() && other.actionClass == AC_MOTION_LINKED && other.moved.source == LINK_ITEM_CARRIED &&
                other.parent.source == LINK_NODE && pair)
                anchor = other.parent.name;
        }
        // A snack is let go where she ate it: it goes back to its shelf unseen.
        if (std::string(row.name) == "milkRelease00" || std::string(row.name) == "iceCreamRelease00")
            continue;
        float frame = row.attachAtEnd ? float(spec->length - 1) : 0.0f;
        MeshPoint hand = At(row.animationSet, frame, anchor);
        float within = anchor == VeskoNames::HAND_CENTRE ? 4.0f : 3.0f;
        EXPECT_LT(Distance(hand, place->rest), within)
            << row.name << ": " << anchor << " at " << hand.x << ", " << hand.y << ", " << hand.z;
        ++checked;
    }
    EXPECT_EQ(checked, 22);
}

// The snack plans play these motions back to back, each where the one
// before left her: from the refrigerator with the good, and from the seat
// where she had it, with no slide across the room between them. The snacks
// rest in the refrigerator, whose door she opens before taking one.
TEST_F(MotionRegistry, SnackMotionsFollowOnWhereTheLastLeftHer) {
    const std::vector<std::vector<const char*>> runs = {
        {"veskoReizoukoOn00", "veskoMilkHandle00", "veskoReizoukoOn01"},
        {"veskoReizoukoOn00", "veskoIceCreamHandle00", "veskoReizoukoOn01"},
        {"veskoEatDown00", "veskoMilk00", "veskoMilk01", "veskoMilk02", "veskoEatUp00", "veskoMilkRelease00"},
        {"veskoEatDown00", "veskoIceCream00", "veskoIceCream02", "veskoIceCreamRelease00", "veskoEatUp01"},
    };
    for (const auto& run : runs)
        for (size_t i = 0; i + 1 < run.size(); ++i) {
            const MotionSpec* spec = FindMotionSet(run[i]);
            ASSERT_NE(spec, nullptr) << run[i];
            const MeshPoint end = At(run[i], float(spec->length - 1), VeskoNames::HIPS);
            const MeshPoint next = At(run[i + 1], 0, VeskoNames::HIPS);
            EXPECT_LT(Flat(end, next), 12.0f) << run[i] << " ends at " << end.x << ", " << end.z << "; " << run[i + 1]
                                              << " starts at " << next.x << ", " << next.z;
        }
    const MeshPoint fridge = FindGoodsPlace("reizouko")->rest;
    for (const char* good : {"milk", "iceCream"}) {
        const MeshPoint rest = FindGoodsPlace(good)->rest;
        EXPECT_LT(std::fabs(rest.x - fridge.x), 27.0f) << good;
        EXPECT_LT(std::fabs(rest.z - fridge.z), 26.0f) << good;
        EXPECT_GT(rest.y, 8.0f) << good;
        EXPECT_LT(rest.y, 103.0f) << good;
    }
    auto door = [](const char* set, float frame) {
        At(set, frame, "reizoukoDoor", RT_TRANSFORM);
        auto* t = dynamic_cast<CTransform*>(state->registry.Find("reizoukoDoor", RT_TRANSFORM));
        return t ? t->GetChannelValue(CTransform::TC_ROTATION_Y) : NAN;
    };
    // Open while she reaches in, shut once she has closed it.
    EXPECT_GT(door("veskoReizoukoOn00", float(FindMotionSet("veskoReizoukoOn00")->length - 1)), 1.5f);
    EXPECT_GT(door("veskoMilkHandle00", 10), 1.5f);
    EXPECT_GT(door("veskoReizoukoOn01", 0), 1.5f);
    EXPECT_NEAR(door("veskoReizoukoOn01", float(FindMotionSet("veskoReizoukoOn01")->length - 1)), 0, 1e-3f);
}

// Lying back at the kotatsu, her legs stay under its top (41 high) and her
// head comes down behind her.
TEST_F(MotionRegistry, LyingAtTheKotatsuKeepsHerLegsUnderTheQuilt) {
    for (const char* set : {"veskoKotatsu02", "veskoKotatsu03"}) {
        for (const char* ankle : {"legL3", "legR3"}) {
            MeshPoint at = At(set, 120.0f, ankle);
            EXPECT_LT(at.y, 20.0f) << set << " " << ankle;
        }
        MeshPoint head = At(set, 120.0f, "head");
        EXPECT_LT(head.y, 25.0f) << set;
    }
}

// The snacks are had where she sits down to eat: each starts and ends at the
// seat the sitting down ends on and the getting up starts from.
TEST_F(MotionRegistry, SnacksAreHadSittingAtTheKotatsu) {
    const MotionSpec* down = FindMotionSet("veskoEatDown00");
    ASSERT_NE(down, nullptr);
    const MeshPoint seat = At("veskoEatDown00", float(down->length - 1), VeskoNames::HIPS);
    EXPECT_LT(Distance(seat, At("veskoEatUp00", 0, VeskoNames::HIPS)), 1.0f);
    for (const char* set : {"veskoMilk00", "veskoMilk01", "veskoMilk02", "veskoIceCream00", "veskoIceCream02"}) {
        const MotionSpec* spec = FindMotionSet(set);
        ASSERT_NE(spec, nullptr) << set;
        for (float frame : {0.0f, float(spec->length - 1)}) {
            const MeshPoint hips = At(set, frame, VeskoNames::HIPS);
            EXPECT_LT(Distance(hips, seat), 1.0f)
                << set << " at " << frame << ": " << hips.x << ", " << hips.y << ", " << hips.z;
        }
    }
}

// Walk-like loops stay in place (the action moves her), and the sets played
// from her own place start at it, facing her way.
TEST_F(MotionRegistry, LoopsStayInPlaceAndRelativeSetsStartFromHer) {
    for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
        if (!row.animationSet || row.actionClass == AC_MOTION_LINKED || row.fixedOrigin)
            continue;
        const MotionSpec* spec = FindMotionSet(row.animationSet);
        ASSERT_NE(spec, nullptr);
        Pose first = spec->at(0);
        EXPECT_EQ(first.x, 0.0f) << row.animationSet;
        EXPECT_EQ(first.z, 0.0f) << row.animationSet;
        EXPECT_EQ(first.yaw, 0.0f) << row.animationSet;
        if (row.actionClass == AC_MOTION_MOVE)
            for (int f = 0; f <= spec->length; f += 5) {
                Pose p = spec->at(float(f));
                EXPECT_EQ(p.x, 0.0f) << row.animationSet << " " << f;
                EXPECT_EQ(p.z, 0.0f) << row.animationSet << " " << f;
                EXPECT_EQ(p.yaw, 0.0f) << row.animationSet << " " << f;
            }
    }
    // Looping sets end where they begin, so the wrap does not jump.
    std::vector<std::string> loops = {"veskoStand01", "veskoSleep00", "veskoKotatsu00"};
    for (const ActionPrototypeRow& row : ActionPrototypeTable())
        if (row.actionClass == AC_MOTION_MOVE)
            loops.push_back(row.animationSet);
    for (const std::string& set : loops) {
        const MotionSpec* spec = FindMotionSet(set);
        ASSERT_NE(spec, nullptr) << set;
        Pose a = spec->at(0), b = spec->at(float(spec->length));
        EXPECT_NEAR(a.y, b.y, 0.05f) << set;
        for (const std::string& bone : VeskoBodyBones()) {
            MeshPoint p = a.Bone(bone), q = b.Bone(bone);
            EXPECT_NEAR(p.x, q.x, 0.01f) << set << " " << bone;
            EXPECT_NEAR(p.y, q.y, 0.01f) << set << " " << bone;
            EXPECT_NEAR(p.z, q.z, 0.01f) << set << " " << bone;
        }
        for (const auto& e : b.extras)
            if (a.extras.count(e.first) && e.first.find(":vis") == std::string::npos) {
                EXPECT_NEAR(std::remainder(e.second - a.extras[e.first], TAU), 0, 0.01f) << set << " " << e.first;
            }
    }
    // A walk cycle's last frame leads into its first.
    MeshPoint a = At("veskoWalk04", 0, "legL2"), b = At("veskoWalk04", 59, "legL2");
    EXPECT_LT(Distance(a, b), 2.5f);
}

// The motions that work the goods drive their parts: the fridge door opens
// and shuts, the fan's blades turn, the old TV goes and the new one comes.
TEST_F(MotionRegistry, GoodsPartsMoveWithHerMotions) {
    auto value = [](const std::string& set, const std::string& node, int channel, float frame) {
        At(set, frame, node, RT_TRANSFORM);
        auto* t = dynamic_cast<CTransform*>(state->registry.Find(node.c_str(), RT_TRANSFORM));
        return t ? t->GetChannelValue(channel) : NAN;
    };
    const MotionSpec* fridge = FindMotionSet("veskoReizoukoOn00");
    EXPECT_EQ(value("veskoReizoukoOn00", "reizoukoDoor", CTransform::TC_ROTATION_Y, 0), 0.0f);
    EXPECT_GT(value("veskoReizoukoOn00", "reizoukoDoor", CTransform::TC_ROTATION_Y, 80), 1.5f);
    EXPECT_GT(value("veskoReizoukoOn00", "reizoukoDoor", CTransform::TC_ROTATION_Y, fridge->length - 1), 1.5f);
    const MotionSpec* shut = FindMotionSet("veskoReizoukoOn01");
    EXPECT_NEAR(value("veskoReizoukoOn01", "reizoukoDoor", CTransform::TC_ROTATION_Y, shut->length - 1), 0, 1e-3f);
    float b0 = value("veskoSenpuki00", "senpukiBlade", CTransform::TC_ROTATION_Z, 10);
    float b1 = value("veskoSenpuki00", "senpukiBlade", CTransform::TC_ROTATION_Z, 20);
    EXPECT_GT(b1 - b0, 0.5f);
    EXPECT_EQ(value("veskoTVBroken00", "Tv", CTransform::TC_VISIBLE, 10), 1.0f);
    EXPECT_EQ(value("veskoTVBroken00", "Tv", CTransform::TC_VISIBLE, 60), 0.0f);
    EXPECT_EQ(value("veskoTVNew00", "tv2003lcdvc", CTransform::TC_VISIBLE, 0), 0.0f);
    EXPECT_EQ(value("veskoTVNew00", "tv2003lcdvc", CTransform::TC_VISIBLE, 60), 1.0f);
    EXPECT_LT(value("veskoDoorOut00", "doorSlide", CTransform::TC_TRANSLATION_X, 60), -60.0f);
}

// Packed as the build packs them: animation archive 0 holds one entry per
// set of the preload list, under "animation/<set>.hga", and each loads from
// the archive through the engine's loader.
TEST(MotionArchive, AnimationArchiveZeroHoldsTheHundredSeventySixSets) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("motion_content_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         std::to_string(std::hash<std::string>{}(std::filesystem::current_path().string())));
    std::filesystem::remove_all(folder);
    std::string error;
    ASSERT_TRUE(WriteMotionContent((folder / "motion").string(), error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    ASSERT_TRUE(ReadManifest((folder / "motion" / "motion.manifest").string(), inputs, error)) << error;
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
        << error;
    const PackedArchive& animations = packed[size_t(ArchiveSlot(AK_ANIMATION, 0))];
    std::set<std::string> keys, expected;
    for (const PackedRow& row : animations.rows)
        keys.insert(row.key);
    for (int i = 0; i < CHARACTER_ANIMATION_SET_COUNT; ++i)
        expected.insert(MakeArchiveKey(std::string("animation/") + CHARACTER_ANIMATION_SETS[i] + ".hga"));
    EXPECT_EQ(keys.size(), 176u);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(keys.count("VESKOSLEEPIN00"), 1u);
    EXPECT_EQ(keys.count("VESKOTVUP00"), 1u);

    std::string savedFolder = GetDataFolder();
    SetDataFolder((folder / "data").string());
    std::vector<ArchiveEntryRow> rows = DirectoryRows(animations);
    CDataArchive archive({animations.fileName.c_str(), animations.key, rows.data()});
    for (int i = 0; i < CHARACTER_ANIMATION_SET_COUNT; ++i) {
        ClearChunkHandlers();
        CResourceManager registry;
        ChunkWalkResult walk =
            LoadModelFromArchive(&registry, &archive, std::string("animation/") + CHARACTER_ANIMATION_SETS[i] + ".hga");
        EXPECT_TRUE(walk.complete) << CHARACTER_ANIMATION_SETS[i];
        EXPECT_EQ(walk.refused, 0) << CHARACTER_ANIMATION_SETS[i];
        EXPECT_GT(walk.accepted, 100) << CHARACTER_ANIMATION_SETS[i];
    }
    SetDataFolder(savedFolder);
    std::filesystem::remove_all(folder);
}

} // namespace
