// `tallowick --steps`: every step kind with its stored parameters, as the
// step catalogue declares them.
#pragma once

class TCommandOutput;

// One line per kind, "TYPE<TAB>caption" plus "<TAB>by number only" for a
// kind no caption names, then one line per parameter: a TAB, the stored
// name, the alias, the kind (text, choice, flag), the new-step value and,
// for a choice its items, for a whole-number text its range, TAB-separated.
// Returns 0.
int RunStepsCommand(TCommandOutput& output);
