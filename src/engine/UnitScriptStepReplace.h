// The steps that rewrite parts of the name: "Replace/Find and Replace",
// "Replace Characters" (stored scripts only), "Replace Numbers", "Swap" and
// "Find and Edit".
#pragma once

#include "engine/UnitScriptStep.h"

// The shared base of the replacing kinds; no behaviour of its own.
class TScriptStepReplace : public TScriptStep {
 protected:
  using TScriptStep::TScriptStep;
};

namespace ReplaceItems {
inline constexpr std::u16string_view kReplacePart[] = {
    u"Replace entire Name", u"Replace entire Extension", u"Find and Replace"};
inline constexpr std::u16string_view kReplaceTarget[] = {u"Name or Extension", u"Name",
                                                         u"Extension"};
inline constexpr std::u16string_view kNameExtension[] = {u"Name", u"Extension"};
inline constexpr std::u16string_view kNumbers[] = {u"Right", u"Left"};
inline constexpr std::u16string_view kSequence[] = {u"a sequence number", u"the Phrase"};
inline constexpr std::u16string_view kBeginningEnding[] = {u"Beginning", u"Ending"};
inline constexpr std::u16string_view kBeforeAfterReplacing[] = {u"Before", u"After",
                                                                u"Replacing"};
}  // namespace ReplaceItems

// TYPE 3.
class TScriptStepReplaceNameExtension : public TScriptStepReplace {
 public:
  enum : int {
    cbxReplacePart, txtReplacePhrase, txtReplaceWith, cbxReplaceTarget,
    cbReplaceOnly, txtRP2X, txtRP2Y
  };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxReplacePart", ReplaceItems::kReplacePart, 2),
      TextParam(u"txtReplacePhrase"),
      TextParam(u"txtReplaceWith"),
      ChoiceParam(u"cbxReplaceTarget", ReplaceItems::kReplaceTarget),
      FlagParam(u"cbReplaceOnly", u"only in characters"),
      SpinParam(u"txtRP2X", u"1", 1, 100),
      SpinParam(u"txtRP2Y", u"10", 1, 255),
  };
  TScriptStepReplaceNameExtension()
      : TScriptStepReplace(TScriptType::stReplaceNameExtension, kParams) {}
  std::u16string GetShortSentence() const override { return u"Replace/Find and Replace"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 4: kept for stored scripts; changes nothing.
class TScriptStepReplaceCharacters : public TScriptStepReplace {
 public:
  enum : int { txtReplaceChar1, txtReplaceChar2, cbxReplaceCharPart };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtReplaceChar1"),
      TextParam(u"txtReplaceChar2"),
      ChoiceParam(u"cbxReplaceCharPart", ReplaceItems::kNameExtension),
  };
  TScriptStepReplaceCharacters() : TScriptStepReplace(TScriptType::stReplaceCharacters, kParams) {}
  std::u16string GetShortSentence() const override { return u""; }
  TSentence GetSentence() const override { return {}; }
};

// TYPE 5.
class TScriptStepReplaceNumbers : public TScriptStepReplace {
 public:
  enum : int { cbxNumbers, cbxRNSequence, txtRNWith };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxNumbers", ReplaceItems::kNumbers),
      ChoiceParam(u"cbxRNSequence", ReplaceItems::kSequence, 1),
      TextParam(u"txtRNWith", u"?n02?"),
  };
  TScriptStepReplaceNumbers() : TScriptStepReplace(TScriptType::stReplaceNumbers, kParams) {}
  std::u16string GetShortSentence() const override { return u"Replace Numbers"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 16.
class TScriptStepSwap : public TScriptStepReplace {
 public:
  enum : int { txtSPhrase, cbSTrim };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtSPhrase"),
      FlagParam(u"cbSTrim", u"and trim whitespace ", true),
  };
  TScriptStepSwap() : TScriptStepReplace(TScriptType::stSwap, kParams) {}
  std::u16string GetShortSentence() const override { return u"Swap"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 17.
class TScriptStepFindAndEdit : public TScriptStepReplace {
 public:
  enum : int {
    txtFEPhrase1, cbFEFromThe, cbxFEBeginningEnding, txtFEX1, txtFEY1, txtFEPhrase2,
    cbFEInsert, txtFEPhrase3, cbxFEBeforeAFter, txtFEPhrase4
  };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtFEPhrase1"),
      FlagParam(u"cbFEFromThe", u"replace"),
      ChoiceParam(u"cbxFEBeginningEnding", ReplaceItems::kBeginningEnding),
      TextParam(u"txtFEX1", u"1"),
      TextParam(u"txtFEY1", u"0"),
      TextParam(u"txtFEPhrase2"),
      FlagParam(u"cbFEInsert", u"Insert"),
      TextParam(u"txtFEPhrase3"),
      ChoiceParam(u"cbxFEBeforeAFter", ReplaceItems::kBeforeAfterReplacing),
      TextParam(u"txtFEPhrase4"),
  };
  TScriptStepFindAndEdit() : TScriptStepReplace(TScriptType::stFindAndEdit, kParams) {}
  std::u16string GetShortSentence() const override { return u"Find and Edit"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;

 private:
  // The "replace" part: N characters at position X of one found text.
  void EditAtPosition(std::u16string& found, RenameRecord& rec, TScriptContext& ctx) const;
  // The "Insert" part: the third phrase placed at the fourth phrase's match.
  void InsertAtPhrase(std::u16string& found, RenameRecord& rec, TScriptContext& ctx) const;
};
