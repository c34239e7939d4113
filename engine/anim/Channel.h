#pragma once
#include <cstdint>

#include "engine/resource/Handle.h"

class CChangeStamp;

// One animatable float of a resource, found by handle. The family table's
// extra word holds the owner's change notifier, which every animator write
// calls. The weight and pass stamp belong to the blend pass.
class CChannel {
public:
    explicit CChannel(CChangeStamp* notifier = nullptr, float value = 0.0f);
    virtual ~CChannel();

    CHandle GetHandle() const { return m_handle; }
    // The notifier of a live channel handle, or null.
    static CChangeStamp* GetNotifier(CHandle channel);

    float m_value;
    float m_weight;
    int32_t m_passStamp;

    CChannel(const CChannel&) = delete;
    CChannel& operator=(const CChannel&) = delete;

private:
    CHandle m_handle;
};

HandleTable<CChannel>& ChannelHandles();
