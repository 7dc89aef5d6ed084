// Bounded, cached reading of one open file for the metadata readers. Small
// reads are served from a window of the file; a budget caps the bytes and
// calls per file, so no reader ever reads a whole large media file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/UnitFileSystem.h"

class TByteSource {
 public:
  static constexpr uint64_t kDefaultBudget = 8u << 20;  // bytes fetched per file
  static constexpr int kMaxFetches = 4096;              // reads from the file per file

  // `file` must outlive the source.
  explicit TByteSource(const TRandomAccessFile& file, uint64_t budget = kDefaultBudget);

  uint64_t Size() const { return size_; }
  // True when `count` bytes at `offset` lie inside the file.
  bool Contains(uint64_t offset, uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  // Exactly `count` bytes at `offset`, valid until the next call. False when
  // they run past the end, a read fails or the budget is spent.
  bool View(uint64_t offset, size_t count, std::string_view& out);
  // As View, copied into `out`.
  bool Read(uint64_t offset, size_t count, std::string& out);

  uint64_t BytesFetched() const { return fetched_; }
  int Fetches() const { return fetches_; }

 private:
  static constexpr size_t kWindow = 4096;  // least bytes fetched by one read

  const TRandomAccessFile& file_;
  uint64_t size_;
  uint64_t budget_;
  uint64_t fetched_ = 0;
  int fetches_ = 0;
  std::string window_;
  uint64_t windowStart_ = 0;
};
