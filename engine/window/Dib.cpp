#include "engine/window/Dib.h"

#include <cstring>

#include "engine/bitmap/BmpImage.h"
#include "platform/framework/File.h"

namespace {

// Far above the largest window mask (1200 × 1200 × 3 bytes).
constexpr LONGLONG MAX_BITMAP_FILE = 64 * 1024 * 1024;

} // namespace

CDib::CDib() : m_colourCount(0), m_bits(nullptr), m_height(0), m_width(0), m_bitCount(0), m_stride(0) {
    std::memset(&m_bitmap, 0, sizeof m_bitmap);
}

CDib::~CDib() = default;

const BITMAPINFO* CDib::GetInfo() const {
    return m_info.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(m_info.data());
}

BOOL CDib::LoadFromMemory(const void* data, size_t size) { return LoadImage(data, size, true); }

BOOL CDib::LoadFromResource(UINT id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!found)
        return FALSE;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return FALSE;
    return LoadImage(data, SizeofResource(module, found), false);
}

BOOL CDib::LoadFromFile(const char* path) {
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead))
        return FALSE;
    LONGLONG length = file.GetLength();
    if (length <= 0 || length > MAX_BITMAP_FILE)
        return FALSE;
    std::vector<BYTE> bytes(static_cast<size_t>(length));
    if (file.Read(bytes.data(), static_cast<UINT>(length)) != static_cast<UINT>(length))
        return FALSE;
    file.Close();
    if (!LoadImage(bytes.data(), bytes.size(), true))
        return FALSE;
    m_fileName = path;
    return TRUE;
}

BOOL CDib::LoadImage(const void* data, size_t size, bool hasFileHeader) {
    BmpView view;
    if (ParseBmp(static_cast<const uint8_t*>(data), size, hasFileHeader, view) != BMP_OK)
        return FALSE;
    if (!CreateFromView(view))
        return FALSE;
    m_fileName.clear();
    return TRUE;
}

BOOL CDib::CreateFromView(const BmpView& view) {
    std::vector<BYTE> info;
    BuildInfoBlock(view, info);
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP section =
        CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!section || !bits) {
        if (section)
            ::DeleteObject(section);
        return FALSE;
    }
    // The section is exactly stride × height bytes, the view's pixel size.
    CopyPixelsBottomUp(view, static_cast<uint8_t*>(bits));
    GdiFlush();

    Attach(section);
    m_info.swap(info);
    m_bits = static_cast<BYTE*>(bits);
    m_colourCount = view.colourCount;
    GetBitmap(&m_bitmap);
    m_width = view.width;
    m_height = view.height;
    // The section's own row length, not the one GetObject reports.
    m_bitCount = view.bitCount;
    m_stride = view.stride;
    BuildPalette();
    return TRUE;
}

void CDib::BuildPalette() {
    m_palette.DeleteObject();
    const BITMAPINFO* info = GetInfo();
    if (m_colourCount >= 1 && m_colourCount <= 256) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * m_colourCount);
        LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(block.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = static_cast<WORD>(m_colourCount);
        for (int i = 0; i < m_colourCount; ++i) {
            const RGBQUAD& q = info->bmiColors[i];
            palette->palPalEntry[i].peRed = q.rgbRed;
            palette->palPalEntry[i].peGreen = q.rgbGreen;
            palette->palPalEntry[i].peBlue = q.rgbBlue;
            palette->palPalEntry[i].peFlags = 0;
        }
        m_palette.CreatePalette(palette);
    } else if (m_colourCount > 256) {
        HDC screen = GetDC(nullptr);
        m_palette.CreateHalftonePalette(screen);
        ReleaseDC(nullptr, screen);
    }
}

HBITMAP CDib::CreateCompatibleSection(BYTE** bits) const {
    *bits = nullptr;
    const BITMAPINFO* info = GetInfo();
    if (!info)
        return nullptr;
    HDC screen = GetDC(nullptr);
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(screen, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (section && !pixels) {
        ::DeleteObject(section);
        return nullptr;
    }
    *bits = static_cast<BYTE*>(pixels);
    return section;
}

void CDib::PutPalette(HDC dc, HPALETTE& previous) {
    previous = nullptr;
    if (!m_palette.GetSafeHandle())
        return;
    previous = SelectPalette(dc, m_palette, FALSE);
    RealizePalette(dc);
}

void CDib::Draw(HDC dc, int x, int y, const RECT& srcRect) {
    RECT dest = {x, y, x + (srcRect.right - srcRect.left), y + (srcRect.bottom - srcRect.top)};
    DrawStretched(dc, dest, srcRect);
}

void CDib::DrawStretched(HDC dc, const RECT& destRect, const RECT& srcRect) {
    if (!GetSafeHandle())
        return;
    HPALETTE previous;
    PutPalette(dc, previous);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, GetSafeHandle());
    StretchBlt(dc, destRect.left, destRect.top, destRect.right - destRect.left, destRect.bottom - destRect.top, memory,
               srcRect.left, srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (previous)
        SelectPalette(dc, previous, TRUE);
}

void CDib::DrawAll(HDC dc, int x, int y) {
    RECT all = {0, 0, m_width, m_height};
    Draw(dc, x, y, all);
}
