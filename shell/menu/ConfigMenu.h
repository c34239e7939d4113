#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/resource/Handle.h"
#include "shell/menu/MenuWidgets.h"

class CModelInstanceNode;
class CNode;
class CPointer;
class CRenderManager;
class CSoundManager;
class CTransform;
class ISetting;

// The menu model in model archive 2 (model path prefix 2).
constexpr const char* CONFIG_MENU_MODEL_PATH = "model/indicator/configMenu.hgm";
// The menu model's top transform.
constexpr const char* CONFIG_MENU_MODEL = "Menu";

// Loads the menu model of model archive 2 under the render manager's
// resource root; true even when the archive or the entry is missing.
bool LoadConfigMenuModel(CRenderManager& renderManager);

// What one update of the menu reads and drives besides the settings: the
// pointer, the sound cues, the indicator draw list and the pause before the
// program ends.
class IMenuHost {
public:
    virtual ~IMenuHost() = default;
    // Null reads as no pointer movement and no button.
    virtual CPointer* GetPointer() = 0;
    virtual void PlayCue(const char* cue) = 0;
    // Queues a tree with the indicator camera; newCamera records the camera.
    virtual void QueueIndicatorTree(CNode* root, bool newCamera) = 0;
    virtual void Wait(int milliseconds) = 0;
};

// The configuration menu "menu": a panel drawn in the indicator scene with
// seven rows of marks bound to settings, the money and the collected share,
// and the quit, initialize and ok buttons, the first two asking in a dialog
// first. It slides in when opened and takes no input for its first 100 ms.
// Everything it shows is a node of its model instance, found by name plus
// the scope; names the model lacks are left out and never touched. The
// system object owns it and steps it, instead of the world, while it is
// open. The settings object is not owned.
class CConfigMenu : public CConsoleObject {
public:
    static constexpr float OPENING_MS = 100.0f;
    static constexpr float SLIDE_DISTANCE = 64000.0f;
    static constexpr float SCALE_PER_WIDTH = 0.15625f;
    static constexpr float MENU_Z = 20000.0f;
    static constexpr float QUARTER_TURN = 1.5707963f;
    static constexpr int QUIT_WAIT_MS = 1000;
    static constexpr int ROW_COUNT = 7;
    // Where the numbers end (their right edge) and the unit marks stand.
    static constexpr float MONEY_X = 80, MONEY_Y = 75, PERCENT_X = 80, PERCENT_Y = 95;
    static constexpr float UNIT_X = 92;
    static constexpr float DIGIT_WIDTH = 12, MARK_WIDTH = 6;

    // The instance "Menu" of the loaded menu model under `parent`, lit by
    // `lightSet` and closed.
    CConfigMenu(const char* name, ISetting& setting, CTransform* parent, CHandle lightSet, const std::string& scope);
    // The same under the render manager's indicator root, with its indicator
    // light set; the indicator root stays the default parent.
    CConfigMenu(const char* name, CRenderManager& renderManager, ISetting& setting, const std::string& scope);
    ~CConfigMenu() override;

    // Shows the menu with the money and share (0..1) to display, from the
    // start of its slide, with the marks as the settings are now.
    void Open(uint32_t money, float collectedRatio);
    bool IsOpen() const;
    // A window point inside the panel.
    bool ContainsPoint(int x, int y) const;

    // One step of the open menu; false only when the user confirmed quitting.
    using CConsoleObject::Update;
    bool Update(IMenuHost& host, float dt);
    // The same with the program's render manager, sound manager and pointer.
    bool Update(CRenderManager& renderManager, CSoundManager& soundManager, CPointer* pointer, float dt);

    void SyncFromSettings();

    // Window width x 0.15625: 100 at 640 pixels wide.
    float GetScale() const;
    void ScreenToMenu(float x, float y, float& menuX, float& menuY) const;

    // The numbers are laid out by these and drawn together by QueueGlyphs.
    void DrawMoney(float x, float y, uint32_t money);
    void DrawPercent(float x, float y, float percent);
    // Right to left from x: each glyph is centred on its place and shown.
    void DrawGlyphString(float x, float y, const std::string& text);
    // Queues every glyph shown since the last call in one walk that records
    // the indicator camera, then hides them again.
    void QueueGlyphs(IMenuHost& host);

    CTransform* GetMenuTransform() const;
    const MenuRect& GetMenuRect() const { return m_menuRect; }
    CMenuRadio& GetRow(int index) { return *m_rows[size_t(index)]; }
    CMenuButton& GetQuitButton() { return m_quit; }
    CMenuButton& GetInitializeButton() { return m_initialize; }
    CMenuButton& GetOkButton() { return m_ok; }
    CMenuDialog& GetQuitDialog() { return m_quitDialog; }
    CMenuDialog& GetResetDialog() { return m_resetDialog; }
    uint32_t GetMoney() const { return m_money; }
    float GetCollectedRatio() const { return m_collectedRatio; }
    float GetElapsed() const { return m_elapsed; }

private:
    // The node that draws the `use`-th glyph of its kind in one update: a
    // copy of the template made when first needed, so that every place drawn
    // in a frame has a node and a world matrix of its own.
    CTransform* GlyphNode(int glyph, size_t use);

    ISetting& m_setting;
    std::string m_scope;
    uint32_t m_money = 0;
    float m_collectedRatio = 0;
    float m_elapsed = 0;
    int m_openCount = 0;
    std::unique_ptr<CModelInstanceNode> m_menuNode;
    CHandle m_lightSet;
    MenuRect m_menuRect{-192, -160, 192, 160};
    std::vector<std::unique_ptr<CMenuRadio>> m_rows;
    CMenuButton m_quit;
    CMenuButton m_initialize;
    CMenuButton m_ok;
    CMenuDialog m_quitDialog;
    CMenuDialog m_resetDialog;
    // Per glyph ("n0".."n9", "nKanma", "nConma"): the template, then its
    // copies, which hang under the glyph layer, hidden but while queued.
    std::vector<std::vector<CHandle>> m_glyphs;
    std::vector<size_t> m_glyphUses;
    CHandle m_glyphLayer;
    std::vector<CHandle> m_shownGlyphs;
};
