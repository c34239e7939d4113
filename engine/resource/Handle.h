#pragma once
#include <cstdint>
#include <vector>

// A reference to a handle-addressed object: an index into its family's table and
// the generation the slot had when the object registered. It resolves only while
// the slot still carries that generation.
struct CHandle {
    int32_t index = 0;
    int32_t generation = 1;

    bool IsNull() const { return index == 0 && generation == 1; }
    bool operator==(const CHandle& o) const { return index == o.index && generation == o.generation; }
    bool operator!=(const CHandle& o) const { return !(*this == o); }
};

constexpr CHandle NULL_HANDLE = {0, 1};

// The slots of one family of objects. Live generations start at 2 and a
// released slot holds 0, so neither the null handle nor a stale one resolves.
// Freed indices are reused last-freed first.
class HandleTableBase {
public:
    CHandle Register(void* object, uintptr_t extra);
    void* Resolve(CHandle handle) const;
    // The family's extra word of a live handle's slot (0 when it does not resolve).
    uintptr_t Extra(CHandle handle) const;
    void Release(int32_t index);
    int32_t SlotCount() const { return (int32_t)m_slots.size(); }

private:
    struct Slot {
        void* object;
        uintptr_t extra;
        int32_t generation;
    };
    std::vector<Slot> m_slots;
    std::vector<int32_t> m_free;
    int32_t m_nextGeneration = 2;
};

template <class T>
class HandleTable : public HandleTableBase {
public:
    CHandle Register(T* object, uintptr_t extra = 0) { return HandleTableBase::Register(object, extra); }
    T* Resolve(CHandle handle) const { return static_cast<T*>(HandleTableBase::Resolve(handle)); }
};
