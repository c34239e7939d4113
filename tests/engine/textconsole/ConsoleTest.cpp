// The text console on the recording device: what its construction builds,
// and that an empty console draws nothing at all.
#include <gtest/gtest.h>

#include <memory>

#include "engine/textconsole/Console.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/shader/Shader.h"

namespace {

using ConsoleTest = RecordingRendererTest;

TEST_F(ConsoleTest, BuildsItsShaderGeometryAndShapeWithItsOwnCamera) {
    CConsole console(4800);
    CResourceManager* registry = renderer->GetResourceManager();
    auto* shader = static_cast<CShader*>(registry->Find("consoleShader", RT_SHADER));
    auto* geometry = static_cast<CIndexedGeometry*>(registry->Find("consoleGeometry", RT_GEOMETRY));
    auto* shape = static_cast<CShape*>(registry->Find("consoleShape", RT_SHAPE));
    CResource* font = registry->Find("font", RT_TEXTURE);
    ASSERT_NE(shader, nullptr);
    ASSERT_NE(geometry, nullptr);
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(font, nullptr);

    EXPECT_EQ(shader->GetShaderType(), ST_CONSTANT);
    ColorRGBA colour = shader->GetColor();
    EXPECT_EQ(colour.r, 1.0f);
    EXPECT_EQ(colour.a, 1.0f);
    EXPECT_FALSE(shader->IsTranslucent());
    EXPECT_EQ(shader->GetSourceBlend(), D3DBLEND_ONE - 1);
    EXPECT_EQ(shader->GetDestinationBlend(), D3DBLEND_ONE - 1);
    EXPECT_EQ((CResource*)shader->GetTexture(), font);

    // Six vertices of position and texture coordinate per character, each
    // used once by the one triangle-list group.
    EXPECT_EQ(geometry->GetVertexMask(), (1u << VE_POSITION) | (1u << VE_TEXCOORDINATE_0));
    EXPECT_EQ(geometry->GetVertexSize(), 20);
    EXPECT_EQ(geometry->GetVertexCount(), 4800 * 6);
    EXPECT_EQ(geometry->GetGroupCount(), 1);
    EXPECT_EQ(geometry->GetGroupDrawCount(0), 4800 * 6);

    ASSERT_EQ(shape->GetPairCount(), 1);
    EXPECT_EQ(shape->GetPairShader(0), shader);
    EXPECT_EQ(shape->GetPairGeometry(0), geometry);
    EXPECT_EQ(console.GetShapeHandle(), shape->GetShapeHandle());

    // 640 × 480 orthographic from 0.1 to 1000, looking from z = 10 at the origin.
    EXPECT_FLOAT_EQ(console.GetProjection()(0, 0), 2.0f / 640);
    EXPECT_FLOAT_EQ(console.GetProjection()(1, 1), 2.0f / 480);
    EXPECT_FLOAT_EQ(console.GetProjection()(2, 2), 1.0f / (0.1f - 1000));
    EXPECT_FLOAT_EQ(console.GetView()(3, 2), -10.0f);
    EXPECT_FLOAT_EQ(console.GetView()(0, 0), 1.0f);
    EXPECT_EQ(console.GetCharacterCount(), 0);
}

TEST_F(ConsoleTest, EmptyConsoleIssuesNoDeviceCalls) {
    InstallConsoleHook();
    ConsoleFactory make = GetConsoleFactory();
    SetConsoleFactory(nullptr);
    ASSERT_NE(make, nullptr);
    std::unique_ptr<IConsoleOverlay> console(make(4800));
    ASSERT_NE(dynamic_cast<CConsole*>(console.get()), nullptr);

    device().calls.clear();
    console->Draw();
    console->Draw();
    EXPECT_TRUE(device().calls.empty());
}

TEST_F(ConsoleTest, CapacityIsKeptWithinWhatSixteenBitIndicesReach) {
    struct Case {
        int asked, kept;
    } cases[] = {{0, 1}, {-5, 1}, {4800, 4800}, {100000, CConsole::MAX_CAPACITY}};
    for (const Case& c : cases) {
        CConsole console(c.asked);
        EXPECT_EQ(console.GetCapacity(), c.kept) << c.asked;
    }
    EXPECT_LE(CConsole::MAX_CAPACITY * 6, 65535);
}

} // namespace
