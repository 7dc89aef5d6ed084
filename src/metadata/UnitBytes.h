// Integers from byte strings in either byte order, for the metadata readers.
// Every read is bounds-checked: bytes past the end of the data read as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline uint8_t ByteAt(std::string_view data, size_t at) {
  return at < data.size() ? static_cast<uint8_t>(data[at]) : 0;
}

// `width` bytes (at most 8) at `at`, most significant first.
inline uint64_t BigEndianAt(std::string_view data, size_t at, int width) {
  uint64_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | ByteAt(data, at + i);
  return value;
}

// `width` bytes (at most 8) at `at`, least significant first.
inline uint64_t LittleEndianAt(std::string_view data, size_t at, int width) {
  uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | ByteAt(data, at + i);
  return value;
}

inline uint16_t BigEndian16(std::string_view data, size_t at) {
  return static_cast<uint16_t>(BigEndianAt(data, at, 2));
}
inline uint32_t BigEndian32(std::string_view data, size_t at) {
  return static_cast<uint32_t>(BigEndianAt(data, at, 4));
}
inline uint32_t LittleEndian32(std::string_view data, size_t at) {
  return static_cast<uint32_t>(LittleEndianAt(data, at, 4));
}
