#include "shell/sound/SoundManager.h"

#include <new>
#include <utility>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "platform/audio/WaveLoader.h"
#include "platform/audio/WavePerformance.h"
#include "platform/audio/WaveSegment.h"
#include "shell/settings/Setting.h"
#include "shell/sound/SoundCueTable.h"

CSoundManager::CSoundManager(ISetting* setting, std::unique_ptr<IWaveOutput> output) : CConsoleObject("sound") {
    m_enabled = setting && setting->IsSoundOn();
    m_loader.reset(new (std::nothrow) CWaveLoader);
    if (output) {
        m_performance.reset(new (std::nothrow) CWavePerformance(std::move(output)));
        if (m_performance)
            m_performance->InitAudio();
    }
    m_effectsArchive.reset(OpenSoundArchive(0));
    if (!m_loader)
        return;
    for (const SoundCueRow& row : SOUND_CUE_TABLE) {
        std::unique_ptr<CWaveSegment> segment = SegmentFromEntry(m_effectsArchive.get(), row.path);
        if (!segment)
            continue;
        segment->Download(m_performance.get());
        // A second row with the same name keeps the first.
        m_cues.emplace(row.cue, std::move(segment));
    }
}

CSoundManager::~CSoundManager() {
    StopAll();
    m_cues.clear();
    if (m_performance)
        m_performance->CloseDown();
    m_performance.reset();
    m_loader.reset();
    // Segments go before the archives whose bytes they point into.
    m_ending.reset();
    m_endingArchive.reset();
    m_effectsArchive.reset();
}

std::unique_ptr<CWaveSegment> CSoundManager::SegmentFromEntry(CDataArchive* archive, const char* path) {
    if (!archive || !m_loader)
        return nullptr;
    ArchiveEntry entry = archive->GetEntry(path);
    if (!entry.data)
        return nullptr;
    return std::unique_ptr<CWaveSegment>(m_loader->GetObject({entry.data, entry.size}));
}

bool CSoundManager::PlayCue(const std::string& name) {
    if (!m_performance || !m_enabled)
        return false;
    auto cue = m_cues.find(name);
    if (cue == m_cues.end())
        return false;
    return m_performance->PlaySegmentEx(cue->second.get());
}

void CSoundManager::SetEnabled(bool on) {
    if (!on)
        StopAll();
    m_enabled = on;
}

void CSoundManager::StopAll() {
    if (m_performance)
        m_performance->Stop(nullptr);
}

bool CSoundManager::LoadEndingMusic() {
    if (!m_performance)
        return false;
    // The earlier music may still play from the archive about to be replaced.
    if (m_ending)
        m_performance->Stop(m_ending.get());
    m_ending.reset();
    m_endingArchive.reset(OpenSoundArchive(1));
    m_ending = SegmentFromEntry(m_endingArchive.get(), ENDING_MUSIC_PATH);
    return m_ending && m_ending->Download(m_performance.get());
}

bool CSoundManager::PlayEndingMusic() {
    if (!m_performance || !m_enabled || !m_ending)
        return false;
    return m_performance->PlaySegmentEx(m_ending.get());
}

void CSoundManager::StopEndingMusic() {
    StopAll();
    m_ending.reset();
    m_endingArchive.reset();
}

bool CSoundCue::Invoke() { return m_manager && m_manager->PlayCue(m_name); }
