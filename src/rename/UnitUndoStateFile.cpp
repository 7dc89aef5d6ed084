#include "rename/UnitUndoStateFile.h"

#include <algorithm>
#include <unordered_set>

#include "platform/UnitText.h"
#include "rename/UnitEscapedName.h"

namespace {

// Characters that would break the line format, and what stands for them.
constexpr char16_t kQuote = u'"';
constexpr char16_t kQuoteStandIn = 0xDC22;
constexpr char16_t kCrStandIn = 0xDC0D;
constexpr char16_t kLfStandIn = 0xDC0A;

char16_t Escaped(char16_t c) {
  switch (c) {
    case kQuote:
      return kQuoteStandIn;
    case u'\r':
      return kCrStandIn;
    case u'\n':
      return kLfStandIn;
    default:
      return c;
  }
}

char16_t Unescaped(char16_t c) {
  switch (c) {
    case kQuoteStandIn:
      return kQuote;
    case kCrStandIn:
      return u'\r';
    case kLfStandIn:
      return u'\n';
    default:
      return c;
  }
}

void AppendUnit(std::string& out, char16_t c) {
  const char bytes[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  out.append(bytes, 2);
}

// `text` as UTF-16LE code units.
void AppendUnits(std::string& out, std::u16string_view text) {
  const size_t start = out.size();
  out.resize(start + text.size() * 2);
  char* at = out.data() + start;
  for (const char16_t c : text) {
    *at++ = static_cast<char>(c & 0xFF);
    *at++ = static_cast<char>(c >> 8);
  }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

bool HasSurrogate(std::u16string_view path) {
  return std::any_of(path.begin(), path.end(), IsSurrogate);
}

void AppendQuotedPath(std::u16string& line, const std::u16string& path) {
  line += kQuote;
  // `path` as its bytes decode: the same text for every name read from disk.
  const std::u16string canonical = HasSurrogate(path) ? Utf8ToUtf16(Utf16ToUtf8(path)) : u"";
  const std::u16string& text = canonical.empty() ? path : canonical;
  const size_t start = line.size();
  line += text;
  for (size_t i = start; i < line.size(); ++i) line[i] = Escaped(line[i]);
  line += kQuote;
}

// The line of `pair` as the state file stores it, without its line end, in
// `line` (which keeps its room from one line to the next).
void StoredLineInto(std::u16string& line, const TRenamePair& pair) {
  line.clear();
  AppendQuotedPath(line, pair.oldName);
  line += u' ';
  AppendQuotedPath(line, pair.newName);
}

// FNV-1a over the code units of a stored line.
uint64_t LineCheck(std::u16string_view line) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  constexpr uint64_t kPrime = 0x100000001b3ULL;
  for (const char16_t c : line) {
    hash = (hash ^ static_cast<uint64_t>(c & 0xFF)) * kPrime;
    hash = (hash ^ static_cast<uint64_t>(c >> 8)) * kPrime;
  }
  return hash;
}

constexpr std::string_view kExtraHeader = "tallowick undo extra 1\n";

// A folder path as a field of the extra file; absolute, or it is refused.
bool UnescapedPath(std::string_view field, std::u16string& path) {
  return UnescapedName(field, path) && !path.empty() && path.front() == u'/';
}

bool HexNumber(std::string_view text, uint64_t& value) {
  if (text.size() != 16) return false;
  value = 0;
  for (const char c : text) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    value = (value << 4) | static_cast<uint64_t>(digit);
  }
  return true;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  size_t start = 0;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    start = 2;
  }
  std::u16string text;
  text.reserve((bytes.size() - start) / 2);
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

// A stand-in counts only standing alone: after a high surrogate it is the
// second half of a character.
std::u16string Unescape(std::u16string_view stored) {
  std::u16string path(stored);
  for (size_t i = 0; i < path.size(); ++i) {
    if (i == 0 || !IsHighSurrogate(path[i - 1])) path[i] = Unescaped(path[i]);
  }
  return path;
}

// A stored full path: begins with "/", holds no NUL and no raw quote.
bool IsStoredPath(std::u16string_view path) {
  return !path.empty() && path.front() == u'/' && path.find(u'\0') == std::u16string_view::npos;
}

// The pair of one line "old" "new". False when the line is anything else.
bool ParseLine(std::u16string_view line, TRenamePair& pair) {
  if (line.size() < 5 || line.front() != kQuote || line.back() != kQuote) return false;
  const size_t close = line.find(kQuote, 1);
  // The closing quote of the old path, the blank and the opening quote of
  // the new one, which must leave room for the new path before the last quote.
  if (line.substr(close, 3) != u"\" \"" || close + 3 >= line.size()) return false;
  const std::u16string_view oldPath = line.substr(1, close - 1);
  const std::u16string_view newPath = line.substr(close + 3, line.size() - close - 4);
  if (newPath.find(kQuote) != std::u16string_view::npos) return false;
  if (!IsStoredPath(oldPath) || !IsStoredPath(newPath)) return false;
  pair.oldName = Unescape(oldPath);
  pair.newName = Unescape(newPath);
  return true;
}

void AppendLineEnd(std::string& out) {
  AppendUnit(out, u'\r');
  AppendUnit(out, u'\n');
}

// The extra file of the checks of a state file's lines, in their order, and
// of `folders`.
std::string EncodeExtraOfChecks(const std::vector<uint64_t>& checks,
                                const std::vector<std::u16string>& folders) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out(kExtraHeader);
  out.reserve(out.size() + checks.size() * 23);
  for (const uint64_t check : checks) {
    out += "check\t";
    for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(check >> shift) & 0xF];
    out += '\n';
  }
  for (const std::u16string& folder : folders) {
    out += "folder\t";
    AppendEscapedName(out, folder);
    out += '\n';
  }
  out += "end\n";
  return out;
}

}  // namespace

std::string EncodeUndoState(const std::vector<TRenamePair>& pairs,
                            const std::vector<TUndoStateLine>& unreadable) {
  std::string out = "\xFF\xFE";
  size_t units = 0;  // room for every line
  for (const TRenamePair& pair : pairs) units += pair.oldName.size() + pair.newName.size() + 7;
  out.reserve(out.size() + units * 2);
  std::u16string line;
  for (const TRenamePair& pair : pairs) {
    StoredLineInto(line, pair);
    AppendUnits(out, line);
    AppendLineEnd(out);
  }
  for (const TUndoStateLine& kept : unreadable) {
    AppendUnits(out, kept.text);
    AppendLineEnd(out);
  }
  return out;
}

TUndoState ReadUndoState(std::string_view bytes) {
  const std::u16string text = DecodeUtf16Le(bytes);
  TUndoState state;
  TRenamePair pair;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    ++number;
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (ParseLine(line, pair)) {
      state.pairs.push_back(std::move(pair));
      state.pairLines.push_back({number, std::u16string(line)});
    } else {
      state.unreadable.push_back({number, std::u16string(line)});
    }
  }
  return state;
}

std::vector<TRenamePair> DecodeUndoState(std::string_view bytes) {
  return ReadUndoState(bytes).pairs;
}

TEncodedBatch EncodeBatch(const std::vector<TRenamePair>& pairs,
                          const std::vector<std::u16string>& folders) {
  return EncodeBatch(
      pairs.size(), [&pairs](size_t i, TRenamePair& pair) { pair = pairs[i]; }, folders);
}

TEncodedBatch EncodeBatch(size_t count, const TRenamePairReader& pairAt,
                          const std::vector<std::u16string>& folders) {
  TEncodedBatch batch;
  batch.moves = count;
  batch.state = "\xFF\xFE";
  std::vector<uint64_t> checks;
  checks.reserve(count);
  TRenamePair pair;
  std::u16string line;
  // Each line once, for the state file and its check.
  for (size_t i = 0; i < count; ++i) {
    pairAt(i, pair);
    StoredLineInto(line, pair);
    if (i == 0) batch.state.reserve(batch.state.size() + (line.size() + 2) * 2 * count * 9 / 8);
    AppendUnits(batch.state, line);
    AppendLineEnd(batch.state);
    checks.push_back(LineCheck(line));
  }
  batch.extra = EncodeExtraOfChecks(checks, folders);
  return batch;
}

std::string EncodeUndoExtra(const std::vector<TRenamePair>& pairs,
                            const std::vector<std::u16string>& folders,
                            const std::vector<uint64_t>& missing) {
  std::vector<uint64_t> checks;
  checks.reserve(pairs.size() + missing.size());
  std::u16string line;
  for (const TRenamePair& pair : pairs) {
    StoredLineInto(line, pair);
    checks.push_back(LineCheck(line));
  }
  checks.insert(checks.end(), missing.begin(), missing.end());
  return EncodeExtraOfChecks(checks, folders);
}

bool DecodeUndoExtra(std::string_view bytes, TUndoExtra& extra) {
  extra = TUndoExtra();
  if (!bytes.starts_with(kExtraHeader)) return false;
  size_t start = kExtraHeader.size();
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) return false;
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (line == "end") return start == bytes.size();
    uint64_t check = 0;
    std::u16string folder;
    if (line.starts_with("check\t") && HexNumber(line.substr(6), check)) {
      extra.checks.push_back(check);
    } else if (line.starts_with("folder\t") && UnescapedPath(line.substr(7), folder)) {
      extra.folders.push_back(std::move(folder));
    } else {
      return false;
    }
  }
  return false;
}

void CheckUndoState(TUndoState& state, const TUndoExtra& extra) {
  std::unordered_multiset<uint64_t> checks(extra.checks.begin(), extra.checks.end());
  std::vector<TRenamePair> pairs;
  std::vector<TUndoStateLine> lines;
  for (size_t i = 0; i < state.pairs.size(); ++i) {
    const auto check = checks.find(LineCheck(state.pairLines[i].text));
    if (check != checks.end()) {
      checks.erase(check);
      pairs.push_back(std::move(state.pairs[i]));
      lines.push_back(std::move(state.pairLines[i]));
    } else {
      state.unchecked.push_back(std::move(state.pairLines[i]));
    }
  }
  state.pairs = std::move(pairs);
  state.pairLines = std::move(lines);
  state.missing.assign(checks.begin(), checks.end());
}
