#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/image/Image.h"

// The picture file formats the texture loader reads, told apart by their bytes.
enum ImageFileFormat {
    IFF_UNKNOWN = -1,
    IFF_BMP = 0,
    IFF_JPEG = 1,
    IFF_TGA = 2,
    IFF_PNG = 3,
    IFF_DDS = 4,
};

// BMP, PNG, JPEG and DDS by their signatures; anything else that parses as a
// TGA header counts as TGA (the format has no signature).
ImageFileFormat DetectImageFormat(const uint8_t* data, size_t size);

// Each decoder reads exactly [data, data + size) and either fills out
// completely and answers true, or leaves it empty and answers false: malformed
// or truncated bytes, a picture larger than the limits, or memory that cannot
// be had give no image.
bool DecodeImage(const uint8_t* data, size_t size, CImage& out, ImageFileFormat* format = nullptr,
                 const ImageLimits& limits = ImageLimits());
bool DecodeBmp(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits = ImageLimits());
bool DecodeTga(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits = ImageLimits());
// The stored sample values as they are: gamma and colour-space chunks are not
// applied, and 16-bit samples are rounded to 8 bits.
bool DecodePng(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits = ImageLimits());
bool DecodeJpeg(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits = ImageLimits());
// The top level of a plain 2D surface: uncompressed (16, 24 or 32 bits with
// masks, luminance, alpha) or DXT1 to DXT5.
bool DecodeDds(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits = ImageLimits());
