// The steps that insert text without removing any: "Add to Beginning/Ending",
// "Add by Position", "Add Before/After" and "Add Counter".
#pragma once

#include "engine/UnitScriptStep.h"

namespace AddItems {
inline constexpr std::u16string_view kPart[] = {u"Name", u"Extension"};
inline constexpr std::u16string_view kBeginningEnding[] = {u"Beginning", u"Ending"};
inline constexpr std::u16string_view kPlace[] = {u"After", u"Before"};
}  // namespace AddItems

// The shared base of the three text-adding kinds; no behaviour of its own.
class TScriptStepAdd : public TScriptStep {
 protected:
  using TScriptStep::TScriptStep;
};

// TYPE 0. With cbOnCollision the text is added only by the collision pass of
// the script run.
class TScriptStepAddBeginningEnding : public TScriptStepAdd {
 public:
  enum : int { txtAdd, cbxAddPart, cbxAddAtThe, cbOnCollision };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtAdd"),
      ChoiceParam(u"cbxAddPart", AddItems::kPart, 0, false),
      ChoiceParam(u"cbxAddAtThe", AddItems::kBeginningEnding),
      FlagParam(u"cbOnCollision", u"Only on a name collision"),
  };
  TScriptStepAddBeginningEnding() : TScriptStepAdd(TScriptType::stAddBeginningEnding, kParams) {}
  std::u16string GetShortSentence() const override { return u"Add to Beginning/Ending"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 1.
class TScriptStepAddPosition : public TScriptStepAdd {
 public:
  enum : int { txtAdd, cbxAddPart, txtAddPosition, cbxFromTheBeginningEnding };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtAdd", u"", false),
      ChoiceParam(u"cbxAddPart", AddItems::kPart, 0, false),
      TextParam(u"txtAddPosition", u"1"),
      ChoiceParam(u"cbxFromTheBeginningEnding", AddItems::kBeginningEnding),
  };
  TScriptStepAddPosition() : TScriptStepAdd(TScriptType::stAddPosition, kParams) {}
  std::u16string GetShortSentence() const override { return u"Add by Position"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 2. Works on the name whatever cbxAddPart says.
class TScriptStepAddBeforeAfter : public TScriptStepAdd {
 public:
  enum : int { txtAdd, cbxAddPart, cbxAddPlace, txtAfter };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtAdd", u"", false),
      ChoiceParam(u"cbxAddPart", AddItems::kPart, 0, false),
      ChoiceParam(u"cbxAddPlace", AddItems::kPlace),
      TextParam(u"txtAfter"),
  };
  TScriptStepAddBeforeAfter() : TScriptStepAdd(TScriptType::stAddBeforeAfter, kParams) {}
  std::u16string GetShortSentence() const override { return u"Add Before/After"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

// TYPE 10. The spin control AUDZeros (1 to 13) follows txtAZeros and holds the
// digit count that Execute uses.
class TScriptStepAddCounter : public TScriptStep {
 public:
  enum : int { txtAZeros, cbxBeginningEnding };
  static constexpr TParamDef kParams[] = {
      SpinParam(u"txtAZeros", u"2", 1, 13),
      ChoiceParam(u"cbxBeginningEnding", AddItems::kBeginningEnding),
  };
  TScriptStepAddCounter() : TScriptStep(TScriptType::stAddCounter, kParams) {}
  std::u16string GetShortSentence() const override { return u"Add Counter"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
  int AUDZeros = 2;

 protected:
  void ParameterChanged(int index) override;
};
