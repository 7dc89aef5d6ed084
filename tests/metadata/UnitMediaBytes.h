// Helpers for the metadata tests: building media bytes by hand, and a file
// system whose one file is large and mostly zeros, that counts what was read.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "metadata/UnitTagList.h"
#include "platform/UnitFileSystem.h"
#include "support/UnitFakeFileSystem.h"

// Appends `value` as `width` bytes, most or least significant first.
void PutBig(std::string& bytes, uint64_t value, int width);
void PutLittle(std::string& bytes, uint64_t value, int width);
std::string Big(uint64_t value, int width);
std::string Little(uint64_t value, int width);

// A JPEG file: SOI, the given segments, then SOS and EOI.
std::string JpegFile(const std::string& segments);
// One segment: 0xFF, the marker, the length, the payload.
std::string JpegSegment(uint8_t marker, const std::string& payload);

// Builds the APP1 payload of an EXIF block: "Exif\0\0", the TIFF header and
// IFD0 at TIFF offset 8, in either byte order. Values longer than 4 bytes go
// to a data area after the IFD.
class TExifBuilder {
 public:
  explicit TExifBuilder(bool littleEndian) : little_(littleEndian) {}
  // An entry whose value bytes (already in this builder's byte order) are `value`.
  TExifBuilder& Entry(uint16_t tag, uint16_t type, uint32_t count, const std::string& value);
  TExifBuilder& Ascii(uint16_t tag, const std::string& text);            // type 2, zero added
  TExifBuilder& Short(uint16_t tag, uint16_t value);                      // type 3
  TExifBuilder& Long(uint16_t tag, uint32_t value);                       // type 4
  TExifBuilder& Rational(uint16_t tag, uint32_t numerator, uint32_t denominator);  // type 5
  // An entry whose 4-byte value field is `raw` as it stands (offsets, odd types).
  TExifBuilder& Raw(uint16_t tag, uint16_t type, uint32_t count, uint32_t raw);
  // An entry (type long) pointing at the IFD `sub`, laid out after this one.
  TExifBuilder& Sub(uint16_t tag, const TExifBuilder& sub);
  std::string Number(uint64_t value, int width) const;
  // The payload: "Exif\0\0", the TIFF header, IFD0 with the entries at TIFF
  // offset 8 (next-IFD offset `next`), then the values and sub-IFDs.
  std::string Payload(uint32_t next = 0) const;

 private:
  struct TEntry {
    uint16_t tag, type;
    uint32_t count;
    std::string value;  // inline when <= 4 bytes
    bool raw;
    uint32_t rawValue;
    std::vector<TExifBuilder> sub;  // one IFD for Sub entries
  };
  // This IFD laid out at TIFF offset `at`, followed by its data.
  std::string Ifd(uint32_t at, uint32_t next) const;

  bool little_;
  std::vector<TEntry> entries_;
};

// A fake file system whose file `path` has `size` bytes, zeros except for
// the pieces set with Put; every read of it is counted.
class TSparseFileSystem : public TFakeFileSystem {
 public:
  TSparseFileSystem(std::u16string path, uint64_t size) : path_(std::move(path)), size_(size) {}
  void Put(uint64_t offset, const std::string& bytes) { pieces_[offset] = bytes; }
  uint64_t BytesRead() const { return bytesRead_; }
  int Reads() const { return reads_; }

  TStatus OpenForReading(const std::u16string& path,
                         std::unique_ptr<TRandomAccessFile>& file) override;

  // Called by the file: fills `out` with [offset, offset + count).
  void Fill(uint64_t offset, size_t count, std::string& out);

 private:
  std::u16string path_;
  uint64_t size_;
  std::map<uint64_t, std::string> pieces_;
  uint64_t bytesRead_ = 0;
  int reads_ = 0;
};

// "name=value" lines of a list, for failure messages.
std::string Dump(const TTagList& list);
