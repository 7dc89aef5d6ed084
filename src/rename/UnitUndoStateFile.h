// The format of the undo store's state files: UTF-16LE with a byte-order mark,
// one line per move ended by CR LF, each line "old path" "new path" in double
// quotes.
//
// A double quote, CR or LF inside a path (legal in names here) is stored as a
// lone U+DC22, U+DC0D or U+DC0A: a low surrogate that does not follow a high
// one. Names decoded from bytes never hold such a code unit (their lone
// surrogates are U+DC80..U+DCFF, and a low surrogate after a high one is half
// of a character beyond the BMP, which is stored and read as it is), so paths
// without these three characters are stored unchanged and every path reads
// back exactly. A path is first put in the form its bytes decode to (a lone
// surrogate outside U+DC80..U+DCFF becomes the escapes of its three bytes),
// so what reads back always names the same bytes on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rename/UnitRenamePair.h"

std::string EncodeUndoState(const std::vector<TRenamePair>& pairs);
// The pairs of a state file. A line that lacks four double quotes or names an
// empty path is skipped; a missing byte-order mark is tolerated.
std::vector<TRenamePair> DecodeUndoState(std::string_view bytes);
