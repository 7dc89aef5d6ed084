#include "rename/UnitRenameInPlace.h"

#include <cerrno>

#include "platform/UnitFileSystem.h"
#include "rename/UnitRenameCommand.h"
#include "rename/UnitSession.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

TRenameInPlaceResult RenameInPlace(TSession& session, int row, const std::u16string& newName,
                                   TfrmUndo& undo, TUndoRename& store) {
  TRenameInPlaceResult result;
  TFileListData* data = session.list.GetFileData(row);
  if (data == nullptr) {
    result.status = TStatus::Error(EINVAL, newName, u"No such entry in the list");
    return result;
  }
  result.status = CheckNewNameStaysInFolder(newName);
  if (!result.status.ok()) return result;
  std::u16string base = session.list.ListedFolder();
  if (base.empty() || base.back() != u'/') base += u'/';
  const std::u16string from = base + data->caption;
  const std::u16string to = base + newName;
  if (from == to) return result;
  result.status = session.fs.RenameNoReplace(from, to);
  if (!result.status.ok()) return result;
  data->SetName(newName);
  result.storeStatus = store.SaveSingleRenameToFile(from, to);
  undo.ClearAll();
  return result;
}
