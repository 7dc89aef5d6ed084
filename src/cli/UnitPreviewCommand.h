// The commands that show what a script would do without renaming anything:
// `--preview SCRIPT FOLDER [--recursive] [--json]` and `--describe SCRIPT`.
#pragma once

#include <string>
#include <vector>

class TCommandOutput;
class TProgress;
class TSession;

struct TPreviewCommandOptions {
  std::u16string script;  // a ".twscr" or ".tw-" path
  std::u16string folder;  // the folder to list; overrides the script's folder
  bool recursive = false;
  bool json = false;
};

// Loads the script, lists the folder, previews and prints one line per entry
// (or one JSON object). Returns 0, or 2 with one line on standard error when
// the script or the folder cannot be read.
int RunPreviewCommand(TSession& session, const TPreviewCommandOptions& options,
                      TCommandOutput& output, TProgress& progress);

// Prints the numbered full sentence of every step of the script, then the
// options of the script that change names. Returns 0, or 2 when the script
// cannot be read.
int RunDescribeCommand(TSession& session, const std::u16string& script, TCommandOutput& output);

// One line per script option that changes names: case (when on), counting,
// matching style, the text file, and the filter and folder the script restores.
std::vector<std::u16string> DescribeOptions(const TSession& session);

