#pragma once
#include <windows.h>

#include <string>

// The DirectX set-up library of the disc ("dsetup.dll" in its DirectX
// folder), loaded at run time so that a disc without it still starts its
// menu. Its two entry points are taken by ordinal.
class CDirectXSetupLibrary {
public:
    // The set-up flags for the DirectX core with its display and sound drivers.
    static constexpr DWORD DSETUP_DIRECTX = 0x10018;

    CDirectXSetupLibrary() = default;
    ~CDirectXSetupLibrary();
    CDirectXSetupLibrary(const CDirectXSetupLibrary&) = delete;
    CDirectXSetupLibrary& operator=(const CDirectXSetupLibrary&) = delete;

    // Loads "<folder>\dsetup.dll"; false (nothing held) when it or either
    // entry point is missing.
    bool Load(const std::string& folder);
    bool IsLoaded() const { return m_module != nullptr; }

    // False without the library or when the query fails.
    bool GetVersion(DWORD& version, DWORD& revision) const;
    // The library's result: negative on failure, 1 when Windows must restart;
    // -1 without the library.
    int Setup(HWND owner, const std::string& folder, DWORD flags) const;

private:
    typedef INT(WINAPI* GetVersionFn)(DWORD*, DWORD*);
    typedef INT(WINAPI* SetupFn)(HWND, LPSTR, DWORD);

    HMODULE m_module = nullptr;
    GetVersionFn m_getVersion = nullptr;
    SetupFn m_setup = nullptr;
};
