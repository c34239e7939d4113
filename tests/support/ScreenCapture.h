#pragma once
// What the screen shows in a rectangle (screen pixels), for the Windows
// tests that compare a drawn window with a kept picture.
#include <windows.h>

#include "tests/support/PictureCompare.h"

inline RgbPicture CaptureScreen(const RECT& r) {
    RgbPicture p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    if (p.width <= 0 || p.height <= 0)
        return RgbPicture();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const uint8_t* px = static_cast<const uint8_t*>(bits);
        p.rgb.reserve(size_t(p.width) * size_t(p.height) * 3);
        for (int i = 0; i < p.width * p.height; ++i) {
            p.rgb.push_back(px[i * 4 + 2]);
            p.rgb.push_back(px[i * 4 + 1]);
            p.rgb.push_back(px[i * 4 + 0]);
        }
        SelectObject(memory, old);
        DeleteObject(dib);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!dib)
        return RgbPicture();
    return p;
}
