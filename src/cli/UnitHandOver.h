// The hand-over from a second copy of the program to the running one: where
// the lock file and the socket live, and the message the second copy sends
// (its command line as UTF-8, split again by the running copy).
#pragma once

#include <string>
#include <vector>

class TEnvironment;
class TFileSystem;

struct THandOverPaths {
  std::u16string lockFile;
  std::u16string socket;
};

// In $XDG_RUNTIME_DIR when it names a folder, else in the application folder;
// the names carry a hash of the application folder, so copies that share one
// (its settings and undo store) find each other and no others.
THandOverPaths HandOverPaths(const TEnvironment& env, TFileSystem& fs,
                             const std::u16string& appFolder);

// The command line a second copy sends: the program and its arguments, each
// argument that names a path made absolute against `currentFolder` (options
// and "filedrop.dat" stay), joined so that splitting gives them back.
std::string HandOverMessage(const std::u16string& program,
                            const std::vector<std::u16string>& arguments,
                            const std::u16string& currentFolder);
