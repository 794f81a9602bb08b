// The bitmap decoder on a file: one Windows bitmap file becomes a packed red-green-blue picture
// for the texture set, every failure reported in a box.
#pragma once

#include "image/dib_decode.h"

// Failure boxes are shown while this is set; it starts set.
extern bool showDibErrors;

// Maps the file read-only and decodes it. Null after a failure, which has been reported in a
// box (caption "Error", owner the focus window) unless `showDibErrors` is clear.
RgbImage* ReadDibImage(const char* fileName);
