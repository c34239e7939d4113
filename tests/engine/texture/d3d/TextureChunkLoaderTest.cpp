// Texture records build file textures: the record's filters and addressing,
// the file under the current model path prefix, numbered frames for an
// animated record, and a missing file reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkStream.h"
#include "tests/engine/chunk/StreamBytes.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/resource/ResourceManager.h"
#include "engine/texture/Texture.h"
#include "engine/texture/TextureDevice.h"

namespace {

int g_missing = 0;
void CountMissing(void*) { ++g_missing; }

// Frames from the bytes of the file, kept as text so the test can tell
// which file each frame came from.
class CTextFrame : public CTextureFrame {
public:
    explicit CTextFrame(std::string text) : text(std::move(text)) {}
    uint32_t GetFormat() const override { return 22; } // D3DFMT_X8R8G8B8
    std::string text;
};

class CTextTextureDevice : public ITextureDevice {
public:
    CTextureFrame* CreateFrame(const uint8_t* bytes, size_t size, int mipLevels) override {
        levels.push_back(mipLevels);
        return new CTextFrame(std::string(reinterpret_cast<const char*>(bytes), size));
    }
    void SetStageSetting(int, TextureStageSetting, int) override {}
    void SetTexture(int, CTextureFrame*) override {}
    void SetVertexShaderConstant(int, const float*, int) override {}
    std::vector<int> levels;
};

StreamBytes TextureRecord(const std::string& name, const std::string& file, int mag, int min, int mip, int u, int v,
                          float animated) {
    StreamBytes r;
    r.Text(name).Text(file).Int(mag).Int(min).Int(mip).Int(u).Int(v).Float(animated);
    return StreamBytes().Chunk(3, r);
}

class TextureChunkLoaderTest : public ShadingTest {
protected:
    void SetUp() override {
        savedFolder = GetDataFolder();
        folder = std::filesystem::temp_directory_path() / "deskmate-texture-records";
        std::filesystem::remove_all(folder);
        SetDataFolder(folder.string());
        Write("model/vesko/vesko_face.1.tga", "FACE1");
        Write("model/vesko/vesko_face.2.tga", "FACE2");
        Write("model/vesko/milk.tga", "MILK");
        SetTextureDevice(&textures);
        g_missing = 0;
        SetMissingResourceHandler(CountMissing);
        ShadingTest::SetUp();
        SetModelPathPrefix(4);
    }
    void TearDown() override {
        ShadingTest::TearDown();
        SetMissingResourceHandler(nullptr);
        SetTextureDevice(nullptr);
        SetModelPathPrefix(0);
        SetDataFolder(savedFolder);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void Write(const std::string& relative, const std::string& text) {
        std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        FILE* f = std::fopen(path.string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    CTexture* Load(const StreamBytes& stream, const char* name) {
        LoadChunkStream(renderer->GetResourceManager(), stream.Data(), stream.Size(), CHUNK_MASK_ALL);
        return dynamic_cast<CTexture*>(renderer->GetResourceManager()->Find(name, RT_TEXTURE));
    }
    static std::string FrameText(CTexture* texture, int i) {
        CTextFrame* frame = dynamic_cast<CTextFrame*>(texture->GetFrame(i));
        return frame ? frame->text : "<none>";
    }

    std::string savedFolder;
    std::filesystem::path folder;
    CTextTextureDevice textures;
};

TEST_F(TextureChunkLoaderTest, ASingleImageTakesTheRecordsSettings) {
    CTexture* texture =
        Load(TextureRecord("milkTex", "milk.tga", TFM_POINT, TFM_LINEAR, TFM_ANISOTROPIC, TAM_CLAMP, TAM_MIRROR, 0.5f),
             "milkTex");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(g_missing, 0);
    EXPECT_FALSE(texture->IsAnimated()) << "only exactly 1.0 marks a series";
    EXPECT_EQ(texture->GetMagFilter(), TFM_POINT);
    EXPECT_EQ(texture->GetMinFilter(), TFM_LINEAR);
    EXPECT_EQ(texture->GetMipFilter(), TFM_ANISOTROPIC);
    EXPECT_EQ(texture->GetAddressU(), TAM_CLAMP);
    EXPECT_EQ(texture->GetAddressV(), TAM_MIRROR);
    EXPECT_EQ(texture->GetMipLevels(), 1);
    ASSERT_EQ(texture->GetFrameCount(), 1);
    EXPECT_EQ(FrameText(texture, 0), "MILK");
    EXPECT_EQ(dynamic_cast<CFileTexture*>(texture)->GetFileName(), "model/vesko/milk.tga");
    EXPECT_EQ(textures.levels, std::vector<int>{1});
}

TEST_F(TextureChunkLoaderTest, AnAnimatedRecordReadsTheNumberedFrames) {
    CTexture* texture = Load(
        TextureRecord("face", "vesko_face.tga", TFM_LINEAR, TFM_LINEAR, TFM_NONE, TAM_WRAP, TAM_WRAP, 1.0f), "face");
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(texture->IsAnimated());
    ASSERT_EQ(texture->GetFrameCount(), 2);
    EXPECT_EQ(FrameText(texture, 0), "FACE1");
    EXPECT_EQ(FrameText(texture, 1), "FACE2");
    EXPECT_EQ(g_missing, 0);
}

TEST_F(TextureChunkLoaderTest, AMissingFileIsReportedAndLeavesNoFrames) {
    CTexture* texture =
        Load(TextureRecord("gone", "nothere.tga", TFM_LINEAR, TFM_LINEAR, TFM_NONE, TAM_WRAP, TAM_WRAP, 0.0f), "gone");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(g_missing, 1);
    EXPECT_EQ(texture->GetFrameCount(), 0);
    EXPECT_FALSE(texture->IsTranslucent());
}

} // namespace
