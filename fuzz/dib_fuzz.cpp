// libFuzzer target for the bitmap decoding core: any bytes, as if they were a mapped file.
// A result must be an image exactly when no failure is named, with sizes inside the cap, and
// every pixel byte of it is read so the sanitizers see the whole buffer.
#include <cstdint>
#include <cstdlib>

#include "image/dib_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DibResult result = DecodeDib(data, size, nullptr);
    if ((result.image != nullptr) != (result.failure == DibFailure::None)) std::abort();
    if (RgbImage* image = result.image) {
        if (image->width < 1 || image->width > kMaxDibSide || image->height < 1 || image->height > kMaxDibSide)
            std::abort();
        std::size_t bytes = std::size_t(image->width) * std::size_t(image->height) * 3;
        volatile unsigned sum = 0;
        for (std::size_t i = 0; i < bytes; ++i) sum = sum + image->pixels[i];
        std::free(image->pixels);
        std::free(image);
    } else if (DibFailureText(result.failure) == nullptr) {
        std::abort();
    }
    return 0;
}
