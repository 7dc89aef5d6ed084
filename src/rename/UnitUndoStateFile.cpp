#include "rename/UnitUndoStateFile.h"

#include "platform/UnitText.h"

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
  out.push_back(static_cast<char>(c & 0xFF));
  out.push_back(static_cast<char>(c >> 8));
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// `path` as its bytes decode: the same text for every name read from disk.
std::u16string Canonical(const std::u16string& path) {
  for (const char16_t c : path) {
    if (IsSurrogate(c)) return Utf8ToUtf16(Utf16ToUtf8(path));
  }
  return path;
}

void AppendQuotedPath(std::string& out, const std::u16string& path) {
  AppendUnit(out, kQuote);
  for (const char16_t c : Canonical(path)) AppendUnit(out, Escaped(c));
  AppendUnit(out, kQuote);
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

// The pair of one line: old between the first and second quote, new between
// the third and fourth. False when the line does not hold both.
bool ParseLine(std::u16string_view line, TRenamePair& pair) {
  size_t quotes[4];
  size_t from = 0;
  for (size_t& q : quotes) {
    q = line.find(kQuote, from);
    if (q == std::u16string_view::npos) return false;
    from = q + 1;
  }
  pair.oldName = Unescape(line.substr(quotes[0] + 1, quotes[1] - quotes[0] - 1));
  pair.newName = Unescape(line.substr(quotes[2] + 1, quotes[3] - quotes[2] - 1));
  return !pair.oldName.empty() && !pair.newName.empty();
}

}  // namespace

std::string EncodeUndoState(const std::vector<TRenamePair>& pairs) {
  std::string out = "\xFF\xFE";
  for (const TRenamePair& pair : pairs) {
    AppendQuotedPath(out, pair.oldName);
    AppendUnit(out, u' ');
    AppendQuotedPath(out, pair.newName);
    AppendUnit(out, u'\r');
    AppendUnit(out, u'\n');
  }
  return out;
}

std::vector<TRenamePair> DecodeUndoState(std::string_view bytes) {
  const std::u16string text = DecodeUtf16Le(bytes);
  std::vector<TRenamePair> pairs;
  TRenamePair pair;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (ParseLine(line, pair)) pairs.push_back(pair);
    start = end + 1;
  }
  return pairs;
}
