#pragma once
#include "platform/image/Image.h"

// The number of levels of a full mip chain down to 1 × 1.
int FullMipCount(int width, int height);

// The next mip level: each texel the mean of the 2 × 2 (or 2 × 1 at an odd
// edge) block it covers; sides halve and stop at 1.
bool BuildMipLevel(const CImage& source, CImage& out);

// Resamples to the given size with bilinear filtering, or the nearest texel
// (same size copies).
bool ResizeImage(const CImage& source, int width, int height, CImage& out, bool nearest = false);
