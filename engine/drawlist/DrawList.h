#pragma once
#include <vector>

#include "engine/math/Color.h"
#include "engine/math/Matrix.h"
#include "engine/resource/Handle.h"

class CNode;
class CShape;
class CCameraResource;
class CTexture;

// The per-frame render queue of one scene. While a scene tree is walked each
// visible shape queues itself with its world matrix and the camera of that
// walk, sorted into depth buckets; rendering draws the opaque buckets front
// to back with depth writes, then the translucent ones back to front without.
// Skinned shaders push their bone matrices into the list while queueing.
// The owner (the render manager) keeps its lists for the whole run; every
// array is allocated once at construction.
class CDrawList {
public:
    static constexpr int TABLE_SLOTS = 16;

    struct Camera {
        CMatrix projection;
        CMatrix view;
        float farDistance = 1.0f;
        float eye[3] = {0, 0, 0};
    };
    struct Item {
        CMatrix world;
        CHandle shape;
        int camera = 0;
        int firstExtraMatrix = -1;
        ColorRGBA colour{0.8f, 0.8f, 0.8f, 0.0f};
    };

    // Takes the slot in the draw-list table (a slot outside 0-15, or one
    // already taken, leaves the list out of the table).
    CDrawList(int slot, int itemCapacity, int extraMatrixCapacity, int cameraCapacity, int bucketCount);
    virtual ~CDrawList();

    virtual void Render() = 0;

    // Queues a scene tree under the camera; answers the camera count after
    // the call.
    int AddTree(CNode* root, CCameraResource* camera, bool newCamera);
    // Called by CShape::Render; the item index, or -1 when not queued.
    int AddShape(CShape& shape);
    // False (and nothing stored) when the array is full.
    bool PushMatrix(const CMatrix& matrix);
    // Identity for an index outside what was pushed.
    const CMatrix& GetMatrix(int index) const;
    int GetExtraMatrixCount() const { return m_extraMatrixCount; }
    void SetItemFirstMatrix(int item, int first);
    // The view of the camera record being filled (the one at the camera count).
    const CMatrix& GetCameraView() const;

    // Where the skinned shaders read their palette: set from each item before
    // its pass; each shader's Apply reads from it and advances it.
    int GetPaletteCursor() const { return m_paletteCursor; }
    void AdvancePaletteCursor(int count) { m_paletteCursor += count; }

    void SetPreDrawCallback(void (*callback)()) { m_preDraw = callback; }
    void SetPostDrawCallback(void (*callback)()) { m_postDraw = callback; }

    int GetSlot() const { return m_slot; }
    int GetItemCount() const { return m_itemCount; }
    int GetCameraCount() const { return m_cameraCount; }
    int GetBucketCount() const { return m_bucketCount; }
    const Item& GetItem(int i) const { return m_items[i]; }
    const Camera& GetCamera(int i) const { return m_cameras[i]; }
    // Bucket rows, for inspection: the item indices queued into a bucket, in
    // the order they were queued.
    std::vector<int> GetOpaqueBucket(int b) const { return BucketRow(m_opaque, b); }
    std::vector<int> GetTranslucentBucket(int b) const { return BucketRow(m_translucent, b); }
    CHandle GetDrawListHandle() const { return m_handle; }

    CDrawList(const CDrawList&) = delete;
    CDrawList& operator=(const CDrawList&) = delete;

protected:
    // Draws the queued work as described above and empties the list.
    void DrawBuckets();

    CTexture* m_offscreenTarget = nullptr;
    void (*m_preDraw)() = nullptr;
    void (*m_postDraw)() = nullptr;

private:
    // One queued item of one pass: an item is queued at most once opaque and
    // once translucent, so each queue holds at most the item capacity.
    struct Queued {
        int bucket;
        int item;
    };
    static std::vector<int> BucketRow(const std::vector<Queued>& queue, int bucket);
    // Orders a queue by bucket, keeping the queued order within a bucket
    // (a counting sort into m_order).
    void SortByBucket(const std::vector<Queued>& queue);

    CHandle m_handle;
    int m_slot;
    int m_itemCount = 0;
    int m_extraMatrixCount = 0;
    int m_cameraCount = 0;
    int m_itemCapacity;
    int m_extraMatrixCapacity;
    int m_cameraCapacity;
    int m_bucketCount;
    std::vector<Item> m_items;
    std::vector<CMatrix> m_extraMatrices;
    std::vector<Camera> m_cameras;
    // Reserved to item capacity at construction; cleared after drawing.
    std::vector<Queued> m_opaque;
    std::vector<Queued> m_translucent;
    std::vector<int> m_bucketStarts;
    std::vector<int> m_order;
    int m_paletteCursor = 0;
};

// A scene's draw list in the draw-list table.
class CSceneDrawList : public CDrawList {
public:
    using CDrawList::CDrawList;
    void Render() override;
};

HandleTable<CDrawList>& DrawListHandles();

// The list whose tree walk is running or which is rendering; null otherwise.
CDrawList* GetCurrentDrawList();
void SetCurrentDrawList(CDrawList* list);
CDrawList* GetDrawListInSlot(int slot);

// Every table slot's list in order, then the spring system's per-frame reset.
// The frame loop calls it once a pass (through the renderer's draw-list hook).
void RenderAllDrawLists();
// Gives the renderer its draw-list hook.
void InstallDrawListHooks();

// Process-wide colours: the colour of the billboard being drawn, and the
// material ambient that a shader's Apply sets and the ambient light's upload
// adds into c80 and then clears. Both start at (0.8, 0.8, 0.8, 0).
ColorRGBA& BillboardColor();
ColorRGBA& MaterialAmbient();
