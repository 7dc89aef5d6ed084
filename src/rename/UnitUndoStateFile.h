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

// A line of a state file that is not a move, kept as it was read.
struct TUndoStateLine {
  int number = 0;       // 1-based
  std::u16string text;  // without its line end
};

// What a state file holds.
struct TUndoState {
  std::vector<TRenamePair> pairs;
  std::vector<TUndoStateLine> unreadable;  // in file order
};

// The state file of `pairs`, followed by the lines of `unreadable` as they
// were read, so that a rewritten file loses nothing it could not account for.
std::string EncodeUndoState(const std::vector<TRenamePair>& pairs,
                            const std::vector<TUndoStateLine>& unreadable = {});
// Reads a state file. A line is a move only when it is exactly a double
// quote, a full path (beginning with "/", without NUL), a double quote, a
// blank, a double quote, a full path and a double quote; its CR is optional.
// Any other line (cut short, run together with the next, with text around the
// quotes, ...) is unreadable: it yields no move, so nothing is ever moved on
// the strength of a damaged line. Empty lines are left out; a missing
// byte-order mark and an odd last byte are tolerated.
TUndoState ReadUndoState(std::string_view bytes);
// The moves of ReadUndoState alone.
std::vector<TRenamePair> DecodeUndoState(std::string_view bytes);
