// What the no-loss tests share: snapshots of a folder as content hashes, the
// check that nothing was lost, and the command line run in this process on
// the real file system, also in a child process that dies part-way.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/UnitCommandOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "support/UnitFakeServices.h"

// Path below the folder (bytes as on disk) -> hash of the file's content;
// folders end with "/" and have hash 0.
using TTree = std::map<std::string, uint64_t>;

TTree Snapshot(const std::string& folder);
// The files of `tree` alone.
TTree FilesOf(const TTree& tree);
// One path a line, for failure messages.
std::string Listing(const TTree& tree);
// True when the last part of `path` is a temporary or parking name.
bool Tagged(const std::string& path);

// Every file of `before` is in `after` with its content, exactly once, and
// nothing else is (so nothing was overwritten or copied); with
// `temporaryNamesAllowed` false, no file is under a temporary or parking name
// unless it had one before.
void ExpectNothingLost(const TTree& before, const TTree& after, bool temporaryNamesAllowed,
                       const std::string& when);

// The command line run in this process, on the real file system, with the
// application folder `home`.
class TTallowick {
 public:
  explicit TTallowick(const std::u16string& home);
  int Run(const std::vector<std::u16string>& args, TStringOutput& output);
  int Run(const std::vector<std::u16string>& args);
  // Runs `args` in a child process that dies at its `crashAt`-th change on
  // disk (from 1), before or after making it, as a power cut would; true when
  // it did. When it did not, `output.err` holds all it wrote.
  bool RunAndCrash(const std::vector<std::u16string>& args, int crashAt, bool afterTheChange,
                   TStringOutput& output);
  TFileSystem& Files() { return *fs_; }

 private:
  int Run(TFileSystem& fs, const std::vector<std::u16string>& args, TStringOutput& output);

  std::unique_ptr<TFileSystem> fs_;
  TFixedClock clock_{46000};
  TMapEnvironment env_;
  TFileTagReader tags_;
};
