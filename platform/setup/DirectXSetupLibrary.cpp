#include "platform/setup/DirectXSetupLibrary.h"

#include <vector>

namespace {
constexpr WORD ORDINAL_SETUP = 5;
constexpr WORD ORDINAL_GET_VERSION = 11;
} // namespace

CDirectXSetupLibrary::~CDirectXSetupLibrary() {
    if (m_module)
        FreeLibrary(m_module);
}

bool CDirectXSetupLibrary::Load(const std::string& folder) {
    if (m_module)
        return true;
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    path += "dsetup.dll";
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        return false;
    auto getVersion = reinterpret_cast<GetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_GET_VERSION))));
    auto setup =
        reinterpret_cast<SetupFn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ORDINAL_SETUP))));
    if (!getVersion || !setup) {
        FreeLibrary(module);
        return false;
    }
    m_module = module;
    m_getVersion = getVersion;
    m_setup = setup;
    return true;
}

bool CDirectXSetupLibrary::GetVersion(DWORD& version, DWORD& revision) const {
    if (!m_getVersion)
        return false;
    return m_getVersion(&version, &revision) != 0;
}

int CDirectXSetupLibrary::Setup(HWND owner, const std::string& folder, DWORD flags) const {
    if (!m_setup)
        return -1;
    std::vector<char> path(folder.begin(), folder.end());
    path.push_back('\0');
    return m_setup(owner, path.data(), flags);
}
