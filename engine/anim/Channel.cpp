#include "engine/anim/Channel.h"

#include "engine/anim/BlendPass.h"

HandleTable<CChannel>& ChannelHandles() {
    static HandleTable<CChannel> table;
    return table;
}

CChannel::CChannel(CChangeStamp* notifier, float value)
    : m_value(value),
      m_weight(0.0f),
      m_passStamp(BlendPassStamp()) {
    m_handle = ChannelHandles().Register(this, reinterpret_cast<uintptr_t>(notifier));
}

CChannel::~CChannel() { ChannelHandles().Release(m_handle.index); }

CChangeStamp* CChannel::GetNotifier(CHandle channel) {
    return reinterpret_cast<CChangeStamp*>(ChannelHandles().Extra(channel));
}
