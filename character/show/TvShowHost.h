#pragma once
#include "character/show/TvShowProgram.h"

class CCameraResource;

// What the show needs from the application that owns it (the system object
// implements it): the main window's message queue, the pointer, the camera
// and the cursor.
class ITvShowHost : public IShowMessagePoster {
public:
    // The pointer in window pixels; false when there is none.
    virtual bool GetPointerPosition(int& x, int& y) = 0;
    virtual bool IsLeftButtonDown() = 0;
    // The camera the room is seen through now (null when none).
    virtual CCameraResource* GetCurrentView() = 0;
    virtual void AddFocusPoint(float x, float y, float z, float weight) = 0;
    // The pointer zones change when the show closes.
    virtual void RefreshCursor() = 0;
};
