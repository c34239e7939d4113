#include "tests/platform/image/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_active{false};
std::atomic<size_t> g_failAbove{0};
std::atomic<size_t> g_largest{0};
std::atomic<size_t> g_refused{0};

} // namespace

CAllocationProbe::CAllocationProbe(size_t failAbove) {
    g_failAbove = failAbove;
    g_largest = 0;
    g_refused = 0;
    g_active = true;
}

CAllocationProbe::~CAllocationProbe() { g_active = false; }

size_t CAllocationProbe::Largest() const { return g_largest; }
size_t CAllocationProbe::Refused() const { return g_refused; }

// The replacements for the whole test program; the array and sized forms of
// the standard library come through these two.
void* operator new(size_t size) {
    if (g_active) {
        size_t seen = g_largest;
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
        size_t bound = g_failAbove;
        if (bound && size > bound) {
            ++g_refused;
            throw std::bad_alloc();
        }
    }
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
// The no-throw forms too, or the sanitizer's own would pair with the free above.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
