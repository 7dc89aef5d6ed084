#include "config/UnitPlainIniFile.h"

#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"

namespace {

constexpr size_t npos = std::u16string::npos;

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

bool HasEnclosingQuotes(std::u16string_view value) {
  return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

std::u16string Unquote(std::u16string value) {
  if (HasEnclosingQuotes(value)) return value.substr(1, value.size() - 2);
  return value;
}

bool IsSectionLine(std::u16string_view trimmed) { return !trimmed.empty() && trimmed[0] == u'['; }

std::u16string SectionNameOf(std::u16string_view trimmed) {
  const size_t close = trimmed.find(u']');
  return Trim(trimmed.substr(1, close == npos ? npos : close - 1));
}

// Splits a key line into trimmed key and value; false for other lines.
bool SplitKeyLine(std::u16string_view line, std::u16string& key, std::u16string& value) {
  const std::u16string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == u';' || trimmed[0] == u'[') return false;
  const size_t eq = trimmed.find(u'=');
  if (eq == npos) return false;
  key = Trim(std::u16string_view(trimmed).substr(0, eq));
  value = Trim(std::u16string_view(trimmed).substr(eq + 1));
  return !key.empty();
}

std::u16string OneLine(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  return out;
}

// A value that reads back exactly as it was written.
std::u16string ProtectValue(std::u16string_view value) {
  std::u16string out = OneLine(value);
  if (Trim(out) != out || HasEnclosingQuotes(out)) return u"\"" + out + u"\"";
  return out;
}

}  // namespace

std::u16string DecodePlainText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return IsValidUtf8(bytes) ? Utf8ToUtf16(bytes) : Windows1252ToUtf16(bytes);
}

TPlainIniFile TPlainIniFile::FromBytes(std::string_view bytes) {
  TPlainIniFile ini;
  const std::u16string text = DecodePlainText(bytes);
  size_t start = 0;
  bool lineEndKnown = false;
  while (start < text.size()) {
    size_t stop = start;
    while (stop < text.size() && text[stop] != u'\r' && text[stop] != u'\n') ++stop;
    ini.lines_.push_back({text.substr(start, stop - start)});
    const bool crlf = stop + 1 < text.size() && text[stop] == u'\r' && text[stop + 1] == u'\n';
    if (!lineEndKnown && stop < text.size()) {
      ini.lineEnd_ = crlf ? "\r\n" : (text[stop] == u'\r' ? "\r" : "\n");
      lineEndKnown = true;
    }
    start = stop + (crlf ? 2 : 1);
  }
  ini.Index();
  return ini;
}

std::string TPlainIniFile::ToBytes() const {
  std::string out;
  for (const TLine& line : lines_) {
    out += Utf16ToUtf8(line.text);
    out += lineEnd_;
  }
  return out;
}

void TPlainIniFile::Index() {
  sections_.clear();
  firstSection_.clear();
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::u16string trimmed = Trim(lines_[i].text);
    if (!IsSectionLine(trimmed)) continue;
    if (!sections_.empty()) sections_.back().end = i;
    sections_.push_back({SectionNameOf(trimmed), i, lines_.size()});
    firstSection_.emplace(LowerCase(sections_.back().name), sections_.size() - 1);
  }
}

// Inserts a key line inside the section that ends at `at` (or the last one).
void TPlainIniFile::InsertLine(size_t at, std::u16string text) {
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), TLine{std::move(text)});
  for (TSection& s : sections_) {
    if (s.header >= at) ++s.header;
    if (s.end >= at) ++s.end;
  }
}

const TPlainIniFile::TSection* TPlainIniFile::FindSection(std::u16string_view section) const {
  const auto it = firstSection_.find(LowerCase(section));
  return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

size_t TPlainIniFile::FindKey(const TSection& s, std::u16string_view key) const {
  std::u16string k, v;
  for (size_t i = s.header + 1; i < s.end; ++i) {
    if (SplitKeyLine(lines_[i].text, k, v) && SameTextIgnoringCase(k, key)) return i;
  }
  return npos;
}

bool TPlainIniFile::HasSection(std::u16string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::u16string> TPlainIniFile::SectionNames() const {
  std::vector<std::u16string> names;
  for (const TSection& s : sections_) {
    if (FindSection(s.name) == &s) names.push_back(s.name);
  }
  return names;
}

std::vector<TPlainIniValue> TPlainIniFile::SectionValues(std::u16string_view section) const {
  std::vector<TPlainIniValue> values;
  const TSection* s = FindSection(section);
  if (s == nullptr) return values;
  std::u16string k, v;
  for (size_t i = s->header + 1; i < s->end; ++i) {
    if (SplitKeyLine(lines_[i].text, k, v)) values.push_back({k, Unquote(v)});
  }
  return values;
}

std::u16string TPlainIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                         std::u16string_view defaultValue) const {
  const TSection* s = FindSection(section);
  const size_t line = s == nullptr ? npos : FindKey(*s, key);
  if (line == npos) return std::u16string(defaultValue);
  std::u16string k, v;
  SplitKeyLine(lines_[line].text, k, v);
  return Unquote(v);
}

int TPlainIniFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                               int defaultValue) const {
  int value = 0;
  return TryStrToInt(ReadString(section, key, u""), value) ? value : defaultValue;
}

void TPlainIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                                std::u16string_view value) {
  std::u16string line = OneLine(Trim(key)) + u"=" + ProtectValue(value);
  const TSection* s = FindSection(section);
  if (s == nullptr) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back({u""});
    const std::u16string header = u"[" + Trim(OneLine(section)) + u"]";
    lines_.push_back({header});
    lines_.push_back({std::move(line)});
    sections_.push_back({SectionNameOf(header), lines_.size() - 2, lines_.size()});
    firstSection_.emplace(LowerCase(sections_.back().name), sections_.size() - 1);
  } else if (const size_t at = FindKey(*s, key); at != npos) {
    lines_[at].text = std::move(line);
  } else {
    size_t atEnd = s->end;
    while (atEnd > s->header + 1 && Trim(lines_[atEnd - 1].text).empty()) --atEnd;
    InsertLine(atEnd, std::move(line));
  }
}

void TPlainIniFile::WriteInteger(std::u16string_view section, std::u16string_view key, int value) {
  WriteString(section, key, IntToStr(value));
}

TStatus LoadPlainIniFile(TFileSystem& fs, const std::u16string& path, TPlainIniFile& ini,
                         bool& existed) {
  ini = TPlainIniFile();
  existed = fs.Exists(path);
  if (!existed) return TStatus::Ok();
  std::string bytes;
  if (TStatus st = fs.ReadWholeFile(path, bytes); !st.ok()) return st;
  ini = TPlainIniFile::FromBytes(bytes);
  return TStatus::Ok();
}

TStatus SavePlainIniFile(TFileSystem& fs, const std::u16string& path, const TPlainIniFile& ini) {
  return fs.ReplaceFileAtomically(path, ini.ToBytes());
}
