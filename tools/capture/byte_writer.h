#pragma once

#include <cstdint>
#include <string>

// Little-endian integers, as BMP and (our) TIFF files store them.
inline void appendLittleEndian16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value));
  out.push_back(static_cast<char>(value >> 8));
}

inline void appendLittleEndian32(std::string& out, uint32_t value) {
  appendLittleEndian16(out, static_cast<uint16_t>(value));
  appendLittleEndian16(out, static_cast<uint16_t>(value >> 16));
}
