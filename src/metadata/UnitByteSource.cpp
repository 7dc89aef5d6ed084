#include "metadata/UnitByteSource.h"

#include <algorithm>

TByteSource::TByteSource(const TRandomAccessFile& file, uint64_t budget)
    : file_(file), size_(file.Size()), budget_(budget) {}

bool TByteSource::View(uint64_t offset, size_t count, std::string_view& out) {
  out = {};
  if (!Contains(offset, count)) return false;
  if (count == 0) return true;
  const bool inWindow = offset >= windowStart_ && offset - windowStart_ <= window_.size() &&
                        count <= window_.size() - (offset - windowStart_);
  if (!inWindow) {
    const uint64_t want = std::min<uint64_t>(std::max(count, kWindow), size_ - offset);
    if (fetches_ >= kMaxFetches || want > budget_ - std::min(budget_, fetched_)) return false;
    ++fetches_;
    fetched_ += want;
    window_.clear();
    windowStart_ = offset;
    if (!file_.Read(offset, static_cast<size_t>(want), window_).ok() || window_.size() < count) {
      window_.clear();
      return false;
    }
  }
  out = std::string_view(window_).substr(static_cast<size_t>(offset - windowStart_), count);
  return true;
}

bool TByteSource::Read(uint64_t offset, size_t count, std::string& out) {
  std::string_view view;
  const bool ok = View(offset, count, view);
  out.assign(view);
  return ok;
}
