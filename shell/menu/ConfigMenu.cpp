#include "shell/menu/ConfigMenu.h"

#include <cmath>
#include <cstdio>

#include "engine/input/InputTypes.h"
#include "engine/input/Pointer.h"
#include "engine/resource/ResourceKind.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "shell/menu/MenuNumbers.h"
#include "shell/menu/MenuRows.h"
#include "shell/settings/Setting.h"

namespace {

constexpr float BUTTON_HALF_WIDTH = 55, BUTTON_HALF_HEIGHT = 16;
constexpr float QUIT_DIALOG_X = 70, QUIT_DIALOG_Y = 90;
constexpr float RESET_DIALOG_X = -45, RESET_DIALOG_Y = 90;

// Glyph kinds: the ten digits, then ',' and '.'.
constexpr int GLYPH_COMMA = 10, GLYPH_POINT = 11, GLYPH_COUNT = 12;
const char* const GLYPH_MARK_NAMES[2] = {"nKanma", "nConma"};

std::string GlyphName(int glyph) {
    if (glyph < 10) {
        char name[8];
        std::snprintf(name, sizeof name, "n%d", glyph);
        return name;
    }
    return GLYPH_MARK_NAMES[glyph - 10];
}

// Sets a node's place in the menu plane and answers its name.
std::string Placed(const std::string& name, float x, float y) {
    if (CTransform* t = ResolveMenuNode(FindMenuNode(name))) {
        t->SetChannelValue(CTransform::TC_TRANSLATION_X, x);
        t->SetChannelValue(CTransform::TC_TRANSLATION_Z, y);
    }
    return name;
}

CMenuButton DialogButton(const std::string& normal, const std::string& hover, const std::string& scope) {
    return CMenuButton(normal + scope, hover + scope, CMenuDialog::BUTTON_HALF_WIDTH, CMenuDialog::BUTTON_HALF_HEIGHT);
}

} // namespace

CConfigMenu::CConfigMenu(const char* name, ISetting& setting, CTransform* parent, CHandle lightSet,
                         const std::string& scope)
    : CConsoleObject(name),
      m_setting(setting),
      m_scope(scope),
      m_menuNode(std::make_unique<CModelInstanceNode>(CONFIG_MENU_MODEL, CONFIG_MENU_MODEL, RT_TRANSFORM, scope)),
      m_lightSet(lightSet),
      m_quit("quit0" + scope, "quit1" + scope, BUTTON_HALF_WIDTH, BUTTON_HALF_HEIGHT),
      m_initialize("initialize0" + scope, "initialize1" + scope, BUTTON_HALF_WIDTH, BUTTON_HALF_HEIGHT),
      m_ok("ok0" + scope, "ok1" + scope, BUTTON_HALF_WIDTH, BUTTON_HALF_HEIGHT),
      m_quitDialog(
          Placed("dialogQuit" + scope, QUIT_DIALOG_X, QUIT_DIALOG_Y),
          {DialogButton("Quit_cancelOFF", "Quit_cancelOVER", scope), DialogButton("Quit_okOFF", "Quit_okOVER", scope)}),
      m_resetDialog(Placed("dialogInitialize" + scope, RESET_DIALOG_X, RESET_DIALOG_Y),
                    {DialogButton("InitializecancelOFF", "InitializecancelOVER", scope),
                     DialogButton("InitializeokOFF", "InitializeokOVER", scope)}) {
    CTransform* root = m_menuNode->GetRoot();
    if (root) {
        if (parent)
            parent->AddChild(root);
        root->SetTranslation(0, 0, MENU_Z);
        root->SetRotation(QUARTER_TURN, 0, 0);
        root->SetScale(100, 100, 100);
        root->SetLightSetTree(lightSet);
        root->SetVisible(0);
    }
    for (const MenuRowSpec& row : MENU_ROWS) {
        std::vector<std::string> marks;
        for (int i = 0; i < row.count; ++i)
            marks.push_back(row.marks[i] + scope);
        m_rows.push_back(std::make_unique<CMenuRadio>(marks));
    }
    Placed("nYen" + scope, UNIT_X, MONEY_Y);
    Placed("nPercent" + scope, UNIT_X, PERCENT_Y);
    // The glyph layer sits in the panel's own space, beside the templates.
    CTransform* layer = new CTransform(("MenuGlyphs" + scope).c_str());
    layer->SetVisible(0);
    if (CTransform* panel = ResolveMenuNode(FindMenuNode(CONFIG_MENU_MODEL + scope)))
        panel->AddChild(layer);
    else if (root)
        root->AddChild(layer);
    m_glyphLayer = layer->GetTransformHandle();
    m_glyphs.resize(GLYPH_COUNT);
    m_glyphUses.assign(GLYPH_COUNT, 0);
    for (int g = 0; g < GLYPH_COUNT; ++g) {
        CHandle node = FindMenuNode(GlyphName(g) + scope);
        SetMenuNodeVisible(node, false);
        m_glyphs[size_t(g)].push_back(node);
    }
}

CConfigMenu::~CConfigMenu() = default;

CTransform* CConfigMenu::GetMenuTransform() const { return m_menuNode->GetRoot(); }

void CConfigMenu::Open(uint32_t money, float collectedRatio) {
    m_money = money;
    m_collectedRatio = collectedRatio;
    if (CTransform* root = GetMenuTransform())
        root->SetVisible(1);
    m_elapsed = 0;
    m_openCount = 0;
    SyncFromSettings();
}

bool CConfigMenu::IsOpen() const {
    CTransform* root = GetMenuTransform();
    return root && root->GetChannelValue(CTransform::TC_VISIBLE) == 1.0f;
}

float CConfigMenu::GetScale() const { return float(m_setting.GetWidth()) * SCALE_PER_WIDTH; }

void CConfigMenu::ScreenToMenu(float x, float y, float& menuX, float& menuY) const {
    const float unit = GetScale() * 0.01f;
    if (!(unit > 0.0f)) {
        // A window of no width has no menu plane: nothing lies inside it.
        menuX = menuY = INFINITY;
        return;
    }
    menuX = (x - float(m_setting.GetWidth()) / 2) / unit;
    menuY = (y - float(m_setting.GetHeight()) / 2) / unit;
}

bool CConfigMenu::ContainsPoint(int x, int y) const {
    float mx, my;
    ScreenToMenu(float(x), float(y), mx, my);
    return m_menuRect.Contains(mx, my);
}

void CConfigMenu::SyncFromSettings() {
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->Select(MENU_ROWS[i].get(m_setting));
}

bool CConfigMenu::Update(IMenuHost& host, float dt) {
    CTransform* root = GetMenuTransform();
    const float scale = GetScale();
    if (root)
        root->SetScale(scale, scale, scale);
    if (m_openCount == 0) {
        host.PlayCue("open");
        ++m_openCount;
    }
    m_elapsed += dt;
    if (m_elapsed < OPENING_MS) {
        const float t = (m_elapsed - OPENING_MS) / OPENING_MS;
        if (root)
            root->SetChannelValue(CTransform::TC_TRANSLATION_X, -SLIDE_DISTANCE * t * t);
        return true;
    }
    if (root)
        root->SetChannelValue(CTransform::TC_TRANSLATION_X, 0);

    float x = INFINITY, y = INFINITY;
    bool click = false, rightClick = false;
    if (CPointer* pointer = host.GetPointer()) {
        ScreenToMenu(float(pointer->GetAxis(PA_X).value), float(pointer->GetAxis(PA_Y).value), x, y);
        click = KeyPressed(pointer->GetButton(PB_LEFT));
        rightClick = KeyPressed(pointer->GetButton(PB_RIGHT));
    }

    if (m_quitDialog.IsShown()) {
        const int rc = m_quitDialog.HitTest(x, y, click);
        if (rc >= 0 || rightClick) {
            m_quitDialog.Hide();
            if (rc == 1) {
                host.PlayCue("kettei");
                if (root)
                    root->SetVisible(0);
                host.Wait(QUIT_WAIT_MS);
                return false;
            }
            host.PlayCue("cancel");
        }
    } else if (m_resetDialog.IsShown()) {
        const int rc = m_resetDialog.HitTest(x, y, click);
        if (rc >= 0 || rightClick) {
            m_resetDialog.Hide();
            if (rc == 1) {
                host.PlayCue("kettei");
                m_setting.SetClearMode(true);
            } else {
                host.PlayCue("cancel");
            }
        }
    } else {
        for (size_t i = 0; i < m_rows.size(); ++i) {
            const int index = m_rows[i]->HitTest(x, y, click);
            if (index >= 0) {
                host.PlayCue("kettei");
                MENU_ROWS[i].set(m_setting, index);
            }
        }
        if (m_quit.HitTest(x, y, click) == 0) {
            host.PlayCue("kettei");
            m_quitDialog.Show();
        }
        if (m_initialize.HitTest(x, y, click) == 0) {
            host.PlayCue("kettei");
            m_resetDialog.Show();
        }
        if (m_ok.HitTest(x, y, click) == 0) {
            host.PlayCue("kettei");
            if (root)
                root->SetVisible(0);
        }
    }

    m_glyphUses.assign(GLYPH_COUNT, 0);
    DrawMoney(MONEY_X, MONEY_Y, m_money < MENU_MONEY_LIMIT ? m_money : MENU_MONEY_LIMIT);
    DrawPercent(PERCENT_X, PERCENT_Y, m_collectedRatio * 100.0f);
    QueueGlyphs(host);
    SyncFromSettings();
    return true;
}

void CConfigMenu::DrawMoney(float x, float y, uint32_t money) { DrawGlyphString(x, y, FormatMoney(money)); }

void CConfigMenu::DrawPercent(float x, float y, float percent) { DrawGlyphString(x, y, FormatPercent(percent)); }

CTransform* CConfigMenu::GlyphNode(int glyph, size_t use) {
    std::vector<CHandle>& pool = m_glyphs[size_t(glyph)];
    CTransform* source = ResolveMenuNode(pool[0]);
    if (!source)
        return nullptr;
    CTransform* layer = ResolveMenuNode(m_glyphLayer);
    if (!layer)
        return nullptr;
    // Slot 0 keeps the template, which is never drawn itself.
    while (pool.size() <= use + 1) {
        CTransform* copy = source->Clone("#" + std::to_string(pool.size()));
        if (!copy)
            return nullptr;
        layer->AddChild(copy);
        copy->SetLightSetTree(m_lightSet);
        copy->SetVisible(0);
        pool.push_back(copy->GetTransformHandle());
    }
    return ResolveMenuNode(pool[use + 1]);
}

void CConfigMenu::DrawGlyphString(float x, float y, const std::string& text) {
    for (size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        int glyph;
        float width;
        if (c >= '0' && c <= '9') {
            glyph = c - '0';
            width = DIGIT_WIDTH;
        } else if (c == '.') {
            glyph = GLYPH_POINT;
            width = MARK_WIDTH;
        } else if (c == ',') {
            glyph = GLYPH_COMMA;
            width = MARK_WIDTH;
        } else {
            continue;
        }
        if (CTransform* node = GlyphNode(glyph, m_glyphUses[size_t(glyph)]++)) {
            node->SetChannelValue(CTransform::TC_TRANSLATION_X, x - width / 2);
            node->SetChannelValue(CTransform::TC_TRANSLATION_Z, y);
            node->SetVisible(1);
            m_shownGlyphs.push_back(node->GetTransformHandle());
        }
        x -= width;
    }
}

// One walk for all glyphs: it opens the frame's camera record itself, so
// that each glyph is placed and drawn against the indicator camera. A walk
// per glyph would leave all but the first on a record that is only filled
// after them.
void CConfigMenu::QueueGlyphs(IMenuHost& host) {
    CTransform* layer = ResolveMenuNode(m_glyphLayer);
    if (layer && !m_shownGlyphs.empty()) {
        layer->SetVisible(1);
        host.QueueIndicatorTree(layer, true);
        layer->SetVisible(0);
    }
    for (CHandle glyph : m_shownGlyphs)
        SetMenuNodeVisible(glyph, false);
    m_shownGlyphs.clear();
}
