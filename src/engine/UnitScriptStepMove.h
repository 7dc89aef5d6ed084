// The steps that rearrange the parts of a name: "Split and Move" (a mask cuts
// the whole file name into parts, a form rebuilds it) and "Select and Move".
#pragma once

#include "engine/UnitScriptStepCondition.h"
#include "engine/UnitScriptStepReplace.h"

// TYPE 14. Always matches with regular expressions.
class TScriptStepSplitAndMove : public TScriptStepOther {
 public:
  enum : int { txtFilemask, txtMove };
  static constexpr TParamDef kParams[] = {
      TextParam(u"txtFilemask"),
      TextParam(u"txtMove"),
  };
  TScriptStepSplitAndMove() : TScriptStepOther(TScriptType::stSplitAndMove, kParams) {}
  std::u16string GetShortSentence() const override { return u"Split and Move"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};

namespace MoveItems {
inline constexpr std::u16string_view kBeginningEnding[] = {u"Beginning", u"Ending"};
inline constexpr std::u16string_view kBeforeAfterFind[] = {u"Before", u"After", u"Find First"};
inline constexpr std::u16string_view kBeforeAfter[] = {u"Before", u"After"};
}  // namespace MoveItems

// TYPE 15. One radio button of each group is on; Reset changes nothing.
class TScriptStepSelectAndMove : public TScriptStepReplace {
 public:
  enum : int {
    rbSMBeginningEnding, cbxSMBeginningEnding, txtSMZ1,
    rbSMBeforeAfter, cbxSMBeforeAfter, txtSMPhrase,
    rbSMPosition, txtSMX1, txtSMY1,
    rbSMBeginningEnding2, cbxSMBeginningEnding2,
    rbSMBeforeAfter2, cbxSMBeforeAfter2, txtSMPhrase2,
    rbSMPosition2, txtSMX2
  };
  static constexpr TParamDef kParams[] = {
      FlagParam(u"rbSMBeginningEnding", u"", false, false),
      ChoiceParam(u"cbxSMBeginningEnding", MoveItems::kBeginningEnding, 0, false),
      SpinParam(u"txtSMZ1", u"1", 0, 100, false),
      FlagParam(u"rbSMBeforeAfter", u"", true, false),
      ChoiceParam(u"cbxSMBeforeAfter", MoveItems::kBeforeAfterFind, 0, false),
      TextParam(u"txtSMPhrase", u"", false),
      FlagParam(u"rbSMPosition", u"Position", false, false),
      TextParam(u"txtSMX1", u"1", false),
      TextParam(u"txtSMY1", u"10", false),
      FlagParam(u"rbSMBeginningEnding2", u"", true, false),
      ChoiceParam(u"cbxSMBeginningEnding2", MoveItems::kBeginningEnding, 0, false),
      FlagParam(u"rbSMBeforeAfter2", u"", false, false),
      ChoiceParam(u"cbxSMBeforeAfter2", MoveItems::kBeforeAfter, 0, false),
      TextParam(u"txtSMPhrase2", u"", false),
      FlagParam(u"rbSMPosition2", u"Position", false, false),
      TextParam(u"txtSMX2", u"1", false),
  };
  TScriptStepSelectAndMove() : TScriptStepReplace(TScriptType::stSelectAndMove, kParams) {}
  std::u16string GetShortSentence() const override { return u"Select and Move"; }
  TSentence GetSentence() const override;
  void Execute(std::u16string& sname, std::u16string& ext, RenameRecord& rec,
               TScriptContext& ctx) override;
};
