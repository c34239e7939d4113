#include "engine/archive/DataFolder.h"

#ifdef _WIN32
#include "platform/win32/ProgramFolder.h"
#endif

namespace {
std::string& Folder() {
#ifdef _WIN32
    static std::string folder = GetProgramFolder();
#else
    static std::string folder;
#endif
    return folder;
}
} // namespace

void SetDataFolder(const std::string& folder) { Folder() = folder; }
const std::string& GetDataFolder() { return Folder(); }

std::string FolderOfPath(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string DataFilePath(const std::string& relative) {
    const std::string& folder = Folder();
    if (folder.empty())
        return relative;
    char last = folder.back();
    if (last == '/' || last == '\\')
        return folder + relative;
    return folder + "/" + relative;
}
