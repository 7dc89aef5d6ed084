#include "engine/UnitScriptStepCondition.h"

TSentence TScriptStepConditionExecute::GetSentence() const {
  TSentence s = {ChoiceWord(cbxCESkipRemove), LabelWord(u"the next"), TextWord(txtCE1),
                 LabelWord(u"steps"), LabelWord(u"if the "), ChoiceWord(cbxCECondition)};
  if (Choice(cbxCECondition) != 0) s.push_back(TextWord(txtCEText));
  return s;
}
