// The steps that cut text out of the name or extension, optionally replacing it
// or keeping it in "?temp?": "Remove/Replace Expression", "Remove
// Words/Numbers", "Remove Beginning/Ending", "Remove by Position", "Remove
// Before/After" and the stored-only TYPE 13.
#pragma once

#include "engine/UnitScriptStep.h"

// The shared base of the removing kinds; no behaviour of its own.
class TScriptStepRemove : public TScriptStep {
 protected:
  using TScriptStep::TScriptStep;
};

namespace RemoveItems {
inline constexpr std::u16string_view kRemoveReplace[] = {u"Remove", u"Replace"};
inline constexpr std::u16string_view kWhere[] = {u"Anywhere in", u"at the Ending of",
                                                 u"at the Beginning of"};
inline constexpr std::u16string_view kPhraseCharacters[] = {
    u"the Phrase", u"any of the characters", u"all characters except", u"a Phrase ending with"};
// The third list spells its third item differently.
inline constexpr std::u16string_view kPhraseCharacters3[] = {
    u"the Phrase", u"any of the characters", u"all charactesr except", u"a Phrase ending with"};
inline constexpr std::u16string_view kRemovePhrase[] = {u"the Phrase", u"any of the Words",
                                                        u"all Numbers"};
inline constexpr std::u16string_view kNameExtension[] = {u"Name", u"Extension"};
inline constexpr std::u16string_view kBeginningEnding[] = {u"Beginning", u"Ending"};
inline constexpr std::u16string_view kNamesExtensions[] = {u"Name's", u"Extension's"};
inline constexpr std::u16string_view kRemoveType[] = {u"Everything but", u"Only"};
inline constexpr std::u16string_view kBeforeAfter[] = {u"Before", u"After"};
inline constexpr std::u16string_view kCharactersType[] = {u"the characters",
                                                          u"any character except"};
}  // namespace RemoveItems

// TYPE 11. Always matches with regular expressions.
class TScriptStepRemoveExpression : public TScriptStepRemove {
 public:
  enum : int {
    cbxRERemoveReplace, txtREWith, cbxreBegginingEnding,
    cbreThatSTartsWIth, cbxrePhraseCharacters, txtrePhraseCharacters,
    cbreHasInTheMiddle, cbxrePhraseCharacters2, txtrePhraseCharacters2,
    cbreAndEndsWith, cbxrePhraseCharacters3, txtrePhraseCharacters3,
    cbreAtThe, cbreRemoveNumber, txtRE1, cbreAndStore
  };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxRERemoveReplace", RemoveItems::kRemoveReplace),
      TextParam(u"txtREWith"),
      ChoiceParam(u"cbxreBegginingEnding", RemoveItems::kWhere),
      FlagParam(u"cbreThatSTartsWIth", u"starts with"),
      ChoiceParam(u"cbxrePhraseCharacters", RemoveItems::kPhraseCharacters, 0),
      TextParam(u"txtrePhraseCharacters"),
      FlagParam(u"cbreHasInTheMiddle", u"middle is"),
      ChoiceParam(u"cbxrePhraseCharacters2", RemoveItems::kPhraseCharacters, 1),
      TextParam(u"txtrePhraseCharacters2"),
      FlagParam(u"cbreAndEndsWith", u"ends with"),
      ChoiceParam(u"cbxrePhraseCharacters3", RemoveItems::kPhraseCharacters3, 0),
      TextParam(u"txtrePhraseCharacters3"),
      FlagParam(u"cbreAtThe", u"at the"),
      FlagParam(u"cbreRemoveNumber", u"Only remove/replace expression #"),
      SpinParam(u"txtRE1", u"1", 1, 100),
      FlagParam(u"cbreAndStore", u"Save in ?temp? variable"),
  };
  TScriptStepRemoveExpression() : TScriptStepRemove(TScriptType::stRemoveExpression, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove/Replace Expression"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// Escapes `text` for use inside a regular expression: each of $()*+.?[\]^|
// becomes "\x" and two upper-case hexadecimal digits; everything else stays.
std::u16string EscapeForExpression(std::u16string_view text);

// Position arithmetic shared by the removing and moving steps. Positions are
// 1-based and may be any int: ranges are clipped to the text, so no value
// reads outside it.
namespace StepText {
// Characters `first` through `last` of `text` that exist; empty when last < first.
std::u16string Characters(std::u16string_view text, int first, int last);
// Deletes the characters that Characters(text, first, last) returns.
void DeleteCharacters(std::u16string& text, int first, int last);
// Inserts `piece` before character `position`: below 1 at the start, beyond
// the end appended.
void InsertAt(std::u16string& text, std::u16string_view piece, int position);
}  // namespace StepText

// TYPE 6.
class TScriptStepRemoveWords : public TScriptStepRemove {
 public:
  enum : int { cbxRemovePhrase, txtRemovePhrase, cbxRemovePhrasePart };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxRemovePhrase", RemoveItems::kRemovePhrase),
      TextParam(u"txtRemovePhrase"),
      ChoiceParam(u"cbxRemovePhrasePart", RemoveItems::kNameExtension),
  };
  TScriptStepRemoveWords() : TScriptStepRemove(TScriptType::stRemoveWords, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove Words/Numbers"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 7 "Remove Beginning/Ending".
class TScriptStepRemoveCharacters : public TScriptStepRemove {
 public:
  enum : int {
    txtR2X, cbxRemoveCharPosition, cbxRemoveCharactersPart, cbRCReplace, txtRCReplace, cbAndStore
  };
  static constexpr TParamDef kParams[] = {
      SpinParam(u"txtR2X", u"1", 0, 100),
      ChoiceParam(u"cbxRemoveCharPosition", RemoveItems::kBeginningEnding),
      ChoiceParam(u"cbxRemoveCharactersPart", RemoveItems::kNamesExtensions),
      FlagParam(u"cbRCReplace", u"Replace with ", false, false),
      TextParam(u"txtRCReplace", u"", false),
      FlagParam(u"cbAndStore", u"Save in ?temp? variable"),
  };
  TScriptStepRemoveCharacters()
      : TScriptStepRemove(TScriptType::stRemoveBeginningEnding, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove Beginning/Ending"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 8 "Remove by Position".
class TScriptStepRemoveSubstring : public TScriptStepRemove {
 public:
  enum : int { cbxRemoveType, txtR3X, txtR3Y, cbAndMove, txtR3Z, cbAndStoreRM };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxRemoveType", RemoveItems::kRemoveType, 1),
      SpinParam(u"txtR3X", u"1", 1, 100),
      SpinParam(u"txtR3Y", u"10", 1, 100),
      FlagParam(u"cbAndMove", u"Move to position"),
      SpinParam(u"txtR3Z", u"1", 1, 100),
      FlagParam(u"cbAndStoreRM", u"Save in ?temp? variable"),
  };
  TScriptStepRemoveSubstring() : TScriptStepRemove(TScriptType::stRemoveSubstring, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove by Position"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 9.
class TScriptStepRemoveBeforeAfter : public TScriptStepRemove {
 public:
  enum : int { cbxBeforeAfter, txtRemove2Phrase, cbRBReplace, txtRBReplace, cbAndStoreRM2 };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxBeforeAfter", RemoveItems::kBeforeAfter),
      TextParam(u"txtRemove2Phrase"),
      FlagParam(u"cbRBReplace", u"Replace with ", false, false),
      TextParam(u"txtRBReplace", u"", false),
      FlagParam(u"cbAndStoreRM2", u"Save in ?temp? variable"),
  };
  TScriptStepRemoveBeforeAfter() : TScriptStepRemove(TScriptType::stRemoveBeforeAfter, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove Before/After"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 13: loaded and saved with its kind and enabled flag only; never runs.
class TScriptStepRemoveWordNumber : public TScriptStepRemove {
 public:
  enum : int { txtRW1, cbxrwCharactersType, txtrwCharacters, cbrwStoreTemp };
  static constexpr TParamDef kParams[] = {
      [] { auto d = TextParam(u"txtRW1", u"1"); d.stored = false; return d; }(),
      [] { auto d = ChoiceParam(u"cbxrwCharactersType", RemoveItems::kCharactersType);
           d.stored = false; return d; }(),
      [] { auto d = TextParam(u"txtrwCharacters"); d.stored = false; return d; }(),
      [] { auto d = FlagParam(u"cbrwStoreTemp", u"and store in ?temp? variable");
           d.stored = false; return d; }(),
  };
  TScriptStepRemoveWordNumber() : TScriptStepRemove(TScriptType::stRemoveWordNumber, kParams) {}
  std::u16string GetShortSentence() const override { return u"Remove Words/Numbers"; }
  TSentence GetSentence() const override { return {}; }
};
