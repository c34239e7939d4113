#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "character/show/ShowDisplay.h"
#include "character/show/TvShow.h"
#include "character/show/TvShowHost.h"
#include "character/show/TvShowLayout.h"
#include "character/show/TvShowProgram.h"
#include "engine/console/ConsoleObject.h"
#include "engine/resource/Handle.h"

class CActPlayer;
class CBoneChainNode;
class CFileTexture;
class CIndexedGeometry;
class CModelInstanceNode;
class CShader;
class CShape;
class CTransform;

// The TV-shopping show: a screen-space TV in the indicator scene that sells
// one item, with its name plate (or the cloth's picture), the item turning,
// a speech balloon pointing at the room's TV and an eight-wheel money
// counter. The character owns it and steps it first in each update; the
// application gives it its host (message queue, pointer, camera, cursor).
class CTvShopping : public ITvShow, public CConsoleObject {
public:
    static constexpr const char* NAME_SUFFIX = "_zaplenu";

    // name: the character's name; the show is "<name>_zaplenu". The TV and
    // the dial hang in the render manager's indicator root.
    CTvShopping(const std::string& name, CRenderManager* renderManager, ISetting* setting,
                const std::string& modelScope);
    ~CTvShopping() override;

    void SetHost(ITvShowHost* host) { m_host = host; }

    void Present(CItem* item, CRenderManager* renderManager, CCharacter& character) override;
    bool Update(ISetting* setting, CRenderManager* renderManager, CSoundManager* soundManager, CWorld& world,
                CCharacter& character, bool clicked, float step) override;
    bool IsPresenting() const override { return m_item != nullptr; }
    bool HitTest(CRenderManager* renderManager, int x, int y) override;

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    CItem* GetCurrentItem() const { return m_item; }
    const CTvShowProgram& GetProgram() const { return m_program; }
    CTransform* GetTvTransform() const;
    CActPlayer* GetShowPlayer() const { return m_showPlayer; }
    CActPlayer* GetTexturePlayer() const { return m_texturePlayer; }

private:
    TvShowPlacement GetTvPlacement() const;
    void UpdateBalloon(CCameraResource* view);
    void DrawMoneyCounter(CRenderManager* renderManager, float step);
    void DrawItem(CRenderManager* renderManager);
    void ShowNamePlate(const CItem& item);
    void ShowClothPicture(const CItem& item);
    void EndShow(CRenderManager* renderManager);

    ISetting* m_setting;
    std::string m_scope;
    ITvShowHost* m_host = nullptr;
    CItem* m_item = nullptr;
    CTvShowProgram m_program;
    CShowDisplay m_display;

    CActPlayer* m_showPlayer;
    CActPlayer* m_texturePlayer;
    CBoneChainNode* m_tv;
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
