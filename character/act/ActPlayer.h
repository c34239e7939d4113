#pragma once
#include <list>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "character/act/ActRequest.h"
#include "engine/console/ConsoleObject.h"

class CAct;

// Plays queued action requests one at a time, cross-fading into the next one
// when a "blend" request stands between them. Owns its action prototypes.
class CActPlayer : public CConsoleObject {
public:
    enum State {
        STATE_IDLE = 0,
        STATE_PLAYING = 1,
        STATE_CROSS_FADING = 2,
    };

    // Results of OnRequest.
    enum RequestHook {
        HOOK_START = 0,   // start the request as it is
        HOOK_REPLACE = 1, // the out request replaces it; ask again
        HOOK_INSERT = 2,  // the out request plays first; ask again about it
    };

    // Detours a hook may insert or rewrite before one request starts; the
    // request at hand is then started as it stands.
    static constexpr int MAX_HOOK_DETOURS = 64;

    explicit CActPlayer(const std::string& name);
    ~CActPlayer() override;

    // "act <name> <words...>".
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // Asked for each request when it is taken to start. previousName is the
    // pending finished action's name, or empty.
    virtual int OnRequest(CActRequest& out, const std::string& previousName, const CActRequest& request);

    // Files the prototype under its name; false (and not taken) when the name
    // is in use or the action is null. The player owns what it took.
    bool AddAction(CAct* action);
    CAct* FindAction(const std::string& name) const;
    const std::map<std::string, CAct*>& GetActions() const { return m_actions; }

    // Queues a copy when the name is registered, or "blend" with two words.
    bool Request(const CActRequest& request);
    // One step of the given milliseconds.
    void Update(float milliseconds);
    // Ends the finished, current and next actions; the queue stays.
    void StopAll();
    // StopAll, then empties the queue.
    void Reset();

    std::string GetCurrentActionName() const;
    CAct* GetCurrentAction() const { return m_current; }
    int GetState() const { return m_state; }
    const std::list<CActRequest>& GetQueue() const { return m_queue; }
    float GetCrossFadeLength() const { return m_crossFadeLength; }
    float GetCrossFadeTimer() const { return m_crossFadeTimer; }

private:
    // Walks the queue to the first action request; when starting, runs the
    // hook, starts the action and drops what it walked over.
    CAct* TakeNextRequest(bool start, bool& blendSeen);

    CAct* m_finished;
    CAct* m_current;
    int m_state;
    CAct* m_next;
    int m_nextTaken;
    std::list<CActRequest> m_queue;
    std::map<std::string, CAct*> m_actions;
    float m_crossFadeLength;
    float m_crossFadeTimer;
};
