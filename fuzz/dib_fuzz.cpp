// libFuzzer target for the bitmap decoding core: any bytes, as if they were a mapped file.
// A result must be an image exactly when no failure is named, with sizes inside the cap, and
// its whole pixel block must be addressable.
#include <cstdint>
#include <cstdlib>

#include "fuzz/dib_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DibResult result = DecodeDib(data, size, nullptr);
    if ((result.image != nullptr) != (result.failure == DibFailure::None)) std::abort();
    if (result.image != nullptr)
        CheckAndFreePicture(result.image);
    else if (DibFailureText(result.failure) == nullptr)
        std::abort();
    return 0;
}
