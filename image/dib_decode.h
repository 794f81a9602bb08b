// The in-memory decoding core behind ReadDibImage: the bytes of a whole Windows bitmap file
// (12- or 40-byte header, with or without the "BM" file header) in, a packed red-green-blue
// RgbImage or the kind of failure out. It never reads outside the bytes it is given, so the
// fuzz target drives it directly.
#pragma once

#include <cstddef>
#include <cstdint>

// A decoded picture. The record and `pixels` are separate malloc blocks owned by the caller,
// who frees `pixels` first and then the record.
struct RgbImage {
    std::int32_t width;     // pixels per row
    std::int32_t height;    // rows; always positive (a top-down file reports its row count)
    unsigned char* pixels;  // width x height x 3 bytes, red-green-blue, no row padding,
                            // bottom row first (as a bottom-up file stores it)
};

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

// Colour-table entries of a 12-byte (core) or 40-byte (info) header: the colours-used field of
// an info header when it is not 0 (its low 16 bits), otherwise 2, 16 or 256 for 1, 4 or 8 bits
// per pixel and 0 for any other depth. Any header size but 12 is read as an info header, so
// the caller passes at least 40 readable bytes for those. Fields need only 2-byte alignment.
std::uint16_t CountDibColors(const void* header);
