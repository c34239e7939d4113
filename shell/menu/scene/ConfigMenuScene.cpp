// The menu on the program's render manager, sound manager and pointer.
#include <windows.h>

#include <memory>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "shell/menu/ConfigMenu.h"
#include "shell/render/RenderManager.h"
#include "shell/sound/SoundManager.h"

namespace {

constexpr int MENU_MODEL_ARCHIVE = 2;

class CProgramMenuHost : public IMenuHost {
public:
    CProgramMenuHost(CRenderManager& render, CSoundManager& sound, CPointer* pointer)
        : m_render(render),
          m_sound(sound),
          m_pointer(pointer) {}

    CPointer* GetPointer() override { return m_pointer; }
    void PlayCue(const char* cue) override { m_sound.PlayCue(cue); }
    // Only the first update of a frame-loop pass queues drawing work.
    void QueueIndicatorTree(CNode* root, bool newCamera) override {
        CRenderer* renderer = CRenderer::Current();
        if (renderer && !renderer->IsFirstUpdate())
            return;
        m_render.GetIndicatorDrawList().AddTree(root, m_render.GetIndicatorCamera(), newCamera);
    }
    void Wait(int milliseconds) override { Sleep(DWORD(milliseconds)); }

private:
    CRenderManager& m_render;
    CSoundManager& m_sound;
    CPointer* m_pointer;
};

} // namespace

bool LoadConfigMenuModel(CRenderManager& renderManager) {
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(MENU_MODEL_ARCHIVE));
    SetModelPathPrefix(MENU_MODEL_ARCHIVE);
    renderManager.SelectResourceRoot();
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), CONFIG_MENU_MODEL_PATH);
    return true;
}

CConfigMenu::CConfigMenu(const char* name, CRenderManager& renderManager, ISetting& setting, const std::string& scope)
    : CConfigMenu(name, setting, renderManager.GetIndicatorRoot(),
                  renderManager.GetIndicatorLightSet().GetLightSetHandle(), scope) {
    renderManager.SelectIndicatorRoot();
}

bool CConfigMenu::Update(CRenderManager& renderManager, CSoundManager& soundManager, CPointer* pointer, float dt) {
    CProgramMenuHost host(renderManager, soundManager, pointer);
    return Update(host, dt);
}
