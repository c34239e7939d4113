#include "engine/anim/BlendPass.h"

#include "engine/anim/Channel.h"

namespace {

int32_t g_passStamp = 0;

std::vector<CHandle>& Touched() {
    static std::vector<CHandle> list = [] {
        std::vector<CHandle> l;
        l.reserve(TOUCHED_CHANNEL_RESERVE);
        return l;
    }();
    return list;
}

} // namespace

int32_t BlendPassStamp() { return g_passStamp; }

void BeginBlendPass() { g_passStamp = (int32_t)((uint32_t)g_passStamp + 1u); }

void EndBlendPass() {
    std::vector<CHandle>& list = Touched();
    for (CHandle handle : list) {
        CChannel* channel = ChannelHandles().Resolve(handle);
        if (!channel)
            continue;
        if (channel->m_weight != 1.0f && channel->m_weight != 0.0f)
            channel->m_value = channel->m_value / channel->m_weight;
    }
    list.clear();
}

void AddTouchedChannel(CHandle channel) { Touched().push_back(channel); }

const std::vector<CHandle>& TouchedChannelList() { return Touched(); }
