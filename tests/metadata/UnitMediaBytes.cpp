#include "UnitMediaBytes.h"

#include <algorithm>

#include "platform/UnitText.h"

namespace {

// Byte `i` of `value`, counted from the least significant; 0 beyond 8 bytes.
char ByteOf(uint64_t value, int i) { return i < 8 ? static_cast<char>((value >> (8 * i)) & 0xFF) : 0; }

}  // namespace

void PutBig(std::string& bytes, uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) bytes += ByteOf(value, i);
}

void PutLittle(std::string& bytes, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes += ByteOf(value, i);
}

std::string Big(uint64_t value, int width) {
  std::string out;
  PutBig(out, value, width);
  return out;
}

std::string Little(uint64_t value, int width) {
  std::string out;
  PutLittle(out, value, width);
  return out;
}

std::string JpegSegment(uint8_t marker, const std::string& payload) {
  std::string out = "\xFF";
  out += static_cast<char>(marker);
  PutBig(out, payload.size() + 2, 2);
  return out + payload;
}

std::string JpegFile(const std::string& segments) {
  return "\xFF\xD8" + segments + JpegSegment(0xDA, std::string(10, '\0')) + "\xFF\xD9";
}

std::string TExifBuilder::Number(uint64_t value, int width) const {
  return little_ ? Little(value, width) : Big(value, width);
}

TExifBuilder& TExifBuilder::Entry(uint16_t tag, uint16_t type, uint32_t count,
                                  const std::string& value) {
  entries_.push_back({tag, type, count, value, false, 0, {}});
  return *this;
}

TExifBuilder& TExifBuilder::Ascii(uint16_t tag, const std::string& text) {
  return Entry(tag, 2, static_cast<uint32_t>(text.size() + 1), text + '\0');
}

TExifBuilder& TExifBuilder::Short(uint16_t tag, uint16_t value) {
  return Entry(tag, 3, 1, Number(value, 2));
}

TExifBuilder& TExifBuilder::Long(uint16_t tag, uint32_t value) {
  return Entry(tag, 4, 1, Number(value, 4));
}

TExifBuilder& TExifBuilder::Rational(uint16_t tag, uint32_t numerator, uint32_t denominator) {
  return Entry(tag, 5, 1, Number(numerator, 4) + Number(denominator, 4));
}

TExifBuilder& TExifBuilder::Raw(uint16_t tag, uint16_t type, uint32_t count, uint32_t raw) {
  entries_.push_back({tag, type, count, {}, true, raw, {}});
  return *this;
}

TExifBuilder& TExifBuilder::Sub(uint16_t tag, const TExifBuilder& sub) {
  entries_.push_back({tag, 4, 1, {}, false, 0, {sub}});
  return *this;
}

std::string TExifBuilder::Ifd(uint32_t at, uint32_t next) const {
  const uint32_t dataAt = static_cast<uint32_t>(at + 2 + 12 * entries_.size() + 4);
  std::string data;
  std::vector<uint32_t> values;
  for (const TEntry& e : entries_) {
    values.push_back(e.raw ? e.rawValue : 0);
    if (!e.raw && e.sub.empty() && e.value.size() > 4) {
      values.back() = static_cast<uint32_t>(dataAt + data.size());
      data += e.value;
    }
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].sub.empty()) continue;
    values[i] = static_cast<uint32_t>(dataAt + data.size());
    data += entries_[i].sub.front().Ifd(values[i], 0);
  }
  std::string ifd = Number(entries_.size(), 2);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const TEntry& e = entries_[i];
    ifd += Number(e.tag, 2) + Number(e.type, 2) + Number(e.count, 4);
    if (e.raw || !e.sub.empty() || e.value.size() > 4) {
      ifd += Number(values[i], 4);
    } else {
      ifd += e.value + std::string(4 - e.value.size(), '\0');
    }
  }
  return ifd + Number(next, 4) + data;
}

std::string TExifBuilder::Payload(uint32_t next) const {
  const std::string header = (little_ ? "II" : "MM") + Number(42, 2) + Number(8, 4);
  return std::string("Exif\0\0", 6) + header + Ifd(8, next);
}

namespace {

class TSparseFile : public TRandomAccessFile {
 public:
  TSparseFile(TSparseFileSystem& fs, uint64_t size) : fs_(fs), size_(size) {}
  uint64_t Size() const override { return size_; }
  TStatus Read(uint64_t offset, size_t count, std::string& out) const override {
    fs_.Fill(offset, count, out);
    return TStatus::Ok();
  }

 private:
  TSparseFileSystem& fs_;
  uint64_t size_;
};

}  // namespace

TStatus TSparseFileSystem::OpenForReading(const std::u16string& path,
                                          std::unique_ptr<TRandomAccessFile>& file) {
  if (path != path_) return TFakeFileSystem::OpenForReading(path, file);
  file = std::make_unique<TSparseFile>(*this, size_);
  return TStatus::Ok();
}

void TSparseFileSystem::Fill(uint64_t offset, size_t count, std::string& out) {
  ++reads_;
  out.clear();
  if (offset >= size_) return;
  const uint64_t end = std::min<uint64_t>(size_, offset + count);
  out.assign(static_cast<size_t>(end - offset), '\0');
  bytesRead_ += out.size();
  for (const auto& [at, bytes] : pieces_) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (at + i >= offset && at + i < end) out[static_cast<size_t>(at + i - offset)] = bytes[i];
    }
  }
}

std::string Dump(const TTagList& list) { return Utf16ToUtf8(list.Text()); }
