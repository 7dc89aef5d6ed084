// What renaming needs of the list it carries out: the file system, the
// previewed list, and the means to preview it and read it again. The session
// provides it, so renaming stands below the session that drives it.
#pragma once

#include "filelist/UnitShowPreview.h"

class TFileSystem;
class TProgress;

class TRenameWorkspace {
 public:
  virtual ~TRenameWorkspace() = default;

  virtual TFileSystem& Files() = 0;
  virtual TFrmDummyShowPreview& Entries() = 0;
  // Runs the preview over the list.
  virtual TPreviewResult Preview(TProgress& progress) = 0;
  // Rereads the listed folder into the list (recursively when asked).
  virtual bool Refresh(TProgress& progress, bool recursive) = 0;
};
