#pragma once
#include <cstdint>
#include <vector>

#include "engine/resource/Handle.h"

// The blend pass: channels written with AWT_BLEND between BeginBlendPass and
// EndBlendPass accumulate weighted samples and are divided by their total
// weight at the end. Room for 1024 channels is kept ready, so a usual pass
// allocates nothing; a pass that touches more grows the list instead of
// leaving channels unnormalised.
constexpr int TOUCHED_CHANNEL_RESERVE = 1024;

int32_t BlendPassStamp();
void BeginBlendPass();
void EndBlendPass();

// Lists a channel for normalisation at the end of the pass.
void AddTouchedChannel(CHandle channel);
const std::vector<CHandle>& TouchedChannelList();
