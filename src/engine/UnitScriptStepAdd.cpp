#include "engine/UnitScriptStepAdd.h"

#include <algorithm>

#include "engine/UnitScriptContext.h"
#include "matching/UnitWildcards.h"
#include "platform/UnitText.h"

namespace {

constexpr int kName = 0;       // cbxAddPart "Name"
constexpr int kBeginning = 0;  // "Beginning" of the Beginning/Ending choices
constexpr int kAfter = 0;      // cbxAddPlace "After"

// Inserts `text` before the 1-based character `index`; an index below 1
// inserts at the start, one beyond the end appends. 64-bit so that positions
// computed from extreme parameters cannot overflow.
void InsertAt(std::u16string& s, std::u16string_view text, long long index) {
  const long long at = std::clamp<long long>(index - 1, 0, static_cast<long long>(s.size()));
  s.insert(static_cast<size_t>(at), text);
}

}  // namespace

// --- TYPE 0 ---------------------------------------------------------------

TSentence TScriptStepAddBeginningEnding::GetSentence() const {
  TSentence words = {LabelWord(u"Add"), TextWord(txtAdd), LabelWord(u"to the"),
                     ChoiceWord(cbxAddPart), ChoiceWord(cbxAddAtThe)};
  if (Flag(cbOnCollision)) words.push_back(FlagWord(cbOnCollision));
  return words;
}

void TScriptStepAddBeginningEnding::Execute(std::u16string& sname, std::u16string& ext,
                                            RenameRecord& rec, TScriptContext& ctx) {
  // The collision pass of the script run adds the text in this mode.
  if (Flag(cbOnCollision)) return;
  const std::u16string text = ctx.Expand(Text(txtAdd), rec);
  const bool atBeginning = Choice(cbxAddAtThe) == kBeginning;
  if (Choice(cbxAddPart) == kName) {
    InsertAt(sname, text, atBeginning ? 1 : static_cast<long long>(sname.size()) + 1);
  } else {
    // The extension's beginning is right after its dot.
    InsertAt(ext, text, atBeginning ? 2 : static_cast<long long>(ext.size()) + 1);
  }
}

// --- TYPE 1 ---------------------------------------------------------------

TSentence TScriptStepAddPosition::GetSentence() const {
  return {LabelWord(u"Add"),
          TextWord(txtAdd),
          LabelWord(u"to the"),
          ChoiceWord(cbxAddPart),
          LabelWord(u"at character position"),
          TextWord(txtAddPosition)};
}

void TScriptStepAddPosition::Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
                                     TScriptContext& ctx) {
  const long long position = IntegerParam(txtAddPosition, 1);
  const bool fromBeginning = Choice(cbxFromTheBeginningEnding) == kBeginning;
  std::u16string& target = Choice(cbxAddPart) == kName ? sname : ext;
  // From the Ending, position 1 lies after the last character.
  long long index = fromBeginning ? position : static_cast<long long>(target.size()) - position + 2;
  // Counted from the Beginning, extension positions start after the dot.
  if (&target == &ext && fromBeginning) ++index;
  InsertAt(target, ctx.Expand(Text(txtAdd), rec), index);
}

// --- TYPE 2 ---------------------------------------------------------------

TSentence TScriptStepAddBeforeAfter::GetSentence() const {
  return {LabelWord(u"Add"),      TextWord(txtAdd),       LabelWord(u"to the"),
          ChoiceWord(cbxAddPart), LabelWord(u"place it"), ChoiceWord(cbxAddPlace),
          TextWord(txtAfter)};
}

// Always works on the name: the phrase is searched in the name only, whatever
// cbxAddPart says.
void TScriptStepAddBeforeAfter::Execute(std::u16string& sname, std::u16string&, RenameRecord& rec,
                                        TScriptContext& ctx) {
  if (Text(txtAfter).empty()) return;
  TWildcards& matcher = ctx.Matcher(ctx.Expand(Text(txtAfter), rec));
  matcher.SetSearchString(sname);
  // Counter variables of this and later steps count the entries changed so far.
  rec.selectedposition = rec.changedcount;
  int start = 0;
  int end = 0;
  if (!matcher.FindFirst(start, end)) return;
  const std::u16string text = ctx.Expand(Text(txtAdd), rec);
  InsertAt(sname, text, Choice(cbxAddPlace) == kAfter ? static_cast<long long>(end) + 1 : start);
}

// --- TYPE 10 --------------------------------------------------------------

TSentence TScriptStepAddCounter::GetSentence() const {
  return {LabelWord(u"Add a counter,  padded to "), TextWord(txtAZeros),
          LabelWord(u"digits, to the"), ChoiceWord(cbxBeginningEnding), LabelWord(u"of the name.")};
}

void TScriptStepAddCounter::Execute(std::u16string& sname, std::u16string&, RenameRecord& rec,
                                    TScriptContext& ctx) {
  // The counter variable with two digits at least in its name: "?n02?", "?n13?".
  std::u16string variable = u"?n" + IntToStr(AUDZeros) + u"?";
  if (variable.size() == 4) variable.insert(2, u"0");
  const std::u16string counter = ctx.Expand(variable, rec);
  if (Choice(cbxBeginningEnding) == kBeginning) {
    sname.insert(0, counter);
  } else {
    sname += counter;
  }
}

// The spin control follows the text, within its range.
void TScriptStepAddCounter::ParameterChanged(int index) {
  if (index != txtAZeros) return;
  const TParamDef& def = Parameters()[txtAZeros];
  AUDZeros = std::clamp(IntegerParam(txtAZeros, 2), def.spinMin, def.spinMax);
}
