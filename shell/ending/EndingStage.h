#pragma once
#include "engine/math/Vec3.h"

// What the ending's states act on: the room camera, the ending music, the
// smoke, and the overlay scene of the staff roll with its black mask. The
// ending's scene implements it over the real nodes and managers; the states
// know nothing else.
class IEndingStage {
public:
    virtual ~IEndingStage() = default;

    virtual void LockCamera(const Vec3& point, float distance) = 0;
    virtual void UnlockCamera() = 0;

    virtual void LoadMusic() = 0;
    virtual void PlayMusic() = 0;
    virtual void StopMusic() = 0;

    // Every puff reborn at its next step; then one step of every puff, each
    // queued for drawing.
    virtual void ResetSmoke() = 0;
    virtual void DrawSmoke() = 0;

    virtual void SetRootVisible(bool visible) = 0;
    virtual void SetMaskVisible(bool visible) = 0;
    // Black with this alpha: 0 clear, 1 opaque.
    virtual void SetMaskAlpha(float alpha) = 0;

    virtual void SetActorVisible(bool visible) = 0;
    // The staff roll fitted to a window of that many pixels high.
    virtual void ScaleActor(float windowHeight) = 0;
    virtual float GetWindowHeight() = 0;
    // Queues the staff roll's motion; false when it cannot be queued.
    virtual bool RequestEndRoll() = 0;
    virtual void UpdateEndRoll(float milliseconds) = 0;
    // True while the staff roll's player has an action playing.
    virtual bool IsEndRollPlaying() = 0;
    virtual void ResetEndRoll() = 0;
};
