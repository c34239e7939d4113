#include "engine/drawlist/DrawList.h"

#include <windows.h>
#include <d3d8.h>

#include <algorithm>
#include <cmath>

#include "engine/camera/CameraResource.h"
#include "engine/geometry/Shape.h"
#include "engine/math/Vec3.h"
#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/spring/ColliderList.h"
#include "engine/spring/SpringGravity.h"

namespace {

CDrawList* g_table[CDrawList::TABLE_SLOTS] = {};
CDrawList* g_current = nullptr;

const CMatrix& Identity() {
    static const CMatrix identity;
    return identity;
}

// A bucket from its unclamped position: truncated toward zero, then clamped to
// the table. Works in floats so that a huge, infinite or undefined position
// (a zero far distance) still lands in a bucket.
int ClampBucket(float truncated, int buckets) {
    if (!(truncated > 0.0f))
        return 0;
    if (truncated >= (float)(buckets - 1))
        return buckets - 1;
    return (int)truncated;
}

} // namespace

HandleTable<CDrawList>& DrawListHandles() {
    static HandleTable<CDrawList> table;
    return table;
}

CDrawList* GetCurrentDrawList() { return g_current; }
void SetCurrentDrawList(CDrawList* list) { g_current = list; }

CDrawList* GetDrawListInSlot(int slot) { return slot >= 0 && slot < CDrawList::TABLE_SLOTS ? g_table[slot] : nullptr; }

CDrawList::CDrawList(int slot, int itemCapacity, int extraMatrixCapacity, int cameraCapacity, int bucketCount)
    : m_slot(-1),
      m_itemCapacity(itemCapacity > 0 ? itemCapacity : 0),
      m_extraMatrixCapacity(extraMatrixCapacity > 0 ? extraMatrixCapacity : 0),
      m_cameraCapacity(cameraCapacity > 0 ? cameraCapacity : 0),
      m_bucketCount(bucketCount > 0 ? bucketCount : 1) {
    m_handle = DrawListHandles().Register(this);
    if (slot >= 0 && slot < TABLE_SLOTS && !g_table[slot]) {
        g_table[slot] = this;
        m_slot = slot;
    }
    // Every record starts defined: an item drawn against a camera record that
    // no opening call filled gets identity matrices, not leftovers.
    m_items.resize(m_itemCapacity);
    m_extraMatrices.resize(m_extraMatrixCapacity);
    m_cameras.resize(m_cameraCapacity);
    m_opaque.reserve(m_itemCapacity);
    m_translucent.reserve(m_itemCapacity);
    m_bucketStarts.resize(m_bucketCount + 1);
    m_order.resize(m_itemCapacity);
}

std::vector<int> CDrawList::BucketRow(const std::vector<Queued>& queue, int bucket) {
    std::vector<int> row;
    for (const Queued& queued : queue)
        if (queued.bucket == bucket)
            row.push_back(queued.item);
    return row;
}

void CDrawList::SortByBucket(const std::vector<Queued>& queue) {
    std::fill(m_bucketStarts.begin(), m_bucketStarts.end(), 0);
    for (const Queued& queued : queue)
        ++m_bucketStarts[queued.bucket + 1];
    for (int b = 0; b < m_bucketCount; ++b)
        m_bucketStarts[b + 1] += m_bucketStarts[b];
    for (const Queued& queued : queue)
        m_order[m_bucketStarts[queued.bucket]++] = queued.item;
}

CDrawList::~CDrawList() {
    if (m_slot >= 0 && g_table[m_slot] == this)
        g_table[m_slot] = nullptr;
    if (g_current == this)
        g_current = nullptr;
    DrawListHandles().Release(m_handle.index);
}

int CDrawList::AddTree(CNode* root, CCameraResource* camera, bool newCamera) {
    CRenderer* renderer = CRenderer::Current();
    bool opening = renderer && renderer->IsFirstUpdate() && (m_cameraCount == 0 || newCamera);
    // A full camera array opens nothing; the shapes of this walk are then not
    // queued (AddShape refuses them), rather than written past the end.
    if (opening && m_cameraCount >= m_cameraCapacity)
        opening = false;
    if (opening) {
        Camera& record = m_cameras[m_cameraCount];
        if (camera) {
            record.view = camera->GetViewMatrix();
            record.projection = camera->GetProjection();
            record.farDistance = camera->GetFarDistance();
        } else {
            record = Camera();
        }
        CMatrix inverse;
        record.view.GetInverse(inverse);
        record.eye[0] = inverse(3, 0);
        record.eye[1] = inverse(3, 1);
        record.eye[2] = inverse(3, 2);
    }
    g_current = this;
    if (root)
        root->RenderTree();
    if (opening)
        ++m_cameraCount;
    return m_cameraCount;
}

int CDrawList::AddShape(CShape& shape) {
    if (m_itemCount >= m_itemCapacity || m_cameraCount >= m_cameraCapacity)
        return -1;
    const Camera& camera = m_cameras[m_cameraCount];

    CMatrix world;
    if (CTransform* parent = shape.GetParent())
        world = parent->GetWorldMatrix();
    CMatrix worldView;
    camera.view.PreMultiply(worldView, world);
    // In front of the camera z is negative: only shapes further than the far
    // distance behind it are dropped.
    const float z = worldView(3, 2);
    if (z > camera.farDistance)
        return -1;
    const float width = camera.farDistance / (float)m_bucketCount;

    const int index = m_itemCount;
    const int pairs = shape.GetPairCount();
    for (int i = 0; i < pairs; ++i) {
        if (!shape.IsPairTranslucent(i)) {
            m_opaque.push_back({ClampBucket(std::trunc(-z / width), m_bucketCount), index});
            break;
        }
    }
    for (int i = 0; i < pairs; ++i) {
        if (shape.IsPairTranslucent(i)) {
            m_translucent.push_back({ClampBucket(std::trunc(z / width) + (float)m_bucketCount, m_bucketCount), index});
            break;
        }
    }

    Item& item = m_items[index];
    item.colour = ColorRGBA(0.8f, 0.8f, 0.8f, 0.0f);
    if (shape.IsBillboard()) {
        // Turned to face the eye: scale first, then the spin about its own
        // axis, then +Z onto the direction of the eye.
        Vec3 toEye(camera.eye[0] - world(3, 0), camera.eye[1] - world(3, 1), camera.eye[2] - world(3, 2));
        toEye.Normalize();
        const float s = shape.GetBillboardScale();
        CMatrix scale, spin, arc, turned, placed;
        D3DXMatrixScaling(&scale, s, s, 1.0f);
        spin.SetRotationZ(shape.GetBillboardRotation());
        arc.SetRotationArc(Vec3(0, 0, 1), toEye);
        spin.PreMultiply(turned, scale);
        arc.PreMultiply(placed, turned);
        world.PreMultiply(turned, placed);
        world = turned;
        if (pairs > 0)
            if (CShader* shader = shape.GetPairShader(0))
                item.colour = shader->GetColor();
    }
    item.world = world;
    item.shape = shape.GetShapeHandle();
    item.camera = m_cameraCount;
    item.firstExtraMatrix = -1;
    ++m_itemCount;
    return index;
}

bool CDrawList::PushMatrix(const CMatrix& matrix) {
    if (m_extraMatrixCount >= m_extraMatrixCapacity)
        return false;
    m_extraMatrices[m_extraMatrixCount++] = matrix;
    return true;
}

const CMatrix& CDrawList::GetMatrix(int index) const {
    if (index < 0 || index >= m_extraMatrixCount)
        return Identity();
    return m_extraMatrices[index];
}

void CDrawList::SetItemFirstMatrix(int item, int first) {
    if (item >= 0 && item < m_itemCount)
        m_items[item].firstExtraMatrix = first;
}

const CMatrix& CDrawList::GetCameraView() const {
    if (m_cameraCount >= m_cameraCapacity)
        return Identity();
    return m_cameras[m_cameraCount].view;
}

void CDrawList::DrawBuckets() {
    CRenderer* renderer = CRenderer::Current();
    IDirect3DDevice8* device = renderer ? renderer->GetDevice() : nullptr;
    if (device) {
        int previousCamera = -1;
        // Camera state is set only when it changes between consecutive items.
        auto place = [&](const Item& item) {
            if (item.camera != previousCamera) {
                const Camera& camera = m_cameras[item.camera];
                renderer->SetProjection(camera.projection);
                renderer->SetView(camera.view);
                previousCamera = item.camera;
            }
            m_paletteCursor = item.firstExtraMatrix;
            renderer->SetWorld(item.world);
        };

        device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        SortByBucket(m_opaque);
        for (size_t i = 0; i < m_opaque.size(); ++i) {
            const Item& item = m_items[m_order[i]];
            CShape* shape = ShapeHandles().Resolve(item.shape);
            if (!shape) // deleted after it was queued
                continue;
            place(item);
            shape->DrawOpaque();
        }
        device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        SortByBucket(m_translucent);
        for (size_t i = 0; i < m_translucent.size(); ++i) {
            const Item& item = m_items[m_order[i]];
            CShape* shape = ShapeHandles().Resolve(item.shape);
            if (!shape)
                continue;
            place(item);
            BillboardColor() = item.colour;
            shape->DrawTranslucent();
        }
    }
    m_opaque.clear();
    m_translucent.clear();
    m_itemCount = 0;
    m_extraMatrixCount = 0;
    m_cameraCount = 0;
}

void CSceneDrawList::Render() {
    SetCurrentDrawList(this);
    if (m_preDraw)
        m_preDraw();
    if (CRenderer* renderer = CRenderer::Current()) {
        // Every list of this system draws to the screen.
        renderer->RestoreRenderTarget();
        renderer->SetOffscreenTarget(nullptr);
    }
    DrawBuckets();
    if (m_postDraw)
        m_postDraw();
}

void RenderAllDrawLists() {
    for (CDrawList* list : g_table)
        if (list)
            list->Render();
    ResetSpringGravity();
    ClearColliders();
}

void InstallDrawListHooks() { SetDrawListPass(RenderAllDrawLists); }
