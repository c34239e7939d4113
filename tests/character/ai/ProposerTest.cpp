#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "character/act/ActWait.h"
#include "character/ai/AiPlayer.h"
#include "character/ai/NeedsProposer.h"
#include "character/ai/PajamaAdjuster.h"
#include "character/ai/RoomWalkTest.h"
#include "character/ai/TvItemSource.h"
#include "character/ai/WeightedChoice.h"
#include "character/item/ItemRegistry.h"
#include "engine/math/Geometry2D.h"
#include "tests/character/ai/AiFixtures.h"

namespace {

// An AI player with a TV source: the show item and the weights are set by
// the test.
class ProposingAi : public CAiPlayer, public ITvItemSource {
public:
    ProposingAi() : CAiPlayer("proposingai", nullptr, nullptr, nullptr, 600.0f) {
        AddAction(new CActWait("queued", nullptr));
    }
    float ActionWeight(const std::string& name) override { return weights.count(name) ? weights[name] : 1.0f; }
    Vec3 GetPosition() override { return Vec3(); }
    void ExpandAction(std::vector<CActRequest>&, const std::string&) override {}
    void ChooseAction(std::string&, CWorld&) override {}
    void UpdateStats(CWorld&) override {}
    void NotifyAction(CWorld&, const std::string&) override {}
    bool IsTvShownToday() const override { return tvShown; }
    CItem* PickTvItem() override {
        ++picks;
        Rand(); // the character's pick draws when it has candidates
        return tvItem;
    }

    std::map<std::string, float> weights;
    bool tvShown = false;
    CItem* tvItem = nullptr;
    int picks = 0;
};

// Proposals over many seeds: the share of each name.
struct ProposerFixture : ::testing::Test {
    CItemRegistry items{"proposer_items"};
    CNeedsProposer proposer{&items};
    CPajamaAdjuster adjuster;
    ProposingAi ai;
    CWorld world{"proposerworld"};
    FakeSetting setting;

    static constexpr int SEEDS = 20000;

    std::map<std::string, double> Shares(bool adjust) { return Shares(proposer, adjust); }
    std::map<std::string, double> Shares(IAiProposer& from, bool adjust) {
        std::map<std::string, int> counts;
        for (int seed = 1; seed <= SEEDS; ++seed) {
            SeedRand(seed);
            std::string name = from.Evaluate(&setting, world, ai);
            if (adjust)
                name = adjuster.Evaluate(name, &setting, world, ai);
            ++counts[name];
        }
        std::map<std::string, double> shares;
        for (const auto& entry : counts)
            shares[entry.first] = (double)entry.second / SEEDS;
        return shares;
    }
    void Own(const std::string& name, FakeItem::Kind kind = FakeItem::GOODS) {
        items.Add(new FakeItem(name, kind, 1000, true));
    }
};

constexpr double SHARE_TOLERANCE = 0.01;

// The share a pick gives each name of the rows, in order. The scaled draw is
// truncated to 0..sum, so the first row also takes r = 0 (one weight unit
// more) and the last one gives up r = sum to nothing but a single draw.
std::map<std::string, double> PickShares(const std::vector<WeightedChoice::Row>& rows, double scale = 1.0) {
    double sum = 0.0;
    for (const auto& row : rows)
        sum += row.weight;
    std::map<std::string, double> shares;
    for (size_t i = 0; i < rows.size(); ++i) {
        double units = rows[i].weight + (i == 0 ? 1.0 : 0.0) - (i + 1 == rows.size() ? 1.0 : 0.0);
        shares[rows[i].name] += scale * units / sum;
    }
    return shares;
}

// Every name expected, and no other.
void ExpectShares(const std::map<std::string, double>& got, const std::map<std::string, double>& want,
                  const std::string& what) {
    for (const auto& entry : want) {
        auto it = got.find(entry.first);
        const double share = it == got.end() ? 0.0 : it->second;
        EXPECT_NEAR(share, entry.second, SHARE_TOLERANCE) << what << ": \"" << entry.first << "\"";
    }
    for (const auto& entry : got)
        EXPECT_TRUE(want.count(entry.first)) << what << ": unexpected \"" << entry.first << "\"";
}

} // namespace

TEST_F(ProposerFixture, SleepyAtTenInPyjamasProposesSleepAndTheAdjusterPassesIt) {
    SetHour(world, 22);
    ai.GetStats().slp = 70.0f;
    ai.GetStats().pajama = 1;
    ai.tvShown = true;
    ExpectShares(Shares(true), PickShares({{"sleep", 50}, {"", 15}}), "22:00 in pyjamas");
    EXPECT_EQ(ai.picks, 0) << "the show was seen: no item is picked";
}

TEST_F(ProposerFixture, SleepWithoutPyjamasComesBackAsChange) {
    SetHour(world, 22);
    ai.GetStats().slp = 70.0f;
    ai.tvShown = true;
    ExpectShares(Shares(true), PickShares({{"change", 50}, {"", 15}}), "22:00 dressed");
}

TEST_F(ProposerFixture, ShowDominatesFromNineUnlessSeenOrInTheScreenSaver) {
    FakeItem cap("cap", FakeItem::ACCESSORY);
    FakeItem ending("ending", FakeItem::ENDING, 0);
    ai.GetStats().app = 50.0f; // no meal and no bath
    SetHour(world, 21, 30);
    ai.tvItem = &cap;
    ExpectShares(Shares(false), PickShares({{"zaplenu", 1000}, {"", 15}}), "21:30");
    EXPECT_EQ(ai.picks, SEEDS);

    ai.tvItem = &ending;
    ExpectShares(Shares(false), PickShares({{"zaplenu_ed", 1000}, {"", 15}}), "21:30, the last item");

    ai.tvItem = nullptr; // nothing the show could present
    EXPECT_EQ(Shares(false)[""], 1.0);

    ai.tvItem = &cap;
    ai.picks = 0;
    setting.noSave = true;
    EXPECT_EQ(Shares(false)[""], 1.0);
    EXPECT_EQ(ai.picks, 0);
    setting.noSave = false;
    ai.tvShown = true;
    EXPECT_EQ(Shares(false)[""], 1.0);

    // Before nine the show is not offered.
    ai.tvShown = false;
    SetHour(world, 20, 59);
    EXPECT_EQ(Shares(false)[""], 1.0);
    EXPECT_EQ(ai.picks, 0);
}

TEST_F(ProposerFixture, AsleepInTheMorningWakesUpOrSleepsOn) {
    ai.GetStats().bsl = 1;
    ai.GetStats().slp = 30.0f;
    SetHour(world, 7);
    ExpectShares(Shares(false), PickShares({{"resleep", 10}, {"wakeup", 50}}), "07:00");

    SetHour(world, 11);
    EXPECT_EQ(Shares(false)["wakeup"], 1.0);

    // Still sleepy, or at noon: sleeping on.
    SetHour(world, 7);
    ai.GetStats().slp = 50.0f;
    EXPECT_EQ(Shares(false)["sleeping"], 1.0);
    ai.GetStats().slp = 30.0f;
    SetHour(world, 12);
    EXPECT_EQ(Shares(false)["sleeping"], 1.0);
}

TEST_F(ProposerFixture, AsleepAfterSleepingMovesInHerSleep) {
    ai.GetStats().bsl = 1;
    ai.GetStats().slp = 90.0f;
    SetHour(world, 1);
    ai.GetHistory().Add("sleeping");
    FakeItem* bexla = new FakeItem("bexlaMimi", FakeItem::ACCESSORY, 1000, true);
    bexla->worn = true;
    items.Add(bexla);
    Own("houchou");
    ai.weights["houchou"] = 0.1f; // weight 40 × 0.1 = 4
    ExpectShares(
        Shares(false),
        PickShares(
            {{"sleeping", 100}, {"sleepingmove", 80}, {"halfsleeping", 40}, {"osageBexla", 1000}, {"houchou", 4}}),
        "01:00 after sleeping");

    // After three the only moves are turning over and sleeping on.
    SetHour(world, 3);
    ExpectShares(Shares(false), PickShares({{"sleeping", 100}, {"sleepingmove", 80}}), "03:00 after sleeping");

    // The pigtail game only while the ears are worn and it was never chosen.
    SetHour(world, 1);
    bexla->worn = false;
    EXPECT_EQ(Shares(false).count("osageBexla"), 0u);
    bexla->worn = true;
    ai.weights["osageBexla"] = 0.1f;
    EXPECT_EQ(Shares(false).count("osageBexla"), 0u);

    // Without "sleeping" last, only sleeping on.
    ai.GetHistory().Add("sleepingmove");
    EXPECT_EQ(Shares(false)["sleeping"], 1.0);
}

TEST_F(ProposerFixture, QueuedRequestsSilenceTheProposer) {
    SetHour(world, 22);
    ai.GetStats().slp = 70.0f;
    ai.GetStats().pajama = 1;
    ai.tvShown = true;
    ai.Request(CActRequest("queued", "1000t"));
    ai.Request(CActRequest("queued", "1000t"));
    for (unsigned seed : {1u, 2u, 77u}) {
        SeedRand(seed);
        const int next = Rand();
        SeedRand(seed);
        EXPECT_EQ(proposer.Evaluate(&setting, world, ai), "");
        EXPECT_EQ(Rand(), next) << "no draw with two queued";
    }

    // One queued: only one time in five does it go on to its rows.
    ai.Reset();
    ai.Request(CActRequest("queued", "1000t"));
    auto one = PickShares({{"sleep", 50}, {"", 15}}, 0.2);
    one[""] += 0.8;
    ExpectShares(Shares(false), one, "one queued");
}

TEST_F(ProposerFixture, GoodsRowsFollowNeedsHoursAndRecentUse) {
    struct Case {
        const char* item;
        int hour;
        float slp, app, sex;
        float weight;  // ActionWeight of the row's name
        int rowWeight; // the row's weight behind the empty row's 15, 0 for none
    };
    const Case cases[] = {
        {"punchingBag", 13, 0.0f, 40.0f, 10.0f, 1.0f, 30},
        {"punchingBag", 13, 0.0f, 50.0f, 10.0f, 1.0f, 0}, // app not below 50
        {"punchingBag", 13, 0.0f, 40.0f, 10.0f, 0.1f, 3},
        {"punchingBag", 13, 0.0f, 40.0f, 10.0f, 0.02f, 0}, // 30 × 0.02 truncates to 0
        {"bodyBlade", 13, 0.0f, 29.0f, 0.0f, 1.0f, 20},
        {"lightSaber", 13, 0.0f, 59.0f, 11.0f, 1.0f, 40},
        {"lightSaber", 13, 0.0f, 59.0f, 10.0f, 1.0f, 0},
        {"segway", 13, 31.0f, 55.0f, 0.0f, 1.0f, 30},
        {"domohornWinkle", 13, 0.0f, 55.0f, 21.0f, 1.0f, 10},
        {"bodyVac", 20, 0.0f, 55.0f, 11.0f, 1.0f, 30},
        {"bodyVac", 19, 0.0f, 55.0f, 11.0f, 1.0f, 0},
        {"bodyVibrator", 13, 0.0f, 51.0f, 0.0f, 1.0f, 20},
        {"teleporter", 13, 0.0f, 55.0f, 21.0f, 1.0f, 30},
        {"conga", 15, 0.0f, 49.0f, 0.0f, 1.0f, 20},
        {"conga", 14, 0.0f, 49.0f, 0.0f, 1.0f, 0},
        {"senpuki", 17, 31.0f, 55.0f, 0.0f, 1.0f, 20},
        {"kotatsu", 10, 21.0f, 55.0f, 0.0f, 1.0f, 40},
        {"kotatsu", 20, 21.0f, 55.0f, 0.0f, 1.0f, 0},
    };
    for (const Case& c : cases) {
        CItemRegistry owned("goods_items");
        owned.Add(new FakeItem(c.item, FakeItem::GOODS, 1000, true));
        CNeedsProposer withGoods(&owned);
        ai.weights.clear();
        ai.weights[c.item] = c.weight;
        SetHour(world, c.hour);
        ai.GetStats().slp = c.slp;
        ai.GetStats().app = c.app;
        ai.GetStats().sex = c.sex;
        std::vector<WeightedChoice::Row> rows{{"", 15}};
        if (c.rowWeight > 0)
            rows.push_back({c.item, c.rowWeight});
        ExpectShares(Shares(withGoods, false), PickShares(rows), std::string(c.item) + " at " + std::to_string(c.hour));
    }
}

TEST_F(ProposerFixture, MealsByTheHour) {
    struct Case {
        int hour;
        float app;
        const char* name;
        int weight; // 0: no row
    };
    const Case cases[] = {
        {9, 61.0f, "eat", 200}, {10, 61.0f, "eat", 200}, {11, 61.0f, "eat", 0},
        {13, 61.0f, "eat", 50}, {19, 61.0f, "eat", 140}, {21, 61.0f, "eat", 0},
        {9, 60.0f, "eat", 0},   {19, 29.0f, "furo", 10}, {21, 29.0f, "furo", 0},
    };
    ai.tvShown = true;
    for (const Case& c : cases) {
        SetHour(world, c.hour);
        ai.GetStats().app = c.app;
        std::vector<WeightedChoice::Row> rows;
        if (c.weight > 0)
            rows.push_back({c.name, c.weight});
        rows.push_back({"", 15});
        ExpectShares(Shares(false), PickShares(rows), std::string(c.name) + " at " + std::to_string(c.hour));
    }
}

TEST_F(ProposerFixture, MilkOrIceCreamByOneDraw) {
    for (const char* name : {"kotatsu", "reizouko", "milk", "iceCream"})
        Own(name);
    ai.GetStats().app = 40.0f;
    SetHour(world, 13); // both allowed; the kotatsu row needs slp above 20
    // Half the time the milk row (20 behind the empty 15), half the ice cream row.
    auto milk = PickShares({{"", 15}, {"milk", 20}}, 0.5);
    auto ice = PickShares({{"", 15}, {"iceCream", 20}}, 0.5);
    ExpectShares(Shares(false), {{"", milk[""] + ice[""]}, {"milk", milk["milk"]}, {"iceCream", ice["iceCream"]}},
                 "13:00");
    SetHour(world, 16); // milk only before three
    ExpectShares(Shares(false), {{"", 0.5 + ice[""]}, {"iceCream", ice["iceCream"]}}, "16:00");
}

TEST(PajamaAdjuster, ReplacesOnlyWhatTheClothesForbid) {
    struct Case {
        const char* proposal;
        int hour;
        bool pajama;
        const char* want;
    };
    const Case cases[] = {
        {"", 22, false, ""},        {"sleep", 22, false, "change"}, {"sleep", 22, true, "sleep"},
        {"eat", 9, true, "change"}, {"eat", 14, true, "change"},    {"eat", 15, true, "eat"},
        {"eat", 8, true, "eat"},    {"eat", 12, false, "eat"},      {"dance", 12, true, "dance"},
    };
    ProposingAi ai;
    CWorld world("adjusterworld");
    CPajamaAdjuster adjuster;
    for (const Case& c : cases) {
        SetHour(world, c.hour);
        ai.GetStats().pajama = c.pajama ? 1 : 0;
        SeedRand(7);
        EXPECT_EQ(adjuster.Evaluate(c.proposal, nullptr, world, ai), c.want) << c.proposal << " at " << c.hour;
    }
}

TEST(RoomWalkTest, DetoursRoundTheObstaclesInOrder) {
    CItemRegistry items("walktest_items");
    CRoomWalkTest test(&items);
    Vec3 detour(1.0f, 2.0f, 3.0f);
    const Vec3 from(-400.0f, 0.0f, -45.0f), to(-100.0f, 0.0f, -45.0f);
    Vec3 want;
    ASSERT_TRUE(PlanarDetourPoint(&want, from, to, Vec3(-260.0f, 0.0f, -45.0f), 40.0f));
    EXPECT_TRUE(test.Test(detour, from, to));
    EXPECT_EQ(detour.x, want.x);
    EXPECT_EQ(detour.z, want.z);

    // The kotatsu stands in the way only while she owns it.
    const Vec3 a(-150.0f, 0.0f, 10.0f), b(150.0f, 0.0f, 10.0f);
    EXPECT_FALSE(test.Test(detour, a, b));
    FakeItem* kotatsu = new FakeItem("kotatsu", FakeItem::GOODS, 1000, true);
    items.Add(kotatsu);
    ASSERT_TRUE(PlanarDetourPoint(&want, a, b, Vec3(0.0f, 0.0f, 0.0f), 80.0f));
    EXPECT_TRUE(test.Test(detour, a, b));
    EXPECT_EQ(detour.x, want.x);
    EXPECT_EQ(detour.z, want.z);
    kotatsu->SetOwned(false);
    EXPECT_FALSE(test.Test(detour, a, b));

    // The third obstacle.
    const Vec3 c(-150.0f, 0.0f, -230.0f), d(200.0f, 0.0f, -240.0f);
    ASSERT_TRUE(PlanarDetourPoint(&want, c, d, Vec3(6.0f, 0.0f, -230.0f), 95.0f));
    EXPECT_TRUE(test.Test(detour, c, d));
    EXPECT_EQ(detour.x, want.x);
    EXPECT_EQ(detour.z, want.z);

    // A free way.
    EXPECT_FALSE(test.Test(detour, Vec3(100.0f, 0.0f, 200.0f), Vec3(300.0f, 0.0f, 200.0f)));
}

TEST(RoomWalkTest, NeverSendsAWalkTowardsNaN) {
    CItemRegistry items("walknan_items");
    CRoomWalkTest test(&items);
    const float nan = std::nanf("");
    Vec3 detour(5.0f, 0.0f, 5.0f);
    // Straight through the centre of the second obstacle: a finite detour.
    EXPECT_TRUE(test.Test(detour, Vec3(-400.0f, 0.0f, -45.0f), Vec3(-100.0f, 0.0f, -45.0f)));
    detour = Vec3(5.0f, 0.0f, 5.0f);
    EXPECT_TRUE(test.Test(detour, Vec3(-260.0f, 0.0f, -200.0f), Vec3(-260.0f, 0.0f, 100.0f)));
    EXPECT_TRUE(std::isfinite(detour.x) && std::isfinite(detour.z));
    EXPECT_NEAR(std::hypot(detour.x + 260.0f, detour.z + 45.0f), 48.0f, 0.01f);

    const Vec3 bad[][2] = {
        {Vec3(nan, 0.0f, -45.0f), Vec3(-100.0f, 0.0f, -45.0f)},
        {Vec3(-400.0f, 0.0f, -45.0f), Vec3(-100.0f, 0.0f, nan)},
        {Vec3(-400.0f, 0.0f, -45.0f), Vec3(INFINITY, 0.0f, -45.0f)},
    };
    for (const auto& way : bad) {
        detour = Vec3(5.0f, 0.0f, 5.0f);
        EXPECT_FALSE(test.Test(detour, way[0], way[1]));
        EXPECT_EQ(detour.x, 5.0f);
    }
}
