// The show on the real device over the room: the TV slides in with its name
// plate, the cloth's picture and the money counter, and is compared with a
// kept reference; then a click on its panel buys the cloth, the register
// cue plays and the counter rolls down to the new sum. A good of the room
// and an accessory on her head turn on the TV in their turn and are drawn
// where they were once the show has closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "character/Character.h"
#include "character/item/AccessoryItem.h"
#include "character/item/Catalogue.h"
#include "character/item/GoodsItem.h"
#include "character/item/Item.h"
#include "character/item/ItemNodes.h"
#include "character/preload/PreloadLists.h"
#include "character/show/TvPreload.h"
#include "character/show/win32/TvShopping.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/camera/CameraResource.h"
#include "engine/core/FrameStamp.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/textconsole/Console.h"
#include "shell/app/RoomStage.h"
#include "shell/render/RenderManager.h"
#include "shell/sound/SoundManager.h"
#include "tests/character/ai/AiFixtures.h"
#include "tests/character/show/ShowStageFixture.h"
#include "tests/platform/audio/FakeWaveOutput.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;
// The show's step in each pass, so that every run reaches the same state.
constexpr float PASS_STEP = 40.0f;

class ShowSetting : public FakeSetting {
public:
    int GetWidth() override { return WIDTH; }
    int GetHeight() override { return HEIGHT; }
    bool IsSoundOn() override { return true; }
};

// A cloth of the catalogue with no model behind it.
class ShowCloth : public CItem {
public:
    ShowCloth() : CItem(12800, "clothBlue", "tv_item57_blueCloth") {}
    bool IsAccessory() const override { return false; }
    bool IsCloth() const override { return true; }
    bool IsEndingItem() const override { return false; }
    void PutOn() override {}
    void TakeOff() override {}
    bool IsWorn() const override { return false; }
    std::string GetScope() const override { return CRoomStage::SCOPE; }
    ModelRef GetPresentationNode1() const override { return {"cloth", RT_TRANSFORM}; }
    ModelRef GetPresentationNode2() const override { return {"cloth", RT_TRANSFORM}; }
    ModelRef GetPresentationNode3() const override { return {"cloth", RT_TRANSFORM}; }
};

class CShowRun : public CConsoleRenderer {
public:
    explicit CShowRun(HWND window) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (!GetDevice())
            return;
        stage = new CRoomStage(WIDTH, HEIGHT);
        CRenderManager* render = stage->GetRenderManager();
        PreloadTvModels(CurrentResourceManager, [render] { render->SelectResourceRoot(); });
        PreloadTvAnimations(CurrentResourceManager);
        render->SelectMainRoot();
        log = std::make_shared<WaveOutputLog>();
        sound = new CSoundManager(&setting, std::make_unique<CFakeWaveOutput>(log));
        show = new CTvShopping("vesko", render, &setting, CRoomStage::SCOPE);
        host.view = stage->GetCamera();
        show->SetHost(&host);
        CharacterSetup setup;
        setup.setting = &setting;
        vesko = new CCharacter("vesko", setup);
        vesko->GetStats().mny = 50000;
    }
    ~CShowRun() override {
        delete show;
        delete vesko;
        delete sound;
        delete stage;
    }

    int Update(float) override {
        if (IsFirstUpdate()) {
            running =
                show->Update(&setting, stage->GetRenderManager(), sound, *stage->GetWorld(), *vesko, click, PASS_STEP);
            click = false;
            stage->Queue();
            stage->GetRenderManager()->DrawIndicators();
            if (++passes == passLimit)
                PostQuitMessage(0);
        }
        return 0;
    }

    ShowSetting setting;
    RecordingShowHost host;
    std::shared_ptr<WaveOutputLog> log;
    CRoomStage* stage = nullptr;
    CSoundManager* sound = nullptr;
    CTvShopping* show = nullptr;
    CCharacter* vesko = nullptr;
    ShowCloth cloth;
    bool click = false;
    bool running = false;
    int passLimit = 0;
    int passes = 0;
};

class TvShopping : public ConsoleSceneWindowTest {
protected:
    TvShopping() : ConsoleSceneWindowTest("TvShoppingTest", "show", WIDTH, HEIGHT) {}
};

TEST_F(TvShopping, DrawsTheShowOverTheRoomAndSellsOnAClick) {
    CShowRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    ASSERT_NE(run.show->GetTvTransform(), nullptr) << "the TV model was not in archive 1";
    ASSERT_NE(run.show->GetShowPlayer()->FindAction("taveluneTV"), nullptr);

    run.show->Present(&run.cloth, run.stage->GetRenderManager(), *run.vesko);
    ASSERT_TRUE(run.show->IsPresenting());
    // 30 passes of 40: the set has slid in (32 frames, 533 ms) and stands.
    run.passLimit = 30;
    run.ResetFrameTimer();
    run.Run();
    ASSERT_TRUE(run.running);
    EXPECT_EQ(run.log->starts.size(), 1u) << "the jingle, once";
    ASSERT_GE(run.host.focusWeights.size(), 2u);
    EXPECT_EQ(run.host.focusWeights[0], 50.0f);

    const RgbPicture shot = CaptureWindow();
    ASSERT_EQ(shot.width, WIDTH);
    EXPECT_TRUE(WriteRgbPng("tv_show.png", shot));
    const PictureDifference d =
        CompareWithKept(HalveRgbPicture(shot), DESKMATE_SOURCE_DIR "/tests/character/show/win32/tv_show_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.02);

    // The show's places are made once: no update adds transforms.
    const int32_t transformSlots = TransformHandles().SlotCount();

    // A click off the panel buys nothing; one on it buys the cloth.
    run.host.pointerX = 600, run.host.pointerY = 400, run.host.leftDown = true;
    EXPECT_FALSE(run.show->HitTest(run.stage->GetRenderManager(), 600, 400));
    run.click = true;
    run.passLimit = 31;
    run.Run();
    EXPECT_EQ(run.vesko->GetStats().mny, 50000u);
    run.host.pointerX = 180, run.host.pointerY = 150;
    ASSERT_TRUE(run.show->HitTest(run.stage->GetRenderManager(), 180, 150));
    run.click = true;
    run.passLimit = 32;
    run.Run();
    EXPECT_EQ(run.vesko->GetStats().mny, 37200u);
    EXPECT_TRUE(run.cloth.IsOwned());
    EXPECT_EQ(run.show->GetProgram().GetPhase(), CTvShowProgram::PHASE_PAYING);
    ASSERT_EQ(run.log->starts.size(), 2u) << "the register";
    EXPECT_NE(run.log->starts[1].size, run.log->starts[0].size);
    const float after = run.show->GetProgram().GetDisplayMoney();
    EXPECT_LT(after, 50000.0f);
    // 12800 at 14.2497 a unit: 23 passes of 40 reach the new sum.
    run.passLimit = 32 + 23;
    run.Run();
    EXPECT_EQ(run.show->GetProgram().GetPhase(), CTvShowProgram::PHASE_PAID);
    EXPECT_FLOAT_EQ(run.show->GetProgram().GetDisplayMoney(), 37200.0f);
    EXPECT_EQ(TransformHandles().SlotCount(), transformSlots);
    // Two seconds on the show closes and tells the window, once.
    run.passLimit = 32 + 23 + 52;
    run.Run();
    EXPECT_FALSE(run.show->IsPresenting());
    EXPECT_EQ(run.host.posted, std::vector<unsigned>{0x47Cu});
    EXPECT_EQ(run.host.cursorRefreshes, 1);
    EXPECT_EQ(run.show->GetTvTransform()->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
}

} // namespace

namespace {

RgbPicture Crop(const RgbPicture& p, int x0, int y0, int w, int h) {
    RgbPicture out;
    if (x0 < 0 || y0 < 0 || x0 + w > p.width || y0 + h > p.height)
        return out;
    out.width = w, out.height = h;
    for (int y = y0; y < y0 + h; ++y)
        out.rgb.insert(out.rgb.end(), p.rgb.begin() + 3 * (y * p.width + x0),
                       p.rgb.begin() + 3 * (y * p.width + x0 + w));
    return out;
}

CTransform* FindTransform(const std::string& name) {
    return dynamic_cast<CTransform*>(CurrentResourceManager->Find((name + CRoomStage::SCOPE).c_str(), RT_TRANSFORM));
}

// One good of the room and her body (whose head carries the accessories)
// from her model archives, the body standing in the room with every
// accessory taken off.
struct ItemScene {
    explicit ItemScene(CRenderManager* render) {
        render->SelectResourceRoot();
        CDataArchive* archive = OpenModelArchive(CHARACTER_GOODS_MODEL_GROUP);
        SetModelPathPrefix(CHARACTER_GOODS_MODEL_GROUP);
        LoadModelFromArchive(CurrentResourceManager, archive, std::string("model/common/") + GOODS + ".hgm");
        delete archive;
        archive = OpenModelArchive(CHARACTER_BODY_MODEL_GROUP);
        SetModelPathPrefix(CHARACTER_BODY_MODEL_GROUP);
        LoadModelFromArchive(CurrentResourceManager, archive, "model/vesko/vesko.hgm");
        LoadModelFromArchive(CurrentResourceManager, archive, "model/vesko/cloth.hgm");
        delete archive;
        render->SelectMainRoot();
        body.reset(new CModelInstanceNode(
            "vesko_mdl", {{"vesko2002", RT_TRANSFORM}, {"vesko_clothStandard", RT_TRANSFORM}}, CRoomStage::SCOPE));
        if (CTransform* root = FindTransform("veskoRoot"))
            root->SetScale(16.66f, 16.66f, 16.66f);
        ItemContext context;
        context.lightSet = render->GetRoomLightSet().GetLightSetHandle();
        if (CTransform* root = body->GetRoot())
            root->SetLightSetTree(context.lightSet);
        for (const AccessoryRow& row : ACCESSORY_ROWS)
            SetNodeVisible(FindTransformHandle(row.modelNode, CRoomStage::SCOPE), false);
        for (const GoodsRow& row : GOODS_ROWS)
            if (std::string(row.name) == GOODS)
                good.reset(new CGoodsItem(row.name, context, row.name, row.tvId, row.viewNode, CRoomStage::SCOPE,
                                          row.twoPart, (int)row.price));
        // Both where the camera sees them, right of the show's panel.
        if (CTransform* root = body->GetRoot())
            root->SetTranslation(150.0f, 0.0f, 50.0f);
        if (CTransform* root = good ? static_cast<CGoodsItem*>(good.get())->GetModel()->GetRoot() : nullptr)
            root->SetTranslation(root->GetChannelValue(CTransform::TC_TRANSLATION_X) - 230.0f,
                                 root->GetChannelValue(CTransform::TC_TRANSLATION_Y),
                                 root->GetChannelValue(CTransform::TC_TRANSLATION_Z) - 80.0f);
        for (const AccessoryRow& row : ACCESSORY_ROWS)
            if (std::string(row.name) == ACCESSORY)
                accessory.reset(new CAccessoryItem(row.name, context, row.modelNode, row.tvId, CRoomStage::SCOPE,
                                                   row.group, (int)row.price));
    }
    ~ItemScene() {
        good.reset();
        accessory.reset();
        body.reset();
    }

    static constexpr const char* GOODS = "senpuki";
    static constexpr const char* ACCESSORY = "witchCap";
    std::unique_ptr<CModelInstanceNode> body;
    std::unique_ptr<CItem> good;
    std::unique_ptr<CItem> accessory;
};

CTransform* FindShowNode(const CItem& item) {
    const ModelRef ref = item.GetPresentationNode1();
    return dynamic_cast<CTransform*>(CurrentResourceManager->Find((ref.name + item.GetScope()).c_str(), ref.kind));
}

} // namespace

TEST_F(TvShopping, PresentsAGoodAndAnAccessoryAndPutsThemBackWhereTheyWere) {
    CShowRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    ItemScene scene(run.stage->GetRenderManager());
    ASSERT_NE(scene.body->GetRoot(), nullptr) << "her body model was not in archive 4";
    ASSERT_NE(scene.good, nullptr);
    ASSERT_NE(scene.accessory, nullptr);
    CTransform* showLayer = run.stage->GetRenderManager()->GetIndicatorRoot();

    struct Case {
        CItem* item;
        const char* picture;
        const char* reference;
        // Shows the item in the room as she has it once it is hers.
        void (*inRoom)(CItem&);
    };
    const Case cases[] = {
        {scene.good.get(), "tv_show_goods.png",
         DESKMATE_SOURCE_DIR "/tests/character/show/win32/tv_show_goods_reference.png", [](CItem&) {}},
        {scene.accessory.get(), "tv_show_accessory.png",
         DESKMATE_SOURCE_DIR "/tests/character/show/win32/tv_show_accessory_reference.png",
         [](CItem& item) { item.PutOn(); }},
    };
    run.ResetFrameTimer();
    int passes = 0;
    auto runPasses = [&](int n) {
        passes += n;
        run.passLimit = passes;
        run.Run();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->GetName());
        CTransform* node = FindShowNode(*c.item);
        ASSERT_NE(node, nullptr);
        CTransform* ownParent = node->GetParent();

        // The room without the item, then with it as hers.
        c.item->SetOwned(false);
        runPasses(3);
        const RgbPicture without = CaptureWindow();
        c.item->SetOwned(true);
        c.inRoom(*c.item);
        runPasses(3);
        const RgbPicture before = CaptureWindow();
        AdvanceFrameStamp();
        const CMatrix placeBefore = node->GetWorldMatrix();
        const PictureDifference shown = ComparePictures(without, before);
        ASSERT_TRUE(shown.sameSize);
        EXPECT_GT(shown.changedShare, 0.0005) << "the item is not in sight in the room";

        // On sale: the node is the show's while the set stands.
        c.item->SetOwned(false);
        const uint32_t money = run.vesko->GetStats().mny = 50000;
        run.host = RecordingShowHost();
        run.host.view = run.stage->GetCamera();
        run.show->Present(c.item, run.stage->GetRenderManager(), *run.vesko);
        ASSERT_TRUE(run.show->IsPresenting());
        EXPECT_EQ(node->GetParent(), showLayer);
        runPasses(30);
        ASSERT_TRUE(run.running);
        const RgbPicture shot = CaptureWindow();
        EXPECT_TRUE(WriteRgbPng(c.picture, shot));
        const RgbPicture half = HalveRgbPicture(shot);
        const PictureDifference d = CompareWithKept(half, c.reference);
        ASSERT_TRUE(d.sameSize);
        EXPECT_LT(d.meanChannelDifference, 3.0);
        EXPECT_LT(d.changedShare, 0.02);
        // The TV's corner where the item turns, on its own: an item missing
        // there would be lost in the whole picture's tolerance.
        RgbPicture kept;
        ASSERT_TRUE(ReadRgbPng(c.reference, kept));
        const PictureDifference corner = ComparePictures(Crop(half, 50, 20, 90, 85), Crop(kept, 50, 20, 90, 85));
        ASSERT_TRUE(corner.sameSize);
        EXPECT_LT(corner.changedShare, 0.03);

        // Bought on the panel; the show closes two seconds after the count.
        run.host.pointerX = 180, run.host.pointerY = 150, run.host.leftDown = true;
        run.click = true;
        runPasses(1);
        EXPECT_EQ(run.vesko->GetStats().mny, money - (uint32_t)c.item->GetPrice());
        EXPECT_TRUE(c.item->IsOwned());
        for (int i = 0; i < 40 && run.show->IsPresenting(); ++i)
            runPasses(10);
        ASSERT_FALSE(run.show->IsPresenting());
        EXPECT_EQ(run.host.posted, std::vector<unsigned>{0x47Cu});

        // Back under its own parent, and drawn where it was.
        EXPECT_EQ(node->GetParent(), ownParent);
        AdvanceFrameStamp();
        const CMatrix& placeAfter = node->GetWorldMatrix();
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(placeAfter.m[r][k], placeBefore.m[r][k], 1e-3f) << r << "," << k;
        c.inRoom(*c.item);
        runPasses(3);
        const PictureDifference back = ComparePictures(before, CaptureWindow());
        ASSERT_TRUE(back.sameSize);
        // Against the room with and without the item: unchanged.
        EXPECT_LT(back.meanChannelDifference, 0.5);
        EXPECT_LT(back.changedShare, shown.changedShare / 10.0);
        c.item->TakeOff();
    }
}
