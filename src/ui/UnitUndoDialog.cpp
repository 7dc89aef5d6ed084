#include "ui/UnitUndoDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/UnitRenameRecord.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameJournal.h"
#include "rename/UnitUndoJournal.h"
#include "rename/UnitUndoRename.h"
#include "ui/UnitQtText.h"

std::optional<TUndoResult> ShowUndoDialog(QWidget* parent, TFileSystem& fs, TfrmUndo& undo,
                                          TUndoRename& store, TRenameErrorHandler& errors) {
  if (!store.HasState() || !store.LoadLastState(undo).ok() || undo.UndoCount() == 0) {
    return std::nullopt;
  }
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("undoDialog"));
  dialog.setWindowTitle(QStringLiteral("Undo"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* pairs = new QTreeWidget(&dialog);
  pairs->setHeaderLabels({QStringLiteral("Old Name"), QStringLiteral("New Name")});
  pairs->setRootIsDecorated(false);
  for (int i = 0; i < undo.UndoCount() && i < 101; ++i) {
    pairs->addTopLevelItem(new QTreeWidgetItem(
        QStringList{ToQt(ExtractFileName(undo.GetUndoOldName(i))),
                    ToQt(ExtractFileName(undo.GetUndoNewName(i)))}));
  }
  pairs->header()->setSectionResizeMode(QHeaderView::Stretch);
  layout->addWidget(pairs);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("&Yes"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) {
    store.CancelLastLoad();
    undo.ClearAll();
    return std::nullopt;
  }
  return UndoJournaled(fs, undo, store, errors);
}

std::optional<TUndoResult> UndoJournaled(TFileSystem& fs, TfrmUndo& undo, TUndoRename& store,
                                         TRenameErrorHandler& errors) {
  // The journal goes to the disk before the first move, so that a reversal
  // cut short is put through by the next start.
  std::vector<TRenamePair> remaining;
  std::vector<TUndoStateLine> notFound;
  TJournal plan = UndoJournal(fs, undo.Pairs(), undo.CreatedFolders(), remaining, notFound);
  TRenameJournal journal(fs, store.Folder() + u"/");
  const bool journaled = !plan.entries.empty();
  if (journaled) {
    if (remaining.empty() && notFound.empty() && store.UnreadableLines().empty()) {
      plan.stateFile = store.StateFileName(store.NextIndex());
    }
    const TStatus ready = journal.Write(plan);
    if (!ready.ok()) {
      store.CancelLastLoad();
      undo.ClearAll();
      TUndoResult refused;
      refused.status = ready;
      return refused;
    }
  }
  TUndoResult result = undo.UndoNow(u"", errors);
  result.status = store.FinishLastLoad(result.remaining, result.foldersLeft);
  if (journaled) (void)journal.Remove();
  return result;
}
