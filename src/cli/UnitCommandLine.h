// The command line's forms and what each does: a folder, files or
// "filedrop.dat" to list, or a mode with a script and an optional folder:
// -s (show), -xi / -ri (rename, skip failures), -xu / -ru (rename, undo
// everything on the first failure; r: recursively). Messages and exit codes.
#pragma once

#include <cstdint>
#include <string>

#include "cli/UnitStartupFolder.h"
#include "rename/UnitRenameCommand.h"

class TFrmDummyInstance;
class TProgress;
class TRenameErrorHandler;
class TSession;
class TStartupMessages;
class TUndoRename;
class TfrmUndo;

enum class TCommandLineForm : uint8_t {
  Plain,        // no parameter
  Listing,      // a folder, files, or "filedrop.dat"
  Usage,        // an option without one or two further parameters
  Show,         // -s SCRIPT [FOLDER]
  Batch,        // -xi, -xu, -ri, -ru SCRIPT [FOLDER]
  OtherOption,  // another option with a script: the program starts normally
};

TCommandLineForm ClassifyCommandLine(const TFrmDummyInstance& params);
// Whether the form ends in the main window (and so needs a display).
bool OpensWindow(TCommandLineForm form);

struct TCommandLineOutcome {
  bool endProgram = false;
  int exitCode = 0;
  bool listed = false;             // the list was read; start-up does not read it again
  bool BatchScriptLoaded = false;  // -s: the window opens with script and folder
  std::u16string DefaultScriptName;  // the script the command line named
  TRenameResult rename;            // what a batch run did
  bool undone = false;             // a batch run reversed everything it had renamed
};

// Everything the handling works on. All references must outlive the handler.
struct TCommandLineServices {
  TSession& session;
  TfrmUndo& undo;
  TUndoRename& store;
  TRenameErrorHandler& errors;  // the window's answer to a failed move
  TStartupMessages& messages;
  TProgress& progress;
  TPathSpelling spell;
};

class TCommandLine {
 public:
  explicit TCommandLine(const TCommandLineServices& services);

  // Handles `params` once the start-up folder `start` is the model's folder.
  // With no parameter it does nothing. A batch mode renames and ends the
  // program: exit code 0 when every rename succeeded, 1 after any failure,
  // when the script or the folder is missing or the batch cannot be kept for
  // undo; 128 + the signal when the progress asked to stop (an interrupt).
  TCommandLineOutcome Handle(const TFrmDummyInstance& params, const TStartupFolder& start);

  TRenameCommand& Rename() { return rename_; }

 private:
  void HandleListing(const TFrmDummyInstance& params, const TStartupFolder& start,
                     TCommandLineOutcome& outcome);
  void HandleFileDrop();
  void HandleMode(const TFrmDummyInstance& params, TCommandLineOutcome& outcome);
  // The script a mode names: a path (holding "/") as given, a bare name in
  // the application folder; empty when no such file exists.
  std::u16string FindScript(const std::u16string& param, std::u16string& shown) const;
  bool LoadScript(const std::u16string& script, TCommandLineOutcome& outcome);
  bool OpenFolderParameter(const std::u16string& param, TCommandLineOutcome& outcome);
  void RunBatch(bool recursive, TCommandLineOutcome& outcome);
  void ReportBatch(TCommandLineOutcome& outcome);
  void ReportInterrupt(TCommandLineOutcome& outcome);
  void ReportFailures(const TRenameResult& result);
  void ReportCounts(const TRenameResult& result);
  void ReportStore(const TRenameResult& result, TCommandLineOutcome& outcome);
  bool UndoRun(const TRenameResult& result);
  static int InterruptedExitCode();
  // Lists the model's folder with the filter "*.*" for this scan only.
  void RefreshAllFiles();
  void CheckOnly(const std::vector<std::u16string>& names, bool keepSelection);
  void Fail(TCommandLineOutcome& outcome) const;

  TCommandLineServices s_;
  TRenameCommand rename_;
};
