#include "cli/UnitStepCatalogue.h"

#include <algorithm>
#include <array>
#include <memory>

#include "engine/UnitScriptStepFactory.h"
#include "platform/UnitText.h"

namespace {

using T = TScriptType;

constexpr std::array<std::u16string_view, kScriptTypeCount> kKindDescriptions = {
    u"Adds a text at the beginning or the end of the name or the extension.",
    u"Inserts a text at a character position of the name or the extension.",
    u"Inserts a text before or after the first match of a phrase in the name.",
    u"Replaces the whole name, the whole extension, or every match of a phrase with a text.",
    u"Kept for scripts that hold it; changes nothing.",
    u"Replaces the run of digits that ends or begins the name.",
    u"Removes a phrase, each of several words, or every digit from the name or the extension.",
    u"Removes a number of characters from the beginning or the end of the name or the extension.",
    u"Keeps only characters X through Y of the name, or removes them.",
    u"Removes everything before or after the first match of a phrase in the name.",
    u"Adds the counter at the beginning or the end of the name.",
    u"Removes or replaces the text of the name that matches an expression built from up to "
    u"three parts (always a regular expression, without regard to case).",
    u"Runs or skips the following enabled steps depending on a condition.",
    u"Kept for scripts that hold it; changes nothing.",
    u"Cuts the whole file name into parts with a mask and builds the new name from the parts "
    u"with a form.",
    u"Selects one piece of the name and moves it to another place in the name.",
    u"Swaps the text before a phrase with the text after it.",
    u"Edits every match of a phrase in the name: replaces characters at a position of it, "
    u"inserts a text at a phrase inside it, or both.",
};

struct TParamDescription {
  TScriptType type;
  std::u16string_view name;
  std::u16string_view text;
};

// One sentence per stored parameter; a test checks that every one has its
// sentence and that no sentence names a parameter that does not exist.
constexpr TParamDescription kParamDescriptions[] = {
    {T::stAddBeginningEnding, u"txtAdd", u"The text to add; may hold meta variables."},
    {T::stAddBeginningEnding, u"cbxAddPart", u"The part that receives the text."},
    {T::stAddBeginningEnding, u"cbxAddAtThe", u"Whether the text goes before or after that part."},
    {T::stAddBeginningEnding, u"cbOnCollision",
     u"Adds the text only when the new name is already another entry's, building it with the "
     u"counter at 2, 3, ... until the name is free."},

    {T::stAddPosition, u"txtAdd", u"The text to insert; may hold meta variables."},
    {T::stAddPosition, u"cbxAddPart", u"The part that receives the text."},
    {T::stAddPosition, u"txtAddPosition",
     u"The 1-based character position (a whole number); beyond the end the text is appended."},
    {T::stAddPosition, u"cbxFromTheBeginningEnding",
     u"Whether the position counts from the beginning or from the end (from the end, position 1 "
     u"lies after the last character)."},

    {T::stAddBeforeAfter, u"txtAdd", u"The text to insert; may hold meta variables."},
    {T::stAddBeforeAfter, u"cbxAddPart",
     u"Shown in the sentence only: the phrase is always searched in the name."},
    {T::stAddBeforeAfter, u"cbxAddPlace", u"Whether the text goes after or before the match."},
    {T::stAddBeforeAfter, u"txtAfter",
     u"The phrase to find (a pattern; may hold meta variables); empty, the step does nothing."},

    {T::stReplaceNameExtension, u"cbxReplacePart",
     u"Replace the entire name, the entire extension, or find the phrase and replace its "
     u"matches."},
    {T::stReplaceNameExtension, u"txtReplacePhrase",
     u"The phrase that Find and Replace searches for (a pattern; may hold meta variables)."},
    {T::stReplaceNameExtension, u"txtReplaceWith",
     u"The new name, extension or replacement of each match; may hold meta variables."},
    {T::stReplaceNameExtension, u"cbxReplaceTarget",
     u"Where Find and Replace searches: the name and the extension, the name only, or the "
     u"extension only."},
    {T::stReplaceNameExtension, u"cbReplaceOnly",
     u"Limits Find and Replace to characters txtRP2X through txtRP2Y of the name."},
    {T::stReplaceNameExtension, u"txtRP2X", u"The first character of that range."},
    {T::stReplaceNameExtension, u"txtRP2Y", u"The last character of that range."},

    {T::stReplaceCharacters, u"txtReplaceChar1", u"Characters to replace; kept, not used."},
    {T::stReplaceCharacters, u"txtReplaceChar2", u"Their replacements; kept, not used."},
    {T::stReplaceCharacters, u"cbxReplaceCharPart", u"The part; kept, not used."},

    {T::stReplaceNumbers, u"cbxNumbers",
     u"Right: the digits that end the name; Left: the digits that begin it."},
    {T::stReplaceNumbers, u"cbxRNSequence",
     u"Replace them by a sequence number (each distinct number gets the next one, padded to the "
     u"number's length) or by the phrase."},
    {T::stReplaceNumbers, u"txtRNWith", u"The phrase; may hold meta variables."},

    {T::stRemoveWords, u"cbxRemovePhrase",
     u"Remove every match of the phrase, every match of each blank-separated word, or every "
     u"digit."},
    {T::stRemoveWords, u"txtRemovePhrase",
     u"The phrase or the blank-separated words (patterns; may hold meta variables)."},
    {T::stRemoveWords, u"cbxRemovePhrasePart", u"The part to remove from."},

    {T::stRemoveBeginningEnding, u"txtR2X", u"How many characters (a whole number)."},
    {T::stRemoveBeginningEnding, u"cbxRemoveCharPosition",
     u"Whether they are taken from the beginning or the end."},
    {T::stRemoveBeginningEnding, u"cbxRemoveCharactersPart",
     u"Whether they are taken from the name or the extension."},
    {T::stRemoveBeginningEnding, u"cbRCReplace",
     u"Puts txtRCReplace where the characters were."},
    {T::stRemoveBeginningEnding, u"txtRCReplace", u"That replacement; may hold meta variables."},
    {T::stRemoveBeginningEnding, u"cbAndStore",
     u"Keeps the removed characters in ?temp? for the following steps."},

    {T::stRemoveSubstring, u"cbxRemoveType",
     u"Everything but: the name becomes characters X through Y; Only: those characters are "
     u"removed."},
    {T::stRemoveSubstring, u"txtR3X", u"X, the first character (a whole number)."},
    {T::stRemoveSubstring, u"txtR3Y", u"Y, the last character (a whole number)."},
    {T::stRemoveSubstring, u"cbAndMove",
     u"Inserts the removed characters again at position txtR3Z."},
    {T::stRemoveSubstring, u"txtR3Z", u"That position (a whole number)."},
    {T::stRemoveSubstring, u"cbAndStoreRM",
     u"Keeps the removed characters in ?temp? for the following steps."},

    {T::stRemoveBeforeAfter, u"cbxBeforeAfter",
     u"Whether everything before or everything after the match goes."},
    {T::stRemoveBeforeAfter, u"txtRemove2Phrase",
     u"The phrase to find (a pattern; may hold meta variables)."},
    {T::stRemoveBeforeAfter, u"cbRBReplace", u"Puts txtRBReplace where the removed text was."},
    {T::stRemoveBeforeAfter, u"txtRBReplace", u"That replacement; may hold meta variables."},
    {T::stRemoveBeforeAfter, u"cbAndStoreRM2",
     u"Keeps the removed text in ?temp? for the following steps."},

    {T::stAddCounter, u"txtAZeros",
     u"How many digits the counter has at least, 1 to 13, padded with zeros."},
    {T::stAddCounter, u"cbxBeginningEnding",
     u"Whether the counter goes before or after the name."},

    {T::stRemoveExpression, u"cbxRERemoveReplace",
     u"Remove the matches, or replace them with txtREWith."},
    {T::stRemoveExpression, u"txtREWith", u"The replacement; may hold meta variables."},
    {T::stRemoveExpression, u"cbxreBegginingEnding",
     u"Where the expression may match: anywhere, at the end or at the beginning of the name."},
    {T::stRemoveExpression, u"cbreThatSTartsWIth", u"Uses the first part (starts with)."},
    {T::stRemoveExpression, u"cbxrePhraseCharacters",
     u"How the first part matches: the phrase, a run of any of the characters, a run of "
     u"characters other than them, or any text ending with the phrase."},
    {T::stRemoveExpression, u"txtrePhraseCharacters",
     u"The first part's phrase or characters; may hold meta variables."},
    {T::stRemoveExpression, u"cbreHasInTheMiddle", u"Uses the second part (middle is)."},
    {T::stRemoveExpression, u"cbxrePhraseCharacters2",
     u"How the second part matches, as for the first."},
    {T::stRemoveExpression, u"txtrePhraseCharacters2", u"The second part's phrase or characters."},
    {T::stRemoveExpression, u"cbreAndEndsWith", u"Uses the third part (ends with)."},
    {T::stRemoveExpression, u"cbxrePhraseCharacters3",
     u"How the third part matches, as for the first."},
    {T::stRemoveExpression, u"txtrePhraseCharacters3", u"The third part's phrase or characters."},
    {T::stRemoveExpression, u"cbreAtThe",
     u"Acts only when the first match touches the chosen end of the name."},
    {T::stRemoveExpression, u"cbreRemoveNumber", u"Acts on match number txtRE1 only."},
    {T::stRemoveExpression, u"txtRE1", u"That match number (a whole number)."},
    {T::stRemoveExpression, u"cbreAndStore",
     u"Keeps the first match (or match number txtRE1) in ?temp? for the following steps."},

    {T::stConditionalExecute, u"cbxCESkipRemove",
     u"Execute: the following steps run only when the condition holds; Skip: they are skipped "
     u"when it holds."},
    {T::stConditionalExecute, u"txtCE1",
     u"How many of the following enabled steps depend on the condition (1 to 100)."},
    {T::stConditionalExecute, u"cbxCECondition",
     u"The condition: the previous step changed the name, the name matches the pattern, or the "
     u"name contains it."},
    {T::stConditionalExecute, u"txtCEText",
     u"The pattern of the two name conditions; may hold meta variables."},

    {T::stSplitAndMove, u"txtFilemask",
     u"The mask matched against the whole file name: * stands for any run of characters, "
     u"[0-9] for a run of digits, [a-z] for a run of letters, every other character for "
     u"itself."},
    {T::stSplitAndMove, u"txtMove",
     u"The form of the new file name: $1, $2, ... stand for the parts the mask's wildcards "
     u"matched; may hold meta variables."},

    {T::stSelectAndMove, u"rbSMBeginningEnding",
     u"Selects txtSMZ1 characters at the beginning or the end of the name."},
    {T::stSelectAndMove, u"cbxSMBeginningEnding", u"Whether at the beginning or the end."},
    {T::stSelectAndMove, u"txtSMZ1", u"How many characters (a whole number)."},
    {T::stSelectAndMove, u"rbSMBeforeAfter",
     u"Selects the text before or after the first match of txtSMPhrase, or the match itself."},
    {T::stSelectAndMove, u"cbxSMBeforeAfter",
     u"Before the match, after it, or the match itself (Find First)."},
    {T::stSelectAndMove, u"txtSMPhrase",
     u"The phrase to find (a pattern; may hold meta variables)."},
    {T::stSelectAndMove, u"rbSMPosition", u"Selects characters txtSMX1 through txtSMY1."},
    {T::stSelectAndMove, u"txtSMX1", u"The first character selected (a whole number)."},
    {T::stSelectAndMove, u"txtSMY1", u"The last character selected (a whole number)."},
    {T::stSelectAndMove, u"rbSMBeginningEnding2",
     u"Moves the selection to the beginning or the end of the rest of the name."},
    {T::stSelectAndMove, u"cbxSMBeginningEnding2", u"Whether to the beginning or the end."},
    {T::stSelectAndMove, u"rbSMBeforeAfter2",
     u"Moves the selection before or after the first match of txtSMPhrase2."},
    {T::stSelectAndMove, u"cbxSMBeforeAfter2", u"Whether before or after that match."},
    {T::stSelectAndMove, u"txtSMPhrase2",
     u"The phrase to find in the rest of the name (a pattern; may hold meta variables)."},
    {T::stSelectAndMove, u"rbSMPosition2", u"Moves the selection to character position txtSMX2."},
    {T::stSelectAndMove, u"txtSMX2", u"That position (a whole number)."},

    {T::stSwap, u"txtSPhrase",
     u"The phrase; the name becomes what followed it, the phrase, then what preceded it."},
    {T::stSwap, u"cbSTrim", u"Trims blanks from the two swapped pieces."},

    {T::stFindAndEdit, u"txtFEPhrase1",
     u"The phrase whose matches are edited (a pattern; may hold meta variables)."},
    {T::stFindAndEdit, u"cbFEFromThe",
     u"Replaces txtFEY1 characters at position txtFEX1 of each match with txtFEPhrase2."},
    {T::stFindAndEdit, u"cbxFEBeginningEnding",
     u"Whether that position counts from the beginning or the end of the match."},
    {T::stFindAndEdit, u"txtFEX1", u"The position (a whole number)."},
    {T::stFindAndEdit, u"txtFEY1", u"How many characters are replaced (a whole number)."},
    {T::stFindAndEdit, u"txtFEPhrase2", u"The replacing text; may hold meta variables."},
    {T::stFindAndEdit, u"cbFEInsert",
     u"Inserts txtFEPhrase3 at the first match of txtFEPhrase4 inside each match."},
    {T::stFindAndEdit, u"txtFEPhrase3", u"The text to insert; may hold meta variables."},
    {T::stFindAndEdit, u"cbxFEBeforeAFter",
     u"Before that inner match, after it, or replacing it."},
    {T::stFindAndEdit, u"txtFEPhrase4",
     u"The phrase to find inside each match (a pattern; may hold meta variables)."},
};

std::u16string_view ParamDescription(TScriptType type, std::u16string_view name) {
  for (const TParamDescription& d : kParamDescriptions) {
    if (d.type == type && d.name == name) return d.text;
  }
  return {};
}

bool StartsWith(std::u16string_view text, std::u16string_view head) {
  return text.substr(0, head.size()) == head;
}

bool AllDigits(std::u16string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(),
                                      [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Where an alias goes when two parameters of a kind share a stem: the text
// keeps the stem, then the choice, then the flag; the others keep their
// whole name.
int AliasPriority(TParamKind kind) {
  switch (kind) {
    case TParamKind::Text: return 0;
    case TParamKind::Choice: return 1;
    case TParamKind::Flag: return 2;
  }
  return 3;
}

// The digits a radio button's name ends in: the buttons of one group of the
// editor share them ("rbSMPosition" with "rbSMBeforeAfter", "rbSMPosition2"
// with "rbSMBeforeAfter2").
int RadioGroupOf(std::u16string_view name) {
  size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= u'0' && name[digits - 1] <= u'9') --digits;
  int group = 0;
  for (size_t i = digits; i < name.size(); ++i) group = group * 10 + (name[i] - u'0');
  return group;
}

std::vector<TStepParamInfo> BuildParameters(TScriptType type) {
  // The declarations are static arrays of each kind, so the pointers outlive
  // the step made to reach them.
  const std::unique_ptr<TScriptStep> step = NewScriptStep(type);
  const auto params = step->Parameters();
  std::vector<TStepParamInfo> infos;
  for (size_t i = 0; i < params.size(); ++i) {
    const TParamDef& def = params[i];
    if (!def.stored) continue;
    TStepParamInfo info;
    info.index = static_cast<int>(i);
    info.def = &def;
    info.alias = ParameterStem(def.name);
    info.description = ParamDescription(type, def.name);
    if (def.kind == TParamKind::Flag && StartsWith(def.name, u"rb")) {
      info.radioGroup = RadioGroupOf(def.name);
    }
    infos.push_back(std::move(info));
  }
  for (TStepParamInfo& info : infos) {
    for (const TStepParamInfo& other : infos) {
      if (&other == &info || ParameterStem(other.def->name) != ParameterStem(info.def->name)) {
        continue;
      }
      if (AliasPriority(other.def->kind) <= AliasPriority(info.def->kind)) {
        info.alias = LowerCase(info.def->name);
      }
    }
  }
  return infos;
}

std::vector<TStepKindInfo> BuildKinds() {
  std::vector<TStepKindInfo> kinds;
  for (int ordinal = 0; ordinal < kScriptTypeCount; ++ordinal) {
    TStepKindInfo kind;
    kind.type = static_cast<TScriptType>(ordinal);
    kind.caption = NewScriptStep(kind.type)->GetShortSentence();
    kind.description = kKindDescriptions[static_cast<size_t>(ordinal)];
    kind.namedByCaption = !kind.caption.empty();
    for (const TStepKindInfo& earlier : kinds) {
      if (SameTextIgnoringCase(earlier.caption, kind.caption)) kind.namedByCaption = false;
    }
    kinds.push_back(std::move(kind));
  }
  return kinds;
}

// The words that name a kind: its caption and, for a caption that joins
// titles with "/" ("Replace/Find and Replace"), what follows each "/".
std::vector<std::u16string> KindNames(const TStepKindInfo& kind) {
  std::vector<std::u16string> names;
  if (!kind.namedByCaption) return names;
  names.push_back(LowerCase(kind.caption));
  for (size_t slash = kind.caption.find(u'/'); slash != std::u16string::npos;
       slash = kind.caption.find(u'/', slash + 1)) {
    names.push_back(LowerCase(std::u16string_view(kind.caption).substr(slash + 1)));
  }
  return names;
}

std::u16string Quoted(std::u16string_view text) { return u"'" + std::u16string(text) + u"'"; }

std::u16string ValidKindsText() {
  std::u16string text = u"valid kinds are a TYPE number 0 to " + IntToStr(kScriptTypeCount - 1) +
                        u" or a caption (or its unique beginning):";
  bool first = true;
  for (const TStepKindInfo& kind : StepKinds()) {
    if (!kind.namedByCaption) continue;
    text += first ? u" " : u", ";
    text += Quoted(kind.caption);
    first = false;
  }
  return text;
}

std::u16string ValidParametersText(TScriptType type) {
  std::u16string text = u"valid names are";
  bool first = true;
  for (const TStepParamInfo& info : StepParameters(type)) {
    text += first ? u" " : u", ";
    text += std::u16string(info.def->name) + u" (" + info.alias + u")";
    first = false;
  }
  return text + (first ? u" enabled" : u", enabled");
}

}  // namespace

std::u16string ParameterStem(std::u16string_view name) {
  std::u16string lower = LowerCase(name);
  for (const std::u16string_view prefix : {u"txt", u"cbx", u"cb", u"rb"}) {
    if (StartsWith(lower, prefix) && lower.size() > prefix.size()) {
      return lower.substr(prefix.size());
    }
  }
  return lower;
}

const std::vector<TStepKindInfo>& StepKinds() {
  static const std::vector<TStepKindInfo> kinds = BuildKinds();
  return kinds;
}

const TStepKindInfo& StepKind(TScriptType type) {
  return StepKinds()[static_cast<size_t>(type)];
}

const std::vector<TStepParamInfo>& StepParameters(TScriptType type) {
  static const std::array<std::vector<TStepParamInfo>, kScriptTypeCount> all = [] {
    std::array<std::vector<TStepParamInfo>, kScriptTypeCount> built;
    for (int ordinal = 0; ordinal < kScriptTypeCount; ++ordinal) {
      built[static_cast<size_t>(ordinal)] = BuildParameters(static_cast<TScriptType>(ordinal));
    }
    return built;
  }();
  return all[static_cast<size_t>(type)];
}

TWordLookup FindStepKind(std::u16string_view word, TScriptType& type) {
  if (AllDigits(word)) {
    int ordinal = -1;
    if (TryStrToInt(word, ordinal) && ScriptTypeFromInt(ordinal, type)) return {true, {}};
    return {false, u"unknown kind " + Quoted(word) + u": " + ValidKindsText()};
  }
  const std::u16string lower = LowerCase(word);
  std::vector<const TStepKindInfo*> exact, begins;
  for (const TStepKindInfo& kind : StepKinds()) {
    bool isExact = false, isPrefix = false;
    for (const std::u16string& name : KindNames(kind)) {
      isExact = isExact || name == lower;
      isPrefix = isPrefix || (!lower.empty() && StartsWith(name, lower));
    }
    if (isExact) exact.push_back(&kind);
    if (isPrefix) begins.push_back(&kind);
  }
  const auto& found = exact.empty() ? begins : exact;
  if (found.size() == 1) {
    type = found.front()->type;
    return {true, {}};
  }
  if (found.empty()) return {false, u"unknown kind " + Quoted(word) + u": " + ValidKindsText()};
  std::u16string error = u"kind " + Quoted(word) + u" is ambiguous: it names";
  for (size_t i = 0; i < found.size(); ++i) {
    error += (i == 0 ? u" " : u", ") + Quoted(found[i]->caption);
  }
  return {false, error};
}

TWordLookup FindStepParameter(TScriptType type, std::u16string_view word, int& position) {
  const std::vector<TStepParamInfo>& params = StepParameters(type);
  const std::u16string lower = LowerCase(word);
  std::vector<int> begins;
  for (size_t i = 0; i < params.size(); ++i) {
    if (LowerCase(params[i].def->name) == lower || params[i].alias == lower) {
      position = static_cast<int>(i);
      return {true, {}};
    }
    if (!lower.empty() && StartsWith(params[i].alias, lower)) begins.push_back(static_cast<int>(i));
  }
  const std::u16string kind = Quoted(StepKind(type).caption.empty()
                                         ? u"TYPE " + IntToStr(static_cast<int>(type))
                                         : StepKind(type).caption);
  if (begins.size() == 1) {
    position = begins.front();
    return {true, {}};
  }
  if (begins.empty()) {
    return {false, kind + u" has no parameter " + Quoted(word) + u": " + ValidParametersText(type)};
  }
  std::u16string error = u"parameter " + Quoted(word) + u" of " + kind + u" is ambiguous: it begins";
  for (size_t i = 0; i < begins.size(); ++i) {
    error += (i == 0 ? u" " : u", ") + params[static_cast<size_t>(begins[i])].alias;
  }
  return {false, error};
}

bool ParseFlagWord(std::u16string_view word, bool& value) {
  const std::u16string lower = LowerCase(word);
  if (lower == u"1" || lower == u"yes" || lower == u"on" || lower == u"true") {
    value = true;
    return true;
  }
  if (lower == u"0" || lower == u"no" || lower == u"off" || lower == u"false") {
    value = false;
    return true;
  }
  return false;
}

TWordLookup ParseChoiceWord(const TParamDef& def, std::u16string_view word, int& value) {
  for (size_t i = 0; i < def.items.size(); ++i) {
    if (SameTextIgnoringCase(def.items[i], word)) {
      value = static_cast<int>(i);
      return {true, {}};
    }
  }
  int index = -1;
  if (AllDigits(word) && TryStrToInt(word, index) && index < static_cast<int>(def.items.size())) {
    value = index;
    return {true, {}};
  }
  return {false, std::u16string(def.name) + u": unknown choice " + Quoted(word) +
                     u": valid choices are " + ChoiceItemsText(def)};
}

std::u16string ChoiceItemsText(const TParamDef& def) {
  std::u16string text;
  for (size_t i = 0; i < def.items.size(); ++i) {
    if (i > 0) text += u", ";
    text += IntToStr(static_cast<long long>(i)) + u" " + Quoted(def.items[i]);
  }
  return text;
}

std::u16string NewStepValueText(const TParamDef& def) {
  switch (def.kind) {
    case TParamKind::Text: return Quoted(def.defaultText);
    case TParamKind::Choice: {
      std::u16string text = IntToStr(def.defaultChoice);
      if (def.defaultChoice >= 0 && def.defaultChoice < static_cast<int>(def.items.size())) {
        text += u" " + Quoted(def.items[static_cast<size_t>(def.defaultChoice)]);
      }
      return text;
    }
    case TParamKind::Flag: return def.defaultFlag ? u"1" : u"0";
  }
  return {};
}

std::u16string SpinRangeText(const TParamDef& def) {
  if (def.kind != TParamKind::Text || def.spinMax <= 0) return {};
  return IntToStr(def.spinMin) + u" to " + IntToStr(def.spinMax);
}

std::u16string_view ParamKindName(TParamKind kind) {
  switch (kind) {
    case TParamKind::Text: return u"text";
    case TParamKind::Choice: return u"choice";
    case TParamKind::Flag: return u"flag";
  }
  return u"";
}
