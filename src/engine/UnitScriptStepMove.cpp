#include "engine/UnitScriptStepMove.h"

#include <algorithm>
#include <initializer_list>

#include "engine/UnitScriptContext.h"
#include "engine/UnitScriptStepRemove.h"
#include "matching/UnitWildcards.h"
#include "platform/UnitText.h"

namespace {

using TSM = TScriptStepSelectAndMove;

// The mask's wildcards as the escaping writes them, and the groups they become.
constexpr std::u16string_view kEscapedStar = u"\\x2A";
constexpr std::u16string_view kEscapedDigits = u"\\x5B0-9\\x5D";
constexpr std::u16string_view kEscapedLetters = u"\\x5Ba-z\\x5D";

std::u16string MaskExpression(std::u16string_view mask) {
  std::u16string e = u"^" + EscapeForExpression(mask) + u"$";
  e = ReplaceAll(e, kEscapedStar, u"(.+?)");
  e = ReplaceAll(e, kEscapedDigits, u"([0-9]+)");
  return ReplaceAll(e, kEscapedLetters, u"([a-zA-Z]+)");
}

// A 1-based match range as 0-based offsets [begin, end) clipped to `length`.
struct TSpan {
  size_t begin = 0;
  size_t end = 0;
};

bool FindFirstIn(TWildcards& matcher, std::u16string_view text, TSpan& span) {
  matcher.SetSearchString(text);
  int startIndex = 0;
  int endIndex = 0;
  if (!matcher.FindFirst(startIndex, endIndex)) return false;
  span.begin = std::min(static_cast<size_t>(std::max(startIndex - 1, 0)), text.size());
  span.end = std::clamp(static_cast<size_t>(std::max(endIndex, 0)), span.begin, text.size());
  return true;
}

// The first radio button of a group that is on, or -1 when none is.
int ChosenRadio(const TSM& step, std::initializer_list<int> radios) {
  for (const int radio : radios) {
    if (step.Flag(radio)) return radio;
  }
  return -1;
}

int SelectionRadio(const TSM& step) {
  return ChosenRadio(step, {TSM::rbSMBeginningEnding, TSM::rbSMBeforeAfter, TSM::rbSMPosition});
}

int DestinationRadio(const TSM& step) {
  return ChosenRadio(step, {TSM::rbSMBeginningEnding2, TSM::rbSMBeforeAfter2, TSM::rbSMPosition2});
}

// Takes the first or last k characters of `s` into `piece`.
void SelectBeginningEnding(const TSM& step, std::u16string& s, std::u16string& piece) {
  const size_t k =
      std::min(static_cast<size_t>(std::max(step.IntegerParam(TSM::txtSMZ1, 0), 0)), s.size());
  const size_t at = step.Choice(TSM::cbxSMBeginningEnding) == 1 ? s.size() - k : 0;
  piece = s.substr(at, k);
  s.erase(at, k);
}

// Takes the text before, after or at the first match of the phrase. False when
// the phrase is not found.
bool SelectBeforeAfter(const TSM& step, const RenameRecord& rec, TScriptContext& ctx,
                       std::u16string& s, std::u16string& piece) {
  TSpan match;
  if (!FindFirstIn(ctx.Matcher(ctx.Expand(step.Text(TSM::txtSMPhrase), rec)), s, match)) {
    return false;
  }
  switch (step.Choice(TSM::cbxSMBeforeAfter)) {
    case 1: piece = s.substr(match.end); s.erase(match.end); break;
    case 2:
      piece = s.substr(match.begin, match.end - match.begin);
      s.erase(match.begin, match.end - match.begin);
      break;
    default: piece = s.substr(0, match.begin); s.erase(0, match.begin); break;
  }
  return true;
}

// Puts `piece` into `s` at the destination. False when the destination phrase
// is not found or no destination is chosen.
bool MoveTo(const TSM& step, const RenameRecord& rec, TScriptContext& ctx, std::u16string& s,
            const std::u16string& piece) {
  switch (DestinationRadio(step)) {
    case TSM::rbSMBeginningEnding2:
      s = step.Choice(TSM::cbxSMBeginningEnding2) == 1 ? s + piece : piece + s;
      return true;
    case TSM::rbSMBeforeAfter2: {
      TSpan match;
      if (!FindFirstIn(ctx.Matcher(ctx.Expand(step.Text(TSM::txtSMPhrase2), rec), 1), s, match)) {
        return false;
      }
      s.insert(step.Choice(TSM::cbxSMBeforeAfter2) == 1 ? match.end : match.begin, piece);
      return true;
    }
    case TSM::rbSMPosition2:
      StepText::InsertAt(s, piece, step.IntegerParam(TSM::txtSMX2, 1));
      return true;
    default: return false;
  }
}

}  // namespace

// --- TYPE 14 Split and Move ------------------------------------------------

TSentence TScriptStepSplitAndMove::GetSentence() const {
  return {LabelWord(u"Split the name using the filemask"), TextWord(txtFilemask),
          LabelWord(u"Move the parts using the form"), TextWord(txtMove)};
}

void TScriptStepSplitAndMove::Execute(std::u16string& sname, std::u16string& ext,
                                      RenameRecord& rec, TScriptContext& ctx) {
  if (Text(txtFilemask).empty() || Text(txtMove).empty()) return;
  const std::u16string form = ctx.Expand(Text(txtMove), rec);
  TWildcards& matcher = ctx.RegExpMatcher(MaskExpression(Text(txtFilemask)));
  TSpan match;
  // A mask that does not match (or does not compile) leaves name and
  // extension exactly as they were, however the name would split.
  if (!FindFirstIn(matcher, sname + ext, match)) return;
  const std::u16string result = matcher.SearchReplaceWith(form, false);
  const size_t dot = result.rfind(u'.');
  if (dot == std::u16string::npos) {
    sname = result;
    ext.clear();
  } else {
    sname = result.substr(0, dot);
    ext = result.substr(dot);
  }
}

// --- TYPE 15 Select and Move -----------------------------------------------

TSentence TScriptStepSelectAndMove::GetSentence() const {
  TSentence words{LabelWord(u"Select text")};
  switch (SelectionRadio(*this)) {
    case rbSMBeginningEnding:
      words.insert(words.end(), {ChoiceWord(cbxSMBeginningEnding), LabelWord(u"characters"),
                                 TextWord(txtSMZ1)});
      break;
    case rbSMBeforeAfter:
      words.insert(words.end(), {ChoiceWord(cbxSMBeforeAfter), TextWord(txtSMPhrase)});
      break;
    case rbSMPosition:
      words.insert(words.end(), {FlagWord(rbSMPosition), TextWord(txtSMX1), LabelWord(u"thru"),
                                 TextWord(txtSMY1)});
      break;
    default: break;
  }
  words.push_back(LabelWord(u"Move to"));
  switch (DestinationRadio(*this)) {
    case rbSMBeginningEnding2: words.push_back(ChoiceWord(cbxSMBeginningEnding2)); break;
    case rbSMBeforeAfter2:
      words.insert(words.end(), {ChoiceWord(cbxSMBeforeAfter2), TextWord(txtSMPhrase2)});
      break;
    case rbSMPosition2:
      words.insert(words.end(), {FlagWord(rbSMPosition2), TextWord(txtSMX2)});
      break;
    default: break;
  }
  return words;
}

void TScriptStepSelectAndMove::Execute(std::u16string& sname, std::u16string& /*ext*/,
                                       RenameRecord& rec, TScriptContext& ctx) {
  rec.selectedposition = rec.changedcount;
  std::u16string s = sname;
  std::u16string piece;
  switch (SelectionRadio(*this)) {
    case rbSMBeginningEnding: SelectBeginningEnding(*this, s, piece); break;
    case rbSMBeforeAfter:
      if (!SelectBeforeAfter(*this, rec, ctx, s, piece)) return;
      break;
    case rbSMPosition: {
      const int x = IntegerParam(txtSMX1, 1);
      const int y = IntegerParam(txtSMY1, 1);
      piece = StepText::Characters(s, x, y);
      StepText::DeleteCharacters(s, x, y);
      break;
    }
    default: return;
  }
  // An empty selection (including an empty match of the phrase) moves nothing.
  if (piece.empty()) return;
  if (MoveTo(*this, rec, ctx, s, piece)) sname = std::move(s);
}
