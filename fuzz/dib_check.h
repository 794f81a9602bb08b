// What both fuzz targets hold a decoded picture to: sizes inside the cap, and every byte of its
// pixel block addressable (one whole-block check, so the sanitizer sees the full buffer without
// a byte loop dominating each run). The picture is freed as its owner would.
#pragma once

#include <sanitizer/asan_interface.h>

#include <cstdlib>

#include "image/dib_decode.h"

inline void CheckAndFreePicture(RgbImage* image) {
    if (image->width < 1 || image->width > kMaxDibSide || image->height < 1 || image->height > kMaxDibSide ||
        std::int64_t(image->width) * image->height > kMaxDibPixels)
        std::abort();
    std::size_t bytes = std::size_t(image->width) * std::size_t(image->height) * 3;
    if (__asan_region_is_poisoned(image->pixels, bytes) != nullptr) std::abort();
    std::free(image->pixels);
    std::free(image);
}
