#include "engine/UnitScriptStepReplace.h"

#include <algorithm>
#include <vector>

#include "engine/UnitScriptContext.h"
#include "matching/UnitWildcards.h"
#include "model/UnitReplacementSequence.h"
#include "platform/UnitText.h"

namespace {

// cbxReplacePart
constexpr int kReplaceName = 0;
constexpr int kReplaceExtension = 1;
// cbxReplaceTarget
constexpr int kTargetName = 1;
constexpr int kTargetExtension = 2;
// cbxNumbers
constexpr int kNumbersRight = 0;
// cbxRNSequence
constexpr int kSequenceNumber = 0;
// cbxFEBeginningEnding
constexpr int kFromBeginning = 0;
// cbxFEBeforeAFter
constexpr int kInsertBefore = 0;
constexpr int kInsertAfter = 1;
constexpr int kInsertReplacing = 2;

// Inserts `text` before the 1-based character `index`; below 1 inserts at the
// start, beyond the end appends.
void InsertAt(std::u16string& s, std::u16string_view text, long long index) {
  const long long at = std::clamp<long long>(index - 1, 0, static_cast<long long>(s.size()));
  s.insert(static_cast<size_t>(at), text);
}

// Deletes `count` characters from the 1-based `index`. An index outside the
// string or a count below 1 deletes nothing; a count running past the end
// stops at the end.
void DeleteAt(std::u16string& s, long long index, long long count) {
  const long long size = static_cast<long long>(s.size());
  if (index < 1 || index > size || count < 1) return;
  s.erase(static_cast<size_t>(index - 1),
          static_cast<size_t>(std::min<long long>(count, size - index + 1)));
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A 0-based range of characters.
struct TRange {
  size_t at = 0;
  size_t length = 0;
};

// The characters x through y of a text of `size` characters, clipped to it: x
// below 1 counts from the first character, y beyond the end stops at the last.
// A range holding no character (y below x, or x past the end) is the empty
// range at x, where the pattern "*" still puts its replacement.
TRange CharacterRange(size_t size, long long x, long long y) {
  const long long length = static_cast<long long>(size);
  const long long first = std::clamp<long long>(x, 1, length + 1);
  const long long last = std::min<long long>(y, length);
  return {static_cast<size_t>(first - 1),
          static_cast<size_t>(std::max<long long>(0, last - first + 1))};
}

}  // namespace

// --- TYPE 3 ---------------------------------------------------------------

TSentence TScriptStepReplaceNameExtension::GetSentence() const {
  TSentence words = {ChoiceWord(cbxReplacePart)};
  // Stored choices outside the list act as "Find and Replace" and show so.
  const int part = Choice(cbxReplacePart);
  if (part != kReplaceName && part != kReplaceExtension) {
    words.push_back(TextWord(txtReplacePhrase));
  }
  words.push_back(LabelWord(u"with"));
  words.push_back(TextWord(txtReplaceWith));
  if (Flag(cbReplaceOnly)) {
    words.insert(words.end(), {FlagWord(cbReplaceOnly), TextWord(txtRP2X), LabelWord(u"thru"),
                               TextWord(txtRP2Y)});
  }
  return words;
}

void TScriptStepReplaceNameExtension::Execute(std::u16string& sname, std::u16string& ext,
                                              RenameRecord& rec, TScriptContext& ctx) {
  switch (Choice(cbxReplacePart)) {
    case kReplaceName:
      sname = ctx.Expand(Text(txtReplaceWith), rec);
      return;
    case kReplaceExtension:
      ext = ctx.Expand(Text(txtReplaceWith), rec);
      return;
    default:
      break;
  }
  // "Find and Replace" (and any other stored choice). Phrase and replacement
  // are expanded anew for each part searched.
  rec.selectedposition = rec.changedcount;
  const auto replaceIn = [&](std::u16string_view s) {
    const std::u16string phrase = ctx.Expand(Text(txtReplacePhrase), rec);
    const std::u16string with = ctx.Expand(Text(txtReplaceWith), rec);
    return ctx.Matcher(phrase).SearchReplaceWith(s, phrase, with, true);
  };
  if (Flag(cbReplaceOnly)) {
    const TRange range =
        CharacterRange(sname.size(), IntegerParam(txtRP2X, 1), IntegerParam(txtRP2Y, 1));
    sname.replace(range.at, range.length,
                  replaceIn(std::u16string_view(sname).substr(range.at, range.length)));
    return;
  }
  const int target = Choice(cbxReplaceTarget);
  if (target != kTargetExtension) sname = replaceIn(sname);
  if (target != kTargetName) ext = replaceIn(ext);
}

// --- TYPE 5 ---------------------------------------------------------------

TSentence TScriptStepReplaceNumbers::GetSentence() const {
  TSentence words = {LabelWord(u"Replace numbers on the"), ChoiceWord(cbxNumbers),
                     LabelWord(u"of the name with "), ChoiceWord(cbxRNSequence)};
  if (Choice(cbxRNSequence) != kSequenceNumber) words.push_back(TextWord(txtRNWith));
  return words;
}

void TScriptStepReplaceNumbers::Execute(std::u16string& sname, std::u16string&, RenameRecord& rec,
                                        TScriptContext& ctx) {
  rec.selectedposition = rec.changedcount;
  const bool right = Choice(cbxNumbers) == kNumbersRight;
  size_t digits = 0;
  if (right) {
    while (digits < sname.size() && IsDigit(sname[sname.size() - 1 - digits])) ++digits;
  } else {
    while (digits < sname.size() && IsDigit(sname[digits])) ++digits;
  }
  if (digits == 0) return;
  const size_t at = right ? sname.size() - digits : 0;
  const std::u16string number = sname.substr(at, digits);
  std::u16string with;
  if (Choice(cbxRNSequence) == kSequenceNumber) {
    with = ctx.Sequence().GetReplacementSequence(number);
    if (with.size() < number.size()) with.insert(0, number.size() - with.size(), u'0');
  } else {
    with = ctx.Expand(Text(txtRNWith), rec);
  }
  sname.replace(at, digits, with);
}

// --- TYPE 16 --------------------------------------------------------------

TSentence TScriptStepSwap::GetSentence() const {
  return {LabelWord(u"Swap Around"), TextWord(txtSPhrase), FlagWord(cbSTrim)};
}

void TScriptStepSwap::Execute(std::u16string& sname, std::u16string&, RenameRecord& rec,
                              TScriptContext&) {
  rec.selectedposition = rec.changedcount;
  const std::u16string& phrase = Text(txtSPhrase);
  if (phrase.empty()) return;
  const size_t at = sname.find(phrase);
  if (at == std::u16string::npos || at + phrase.size() == sname.size()) return;
  std::u16string before = sname.substr(0, at);
  std::u16string after = sname.substr(at + phrase.size());
  if (Flag(cbSTrim)) {
    before = Trim(before);
    after = Trim(after);
  }
  sname = after + phrase + before;
}

// --- TYPE 17 --------------------------------------------------------------

namespace {

// The non-empty matches of `matcher` in its search string of `size`
// characters, in order and without overlap. Empty matches (possible with
// regular expressions) hold no text to edit and are passed over.
std::vector<TRange> NonEmptyMatches(TWildcards& matcher, size_t size) {
  std::vector<TRange> matches;
  const long long length = static_cast<long long>(size);
  long long nextFree = 1;  // a kept match starts after the previous one ends
  // A matcher moves on by one character at least every second match, so
  // this bounds the loop whatever the pattern.
  const size_t maxTries = 2 * size + 2;
  int start = 0;
  int end = 0;
  size_t tries = 0;
  for (bool found = matcher.FindFirst(start, end); found && tries < maxTries;
       found = matcher.FindNext(start, end), ++tries) {
    if (start >= nextFree && end >= start && end <= length) {
      matches.push_back({static_cast<size_t>(start - 1), static_cast<size_t>(end - start + 1)});
      nextFree = static_cast<long long>(end) + 1;
    }
  }
  return matches;
}

// Replaces `count` characters at position `x` of `found` by `with`, counting
// from the Beginning. Outside the text nothing is deleted and `with` goes to
// the nearer end.
void EditFromBeginning(std::u16string& found, long long x, long long count,
                       std::u16string_view with) {
  DeleteAt(found, x, count);
  InsertAt(found, with, x);
}

// The same counted from the Ending: position 1 is the point after the last
// character, and the `count` characters before the point are replaced.
// A point outside the text (x below 1 or beyond length + 1) deletes nothing
// and puts `with` at the nearer end; a count reaching past the first
// character stops there.
void EditFromEnding(std::u16string& found, long long x, long long count, std::u16string_view with) {
  const long long length = static_cast<long long>(found.size());
  const long long point = length - x + 2;
  if (point < 1 || point > length + 1) {
    InsertAt(found, with, point);
    return;
  }
  const long long from = std::max<long long>(1, point - std::max<long long>(0, count));
  DeleteAt(found, from, point - from);
  InsertAt(found, with, from);
}

}  // namespace

TSentence TScriptStepFindAndEdit::GetSentence() const {
  TSentence words = {LabelWord(u"Find"), TextWord(txtFEPhrase1)};
  if (Flag(cbFEFromThe)) {
    words.insert(words.end(), {FlagWord(cbFEFromThe), ChoiceWord(cbxFEBeginningEnding),
                               LabelWord(u"position"), TextWord(txtFEX1), LabelWord(u"length"),
                               TextWord(txtFEY1), LabelWord(u"with"), TextWord(txtFEPhrase2)});
  }
  if (Flag(cbFEInsert)) {
    words.insert(words.end(), {FlagWord(cbFEInsert), TextWord(txtFEPhrase3),
                               ChoiceWord(cbxFEBeforeAFter), TextWord(txtFEPhrase4)});
  }
  return words;
}

// Each match of the first pattern is edited on its own; the edited texts then
// replace the matches from the last to the first, which keeps the positions
// of the earlier ones valid. The matches are all collected before the second
// matcher is asked for, so the two are never in use at the same time.
void TScriptStepFindAndEdit::Execute(std::u16string& sname, std::u16string&, RenameRecord& rec,
                                     TScriptContext& ctx) {
  rec.selectedposition = rec.changedcount;
  TWildcards& finder = ctx.Matcher(ctx.Expand(Text(txtFEPhrase1), rec));
  finder.SetSearchString(sname);
  const std::vector<TRange> matches = NonEmptyMatches(finder, sname.size());
  if (matches.empty()) return;

  std::vector<std::u16string> edited;
  edited.reserve(matches.size());
  for (const TRange& match : matches) {
    std::u16string found = sname.substr(match.at, match.length);
    if (Flag(cbFEFromThe)) EditAtPosition(found, rec, ctx);
    if (Flag(cbFEInsert)) InsertAtPhrase(found, rec, ctx);
    edited.push_back(std::move(found));
  }
  for (size_t i = matches.size(); i-- > 0;) {
    sname.replace(matches[i].at, matches[i].length, edited[i]);
  }
}

void TScriptStepFindAndEdit::EditAtPosition(std::u16string& found, RenameRecord& rec,
                                            TScriptContext& ctx) const {
  const long long x = IntegerParam(txtFEX1, 1);
  const long long count = IntegerParam(txtFEY1, 0);
  const std::u16string with = ctx.Expand(Text(txtFEPhrase2), rec);
  if (Choice(cbxFEBeginningEnding) == kFromBeginning) {
    EditFromBeginning(found, x, count, with);
  } else {
    EditFromEnding(found, x, count, with);
  }
}

// Inserts the third phrase at the first match of the fourth one inside
// `found`. An empty fourth phrase finds nothing (with either matcher class);
// an empty match of a regular expression ("^", "(?=\d)") is a place to insert.
void TScriptStepFindAndEdit::InsertAtPhrase(std::u16string& found, RenameRecord& rec,
                                            TScriptContext& ctx) const {
  const std::u16string pattern = ctx.Expand(Text(txtFEPhrase4), rec);
  if (pattern.empty()) return;
  TWildcards& matcher = ctx.Matcher(pattern, 1);
  matcher.SetSearchString(found);
  int start = 0;
  int end = 0;
  if (!matcher.FindFirst(start, end)) return;
  const long long at = std::clamp<long long>(start, 1, static_cast<long long>(found.size()) + 1);
  const long long length = std::max<long long>(0, static_cast<long long>(end) - at + 1);
  long long index = at;
  switch (Choice(cbxFEBeforeAFter)) {
    case kInsertBefore:
      break;
    case kInsertAfter:
      index = at + length;
      break;
    case kInsertReplacing:
      DeleteAt(found, at, length);
      break;
    default:
      return;  // a stored choice outside the list places nothing
  }
  InsertAt(found, ctx.Expand(Text(txtFEPhrase3), rec), index);
}
