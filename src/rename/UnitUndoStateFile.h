// The format of the undo store's state files: UTF-16LE with a byte-order mark,
// one line per move ended by CR LF, each line "old path" "new path" in double
// quotes. A double quote, CR or LF inside a path (legal in names here) is
// stored as U+DC22, U+DC0D or U+DC0A, code units that decoded names never hold,
// so every path reads back exactly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rename/UnitRenamePair.h"

std::string EncodeUndoState(const std::vector<TRenamePair>& pairs);
// The pairs of a state file. A line that lacks four double quotes or names an
// empty path is skipped; a missing byte-order mark is tolerated.
std::vector<TRenamePair> DecodeUndoState(std::string_view bytes);
