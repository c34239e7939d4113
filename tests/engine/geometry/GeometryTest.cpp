// Indexed geometry on the recording device: its buffers and what they hold,
// the triangles each group draws, uploads of the working copy and a device
// reset that keeps the vertices.
#include <gtest/gtest.h>

#include "engine/chunk/ChunkEnums.h"
#include "engine/geometry/Geometry.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/resource/ResourceManager.h"

namespace {

constexpr uint32_t POSITION_ONLY = 1u << VE_POSITION;

// n vertices of one position each: (i, 10 i, 100 i).
std::vector<uint8_t> Positions(int n) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        v.insert(v.end(), {float(i), 10.0f * i, 100.0f * i});
    return FloatBytes(v);
}

using GeometryTest = ShadingTest;

TEST_F(GeometryTest, BuffersAreDynamicWriteOnlyAndFilledFromTheData) {
    std::vector<uint8_t> data = Positions(4);
    CIndexedGeometry geometry("quad", POSITION_ONLY, 4, data.data());
    EXPECT_EQ(geometry.GetVertexSize(), 12);
    EXPECT_EQ(geometry.GetVertexCount(), 4);
    EXPECT_EQ(geometry.GetUploadCount(), 4);
    EXPECT_TRUE(geometry.IsDoubleSided());
    EXPECT_FALSE(geometry.IsTranslucent());
    EXPECT_FLOAT_EQ(geometry.GetBoundingRadius(), -1.0f);
    ASSERT_EQ(device().vertexBuffers.size(), 1u);
    CRecordingVertexBuffer& vb = *device().vertexBuffers[0];
    EXPECT_EQ(vb.usage, DWORD(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC));
    EXPECT_EQ(vb.pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(vb.bytes, data);
    ASSERT_EQ(vb.lockFlags.size(), 1u);
    EXPECT_EQ(vb.lockFlags[0], DWORD(D3DLOCK_DISCARD));
    EXPECT_FALSE(vb.locked);

    const uint16_t indices[] = {0, 1, 2, 2, 1, 3};
    geometry.AddGroup(PT_TRIANGLE_LIST, 6, indices);
    ASSERT_EQ(device().indexBuffers.size(), 1u);
    CRecordingIndexBuffer& ib = *device().indexBuffers[0];
    EXPECT_EQ(ib.usage, DWORD(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC));
    EXPECT_EQ(ib.pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(ib.bytes, std::vector<uint8_t>({0, 0, 1, 0, 2, 0, 2, 0, 1, 0, 3, 0}));
    EXPECT_EQ(ib.lockFlags, std::vector<DWORD>{DWORD(D3DLOCK_DISCARD)});
}

TEST_F(GeometryTest, EachGroupDrawsTheTrianglesItsCountMakes) {
    struct Case {
        const char* what;
        int primitive;
        int indices;
        int drawCount;  // -1: as given
        UINT triangles; // 0: not drawn
    } cases[] = {
        {"list of 6", PT_TRIANGLE_LIST, 6, -1, 2},
        {"list of 7", PT_TRIANGLE_LIST, 7, -1, 0},
        {"list of 2", PT_TRIANGLE_LIST, 2, -1, 0},
        {"strip of 4", PT_TRIANGLE_STRIP, 4, -1, 2},
        {"strip of 3", PT_TRIANGLE_STRIP, 3, -1, 1},
        {"strip of 2", PT_TRIANGLE_STRIP, 2, -1, 0},
        {"strip of 1", PT_TRIANGLE_STRIP, 1, -1, 0},
        {"fan of 5", PT_TRIANGLE_FAN, 5, -1, 0},
        {"empty list", PT_TRIANGLE_LIST, 0, -1, 0},
        {"list of 9 drawing 3", PT_TRIANGLE_LIST, 9, 3, 1},
        {"list of 6 drawing 4", PT_TRIANGLE_LIST, 6, 4, 0},
        {"list of 6 asked for 60", PT_TRIANGLE_LIST, 6, 60, 2},
        {"strip of 5 drawing 0", PT_TRIANGLE_STRIP, 5, 0, 0},
        {"unknown primitive", 7, 6, -1, 0},
    };
    std::vector<uint8_t> data = Positions(9);
    const uint16_t indices[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CIndexedGeometry geometry(c.what, POSITION_ONLY, 9, data.data());
        geometry.AddGroup(c.primitive, c.indices, indices);
        if (c.drawCount >= 0)
            geometry.SetGroupDrawCount(0, c.drawCount);
        EXPECT_LE(geometry.GetGroupDrawCount(0), c.indices);
        Forget();
        geometry.Draw();
        EXPECT_EQ(device().Find("SetStreamSource 0 buffer") >= 0, true);
        if (c.triangles == 0) {
            EXPECT_TRUE(device().draws.empty());
            continue;
        }
        ASSERT_EQ(device().draws.size(), 1u);
        const IndexedDraw& draw = device().draws[0];
        EXPECT_EQ(draw.type, c.primitive == PT_TRIANGLE_STRIP ? D3DPT_TRIANGLESTRIP : D3DPT_TRIANGLELIST);
        EXPECT_EQ(draw.primitives, c.triangles);
        EXPECT_EQ(draw.vertices, 9u);
        EXPECT_EQ(draw.stride, 12u);
        EXPECT_EQ(draw.indices, device().indexBuffers.back().get());
    }
}

TEST_F(GeometryTest, CullingFollowsDoubleSidedAndBadGroupsKeepTheirPlace) {
    std::vector<uint8_t> data = Positions(3);
    CIndexedGeometry geometry("tri", POSITION_ONLY, 3, data.data());
    const uint16_t good[] = {0, 1, 2};
    const uint16_t past[] = {0, 1, 3};
    geometry.AddGroup(PT_TRIANGLE_LIST, 3, past);
    geometry.AddGroup(PT_TRIANGLE_LIST, 3, good);
    EXPECT_EQ(geometry.GetGroupCount(), 2);
    geometry.Draw();
    ASSERT_EQ(device().draws.size(), 1u) << "a group naming a vertex past the end never draws";
    EXPECT_EQ(device().draws[0].indices, device().indexBuffers[1].get());
    EXPECT_EQ(device().draws[0].cull, DWORD(D3DCULL_NONE));
    geometry.SetDoubleSided(false);
    Forget();
    geometry.Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].cull, DWORD(D3DCULL_CW));
}

TEST_F(GeometryTest, UploadsStayWithinTheWorkingCopy) {
    std::vector<uint8_t> data = Positions(5);
    CIndexedGeometry geometry("uploads", POSITION_ONLY, 5, data.data());
    const uint16_t indices[] = {0, 1, 2};
    geometry.AddGroup(PT_TRIANGLE_LIST, 3, indices);
    CRecordingVertexBuffer& vb = *device().vertexBuffers[0];
    float* working = reinterpret_cast<float*>(geometry.GetWorkingVertices());
    working[0] = 42.0f;

    geometry.UploadVertices(2);
    EXPECT_EQ(geometry.GetUploadCount(), 2);
    EXPECT_EQ(vb.lockSizes.back(), 24u);
    float first;
    std::memcpy(&first, vb.bytes.data(), 4);
    EXPECT_EQ(first, 42.0f);
    EXPECT_EQ(reinterpret_cast<const float*>(geometry.GetSourceVertices())[0], 0.0f) << "the bind pose stays";

    working[3] = 7.0f;
    geometry.UploadVertices(0);
    EXPECT_EQ(geometry.GetUploadCount(), 2) << "0 re-uploads the previous count";
    EXPECT_EQ(vb.lockSizes.back(), 24u);
    EXPECT_EQ(vb.lockFlags.back(), DWORD(D3DLOCK_DISCARD));
    std::memcpy(&first, vb.bytes.data() + 12, 4);
    EXPECT_EQ(first, 7.0f);
    geometry.Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].vertices, 2u);

    geometry.UploadVertices(1000);
    EXPECT_EQ(geometry.GetUploadCount(), 5) << "never more than the vertices";
    EXPECT_EQ(vb.lockSizes.back(), 60u);
    geometry.UploadVertices(-3);
    EXPECT_EQ(geometry.GetUploadCount(), 5);
    EXPECT_FALSE(vb.locked);
}

TEST_F(GeometryTest, ADeviceResetKeepsTheVerticesAndIndices) {
    std::vector<uint8_t> data = Positions(4);
    CIndexedGeometry* geometry = new CIndexedGeometry("kept", POSITION_ONLY, 4, data.data());
    const uint16_t indices[] = {3, 2, 1};
    geometry->AddGroup(PT_TRIANGLE_LIST, 3, indices);
    // A skinned geometry's last upload: the working copy, three vertices.
    reinterpret_cast<float*>(geometry->GetWorkingVertices())[4] = -8.0f;
    geometry->UploadVertices(3);
    std::vector<uint8_t> uploaded(device().vertexBuffers[0]->bytes.begin(),
                                  device().vertexBuffers[0]->bytes.begin() + 36);

    ReleaseAllDeviceObjects();
    EXPECT_EQ(device().vertexBuffers[0]->refs, 0u);
    EXPECT_EQ(device().indexBuffers[0]->refs, 0u);
    Forget();
    geometry->Draw();
    EXPECT_TRUE(device().draws.empty()) << "nothing to draw with while released";

    RestoreAllDeviceObjects();
    ASSERT_EQ(device().vertexBuffers.size(), 2u);
    ASSERT_EQ(device().indexBuffers.size(), 2u);
    CRecordingVertexBuffer& vb = *device().vertexBuffers[1];
    EXPECT_EQ(std::vector<uint8_t>(vb.bytes.begin(), vb.bytes.begin() + 36), uploaded);
    EXPECT_EQ(vb.lockSizes, std::vector<UINT>{36u});
    EXPECT_EQ(device().indexBuffers[1]->bytes, std::vector<uint8_t>({3, 0, 2, 0, 1, 0}));
    geometry->Draw();
    ASSERT_EQ(device().draws.size(), 1u);
    EXPECT_EQ(device().draws[0].stream, &vb);
    EXPECT_EQ(device().draws[0].indices, device().indexBuffers[1].get());
    EXPECT_EQ(device().draws[0].vertices, 3u);
    delete geometry;
    EXPECT_EQ(vb.refs, 0u);
    EXPECT_EQ(device().indexBuffers[1]->refs, 0u);
}

TEST_F(GeometryTest, GeometryIsSharedAndFoundByHandle) {
    std::vector<uint8_t> data = Positions(3);
    CIndexedGeometry* geometry = new CIndexedGeometry("shared", POSITION_ONLY, 3, data.data());
    EXPECT_EQ(geometry->Instance("::the"), geometry);
    CHandle handle = geometry->GetGeometryHandle();
    EXPECT_EQ(GeometryHandles().Resolve(handle), geometry);
    SetCurrentGeometry(geometry);
    delete geometry;
    EXPECT_EQ(GeometryHandles().Resolve(handle), nullptr);
    EXPECT_EQ(GetCurrentGeometry(), nullptr);
}

} // namespace
