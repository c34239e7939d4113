#pragma once
#include <list>
#include <vector>

#include "engine/resource/ResourceKind.h"

class CResource;

// The registry of named resources: one row of name-hash buckets per kind. It
// owns what is registered in it and deletes it when destroyed. Every registry
// is entered in a process-wide list so that device loss reaches all resources.
class CResourceManager {
public:
    static constexpr int BUCKETS_PER_KIND = 1024;
    static constexpr int BUCKET_COUNT = RESOURCE_KIND_ROWS * BUCKETS_PER_KIND;

    CResourceManager();
    virtual ~CResourceManager();

    // Of several resources with the same name and kind, the one registered first.
    CResource* Find(const char* name, int kind) const;

    // Bucket of (name, kind), or -1 for a kind outside the rows.
    static int BucketIndex(const char* name, int kind);

    // Used by CResource only. Link appends to the bucket and answers the
    // entry, which the resource keeps so that Unlink takes constant time
    // however crowded the bucket.
    using BucketEntry = std::list<CResource*>::iterator;
    BucketEntry Link(CResource* resource, int bucket);
    void Unlink(int bucket, BucketEntry entry);

    // Visits every resource in bucket order, then list order.
    template <class F>
    void ForEach(F&& visit) const {
        for (const auto& bucket : m_buckets)
            for (CResource* r : bucket)
                visit(r);
    }

    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

private:
    std::vector<std::list<CResource*>> m_buckets;
    int m_slot;
};

// The registry that new resources join.
extern CResourceManager* CurrentResourceManager;

// Walk every registry, kind and bucket, around a device reset.
void ReleaseAllDeviceObjects();
void RestoreAllDeviceObjects();

// Called by loaders when a record names something that cannot be found.
using MissingResourceHandler = void (*)(void*);
void SetMissingResourceHandler(MissingResourceHandler handler);
void ReportMissingResource();
