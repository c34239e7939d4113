#include "shell/menu/MenuWidgets.h"

#include "engine/resource/ResourceKind.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

CHandle FindMenuNode(const std::string& name) {
    if (!CurrentResourceManager)
        return CHandle();
    CTransform* node = dynamic_cast<CTransform*>(CurrentResourceManager->Find(name.c_str(), RT_TRANSFORM));
    return node ? node->GetTransformHandle() : CHandle();
}

CTransform* ResolveMenuNode(CHandle node) { return TransformHandles().Resolve(node); }

void GetMenuPosition(CHandle node, float& x, float& y) {
    x = y = 0;
    if (CTransform* t = ResolveMenuNode(node)) {
        x = t->GetChannelValue(CTransform::TC_TRANSLATION_X);
        y = t->GetChannelValue(CTransform::TC_TRANSLATION_Z);
    }
}

void SetMenuNodeVisible(CHandle node, bool visible) {
    if (CTransform* t = ResolveMenuNode(node))
        t->SetVisible(visible ? 1.0f : 0.0f);
}

bool IsMenuNodeVisible(CHandle node) {
    CTransform* t = ResolveMenuNode(node);
    return t && t->GetChannelValue(CTransform::TC_VISIBLE) == 1.0f;
}

CMenuButton::CMenuButton(const std::string& normal, const std::string& hover, float halfWidth, float halfHeight)
    : m_normal(FindMenuNode(normal)),
      m_hover(hover.empty() ? CHandle() : FindMenuNode(hover)) {
    float x, y;
    GetMenuPosition(m_normal, x, y);
    m_rect = MenuRect::Around(x, y, halfWidth, halfHeight);
}

int CMenuButton::HitTest(float x, float y, bool clicked) {
    const bool inside = m_rect.Contains(x, y);
    if (ResolveMenuNode(m_hover)) {
        SetMenuNodeVisible(m_hover, inside);
        SetMenuNodeVisible(m_normal, !inside);
    } else {
        SetMenuNodeVisible(m_normal, true);
    }
    return clicked && inside ? 0 : -1;
}

CMenuRadio::CMenuRadio(const std::vector<std::string>& marks) {
    for (const std::string& name : marks) {
        Entry entry;
        entry.mark = FindMenuNode(name);
        float x, y;
        GetMenuPosition(entry.mark, x, y);
        entry.rect = MenuRect::Around(x, y, MARK_HALF_SIZE, MARK_HALF_SIZE);
        m_entries.push_back(entry);
    }
}

int CMenuRadio::HitTest(float x, float y, bool clicked) const {
    if (!clicked)
        return -1;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].rect.Contains(x, y))
            return int(i);
    return -1;
}

void CMenuRadio::Select(int index) {
    for (size_t i = 0; i < m_entries.size(); ++i)
        SetMenuNodeVisible(m_entries[i].mark, int(i) == index);
}

CMenuDialog::CMenuDialog(const std::string& node, const std::vector<CMenuButton>& buttons)
    : m_node(FindMenuNode(node)),
      m_buttons(buttons) {
    float x, y;
    GetMenuPosition(m_node, x, y);
    m_rect = MenuRect::Around(x, y, HALF_WIDTH, HALF_HEIGHT);
    Hide();
}

int CMenuDialog::HitTest(float x, float y, bool clicked) {
    float dx, dy;
    GetMenuPosition(m_node, dx, dy);
    int result = -1;
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i].HitTest(x - dx, y - dy, clicked) == 0)
            result = int(i);
    return result;
}
