#pragma once
// What the show needs around it without a device: the TV's models and
// motions in the current registry, a window setting of 640 × 480, and a host
// that records what the show tells the application and plays the pointer.
#include <vector>

#include "character/show/TvShowHost.h"
#include "engine/anim/AnimationSet.h"
#include "engine/scene/Transform.h"
#include "tests/character/ai/AiFixtures.h"

class ShowWindowSetting : public FakeSetting {
public:
    int GetWidth() override { return 640; }
    int GetHeight() override { return 480; }
};

class RecordingShowHost : public ITvShowHost {
public:
    void PostToMainWindow(unsigned message) override { posted.push_back(message); }
    bool GetPointerPosition(int& x, int& y) override {
        x = pointerX, y = pointerY;
        return true;
    }
    bool IsLeftButtonDown() override { return leftDown; }
    CCameraResource* GetCurrentView() override { return view; }
    void AddFocusPoint(float, float, float, float weight) override { focusWeights.push_back(weight); }
    void RefreshCursor() override { ++cursorRefreshes; }

    // The pointer on the TV's panel (640 × 480: the panel spans x 16..335,
    // y 16..255) or well off it.
    void PointAtPanel(bool down) { pointerX = 180, pointerY = 150, leftDown = down; }
    void PointOffPanel(bool down) { pointerX = 600, pointerY = 400, leftDown = down; }

    std::vector<unsigned> posted;
    int pointerX = 0, pointerY = 0;
    bool leftDown = false;
    CCameraResource* view = nullptr;
    std::vector<float> focusWeights;
    int cursorRefreshes = 0;
};

// The TV model ("TvRoot" with its "Arrow", the screen "AnimateTextures") and
// the three show motions, as templates of the current registry. The show
// motion lasts showFrames frames (a frame is 1/60 s).
inline void AddTvModels(float showFrames) {
    CTransform* previous = GetDefaultParent();
    SetDefaultParent(nullptr);
    auto* root = new CTransform("TvRoot");
    root->AddChild(new CTransform("Arrow"));
    new CTransform("AnimateTextures");
    (new CAnimationSet("taveluneTV"))->SetLength(showFrames);
    (new CAnimationSet("taveluneTVEnding"))->SetLength(showFrames);
    (new CAnimationSet("TVAnimateTexture"))->SetLength(30.0f);
    SetDefaultParent(previous);
}
