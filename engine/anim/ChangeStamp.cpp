#include "engine/anim/ChangeStamp.h"

#include "engine/core/FrameStamp.h"

// A new owner counts as changed in its first frame, so that whatever it derives
// from its channels is built at the first request.
CChangeStamp::CChangeStamp() : m_changeStamp(FrameStamp) {}

void CChangeStamp::Touch() { m_changeStamp = FrameStamp; }
