#pragma once
#include <string>
#include <vector>

#include "engine/resource/Handle.h"

class CTransform;

// An area of the menu plane in menu units: x0 <= x < x1, y0 <= y < y1.
struct MenuRect {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool Contains(float x, float y) const { return x0 <= x && x < x1 && y0 <= y && y < y1; }
    // The area of half size (halfWidth, halfHeight) around (x, y).
    static MenuRect Around(float x, float y, float halfWidth, float halfHeight) {
        return MenuRect{x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
    }
};

// Transform nodes of the menu instance, held by handle and resolved at use.
// A node's place in the menu plane is its translation X and Z.
CHandle FindMenuNode(const std::string& name);
CTransform* ResolveMenuNode(CHandle node);
// (0, 0) for a node that does not resolve.
void GetMenuPosition(CHandle node, float& x, float& y);
void SetMenuNodeVisible(CHandle node, bool visible);
bool IsMenuNodeVisible(CHandle node);

// A push button of the panel or of a dialog: its area around the normal
// node, and a hover node shown instead of the normal one while the pointer
// is over it.
class CMenuButton {
public:
    // Looks both nodes up by name (a hover name of "" means none).
    CMenuButton(const std::string& normal, const std::string& hover, float halfWidth, float halfHeight);

    // 0 when clicked inside, else -1; shows the hover or the normal node.
    int HitTest(float x, float y, bool clicked);
    const MenuRect& GetRect() const { return m_rect; }
    CHandle GetNormalNode() const { return m_normal; }
    CHandle GetHoverNode() const { return m_hover; }

private:
    MenuRect m_rect;
    CHandle m_normal;
    CHandle m_hover;
};

// One row of marks: entry i stands for the value i, and only the mark of the
// selected value shows.
class CMenuRadio {
public:
    static constexpr float MARK_HALF_SIZE = 8.0f;

    explicit CMenuRadio(const std::vector<std::string>& marks);

    // With a click, the index of the first entry holding the point; else -1.
    int HitTest(float x, float y, bool clicked) const;
    // Entry i shown, every other hidden (a value outside the row hides all).
    void Select(int index);
    int GetCount() const { return int(m_entries.size()); }
    const MenuRect& GetRect(int index) const { return m_entries[size_t(index)].rect; }
    CHandle GetMark(int index) const { return m_entries[size_t(index)].mark; }

private:
    struct Entry {
        MenuRect rect;
        CHandle mark;
    };
    std::vector<Entry> m_entries;
};

// A confirmation dialog: its node, its area, and its buttons, whose areas
// are relative to the dialog node. Index 0 cancels, index 1 confirms.
class CMenuDialog {
public:
    static constexpr float HALF_WIDTH = 90.0f, HALF_HEIGHT = 40.0f;
    static constexpr float BUTTON_HALF_WIDTH = 24.0f, BUTTON_HALF_HEIGHT = 11.0f;

    // Hidden from the start.
    CMenuDialog(const std::string& node, const std::vector<CMenuButton>& buttons);

    // Every button updates its hover; the index of the last one clicked, or -1.
    int HitTest(float x, float y, bool clicked);
    void Show() { SetMenuNodeVisible(m_node, true); }
    void Hide() { SetMenuNodeVisible(m_node, false); }
    bool IsShown() const { return IsMenuNodeVisible(m_node); }
    const MenuRect& GetRect() const { return m_rect; }
    CMenuButton& GetButton(int index) { return m_buttons[size_t(index)]; }

private:
    CHandle m_node;
    MenuRect m_rect;
    std::vector<CMenuButton> m_buttons;
};
