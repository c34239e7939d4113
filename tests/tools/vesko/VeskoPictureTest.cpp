#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/PictureCompare.h"
#include "tools/vesko/VeskoModels.h"
#include "tools/vesko/VeskoPreview.h"
#include "tools/vesko/VeskoRig.h"
#include "tools/vesko/VeskoTextures.h"

namespace {

// She stands in her rest pose in the everyday dress, seen from the front and
// from her left; the picture is kept beside the test.
TEST(VeskoPicture, RestPoseFromTheFrontAndTheSideMatchesTheKeptPicture) {
    std::vector<std::unique_ptr<CVeskoModelFile>> files;
    std::string error;
    ASSERT_TRUE(BuildVeskoModels(files, error)) << error;
    VeskoPreviewScene scene;
    scene.shown = {VeskoNames::TOP, "vesko_clothStandard"};
    for (const VeskoRigNode& n : VeskoRigNodes())
        if (n.role == VR_ACCESSORY)
            scene.hidden.insert(n.name);

    // Feet on the floor and about 100 room units tall, in every shown mesh.
    float low = 1e9f, high = -1e9f;
    for (auto& f : files)
        for (auto& part : f->Parts()) {
            const ShaderRecord* shader = f->FindShader(part->shader);
            if (!shader || shader->boneNames.empty())
                continue; // the shadow and the accessories are not her body
            if (f->Top() != VeskoNames::TOP && f->Top() != "vesko_clothStandard")
                continue;
            for (const MeshVertex& v : part->mesh.Vertices()) {
                low = std::min(low, v.position.y * VESKO_ROOT_SCALE);
                high = std::max(high, v.position.y * VESKO_ROOT_SCALE);
            }
        }
    EXPECT_NEAR(low, 0.0f, 0.3f);
    EXPECT_NEAR(high, 100.0f, 3.0f);

    VeskoPicture picture = RenderVeskoPreview(files, PaintVeskoTextures(), scene, {0.0f, 1.5707963f}, 200, 340);
    RgbPicture drawn{picture.width, picture.height, picture.rgb};
    WriteRgbPng("vesko_rest.png", drawn);
    PictureDifference d = CompareWithKept(drawn, DESKMATE_SOURCE_DIR "/tests/tools/vesko/vesko_rest_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 2.0);
    EXPECT_LT(d.changedShare, 0.01);

    // She fills the middle of each panel and leaves the backdrop round her.
    for (int panel = 0; panel < 2; ++panel) {
        int figure = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = panel * 200; x < panel * 200 + 200; ++x) {
                const uint8_t* p = &picture.rgb[(size_t(y) * size_t(picture.width) + size_t(x)) * 3];
                // The backdrop is a pale blue-grey or the floor's sand; she is neither.
                bool backdrop = (p[2] > p[0] + 12 && p[0] > 190) || (p[0] == 196 && p[1] == 180);
                figure += !backdrop;
            }
        EXPECT_GT(figure, 200 * 340 / 20) << panel;
        EXPECT_LT(figure, 200 * 340 / 2) << panel;
    }
}

} // namespace
