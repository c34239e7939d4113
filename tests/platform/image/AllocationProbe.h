#pragma once
// A probe on the test program's operator new: while one lives, any single
// request above its bound fails with std::bad_alloc, as a large request does
// in a 32-bit process whose address space is used up, and the largest
// request made is recorded. Memory that libpng and libjpeg take with malloc
// is not seen.
#include <cstddef>

class CAllocationProbe {
public:
    // failAbove 0: nothing fails, requests are only recorded.
    explicit CAllocationProbe(size_t failAbove);
    ~CAllocationProbe();
    CAllocationProbe(const CAllocationProbe&) = delete;
    CAllocationProbe& operator=(const CAllocationProbe&) = delete;

    size_t Largest() const;
    size_t Refused() const;
};
