#pragma once
#include "shell/state/SavedState.h"

// What the settings object drives when a setting changes. The system object
// implements ISettingSystem and hands out the managers it owns; any of them
// may be missing (null) while the system is being built or torn down.

// The camera manager's automatic/manual switch.
class ICameraModeSwitch {
public:
    virtual ~ICameraModeSwitch() {}
    virtual void SetAuto(bool automatic) = 0;
};

// The character's default dress, put back when QuillombMode goes off.
class IClothRefresh {
public:
    virtual ~IClothRefresh() {}
    virtual void RefreshCloth() = 0;
};

// The sound manager's on/off switch.
class ISoundSwitch {
public:
    virtual ~ISoundSwitch() {}
    virtual void SetEnabled(bool enabled) = 0;
};

class ISettingSystem : public IStateHolder {
public:
    // Re-applies the window size and mode from the settings (the window is
    // told before and after the device change); false when the device
    // refuses the new mode.
    virtual bool ApplyWindowMode() = 0;
    // Posts the main window its stay-on-top change.
    virtual void PostTopmost(bool topmost) = 0;
    virtual ICameraModeSwitch* GetCameraModeSwitch() = 0;
    virtual IClothRefresh* GetClothRefresh() = 0;
    virtual ISoundSwitch* GetSoundSwitch() = 0;
};
