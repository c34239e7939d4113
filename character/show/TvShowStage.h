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
class CCameraResource;
class CTransform;

// The show's running order in the scene, without the device: the TV node and
// its two players, the good or accessory taken into the show's layer and
// given back, the purchase through a click on the panel, the close with its
// message and the camera's focus. CTvShopping adds what is drawn (balloon,
// counter, turning item, plate and cloth picture); without it the show runs
// the same, drawing nothing.
class CTvShowStage : public ITvShow, public CConsoleObject {
public:
    static constexpr const char* NAME_SUFFIX = "_zaplenu";

    // name: the character's name; the show is "<name>_zaplenu". The TV node
    // hangs in showLayer, where presented nodes go; they go back to their own
    // parent after the show, or to roomLayer when that has gone.
    CTvShowStage(const std::string& name, CTransform* showLayer, CTransform* roomLayer, ISetting* setting,
                 const std::string& modelScope);
    ~CTvShowStage() override;

    void SetHost(ITvShowHost* host) { m_host = host; }

    // An item the show refuses (IsPresentable) changes nothing.
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
    // The node on show while a good or an accessory is presented, else null.
    CTransform* GetDisplayNode() const { return m_display.GetNode(); }

protected:
    // What is drawn over the scene in one update; nothing here.
    virtual void DrawBalloon(CCameraResource* view) {}
    virtual void DrawMoneyCounter(CRenderManager* renderManager, const float (&digits)[CTvShowProgram::WHEEL_COUNT]) {}
    virtual void DrawItem(CRenderManager* renderManager, CItem& item, CTransform* node) {}
    // The name plate and the cloth's picture for the item.
    virtual void ShowPanel(const CItem& item) {}

    TvShowPlacement GetTvPlacement() const;
    int GetWindowWidth() const;
    int GetWindowHeight() const;
    CBoneChainNode* GetTvNode() const { return m_tv; }
    const std::string& GetModelScope() const { return m_scope; }

private:
    void EndShow();

    ISetting* m_setting;
    std::string m_scope;
    ITvShowHost* m_host = nullptr;
    CItem* m_item = nullptr;
    CTvShowProgram m_program;
    CShowDisplay m_display;
    CHandle m_showLayer;
    CHandle m_roomLayer;

    CActPlayer* m_showPlayer;
    CActPlayer* m_texturePlayer;
    CBoneChainNode* m_tv;
};
