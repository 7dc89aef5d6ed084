#include "matching/UnitWildcards.h"

#include <algorithm>

#include "platform/UnitText.h"

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// LowerCase into a buffer that is reused from text to text, so a search
// string costs no allocation once the buffer is large enough.
void LowerCaseInto(std::u16string_view text, std::u16string& out) {
  out.assign(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c < 0x80) {
      if (c >= u'A' && c <= u'Z') out[i] = static_cast<char16_t>(c + 32);
    } else if (IsHighSurrogate(c) && i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
      const std::u16string pair = LowerCase(std::u16string_view(out).substr(i, 2));
      out[i] = pair[0];
      out[i + 1] = pair[1];
      ++i;
    } else {
      out[i] = LowerChar(c);
    }
  }
}

// Within every run of wildcards the "?" come first and at most one "*" follows
// ("*?" becomes "?*", "**" becomes "*").
std::u16string NormalisedPattern(std::u16string_view pattern) {
  std::u16string out;
  out.reserve(pattern.size());
  size_t questionMarks = 0;
  bool star = false;
  auto flushRun = [&] {
    out.append(questionMarks, u'?');
    if (star) out.push_back(u'*');
    questionMarks = 0;
    star = false;
  };
  for (const char16_t c : pattern) {
    if (c == u'?') {
      ++questionMarks;
    } else if (c == u'*') {
      star = true;
    } else {
      flushRun();
      out.push_back(c);
    }
  }
  flushRun();
  return out;
}

// A "." anywhere but as the last character: the name has an extension.
bool HasExtension(std::u16string_view name) {
  const size_t dot = name.find(u'.');
  return dot != std::u16string_view::npos && dot + 1 < name.size();
}

}  // namespace

int TWildcards::ClippedLength(const std::u16string& text) {
  return static_cast<int>(std::min(text.size(), kMaxPosition));
}

TStatus TWildcards::AssignFilemode(bool value) {
  isFilemode = value;
  return TStatus::Ok();
}

void TWildcards::SetSearchString(std::u16string_view str) {
  scontent.assign(str);
  LowerCaseInto(str, fLowerContent);
}

void TWildcards::SetSearchPattern(std::u16string_view str) {
  if (fHasCompiled && fCompiledInFilemode == isFilemode && str == fCompiledFrom) return;
  fHasCompiled = true;
  fCompiledInFilemode = isFilemode;
  fCompiledFrom.assign(str);

  isAlwaysTrue = false;
  isExtensionless = false;
  if (isFilemode) {
    isExtensionless = !str.empty() && str.back() == u'.';
    if (isExtensionless) str.remove_suffix(1);
    if (str == u"*" || str == u"*.*") {
      // Every name matches; the file-name rules of FindFirst answer alone, and
      // nothing of an earlier pattern is left to be found by FindNext or a replace.
      isAlwaysTrue = true;
      spattern.clear();
      CompileStates();
      return;
    }
  }
  spattern = NormalisedPattern(LowerCase(str));
  CompileStates();
}

void TWildcards::CompileStates() {
  states.clear();
  fFirstLiteralState = -1;
  fLeadingStar = false;
  if (spattern.empty()) return;
  if (spattern == u"*") {
    states.emplace_back(u'*', 0, 0);
    states[0].SetIsEnding(true);
    return;
  }
  states.reserve(spattern.size() + 1);
  int restart = -1;
  bool afterStar = false;
  for (size_t i = 0; i < spattern.size(); ++i) {
    const char16_t c = spattern[i];
    const int k = static_cast<int>(states.size());
    const bool isLast = i + 1 == spattern.size();
    if (c == u'*') {
      afterStar = true;
    } else if (c == u'?') {
      const int next = isLast ? -1 : k + 1;
      states.emplace_back(u'?', next, next);
    } else {
      if (restart == -1 || afterStar) restart = k;
      afterStar = false;
      if (fFirstLiteralState == -1) {
        fFirstLiteralState = k;
        fLeadingStar = spattern.find(u'*') < i;
      }
      states.emplace_back(c, isLast ? -1 : k + 1, restart);
    }
  }
  states.front().SetIsStarting(true);
  if (spattern.back() == u'*') {
    const int k = static_cast<int>(states.size());
    states.emplace_back(u'*', k, k);  // consumes the rest of the text
  }
  states.back().SetIsEnding(true);
}

// Runs the automaton over the lower-cased text from curIndex. The match starts
// where the first literal was hit (minus the "?" before it), or where the scan
// began when a "*" leads the pattern.
bool TWildcards::Scan(int& startIndex, int& endIndex) {
  const int length = ClippedLength(fLowerContent);
  const int scanStart = std::max(curIndex, 1);
  startIndex = scanStart;
  endIndex = 0;
  int pos = scanStart;
  int state = 0;
  int prevState = 0;
  bool matched = false;
  bool prevMatched = false;
  while (pos <= length && state >= 0) {
    endIndex = pos;
    const char16_t c = fLowerContent[static_cast<size_t>(pos - 1)];
    const TState& current = states[static_cast<size_t>(state)];
    matched = current.IsMatch(c);
    if (matched && state == fFirstLiteralState) {
      startIndex = fLeadingStar ? scanStart : pos - fFirstLiteralState;
    }
    prevState = state;
    state = current.GetNextState(c);
    // After a hit followed by a miss, the first literal gets a try at the same character.
    const bool retryHere = prevMatched && !matched && state == fFirstLiteralState;
    if (!retryHere) ++pos;
    prevMatched = matched;
  }
  // The text may also run out just as the trailing "*" is reached: it then
  // stands for zero characters.
  const bool atTrailingStar = state >= 0 && states[static_cast<size_t>(state)].GetIsEnding() &&
                              states[static_cast<size_t>(state)].GetMatchChar() == u'*';
  if (matched && (states[static_cast<size_t>(prevState)].GetIsEnding() || atTrailingStar)) {
    curIndex = endIndex + 1;
    return true;
  }
  startIndex = 0;
  endIndex = 0;
  return false;
}

bool TWildcards::FindFirst(int& startIndex, int& endIndex) {
  startIndex = 0;
  endIndex = 0;
  curIndex = 1;
  if (isFilemode) {
    if (isExtensionless && HasExtension(scontent)) return false;
    if (isAlwaysTrue) {
      startIndex = 1;
      endIndex = ClippedLength(scontent);
      return true;
    }
  }
  if (states.empty()) return false;
  return Scan(startIndex, endIndex);
}

bool TWildcards::FindNext(int& startIndex, int& endIndex) {
  if (states.empty() || (isFilemode && isAlwaysTrue)) {
    startIndex = 0;
    endIndex = 0;
    return false;
  }
  return Scan(startIndex, endIndex);
}

std::u16string TWildcards::SearchReplaceWith(std::u16string_view str, bool replaceall) {
  if (spattern.empty()) return scontent;
  int startIndex = 0;
  int endIndex = 0;
  bool found = TWildcards::FindFirst(startIndex, endIndex);
  if (found && startIndex == 1 && endIndex == ClippedLength(scontent)) {
    curIndex = 0;
    return std::u16string(str);
  }
  // Each search resumes after the previous match, so the text is built from
  // the untouched search string and replaced text is never searched again.
  std::u16string result;
  size_t copied = 0;
  while (found) {
    const size_t matchStart = std::max(static_cast<size_t>(startIndex - 1), copied);
    result.append(scontent, copied, matchStart - copied);
    result.append(str);
    copied = std::max(static_cast<size_t>(endIndex), copied);
    if (!replaceall) break;
    found = TWildcards::FindNext(startIndex, endIndex);
  }
  result.append(scontent, copied);
  curIndex = 0;
  return result;
}

std::u16string TWildcards::SearchReplaceWith(std::u16string_view s, std::u16string_view sFind,
                                             std::u16string_view sReplace, bool replaceall) {
  if (sFind == u"*") return std::u16string(sReplace);
  if (sFind.empty()) return std::u16string(s);
  SetSearchString(s);
  SetSearchPattern(sFind);
  return SearchReplaceWith(sReplace, replaceall);
}

bool TWildcards::FirstFound() {
  int startIndex = 0;
  int endIndex = 0;
  return FindFirst(startIndex, endIndex);
}

bool TWildcards::Matches() {
  int startIndex = 0;
  int endIndex = 0;
  return FindFirst(startIndex, endIndex) && startIndex == 1 && endIndex == ClippedLength(scontent);
}

std::u16string TWildcards::FindString() {
  int startIndex = 0;
  int endIndex = 0;
  if (!FindFirst(startIndex, endIndex)) return std::u16string();
  return GetStr(startIndex, endIndex);
}

std::u16string TWildcards::GetStr(int startindex, int endindex) const {
  const int first = std::max(startindex, 1);
  const int last = std::min(endindex, ClippedLength(scontent));
  if (last < first) return std::u16string();
  return scontent.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}
