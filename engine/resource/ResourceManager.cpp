#include "engine/resource/ResourceManager.h"

#include "engine/resource/Resource.h"

CResourceManager* CurrentResourceManager = nullptr;

namespace {

struct RegistryList {
    std::vector<CResourceManager*> slots;
    std::vector<int> freeSlots;
};

RegistryList& Registries() {
    static RegistryList list;
    return list;
}

MissingResourceHandler g_missingHandler = nullptr;

} // namespace

CResourceManager::CResourceManager() : m_buckets(BUCKET_COUNT) {
    RegistryList& list = Registries();
    if (!list.freeSlots.empty()) {
        m_slot = list.freeSlots.back();
        list.freeSlots.pop_back();
        list.slots[m_slot] = this;
    } else {
        m_slot = (int)list.slots.size();
        list.slots.push_back(this);
    }
}

CResourceManager::~CResourceManager() {
    ReleaseAllDeviceObjects();
    // Each deletion unlinks itself; a destructor may delete others too, so take
    // the front until the bucket is empty.
    for (auto& bucket : m_buckets)
        while (!bucket.empty())
            delete bucket.front();
    RegistryList& list = Registries();
    list.slots[m_slot] = nullptr;
    list.freeSlots.push_back(m_slot);
    if (CurrentResourceManager == this)
        CurrentResourceManager = nullptr;
}

int CResourceManager::BucketIndex(const char* name, int kind) {
    if (!IsValidResourceKind(kind))
        return -1;
    int sum = 0;
    for (const char* p = name; *p; ++p)
        sum += (signed char)*p;
    int h = sum % BUCKETS_PER_KIND;
    if (h < 0)
        h += BUCKETS_PER_KIND;
    return kind * BUCKETS_PER_KIND + h;
}

CResource* CResourceManager::Find(const char* name, int kind) const {
    int bucket = BucketIndex(name ? name : "", kind);
    if (bucket < 0)
        return nullptr;
    for (CResource* r : m_buckets[bucket])
        if (r->GetName() == (name ? name : ""))
            return r;
    return nullptr;
}

CResourceManager::BucketEntry CResourceManager::Link(CResource* resource, int bucket) {
    return m_buckets[bucket].insert(m_buckets[bucket].end(), resource);
}

void CResourceManager::Unlink(int bucket, BucketEntry entry) { m_buckets[bucket].erase(entry); }

namespace {
template <class F>
void ForEveryRegistry(F&& visit) {
    // Copy: a device callback must not invalidate the walk.
    std::vector<CResourceManager*> slots = Registries().slots;
    for (CResourceManager* registry : slots)
        if (registry)
            registry->ForEach(visit);
}
} // namespace

void ReleaseAllDeviceObjects() {
    ForEveryRegistry([](CResource* r) { r->ReleaseDeviceObjects(); });
}

void RestoreAllDeviceObjects() {
    ForEveryRegistry([](CResource* r) { r->RestoreDeviceObjects(); });
}

void SetMissingResourceHandler(MissingResourceHandler handler) { g_missingHandler = handler; }

void ReportMissingResource() {
    if (g_missingHandler)
        g_missingHandler(nullptr);
}
