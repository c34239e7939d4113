#include "engine/core/FrameStamp.h"

int32_t FrameStamp = 0;
