#pragma once
#include <list>
#include <string>

#include "engine/resource/Handle.h"
#include "engine/resource/ResourceKind.h"

class CResourceManager;

// Base of every loaded or generated engine object that is found by name and
// kind. A resource joins the registry that is current when it is built and is
// owned by it: the registry deletes whatever is still registered when it goes.
// Others refer to a resource by its handle.
class CResource {
public:
    CResource(const char* name, int kind);
    virtual ~CResource();

    // The handle of this resource's channel for an animation attribute; none here.
    virtual CHandle GetChannel(int attribute);
    virtual void RestoreDeviceObjects();
    virtual void ReleaseDeviceObjects();

    CHandle GetHandle() const { return m_handle; }
    int GetKind() const { return m_kind; }
    const std::string& GetName() const { return m_name; }
    CResourceManager* GetRegistry() const { return m_registry; }

    CResource(const CResource&) = delete;
    CResource& operator=(const CResource&) = delete;

private:
    CHandle m_handle;
    int m_kind;
    std::string m_name;
    // Null when no registry was current or the kind is outside the table: such
    // a resource is not findable and belongs to whoever made it.
    CResourceManager* m_registry;
    // Where this resource sits in the registry: its bucket and its entry there.
    int m_bucket;
    std::list<CResource*>::iterator m_bucketEntry;
};

// The family table of every resource.
HandleTable<CResource>& ResourceHandles();
