#pragma once
// Compares a picture the program drew with a kept reference picture, so that
// a regression in what the user sees fails a test. Pictures are 8-bit RGB,
// rows top first. The reference is a PNG in the source tree; with
// DESKMATE_UPDATE_REFERENCES=1 in the environment the new picture replaces it
// (scripts/update-references runs the tests that way).
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

struct RgbPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

inline bool WriteRgbPng(const std::string& path, const RgbPicture& p) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(p.width);
    image.height = png_uint_32(p.height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, p.rgb.data(), p.width * 3, nullptr) != 0;
}

inline bool ReadRgbPng(const std::string& path, RgbPicture& out) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    out.width = int(image.width);
    out.height = int(image.height);
    out.rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

struct PictureDifference {
    bool sameSize = false;
    double meanChannelDifference = 0; // 0..255
    double changedShare = 0;          // pixels with a channel off by more than the threshold
};

inline PictureDifference ComparePictures(const RgbPicture& a, const RgbPicture& b, int threshold = 24) {
    PictureDifference d;
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size() || a.rgb.empty())
        return d;
    d.sameSize = true;
    uint64_t sum = 0, changed = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) {
        bool off = false;
        for (int c = 0; c < 3; ++c) {
            int diff = std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c]));
            sum += uint64_t(diff);
            off = off || diff > threshold;
        }
        changed += off;
    }
    d.meanChannelDifference = double(sum) / double(a.rgb.size());
    d.changedShare = double(changed) / double(a.rgb.size() / 3);
    return d;
}

// Half the width and height, each pixel the mean of a 2 x 2 block (an odd
// last row or column is dropped): a small picture to keep as a reference.
inline RgbPicture HalveRgbPicture(const RgbPicture& p) {
    RgbPicture half;
    half.width = p.width / 2;
    half.height = p.height / 2;
    if (half.width <= 0 || half.height <= 0 || p.rgb.size() < size_t(p.width) * size_t(p.height) * 3)
        return RgbPicture();
    half.rgb.resize(size_t(half.width) * size_t(half.height) * 3);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        sum += p.rgb[(size_t(2 * y + dy) * size_t(p.width) + size_t(2 * x + dx)) * 3 + size_t(c)];
                half.rgb[(size_t(y) * size_t(half.width) + size_t(x)) * 3 + size_t(c)] = uint8_t((sum + 2) / 4);
            }
    return half;
}

inline bool UpdatingReferences() {
    const char* v = std::getenv("DESKMATE_UPDATE_REFERENCES");
    return v && *v == '1';
}

// The drawn picture against its kept reference, after rewriting the
// reference when references are being updated. sameSize is false when the
// reference cannot be read.
inline PictureDifference CompareWithKept(const RgbPicture& drawn, const std::string& reference) {
    if (UpdatingReferences() && !WriteRgbPng(reference, drawn))
        return PictureDifference();
    RgbPicture kept;
    if (!ReadRgbPng(reference, kept))
        return PictureDifference();
    return ComparePictures(drawn, kept);
}
