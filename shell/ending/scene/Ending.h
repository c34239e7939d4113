#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/resource/Handle.h"
#include "shell/ending/EndingParticle.h"
#include "shell/ending/EndingSequence.h"
#include "shell/ending/EndingStage.h"

class CActPlayer;
class CBoneChainNode;
class CModelInstanceNode;
class CRenderManager;
class CSoundManager;
class CWorld;
class ICameraManager;
class ISetting;

// Loads the staff roll and the smoke (model group 3) and the staff roll's
// animation (animation group 3).
bool PreloadEndingModels(CRenderManager& renderManager);
bool PreloadEndingAnimations();

// The named object "ending": what follows the last purchase. The room
// camera locks onto the broken TV while smoke rises from it, the picture
// fades to black while the ending music starts, the staff roll plays in the
// indicator scene, and the room fades back in. The system object creates it,
// runs it at the start of every update and deletes it when it reports that
// it is done. It owns its overlay nodes, the staff roll's textures, the
// black mask and the roll's action player; the camera, sound and render
// managers are not owned.
class CEnding : public CConsoleObject, public CEndingSequence {
public:
    static constexpr int PARTICLE_COUNT = 64;

    CEnding(const std::string& name, CRenderManager& renderManager, ICameraManager* camera, ISetting* setting,
            const std::string& scope);
    ~CEnding() override;

    // One step of dt milliseconds; an EndingResult.
    int Run(CRenderManager& renderManager, CSoundManager* soundManager, CWorld* world, float dt);
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;
    using CConsoleObject::Update;

    CModelInstanceNode* GetRoot() const { return m_root; }
    CBoneChainNode* GetActor() const { return m_actor; }
    CModelInstanceNode* GetMask() const { return m_mask; }
    CActPlayer* GetPlayer() const { return m_player; }
    const CEndingParticle& GetParticle(int i) const { return m_particles[i]; }
    float GetMaskAlpha() const { return m_maskAlpha; }

private:
    // The stage the states act on, over this ending's nodes and managers.
    class CScene : public IEndingStage {
    public:
        explicit CScene(CEnding& ending) : m_ending(ending) {}
        void LockCamera(const Vec3& point, float distance) override;
        void UnlockCamera() override;
        void LoadMusic() override;
        void PlayMusic() override;
        void StopMusic() override;
        void ResetSmoke() override;
        void DrawSmoke() override;
        void SetRootVisible(bool visible) override;
        void SetMaskVisible(bool visible) override;
        void SetMaskAlpha(float alpha) override;
        void SetActorVisible(bool visible) override;
        void ScaleActor(float windowHeight) override;
        float GetWindowHeight() override;
        bool RequestEndRoll() override;
        void UpdateEndRoll(float milliseconds) override;
        bool IsEndRollPlaying() override;
        void ResetEndRoll() override;

    private:
        CEnding& m_ending;
    };

    void BuildMask();
    void MapStaffRollTextures();

    CScene m_scene;
    CModelInstanceNode* m_root = nullptr;
    CBoneChainNode* m_actor = nullptr;
    std::vector<CHandle> m_textures;
    CModelInstanceNode* m_mask = nullptr;
    CHandle m_maskShape = NULL_HANDLE;
    CHandle m_maskShader = NULL_HANDLE;
    CHandle m_maskGeometry = NULL_HANDLE;
    float m_maskAlpha = 0.0f;
    CActPlayer* m_player = nullptr;
    CHandle m_smokeNode = NULL_HANDLE;
    CHandle m_smokeShape = NULL_HANDLE;
    SmokeEmitter m_emitter;
    CEndingParticle m_particles[PARTICLE_COUNT];

    CRenderManager* m_renderManager;
    CSoundManager* m_soundManager = nullptr;
    ICameraManager* m_camera;
    ISetting* m_setting;
};
