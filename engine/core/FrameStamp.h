#pragma once
#include <cstdint>

// The process-wide frame counter: the frame loop advances it once per pass,
// and the render manager once after queuing each scene, so that a tree
// queued again recomputes its cached world matrices. Change stamps and
// cached matrices compare against it.
extern int32_t FrameStamp;

inline void AdvanceFrameStamp() { FrameStamp = (int32_t)((uint32_t)FrameStamp + 1u); }
