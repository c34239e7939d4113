// The world's room, skies and window panes: the parts of the world that need
// the device-side shaders and geometry.
#include <cmath>
#include <memory>
#include <string>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/camera/CameraResource.h"
#include "engine/geometry/Geometry.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"
#include "engine/shader/Shader.h"
#include "shell/render/RenderManager.h"
#include "shell/world/DayBlend.h"
#include "shell/world/World.h"

namespace {

const char* const SKY_NAMES[CWorld::SKY_COUNT] = {"skyCilinderDay", "skyCilinderEvening", "skyCilinderNight"};
const char* const WINDOW_NAMES[CWorld::SKY_COUNT] = {"room_mado1_Day", "room_mado2_evening", "room_mado0_Night"};
const char* const MATERIAL_SUFFIXES[2] = {"_m0", "_m1"};
constexpr const char* ROOM_MODEL = "roomRoot";
constexpr const char* ROOM_MODEL_FILE = "model/common/room.hgm";
constexpr const char* WINDOW_GLASS = "room_windowGlassShape_025";

CResource* Find(const std::string& name, int kind) {
    return CurrentResourceManager ? CurrentResourceManager->Find(name.c_str(), kind) : nullptr;
}

// A pixel coordinate that fits an int: a point behind the camera or a broken
// lens can project anywhere.
int ToPixel(float v) {
    if (!std::isfinite(v))
        return 0;
    constexpr float LIMIT = 1.0e9f;
    return static_cast<int>(v < -LIMIT ? -LIMIT : v > LIMIT ? LIMIT : v);
}

CHandle FindNode(const std::string& name) {
    CTransform* node = dynamic_cast<CTransform*>(Find(name, RT_TRANSFORM));
    return node ? node->GetNodeHandle() : NULL_HANDLE;
}

CHandle FindShader(const std::string& name) {
    CResource* shader = dynamic_cast<CShader*>(Find(name, RT_SHADER));
    return shader ? shader->GetHandle() : NULL_HANDLE;
}

} // namespace

bool LoadWorldModels(CRenderManager& renderManager) {
    std::unique_ptr<CDataArchive> archive(OpenModelArchive(0));
    SetModelPathPrefix(0);
    renderManager.SelectResourceRoot();
    if (archive)
        LoadModelFromArchive(CurrentResourceManager, archive.get(), ROOM_MODEL_FILE);
    return true;
}

bool LoadWorldAnimations() { return true; }

CWorld::CWorld(const char* name, CRenderManager& renderManager, const std::string& scope) : CConsoleObject(name) {
    renderManager.SelectMainRoot();
    if (!Find(ROOM_MODEL, RT_TRANSFORM))
        return;
    m_room = new CModelInstanceNode("room", ROOM_MODEL, RT_TRANSFORM, scope);
    if (CTransform* root = m_room->GetRoot())
        root->SetLightSetTree(renderManager.GetRoomLightSet().GetLightSetHandle());
    // The glass goes in the translucent pass, after what lies behind it.
    if (CGeometry* glass = dynamic_cast<CGeometry*>(Find(WINDOW_GLASS, RT_GEOMETRY)))
        glass->SetTranslucent(true);
    for (int i = 0; i < SKY_COUNT; ++i) {
        m_skies[i].node = FindNode(SKY_NAMES[i] + scope);
        m_windows[i].node = FindNode(WINDOW_NAMES[i] + scope);
        for (int m = 0; m < 2; ++m) {
            m_skies[i].shaders[m] = FindShader(std::string(SKY_NAMES[i]) + MATERIAL_SUFFIXES[m]);
            m_windows[i].shaders[m] = FindShader(std::string(WINDOW_NAMES[i]) + MATERIAL_SUFFIXES[m]);
        }
    }
}

void CWorld::Update(CRenderManager& renderManager, float stepMs) {
    AdvanceClock(stepMs);
    const DayBlend blend = BlendForClock(GetClock(), m_roomLight);
    SetSkyWeights(blend.sky[DP_DAY], blend.sky[DP_EVENING], blend.sky[DP_NIGHT]);
    SetWindowWeights(blend.window[DP_DAY], blend.window[DP_EVENING], blend.window[DP_NIGHT]);
    renderManager.BlendLightPresets(blend.presetA, blend.weightA, blend.presetB, blend.weightB);
}

void CWorld::SetSkyWeights(float day, float evening, float night) { SetWeights(m_skies, day, evening, night); }

void CWorld::SetWindowWeights(float day, float evening, float night) { SetWeights(m_windows, day, evening, night); }

void CWorld::SetWeights(Weighted (&parts)[SKY_COUNT], float day, float evening, float night) {
    const float weights[SKY_COUNT] = {day, evening, night};
    for (int i = 0; i < SKY_COUNT; ++i) {
        if (CTransform* node = dynamic_cast<CTransform*>(NodeHandles().Resolve(parts[i].node)))
            node->SetVisible(weights[i] > 0 ? 1.0f : 0.0f);
        for (CHandle handle : parts[i].shaders)
            if (CShader* shader = dynamic_cast<CShader*>(ResourceHandles().Resolve(handle)))
                shader->SetColor(1, 1, 1, weights[i]);
    }
}

void CWorld::ProjectTvScreenAnchor(const CCameraResource& view, int& x, int& y) {
    const Vec3 at = view.ProjectToScreen(TvScreenAnchor());
    x = ToPixel(at.x);
    y = ToPixel(at.y);
}
