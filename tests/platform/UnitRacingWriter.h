// A writer that races a batch of moves for their target names, shared by
// the tests of the local disk and of a FUSE mount.
#pragma once

#include <string>

class TFileSystem;

// Moves `moves` empty files "src<i>" to "dst<i>" inside `folder` through
// `fs.RenameNoReplace` while another thread creates each "dst<i>" (with
// O_EXCL, as a careful program does) the moment its move is due. Whoever
// comes first keeps the name: a file the writer made and a move then
// replaced fails the test, as does a move that lost its entry.
void ExpectRacingWriterLosesNothing(TFileSystem& fs, const std::string& folder, int moves);

// The bytes of the file `path`, or "(unreadable)".
std::string ContentOf(TFileSystem& fs, const std::string& path);
