#include "rename/UnitRenameInPlace.h"

#include <cerrno>

#include "platform/UnitFileSystem.h"
#include "rename/UnitRenameCommand.h"
#include "filelist/UnitFileList.h"
#include "rename/UnitRenameWorkspace.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

TRenameInPlaceResult RenameInPlace(TRenameWorkspace& workspace, int row, const std::u16string& newName,
                                   TfrmUndo& undo, TUndoRename& store) {
  TRenameInPlaceResult result;
  TFileListData* data = workspace.Entries().GetFileData(row);
  if (data == nullptr) {
    result.status = TStatus::Error(EINVAL, newName, u"No such entry in the list");
    return result;
  }
  result.status = CheckNewNameStaysInFolder(newName);
  if (!result.status.ok()) return result;
  std::u16string base = workspace.Entries().ListedFolder();
  if (base.empty() || base.back() != u'/') base += u'/';
  const std::u16string from = base + data->caption;
  const std::u16string to = base + newName;
  if (from == to) return result;
  result.status = workspace.Files().RenameNoReplace(from, to);
  if (!result.status.ok()) return result;
  data->SetName(newName);
  result.storeStatus = store.SaveSingleRenameToFile(from, to);
  undo.ClearAll();
  return result;
}
