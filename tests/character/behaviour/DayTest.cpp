#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "character/Character.h"
#include "character/act/BoneChainNode.h"
#include "character/proto/ActionPrototypes.h"
#include "tests/character/ai/AiFixtures.h"
#include "tests/character/support/CharacterRig.h"

namespace {

constexpr float FRAME_MS = 1.0f / 0.06f;

// Where the motions played in place stand in the room: one spot per family
// of names (the first four letters), spread over the floor.
Vec3 SpotOf(const std::string& name) {
    unsigned h = 2166136261u;
    for (size_t i = 0; i < name.size() && i < 4; ++i)
        h = (h ^ (unsigned char)name[i]) * 16777619u;
    return Vec3(-150.0f + (float)(h % 400u), 0.0f, -250.0f + (float)((h / 400u) % 450u));
}

// The character as the day test watches her: what she chose and when, and
// where each walk she started was going.
class WatchedCharacter : public CCharacter {
public:
    WatchedCharacter(const CharacterSetup& setup) : CCharacter("vesko", setup) {}

    void NotifyAction(CWorld& world, const std::string& name) override {
        chosen.push_back({world.GetClock().hours, name});
        CCharacter::NotifyAction(world, name);
    }
    int OnRequest(CActRequest& out, const std::string& previousName, const CActRequest& request) override {
        const int result = CCharacter::OnRequest(out, previousName, request);
        if (result == HOOK_START && (request.name == "walk" || request.name == "walkSleep00"))
            walkTargets.push_back(
                Vec3((float)std::atof(request.words[0].c_str()), 0.0f, (float)std::atof(request.words[1].c_str())));
        if (result == HOOK_INSERT)
            ++detours;
        return result;
    }

    std::vector<std::pair<int, std::string>> chosen;
    std::vector<Vec3> walkTargets;
    int detours = 0;
};

struct DayFixture : ::testing::Test {
    DayFixture() {
        for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
            if (!row.animationSet)
                continue;
            if (row.actionClass == AC_MOTION_MOVE) {
                rig.AddSet(row.animationSet, 40.0f,
                           {{"koshi", AA_TRANSLATION_X, 0.0f, 0.0f},
                            {"koshi", AA_TRANSLATION_Z, 0.0f, 0.0f},
                            {"head", AA_TRANSLATION_X, 0.0f, 0.1f}});
            } else if (row.fixedOrigin) {
                const Vec3 spot = SpotOf(row.name);
                rig.AddSet(row.animationSet, 60.0f,
                           {{"koshi", AA_TRANSLATION_X, spot.x, 0.0f},
                            {"koshi", AA_TRANSLATION_Z, spot.z, 0.0f},
                            {"head", AA_TRANSLATION_X, 0.0f, 0.05f}});
            } else {
                rig.AddSet(row.animationSet, 60.0f,
                           {{"koshi", AA_TRANSLATION_X, 0.0f, 0.0f},
                            {"koshi", AA_TRANSLATION_Z, 0.0f, 0.0f},
                            {"head", AA_TRANSLATION_X, 1.0f, 0.02f}});
            }
        }
        rig.Build();
        CharacterSetup setup;
        setup.body = rig.body;
        rig.body = nullptr; // hers now
        setup.scope = CharacterRig::SCOPE;
        setup.setting = &setting;
        for (const char* goods : {"kotatsu", "reizouko", "milk", "iceCream", "conga", "senpuki", "segway"})
            setup.items.push_back(new FakeItem(goods, FakeItem::GOODS, 3000, true));
        setup.items.push_back(new FakeItem("clothDefault", FakeItem::CLOTH, 0, true));
        setup.items.push_back(new FakeItem("pajamaOrange", FakeItem::CLOTH, 2000, true));
        setup.items.push_back(new FakeItem("nekomimi", FakeItem::ACCESSORY, 4000, false));
        setup.items.push_back(new FakeItem("lastItem", FakeItem::ENDING, 0, false));
        vesko.reset(new WatchedCharacter(setup));
        CBodyStats& s = vesko->GetStats();
        s.mny = 50000u;
        s.slp = 20.0f;
        s.app = 50.0f;
        vesko->GetBody()->SetRootPlacement(200.0f, 0.0f, 200.0f, 0.0f);
    }

    CharacterRig rig;
    FakeSetting setting;
    CWorld world{"dayworld"};
    std::unique_ptr<WatchedCharacter> vesko;
};

} // namespace

TEST_F(DayFixture, ADayOfHerOwnChoosing) {
    ASSERT_EQ(vesko->GetActions().size(), 184u);
    SeedRand(2024);
    std::set<std::string> played;
    int crossFadeUpdates = 0;
    int walksEnded = 0;
    float worstLanding = 0.0f;
    std::string previous;
    Vec3 lastTarget;
    bool asleepWithLightOn = false;
    bool valuesOutOfRange = false;
    uint32_t moneyBeforeWakeup = 0;
    std::vector<uint32_t> paid;
    int shows = 0;

    // One world day at the default clock: twelve real minutes of frames.
    const int updates = (int)(86400.0f / CWorld::DEFAULT_TIME_RATIO * 60.0f);
    for (int i = 0; i < updates; ++i) {
        world.AdvanceClock(FRAME_MS);
        const uint32_t money = vesko->GetStats().mny;
        const size_t choices = vesko->chosen.size();
        vesko->Update(&setting, nullptr, world, FRAME_MS);
        for (size_t c = choices; c < vesko->chosen.size(); ++c) {
            if (vesko->chosen[c].second == "wakeup") {
                moneyBeforeWakeup = money;
                paid.push_back(vesko->GetStats().mny - money);
            }
        }
        if (vesko->TakeShowPending()) {
            vesko->SetTvShownToday(true);
            ++shows;
        }
        vesko->TakeEndingPending();

        const std::string current = vesko->GetCurrentActionName();
        if (!current.empty())
            played.insert(current);
        if (vesko->GetState() == CActPlayer::STATE_CROSS_FADING)
            ++crossFadeUpdates;
        // A walk that has just ended stands on its target.
        if ((previous == "walk" || previous == "walkSleep00") && current != previous && !vesko->walkTargets.empty()) {
            const Vec3 at = vesko->GetPosition();
            const Vec3& target = vesko->walkTargets.back();
            worstLanding = std::max(worstLanding, std::hypot(at.x - target.x, at.z - target.z));
            ++walksEnded;
        }
        previous = current;
        const CBodyStats& s = vesko->GetStats();
        if (s.bsl && world.IsRoomLightOn())
            asleepWithLightOn = true;
        for (float v : {s.slp, s.app, s.sex})
            if (!(v >= -30.0f && v <= 130.0f)) // effects may pass the bounds until the next drift
                valuesOutOfRange = true;
    }

    // What she chose, in order, with the hours.
    std::map<std::string, int> firstHour;
    std::string log;
    for (const auto& entry : vesko->chosen) {
        if (!firstHour.count(entry.second))
            firstHour[entry.second] = entry.first;
        log += std::to_string(entry.first) + ":" + entry.second + " ";
    }
    SCOPED_TRACE(log);

    // The idle choice keeps her busy while awake.
    int idle = 0;
    for (const auto& entry : vesko->chosen)
        for (const char* name : {"stand", "dance", "wash", "box", "senti", "chair", "hechyo", "hiji", "roll"})
            if (entry.second == name)
                ++idle;
    EXPECT_GT(idle, 10);

    // Night: pyjamas first, then to bed, asleep until a morning wake-up that pays.
    ASSERT_TRUE(firstHour.count("change"));
    ASSERT_TRUE(firstHour.count("sleep"));
    ASSERT_TRUE(firstHour.count("wakeup"));
    const int sleepHour = firstHour["sleep"];
    EXPECT_TRUE(sleepHour >= 21 || sleepHour <= 5) << sleepHour;
    EXPECT_GE(firstHour["wakeup"], 6);
    EXPECT_LE(firstHour["wakeup"], 11);
    EXPECT_TRUE(firstHour.count("sleeping"));
    ASSERT_FALSE(paid.empty());
    for (uint32_t p : paid)
        EXPECT_EQ(p, 5000u);
    EXPECT_GE(moneyBeforeWakeup, 50000u);
    EXPECT_FALSE(asleepWithLightOn);
    EXPECT_FALSE(valuesOutOfRange);

    // Hunger sends her out of the room to eat, and she comes back in.
    EXPECT_TRUE(firstHour.count("eat"));
    EXPECT_EQ(vesko->GetBody()->GetRoot()->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);

    // She walked, every walk landing on its target, played motions and cross-faded.
    EXPECT_GT(walksEnded, 20);
    EXPECT_LT(worstLanding, 0.01f);
    EXPECT_GT(crossFadeUpdates, 100);
    for (const char* name : {"walk", "stand", "sleepIn", "sleep", "sleepOut01", "doorOut00", "wait"})
        EXPECT_TRUE(played.count(name)) << name;
    // From 21:00 the show was offered and watched once before she slept.
    EXPECT_EQ(shows, 1);
    EXPECT_GT(vesko->GetStats().mny, 0u);
}

TEST_F(DayFixture, DetoursFromBesideAnObstacleChainAndEnd) {
    // Standing just off the third obstacle, the first detour point still lies
    // behind it seen from her, so a second detour comes before any walk
    // starts; the chain ends within the hook's bound.
    rig.Scoped("koshi", RT_BONE)->SetTranslation(0.0f, 0.0f, 0.0f);
    rig.Scoped("veskoRoot")->SetTranslation(0.0f, 0.0f, 0.0f);
    vesko->GetBody()->SetRootPlacement(0.0f, 0.0f, -115.0f, 0.0f);
    ASSERT_NEAR(vesko->GetPosition().z, -115.0f, 1e-3f);
    CActRequest request("walk", 0.0f, -400.0f);
    int inserted = 0, asked = 0, result = 0;
    do {
        CActRequest out;
        result = vesko->OnRequest(out, "", request);
        if (result == CActPlayer::HOOK_INSERT)
            ++inserted;
        if (result != CActPlayer::HOOK_START)
            request = out;
    } while (result != CActPlayer::HOOK_START && ++asked < 100);
    EXPECT_EQ(result, CActPlayer::HOOK_START);
    EXPECT_EQ(inserted, 2);
    EXPECT_LE(inserted, CCharacter::MAX_WALK_DETOURS);
    EXPECT_LT(asked, 2 * CCharacter::MAX_WALK_DETOURS + 2);
}

TEST_F(DayFixture, ADetourThatGotHerNowhereIsNotTriedAgain) {
    rig.Scoped("koshi", RT_BONE)->SetTranslation(0.0f, 0.0f, 0.0f);
    rig.Scoped("veskoRoot")->SetTranslation(0.0f, 0.0f, 0.0f);
    vesko->GetBody()->SetRootPlacement(0.0f, 0.0f, 0.0f, 0.0f);
    const CActRequest target("walk", 12.0f, -460.0f);
    CActRequest out;
    ASSERT_EQ(vesko->OnRequest(out, "", target), CActPlayer::HOOK_INSERT);
    const CActRequest detour = out;
    ASSERT_EQ(vesko->OnRequest(out, "", detour), CActPlayer::HOOK_START);
    // The detour walk ended where it began: the same detour again would
    // repeat in every update, so she walks straight.
    CActRequest again = target;
    again.words.push_back("continue");
    EXPECT_EQ(vesko->OnRequest(out, "walk", again), CActPlayer::HOOK_START);
    // Once she has moved, the obstacle is detoured again.
    vesko->GetBody()->SetRootPlacement(1.0f, 0.0f, 2.0f, 0.0f);
    EXPECT_EQ(vesko->OnRequest(out, "walk", again), CActPlayer::HOOK_INSERT);
}
