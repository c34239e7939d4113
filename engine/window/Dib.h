#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/framework/GdiObject.h"

struct BmpView;

// A device-independent bitmap held as a GDI DIB section, loaded from a BMP
// image in memory (an archive entry), from a bitmap resource of the program or
// from a BMP file, with its palette, and drawn to a device context. The image
// bytes are checked in full before anything is created; a refused image
// leaves the bitmap as it was.
class CDib : public CBitmap {
public:
    CDib();
    ~CDib() override;

    // A whole BMP image, file header first. 1 on success, 0 on failure.
    virtual BOOL LoadFromMemory(const void* data, size_t size);
    virtual BOOL LoadFromFile(const char* path);
    // A bitmap resource of the program (no file header).
    virtual BOOL LoadFromResource(UINT id);
    virtual void DrawStretched(HDC dc, const RECT& destRect, const RECT& srcRect);
    virtual void Draw(HDC dc, int x, int y, const RECT& srcRect);
    virtual void DrawAll(HDC dc, int x, int y);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetColourCount() const { return m_colourCount; }
    int GetBitCount() const { return m_bitCount; }
    // Bytes per stored row, a multiple of 4.
    int GetStride() const { return m_stride; }
    // Bottom-up rows of GetStride() bytes; null before a load.
    BYTE* GetBits() const { return m_bits; }
    const BITMAPINFO* GetInfo() const;
    CPalette& GetPalette() { return m_palette; }
    const std::string& GetFileName() const { return m_fileName; }

protected:
    // A DIB section with the same format as this bitmap; its pixels in *bits.
    HBITMAP CreateCompatibleSection(BYTE** bits) const;

private:
    BOOL LoadImage(const void* data, size_t size, bool hasFileHeader);
    BOOL CreateFromView(const BmpView& view);
    void BuildPalette();
    void PutPalette(HDC dc, HPALETTE& previous);

    int m_colourCount;
    // Plain header and colour table of the loaded image, always our own copy.
    std::vector<BYTE> m_info;
    BYTE* m_bits;
    CPalette m_palette;
    BITMAP m_bitmap;
    int m_height;
    int m_width;
    int m_bitCount;
    int m_stride;
    std::string m_fileName;
};
