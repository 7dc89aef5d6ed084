#include "rename/UnitRenameInPlace.h"

#include <cerrno>

#include "filelist/UnitFileList.h"
#include "platform/UnitFileSystem.h"
#include "rename/UnitRenameCommand.h"
#include "rename/UnitRenameWorkspace.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"

namespace {

TStatus CheckTypedName(const std::u16string& newName) {
  TStatus status = CheckNewNameStaysInFolder(newName);
  if (status.ok()) status = CheckNewNameLength(newName);
  return status;
}

}  // namespace

TRenameInPlaceResult RenameInPlace(TRenameWorkspace& workspace, int row, const std::u16string& newName,
                                   TfrmUndo& undo, TUndoRename& store) {
  TRenameInPlaceResult result;
  TFileListData* data = workspace.Entries().GetFileData(row);
  if (data == nullptr) {
    result.status = TStatus::Error(EINVAL, newName, u"No such entry in the list");
    return result;
  }
  result.status = CheckTypedName(newName);
  if (!result.status.ok() || data->caption == newName) return result;
  std::u16string base = workspace.Entries().ListedFolder();
  if (base.empty() || base.back() != u'/') base += u'/';
  // The folders made for the new name are recorded apart from the undo list,
  // which a failure leaves as it was.
  TfrmUndo made(workspace.Files(), base);
  const size_t slash = newName.rfind(u'/');
  if (slash != std::u16string::npos) {
    result.status = made.CreateFolderPathBeneath(base, newName.substr(0, slash));
  }
  if (result.status.ok()) {
    result.status = workspace.Files().RenameNoReplaceBeneath(base, data->caption, newName);
  }
  if (!result.status.ok()) {
    made.RemoveEmptyCreatedFolders();
    return result;
  }
  const std::u16string from = base + data->caption;
  data->SetName(newName);
  result.storeStatus = store.SaveStateToFile({{from, base + newName}}, made.CreatedFolders());
  undo.ClearAll();
  return result;
}
