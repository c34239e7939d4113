#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// Outline text for the tools' pictures: Japanese and Latin text drawn with
// FreeType from a TrueType font (IPA Gothic by default) into an 8-bit
// coverage mask, which a caller composites onto a CCanvas in any colour.
// The tools' bitmap font (BitmapFont.h) stays for ASCII-only labels.

enum TextEncoding {
    TE_UTF8,
    TE_CP932,
};

// The font the tools draw Japanese text with (Debian's fonts-ipafont-gothic).
extern const char* const DEFAULT_FONT_PATH;

// Strict decoders to Unicode code points; false on a malformed or unmapped
// byte sequence (nothing is guessed or replaced).
bool DecodeUtf8(const std::string& text, std::vector<uint32_t>& out);
bool DecodeCp932(const std::string& text, std::vector<uint32_t>& out);
bool DecodeText(const std::string& text, TextEncoding encoding, std::vector<uint32_t>& out);

// Rendered text: width × height coverage bytes (0..255), rows top first.
// `baseline` is the first line's baseline, in rows from the top.
struct TextMask {
    int width = 0;
    int height = 0;
    int baseline = 0;
    std::vector<uint8_t> coverage;

    uint8_t At(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0 : coverage[size_t(y) * width + x];
    }
};

// One open font face. Open fails (false, with a reason) when FreeType or the
// file cannot be used; every other call on an unopened raster fails too.
class CFontRaster {
public:
    CFontRaster();
    ~CFontRaster();
    CFontRaster(const CFontRaster&) = delete;
    CFontRaster& operator=(const CFontRaster&) = delete;

    bool Open(const std::string& fontPath = DEFAULT_FONT_PATH);
    bool IsOpen() const;
    const std::string& LastError() const { return m_error; }

    // The text at `pixelSize` (the em in pixels), '\n' starting a new line,
    // lines left-aligned. The mask is as wide as the widest line's advance and
    // as tall as the lines' height. Fails on text that does not decode, on a
    // character the font has no glyph for, and on sizes outside 4..512.
    bool Render(const std::string& text, TextEncoding encoding, int pixelSize, TextMask& out);
    // The largest size from maxPixelSize down to 4 whose mask fits within
    // maxWidth × maxHeight; false when even size 4 does not fit.
    bool RenderFitting(const std::string& text, TextEncoding encoding, int maxPixelSize, int maxWidth, int maxHeight,
                       TextMask& out, int* chosenSize = nullptr);

private:
    struct Face;
    std::unique_ptr<Face> m_face;
    std::string m_error;
};

// Paints the mask with colour c (its alpha scaled by coverage), top-left at
// (x, y); clipped to the canvas.
void DrawTextMask(CCanvas& canvas, const TextMask& mask, int x, int y, Rgba c);
