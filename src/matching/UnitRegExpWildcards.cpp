#include "matching/UnitRegExpWildcards.h"

#include <pcre2.h>

#include <algorithm>
#include <climits>

namespace {

// Subjects and expressions reach the engine as valid UTF-16 (lone surrogates
// mapped), so matching skips the UTF check. PCRE2_MATCH_INVALID_UTF is not
// used: it would make an undecodable byte a barrier that no "." or [^x]
// crosses, and it checks the rest of the subject on every call, which makes a
// global replace quadratic in the length of the text.
constexpr uint32_t kCompileOptions = PCRE2_UTF | PCRE2_DOTALL | PCRE2_NEVER_BACKSLASH_C;
constexpr uint32_t kMatchOptions = PCRE2_NO_UTF_CHECK;
constexpr uint32_t kNonEmptyHere = PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED;
// Bounds for expressions that backtrack without end: a file name never needs more.
constexpr uint32_t kMatchLimit = 1000000;
constexpr uint32_t kHeapLimitKiB = 64 * 1024;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Lone surrogates become private-use characters U+E000..U+E7FF, one for one, so
// that the engine sees valid UTF-16 of the same length and an undecodable byte
// is a character like any other. Returns false (and leaves `out` alone) when
// `text` has none.
bool MapLoneSurrogates(std::u16string_view text, std::u16string& out) {
  const auto firstSurrogate = std::find_if(text.begin(), text.end(), IsSurrogate);
  if (firstSurrogate == text.end()) return false;
  out.assign(text);
  bool mapped = false;
  for (size_t i = static_cast<size_t>(firstSurrogate - text.begin()); i < out.size(); ++i) {
    const char16_t c = out[i];
    if (!IsSurrogate(c)) continue;
    if (IsHighSurrogate(c) && i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
      ++i;
      continue;
    }
    out[i] = static_cast<char16_t>(0xE000 + (c - 0xD800));
    mapped = true;
  }
  return mapped;
}

PCRE2_SPTR AsPcre(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

}  // namespace

struct TRegExpWildcards::TReplacePiece {
  std::u16string literal;
  int group = -1;  // >= 0: insert this group instead
};

// "$0".."$9", "$&" and "${nn}" insert groups, "\" takes the next character
// literally, anything else is literal.
std::vector<TRegExpWildcards::TReplacePiece> TRegExpWildcards::ParseReplacement(
    std::u16string_view text) {
  std::vector<TReplacePiece> pieces;
  std::u16string literal;
  auto addGroup = [&](int group) {
    if (!literal.empty()) pieces.push_back({std::move(literal), -1});
    literal.clear();
    pieces.push_back({std::u16string(), group});
  };
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
    if (c == u'\\' && i + 1 < text.size()) {
      literal.push_back(next);
      i += 2;
    } else if (c == u'$' && next >= u'0' && next <= u'9') {
      addGroup(next - u'0');
      i += 2;
    } else if (c == u'$' && next == u'&') {
      addGroup(0);
      i += 2;
    } else if (c == u'$' && next == u'{') {
      const size_t close = text.find(u'}', i + 2);
      const std::u16string_view digits = close == std::u16string_view::npos
                                             ? std::u16string_view()
                                             : text.substr(i + 2, close - i - 2);
      const bool valid =
          !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                         [](char16_t d) { return d >= u'0' && d <= u'9'; });
      if (!valid) {
        literal.push_back(c);
        ++i;
        continue;
      }
      int group = 0;
      for (const char16_t d : digits)
        group = group > (INT_MAX - 9) / 10 ? INT_MAX : group * 10 + (d - u'0');
      addGroup(group);
      i = close + 1;
    } else {
      literal.push_back(c);
      ++i;
    }
  }
  if (!literal.empty()) pieces.push_back({std::move(literal), -1});
  return pieces;
}

void TRegExpWildcards::TCodeDeleter::operator()(pcre2_code* code) const { pcre2_code_free(code); }
void TRegExpWildcards::TMatchDataDeleter::operator()(pcre2_match_data* data) const {
  pcre2_match_data_free(data);
}
void TRegExpWildcards::TMatchContextDeleter::operator()(pcre2_match_context* context) const {
  pcre2_match_context_free(context);
}

TRegExpWildcards::TRegExpWildcards() : fMatchContext(pcre2_match_context_create(nullptr)) {
  if (fMatchContext) {
    pcre2_set_match_limit(fMatchContext.get(), kMatchLimit);
    pcre2_set_heap_limit(fMatchContext.get(), kHeapLimitKiB);
  }
}

TRegExpWildcards::~TRegExpWildcards() = default;
TRegExpWildcards::TRegExpWildcards(TRegExpWildcards&&) noexcept = default;
TRegExpWildcards& TRegExpWildcards::operator=(TRegExpWildcards&&) noexcept = default;

TStatus TRegExpWildcards::AssignFilemode(bool /*value*/) {
  return TStatus::Error(-1, std::u16string(), u"Illegal use of Wildcard class.");
}

void TRegExpWildcards::SetSearchString(std::u16string_view str) {
  scontent.assign(str);
  fUseMapped = MapLoneSurrogates(str, fMappedContent);
  fLastMatchEmpty = false;
}

std::u16string_view TRegExpWildcards::Subject() const {
  const std::u16string& text = fUseMapped ? fMappedContent : scontent;
  return std::u16string_view(text).substr(0, static_cast<size_t>(ClippedLength(text)));
}

void TRegExpWildcards::SetSearchPattern(std::u16string_view str) {
  if (fHasCompiled && str == spattern) return;
  fHasCompiled = true;
  spattern.assign(str);
  re.reset();
  fMatchData.reset();
  fCompileError = 0;
  fMatchError = 0;
  fLastMatchEmpty = false;
  if (str.empty()) return;

  std::u16string mapped;
  const std::u16string_view source = MapLoneSurrogates(str, mapped) ? mapped : str;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  re.reset(
      pcre2_compile(AsPcre(source), source.size(), kCompileOptions, &error, &errorOffset, nullptr));
  if (!re) {
    fCompileError = error == 0 ? PCRE2_ERROR_INTERNAL : error;
    return;
  }
  fMatchData.reset(pcre2_match_data_create_from_pattern(re.get(), nullptr));
  if (!fMatchData) {
    re.reset();
    fCompileError = PCRE2_ERROR_NOMEMORY;
  }
}

int TRegExpWildcards::LastError() const { return fCompileError != 0 ? fCompileError : fMatchError; }

bool TRegExpWildcards::MatchAt(size_t offset, unsigned options, int& startIndex, int& endIndex) {
  startIndex = 0;
  endIndex = 0;
  if (!re || !fMatchData) return false;
  const std::u16string_view subject = Subject();
  if (offset > subject.size()) return false;
  const int rc = pcre2_match(re.get(), AsPcre(subject), subject.size(), offset,
                             options | kMatchOptions, fMatchData.get(), fMatchContext.get());
  if (rc < 0) {
    fMatchError = rc == PCRE2_ERROR_NOMATCH ? 0 : rc;
    return false;
  }
  fMatchError = 0;
  fMatchPairs = rc == 0 ? pcre2_get_ovector_count(fMatchData.get()) : static_cast<unsigned>(rc);
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(fMatchData.get());
  const size_t end = std::min<size_t>(ovector[1], subject.size());
  const size_t start = std::min<size_t>(ovector[0], end);
  startIndex = static_cast<int>(start) + 1;
  endIndex = static_cast<int>(end);
  curIndex = endIndex + 1;
  fLastMatchEmpty = start == end;
  return true;
}

size_t TRegExpWildcards::NextCharacter(size_t offset) const {
  const std::u16string_view subject = Subject();
  if (offset + 1 < subject.size() && IsHighSurrogate(subject[offset]) &&
      IsLowSurrogate(subject[offset + 1])) {
    return offset + 2;
  }
  return offset + 1;
}

bool TRegExpWildcards::FindFirst(int& startIndex, int& endIndex) {
  curIndex = 1;
  fLastMatchEmpty = false;
  fMatchError = 0;
  return MatchAt(0, 0, startIndex, endIndex);
}

bool TRegExpWildcards::FindNext(int& startIndex, int& endIndex) {
  startIndex = 0;
  endIndex = 0;
  size_t offset = curIndex < 1 ? 0 : static_cast<size_t>(curIndex - 1);
  if (!re || offset > Subject().size()) return false;
  if (fLastMatchEmpty) {
    if (MatchAt(offset, kNonEmptyHere, startIndex, endIndex)) return true;
    if (fMatchError != 0 || offset >= Subject().size()) return false;
    offset = NextCharacter(offset);
  }
  return MatchAt(offset, 0, startIndex, endIndex);
}

void TRegExpWildcards::AppendReplacement(std::u16string& out) const {
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(fMatchData.get());
  for (const TReplacePiece& piece : fTemplate) {
    if (piece.group < 0) {
      out.append(piece.literal);
      continue;
    }
    const auto group = static_cast<unsigned>(piece.group);
    if (group >= fMatchPairs) continue;
    const PCRE2_SIZE start = ovector[2 * group];
    const PCRE2_SIZE end = ovector[2 * group + 1];
    if (start == PCRE2_UNSET || end == PCRE2_UNSET || start >= end || end > scontent.size())
      continue;
    out.append(scontent, start, end - start);
  }
}

std::u16string TRegExpWildcards::SearchReplaceWith(std::u16string_view str, bool replaceall) {
  curIndex = 0;
  fLastMatchEmpty = false;
  fMatchError = 0;
  if (!re) return scontent;
  if (fTemplate.empty() || str != fTemplateSource) {
    fTemplateSource.assign(str);
    fTemplate = ParseReplacement(str);
  }
  std::u16string result;
  size_t copied = 0;
  size_t offset = 0;
  unsigned options = 0;
  int startIndex = 0;
  int endIndex = 0;
  while (true) {
    if (!MatchAt(offset, options, startIndex, endIndex)) {
      if (fMatchError != 0) break;
      if (options == 0 || offset >= Subject().size()) break;
      offset = NextCharacter(offset);  // no other match at an empty match's place
      options = 0;
      continue;
    }
    const size_t start = std::max(static_cast<size_t>(startIndex - 1), copied);
    const size_t end = std::max(static_cast<size_t>(endIndex), start);
    result.append(scontent, copied, start - copied);
    AppendReplacement(result);
    copied = end;
    if (!replaceall) break;
    offset = end;
    options = start == end ? kNonEmptyHere : 0;
  }
  curIndex = 0;
  fLastMatchEmpty = false;
  if (fMatchError != 0) return scontent;
  result.append(scontent, copied);
  return result;
}

std::u16string TRegExpWildcards::SearchReplaceWith(std::u16string_view s, std::u16string_view sFind,
                                                   std::u16string_view sReplace, bool replaceall) {
  SetSearchString(s);
  SetSearchPattern(sFind);
  return SearchReplaceWith(sReplace, replaceall);
}
