#include "scriptio/UnitMyINIFile.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr std::u16string_view kUnicodeSuffix = u"_unicode";

bool IsBlank(char16_t c) { return c <= u' '; }

// The quote rules name a space; any blank counts here, since every blank at
// the ends of a line is trimmed on reading (a value "\tx" written in quotes
// would otherwise come back with them).
// True when `text`, after `skip` further quotes, begins with a quote and a blank.
bool QuoteThenBlank(std::u16string_view text, size_t skip) {
  if (text.size() < skip + 2) return false;
  for (size_t i = 0; i <= skip; ++i) {
    if (text[i] != u'"') return false;
  }
  return IsBlank(text[skip + 1]);
}

// True when `text` ends with a blank, a quote and `skip` further quotes.
bool BlankThenQuote(std::u16string_view text, size_t skip) {
  if (text.size() < skip + 2) return false;
  for (size_t i = 0; i <= skip; ++i) {
    if (text[text.size() - 1 - i] != u'"') return false;
  }
  return IsBlank(text[text.size() - skip - 2]);
}

std::u16string Lower(std::u16string_view name) { return LowerCase(name); }

std::u16string Stored(std::u16string_view key) {
  std::u16string name(key);
  name += kUnicodeSuffix;
  return name;
}

// --- decoding ----------------------------------------------------------------

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  // A lone last byte of a truncated file is dropped; lone surrogates are kept
  // as the code units they are.
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return text;
}

// Without a byte-order mark: UTF-16 when, in the first few kilobytes, at least
// half of the code units have a zero byte on one side and few on the other
// (INI text is mostly brackets, names and "=", all below U+0100).
bool LooksLikeUtf16(std::string_view bytes, bool bigEndian) {
  const size_t pairs = std::min<size_t>(bytes.size(), 4096) / 2;
  if (pairs == 0) return false;
  size_t highZeros = 0, lowZeros = 0;
  for (size_t i = 0; i < pairs; ++i) {
    const char first = bytes[2 * i], second = bytes[2 * i + 1];
    const char high = bigEndian ? first : second, low = bigEndian ? second : first;
    if (high == 0) ++highZeros;
    if (low == 0) ++lowZeros;
  }
  return highZeros * 2 >= pairs && lowZeros * 4 < highZeros;
}

}  // namespace

// --- value rules ---------------------------------------------------------------

std::u16string QuoteIniValue(std::u16string_view value) {
  std::u16string line(value);
  std::replace_if(line.begin(), line.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; },
                  u' ');
  const bool quote = !line.empty() && (IsBlank(line.front()) || IsBlank(line.back()) ||
                                       QuoteThenBlank(line, 0) || BlankThenQuote(line, 0));
  return quote ? u"\"" + line + u"\"" : line;
}

std::u16string UnquoteIniValue(std::u16string_view stored) {
  if (stored.size() >= 2 && stored.front() == u'"' && stored.back() == u'"' &&
      (QuoteThenBlank(stored, 0) || QuoteThenBlank(stored, 1) || BlankThenQuote(stored, 0) ||
       BlankThenQuote(stored, 1))) {
    return std::u16string(stored.substr(1, stored.size() - 2));
  }
  return std::u16string(stored);
}

std::u16string UnquotePlainIniValue(std::u16string_view stored) {
  if (stored.size() >= 2 && stored.front() == stored.back() &&
      (stored.front() == u'"' || stored.front() == u'\'')) {
    return std::u16string(stored.substr(1, stored.size() - 2));
  }
  return std::u16string(stored);
}

bool ParseIniInteger(std::u16string_view text, int& value) {
  long long result = 0;
  size_t i = 0;
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16, i = 2;
  } else if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) {
    negative = text[0] == u'-', i = 1;
  }
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    const int digit = DigitValue(c, base);
    if (digit < 0) return false;
    result = result * base + digit;
    // Hexadecimal values cover the unsigned range and wrap, so "0xFF000008"
    // reads as the negative colour value it was written from.
    const long long limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    if (result > limit) return false;
  }
  if (base == 16) {
    value = static_cast<int>(static_cast<uint32_t>(result));
  } else {
    value = static_cast<int>(negative ? -result : result);
  }
  return true;
}

// --- file binding ----------------------------------------------------------------

TStatus TMyINIFile::Open(TFileSystem& fs, std::u16string path) {
  Clear();
  fs_ = &fs;
  fileName_ = std::move(path);
  modified_ = false;
  if (!fs.Exists(fileName_)) return TStatus::Ok();
  TFileInfo info;
  TStatus status = fs.GetFileInfo(fileName_, info);
  if (status.ok() && info.isFolder) {
    status = TStatus::Error(21 /* EISDIR */, fileName_, u"Is a directory");
  } else if (status.ok() && info.size > kMaxFileSize) {
    status = TStatus::Error(27 /* EFBIG */, fileName_, u"File too large");
  }
  std::string bytes;
  if (status.ok()) status = fs.ReadWholeFile(fileName_, bytes);
  if (!status.ok()) return status;
  LoadFromBytes(bytes);
  modified_ = false;
  return TStatus::Ok();
}

void TMyINIFile::Create(TFileSystem& fs, std::u16string path) {
  Clear();
  fs_ = &fs;
  fileName_ = std::move(path);
  modified_ = true;
}

TStatus TMyINIFile::UpdateFile() {
  if (fs_ == nullptr) return TStatus::Error(-1, fileName_, u"The store is not bound to a file");
  if (!modified_) return TStatus::Ok();
  TStatus status = fs_->ReplaceFileAtomically(fileName_, SaveToBytes());
  if (!status.ok()) {
    if (status.file().empty()) return TStatus::Error(status.code(), fileName_, status.reason());
    return status;
  }
  modified_ = false;
  return TStatus::Ok();
}

// --- bytes and text ----------------------------------------------------------------

void TMyINIFile::LoadFromBytes(std::string_view bytes) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  std::u16string text;
  if (bytes.size() >= 2 && b(0) == 0xFF && b(1) == 0xFE) {
    encoding_ = TIniEncoding::Utf16LE;
    text = DecodeUtf16(bytes.substr(2), false);
  } else if (bytes.size() >= 2 && b(0) == 0xFE && b(1) == 0xFF) {
    encoding_ = TIniEncoding::Utf16BE;
    text = DecodeUtf16(bytes.substr(2), true);
  } else if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
    encoding_ = TIniEncoding::Utf8;
    text = Utf8ToUtf16(bytes.substr(3));
  } else if (LooksLikeUtf16(bytes, false)) {
    encoding_ = TIniEncoding::Utf16LE;
    text = DecodeUtf16(bytes, false);
  } else if (LooksLikeUtf16(bytes, true)) {
    encoding_ = TIniEncoding::Utf16BE;
    text = DecodeUtf16(bytes, true);
  } else if (IsValidUtf8(bytes)) {
    encoding_ = TIniEncoding::Utf8;
    text = Utf8ToUtf16(bytes);
  } else {
    encoding_ = TIniEncoding::Windows1252;
    text = Windows1252ToUtf16(bytes);
  }
  LoadFromText(text);
}

void TMyINIFile::LoadFromText(std::u16string_view text) {
  Clear();
  modified_ = true;
  TSection* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string line = Trim(text.substr(start, end - start));
    // CR LF, LF and a lone CR all end a line.
    start = end + (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
      // A repeated section continues the first one of that name.
      const std::u16string name = Trim(std::u16string_view(line).substr(1, line.size() - 2));
      current = FindSection(name);
      if (current == nullptr) current = AddSection(name);
      continue;
    }
    AddLine(current, line);
  }
}

void TMyINIFile::AddLine(TSection* section, std::u16string_view line) {
  // Lines before the first section and lines without "=" hold no value.
  const size_t eq = line.find(u'=');
  if (section == nullptr || eq == std::u16string_view::npos) return;
  std::u16string name = Trim(line.substr(0, eq));
  if (name.empty()) return;
  // The first of two equal keys is the one read; the later one is dropped.
  std::u16string lower = Lower(name);
  if (section->index.count(lower) != 0) return;
  section->index.emplace(std::move(lower), section->keys.size());
  section->keys.push_back({std::move(name), Trim(line.substr(eq + 1))});
}

std::string TMyINIFile::SaveToBytes() const {
  std::u16string text;
  for (const TSection& section : sections_) {
    text += u"[" + section.name + u"]\r\n";
    for (const TKeyLine& key : section.keys) text += key.name + u"=" + key.raw + u"\r\n";
    text += u"\r\n";
  }
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + 2 * text.size());
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// --- lookups ----------------------------------------------------------------------

TMyINIFile::TSection* TMyINIFile::AddSection(std::u16string_view name) {
  sectionIndex_.emplace(Lower(name), sections_.size());
  sections_.push_back(TSection{std::u16string(name), {}, {}});
  return &sections_.back();
}

const TMyINIFile::TSection* TMyINIFile::FindSection(std::u16string_view name) const {
  const auto it = sectionIndex_.find(Lower(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TMyINIFile::TSection* TMyINIFile::FindSection(std::u16string_view name) {
  const auto it = sectionIndex_.find(Lower(name));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const TMyINIFile::TKeyLine* TMyINIFile::FindKey(const TSection& section,
                                                std::u16string_view storedName) {
  const auto it = section.index.find(Lower(storedName));
  return it == section.index.end() ? nullptr : &section.keys[it->second];
}

void TMyINIFile::RebuildIndex(TSection& section) {
  section.index.clear();
  for (size_t i = 0; i < section.keys.size(); ++i) section.index.emplace(Lower(section.keys[i].name), i);
}

// --- values -----------------------------------------------------------------------

std::u16string TMyINIFile::ReadString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view def) const {
  const TSection* found = FindSection(section);
  if (found == nullptr) return std::u16string(def);
  if (const TKeyLine* line = FindKey(*found, Stored(key))) return UnquoteIniValue(line->raw);
  if (const TKeyLine* line = FindKey(*found, key)) return UnquotePlainIniValue(line->raw);
  return std::u16string(def);
}

int TMyINIFile::ReadInteger(std::u16string_view section, std::u16string_view key, int def) const {
  int value = 0;
  return ParseIniInteger(ReadString(section, key, u""), value) ? value : def;
}

bool TMyINIFile::ReadBool(std::u16string_view section, std::u16string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMyINIFile::WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
  TSection* found = FindSection(section);
  if (found == nullptr) found = AddSection(section);
  const std::u16string name = Stored(key);
  std::u16string raw = QuoteIniValue(value);
  const auto it = found->index.find(Lower(name));
  if (it != found->index.end()) {
    found->keys[it->second].raw = std::move(raw);
  } else {
    found->index.emplace(Lower(name), found->keys.size());
    found->keys.push_back({name, std::move(raw)});
  }
  modified_ = true;
}

void TMyINIFile::WriteInteger(std::u16string_view section, std::u16string_view key, int value) {
  WriteString(section, key, IntToStr(value));
}

void TMyINIFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

void TMyINIFile::WritePlainString(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view value) {
  TSection* found = FindSection(section);
  if (found == nullptr) found = AddSection(section);
  std::u16string raw(value);
  std::replace_if(raw.begin(), raw.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
  const std::u16string name(key);
  const auto it = found->index.find(Lower(name));
  if (it != found->index.end()) {
    found->keys[it->second].raw = std::move(raw);
  } else {
    found->index.emplace(Lower(name), found->keys.size());
    found->keys.push_back({name, std::move(raw)});
  }
  modified_ = true;
}

bool TMyINIFile::SectionExists(std::u16string_view section) const {
  return FindSection(section) != nullptr;
}

bool TMyINIFile::ValueExists(std::u16string_view section, std::u16string_view key) const {
  const TSection* found = FindSection(section);
  return found != nullptr && (FindKey(*found, Stored(key)) != nullptr || FindKey(*found, key) != nullptr);
}

void TMyINIFile::DeleteKey(std::u16string_view section, std::u16string_view key) {
  TSection* found = FindSection(section);
  if (found == nullptr) return;
  const std::u16string stored = Lower(Stored(key)), plain = Lower(key);
  const auto before = found->keys.size();
  std::erase_if(found->keys, [&](const TKeyLine& line) {
    const std::u16string lower = Lower(line.name);
    return lower == stored || lower == plain;
  });
  if (found->keys.size() == before) return;
  RebuildIndex(*found);
  modified_ = true;
}

void TMyINIFile::EraseSection(std::u16string_view section) {
  const auto it = sectionIndex_.find(Lower(section));
  if (it == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
  sectionIndex_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(Lower(sections_[i].name), i);
  modified_ = true;
}

std::vector<std::u16string> TMyINIFile::ReadSections() const {
  std::vector<std::u16string> names;
  for (const TSection& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::u16string> TMyINIFile::ReadSection(std::u16string_view section) const {
  std::vector<std::u16string> names;
  const TSection* found = FindSection(section);
  if (found == nullptr) return names;
  std::unordered_set<std::u16string> seen;
  for (const TKeyLine& line : found->keys) {
    std::u16string name = line.name;
    if (name.size() > kUnicodeSuffix.size() && SameTextIgnoringCase(
            std::u16string_view(name).substr(name.size() - kUnicodeSuffix.size()), kUnicodeSuffix)) {
      name.resize(name.size() - kUnicodeSuffix.size());
    }
    if (seen.insert(Lower(name)).second) names.push_back(std::move(name));
  }
  return names;
}

void TMyINIFile::Clear() {
  if (!sections_.empty()) modified_ = true;
  sections_.clear();
  sectionIndex_.clear();
}
