#include "platform/audio/winmm/WinmmWaveOutput.h"
#include "shell/sound/SoundManager.h"

CSoundManager::CSoundManager(ISetting* setting) : CSoundManager(setting, CreateSystemWaveOutput()) {}
