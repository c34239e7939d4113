#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/RoomBuilder.h"
#include "tools/content/SkeletonBuilder.h"
#include "tools/content/TexturePainter.h"
#include "tools/goods/GoodsBuilder.h"
#include "tools/goods/GoodsLayout.h"
#include "tools/motion/MotionLibrary.h"
#include "tools/preview/ScenePreview.h"
#include "tools/vesko/VeskoRig.h"

#include "tests/support/PictureCompare.h"

// Her motions as the user would see them, on a jointed figure standing in
// for her body (rigid limbs on her rig's bones): one frame of each of a
// dozen sets in the room, kept as a reference picture.
namespace {

// The figure: a capsule along each body bone to its child, a head, hands
// and hips, in her rig's model units.
std::vector<uint8_t> Figure() {
    CSkeletonBuilder skeleton;
    for (const VeskoRigNode& n : VeskoRigNodes()) {
        MeshPoint t{n.translation[0], n.translation[1], n.translation[2]};
        MeshPoint s{n.scale[0], n.scale[1], n.scale[2]};
        if (n.kind == VESKO_BONE)
            skeleton.AddBone(n.name, n.parent, t, {0, 0, 0}, s);
        else
            skeleton.AddTransform(n.name, n.parent, t, {0, 0, 0}, s);
    }
    CChunkWriter writer;
    skeleton.WriteNodes(writer);
    struct Part {
        std::string bone, material;
        CMeshBuilder mesh;
    };
    std::vector<std::unique_ptr<Part>> parts;
    auto part = [&](const std::string& bone, const std::string& material) -> CMeshBuilder& {
        parts.push_back(std::make_unique<Part>());
        parts.back()->bone = bone;
        parts.back()->material = material;
        return parts.back()->mesh;
    };
    for (const std::string& bone : VeskoBodyBones()) {
        const char* material = bone.compare(0, 3, "leg") == 0                                      ? "figureLeg_m"
                               : bone.compare(0, 3, "ude") == 0 || bone.compare(0, 4, "kata") == 0 ? "figureArm_m"
                                                                                                   : "figureBody_m";
        float radius = bone.compare(0, 3, "leg") == 0 ? 0.2f : bone.compare(0, 3, "ude") == 0 ? 0.12f : 0.3f;
        for (const VeskoRigNode& child : VeskoRigNodes()) {
            if (bone != child.parent || child.role != VR_BODY)
                continue;
            MeshPoint d{child.translation[0], child.translation[1], child.translation[2]};
            float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            if (length < 0.05f || bone == "kubi")
                continue;
            float yaw = std::atan2(d.x, d.z), pitch = std::acos(d.y / length);
            TransformRecord place;
            place.translation[0] = d.x / 2, place.translation[1] = d.y / 2, place.translation[2] = d.z / 2;
            place.rotation[0] = pitch, place.rotation[1] = yaw;
            CMatrix m;
            ComputeRestMatrix(place, m);
            part(bone, material).AddCapsule(radius, length, 3, 10, 1, m);
        }
    }
    CMatrix head;
    TransformRecord h;
    h.translation[1] = 0.45f;
    ComputeRestMatrix(h, head);
    part("head", "figureSkin_m").AddSphere(0.5f, 10, 14, head);
    h.translation[1] = 0.6f, h.translation[2] = -0.12f;
    ComputeRestMatrix(h, head);
    part("head", "figureHair_m").AddSphere(0.56f, 10, 14, head);
    part("teL", "figureSkin_m").AddSphere(0.13f, 6, 8);
    part("teR", "figureSkin_m").AddSphere(0.13f, 6, 8);
    part("koshi", "figureSkirt_m").AddLathe({{0.3f, 0.1f}, {0.75f, -0.75f}, {0, -0.75f}}, 16);

    for (const char* m :
         {"figureLeg_m", "figureArm_m", "figureBody_m", "figureSkin_m", "figureHair_m", "figureSkirt_m"}) {
        ShaderRecord s;
        s.name = m;
        s.shaderType = ST_LAMBERT;
        s.textureName = NO_TEXTURE_NAME;
        const std::string name = m;
        float c[3] = {0.98f, 0.84f, 0.74f};
        if (name == "figureBody_m" || name == "figureArm_m")
            c[0] = 0.35f, c[1] = 0.55f, c[2] = 0.95f;
        if (name == "figureHair_m")
            c[0] = 0.45f, c[1] = 0.25f, c[2] = 0.18f;
        if (name == "figureSkirt_m")
            c[0] = 0.2f, c[1] = 0.3f, c[2] = 0.7f;
        for (int i = 0; i < 3; ++i)
            s.colour[i] = c[i], s.ambient[i] = 0.2f * c[i];
        s.colour[3] = 1;
        writer.Write(s);
    }
    std::vector<std::unique_ptr<BuiltGeometry>> built;
    for (size_t i = 0; i < parts.size(); ++i) {
        built.push_back(std::make_unique<BuiltGeometry>());
        std::string name = "figurePart" + std::to_string(i);
        EXPECT_TRUE(BuildGeometry(parts[i]->mesh, name + "_g", VERTEX_FORMAT_LAMBERT, false, *built.back()));
        writer.Write(built.back()->record);
        ShapeRecord shape;
        shape.name = name;
        shape.pairs.push_back({parts[i]->material, name + "_g"});
        writer.Write(shape);
        skeleton.AddLeaf(name, RT_SHAPE, parts[i]->bone);
    }
    skeleton.WriteHierarchy(writer);
    EXPECT_FALSE(skeleton.Failed());
    EXPECT_FALSE(writer.Failed());
    return writer.GetBytes();
}

void Pose(CScenePreview& preview, const ::Pose& pose) {
    for (const std::string& bone : VeskoBodyBones()) {
        MeshPoint r = pose.Bone(bone);
        preview.SetChannel(bone, 3, r.x);
        preview.SetChannel(bone, 4, r.y);
        preview.SetChannel(bone, 5, r.z);
    }
    preview.SetChannel(VeskoNames::ROOT, 0, pose.x);
    preview.SetChannel(VeskoNames::ROOT, 1, pose.y);
    preview.SetChannel(VeskoNames::ROOT, 2, pose.z);
    preview.SetChannel(VeskoNames::ROOT, 4, pose.yaw);
    for (const auto& e : pose.extras) {
        std::string node = e.first.substr(0, e.first.find(':'));
        std::string attr = e.first.substr(e.first.find(':') + 1);
        const char* names[] = {"tx", "ty", "tz", "rx", "ry", "rz"};
        for (int c = 0; c < 6; ++c)
            if (attr == names[c])
                preview.SetChannel(node, c, e.second);
        if (attr == "vis")
            preview.SetChannel(node, 9, e.second);
    }
}

TEST(MotionPictures, ADozenMotionsInTheRoom) {
    std::vector<PaintedTexture> room = PaintRoomTextures(), goods = PaintGoodsTextures();
    CScenePreview preview;
    for (const PaintedTexture& t : room)
        preview.AddImage(t.fileName, &t.image);
    for (const PaintedTexture& t : goods)
        preview.AddImage(t.fileName, &t.image);
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(BuildRoomModel(bytes, error));
    ASSERT_TRUE(preview.AddModel(bytes, error)) << error;
    for (const GoodsPlace& place : GoodsPlaces()) {
        ASSERT_TRUE(BuildGoodsModel(place.base, bytes, error));
        ASSERT_TRUE(preview.AddModel(bytes, error)) << error;
    }
    ASSERT_TRUE(preview.AddModel(Figure(), error)) << error;
    for (const char* hidden : {"room_mado2_evening", "room_mado0_Night", "skyCilinderEvening", "skyCilinderNight"})
        preview.SetChannel(hidden, 9, 0);
    for (int c = 6; c < 9; ++c)
        preview.SetChannel(VeskoNames::ROOT, c, VESKO_ROOT_SCALE);

    // Relative sets are shown at her start place, (200, 0, 200).
    struct Shot {
        const char* set;
        float frame;
    } shots[] = {{"veskoStand01", 0},     {"veskoWalk04", 15},   {"veskoSleep00", 0},       {"veskoTVDown00", 64},
                 {"veskoKotatsu04", 100}, {"veskoChair02", 120}, {"veskoReizoukoOn00", 90}, {"veskoMilk01", 90},
                 {"veskoConga00", 30},    {"veskoBox02", 38},    {"veskoLightSaber00", 55}, {"veskoSegwayOn00", 54}};
    const int columns = 4, cell = 160;
    RgbPicture sheet;
    sheet.width = columns * cell;
    sheet.height = 3 * cell;
    sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 0);
    int i = 0;
    for (const Shot& shot : shots) {
        const MotionSpec* spec = FindMotionSet(shot.set);
        ASSERT_NE(spec, nullptr) << shot.set;
        ::Pose p = spec->at(shot.frame);
        bool relative = p.x == 0 && p.z == 0 && std::string(shot.set) != "veskoKotatsu04";
        if (relative)
            p.x += 200, p.z += 200;
        Pose(preview, p);
        float hips[3];
        ASSERT_TRUE(preview.WorldPosition(VeskoNames::HIPS, hips));
        PreviewCamera camera;
        // From the room camera's side, close in on her.
        float toCamera[3] = {950 - hips[0], 460 - hips[1], 850 - hips[2]};
        float length = std::sqrt(toCamera[0] * toCamera[0] + toCamera[1] * toCamera[1] + toCamera[2] * toCamera[2]);
        for (int k = 0; k < 3; ++k) {
            camera.eye[k] = hips[k] + toCamera[k] / length * 260;
            camera.target[k] = hips[k];
        }
        camera.eye[1] = hips[1] + 90;
        camera.fovY = 0.75f;
        PreviewPicture picture = preview.Render(camera, cell, cell);
        int cx = (i % columns) * cell, cy = (i / columns) * cell;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell * 3; ++x)
                sheet.rgb[(size_t(cy + y) * sheet.width + cx) * 3 + x] = picture.rgb[size_t(y) * cell * 3 + x];
        ++i;
    }
    ASSERT_TRUE(WriteRgbPng("motion_sheet.png", sheet));
    PictureDifference d =
        CompareWithKept(sheet, std::string(DESKMATE_SOURCE_DIR) + "/tests/tools/motion/motion_sheet.png");
    ASSERT_TRUE(d.sameSize) << "no kept reference of the same size";
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.02);
}

} // namespace
