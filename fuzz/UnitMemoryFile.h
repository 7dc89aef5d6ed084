// An open file whose bytes are the fuzzer's input, held in memory.
#pragma once

#include <algorithm>
#include <string_view>

#include "platform/UnitFileSystem.h"

class TMemoryFile : public TRandomAccessFile {
 public:
  explicit TMemoryFile(std::string_view bytes) : bytes_(bytes) {}
  uint64_t Size() const override { return bytes_.size(); }
  TStatus Read(uint64_t offset, size_t count, std::string& out) const override {
    out.clear();
    if (offset < bytes_.size()) out.assign(bytes_.substr(static_cast<size_t>(offset), count));
    return TStatus::Ok();
  }

 private:
  std::string_view bytes_;
};

inline std::string_view FuzzBytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
