#include "platform/audio/winmm/WinmmWaveOutput.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstring>
#include <new>

namespace {

WAVEFORMATEX ToWaveFormatEx(const WaveFormat& f) {
    WAVEFORMATEX w = {};
    w.wFormatTag = WAVE_FORMAT_PCM;
    w.nChannels = f.channels;
    w.nSamplesPerSec = f.sampleRate;
    w.nAvgBytesPerSec = f.bytesPerSecond;
    w.nBlockAlign = f.blockAlign;
    w.wBitsPerSample = f.bitsPerSample;
    w.cbSize = 0;
    return w;
}

class CWinmmWaveOutput : public IWaveOutput {
public:
    ~CWinmmWaveOutput() override {
        Stop();
        if (m_device)
            waveOutClose(m_device);
    }

    bool Supports(const WaveFormat& format) override {
        WAVEFORMATEX w = ToWaveFormatEx(format);
        return waveOutOpen(nullptr, WAVE_MAPPER, &w, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
    }

    bool Play(const WaveFormat& format, const uint8_t* samples, uint32_t size) override {
        Stop();
        if (m_device && format != m_format) {
            waveOutClose(m_device);
            m_device = nullptr;
        }
        if (!m_device) {
            WAVEFORMATEX w = ToWaveFormatEx(format);
            if (waveOutOpen(&m_device, WAVE_MAPPER, &w, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
                m_device = nullptr;
                return false;
            }
            m_format = format;
        }
        std::memset(&m_header, 0, sizeof m_header);
        // The device only reads the buffer; it is the caller's, not a copy.
        m_header.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(samples));
        m_header.dwBufferLength = size;
        if (waveOutPrepareHeader(m_device, &m_header, sizeof m_header) != MMSYSERR_NOERROR)
            return false;
        m_prepared = true;
        if (waveOutWrite(m_device, &m_header, sizeof m_header) != MMSYSERR_NOERROR) {
            Stop();
            return false;
        }
        return true;
    }

    void Stop() override {
        if (!m_device || !m_prepared)
            return;
        waveOutReset(m_device);
        waveOutUnprepareHeader(m_device, &m_header, sizeof m_header);
        m_prepared = false;
    }

    bool IsPlaying() override {
        return m_prepared && !(reinterpret_cast<volatile DWORD&>(m_header.dwFlags) & WHDR_DONE);
    }

private:
    HWAVEOUT m_device = nullptr;
    WaveFormat m_format = {};
    WAVEHDR m_header = {};
    bool m_prepared = false;
};

} // namespace

std::unique_ptr<IWaveOutput> CreateSystemWaveOutput() {
    if (waveOutGetNumDevs() == 0)
        return nullptr;
    return std::unique_ptr<IWaveOutput>(new (std::nothrow) CWinmmWaveOutput);
}
