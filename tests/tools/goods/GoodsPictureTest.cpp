#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/content/RoomBuilder.h"
#include "tools/content/TexturePainter.h"
#include "tools/goods/GoodsBuilder.h"
#include "tools/goods/GoodsLayout.h"
#include "tools/preview/ScenePreview.h"

#include "tests/support/PictureCompare.h"

// The goods as the user sees them: in the room from the room camera, and
// one by one on a sheet, each compared with its kept reference picture
// (the new pictures are written beside the test program).
namespace {

struct GoodsScene {
    std::vector<PaintedTexture> roomTextures = PaintRoomTextures();
    std::vector<PaintedTexture> goodsTextures = PaintGoodsTextures();
    CScenePreview preview;

    bool Load(bool withRoom) {
        for (const PaintedTexture& t : roomTextures)
            preview.AddImage(t.fileName, &t.image);
        for (const PaintedTexture& t : goodsTextures)
            preview.AddImage(t.fileName, &t.image);
        std::vector<uint8_t> bytes;
        std::string error;
        if (withRoom && (!BuildRoomModel(bytes, error) || !preview.AddModel(bytes, error)))
            return false;
        for (const GoodsPlace& place : GoodsPlaces()) {
            if (!BuildGoodsModel(place.base, bytes, error) || !preview.AddModel(bytes, error)) {
                ADD_FAILURE() << place.base << ": " << error;
                return false;
            }
        }
        return true;
    }
};

RgbPicture ToRgb(const PreviewPicture& p) {
    RgbPicture out;
    out.width = p.width;
    out.height = p.height;
    out.rgb = p.rgb;
    return out;
}

void ExpectLikeKept(const RgbPicture& drawn, const std::string& name) {
    ASSERT_TRUE(WriteRgbPng(name, drawn));
    PictureDifference d = CompareWithKept(drawn, std::string(DESKMATE_SOURCE_DIR) + "/tests/tools/goods/" + name);
    ASSERT_TRUE(d.sameSize) << name << ": no kept reference of the same size";
    EXPECT_LT(d.meanChannelDifference, 3.0) << name;
    EXPECT_LT(d.changedShare, 0.02) << name;
}

TEST(GoodsPictures, EveryGoodInTheRoomFromTheRoomCamera) {
    GoodsScene scene;
    ASSERT_TRUE(scene.Load(true));
    // The evening and night window panes stay hidden by day.
    for (const char* hidden : {"room_mado2_evening", "room_mado0_Night", "skyCilinderEvening", "skyCilinderNight"})
        scene.preview.SetChannel(hidden, 9, 0);
    PreviewCamera camera;
    camera.eye[0] = 950, camera.eye[1] = 460, camera.eye[2] = 850;
    camera.target[0] = 0, camera.target[1] = 40, camera.target[2] = 60;
    camera.fovY = 0.62f;
    ExpectLikeKept(ToRgb(scene.preview.Render(camera, 640, 480)), "goods_in_room.png");
}

// Each good alone, fitted into its own cell and seen from the front and a
// little above, the way the show turns it to the viewer.
TEST(GoodsPictures, EachGoodOnTheSheet) {
    GoodsScene scene;
    ASSERT_TRUE(scene.Load(false));
    scene.preview.SetBackground(0.86f, 0.86f, 0.88f);
    // The new set stands beside the old one on the sheet.
    const int columns = 6, cell = 128;
    const int rows = int((GoodsPlaces().size() + columns - 1) / columns);
    RgbPicture sheet;
    sheet.width = columns * cell;
    sheet.height = rows * cell;
    sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 0);
    for (size_t i = 0; i < GoodsPlaces().size(); ++i) {
        const GoodsPlace& place = GoodsPlaces()[i];
        std::string root = place.base + "Root";
        if (place.base == "tv") {
            scene.preview.SetChannel("tv2003lcdvc", 9, 1);
            scene.preview.SetChannel("tv2003lcdvc", 0, 90);
        }
        float centre[3], radius;
        ASSERT_TRUE(scene.preview.Bounds(root, centre, radius)) << place.base;
        EXPECT_GT(radius, 2.0f) << place.base;
        // The view: in front of the good as it faces, turned a little aside.
        float yaw = place.restRotation.y + 0.55f;
        if (place.base == "bodyBlade" || place.base == "bodyVac")
            yaw = -1.2f;
        PreviewCamera camera;
        float distance = radius / std::sin(0.35f);
        camera.eye[0] = centre[0] + distance * std::sin(yaw) * 0.93f;
        camera.eye[1] = centre[1] + distance * 0.37f;
        camera.eye[2] = centre[2] + distance * std::cos(yaw) * 0.93f;
        for (int k = 0; k < 3; ++k)
            camera.target[k] = centre[k];
        camera.fovY = 0.72f;
        PreviewPicture p = scene.preview.Render(camera, cell, cell, root);
        int cx = int(i % columns) * cell, cy = int(i / columns) * cell;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell * 3; ++x)
                sheet.rgb[(size_t(cy + y) * sheet.width + cx) * 3 + x] = p.rgb[size_t(y) * cell * 3 + x];
        // Something was drawn in every cell: not only the background.
        int drawn = 0;
        for (size_t k = 0; k + 2 < p.rgb.size(); k += 3)
            drawn += std::abs(int(p.rgb[k]) - 219) + std::abs(int(p.rgb[k + 2]) - 224) > 12;
        EXPECT_GT(drawn, cell * cell / 80) << place.base;
        if (place.base == "tv") {
            scene.preview.SetChannel("tv2003lcdvc", 9, 0);
            scene.preview.SetChannel("tv2003lcdvc", 0, 0);
        }
    }
    ExpectLikeKept(sheet, "goods_sheet.png");
}

} // namespace
