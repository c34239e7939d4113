#include "tools/media/FontRaster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cerrno>
#include <iconv.h>

const char* const DEFAULT_FONT_PATH = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

bool DecodeUtf8(const std::string& text, std::vector<uint32_t>& out) {
    out.clear();
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const uint8_t b0 = uint8_t(text[i]);
        int extra;
        uint32_t cp, least;
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1, cp = b0 & 0x1F, least = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, cp = b0 & 0x0F, least = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, cp = b0 & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (n - i <= size_t(extra)) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const uint8_t b = uint8_t(text[i + k]);
            if ((b & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return true;
}

bool DecodeCp932(const std::string& text, std::vector<uint32_t>& out) {
    out.clear();
    if (text.empty()) {
        return true;
    }
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == iconv_t(-1)) {
        return false;
    }
    std::string in = text;
    std::vector<char> buffer(text.size() * 4 + 8);
    char* src = &in[0];
    size_t srcLeft = in.size();
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const bool ok = r != size_t(-1) && srcLeft == 0;
    iconv_close(cd);
    if (!ok) {
        return false;
    }
    const size_t bytes = buffer.size() - dstLeft;
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(buffer.data() + i);
        out.push_back(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    }
    return true;
}

bool DecodeText(const std::string& text, TextEncoding encoding, std::vector<uint32_t>& out) {
    switch (encoding) {
    case TE_UTF8: return DecodeUtf8(text, out);
    case TE_CP932: return DecodeCp932(text, out);
    }
    out.clear();
    return false;
}

struct CFontRaster::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) {
            FT_Done_Face(face);
        }
        if (library) {
            FT_Done_FreeType(library);
        }
    }
};

CFontRaster::CFontRaster() = default;
CFontRaster::~CFontRaster() = default;

bool CFontRaster::IsOpen() const { return m_face && m_face->face; }

bool CFontRaster::Open(const std::string& fontPath) {
    m_face.reset();
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0) {
        m_error = "FreeType could not start";
        return false;
    }
    if (FT_New_Face(face->library, fontPath.c_str(), 0, &face->face) != 0) {
        face->face = nullptr;
        m_error = "cannot open font " + fontPath;
        return false;
    }
    if (!FT_IS_SCALABLE(face->face)) {
        m_error = "font " + fontPath + " has no outlines";
        return false;
    }
    m_face = std::move(face);
    m_error.clear();
    return true;
}

namespace {

struct Line {
    std::vector<uint32_t> glyphs; // glyph indices
    std::vector<int> pens;        // pen x of each glyph, pixels
    int advance = 0;
};

int Round26_6(long v) { return int((v + 32) >> 6); }

} // namespace

bool CFontRaster::Render(const std::string& text, TextEncoding encoding, int pixelSize, TextMask& out) {
    out = TextMask();
    if (!IsOpen()) {
        m_error = "no font is open";
        return false;
    }
    if (pixelSize < 4 || pixelSize > 512) {
        m_error = "text size out of range";
        return false;
    }
    std::vector<uint32_t> codes;
    if (!DecodeText(text, encoding, codes)) {
        m_error = "text does not decode";
        return false;
    }
    FT_Face face = m_face->face;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        m_error = "font cannot take that size";
        return false;
    }
    const int ascender = Round26_6(face->size->metrics.ascender);
    const int descender = Round26_6(face->size->metrics.descender); // negative
    const int lineHeight = std::max(Round26_6(face->size->metrics.height), ascender - descender);

    // Lay the lines out first: the mask's size is known before any ink.
    std::vector<Line> lines(1);
    for (uint32_t cp : codes) {
        if (cp == '\n') {
            lines.emplace_back();
            continue;
        }
        if (cp == '\r') {
            continue;
        }
        const FT_UInt index = FT_Get_Char_Index(face, cp);
        if (index == 0) {
            m_error = "the font has no glyph for U+" + std::to_string(cp);
            return false;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
            m_error = "glyph does not load";
            return false;
        }
        Line& line = lines.back();
        line.glyphs.push_back(index);
        line.pens.push_back(line.advance);
        line.advance += Round26_6(face->glyph->advance.x);
    }
    int width = 0;
    for (const Line& line : lines) {
        width = std::max(width, line.advance);
    }
    out.width = std::max(width, 1);
    out.height = lineHeight * int(lines.size());
    out.baseline = ascender;
    out.coverage.assign(size_t(out.width) * out.height, 0);

    for (size_t l = 0; l < lines.size(); ++l) {
        const int baseline = ascender + lineHeight * int(l);
        const Line& line = lines[l];
        for (size_t g = 0; g < line.glyphs.size(); ++g) {
            if (FT_Load_Glyph(face, line.glyphs[g], FT_LOAD_RENDER) != 0) {
                m_error = "glyph does not render";
                out = TextMask();
                return false;
            }
            const FT_GlyphSlot slot = face->glyph;
            const FT_Bitmap& bm = slot->bitmap;
            if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) {
                continue; // an empty glyph (a space) has no grey bitmap
            }
            const int left = line.pens[g] + slot->bitmap_left;
            const int top = baseline - slot->bitmap_top;
            for (unsigned row = 0; row < bm.rows; ++row) {
                const int y = top + int(row);
                if (y < 0 || y >= out.height) {
                    continue;
                }
                const uint8_t* src = bm.buffer + long(row) * bm.pitch;
                for (unsigned col = 0; col < bm.width; ++col) {
                    const int x = left + int(col);
                    if (x < 0 || x >= out.width) {
                        continue;
                    }
                    uint8_t& d = out.coverage[size_t(y) * out.width + x];
                    d = std::max(d, src[col]);
                }
            }
        }
    }
    m_error.clear();
    return true;
}

bool CFontRaster::RenderFitting(const std::string& text, TextEncoding encoding, int maxPixelSize, int maxWidth,
                                int maxHeight, TextMask& out, int* chosenSize) {
    for (int size = std::min(maxPixelSize, 512); size >= 4; --size) {
        if (!Render(text, encoding, size, out)) {
            return false;
        }
        if (out.width <= maxWidth && out.height <= maxHeight) {
            if (chosenSize) {
                *chosenSize = size;
            }
            return true;
        }
    }
    out = TextMask();
    m_error = "text does not fit";
    return false;
}

void DrawTextMask(CCanvas& canvas, const TextMask& mask, int x, int y, Rgba c) {
    for (int j = 0; j < mask.height; ++j) {
        for (int i = 0; i < mask.width; ++i) {
            const uint8_t a = mask.At(i, j);
            if (a != 0) {
                canvas.Blend(x + i, y + j, c, a / 255.0f);
            }
        }
    }
}
