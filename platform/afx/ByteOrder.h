// Little-endian fields of file headers (RIFF/AVI, BMP, EMF), read byte by byte so that neither the
// host's byte order nor the field's alignment matters.
#pragma once

#include <cstdint>

namespace byteorder {

inline uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace byteorder
