#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/window/DibRegion.h"
#include "tests/engine/window/OneByOneRegion.h"

namespace {

const COLORREF KEY = RGB(0, 255, 0);
const int MASK_SIZES[] = {640, 800, 1200};

long RegionArea(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (size == 0 || GetRegionData(region, size, rgn) != size)
        return -1;
    const RECT* r = reinterpret_cast<const RECT*>(rgn->Buffer);
    long area = 0;
    for (DWORD i = 0; i < rgn->rdh.nCount; ++i)
        area += long(r[i].right - r[i].left) * long(r[i].bottom - r[i].top);
    return area;
}

// The window masks the build packed into the clipper archive, read through
// the program's archive code from the folder the data was laid out in, give
// each a rounded outline inside its square, and a window takes it.
TEST(WindowMask, GeneratedMasksGiveEachWindowItsOutline) {
    if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_CLIPPER, 0)])
        GTEST_SKIP() << "this build has no generated archive table";
    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() { SetDataFolder(folder); }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    std::unique_ptr<CDataArchive> archive(OpenClipperArchive(0));
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->GetEntryCount(), 3u);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WindowMaskTest";
    RegisterClassA(&wc);

    for (int size : MASK_SIZES) {
        char path[64];
        std::snprintf(path, sizeof path, "clipper/clipper_%d_%d.bmp", size, size);
        SCOPED_TRACE(path);
        ArchiveEntry entry = archive->GetEntry(path);
        ASSERT_NE(entry.data, nullptr);
        CDibRegion mask(KEY);
        ASSERT_TRUE(mask.LoadFromMemory(entry.data, entry.size));
        EXPECT_EQ(mask.GetWidth(), size);
        EXPECT_EQ(mask.GetHeight(), size);
        ASSERT_TRUE(mask.HasOutline());
        HRGN region = (HRGN)mask.GetRegion().GetSafeHandle();

        RECT box;
        ASSERT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.right, size);
        EXPECT_LE(box.bottom, size);
        EXPECT_GT(box.right - box.left, size * 9 / 10) << "the outline spans nearly the whole window";
        long area = RegionArea(region);
        EXPECT_GT(area, long(size) * size * 3 / 4);
        EXPECT_LT(area, long(size) * size) << "the corners are cut";
        EXPECT_TRUE(PtInRegion(region, size / 2, size / 2));
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_FALSE(PtInRegion(region, size - 1, size - 1));
        HRGN oneByOne = testrgn::CombineOneByOne(testrgn::RunsFromMask(mask), size, size);
        EXPECT_TRUE(EqualRgn(oneByOne, region)) << "the outline is the union of the mask's runs";
        DeleteObject(oneByOne);

        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "WindowMaskTest", "mask", WS_POPUP, 0, 0, size, size, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        // The window owns the region it is given: hand it a copy.
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, region, nullptr, RGN_COPY);
        EXPECT_NE(SetWindowRgn(window, copy, TRUE), 0);
        HRGN taken = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(window, taken), COMPLEXREGION);
        EXPECT_TRUE(EqualRgn(taken, region)) << "the window's outline is the mask's";
        DeleteObject(taken);
        DestroyWindow(window);
    }
    UnregisterClassA("WindowMaskTest", wc.hInstance);
}

} // namespace
