#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/engine/bitmap/TestBitmaps.h"
#include "engine/window/DibRegion.h"
#include "tests/engine/window/OneByOneRegion.h"

namespace {

using testbmp::BitmapLayout;
using testbmp::GREEN;
using testbmp::Make;

const COLORREF KEY = RGB(0, 255, 0);
using PixelFn = std::function<uint32_t(int, int)>;

std::vector<RECT> RegionRects(HRGN region) {
    std::vector<RECT> rects;
    DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0)
        return rects;
    std::vector<BYTE> data(size);
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region, size, rgn) != size)
        return rects;
    const RECT* r = reinterpret_cast<const RECT*>(rgn->Buffer);
    rects.assign(r, r + rgn->rdh.nCount);
    return rects;
}

// The runs of each image row, top row first, with vertically equal rows
// joined: the banded form that a region reports.
std::vector<RECT> ExpectedBands(int width, int height, const std::function<bool(int, int)>& opaque) {
    std::vector<RECT> bands;
    std::vector<std::pair<int, int>> previous;
    size_t previousStart = 0;
    for (int y = 0; y < height; ++y) {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < width;) {
            if (!opaque(x, y)) {
                ++x;
                continue;
            }
            int start = x;
            while (x < width && opaque(x, y))
                ++x;
            runs.push_back({start, x});
        }
        if (!runs.empty() && runs == previous && bands.size() > previousStart) {
            for (size_t i = previousStart; i < bands.size(); ++i)
                bands[i].bottom = y + 1;
        } else {
            previousStart = bands.size();
            for (auto& r : runs)
                bands.push_back(RECT{r.first, y, r.second, y + 1});
        }
        previous = runs;
    }
    return bands;
}

struct RegionCase {
    const char* what;
    BitmapLayout spec;
    PixelFn pixel;
    std::vector<uint32_t> palette;
    std::function<bool(int, int)> opaque;
};

void CheckRegion(const RegionCase& c) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = Make(c.spec, c.pixel, c.palette);
    CDibRegion dib(KEY);
    ASSERT_TRUE(dib.LoadFromMemory(bytes.data(), bytes.size()));
    ASSERT_TRUE(dib.HasOutline());
    const int w = dib.GetWidth(), h = dib.GetHeight();
    std::vector<RECT> got = RegionRects(dib.GetRegion());
    std::vector<RECT> want = ExpectedBands(w, h, c.opaque);
    // The rectangles in the region's own banded form; the pixel check below
    // holds even where a system bands them differently.
    EXPECT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size() && i < want.size(); ++i) {
        EXPECT_EQ(got[i].left, want[i].left) << "rect " << i;
        EXPECT_EQ(got[i].top, want[i].top) << "rect " << i;
        EXPECT_EQ(got[i].right, want[i].right) << "rect " << i;
        EXPECT_EQ(got[i].bottom, want[i].bottom) << "rect " << i;
    }
    const int bytesPer = dib.GetBitCount() / 8;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(PtInRegion(dib.GetRegion(), x, y) != 0, c.opaque(x, y)) << x << "," << y;
            size_t at = size_t(h - 1 - y) * dib.GetStride() + size_t(x) * bytesPer;
            for (int k = 0; k < bytesPer; ++k) {
                EXPECT_EQ(dib.GetMaskBits()[at + k], c.opaque(x, y) ? 0 : 255) << x << "," << y;
                if (!c.opaque(x, y)) {
                    EXPECT_EQ(dib.GetBits()[at + k], 0) << x << "," << y;
                }
            }
        }
}

TEST(DibRegion, RegionsFromGeneratedBitmaps) {
    BitmapLayout s24;
    s24.width = 7;
    s24.height = 5;
    BitmapLayout s8 = s24;
    s8.bitCount = 8;
    BitmapLayout topDown = s24;
    topDown.height = -5;
    const std::vector<uint32_t> withKey = {0x000000, 0x804020, GREEN, 0x00FE00};
    const std::vector<uint32_t> withoutKey = {0x000000, 0x804020, 0x00FE00, 0x01FF00};
    auto disc = [](int x, int y) { return (x - 3) * (x - 3) + (y - 2) * (y - 2) <= 5; };
    RegionCase cases[] = {
        {"24-bit left half key",
         s24,
         [](int x, int) { return x < 3 ? GREEN : 0x102030u; },
         {},
         [](int x, int) { return x >= 3; }},
        {"24-bit disc", s24, [&](int x, int y) { return disc(x, y) ? 0xFFFFFFu : GREEN; }, {}, disc},
        {"24-bit no key", s24, [](int, int) { return 0xFF0000u; }, {}, [](int, int) { return true; }},
        {"24-bit all-key row",
         s24,
         [](int x, int y) { return y == 2 || x == 6 ? GREEN : 0x00FF01u; },
         {},
         [](int x, int y) { return y != 2 && x != 6; }},
        {"24-bit top-down",
         topDown,
         [](int x, int y) { return x == y ? GREEN : 0u; },
         {},
         [](int x, int y) { return x != y; }},
        {"8-bit palette key", s8, [](int x, int y) { return (x + y) % 3 == 0 ? 2u : 1u; }, withKey,
         [](int x, int y) { return (x + y) % 3 != 0; }},
        {"8-bit near-key colour is opaque", s8, [](int x, int) { return x < 2 ? 3u : 2u; }, withKey,
         [](int x, int) { return x < 2; }},
        {"8-bit palette without the key", s8, [](int x, int) { return uint32_t(x % 4); }, withoutKey,
         [](int, int) { return true; }},
    };
    for (const RegionCase& c : cases)
        CheckRegion(c);
}

// Masks of many runs, built in several calls and merged, give the region that
// adding the runs one at a time gives.
TEST(DibRegion, ManyRunsGiveTheSameRegionAsOneByOne) {
    struct Case {
        const char* what;
        int width, height;
        PixelFn pixel;
    };
    const Case cases[] = {
        {"fine checkerboard", 96, 80, [](int x, int y) { return (x + y) % 2 ? GREEN : 0x203040u; }},
        {"stripes and a hole", 150, 60,
         [](int x, int y) {
             bool hole = (x - 75) * (x - 75) + (y - 30) * (y - 30) < 200;
             return hole || x % 5 == 0 ? GREEN : 0xC08040u;
         }},
        {"one run a row", 40, 300, [](int x, int y) { return x < y % 40 ? 0xFFFFFFu : GREEN; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        std::vector<uint8_t> bytes = Make(layout, c.pixel);
        CDibRegion dib(KEY);
        ASSERT_TRUE(dib.LoadFromMemory(bytes.data(), bytes.size()));
        ASSERT_TRUE(dib.HasOutline());
        HRGN reference = testrgn::CombineOneByOne(testrgn::RunsFromMask(dib), c.width, c.height);
        EXPECT_TRUE(EqualRgn(reference, dib.GetRegion()));
        DeleteObject(reference);
    }
}

// A 1200 × 1200 checkerboard of single pixels, the worst mask of the largest
// window size, builds in a moment: 720,000 runs, none joined with another.
TEST(DibRegion, LargestCheckerboardBuildsQuickly) {
    const int size = 1200;
    BitmapLayout layout;
    layout.width = size;
    layout.height = size;
    auto opaque = [](int x, int y) { return (x + y) % 2 == 0; };
    std::vector<uint8_t> bytes = Make(layout, [&](int x, int y) { return opaque(x, y) ? 0x808080u : GREEN; });
    CDibRegion dib(KEY);
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(dib.LoadFromMemory(bytes.data(), bytes.size()));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(dib.HasOutline());
    EXPECT_LT(seconds, 3.0);

    std::vector<RECT> got = RegionRects(dib.GetRegion());
    ASSERT_EQ(got.size(), size_t(size) * size / 2);
    size_t wrong = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        int y = int(i / (size / 2)), x = int(i % (size / 2)) * 2 + y % 2;
        wrong += got[i].left != x || got[i].right != x + 1 || got[i].top != y || got[i].bottom != y + 1;
    }
    EXPECT_EQ(wrong, 0u);
}

TEST(DibRegion, UnusableMaskGivesNoOutline) {
    BitmapLayout s24;
    s24.width = 4;
    s24.height = 4;
    std::vector<uint8_t> allKey = Make(s24, [](int, int) { return GREEN; });
    CDibRegion dib(KEY);
    ASSERT_TRUE(dib.LoadFromMemory(allKey.data(), allKey.size()));
    EXPECT_FALSE(dib.HasOutline());

    // An 8-bit row is padded past the width; the padding is no part of the
    // picture and makes no outline of its own.
    BitmapLayout s8 = s24;
    s8.width = 5;
    s8.bitCount = 8;
    std::vector<uint8_t> allKey8 = Make(s8, [](int, int) { return 1u; }, {0x000000, GREEN});
    ASSERT_TRUE(dib.LoadFromMemory(allKey8.data(), allKey8.size()));
    EXPECT_FALSE(dib.HasOutline());

    BitmapLayout s32 = s24;
    s32.bitCount = 32;
    std::vector<uint8_t> deep = Make(s32, [](int, int) { return 0u; });
    ASSERT_TRUE(dib.LoadFromMemory(deep.data(), deep.size()));
    EXPECT_EQ(dib.GetBitCount(), 32);
    EXPECT_FALSE(dib.HasOutline());
}

TEST(DibRegion, RefusedImageLeavesBitmapAndRegionAlone) {
    BitmapLayout s24;
    s24.width = 4;
    s24.height = 2;
    std::vector<uint8_t> good = Make(s24, [](int x, int) { return x == 0 ? GREEN : 0u; });
    CDibRegion dib(KEY);
    ASSERT_TRUE(dib.LoadFromMemory(good.data(), good.size()));
    ASSERT_TRUE(dib.HasOutline());
    HGDIOBJ region = dib.GetRegion().GetSafeHandle();

    std::vector<uint8_t> noSignature = good;
    noSignature[0] = 'X';
    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<uint8_t> rle = good;
    rle[30] = 1;
    for (const auto* bad : {&noSignature, &truncated, &rle}) {
        EXPECT_FALSE(dib.LoadFromMemory(bad->data(), bad->size()));
        EXPECT_EQ(dib.GetRegion().GetSafeHandle(), region);
        EXPECT_EQ(dib.GetWidth(), 4);
    }
    EXPECT_FALSE(dib.LoadFromMemory(nullptr, 0));
    EXPECT_FALSE(dib.LoadFromResource(4242)); // no such resource
    EXPECT_FALSE(dib.LoadFromFile("no such file.bmp"));
    EXPECT_EQ(dib.GetRegion().GetSafeHandle(), region);
}

TEST(DibRegion, LoadsFromAFileWithItsName) {
    BitmapLayout s8;
    s8.width = 5;
    s8.height = 3;
    s8.bitCount = 8;
    std::vector<uint8_t> bytes = Make(s8, [](int x, int) { return x >= 3 ? 1u : 0u; }, {GREEN, 0x123456});
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "dib", 0, path);
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    CDibRegion dib(KEY);
    ASSERT_TRUE(dib.LoadFromFile(path));
    EXPECT_EQ(dib.GetFileName(), path);
    EXPECT_EQ(dib.GetColourCount(), 256);
    ASSERT_TRUE(dib.GetPalette().GetSafeHandle() != nullptr);
    std::vector<RECT> rects = RegionRects(dib.GetRegion());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 3);
    EXPECT_EQ(rects[0].top, 0);
    EXPECT_EQ(rects[0].right, 5);
    EXPECT_EQ(rects[0].bottom, 3);
    // A later load from memory forgets the file name.
    ASSERT_TRUE(dib.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_TRUE(dib.GetFileName().empty());
    DeleteFileA(path);
}

TEST(DibRegion, WindowTakesTheOutlineAndTheBitmapDraws) {
    BitmapLayout s24;
    s24.width = 16;
    s24.height = 16;
    auto inside = [](int x, int y) { return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 49; };
    std::vector<uint8_t> bytes = Make(s24, [&](int x, int y) { return inside(x, y) ? 0xFF0000u : GREEN; });
    CDibRegion dib(KEY);
    ASSERT_TRUE(dib.LoadFromMemory(bytes.data(), bytes.size()));
    ASSERT_TRUE(dib.HasOutline());

    HWND window = CreateWindowExA(0, "STATIC", "mask", WS_POPUP, 0, 0, 16, 16, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, dib.GetRegion(), nullptr, RGN_COPY);
    ASSERT_NE(SetWindowRgn(window, copy, FALSE), 0); // the window owns the copy now
    HRGN now = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, now), ERROR);
    EXPECT_TRUE(EqualRgn(now, dib.GetRegion()));
    DeleteObject(now);
    DestroyWindow(window);

    // Drawing copies the pixels (key pixels now black) into a memory DC.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(memory, target);
    dib.DrawAll(memory, 0, 0);
    EXPECT_EQ(GetPixel(memory, 8, 8) & 0xFFFFFF, RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 0, 0) & 0xFFFFFF, RGB(0, 0, 0));
    RECT src = {0, 0, 8, 8}, dest = {0, 0, 16, 16};
    dib.DrawStretched(memory, dest, src);
    EXPECT_EQ(GetPixel(memory, 15, 15) & 0xFFFFFF, RGB(255, 0, 0));
    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace
