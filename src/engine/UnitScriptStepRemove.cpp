#include "engine/UnitScriptStepRemove.h"

#include <algorithm>
#include <array>

#include "engine/UnitScriptContext.h"
#include "matching/UnitMetaVariables.h"
#include "matching/UnitWildcards.h"

namespace {

using TRE = TScriptStepRemoveExpression;

bool IsSpecialCharacter(char16_t c) {
  switch (c) {
    case u'$': case u'(': case u')': case u'*': case u'+': case u'.': case u'?':
    case u'[': case u'\\': case u']': case u'^': case u'|':
      return true;
    default:
      return false;
  }
}

// The clipped 0-based half-open range [begin, end) of characters first..last.
struct TRange {
  size_t begin = 0;
  size_t end = 0;
};

TRange ClipRange(size_t length, long long first, long long last) {
  const long long begin = std::max(first, 1LL) - 1;
  const long long end = std::min(last, static_cast<long long>(length));
  if (end <= begin) return {};
  return {static_cast<size_t>(begin), static_cast<size_t>(end)};
}

// A 1-based match range from a matcher, as 0-based offsets clipped to `length`.
TRange MatchRange(size_t length, int startIndex, int endIndex) {
  const size_t begin = std::min(static_cast<size_t>(std::max(startIndex - 1, 0)), length);
  const size_t end = std::clamp(static_cast<size_t>(std::max(endIndex, 0)), begin, length);
  return {begin, end};
}

// --- Remove/Replace Expression -------------------------------------------

struct TExpressionPart {
  int flag, choice, text;
};
constexpr std::array<TExpressionPart, 3> kExpressionParts = {{
    {TRE::cbreThatSTartsWIth, TRE::cbxrePhraseCharacters, TRE::txtrePhraseCharacters},
    {TRE::cbreHasInTheMiddle, TRE::cbxrePhraseCharacters2, TRE::txtrePhraseCharacters2},
    {TRE::cbreAndEndsWith, TRE::cbxrePhraseCharacters3, TRE::txtrePhraseCharacters3},
}};

enum : int { kAnywhere = 0, kAtEnding = 1, kAtBeginning = 2 };
enum : int { kThePhrase = 0, kAnyOf = 1, kAllExcept = 2, kEndingWith = 3 };

// One part of the expression; a choice that no list holds acts as "the Phrase".
std::u16string PartExpression(int choice, const std::u16string& quoted) {
  switch (choice) {
    case kAnyOf: return u"[" + quoted + u"]+";
    case kAllExcept: return u"[^" + quoted + u"]+";
    case kEndingWith: return u".+?" + quoted;
    default: return quoted;
  }
}

std::u16string BuildExpression(const TRE& step, const RenameRecord& rec, TScriptContext& ctx) {
  std::u16string e = u"(?i)";
  const int where = step.Choice(TRE::cbxreBegginingEnding);
  if (where == kAtBeginning) e += u"\\A";
  for (const TExpressionPart& part : kExpressionParts) {
    if (!step.Flag(part.flag)) continue;
    const std::u16string quoted = EscapeForExpression(ctx.Expand(step.Text(part.text), rec));
    e += PartExpression(step.Choice(part.choice), quoted);
  }
  if (where == kAtEnding) e += u"\\Z";
  return e;
}

bool TouchesChosenEnd(const TRE& step, const TRange& first, size_t length) {
  switch (step.Choice(TRE::cbxreBegginingEnding)) {
    case kAtBeginning: return first.begin == 0;
    case kAtEnding: return first.end == length;
    default: return true;
  }
}

bool IsReplace(const TRE& step) { return step.Choice(TRE::cbxRERemoveReplace) == 1; }

// Acts on the n-th match only. An empty n-th match cuts nothing, stores an
// empty ?temp? and, with "Replace", inserts the replacement at its place.
void ExecuteNthMatch(const TRE& step, TWildcards& matcher, TRange match, std::u16string& sname,
                     RenameRecord& rec, TScriptContext& ctx) {
  const int n = step.IntegerParam(TRE::txtRE1, 0);
  int startIndex = 0;
  int endIndex = 0;
  for (int i = 1; i < n; ++i) {
    if (!matcher.FindNext(startIndex, endIndex)) return;
    match = MatchRange(sname.size(), startIndex, endIndex);
  }
  const std::u16string cut = sname.substr(match.begin, match.end - match.begin);
  sname.erase(match.begin, match.end - match.begin);
  if (step.Flag(TRE::cbreAndStore)) ctx.Vars().SetTempText(cut);
  if (IsReplace(step)) sname.insert(match.begin, ctx.Expand(step.Text(TRE::txtREWith), rec));
}

// Replaces every match; ?temp? gets the first match (empty when it is empty).
void ExecuteAllMatches(const TRE& step, TWildcards& matcher, TRange first, std::u16string& sname,
                       RenameRecord& rec, TScriptContext& ctx) {
  std::u16string with;
  if (IsReplace(step)) {
    rec.selectedposition = rec.changedcount;
    with = ctx.Expand(step.Text(TRE::txtREWith), rec);
  }
  const std::u16string firstText = sname.substr(first.begin, first.end - first.begin);
  sname = matcher.SearchReplaceWith(with, true);
  if (step.Flag(TRE::cbreAndStore)) ctx.Vars().SetTempText(firstText);
}

// --- sentence helpers ------------------------------------------------------

// The word that stands for an expression part's choice, if any.
void AddPartChoiceWord(TSentence& words, TSentenceWord choiceWord, int choice) {
  switch (choice) {
    case kAnyOf: choiceWord.text = u"letters"; break;
    case kAllExcept: choiceWord.text = u"not letters"; break;
    case kEndingWith: break;  // the item's own text
    default: return;
  }
  words.push_back(std::move(choiceWord));
}

}  // namespace

// --- shared position arithmetic --------------------------------------------

namespace StepText {

std::u16string Characters(std::u16string_view text, int first, int last) {
  const TRange r = ClipRange(text.size(), first, last);
  return std::u16string(text.substr(r.begin, r.end - r.begin));
}

void DeleteCharacters(std::u16string& text, int first, int last) {
  const TRange r = ClipRange(text.size(), first, last);
  text.erase(r.begin, r.end - r.begin);
}

void InsertAt(std::u16string& text, std::u16string_view piece, int position) {
  const size_t at = position < 1 ? 0 : std::min(static_cast<size_t>(position) - 1, text.size());
  text.insert(at, piece);
}

}  // namespace StepText

std::u16string EscapeForExpression(std::u16string_view text) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (!IsSpecialCharacter(c)) {
      out.push_back(c);
      continue;
    }
    out.append({u'\\', u'x', kHex[(c >> 4) & 0xF], kHex[c & 0xF]});
  }
  return out;
}

// --- TYPE 11 Remove/Replace Expression -------------------------------------

TSentence TScriptStepRemoveExpression::GetSentence() const {
  TSentence words{ChoiceWord(cbxRERemoveReplace), LabelWord(u"the expression")};
  if (Choice(cbxreBegginingEnding) != kAnywhere) {
    words.push_back(ChoiceWord(cbxreBegginingEnding));
    words.push_back(LabelWord(u"the filename that"));
  } else {
    words.push_back(LabelWord(u"that"));
  }
  for (const TExpressionPart& part : kExpressionParts) {
    if (!Flag(part.flag)) continue;
    words.push_back(FlagWord(part.flag));
    AddPartChoiceWord(words, ChoiceWord(part.choice), Choice(part.choice));
    words.push_back(TextWord(part.text));
  }
  if (Flag(cbreAndStore)) words.push_back(FlagWord(cbreAndStore));
  return words;
}

void TScriptStepRemoveExpression::Execute(std::u16string& sname, std::u16string& /*ext*/,
                                          RenameRecord& rec, TScriptContext& ctx) {
  const std::u16string e = BuildExpression(*this, rec, ctx);
  if (e == u"(?i)" || e == u"(?i)\\A" || e == u"(?i)\\Z") return;
  TWildcards& matcher = ctx.RegExpMatcher(e);
  matcher.SetSearchString(sname);
  if (!IsReplace(*this) && !Flag(cbreAtThe) && !Flag(cbreRemoveNumber) && !Flag(cbreAndStore)) {
    // Plain removal of every match: no use for the first match on its own,
    // and without a match the text comes back unchanged.
    sname = matcher.SearchReplaceWith(u"", true);
    return;
  }
  int startIndex = 0;
  int endIndex = 0;
  if (!matcher.FindFirst(startIndex, endIndex)) return;
  const TRange first = MatchRange(sname.size(), startIndex, endIndex);
  if (Flag(cbreAtThe) && !TouchesChosenEnd(*this, first, sname.size())) return;
  if (Flag(cbreRemoveNumber)) {
    ExecuteNthMatch(*this, matcher, first, sname, rec, ctx);
  } else {
    ExecuteAllMatches(*this, matcher, first, sname, rec, ctx);
  }
}

// --- TYPE 6 Remove Words/Numbers -------------------------------------------

TSentence TScriptStepRemoveWords::GetSentence() const {
  TSentence words{LabelWord(u"Remove"), ChoiceWord(cbxRemovePhrase)};
  if (Choice(cbxRemovePhrase) != 2) words.push_back(TextWord(txtRemovePhrase));
  words.push_back(LabelWord(u"from the"));
  words.push_back(ChoiceWord(cbxRemovePhrasePart));
  return words;
}

namespace {

void RemoveMatches(std::u16string& target, std::u16string_view pattern, TScriptContext& ctx) {
  target = ctx.Matcher(pattern).SearchReplaceWith(target, pattern, u"", true);
}

void RemoveEachWord(std::u16string& target, std::u16string_view words, const RenameRecord& rec,
                    TScriptContext& ctx) {
  size_t pos = 0;
  while (pos < words.size()) {
    const size_t begin = words.find_first_not_of(u' ', pos);
    if (begin == std::u16string_view::npos) break;
    const size_t end = std::min(words.find(u' ', begin), words.size());
    RemoveMatches(target, ctx.Expand(words.substr(begin, end - begin), rec), ctx);
    pos = end;
  }
}

void RemoveDigits(std::u16string& target) {
  std::erase_if(target, [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

void TScriptStepRemoveWords::Execute(std::u16string& sname, std::u16string& ext,
                                     RenameRecord& rec, TScriptContext& ctx) {
  std::u16string& target = Choice(cbxRemovePhrasePart) == 1 ? ext : sname;
  switch (Choice(cbxRemovePhrase)) {
    case 1: RemoveEachWord(target, Text(txtRemovePhrase), rec, ctx); break;
    case 2: RemoveDigits(target); break;
    default: RemoveMatches(target, ctx.Expand(Text(txtRemovePhrase), rec), ctx); break;
  }
}

// --- TYPE 7 Remove Beginning/Ending ----------------------------------------

TSentence TScriptStepRemoveCharacters::GetSentence() const {
  TSentence words{LabelWord(u"Remove"), TextWord(txtR2X), LabelWord(u"characters from the"),
                  ChoiceWord(cbxRemoveCharactersPart), ChoiceWord(cbxRemoveCharPosition)};
  if (Flag(cbAndStore)) words.push_back(FlagWord(cbAndStore));
  if (Flag(cbRCReplace)) {
    words.push_back(FlagWord(cbRCReplace));
    words.push_back(TextWord(txtRCReplace));
  }
  return words;
}

void TScriptStepRemoveCharacters::Execute(std::u16string& sname, std::u16string& ext,
                                          RenameRecord& rec, TScriptContext& ctx) {
  const bool onExtension = Choice(cbxRemoveCharactersPart) == 1;
  const bool atEnding = Choice(cbxRemoveCharPosition) == 1;
  std::u16string s = onExtension ? (ext.empty() ? std::u16string() : ext.substr(1)) : sname;
  const size_t k = std::min(static_cast<size_t>(std::max(IntegerParam(txtR2X, 0), 0)), s.size());
  const size_t cutAt = atEnding ? s.size() - k : 0;
  if (Flag(cbAndStore)) ctx.Vars().SetTempText(s.substr(cutAt, k));
  s.erase(cutAt, k);
  if (Flag(cbRCReplace)) {
    rec.selectedposition = rec.changedcount;
    const std::u16string with = ctx.Expand(Text(txtRCReplace), rec);
    s = atEnding ? s + with : with + s;
  }
  if (!onExtension) {
    sname = std::move(s);
  } else {
    ext = s.starts_with(u'.') ? std::move(s) : u"." + s;
  }
}

// --- TYPE 8 Remove by Position ---------------------------------------------

TSentence TScriptStepRemoveSubstring::GetSentence() const {
  TSentence words{LabelWord(u"Remove"), ChoiceWord(cbxRemoveType), LabelWord(u"characters"),
                  TextWord(txtR3X), LabelWord(u"thru"), TextWord(txtR3Y)};
  if (Flag(cbAndMove)) {
    words.push_back(FlagWord(cbAndMove));
    words.push_back(TextWord(txtR3Z));
  }
  if (Flag(cbAndStoreRM)) words.push_back(FlagWord(cbAndStoreRM));
  return words;
}

void TScriptStepRemoveSubstring::Execute(std::u16string& sname, std::u16string& /*ext*/,
                                         RenameRecord& /*rec*/, TScriptContext& ctx) {
  const int x = IntegerParam(txtR3X, 1);
  const int y = IntegerParam(txtR3Y, 1);
  const std::u16string piece = StepText::Characters(sname, x, y);
  if (Choice(cbxRemoveType) == 0) {
    sname = piece;
    return;
  }
  StepText::DeleteCharacters(sname, x, y);
  if (Flag(cbAndMove)) StepText::InsertAt(sname, piece, IntegerParam(txtR3Z, 0));
  if (Flag(cbAndStoreRM)) ctx.Vars().SetTempText(piece);
}

// --- TYPE 9 Remove Before/After --------------------------------------------

TSentence TScriptStepRemoveBeforeAfter::GetSentence() const {
  TSentence words{LabelWord(u"Remove everything"), ChoiceWord(cbxBeforeAfter),
                  LabelWord(u"the phrase"), TextWord(txtRemove2Phrase)};
  if (Flag(cbAndStoreRM2)) words.push_back(FlagWord(cbAndStoreRM2));
  return words;
}

void TScriptStepRemoveBeforeAfter::Execute(std::u16string& sname, std::u16string& /*ext*/,
                                           RenameRecord& rec, TScriptContext& ctx) {
  TWildcards& matcher = ctx.Matcher(ctx.Expand(Text(txtRemove2Phrase), rec));
  matcher.SetSearchString(sname);
  int startIndex = 0;
  int endIndex = 0;
  if (!matcher.FindFirst(startIndex, endIndex)) return;
  const TRange match = MatchRange(sname.size(), startIndex, endIndex);
  const bool after = Choice(cbxBeforeAfter) == 1;
  std::u16string piece;
  if (after) {
    piece = sname.substr(match.end);
    sname.erase(match.end);
  } else {
    piece = sname.substr(0, match.begin);
    sname.erase(0, match.begin);
  }
  if (Flag(cbRBReplace)) {
    rec.selectedposition = rec.changedcount;
    const std::u16string with = ctx.Expand(Text(txtRBReplace), rec);
    sname = after ? sname + with : with + sname;
  }
  if (Flag(cbAndStoreRM2)) ctx.Vars().SetTempText(piece);
}
