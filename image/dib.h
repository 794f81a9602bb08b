// The bitmap decoder: one Windows bitmap file (12- or 40-byte header, with or without the
// "BM" file header) becomes a packed red-green-blue picture for the texture set.
#pragma once

#include <cstdint>

// A decoded picture. The record and `pixels` are separate malloc blocks owned by the caller,
// who frees `pixels` first and then the record.
struct RgbImage {
    std::int32_t width;     // pixels per row
    std::int32_t height;    // rows; always positive (a top-down file reports its row count)
    unsigned char* pixels;  // width x height x 3 bytes, red-green-blue, no row padding,
                            // bottom row first (as a bottom-up file stores it)
};

// Failure boxes are shown while this is set; it starts set.
extern bool showDibErrors;

// Maps the file read-only and decodes it. Null after a failure, which has been reported in a
// box (caption "Error", owner the focus window) unless `showDibErrors` is clear.
RgbImage* ReadDibImage(const char* fileName);

// Colour-table entries of a 12-byte (core) or 40-byte (info) header: the colours-used field of
// an info header when it is not 0 (its low 16 bits), otherwise 2, 16 or 256 for 1, 4 or 8 bits
// per pixel and 0 for any other depth. Any header size but 12 is read as an info header, so
// the caller passes at least 40 readable bytes for those. Fields need only 2-byte alignment.
std::uint16_t CountDibColors(const void* header);
