#include "ui/UnitUndoDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/UnitRenameRecord.h"
#include "platform/UnitText.h"
#include "rename/UnitUndoRename.h"
#include "ui/UnitQtText.h"

std::optional<TUndoResult> ShowUndoDialog(QWidget* parent, TfrmUndo& undo, TUndoRename& store,
                                          TRenameErrorHandler& errors) {
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
  TUndoResult result = undo.UndoNow(u"", errors);
  (void)store.FinishLastLoad(result.remaining);
  return result;
}
