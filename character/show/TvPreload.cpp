#include "character/show/TvPreload.h"

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"

const char* const TV_MODEL_FILES[TV_MODEL_FILE_COUNT] = {
    "model/zaplenu/taveluneTV.hgm",
    "model/zaplenu/TVAnimateTexture.hgm",
    "model/zaplenu/moneyDial.hgm",
};

const char* const TV_ANIMATION_FILES[TV_ANIMATION_FILE_COUNT] = {
    "animation/zaplenu/taveluneTV.hga",
    "animation/zaplenu/taveluneTVEnding.hga",
    "animation/zaplenu/TVAnimateTexture.hga",
};

bool PreloadTvModels(CResourceManager* registry, const std::function<void()>& selectResourceRoot) {
    CDataArchive* archive = OpenModelArchive(TV_MODEL_GROUP);
    SetModelPathPrefix(TV_MODEL_GROUP);
    if (selectResourceRoot)
        selectResourceRoot();
    for (const char* file : TV_MODEL_FILES)
        LoadModelFromArchive(registry, archive, file);
    delete archive;
    return true;
}

bool PreloadTvAnimations(CResourceManager* registry) {
    CDataArchive* archive = OpenAnimationArchive(TV_ANIMATION_ARCHIVE);
    for (const char* file : TV_ANIMATION_FILES)
        LoadModelFromArchive(registry, archive, file);
    delete archive;
    return true;
}
