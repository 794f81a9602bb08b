// The in-memory decoding core behind ReadDibImage: the bytes of a whole bitmap file in, an
// RgbImage or the kind of failure out. It never reads outside the bytes it is given, so the
// fuzz target drives it directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/dib.h"

enum class DibFailure {
    None,
    OutOfMemory,      // a working block, the 24-bit section or the result cannot be had;
                      // also sizes the section cannot be made for (zero, negative, too large)
    UnknownFormat,    // no complete 12- or 40-byte header
    ConversionError,  // the converter refuses the source or its data lies outside the file
};

// The text of the failure's box; null for None.
const char* DibFailureText(DibFailure failure);

// Called once at the point of failure, before the working data is released; may be null.
using DibReport = void (*)(DibFailure failure);

struct DibResult {
    RgbImage* image;  // non-null exactly when failure is None; owned by the caller
    DibFailure failure;
};

// Decodes a bitmap file held in memory (size bytes at data). Pictures are capped at
// kMaxDibSide pixels per side and kMaxDibPixels pixels in all.
DibResult DecodeDib(const unsigned char* data, std::size_t size, DibReport report);

inline constexpr std::int32_t kMaxDibSide = 16384;
// 8192 x 8192. A build may lower it with SHOWCASE_DIB_MAX_PIXELS: the fuzz targets do, so that
// pictures at the cap cost kilobytes instead of hundreds of megabytes per input.
#ifdef SHOWCASE_DIB_MAX_PIXELS
inline constexpr std::int64_t kMaxDibPixels = SHOWCASE_DIB_MAX_PIXELS;
#else
inline constexpr std::int64_t kMaxDibPixels = std::int64_t(1) << 26;
#endif
