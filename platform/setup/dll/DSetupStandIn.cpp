// Our stand-in for the DirectX redistributable's set-up library. It reports
// the installed DirectX from the version text Windows records, and its
// set-up records DirectX 8.1 there when the installed one is older (which
// asks for a restart, as installing a new DirectX core does).
#include <windows.h>

#include "platform/dxversion/DirectXVersion.h"

namespace {

const char DIRECTX_KEY[] = "Software\\Microsoft\\DirectX";
const char DIRECTX81_TEXT[] = "4.08.01.0901";
constexpr INT RESULT_SUCCESS = 0;
constexpr INT RESULT_RESTART = 1;
constexpr INT ERROR_NO_SOURCE = -3;
constexpr INT ERROR_GENERIC = -9;

bool ReadInstalled(DWORD& version, DWORD& revision) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, DIRECTX_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char text[64] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return false;
    text[size < sizeof text ? size : sizeof text - 1] = '\0';
    uint32_t v, r;
    if (!ParseDirectXVersion(text, v, r))
        return false;
    version = v, revision = r;
    return true;
}

} // namespace

extern "C" {

INT WINAPI DirectXSetupGetVersion(DWORD* version, DWORD* revision) {
    DWORD v = 0, r = 0;
    if (!ReadInstalled(v, r))
        return 0;
    if (version)
        *version = v;
    if (revision)
        *revision = r;
    return 1;
}

INT WINAPI DirectXSetupA(HWND, LPSTR folder, DWORD) {
    if (!folder)
        return ERROR_NO_SOURCE;
    DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_NO_SOURCE;
    DWORD version = 0, revision = 0;
    if (ReadInstalled(version, revision) && IsDirectX81OrLater(version, revision))
        return RESULT_SUCCESS;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, DIRECTX_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return ERROR_GENERIC;
    LONG status =
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(DIRECTX81_TEXT), sizeof DIRECTX81_TEXT);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? RESULT_RESTART : ERROR_GENERIC;
}

} // extern "C"
