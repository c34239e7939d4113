#pragma once
#include <string>

#include "engine/scene/Node.h"
#include "shell/sound/SoundManager.h"

// A sound cue hung on a node: it plays each time the node is drawn.
class CSoundCueHook : public CRenderHook {
public:
    CSoundCueHook(CSoundManager* manager, const std::string& cue) : m_cue(manager, cue) {}
    void OnPreRender(CNode&) override {
        m_cue.Invoke();
        ++m_plays;
    }

    const CSoundCue& GetCue() const { return m_cue; }
    // How often the node was drawn.
    int GetPlays() const { return m_plays; }

private:
    CSoundCue m_cue;
    int m_plays = 0;
};
