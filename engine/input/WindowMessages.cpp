#include "engine/input/WindowMessages.h"

FocusChange ClassifyFocusMessage(uint32_t message, uintptr_t wParam) {
    switch (message) {
    case IM_ACTIVATE:
        // Low word 0 is "inactive"; 1 and 2 activate (by program or by click).
        return LowWord(wParam) == 0 ? FC_DEACTIVATED : FC_ACTIVATED;
    case IM_ACTIVATEAPP: return wParam == 0 ? FC_DEACTIVATED : FC_NONE;
    case IM_ENTERMENULOOP: return FC_MENU_ENTER;
    case IM_EXITMENULOOP: return FC_MENU_EXIT;
    default: return FC_NONE;
    }
}
