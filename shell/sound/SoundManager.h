#pragma once
#include <map>
#include <memory>
#include <string>

#include "engine/console/ConsoleObject.h"
#include "shell/settings/SettingSystem.h"

class CDataArchive;
class CWaveLoader;
class CWavePerformance;
class CWaveSegment;
class ISetting;
class IWaveOutput;

// The sound manager "sound": short effects played by cue name and the
// ending's music. Every cue's WAV is read at construction into a segment
// over the bytes of the effects archive, which stays open for the manager's
// life, so that playing a cue is a lookup and one call. One sound plays at
// a time: a new cue replaces the one playing. The system object owns it.
class CSoundManager : public CConsoleObject, public ISoundSwitch {
public:
    // Plays on the system's wave output.
    explicit CSoundManager(ISetting* setting);
    // Plays on the given output; none means nothing ever plays.
    CSoundManager(ISetting* setting, std::unique_ptr<IWaveOutput> output);
    ~CSoundManager() override;

    // True when the cue was started.
    bool PlayCue(const std::string& name);
    // Switching off stops what plays; switching on plays nothing by itself.
    void SetEnabled(bool on) override;
    void StopAll();

    // The ending music from sound archive 1: loaded at the ending's start,
    // released with its archive when it stops.
    bool LoadEndingMusic();
    bool PlayEndingMusic();
    void StopEndingMusic();

    bool IsEnabled() const { return m_enabled; }
    bool HasCue(const std::string& name) const { return m_cues.count(name) != 0; }

private:
    // A segment of the entry's WAV (a loose file at its path wins); null when
    // the entry is missing or is not a WAV that can be played.
    std::unique_ptr<CWaveSegment> SegmentFromEntry(CDataArchive* archive, const char* path);

    bool m_enabled = false;
    std::unique_ptr<CWavePerformance> m_performance;
    std::unique_ptr<CWaveLoader> m_loader;
    std::map<std::string, std::unique_ptr<CWaveSegment>> m_cues;
    std::unique_ptr<CDataArchive> m_effectsArchive;
    std::unique_ptr<CWaveSegment> m_ending;
    std::unique_ptr<CDataArchive> m_endingArchive;
};

// Plays one named cue when invoked; the character's actions hang these on
// their sound nodes. The manager is not owned.
class CSoundCue {
public:
    CSoundCue(CSoundManager* manager, const std::string& name) : m_manager(manager), m_name(name) {}
    virtual ~CSoundCue() {}
    virtual bool Invoke();

    const std::string& GetName() const { return m_name; }

private:
    CSoundManager* m_manager;
    std::string m_name;
};
