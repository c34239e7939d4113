#include "character/preload/Preload.h"

#include <string>

#include "character/preload/PreloadLists.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"

namespace {

void LoadAll(CResourceManager* registry, CDataArchive* archive, const char* const* files, int count) {
    for (int i = 0; i < count; ++i)
        LoadModelFromArchive(registry, archive, files[i]);
}

} // namespace

bool PreloadCharacterModels(CResourceManager* registry, const std::function<void()>& selectResourceRoot) {
    CDataArchive* archive = OpenModelArchive(CHARACTER_BODY_MODEL_GROUP);
    SetModelPathPrefix(CHARACTER_BODY_MODEL_GROUP);
    if (selectResourceRoot)
        selectResourceRoot();
    LoadAll(registry, archive, CHARACTER_BODY_MODEL_FILES, CHARACTER_BODY_MODEL_FILE_COUNT);
    delete archive;

    archive = OpenModelArchive(CHARACTER_GOODS_MODEL_GROUP);
    SetModelPathPrefix(CHARACTER_GOODS_MODEL_GROUP);
    LoadAll(registry, archive, CHARACTER_GOODS_MODEL_FILES, CHARACTER_GOODS_MODEL_FILE_COUNT);
    delete archive;
    return true;
}

bool PreloadCharacterAnimations(CResourceManager* registry) {
    CDataArchive* archive = OpenAnimationArchive(CHARACTER_ANIMATION_ARCHIVE);
    for (const char* set : CHARACTER_ANIMATION_SETS)
        LoadModelFromArchive(registry, archive, std::string("animation/") + set + ".hga");
    delete archive;
    return true;
}
