#include <gtest/gtest.h>

#include <map>

#include "engine/math/Geometry2D.h"
#include "tests/character/behaviour/PlanFixtures.h"

namespace {

// Each name's share of the idle choice over every first draw.
std::map<std::string, double> IdleShares(CCharacter& character, CWorld& world) {
    std::map<std::string, int> counts;
    for (int draw = 0; draw <= 32767; ++draw) {
        SeedRand(SeedForFirstDraw(draw));
        std::string name;
        character.ChooseAction(name, world);
        ++counts[name];
    }
    std::map<std::string, double> shares;
    for (const auto& entry : counts)
        shares[entry.first] = entry.second / 32768.0;
    return shares;
}

CActRequest WithWords(const char* name, std::vector<std::string> words) {
    CActRequest request(name);
    request.words = std::move(words);
    return request;
}

} // namespace

TEST(CharacterIdleChoice, WeightsInOrderWithTheirExclusions) {
    struct Case {
        const char* what;
        const char* last;
        float slp;
        std::vector<std::pair<const char*, int>> rows;
    };
    const Case cases[] = {
        {"all",
         "",
         50.0f,
         {{"stand", 10},
          {"dance", 50},
          {"wash", 30},
          {"box", 30},
          {"senti", 20},
          {"chair", 30},
          {"hechyo", 20},
          {"hiji", 30},
          {"roll", 20}}},
        {"slp exactly 10: no roll",
         "",
         10.0f,
         {{"stand", 10},
          {"dance", 50},
          {"wash", 30},
          {"box", 30},
          {"senti", 20},
          {"chair", 30},
          {"hechyo", 20},
          {"hiji", 30}}},
        {"after roll",
         "roll",
         50.0f,
         {{"stand", 10},
          {"dance", 50},
          {"wash", 30},
          {"box", 30},
          {"senti", 20},
          {"chair", 30},
          {"hechyo", 20},
          {"hiji", 30}}},
        {"after chair",
         "chair",
         50.0f,
         {{"stand", 10},
          {"dance", 50},
          {"wash", 30},
          {"box", 30},
          {"senti", 20},
          {"hechyo", 20},
          {"hiji", 30},
          {"roll", 20}}},
        {"after dance: offered again",
         "dance",
         10.5f,
         {{"stand", 10},
          {"dance", 50},
          {"wash", 30},
          {"box", 30},
          {"senti", 20},
          {"chair", 30},
          {"hechyo", 20},
          {"hiji", 30},
          {"roll", 20}}},
    };
    CWorld world("idleworld");
    for (const Case& c : cases) {
        PlanCharacter pc("idle");
        pc.character.GetStats().slp = c.slp;
        if (*c.last)
            pc.character.GetHistory().Add(c.last);
        const auto shares = IdleShares(pc.character, world);
        double sum = 0.0;
        for (const auto& row : c.rows)
            sum += row.second;
        EXPECT_EQ(shares.size(), c.rows.size()) << c.what;
        for (size_t i = 0; i < c.rows.size(); ++i) {
            // The truncated draw gives the first row one unit more, the last one less.
            double units = c.rows[i].second + (i == 0 ? 1 : 0) - (i + 1 == c.rows.size() ? 1 : 0);
            auto it = shares.find(c.rows[i].first);
            ASSERT_NE(it, shares.end()) << c.what << ": " << c.rows[i].first;
            EXPECT_NEAR(it->second, units / sum, 0.0005) << c.what << ": " << c.rows[i].first;
        }
    }
}

TEST(CharacterIdleChoice, AsleepSheSleepsOn) {
    PlanCharacter pc("idle_asleep");
    CWorld world("idleworld2");
    pc.character.GetStats().bsl = 1;
    SeedRand(9);
    std::string name;
    pc.character.ChooseAction(name, world);
    EXPECT_EQ(name, "sleeping");
    EXPECT_EQ(Rand(), DrawsAfter(9, 1)[0]) << "no draw while asleep";
}

TEST(CharacterDrift, ChangesByTheHourThenClamps) {
    struct Case {
        int hour;
        float app, slp, sex; // the changes from 50 each
    };
    const Case cases[] = {
        {0, 0.2f, 5.0f, 0.0f},  {4, 0.2f, 5.0f, 0.0f},  {5, 0.2f, -3.0f, 0.0f},  {7, 0.2f, -3.0f, 0.0f},
        {8, 1.0f, -3.0f, 0.0f}, {9, 1.0f, -3.0f, 0.0f}, {10, 3.0f, -3.0f, 0.0f}, {11, 3.0f, -3.0f, 0.0f},
        {12, 3.0f, 0.6f, 0.0f}, {19, 3.0f, 0.6f, 0.0f}, {20, 3.0f, 3.0f, 3.0f},  {21, 0.2f, 3.0f, 3.0f},
        {22, 0.2f, 5.0f, 3.0f}, {23, 0.2f, 5.0f, 3.0f},
    };
    CWorld world("driftworld");
    PlanCharacter pc("drift");
    CBodyStats& s = pc.character.GetStats();
    for (const Case& c : cases) {
        SetHour(world, c.hour, 30);
        s.app = s.slp = s.sex = 50.0f;
        pc.character.UpdateStats(world);
        EXPECT_FLOAT_EQ(s.app, 50.0f + c.app) << c.hour;
        EXPECT_FLOAT_EQ(s.slp, 50.0f + c.slp) << c.hour;
        EXPECT_FLOAT_EQ(s.sex, 50.0f + c.sex) << c.hour;
    }
    // Out of range before the drift (effects do not clamp): held to 0..100.
    SetHour(world, 23);
    s.app = 99.9f;
    s.slp = 120.0f;
    s.sex = -30.0f;
    pc.character.UpdateStats(world);
    EXPECT_EQ(s.app, 100.0f);
    EXPECT_EQ(s.slp, 100.0f);
    EXPECT_EQ(s.sex, 0.0f);
    SetHour(world, 7);
    s.slp = 2.0f;
    s.sex = 120.0f;
    pc.character.UpdateStats(world);
    EXPECT_EQ(s.slp, 0.0f);
    EXPECT_EQ(s.sex, 100.0f);
}

TEST(CharacterEffects, WhatEachChosenActionDoes) {
    struct Values {
        float slp, app, sex;
        int bsl, pajama;
        uint32_t mny;
        bool light;
    };
    struct Case {
        const char* name;
        Values want; // from slp 50, app 40, sex 30, awake, dressed, 1000 yen, light off
    };
    const Case cases[] = {
        {"eat", {60, 0, 30, 0, 0, 1000, false}},
        {"wakeup", {0, 40, 0, 0, 0, 6000, true}},
        {"sleep", {50, 40, 30, 1, 0, 1000, false}},
        {"roll", {40, 40, 30, 0, 0, 1000, false}},
        {"kotatsu", {30, 40, 30, 0, 0, 1000, false}},
        {"papaMakura", {30, 40, 30, 0, 0, 1000, false}},
        {"otama", {30, 40, 30, 0, 0, 1000, false}},
        {"change", {50, 40, 30, 0, 1, 1000, false}},
        {"domohornWinkle", {50, 40, 20, 0, 0, 1000, false}},
        {"bodyVac", {50, 40, 20, 0, 0, 1000, false}},
        {"teleporter", {60, 40, 30, 0, 0, 1000, false}},
        {"dance", {50, 40, 30, 0, 0, 1000, false}},
        {"Eat", {50, 40, 30, 0, 0, 1000, false}},
    };
    for (const Case& c : cases) {
        PlanCharacter pc("effects");
        CWorld world("effectsworld");
        world.SetRoomLight(false);
        CBodyStats& s = pc.character.GetStats();
        s.slp = 50;
        s.app = 40;
        s.sex = 30;
        s.mny = 1000;
        pc.character.NotifyAction(world, c.name);
        EXPECT_EQ(s.slp, c.want.slp) << c.name;
        EXPECT_EQ(s.app, c.want.app) << c.name;
        EXPECT_EQ(s.sex, c.want.sex) << c.name;
        EXPECT_EQ(s.bsl, c.want.bsl) << c.name;
        EXPECT_EQ(s.pajama, c.want.pajama) << c.name;
        EXPECT_EQ(s.mny, c.want.mny) << c.name;
        EXPECT_EQ(world.IsRoomLightOn(), c.want.light) << c.name;
    }
}

TEST(CharacterEffects, WakeupPaysFiveThousandAndStartsAFreshDay) {
    PlanCharacter pc("wakeup");
    CWorld world("wakeupworld");
    CBodyStats& s = pc.character.GetStats();
    s.bsl = 1;
    s.slp = 140.0f; // beyond the bounds: nothing is clamped here
    s.app = 130.0f;
    s.mny = 50000u;
    pc.character.SetTvShownToday(true);
    pc.character.GetHistory().Add("sleeping");
    pc.character.GetHistory().Add("wakeup");
    pc.character.NotifyAction(world, "sleep");
    EXPECT_FALSE(world.IsRoomLightOn());
    pc.character.NotifyAction(world, "wakeup");
    EXPECT_EQ(s.mny, 55000u);
    EXPECT_EQ(s.bsl, 0);
    EXPECT_EQ(s.slp, 0.0f);
    EXPECT_EQ(s.app, 130.0f);
    EXPECT_FALSE(pc.character.IsTvShownToday());
    EXPECT_TRUE(world.IsRoomLightOn());
    EXPECT_EQ(pc.character.GetHistory().Last(), "");
    EXPECT_EQ(pc.character.ActionWeight("sleeping"), 1.0f);

    // Money read from a file may stand near the top of its type: held there.
    s.mny = 4294967295u - 100u;
    pc.character.NotifyAction(world, "wakeup");
    EXPECT_EQ(s.mny, 4294967295u);
}

TEST(CharacterEffects, ActionWeightFallsWithRecentUse) {
    PlanCharacter pc("weights");
    ActionHistory& h = pc.character.GetHistory();
    for (const char* name : {"a", "b", "b", "c", "c", "c", "d", "d", "d", "d", "e"})
        h.Add(name);
    struct Case {
        const char* name;
        float weight;
    };
    const Case cases[] = {{"never", 1.0f}, {"a", 0.1f}, {"b", 0.05f}, {"c", 0.02f}, {"d", 0.02f}, {"e", 0.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(pc.character.ActionWeight(c.name), c.weight) << c.name;
    h.Add("a"); // last now, whatever the count
    EXPECT_EQ(pc.character.ActionWeight("a"), 0.0f);
    EXPECT_EQ(pc.character.ActionWeight("e"), 0.1f);
}

TEST(CharacterWalking, ConsecutiveWalksCarryOnAndObstaclesAreDetoured) {
    PlanCharacter pc("walking");
    CCharacter& ch = pc.character;
    ASSERT_EQ(ch.GetPosition().x, 0.0f);
    struct Case {
        const char* previous;
        CActRequest request;
        int result;
        std::string out; // the out request, for results 1 and 2
    };
    Vec3 detour;
    ASSERT_TRUE(PlanarDetourPoint(&detour, Vec3(), Vec3(12.0f, 0.0f, -460.0f), Vec3(6.0f, 0.0f, -230.0f), 95.0f));
    const std::string detourWords = F(detour.x) + " " + F(detour.z);
    const Case cases[] = {
        {"walk", CActRequest("walk", 10.0f, 20.0f), 1, "walk 10.000000 20.000000 continue"},
        {"walkSleep00", CActRequest("walkSleep00", 10.0f, 20.0f), 1, "walkSleep00 10.000000 20.000000 continue"},
        {"walk", WithWords("walk", {"10", "20", "continue"}), 0, ""},
        {"stand", CActRequest("walk", 10.0f, 20.0f), 0, ""},
        {"walkSleep00", CActRequest("walk", 10.0f, 20.0f), 0, ""},
        {"", CActRequest("walk", 12.0f, -460.0f), 2, "walk " + detourWords},
        {"", CActRequest("walkSleep00", 12.0f, -460.0f), 2, "walkSleep00 " + detourWords},
        {"", CActRequest("walk", "12"), 0, ""},
        {"", CActRequest("stand", 12.0f, -460.0f), 0, ""},
    };
    for (const Case& c : cases) {
        CActRequest out;
        EXPECT_EQ(ch.OnRequest(out, c.previous, c.request), c.result) << c.previous << " / " << Line(c.request);
        if (c.result != 0)
            EXPECT_EQ(Line(out), c.out) << c.previous << " / " << Line(c.request);
    }
}
