#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/resource/Resource.h"
#include "engine/resource/ResourceManager.h"

namespace {

// Records device calls and its own destruction.
struct Probe : CResource {
    Probe(const char* name, int kind, std::vector<std::string>* log) : CResource(name, kind), log(log) {}
    ~Probe() override { log->push_back("delete " + GetName()); }
    void ReleaseDeviceObjects() override { log->push_back("release " + GetName()); }
    void RestoreDeviceObjects() override { log->push_back("restore " + GetName()); }
    std::vector<std::string>* log;
};

struct Registry : ::testing::Test {
    void SetUp() override {
        saved = CurrentResourceManager;
        CurrentResourceManager = &registry;
    }
    void TearDown() override { CurrentResourceManager = saved; }
    CResourceManager* saved = nullptr;
    std::vector<std::string> log; // outlives the registry, which logs as it deletes
    CResourceManager registry;
};

TEST(HandleTable, StalenessAndLastFreedFirstReuse) {
    HandleTable<int> table;
    int a = 1, b = 2, c = 3, d = 4;
    CHandle ha = table.Register(&a, 11);
    CHandle hb = table.Register(&b);
    CHandle hc = table.Register(&c);
    EXPECT_EQ(ha.index, 0);
    EXPECT_EQ(ha.generation, 2);
    EXPECT_EQ(hc.generation, 4);
    EXPECT_EQ(table.Resolve(ha), &a);
    EXPECT_EQ(table.Extra(ha), 11u);
    // The null handle never resolves, even with an object at index 0.
    EXPECT_EQ(table.Resolve(NULL_HANDLE), nullptr);

    table.Release(ha.index);
    table.Release(hc.index);
    table.Release(hc.index); // a second release must not enter the index twice
    EXPECT_EQ(table.Resolve(ha), nullptr);
    CHandle hd = table.Register(&d);
    EXPECT_EQ(hd.index, hc.index); // last freed first
    EXPECT_EQ(table.Resolve(hc), nullptr);
    EXPECT_EQ(table.Resolve(hd), &d);
    CHandle he = table.Register(&a);
    EXPECT_EQ(he.index, ha.index);
    CHandle hf = table.Register(&c);
    EXPECT_EQ(hf.index, 3); // free stack empty: a new index
    EXPECT_EQ(table.Resolve(hb), &b);
    EXPECT_EQ(table.Resolve({-1, 2}), nullptr);
    EXPECT_EQ(table.Resolve({99, 2}), nullptr);
}

TEST_F(Registry, FindAnswersOldestOfDuplicatesThenTheNext) {
    Probe* older = new Probe("box", RT_SHAPE, &log);
    Probe* younger = new Probe("box", RT_SHAPE, &log);
    Probe* other = new Probe("box", RT_GEOMETRY, &log);
    EXPECT_EQ(registry.Find("box", RT_SHAPE), older);
    EXPECT_EQ(registry.Find("box", RT_GEOMETRY), other);
    EXPECT_EQ(registry.Find("box", RT_TEXTURE), nullptr);
    EXPECT_EQ(registry.Find("bo", RT_SHAPE), nullptr);
    CHandle h = older->GetHandle();
    delete older;
    EXPECT_EQ(registry.Find("box", RT_SHAPE), younger);
    EXPECT_EQ(ResourceHandles().Resolve(h), nullptr);
    // A stale handle stays dead after its index goes to a new resource.
    Probe* reuse = new Probe("n", RT_SHAPE, &log);
    EXPECT_EQ(reuse->GetHandle().index, h.index);
    EXPECT_EQ(ResourceHandles().Resolve(h), nullptr);
    EXPECT_EQ(ResourceHandles().Resolve(reuse->GetHandle()), reuse);
}

TEST(ResourceBucket, NameHashStaysInsideItsKindRow) {
    struct Case {
        const char* name;
        int kind;
        int bucket;
    } cases[] = {
        {"", RT_GEOMETRY, 0},
        {"", RT_BONE, 11 * 1024},
        {"A", RT_SHADER, 1024 + 65},
        {"\x80", RT_SHAPE, 2 * 1024 + 1024 - 128}, // -128
        {"\xff\xff", RT_TEXTURE, 3 * 1024 + 1022}, // -2
        {"\x80\x80\x80\x80\x80\x80\x80\x80\x80", RT_TRANSFORM, 4 * 1024 + (1024 - (9 * 128) % 1024) % 1024},
        {"", 12, 12 * 1024},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CResourceManager::BucketIndex(c.name, c.kind), c.bucket) << c.name;
    EXPECT_EQ(CResourceManager::BucketIndex("x", -1), -1);
    EXPECT_EQ(CResourceManager::BucketIndex("x", 13), -1);
    EXPECT_EQ(CResourceManager::BucketIndex("x", 1 << 30), -1);
}

TEST_F(Registry, HighByteNamesAndBadKindsAreSafe) {
    Probe* high = new Probe("\x82\xa0\x82\xa2", RT_TEXTURE, &log);
    EXPECT_EQ(registry.Find("\x82\xa0\x82\xa2", RT_TEXTURE), high);
    // A kind outside the rows (it can come from a file) is neither linked nor found.
    Probe* bad = new Probe("bad", 40, &log);
    EXPECT_EQ(bad->GetRegistry(), nullptr);
    EXPECT_EQ(registry.Find("bad", 40), nullptr);
    EXPECT_EQ(registry.Find("bad", -5), nullptr);
    delete bad;
}

TEST(ResourceWithoutRegistry, IsMadeUnregistered) {
    CResourceManager* saved = CurrentResourceManager;
    CurrentResourceManager = nullptr;
    std::vector<std::string> log;
    Probe* loose = new Probe("loose", RT_SHAPE, &log);
    EXPECT_EQ(loose->GetRegistry(), nullptr);
    EXPECT_EQ(ResourceHandles().Resolve(loose->GetHandle()), loose);
    delete loose;
    CurrentResourceManager = saved;
}

TEST(ResourceRegistry, DestroyDeletesEverythingIncludingSharedBuckets) {
    std::vector<std::string> log;
    CResourceManager* saved = CurrentResourceManager;
    auto* registry = new CResourceManager;
    CurrentResourceManager = registry;
    // "ab" and "ba" share a bucket, as do the three duplicates.
    new Probe("ab", RT_SHAPE, &log);
    new Probe("ba", RT_SHAPE, &log);
    new Probe("dup", RT_BONE, &log);
    new Probe("dup", RT_BONE, &log);
    new Probe("dup", RT_BONE, &log);
    delete registry;
    EXPECT_EQ(CurrentResourceManager, nullptr);
    CurrentResourceManager = saved;
    int releases = 0, deletes = 0;
    for (const std::string& line : log) {
        releases += line.rfind("release", 0) == 0;
        deletes += line.rfind("delete", 0) == 0;
    }
    EXPECT_EQ(releases, 5); // device objects go before the objects
    EXPECT_EQ(deletes, 5);
    EXPECT_EQ(log.front().rfind("release", 0), 0u);
}

TEST_F(Registry, UnlinkingFromTheMiddleKeepsFindOrder) {
    // Five of one name and two others that share their bucket ("ab", "ba").
    std::vector<Probe*> dup;
    for (int i = 0; i < 5; ++i)
        dup.push_back(new Probe("dup", RT_SHAPE, &log));
    Probe* ab = new Probe("ab", RT_SHAPE, &log);
    Probe* ba = new Probe("ba", RT_SHAPE, &log);
    ASSERT_EQ(CResourceManager::BucketIndex("ab", RT_SHAPE), CResourceManager::BucketIndex("ba", RT_SHAPE));
    delete dup[2];
    delete dup[3];
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), dup[0]);
    delete dup[0];
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), dup[1]);
    delete dup[1];
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), dup[4]);
    delete ab;
    EXPECT_EQ(registry.Find("ba", RT_SHAPE), ba);
    EXPECT_EQ(registry.Find("ab", RT_SHAPE), nullptr);
    Probe* later = new Probe("dup", RT_SHAPE, &log);
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), dup[4]);
    delete dup[4];
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), later);
    delete later;
    EXPECT_EQ(registry.Find("dup", RT_SHAPE), nullptr);
}

// Each unlinking takes constant time: forty thousand resources of one name,
// half deleted from the middle outwards and the rest with the registry, take
// a small part of a second (a walk of the bucket at each unlinking takes
// several seconds).
TEST(ResourceRegistry, CrowdedBucketIsDestroyedQuickly) {
    CResourceManager* saved = CurrentResourceManager;
    auto* registry = new CResourceManager;
    CurrentResourceManager = registry;
    const int count = 40000;
    std::vector<CResource*> crowd;
    crowd.reserve(count);
    for (int i = 0; i < count; ++i)
        crowd.push_back(new CResource("crowd", RT_TEXTURE));
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count / 4; ++i) {
        delete crowd[count / 2 + i];
        delete crowd[count / 2 - 1 - i];
    }
    EXPECT_EQ(registry->Find("crowd", RT_TEXTURE), crowd[0]);
    delete crowd[0];
    EXPECT_EQ(registry->Find("crowd", RT_TEXTURE), crowd[1]);
    delete registry;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    CurrentResourceManager = saved;
}

TEST_F(Registry, DeviceWalksReachEveryRegistryInBucketOrder) {
    CResourceManager* second = new CResourceManager;
    new Probe("b", RT_GEOMETRY, &log); // into the fixture's registry
    CurrentResourceManager = second;
    new Probe("a", RT_SHADER, &log);
    CurrentResourceManager = &registry;
    new Probe("c", RT_GEOMETRY, &log);
    log.clear();
    RestoreAllDeviceObjects();
    std::vector<std::string> want = {"restore b", "restore c", "restore a"};
    EXPECT_EQ(log, want);
    delete second;
}

TEST(ResourceRegistry, FreedRegistrySlotIsReusedOnce) {
    // Each registry walks before its own slot; observe reuse through walk order.
    std::vector<std::string> log;
    CResourceManager* saved = CurrentResourceManager;
    auto* first = new CResourceManager;
    auto* keep = new CResourceManager;
    CurrentResourceManager = keep;
    new Probe("keep", RT_GEOMETRY, &log);
    delete first;
    auto* second = new CResourceManager; // takes first's slot, ahead of keep
    auto* third = new CResourceManager;  // a new slot after keep
    CurrentResourceManager = second;
    new Probe("second", RT_GEOMETRY, &log);
    CurrentResourceManager = third;
    new Probe("third", RT_GEOMETRY, &log);
    log.clear();
    ReleaseAllDeviceObjects();
    std::vector<std::string> want = {"release second", "release keep", "release third"};
    EXPECT_EQ(log, want);
    delete third;
    delete second;
    delete keep;
    CurrentResourceManager = saved;
}

int g_missingCalls = 0;
void CountMissing(void* arg) {
    EXPECT_EQ(arg, nullptr);
    ++g_missingCalls;
}

TEST(MissingResource, CallbackIsSettableAndRemovable) {
    g_missingCalls = 0;
    ReportMissingResource(); // none installed: nothing happens
    SetMissingResourceHandler(CountMissing);
    ReportMissingResource();
    ReportMissingResource();
    SetMissingResourceHandler(nullptr);
    ReportMissingResource();
    EXPECT_EQ(g_missingCalls, 2);
}

} // namespace
