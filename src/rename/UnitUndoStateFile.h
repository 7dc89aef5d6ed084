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

#include <cstdint>
#include <functional>
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
  std::vector<TUndoStateLine> pairLines;   // the line of each pair, as stored
  std::vector<TUndoStateLine> unreadable;  // in file order
  // Moves whose line the extra file does not vouch for, one of two equal
  // lines among them (CheckUndoState).
  std::vector<TUndoStateLine> unchecked;
  // Checks of the extra file that no line matches: moves that were stored
  // and are missing from the state file now.
  std::vector<uint64_t> missing;
};

// The extra file beside a state file ("0007.txt" has "0007-extra.txt"). The
// state file keeps the format every reader knows; readers that know only it
// never open the extra file, and a state file without one (written by such a
// program) is read as before. UTF-8 text, LF line ends:
//   tallowick undo extra 1
//   check TAB 16 hex digits   one per move of the state file: a hash of its
//                             line as stored (without the line end)
//   folder TAB path           a folder the batch made, outermost first;
//                             backslash, TAB, LF and CR written as \\, \t, \n, \r
//   end
// A move whose line has no check was changed after it was stored (or added
// by hand): it is not undone, as an unreadable line is not.
struct TUndoExtra {
  std::vector<uint64_t> checks;
  std::vector<std::u16string> folders;
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

// The extra file of the state file that EncodeUndoState writes for `pairs`,
// with the checks of moves that are `missing` from it.
std::string EncodeUndoExtra(const std::vector<TRenamePair>& pairs,
                            const std::vector<std::u16string>& folders,
                            const std::vector<uint64_t>& missing = {});
// A run's state file and extra file, encoded for TUndoRename to store.
struct TEncodedBatch {
  size_t moves = 0;
  std::string state;
  std::string extra;
};
TEncodedBatch EncodeBatch(const std::vector<TRenamePair>& pairs,
                          const std::vector<std::u16string>& folders);
// Fills `pair` (which keeps its room from one call to the next) with move `index`.
using TRenamePairReader = std::function<void(size_t index, TRenamePair& pair)>;
// The same for `count` moves read one at a time, so that they are never all
// held as pairs at once.
TEncodedBatch EncodeBatch(size_t count, const TRenamePairReader& pairAt,
                          const std::vector<std::u16string>& folders);
// False when `bytes` is not a whole extra file.
bool DecodeUndoExtra(std::string_view bytes, TUndoExtra& extra);
// Moves every pair of `state` whose line has no check in `extra` to
// `state.unchecked` (each check vouches for one line), and puts the checks
// that no line matched in `state.missing`.
void CheckUndoState(TUndoState& state, const TUndoExtra& extra);
