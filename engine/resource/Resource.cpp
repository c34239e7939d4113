#include "engine/resource/Resource.h"

#include "engine/resource/ResourceManager.h"

HandleTable<CResource>& ResourceHandles() {
    static HandleTable<CResource> table;
    return table;
}

CResource::CResource(const char* name, int kind)
    : m_kind(kind),
      m_name(name ? name : ""),
      m_registry(nullptr),
      m_bucket(-1) {
    m_handle = ResourceHandles().Register(this);
    int bucket = CResourceManager::BucketIndex(m_name.c_str(), kind);
    if (CurrentResourceManager && bucket >= 0) {
        m_registry = CurrentResourceManager;
        m_bucket = bucket;
        m_bucketEntry = m_registry->Link(this, bucket);
    }
}

CResource::~CResource() {
    if (m_registry)
        m_registry->Unlink(m_bucket, m_bucketEntry);
    ResourceHandles().Release(m_handle.index);
}

CHandle CResource::GetChannel(int) { return NULL_HANDLE; }

void CResource::RestoreDeviceObjects() {}

void CResource::ReleaseDeviceObjects() {}
