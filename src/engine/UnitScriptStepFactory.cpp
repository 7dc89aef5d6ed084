#include "engine/UnitScriptStepFactory.h"

#include "engine/UnitScriptStepAdd.h"
#include "engine/UnitScriptStepCondition.h"
#include "engine/UnitScriptStepMove.h"
#include "engine/UnitScriptStepRemove.h"
#include "engine/UnitScriptStepReplace.h"

std::unique_ptr<TScriptStep> NewScriptStep(TScriptType type) {
  switch (type) {
    case TScriptType::stAddBeginningEnding: return std::make_unique<TScriptStepAddBeginningEnding>();
    case TScriptType::stAddPosition: return std::make_unique<TScriptStepAddPosition>();
    case TScriptType::stAddBeforeAfter: return std::make_unique<TScriptStepAddBeforeAfter>();
    case TScriptType::stReplaceNameExtension:
      return std::make_unique<TScriptStepReplaceNameExtension>();
    case TScriptType::stReplaceCharacters: return std::make_unique<TScriptStepReplaceCharacters>();
    case TScriptType::stReplaceNumbers: return std::make_unique<TScriptStepReplaceNumbers>();
    case TScriptType::stRemoveWords: return std::make_unique<TScriptStepRemoveWords>();
    case TScriptType::stRemoveBeginningEnding: return std::make_unique<TScriptStepRemoveCharacters>();
    case TScriptType::stRemoveSubstring: return std::make_unique<TScriptStepRemoveSubstring>();
    case TScriptType::stRemoveBeforeAfter: return std::make_unique<TScriptStepRemoveBeforeAfter>();
    case TScriptType::stAddCounter: return std::make_unique<TScriptStepAddCounter>();
    case TScriptType::stRemoveExpression: return std::make_unique<TScriptStepRemoveExpression>();
    case TScriptType::stConditionalExecute: return std::make_unique<TScriptStepConditionExecute>();
    case TScriptType::stRemoveWordNumber: return std::make_unique<TScriptStepRemoveWordNumber>();
    case TScriptType::stSplitAndMove: return std::make_unique<TScriptStepSplitAndMove>();
    case TScriptType::stSelectAndMove: return std::make_unique<TScriptStepSelectAndMove>();
    case TScriptType::stSwap: return std::make_unique<TScriptStepSwap>();
    case TScriptType::stFindAndEdit: return std::make_unique<TScriptStepFindAndEdit>();
  }
  return nullptr;
}

bool ScriptTypeFromInt(int ordinal, TScriptType& type) {
  if (ordinal < 0 || ordinal >= kScriptTypeCount) return false;
  type = static_cast<TScriptType>(ordinal);
  return true;
}
