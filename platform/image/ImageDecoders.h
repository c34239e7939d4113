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
// or truncated bytes give no image.
bool DecodeImage(const uint8_t* data, size_t size, CImage& out, ImageFileFormat* format = nullptr);
bool DecodeBmp(const uint8_t* data, size_t size, CImage& out);
bool DecodeTga(const uint8_t* data, size_t size, CImage& out);
bool DecodePng(const uint8_t* data, size_t size, CImage& out);
bool DecodeJpeg(const uint8_t* data, size_t size, CImage& out);
// The top level of a plain 2D surface: uncompressed (16, 24 or 32 bits with
// masks, luminance, alpha) or DXT1 to DXT5.
bool DecodeDds(const uint8_t* data, size_t size, CImage& out);
