// One run of the program: the session with the settings, the undo list and
// the undo store around it, opened in start-up order, and closed at exit.
// The command line drives it now; the window will drive the same object.
#pragma once

#include <string>

#include "cli/UnitStartup.h"
#include "config/UnitConfig.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "session/UnitSession.h"

class TClock;
class TEnvironment;
class TFileSystem;
class TProgress;
class TStartupMessages;
class TTagReader;

// The services and sinks a run is built on; all must outlive it.
struct TApplicationServices {
  TFileSystem& fs;
  const TClock& clock;
  const TEnvironment& env;
  TTagReader& tags;
  std::u16string appFolder;  // ends with "/"
  TStartupMessages& messages;
  TProgress& progress;
  TRenameErrorHandler& errors;  // the window's error dialog; never asked in batch modes
  TPathSpelling spell;
};

class TApplication {
 public:
  explicit TApplication(const TApplicationServices& services);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Creates the application folder and reads "tw.ini" (the settings reach
  // the scan through the session); with `emptyUndoStore` (a window start)
  // also empties the undo store. A batch run leaves that to the moment it
  // renames, so a run that ends early keeps the last batch undoable.
  // Problems with the settings are reported and the defaults used; a folder
  // or undo store that cannot be made is an error.
  // A run cut short earlier left its journal: its entries are put back
  // first (each move and each problem reported), before the undo store is
  // emptied; a journal that cannot be recovered completely stays and the
  // start is refused with its status.
  TStatus Open(bool emptyUndoStore);
  // The same settings for a command that writes nothing (--preview,
  // --describe, --expand): no folder is made, a missing "tw.ini" is not
  // written, the undo store is left alone.
  void OpenToRead();
  // The start-up over the command line `params` (TStartup::Start).
  TCommandLineOutcome Start(const TFrmDummyInstance& params);
  // `tallowick --recover`: what Open does with a journal left over. Exit
  // code 0 when there was nothing to recover or every entry is back, 1 else.
  int Recover();
  // The script the window loads on its first activation.
  const std::u16string& DefaultScriptName() const { return startup_.DefaultScriptName(); }
  // A command line handed over by a later copy (TStartup::SetCommandLine).
  TCommandLineOutcome HandOver(std::u16string_view text) { return startup_.SetCommandLine(text); }
  // At normal exit: removes the undo store's marker.
  void Close();
  // Hands the settings the scan reads to the session (after loading, and
  // again when the configuration dialog saved new ones).
  void ApplySettings();
  // The metadata readers the expansion asks.
  TTagReader& Tags() { return s_.tags; }

  TSession session;
  TfrmConfig config;
  TfrmUndo undo;
  TUndoRename store;

 private:
  void ReadSettings(bool writeWhenMissing);
  TStatus RecoverLeftOverRun();

  TApplicationServices s_;
  TStartup startup_;
};
