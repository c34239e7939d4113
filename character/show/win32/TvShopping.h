#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "character/show/TvShowStage.h"
#include "engine/resource/Handle.h"

class CFileTexture;
class CIndexedGeometry;
class CModelInstanceNode;
class CShader;
class CShape;
class CTransform;

// The TV-shopping show on the device: a screen-space TV in the indicator
// scene that sells one item, with its name plate (or the cloth's picture),
// the item turning, a speech balloon pointing at the room's TV and an
// eight-wheel money counter. The character owns it and steps it first in
// each update; the application gives it its host (message queue, pointer,
// camera, cursor).
class CTvShopping : public CTvShowStage {
public:
    // name: the character's name; the show is "<name>_zaplenu". The TV and
    // the dial hang in the render manager's indicator root.
    CTvShopping(const std::string& name, CRenderManager* renderManager, ISetting* setting,
                const std::string& modelScope);
    ~CTvShopping() override;

protected:
    void DrawBalloon(CCameraResource* view) override;
    void DrawMoneyCounter(CRenderManager* renderManager, const float (&digits)[CTvShowProgram::WHEEL_COUNT]) override;
    void DrawItem(CRenderManager* renderManager, CItem& item, CTransform* node) override;
    void ShowPanel(const CItem& item) override;

private:
    void ShowNamePlate(const CItem& item);
    void ShowClothPicture(const CItem& item);

    CModelInstanceNode* m_dial;
    CIndexedGeometry* m_balloonGeometry;
    CShader* m_balloonShader;
    CShape* m_balloonShape;
    // Made once: the counter's wheel place and the item's two places.
    CTransform* m_moneyNumTrans;
    CTransform* m_itemTrans;
    CTransform* m_itemLocalTrans;

    CHandle m_namePlate;
    CHandle m_clothSprite;
    CHandle m_clothShadow;
    CFileTexture* m_plateTexture = nullptr;
    std::string m_plateFile;
    CFileTexture* m_clothTexture = nullptr;
    std::string m_clothFile;
};
