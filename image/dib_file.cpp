// ReadDibImage: the file mapped read-only as one byte range (never read into a buffer), decoded
// in place by the core, every failure reported in a box, the view released on every path.
#include "image/dib_file.h"

#include <cstdio>

#include "platform/common/file_view.h"
#include "platform/win32.h"

bool showDibErrors = true;

namespace {

void ShowDibError(const char* text) {
    if (showDibErrors) MessageBoxA(GetFocus(), text, "Error", MB_OK);
}

void ReportDibFailure(DibFailure failure) { ShowDibError(DibFailureText(failure)); }

}  // namespace

RgbImage* ReadDibImage(const char* fileName) {
    RgbImage* image = nullptr;
    bool mapped = false;
    {
        const platform::FileView file(fileName);
        mapped = file.Data() != nullptr;
        if (mapped) image = DecodeDib(file.Data(), file.Size(), ReportDibFailure).image;
    }
    if (!mapped) {
        // A long name is cut to fit; the text never overflows the buffer.
        char text[256];
        std::snprintf(text, sizeof text, "Failed to open DIB file %s.\n", fileName != nullptr ? fileName : "");
        ShowDibError(text);
    }
    return image;
}
