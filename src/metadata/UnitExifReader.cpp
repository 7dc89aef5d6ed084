#include "metadata/UnitExifReader.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>
#include <string_view>

#include "metadata/UnitBytes.h"
#include "metadata/UnitExifTags.h"
#include "metadata/UnitJPEGSegment.h"
#include "metadata/UnitTagList.h"
#include "metadata/UnitTagText.h"
#include "platform/UnitText.h"

namespace {

constexpr uint64_t kTiffHeader = 6;  // IFD offsets count from here in the payload
constexpr size_t kMaxIfds = 64;      // IFDs walked per segment, whatever they point at

enum : uint16_t {
  kInterIfd = 1,
  kExposureTime = 33434,
  kExposureTimeToo = 658,
  kFNumber = 33437,
  kExifIfd = 34665,
  kIsoSpeed = 34855,
  kDateTime = 306,
  kDateTimeOriginal = 36867,
  kDateTimeDigitized = 36868,
  kComponents = 37121,
  kMakerNote = 37500,
  kUserComment = 37510,
  kPadding = 59932,
};

// One IFD entry and where its value lies in the payload.
struct TEntry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  uint64_t at = 0;  // payload offset of the value (in the entry when it fits in 4 bytes)
};

int TypeSize(uint16_t type) {
  switch (type) {
    case 3: case 8: return 2;
    case 4: case 9: return 4;
    case 5: case 10: return 8;
    default: return 1;
  }
}

std::u16string Digits(long long value) { return IntToStr(value); }

std::u16string Text(const std::string& bytes) { return TagBytesToText(bytes); }

// The bytes of an ASCII or undefined value up to its first zero byte.
std::string StringValue(const TJPEGSegment& s, const TEntry& e) {
  if (!s.Holds(e.at, e.count)) return {};
  return std::string(UpToZero(std::string_view(s.SegData).substr(e.at, e.count)));
}

// The first number of a value of a numeric type, as text.
std::u16string NumberValue(const TJPEGSegment& s, const TEntry& e) {
  switch (e.type) {
    case 1: return Digits(s.GetDataByte(e.at));
    case 6: return Digits(static_cast<int8_t>(s.GetDataByte(e.at)));
    case 3: return Digits(s.GetDataWord(e.at));
    case 8: return Digits(static_cast<int16_t>(s.GetDataWord(e.at)));
    case 4: return Digits(s.GetDataLongWord(e.at));
    case 9: return Digits(s.GetDataLong(e.at));
    case 5: return RationalText(s.GetDataLongWord(e.at), s.GetDataLongWord(e.at + 4));
    case 10: return RationalText(s.GetDataLong(e.at), s.GetDataLong(e.at + 4));
    default: return {};
  }
}

// "numerator/denominator"; both lose a trailing "0" when both end in one
// ("10/1250" gives "1/125"), which keeps the fraction's value.
std::u16string ExposureText(const TJPEGSegment& s, const TEntry& e) {
  std::u16string numerator = Digits(s.GetDataLongWord(e.at));
  std::u16string denominator = Digits(s.GetDataLongWord(e.at + 4));
  if (numerator.size() > 1 && numerator.back() == u'0' && denominator.back() == u'0') {
    numerator.pop_back();
    denominator.pop_back();
  }
  return numerator + u"/" + denominator;
}

std::u16string FNumberText(const TJPEGSegment& s, const TEntry& e) {
  const uint32_t denominator = s.GetDataLongWord(e.at + 4);
  if (denominator == 0) return u"0.0";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f",
                static_cast<double>(s.GetDataLongWord(e.at)) / denominator);
  return AsciiToUtf16(text);
}

// The four bytes of the value in file order as upper-case hexadecimal.
std::u16string ComponentsText(const TJPEGSegment& s, const TEntry& e) {
  const uint64_t count = std::min<uint64_t>(e.count, 4);
  std::u16string out;
  for (uint64_t i = 0; i < count; ++i) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const uint8_t b = s.GetDataByte(e.at + i);
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

// Code units below 0x100 among `bytes` read as UTF-16 in the given order.
size_t LatinUnits(std::string_view bytes, bool littleEndian) {
  size_t count = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const bool highZero = bytes[littleEndian ? i + 1 : i] == '\0';
    const bool lowZero = bytes[littleEndian ? i : i + 1] == '\0';
    if (highZero && lowZero) break;
    if (highZero) ++count;
  }
  return count;
}

// UTF-16 code units up to the first zero one. Writers do not all follow the
// EXIF byte order here, so the other order is taken when it reads more of the
// text as Latin characters. Unpaired surrogates become U+FFFD.
std::u16string Utf16Comment(std::string_view bytes, bool littleEndian) {
  if (LatinUnits(bytes, !littleEndian) > LatinUnits(bytes, littleEndian)) {
    littleEndian = !littleEndian;
  }
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = static_cast<char16_t>(littleEndian ? LittleEndianAt(bytes, i, 2)
                                                         : BigEndianAt(bytes, i, 2));
    if (unit == 0) break;
    text += unit;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      text[i] = u'\uFFFD';
    }
  }
  return text;
}

// The comment after its 8-byte character-code field, up to its first zero
// character (what follows is padding or binary data that no name should
// carry), trailing blanks removed. "UNICODE" comments are UTF-16; any other
// code is taken as bytes.
std::u16string UserCommentText(const TJPEGSegment& s, const TEntry& e) {
  if (e.count < 8 || !s.Holds(e.at, e.count)) return {};
  const std::string_view value = std::string_view(s.SegData).substr(e.at, e.count);
  const std::string_view text = value.substr(8);
  if (value.substr(0, 8) == std::string_view("UNICODE\0", 8)) {
    return TrimTrailingBlanksAndZeros(Utf16Comment(text, s.LittleEndian));
  }
  return TrimTrailingBlanksAndZeros(TagBytesToText(UpToZero(text)));
}

std::u16string PaddedIso(std::u16string value) {
  while (value.size() < 3) value.insert(value.begin(), u'0');
  return value;
}

// The value of one entry as it is stored; nothing for types that are skipped.
std::optional<std::u16string> FormatValue(const TJPEGSegment& s, const TEntry& e) {
  if (e.type < 1 || e.type > 10) return std::nullopt;
  switch (e.tag) {
    case kDateTime: case kDateTimeOriginal: case kDateTimeDigitized:
      return ExifDateText(StringValue(s, e));
    case kExposureTime: case kExposureTimeToo: return ExposureText(s, e);
    case kFNumber: return FNumberText(s, e);
    case kIsoSpeed: return PaddedIso(NumberValue(s, e));
    case kComponents: return ComponentsText(s, e);
    case kUserComment: return UserCommentText(s, e);
    case kPadding: return u"BAD MS FORMAT";
    default: break;
  }
  if (e.type == 2 || e.type == 7) return Text(StringValue(s, e));
  return NumberValue(s, e);
}

class TIfdWalk {
 public:
  TIfdWalk(const TJPEGSegment& segment, TTagList& list) : s_(segment), list_(list) {}

  void Walk(uint64_t offset) {
    if (!s_.Holds(offset, 2) || visited_.size() >= kMaxIfds) return;
    if (!visited_.insert(offset).second) return;  // a chain that loops back
    const uint16_t count = s_.GetDataWord(offset);
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t at = offset + 2 + 12 * i;
      if (!s_.Holds(at, 12)) return;
      Entry(at);
    }
  }

 private:
  void Entry(uint64_t at) {
    TEntry e;
    e.tag = s_.GetDataWord(at);
    e.type = s_.GetDataWord(at + 2);
    e.count = s_.GetDataLongWord(at + 4);
    const uint32_t value = s_.GetDataLongWord(at + 8);
    const uint64_t size = uint64_t{e.count} * static_cast<uint64_t>(TypeSize(e.type));
    e.at = size <= 4 ? at + 8 : value + kTiffHeader;
    if (e.tag == kExifIfd || e.tag == kInterIfd) {
      list_.Set(e.tag == kExifIfd ? u"SubIFD" : u"InterIFD", u"-------------");
      Walk(value + kTiffHeader);
      return;
    }
    if (e.tag == kMakerNote) return;
    if (std::optional<std::u16string> text = FormatValue(s_, e)) list_.Set(GetTagName(e.tag), *text);
  }

  const TJPEGSegment& s_;
  TTagList& list_;
  std::set<uint64_t> visited_;
};

bool ReadDigits(const std::string& text, size_t from, size_t count, int& value) {
  value = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::u16string RationalText(double numerator, double denominator) {
  if (denominator == 0) return u"0.0";
  char text[40];
  std::snprintf(text, sizeof text, "%.15G", numerator / denominator);
  std::string out = text;
  // Exponents without "+" and leading zeros: "1E-5", "1E20".
  if (const size_t e = out.find('E'); e != std::string::npos) {
    std::string exponent = out.substr(e + 1);
    const bool negative = exponent[0] == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    out = out.substr(0, e + 1) + (negative ? "-" : "") + (exponent.empty() ? "0" : exponent);
  }
  return AsciiToUtf16(out.substr(0, 4));
}

std::u16string ExifDateText(const std::string& text) {
  int year, month, day, hour, minute, second;
  if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 5, 2, month) ||
      !ReadDigits(text, 8, 2, day) || !ReadDigits(text, 11, 2, hour) ||
      !ReadDigits(text, 14, 2, minute) || !ReadDigits(text, 17, 2, second)) {
    return {};
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 23 || minute > 59 || second > 59) {
    return {};
  }
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return AsciiToUtf16(out);
}

void ReadExif(TJPEGSegment& segment, TTagList& list) {
  segment.SetLittleIndian(std::string_view(segment.SegData).substr(std::min<size_t>(6, segment.SegData.size()), 2) == "II");
  list.Set(u"IFD0", u"----------");
  TIfdWalk walk(segment, list);
  walk.Walk(uint64_t{segment.GetDataLongWord(10)} + kTiffHeader);
  segment.SetLittleIndian(false);
}
