#include "character/act/ActPlayer.h"

#include <cstdlib>
#include <iterator>

#include "character/act/Act.h"
#include "engine/anim/BlendPass.h"

namespace {

const char* const BLEND_REQUEST = "blend";

} // namespace

CActPlayer::CActPlayer(const std::string& name)
    : CConsoleObject(name),
      m_finished(nullptr),
      m_current(nullptr),
      m_state(STATE_IDLE),
      m_next(nullptr),
      m_nextTaken(0),
      m_crossFadeLength(0.0f),
      m_crossFadeTimer(0.0f) {}

CActPlayer::~CActPlayer() {
    for (auto& entry : m_actions)
        delete entry.second;
    m_actions.clear();
    m_queue.clear();
}

int CActPlayer::OnRequest(CActRequest&, const std::string&, const CActRequest&) { return HOOK_START; }

bool CActPlayer::AddAction(CAct* action) {
    if (!action)
        return false;
    return m_actions.emplace(action->GetName(), action).second;
}

CAct* CActPlayer::FindAction(const std::string& name) const {
    auto found = m_actions.find(name);
    return found == m_actions.end() ? nullptr : found->second;
}

bool CActPlayer::Request(const CActRequest& request) {
    if (request.name == BLEND_REQUEST) {
        if (request.words.size() < 2)
            return false;
    } else if (!FindAction(request.name)) {
        return false;
    }
    m_queue.push_back(request);
    return true;
}

CAct* CActPlayer::TakeNextRequest(bool start, bool& blendSeen) {
    blendSeen = false;
    auto at = m_queue.begin();
    for (; at != m_queue.end() && at->name == BLEND_REQUEST; ++at) {
        blendSeen = true;
        if (start && at->words.size() >= 2)
            m_crossFadeLength = (float)std::atof(at->words[1].c_str());
    }
    if (at == m_queue.end()) {
        if (start)
            m_queue.clear();
        return nullptr;
    }
    CAct* action = FindAction(at->name);
    if (!start)
        return action;

    const std::string previous = m_finished ? m_finished->GetName() : std::string();
    for (int detour = 0; detour < MAX_HOOK_DETOURS; ++detour) {
        CActRequest out;
        int result = OnRequest(out, previous, *at);
        if (result == HOOK_REPLACE)
            *at = out;
        else if (result == HOOK_INSERT)
            at = m_queue.insert(at, out);
        else
            break;
    }
    // The request at hand names the action that plays: a hook that inserted a
    // detour gets the detour's action, not the one it stands in front of.
    action = FindAction(at->name);
    if (action)
        action->Start(at->words);
    m_queue.erase(m_queue.begin(), std::next(at));
    return action;
}

void CActPlayer::Update(float milliseconds) {
    const float frames = milliseconds * FRAMES_PER_MILLISECOND;
    bool finishedNow = false;

    if (m_state == STATE_IDLE) {
        if (!m_nextTaken) {
            bool blendSeen = false;
            m_next = TakeNextRequest(true, blendSeen);
        }
        m_current = m_next;
        m_state = m_current ? STATE_PLAYING : STATE_IDLE;
        m_next = nullptr;
        m_nextTaken = 0;
        if (!m_current)
            return;
    }

    if (m_state == STATE_PLAYING) {
        m_current->PreUpdate(false);
        bool running = m_current->Update(frames, false, 1.0f);
        if (!running) {
            bool blendSeen = false;
            CAct* upcoming = TakeNextRequest(false, blendSeen);
            if (blendSeen && upcoming && upcoming->GetName() != m_current->GetName()) {
                m_crossFadeTimer = 1.0f;
                m_state = STATE_CROSS_FADING;
            } else {
                finishedNow = true;
            }
        }
        m_current->PostUpdate(false);
    } else if (m_state == STATE_CROSS_FADING) {
        if (!m_nextTaken) {
            bool blendSeen = false;
            m_next = TakeNextRequest(true, blendSeen);
            m_nextTaken = 1;
        }
        if (!m_next) {
            // The hook turned the request into nothing that plays: no fade.
            finishedNow = true;
            m_nextTaken = 0;
        } else {
            // A length of 1 or less has no room for a fade: the next action
            // takes over at once.
            float w = 1.0f;
            if (m_crossFadeLength > 1.0f) {
                w = m_crossFadeTimer / m_crossFadeLength;
                w = w < 0.0f ? 0.0f : (w > 1.0f ? 1.0f : w);
            }
            m_current->PreUpdate(true);
            m_next->PreUpdate(true);
            BeginBlendPass();
            m_current->Update(0.0f, true, 1.0f - w);
            m_next->Update(0.0f, true, w);
            EndBlendPass();
            m_next->PostUpdate(true);
            m_current->PostUpdate(true);
            m_crossFadeTimer += frames;
            if (!(m_crossFadeTimer < m_crossFadeLength - 1.0f))
                finishedNow = true;
        }
    }

    if (m_finished) {
        m_finished->End();
        m_finished = nullptr;
    }
    if (finishedNow) {
        m_finished = m_current;
        m_current = nullptr;
        m_state = STATE_IDLE;
    }
}

void CActPlayer::StopAll() {
    CAct* ended[3] = {m_finished, m_current, m_next};
    for (int i = 0; i < 3; ++i) {
        if (!ended[i])
            continue;
        bool seen = false;
        for (int j = 0; j < i; ++j)
            seen = seen || ended[j] == ended[i];
        if (!seen)
            ended[i]->End();
    }
    m_finished = m_current = m_next = nullptr;
    m_nextTaken = 0;
    m_state = STATE_IDLE;
}

void CActPlayer::Reset() {
    StopAll();
    m_queue.clear();
}

std::string CActPlayer::GetCurrentActionName() const { return m_current ? m_current->GetName() : std::string(); }

bool CActPlayer::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (!IsWord(command, "act"))
        return CConsoleObject::HandleCommand(out, command, args);
    bool queued = false;
    if (!args.empty()) {
        CActRequest request(args[0]);
        request.words.assign(args.begin() + 1, args.end());
        queued = Request(request);
    }
    if (!queued)
        out << '"' << GetName() << "\" can't act \"" << (args.empty() ? std::string() : args[0]) << "\".\n";
    return true;
}
