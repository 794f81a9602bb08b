// Little-endian fields read out of a bitmap file's bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
inline std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}
