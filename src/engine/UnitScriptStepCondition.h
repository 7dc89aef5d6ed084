// "Skip/Execute Steps": makes the following steps depend on a condition. The
// script run evaluates it; the step itself changes nothing.
#pragma once

#include "engine/UnitScriptStep.h"

// The shared base of the condition and "Split and Move"; no behaviour of its own.
class TScriptStepOther : public TScriptStep {
 protected:
  using TScriptStep::TScriptStep;
};

namespace ConditionItems {
inline constexpr std::u16string_view kSkipExecute[] = {u"Execute", u"Skip"};
inline constexpr std::u16string_view kCondition[] = {
    u"previous step changes the name", u"name matches", u"name contains"};
}  // namespace ConditionItems

// TYPE 12.
class TScriptStepConditionExecute : public TScriptStepOther {
 public:
  enum : int { cbxCESkipRemove, txtCE1, cbxCECondition, txtCEText };
  static constexpr TParamDef kParams[] = {
      ChoiceParam(u"cbxCESkipRemove", ConditionItems::kSkipExecute, 0, false),
      SpinParam(u"txtCE1", u"1", 1, 100),
      ChoiceParam(u"cbxCECondition", ConditionItems::kCondition),
      TextParam(u"txtCEText"),
  };
  TScriptStepConditionExecute() : TScriptStepOther(TScriptType::stConditionalExecute, kParams) {}
  std::u16string GetShortSentence() const override { return u"Skip/Execute Steps"; }
  TSentence GetSentence() const override;
};
