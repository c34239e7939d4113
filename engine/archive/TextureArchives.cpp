#include "engine/archive/TextureArchives.h"

#include <cstring>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/TextureLists.h"
#include "engine/core/DeleteOwned.h"

namespace {
CDataArchive* g_textureArchives[TEXTURE_LIST_COUNT] = {};
} // namespace

void OpenTextureArchives() {
    CloseTextureArchives();
    for (int i = 0; i < TEXTURE_LIST_COUNT; ++i)
        g_textureArchives[i] = OpenArchive(AK_TEXTURE, i);
}

void CloseTextureArchives() {
    for (CDataArchive*& archive : g_textureArchives)
        DeleteOwned(archive);
}

CDataArchive* GetTextureArchive(int index) {
    return index >= 0 && index < TEXTURE_LIST_COUNT ? g_textureArchives[index] : nullptr;
}

bool NormaliseTextureName(const std::string& path, std::string& name) {
    if (path.size() + 1 > TEXTURE_NAME_BUFFER)
        return false;
    name = path;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    dot = name.rfind('.');
    if (dot != std::string::npos)
        name[dot] = '_';
    size_t slash = name.rfind('\\');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    slash = name.rfind('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return true;
}

int FindTextureList(const std::string& name) {
    for (int list = 0; list < TEXTURE_LIST_COUNT; ++list)
        for (int i = 0; i < TextureListSize(list); ++i)
            if (name == TextureListName(list, i))
                return list;
    return -1;
}

ArchiveEntry GetTextureEntry(const std::string& path) {
    std::string name;
    if (!NormaliseTextureName(path, name))
        return {nullptr, 0};
    int list = FindTextureList(name);
    CDataArchive* archive = GetTextureArchive(list);
    if (!archive)
        return {nullptr, 0};
    return archive->GetEntry(path);
}
