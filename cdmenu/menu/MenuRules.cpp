#include "cdmenu/menu/MenuRules.h"

#include <cstring>

#include "platform/dxversion/DirectXVersion.h"

bool DxInstallEnabled(bool libraryLoaded, bool queried, uint32_t version, uint32_t revision) {
    if (!libraryLoaded)
        return false;
    if (!queried)
        return true;
    return !IsDirectX81OrLater(version, revision);
}

DxSetupOutcome ClassifyDxSetupResult(int result) {
    if (result < 0)
        return DXO_FAILED;
    return result == 1 ? DXO_RESTART : DXO_DONE;
}

bool JoinCommandLine(const std::string& head, const std::string& tail, size_t capacity, std::string& out) {
    out.clear();
    if (head.size() + tail.size() + 1 > capacity)
        return false;
    out = head + tail;
    return true;
}

std::string UninstallCommandFromValue(const char* bytes, size_t length, size_t capacity) {
    if (!bytes || capacity == 0)
        return std::string();
    size_t limit = length < capacity - 1 ? length : capacity - 1;
    const void* zero = std::memchr(bytes, 0, limit);
    size_t used = zero ? size_t(static_cast<const char*>(zero) - bytes) : limit;
    return std::string(bytes, used);
}
