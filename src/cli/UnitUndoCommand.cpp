#include "cli/UnitUndoCommand.h"

#include "cli/UnitStartupMessages.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameErrorHandler.h"
#include "rename/UnitUndo.h"
#include "rename/UnitUndoRename.h"
#include "rename/UnitUndoStateFile.h"

namespace {

class TReportUndoErrors : public TRenameErrorHandler {
 public:
  explicit TReportUndoErrors(TStartupMessages& messages) : messages_(messages) {}
  TRenameErrorAnswer RenameFailed(const std::u16string& source, const std::u16string& target,
                                  const TStatus& status) override {
    messages_.ConsoleError(u"Error: Failed to undo (" + source + u")->(" + target + u"): " +
                           status.reason());
    return TRenameErrorAnswer::Ignore;
  }

 private:
  TStartupMessages& messages_;
};

}  // namespace

int RunUndoCommand(TFileSystem& fs, const std::u16string& appFolder, TStartupMessages& messages) {
  const TUndoRename store(fs, appFolder);
  int count = 0;
  while (fs.Exists(store.StateFileName(count))) ++count;
  if (count == 0) {
    messages.ConsoleError(u"tallowick: nothing to undo in " + store.Folder());
    return 1;
  }
  const std::u16string file = store.StateFileName(count - 1);
  std::string bytes;
  const TStatus read = fs.ReadWholeFile(file, bytes);
  if (!read.ok()) {
    messages.ConsoleError(u"tallowick: " + read.Message());
    return 1;
  }
  TfrmUndo undo(fs, appFolder);
  for (TRenamePair& pair : DecodeUndoState(bytes)) {
    undo.AddStoredUndo(std::move(pair.oldName), std::move(pair.newName));
  }
  TReportUndoErrors errors(messages);
  const TUndoResult result = undo.UndoNow(u"", errors);
  messages.ConsoleLine(u"Undo: " + IntToStr(result.reversed) + u" back under their old names, " +
                       IntToStr(result.skipped) + u" not found, " + IntToStr(result.failed) +
                       u" failed.");
  if (result.failed > 0) return 1;
  const TStatus removed = fs.DeleteFile(file);
  if (!removed.ok()) messages.ConsoleError(u"tallowick: " + removed.Message());
  return 0;
}
