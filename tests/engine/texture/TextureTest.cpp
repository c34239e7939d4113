#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/anim/AnimAttribute.h"
#include "engine/anim/ChangeStamp.h"
#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/archive/TextureArchives.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/texture/Texture.h"
#include "engine/texture/TextureDevice.h"
#include "platform/image/ImageDecoders.h"
#include "tests/platform/image/TestImages.h"

namespace {

constexpr uint32_t FMT_A8R8G8B8 = 21, FMT_X8R8G8B8 = 22, FMT_A1R5G5B5 = 25, FMT_A4R4G4B4 = 26;

struct FakeFrame : CTextureFrame {
    FakeFrame(uint32_t format, uint32_t texel, int* live) : format(format), texel(texel), live(live) { ++*live; }
    ~FakeFrame() override { --*live; }
    uint32_t GetFormat() const override { return format; }
    uint32_t format;
    uint32_t texel; // texel (0, 0) of the image, to tell frames apart
    int* live;
};

// Decodes with the real image decoders and records every device call.
struct RecordingDevice : ITextureDevice {
    CTextureFrame* CreateFrame(const uint8_t* bytes, size_t size, int mipLevels) override {
        ++creates;
        lastMipLevels = mipLevels;
        CImage image;
        if (!DecodeImage(bytes, size, image))
            return nullptr;
        return new FakeFrame(image.hasAlpha ? FMT_A8R8G8B8 : FMT_X8R8G8B8, image.Texel(0, 0), &live);
    }
    void SetStageSetting(int stage, TextureStageSetting setting, int value) override {
        calls.push_back("state " + std::to_string(stage) + " " + std::to_string(setting) + "=" + std::to_string(value));
    }
    void SetTexture(int stage, CTextureFrame* frame) override {
        bound = frame;
        calls.push_back("texture " + std::to_string(stage));
    }
    void SetVertexShaderConstant(int reg, const float* values, int count) override {
        calls.push_back("constant " + std::to_string(reg) + " x" + std::to_string(count));
        constants.assign(values, values + 4 * count);
    }

    int creates = 0;
    int lastMipLevels = -1;
    int live = 0;
    CTextureFrame* bound = reinterpret_cast<CTextureFrame*>(1);
    std::vector<std::string> calls;
    std::vector<float> constants;
};

int g_missing = 0;
void CountMissing(void*) { ++g_missing; }

struct TextureTest : DataFolderTest {
    void SetUp() override {
        DataFolderTest::SetUp();
        SetTextureDevice(&device);
        g_missing = 0;
        SetMissingResourceHandler(CountMissing);
        CurrentResourceManager = &registry;
        OpenTextureArchives();
    }
    void TearDown() override {
        CloseTextureArchives();
        CurrentResourceManager = nullptr;
        SetMissingResourceHandler(nullptr);
        SetTextureDevice(nullptr);
        DataFolderTest::TearDown();
    }
    // A 2 × 2 TGA whose first texel's blue byte is the tag.
    void WriteTga(const std::string& path, uint8_t tag, bool alpha) {
        CImage image = testimages::Pattern(2, 2, alpha);
        image.Row(0)[0] = tag;
        WriteFile(path, testimages::Tga(image, alpha ? 32 : 24));
    }
    static uint8_t Tag(CTextureFrame* frame) { return (uint8_t) static_cast<FakeFrame*>(frame)->texel; }

    RecordingDevice device;
    CResourceManager registry;
};

TEST_F(TextureTest, LoadsOneFrameAndTellsTranslucencyFromItsFormat) {
    WriteTga("model/common/room_floaring3.tga", 7, false);
    WriteTga("model/common/marukage.tga", 8, true);
    auto* opaque = new CFileTexture("floor", "model/common/room_floaring3.tga", TFM_LINEAR, TFM_LINEAR, TFM_NONE,
                                    TAM_WRAP, TAM_CLAMP, 1, false);
    auto* shadow = new CFileTexture("shadow", "model/common/marukage.tga", TFM_POINT, TFM_LINEAR, TFM_NONE, TAM_MIRROR,
                                    TAM_WRAP, 1, false);
    EXPECT_EQ(g_missing, 0);
    ASSERT_EQ(opaque->GetFrameCount(), 1);
    EXPECT_EQ(Tag(opaque->GetFrame(0)), 7);
    EXPECT_FALSE(opaque->IsTranslucent());
    EXPECT_TRUE(shadow->IsTranslucent());
    EXPECT_EQ(device.lastMipLevels, 1);
    EXPECT_EQ(registry.Find("floor", RT_TEXTURE), opaque);
}

TEST(TextureFormats, OnlyAlphaChannelsAreTranslucent) {
    const struct {
        uint32_t format;
        bool translucent;
    } cases[] = {
        {FMT_A8R8G8B8, true},
        {FMT_A4R4G4B4, true},
        {28, true},
        {29, true},
        {40, true},
        {51, true},
        {52, true},
        {FMT_X8R8G8B8, false},
        {FMT_A1R5G5B5, false},
        {23, false},
        {50, false},
        {0, false},
        {testimages::FourCc("DXT1"), false},
        {testimages::FourCc("DXT2"), true},
        {testimages::FourCc("DXT3"), true},
        {testimages::FourCc("DXT4"), true},
        {testimages::FourCc("DXT5"), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTranslucentFormat(c.format), c.translucent) << c.format;
}

TEST_F(TextureTest, MissingOrUndecodableFileReportsAndLeavesNoFrame) {
    WriteText("model/common/room_books.tga", "not an image");
    auto* broken = new CFileTexture("books", "model/common/room_books.tga", 2, 2, 0, 0, 0, 1, false);
    EXPECT_EQ(g_missing, 1);
    auto* missing = new CFileTexture("desk", "model/common/room_desk.tga", 2, 2, 0, 0, 0, 1, false);
    EXPECT_EQ(g_missing, 2);
    // An unlisted name is never found, even as a loose file.
    WriteTga("model/common/notListed.tga", 1, false);
    new CFileTexture("other", "model/common/notListed.tga", 2, 2, 0, 0, 0, 1, false);
    EXPECT_EQ(g_missing, 3);

    // No frame: neither translucent nor read; binding unbinds the stage.
    EXPECT_EQ(broken->GetFrameCount(), 0);
    EXPECT_FALSE(broken->IsTranslucent());
    EXPECT_EQ(missing->GetFrameIndex(), -1);
    missing->BindToStage(0);
    EXPECT_EQ(device.bound, nullptr);
}

TEST_F(TextureTest, AnimatedTextureReadsNumberedFramesUntilTheFirstGap) {
    EXPECT_EQ(AnimatedFrameName("model/vesko/vesko_face.tga", 3), "model/vesko/vesko_face.3.tga");
    EXPECT_EQ(AnimatedFrameName("noext", 1), "noext.1");
    for (int n = 1; n <= 3; ++n)
        WriteTga("model/vesko/vesko_face." + std::to_string(n) + ".tga", (uint8_t)(10 * n), n == 1);
    WriteTga("model/vesko/vesko_face.5.tga", 50, false); // after the gap: never read
    auto* face = new CFileTexture("face", "model/vesko/vesko_face.tga", 2, 2, 0, 0, 0, 1, true);
    EXPECT_EQ(g_missing, 0);
    ASSERT_EQ(face->GetFrameCount(), 3);
    EXPECT_TRUE(face->IsTranslucent()); // the first frame decides

    // Frame selection: truncated, minus one, clamped.
    const struct {
        float value;
        int tag;
    } cases[] = {{1.0f, 10}, {0.0f, 10}, {-4.0f, 10}, {2.9f, 20},
                 {3.0f, 30}, {4.0f, 30}, {1e30f, 30}, {std::nanf(""), 10}};
    for (const auto& c : cases) {
        face->SetChannelValue(CTexture::TXC_FRAME, c.value);
        face->BindToStage(1);
        ASSERT_NE(device.bound, nullptr);
        EXPECT_EQ(Tag(device.bound), c.tag) << c.value;
    }

    // No numbered frame at all reports once.
    new CFileTexture("sky", "model/common/sky_day.tga", 2, 2, 0, 0, 0, 1, true);
    EXPECT_EQ(g_missing, 1);
}

TEST_F(TextureTest, DeviceResetReleasesAndReloadsFramesInOrder) {
    for (int n = 1; n <= 2; ++n)
        WriteTga("model/vesko/vesko_face." + std::to_string(n) + ".tga", (uint8_t)n, false);
    auto* face = new CFileTexture("face", "model/vesko/vesko_face.tga", 2, 2, 0, 0, 0, 1, true);
    EXPECT_EQ(device.live, 2);
    ReleaseAllDeviceObjects();
    EXPECT_EQ(device.live, 0);
    EXPECT_EQ(face->GetFrameCount(), 0);
    RestoreAllDeviceObjects();
    ASSERT_EQ(face->GetFrameCount(), 2);
    EXPECT_EQ(Tag(face->GetFrame(0)), 1);
    EXPECT_EQ(Tag(face->GetFrame(1)), 2);
    // Restoring again does not stack a second set.
    face->RestoreDeviceObjects();
    EXPECT_EQ(device.live, 2);
}

TEST_F(TextureTest, BindSetsStatesInOrderThenFrameThenMatrix) {
    WriteTga("model/common/room_floaring3.tga", 7, false);
    auto* floor = new CFileTexture("floor", "model/common/room_floaring3.tga", TFM_LINEAR, TFM_POINT, TFM_ANISOTROPIC,
                                   TAM_MIRROR, TAM_CLAMP, 1, false);
    floor->BindToStage(2);
    const std::vector<std::string> expected = {
        "state 2 0=1", "state 2 1=2", "state 2 2=3", "state 2 3=1", "state 2 4=2", "texture 2", "constant 91 x3",
    };
    EXPECT_EQ(device.calls, expected);
    // Identity coordinate transform: the three uploaded rows are the first
    // three columns of the matrix, which maps (u, v) to itself.
    const float identityRows[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(device.constants.size(), 12u);
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(device.constants[i], identityRows[i], 1e-6f) << i;
}

// (u, v, 0, 1) through the row-vector matrix.
void MapUv(const CMatrix& m, float u, float v, float& outU, float& outV) {
    outU = u * m(0, 0) + v * m(1, 0) + m(3, 0);
    outV = u * m(0, 1) + v * m(1, 1) + m(3, 1);
}

TEST(TextureCoordinates, RotatesAboutTheCentreAndRebuildsOnlyAfterAChange) {
    CTexture texture("uv", 2, 2, 0, 0, 0, 1, false);
    float u, v;
    MapUv(texture.GetCoordinateMatrix(), 0.25f, 0.75f, u, v);
    EXPECT_NEAR(u, 0.25f, 1e-6f);
    EXPECT_NEAR(v, 0.75f, 1e-6f);

    // An animator write touches the change stamp through the channel's notifier.
    CHandle rotation = texture.GetChannel(AA_ROTATION_W);
    ASSERT_NE(rotation, NULL_HANDLE);
    EXPECT_EQ(CChannel::GetNotifier(rotation), static_cast<CChangeStamp*>(&texture));
    ChannelHandles().Resolve(rotation)->m_value = 1.5707964f;
    AdvanceFrameStamp();
    // Not touched yet: the cached matrix holds.
    MapUv(texture.GetCoordinateMatrix(), 1.0f, 0.5f, u, v);
    EXPECT_NEAR(u, 1.0f, 1e-6f);
    CChannel::GetNotifier(rotation)->Touch();
    MapUv(texture.GetCoordinateMatrix(), 1.0f, 0.5f, u, v);
    EXPECT_NEAR(u, 0.5f, 1e-5f);
    EXPECT_NEAR(v, 1.0f, 1e-5f);

    // Scale then offset, before the rotation.
    texture.SetChannelValue(CTexture::TXC_ROTATION, 0.0f);
    texture.SetChannelValue(CTexture::TXC_SCALE_U, 2.0f);
    texture.SetChannelValue(CTexture::TXC_OFFSET_V, 0.25f);
    AdvanceFrameStamp();
    texture.SetChannelValue(CTexture::TXC_SCALE_V, 1.0f);
    MapUv(texture.GetCoordinateMatrix(), 0.5f, 0.5f, u, v);
    EXPECT_NEAR(u, 1.0f, 1e-6f);
    EXPECT_NEAR(v, 0.75f, 1e-6f);

    EXPECT_NE(texture.GetChannel(AA_FRAME_EXTENSION), NULL_HANDLE);
    EXPECT_EQ(texture.GetChannel(AA_TRANSLATION_X), NULL_HANDLE);
    EXPECT_FLOAT_EQ(texture.GetChannelValue(CTexture::TXC_FRAME), 1.0f);
}

} // namespace
