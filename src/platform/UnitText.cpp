#include "platform/UnitText.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <limits>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (>= 0x80) -> U+DC00 + b

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the valid UTF-8 sequence starting at `i`, or 0 when it is not valid.
size_t ValidSequenceLength(std::string_view s, size_t i, char32_t& cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  size_t len;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes, which map
// to the C1 control of the same value as the usual "best fit" does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Applies a per-code-point mapping, keeping the length.
template <typename Map>
std::u16string MapCodePoints(std::u16string_view text, Map map) {
  std::u16string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 &&
        out[i + 1] <= 0xDFFF) {
      const char32_t cp = 0x10000 + ((c - 0xD800) << 10) + (out[i + 1] - 0xDC00);
      const char32_t mapped = static_cast<char32_t>(map(static_cast<UChar32>(cp)));
      if (mapped >= 0x10000) {
        out[i] = static_cast<char16_t>(0xD800 + ((mapped - 0x10000) >> 10));
        out[i + 1] = static_cast<char16_t>(0xDC00 + ((mapped - 0x10000) & 0x3FF));
      }
      ++i;
    } else if (c < 0xD800 || c > 0xDFFF) {
      const UChar32 mapped = map(c);
      if (mapped < 0x10000 && (mapped < 0xD800 || mapped > 0xDFFF)) {
        out[i] = static_cast<char16_t>(mapped);
      }
    }
  }
  return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp = 0;
    const size_t len = ValidSequenceLength(bytes, i, cp);
    if (len == 0) {
      out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      AppendCodePoint(out, cp);
      i += len;
    }
  }
  return out;
}

void AppendUtf16AsUtf8(std::string& out, std::u16string_view text) {
  // Most names are ASCII: their leading ASCII run is copied in one go.
  size_t ascii = 0;
  while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
  const size_t start = out.size();
  out.resize(start + ascii);
  for (size_t i = 0; i < ascii; ++i) out[start + i] = static_cast<char>(text[i]);
  if (ascii == text.size()) return;
  out.reserve(out.size() + (text.size() - ascii) * 3);
  for (size_t i = ascii; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xDC80 && c <= 0xDCFF) {
      out.push_back(static_cast<char>(c - kEscapeBase));
    } else {
      AppendUtf8(out, c);
    }
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf16AsUtf8(out, text);
  return out;
}

size_t Utf8Length(std::u16string_view text) {
  size_t bytes = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      ++bytes;
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      bytes += 4;
      ++i;
    } else if (c >= 0xDC80 && c <= 0xDCFF) {
      ++bytes;
    } else {
      bytes += c < 0x800 ? 2 : 3;
    }
  }
  return bytes;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp = 0;
    const size_t len = ValidSequenceLength(bytes, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) {
      out.push_back(kCp1252High[b - 0x80]);
    } else {
      out.push_back(b);
    }
  }
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == c || (kCp1252High[k] == 0 && c == 0x80 + k)) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
  std::u16string out;
  out.reserve(ascii.size());
  for (const char c : ascii) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string Utf16ToAscii(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

std::u16string LowerCase(std::u16string_view text) {
  // Most names are plain ASCII: fold those without asking ICU.
  std::u16string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c >= 0x80) return MapCodePoints(text, [](UChar32 cp) { return u_tolower(cp); });
    if (c >= u'A' && c <= u'Z') out[i] = static_cast<char16_t>(c + 32);
  }
  return out;
}

std::u16string UpperCase(std::u16string_view text) {
  // Plain ASCII is mapped without asking ICU, as LowerCase does.
  std::u16string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c >= 0x80) return MapCodePoints(text, [](UChar32 cp) { return u_toupper(cp); });
    if (c >= u'a' && c <= u'z') out[i] = static_cast<char16_t>(c - 32);
  }
  return out;
}

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const UChar32 mapped = u_tolower(c);
  return (mapped < 0x10000 && (mapped < 0xD800 || mapped > 0xDFFF)) ? static_cast<char16_t>(mapped)
                                                                    : c;
}

std::u16string AsciiLowerCase(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return out;
}

std::u16string AsciiUpperCase(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  return out;
}

bool SameAsciiTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const auto lower = [](char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&lower](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}

namespace {

// Whether `text` at `pos` holds `lowerNeedle` ignoring case, comparing one code
// unit at a time (the needles searched this way are variable names and
// environment pieces, so surrogate pairs only need to be equal).
bool LowerEqualAt(std::u16string_view text, size_t pos, std::u16string_view lowerNeedle) {
  if (text.size() - pos < lowerNeedle.size()) return false;
  for (size_t k = 0; k < lowerNeedle.size(); ++k) {
    if (LowerChar(text[pos + k]) != lowerNeedle[k]) return false;
  }
  return true;
}

size_t FindLowerNeedle(std::u16string_view haystack, std::u16string_view lowerNeedle, size_t from) {
  if (from > haystack.size()) return std::u16string_view::npos;
  if (lowerNeedle.empty()) return from;
  for (size_t i = from; i + lowerNeedle.size() <= haystack.size(); ++i) {
    if (LowerEqualAt(haystack, i, lowerNeedle)) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace

size_t FindIgnoringCase(std::u16string_view haystack, std::u16string_view needle, size_t from) {
  return FindLowerNeedle(haystack, LowerCase(needle), from);
}

std::u16string ReplaceAllIgnoringCase(std::u16string_view text, std::u16string_view what,
                                      std::u16string_view with) {
  if (what.empty()) return std::u16string(text);
  const std::u16string lowerWhat = LowerCase(what);
  std::u16string out;
  out.reserve(text.size() + with.size());
  size_t pos = 0;
  while (true) {
    const size_t hit = FindLowerNeedle(text, lowerWhat, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(with);
    pos = hit + what.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view what,
                          std::u16string_view with) {
  if (what.empty()) return std::u16string(text);
  std::u16string out;
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(what, pos);
    if (hit == std::u16string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(with);
    pos = hit + what.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::u16string Trim(std::u16string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && text[b] <= u' ') ++b;
  while (e > b && text[e - 1] <= u' ') --e;
  return std::u16string(text.substr(b, e - b));
}

int DigitValue(char16_t c, int base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool TryStrToInt64(std::u16string_view text, long long& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && text[i] == u'$') {
    base = 16, ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16, i += 2;
  }
  if (i >= text.size()) return false;
  unsigned long long acc = 0;
  const unsigned long long limit =
      negative ? 1ULL + static_cast<unsigned long long>(std::numeric_limits<long long>::max())
               : static_cast<unsigned long long>(std::numeric_limits<long long>::max());
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    const int digit = DigitValue(c, base);
    if (digit < 0) return false;
    if (acc > (limit - static_cast<unsigned long long>(digit)) / static_cast<unsigned>(base)) {
      return false;
    }
    acc = acc * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  value = negative ? static_cast<long long>(0 - acc) : static_cast<long long>(acc);
  return true;
}

bool TryStrToInt(std::u16string_view text, int& value) {
  long long wide = 0;
  if (!TryStrToInt64(text, wide) || wide < std::numeric_limits<int>::min() ||
      wide > std::numeric_limits<int>::max()) {
    return false;
  }
  value = static_cast<int>(wide);
  return true;
}

std::u16string IntToStr(long long value) { return AsciiToUtf16(std::to_string(value)); }

char16_t AsciiBestFit(char32_t c) {
  if (c < 0x80) return static_cast<char16_t>(c);
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return u'?';
  UErrorCode error = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&error);
  UChar decomposed[32];
  const int32_t length =
      U_FAILURE(error) ? -1
                       : unorm2_getDecomposition(nfd, static_cast<UChar32>(c), decomposed,
                                                 32, &error);
  if (U_FAILURE(error) || length <= 0 || length > 32) return u'?';
  char16_t result = u'?';
  int kept = 0;
  for (int32_t i = 0; i < length;) {
    UChar32 cp = decomposed[i++];
    if (cp >= 0xD800 && cp <= 0xDBFF && i < length && decomposed[i] >= 0xDC00 &&
        decomposed[i] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (decomposed[i++] - 0xDC00);
    }
    const int8_t type = u_charType(cp);
    if (type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK ||
        type == U_ENCLOSING_MARK) {
      continue;
    }
    if (cp >= 0x80 || ++kept > 1) return u'?';
    result = static_cast<char16_t>(cp);
  }
  return kept == 1 ? result : u'?';
}
