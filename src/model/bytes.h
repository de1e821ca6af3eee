#pragma once
// Little-endian field access for the binary images of the project file.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qlp {

inline int32_t readI32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

inline void writeI32(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// UTF-16LE text of a fixed number of characters.
inline void readWide(const uint8_t* p, char16_t* out, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, p, count * 2);
    } else {
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
    }
}

inline void writeWide(uint8_t* p, const char16_t* in, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, in, count * 2);
    } else {
        for (size_t i = 0; i < count; ++i) {
            p[2 * i] = static_cast<uint8_t>(in[i]);
            p[2 * i + 1] = static_cast<uint8_t>(in[i] >> 8);
        }
    }
}

} // namespace qlp
