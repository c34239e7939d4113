#include "character/show/win32/TvShopping.h"

#include <cmath>
#include <cstring>

#include "character/item/Catalogue.h"
#include "character/item/Item.h"
#include "character/item/ItemNodes.h"
#include "character/show/TvPreload.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/VertexSize.h"
#include "engine/core/FrameStamp.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "engine/math/MatrixStack.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/ParentSwap.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "engine/texture/Texture.h"
#include "shell/render/RenderManager.h"
#include "shell/settings/Setting.h"
#include "shell/world/World.h"

namespace {

constexpr const char* MONEY_DIAL_NAME = "money_dial";
// The dial model's top node.
constexpr const char* MONEY_DIAL_MODEL = "moneyDial";
constexpr const char* NAME_PLATE_NODE = "itemNamePlate";
constexpr const char* CLOTH_SPRITE_NODE = "clothSpriteImage";
constexpr const char* CLOTH_SHADOW_NODE = "clothShadow1";
constexpr const char* NAME_PLATE_MATERIAL = "lambert10";
constexpr const char* CLOTH_SPRITE_MATERIAL = "clothSprite";

constexpr uint32_t BALLOON_VERTEX_MASK = 0x801; // position, texcoord
struct BalloonVertex {
    float x, y, z, u, v;
};
// Show units relative to the TV node, behind the set: two corners inside the
// panel; the third is moved to the room TV every update, so that the tail
// comes out from under the set towards it.
const BalloonVertex BALLOON_VERTICES[3] = {
    {-21000.0f, 2500.0f, -150.0f, 0.0f, 0.0f},
    {-13000.0f, 2500.0f, -150.0f, 1.0f, 0.0f},
    {-17000.0f, -6000.0f, -150.0f, 0.5f, 1.0f},
};
const uint16_t BALLOON_INDICES[3] = {0, 1, 2};

// Offsets of the counter and the item from the TV node.
constexpr float DIAL_OFFSET_X = -14500.0f, DIAL_OFFSET_Y = -4000.0f, DIAL_SPACING = 1500.0f;
constexpr float DIGIT_TURN = 0.6283185f;
constexpr float ITEM_OFFSET_X = -11300.0f, ITEM_OFFSET_Y = 14000.0f, ITEM_OFFSET_Z = 10000.0f;
constexpr float ITEM_TILT = 0.5235984f;
constexpr float ITEM_TURN_PER_UPDATE = 0.01f;

// One angle for every show: the item keeps turning from where the last stopped.
float g_itemTurn = 0.0f;

CTransform* NewLooseTransform(const char* name) {
    CTransform* previous = GetDefaultParent();
    SetDefaultParent(nullptr);
    CTransform* t = new CTransform(name);
    SetDefaultParent(previous);
    return t;
}

CShader* FindSharedShader(const char* name) {
    return CurrentResourceManager ? dynamic_cast<CShader*>(CurrentResourceManager->Find(name, RT_SHADER)) : nullptr;
}

// The file's texture from the show's folder, made when the kept one is not it.
void SetTextureFromFile(const std::string& file, const char* material, CFileTexture*& kept, std::string& keptFile) {
    CShader* shader = FindSharedShader(material);
    if (file != keptFile || !kept) {
        if (shader && kept && shader->GetTexture() == kept)
            shader->SetTexture(nullptr);
        delete kept;
        kept = nullptr;
        SetModelPathPrefix(TV_MODEL_GROUP);
        const std::string path = std::string(GetModelPathPrefix()) + file;
        kept = new CFileTexture(file.c_str(), path.c_str(), TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_CLAMP, TAM_CLAMP, 1,
                                false);
        keptFile = file;
    }
    if (shader)
        shader->SetTexture(kept);
}

CTransform* IndicatorRootOf(CRenderManager* renderManager) {
    return renderManager ? renderManager->GetIndicatorRoot() : nullptr;
}

CTransform* MainRootOf(CRenderManager* renderManager) { return renderManager ? renderManager->GetMainRoot() : nullptr; }

} // namespace

CTvShopping::CTvShopping(const std::string& name, CRenderManager* renderManager, ISetting* setting,
                         const std::string& modelScope)
    : CTvShowStage(name, IndicatorRootOf(renderManager), MainRootOf(renderManager), setting, modelScope) {
    CTransform* previous = GetDefaultParent();
    if (renderManager)
        renderManager->SelectIndicatorRoot();

    m_dial = new CModelInstanceNode(MONEY_DIAL_NAME, MONEY_DIAL_MODEL, RT_TRANSFORM, modelScope);
    if (CTransform* root = m_dial->GetRoot())
        root->SetVisible(0.0f);

    m_balloonGeometry = new CIndexedGeometry("TvBalloonGeometry", BALLOON_VERTEX_MASK, 3, BALLOON_VERTICES);
    m_balloonGeometry->AddGroup(PT_TRIANGLE_LIST, 3, BALLOON_INDICES);
    m_balloonShader = CreateShader("TvBalloonShader", ST_CONSTANT);
    if (m_balloonShader)
        m_balloonShader->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (m_balloonShader && CurrentResourceManager)
        m_balloonShader->SetTexture(dynamic_cast<CTexture*>(CurrentResourceManager->Find("dummyTex", RT_TEXTURE)));
    m_balloonShape = new CShape("TvBalloonShape");
    m_balloonShape->AddPair(m_balloonShader, m_balloonGeometry);
    if (CTransform* root = GetTvTransform())
        root->AddChild(m_balloonShape);

    m_moneyNumTrans = NewLooseTransform("money_num_trans");
    m_itemTrans = NewLooseTransform("item_trans");
    m_itemLocalTrans = NewLooseTransform("item_local_trans");
    m_itemTrans->AddChild(m_itemLocalTrans);
    SetDefaultParent(previous);

    m_namePlate = FindTransformHandle(NAME_PLATE_NODE, modelScope);
    m_clothSprite = FindTransformHandle(CLOTH_SPRITE_NODE, modelScope);
    m_clothShadow = FindTransformHandle(CLOTH_SHADOW_NODE, modelScope);
}

CTvShopping::~CTvShopping() {
    delete m_itemLocalTrans;
    delete m_itemTrans;
    delete m_moneyNumTrans;
    delete m_balloonShape;
    delete m_dial;
    delete m_balloonGeometry;
    delete m_balloonShader;
    if (CShader* plate = FindSharedShader(NAME_PLATE_MATERIAL))
        if (plate->GetTexture() == m_plateTexture)
            plate->SetTexture(nullptr);
    if (CShader* sprite = FindSharedShader(CLOTH_SPRITE_MATERIAL))
        if (sprite->GetTexture() == m_clothTexture)
            sprite->SetTexture(nullptr);
    delete m_plateTexture;
    delete m_clothTexture;
}

void CTvShopping::ShowPanel(const CItem& item) {
    ShowNamePlate(item);
    ShowClothPicture(item);
}

void CTvShopping::ShowNamePlate(const CItem& item) {
    if (item.GetTvId().empty()) {
        SetNodeVisible(m_namePlate, false);
        return;
    }
    SetNodeVisible(m_namePlate, true);
    SetTextureFromFile(item.GetTvId() + ".tga", NAME_PLATE_MATERIAL, m_plateTexture, m_plateFile);
}

void CTvShopping::ShowClothPicture(const CItem& item) {
    const bool cloth = item.IsCloth();
    SetNodeVisible(m_clothSprite, cloth);
    SetNodeVisible(m_clothShadow, cloth);
    if (!cloth)
        return;
    const ClothRow* row = FindClothRow(item.GetName().c_str());
    if (row && row->tvPicture[0])
        SetTextureFromFile(std::string(row->tvPicture) + ".tga", CLOTH_SPRITE_MATERIAL, m_clothTexture, m_clothFile);
}

void CTvShopping::DrawBalloon(CCameraResource* view) {
    if (!view || !m_balloonGeometry)
        return;
    int px = 0, py = 0;
    CWorld::ProjectTvScreenAnchor(*view, px, py);
    const TvShowPlacement tv = GetTvPlacement();
    auto* vertices = reinterpret_cast<BalloonVertex*>(m_balloonGeometry->GetWorkingVertices());
    vertices[2].x = ToShowX(float(px), GetWindowWidth(), tv.x);
    vertices[2].y = ToShowY(float(py), GetWindowHeight(), tv.y);
    m_balloonGeometry->UploadVertices(3);
}

void CTvShopping::DrawMoneyCounter(CRenderManager* renderManager, const float (&digits)[CTvShowProgram::WHEEL_COUNT]) {
    CTransform* dial = m_dial ? m_dial->GetRoot() : nullptr;
    if (!renderManager || !dial)
        return;
    const TvShowPlacement tv = GetTvPlacement();
    float x = tv.x + DIAL_OFFSET_X;
    CParentSwap swap(dial, m_moneyNumTrans);
    dial->SetVisible(1.0f);
    for (int i = 0; i < CTvShowProgram::WHEEL_COUNT; ++i) {
        m_moneyNumTrans->SetTranslation(x, tv.y + DIAL_OFFSET_Y, tv.z);
        m_moneyNumTrans->SetRotation(digits[i] * DIGIT_TURN, 0.0f, 0.0f);
        renderManager->GetIndicatorDrawList().AddTree(m_moneyNumTrans, renderManager->GetIndicatorCamera(), i == 0);
        // World matrices are cached a frame: the next wheel's place needs a new one.
        AdvanceFrameStamp();
        x -= DIAL_SPACING;
    }
    dial->SetVisible(0.0f);
    swap.Restore();
}

void CTvShopping::DrawItem(CRenderManager* renderManager, CItem& item, CTransform* node) {
    if (!renderManager || !node)
        return;
    float cx = 0, cy = 0, cz = 0, radius = 0;
    item.GetBoundingSphere(cx, cy, cz, radius);
    const float scale = ItemShowScale(radius);
    const TvShowPlacement tv = GetTvPlacement();
    m_itemTrans->SetTranslation(tv.x + ITEM_OFFSET_X, tv.y + ITEM_OFFSET_Y, tv.z + ITEM_OFFSET_Z);
    m_itemTrans->SetScale(scale, scale, scale);
    g_itemTurn += ITEM_TURN_PER_UPDATE;
    CMatrixStack stack(1);
    stack.Top().SetIdentity();
    stack.Translate(-cx, -cy, -cz);
    stack.RotateZ(ITEM_TILT);
    stack.RotateY(g_itemTurn);
    m_itemLocalTrans->SetLocalMatrix(stack.Top());
    // An accessory for sale is not worn, so its node is hidden: shown for
    // the show's draw only.
    const float visible = node->GetChannelValue(CTransform::TC_VISIBLE);
    node->SetVisible(1.0f);
    CParentSwap swap(node, m_itemLocalTrans);
    renderManager->GetIndicatorDrawList().AddTree(m_itemTrans, renderManager->GetIndicatorCamera(), false);
    swap.Restore();
    node->SetVisible(visible);
}
