// How the editor of each step kind reads: its labels and controls in order,
// as one sentence broken into lines, so that "Add [text] to the [Name] at the
// [Beginning]" reads as it will act.
#pragma once

#include <string_view>
#include <vector>

#include "engine/UnitScriptStep.h"

// One piece of an editor line: a fixed label, or the control of a parameter.
struct TLayoutPiece {
  std::u16string_view label;  // empty for a control
  int parameter = -1;         // the parameter's index, -1 for a label
};
using TLayoutLine = std::vector<TLayoutPiece>;

// The editor lines of `step`'s kind. Parameters the kind's layout does not
// place come last, one line each, so every parameter has its control.
std::vector<TLayoutLine> EditorLines(const TScriptStep& step);
