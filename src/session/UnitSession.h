// One working session of the renamer: the services it runs on, the main-window
// model, the script, the file list and the pieces that connect them. The
// command line and the window both drive a session.
#pragma once

#include <string>

#include "engine/UnitScriptActions.h"
#include "engine/UnitScriptContext.h"
#include "filelist/UnitExclude.h"
#include "filelist/UnitFileList.h"
#include "filelist/UnitShowPreview.h"
#include "matching/UnitMetaVariables.h"
#include "model/UnitCollisionDialog.h"
#include "model/UnitMainModel.h"
#include "model/UnitReplacementSequence.h"
#include "rename/UnitRenameWorkspace.h"
#include "scriptio/UnitTWScript.h"
#include "textfile/UnitTextFileFormat.h"
#include "textfile/UnitTextFileParameters.h"
#include "textfile/UnitTextFileRenaming.h"

class TClock;
class TEnvironment;
class TFileSystem;
class TProgress;
class TTagReader;

class TSession : public TRenameWorkspace {
 public:
  // The services must outlive the session. `appFolder` ends with "/".
  TSession(TFileSystem& fs, const TClock& clock, const TEnvironment& env, TTagReader& tags,
           std::u16string appFolder);
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  // Loads the script file `path` exactly as named: a ".twscr" script, or a
  // script of the older format under any other name, with its options. A
  // missing file, or one that holds no script, is an error here (a batch run
  // needs its script); `skipped` receives one message per step of unknown kind.
  TStatus LoadScript(const std::u16string& path, std::vector<std::u16string>* skipped = nullptr);

  // Rereads the model's folder into the list (recursively when asked) and
  // applies the exclude list.
  bool Refresh(TProgress& progress, bool recursive) override;
  // Whether a preview may read an entry's size or times: a step's text may
  // name a variable, the list sorts by them, custom columns or a text file
  // take part.
  bool RunReadsEntryAttributes() const;
  // Runs the preview over the list.
  TPreviewResult Preview(TProgress& progress) override;
  TFileSystem& Files() override { return fs; }
  TFrmDummyShowPreview& Entries() override { return list; }
  // Files that passed the filter and folders listed by the last refresh.
  int FilesCount() const { return filesCount_; }
  int FoldersCount() const { return foldersCount_; }
  // The status line after the last preview.
  std::array<std::u16string, 3> Status(const TPreviewResult& result) const;

  // The model's options in the forms the scan, the preview and the text file take.
  TScanOptions ScanOptions() const;
  TPreviewOptions PreviewOptions() const;
  TTextFileParameters TextParameters() const;

  TFileSystem& fs;
  const TClock& clock;
  const std::u16string appFolder;
  TMainModel model;
  TMetaVariables vars;
  TReplacementSequence sequence;
  TFrmCollisionDialog collisions;
  TScriptContext ctx;
  TFrmScriptActions script;
  TTWScript twscript;
  TFrmDummyShowPreview list;
  TTextFileFormat textFormat;
  TTextFileRenaming textFile;
  // Unchecks matching entries after every refresh ("exclude.ini").
  TFrmExclude exclude;
  // Settings the scan and preview read that live outside the model.
  bool noHiddenFiles = false;
  bool dontSelectFolders = true;
  bool showTimeInDates = false;
  // The refresh lists for a rename run that follows at once: the list keeps
  // the identities the listing reads, and the listing reads names and kinds
  // only when the run needs no more (RunReadsEntryAttributes).
  bool listingForRun = false;
  std::vector<std::u16string> customColumns;

 private:
  int filesCount_ = 0;
  int foldersCount_ = 0;
};
