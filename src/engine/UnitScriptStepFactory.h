// Creates a step of a given kind with its parameters at their defaults.
#pragma once

#include <memory>

#include "engine/UnitScriptStep.h"

// A new step of `type`, enabled, with default parameters.
std::unique_ptr<TScriptStep> NewScriptStep(TScriptType type);
// The kind with TYPE `ordinal`, or false when it names none.
bool ScriptTypeFromInt(int ordinal, TScriptType& type);
