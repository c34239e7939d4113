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
#include "tools/vesko/VeskoModels.h"
#include "tools/vesko/VeskoRig.h"
#include "tools/vesko/VeskoTextures.h"

#include "tests/support/PictureCompare.h"

// Her motions as the user would see them: her own skinned body posed by one
// frame of each of a dozen sets in the room, kept as a reference picture.
namespace {

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
    // Her own body, dressed in the default clothes: every other cloth,
    // the long-sleeved body, the accessories and the shadow (which the
    // program places itself) hidden, as her items leave them.
    std::vector<VeskoTexture> painted = PaintVeskoTextures();
    std::vector<std::unique_ptr<CPaintImage>> images;
    auto convert = [&](const CCanvas& c) {
        images.push_back(std::make_unique<CPaintImage>(c.Width(), c.Height()));
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
                Rgba p = c.Get(x, y);
                images.back()->Set(x, y, p.r / 255.0f, p.g / 255.0f, p.b / 255.0f);
            }
        return images.back().get();
    };
    for (const VeskoTexture& t : painted)
        preview.AddImage(t.fileName, convert(t.image));
    CPaintImage* face = convert(PaintVeskoFace(1));
    preview.AddImage(VeskoNames::FACE_FILE, face);
    std::vector<std::unique_ptr<CVeskoModelFile>> vesko;
    ASSERT_TRUE(BuildVeskoModels(vesko, error)) << error;
    for (auto& file : vesko) {
        ASSERT_TRUE(file->Write(bytes, error)) << error;
        ASSERT_TRUE(preview.AddModel(bytes, error)) << error;
        if (file->Top() != VeskoNames::TOP && file->Top() != "vesko_clothStandard")
            preview.SetChannel(file->Top(), 9, 0);
    }
    for (const VeskoRigNode& n : VeskoRigNodes())
        if (n.role == VR_ACCESSORY)
            preview.SetChannel(n.name, 9, 0);
    preview.SetChannel(VeskoNames::SHADOW, 9, 0);
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
        CCanvas expression = PaintVeskoFace(p.face);
        for (int y = 0; y < face->Height() && y < expression.Height(); ++y)
            for (int x = 0; x < face->Width() && x < expression.Width(); ++x) {
                Rgba c = expression.Get(x, y);
                face->Set(x, y, c.r / 255.0f, c.g / 255.0f, c.b / 255.0f);
            }
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
