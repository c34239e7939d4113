#include "engine/resource/Handle.h"

#include <climits>

CHandle HandleTableBase::Register(void* object, uintptr_t extra) {
    int32_t index;
    if (!m_free.empty()) {
        index = m_free.back();
        m_free.pop_back();
    } else {
        index = (int32_t)m_slots.size();
        m_slots.push_back({nullptr, 0, 0});
    }
    int32_t generation = m_nextGeneration;
    // Wrap before signed overflow; generations below 2 never name a live slot.
    m_nextGeneration = (m_nextGeneration == INT32_MAX) ? 2 : m_nextGeneration + 1;
    m_slots[index] = {object, extra, generation};
    return {index, generation};
}

void* HandleTableBase::Resolve(CHandle handle) const {
    if (handle.index < 0 || handle.index >= (int32_t)m_slots.size())
        return nullptr;
    const Slot& slot = m_slots[handle.index];
    return slot.generation == handle.generation ? slot.object : nullptr;
}

uintptr_t HandleTableBase::Extra(CHandle handle) const {
    if (!Resolve(handle))
        return 0;
    return m_slots[handle.index].extra;
}

void HandleTableBase::Release(int32_t index) {
    if (index < 0 || index >= (int32_t)m_slots.size() || m_slots[index].generation == 0)
        return;
    m_slots[index] = {nullptr, 0, 0};
    m_free.push_back(index);
}
