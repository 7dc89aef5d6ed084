// The step kinds as the command line names them: each kind's caption and the
// words that name it, the stored parameters with their short aliases, how a
// value is written on the command line, and one sentence on what each kind and
// each parameter does. --add-step, --steps and the manual page read it, so
// they cannot disagree with each other or with the kinds' own declarations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/UnitScriptStep.h"

struct TStepKindInfo {
  TScriptType type = TScriptType::stAddBeginningEnding;
  std::u16string caption;         // the kind's GetShortSentence; may be empty
  // False for a kind that only its TYPE number names: its caption is empty or
  // an earlier kind has the same one.
  bool namedByCaption = true;
  std::u16string_view description;  // one sentence
};

struct TStepParamInfo {
  int index = 0;                  // into the kind's TScriptStep::Parameters()
  const TParamDef* def = nullptr; // the kind's declaration (static storage)
  std::u16string alias;           // the short name, lower case
  std::u16string_view description;  // one sentence
  // Radio buttons (names beginning "rb") of one kind with the same number
  // are one group; -1 for every other parameter.
  int radioGroup = -1;
};

// The eighteen kinds in TYPE order.
const std::vector<TStepKindInfo>& StepKinds();
const TStepKindInfo& StepKind(TScriptType type);
// The parameters of `type` that script files store, in declaration order.
const std::vector<TStepParamInfo>& StepParameters(TScriptType type);

// The alias of a parameter name before clashes are settled: the name in
// lower case without its "txt", "cbx", "cb" or "rb" prefix.
std::u16string ParameterStem(std::u16string_view name);

// The result of looking a word up; `error` says why it failed, naming the
// word and what would have been valid.
struct TWordLookup {
  bool ok = false;
  std::u16string error;
};

// KIND as --add-step takes it: a TYPE number, or a caption (or the part of
// a caption after a "/", as "Find and Replace") compared without regard to
// case, or the unique beginning of one.
TWordLookup FindStepKind(std::u16string_view word, TScriptType& type);
// NAME: the stored name or the alias, without regard to case, or the unique
// beginning of an alias. `position` receives the index into StepParameters.
TWordLookup FindStepParameter(TScriptType type, std::u16string_view word, int& position);

// A flag value: 1/0, yes/no, on/off, true/false, without regard to case.
bool ParseFlagWord(std::u16string_view word, bool& value);
inline constexpr std::u16string_view kFlagWords = u"1, 0, yes, no, on, off, true, false";
// A choice value: an item's text without regard to case, or its 0-based index.
TWordLookup ParseChoiceWord(const TParamDef& def, std::u16string_view word, int& value);
// "0 'Name', 1 'Extension'".
std::u16string ChoiceItemsText(const TParamDef& def);
// The value a new step has, as --steps and the manual show it: a text in
// single quotes, a choice as its index and item, a flag as 1 or 0.
std::u16string NewStepValueText(const TParamDef& def);
// A whole-number text parameter's range ("1 to 100"), empty for the others.
std::u16string SpinRangeText(const TParamDef& def);
std::u16string_view ParamKindName(TParamKind kind);
