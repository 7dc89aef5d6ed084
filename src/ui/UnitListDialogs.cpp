#include "ui/UnitListDialogs.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <memory>

#include "cli/UnitApplication.h"
#include "filelist/UnitCheckByPattern.h"
#include "platform/UnitFileSystem.h"
#include "platform/UnitText.h"
#include "rename/UnitRenameCommand.h"
#include "rename/UnitRenameErrorHandler.h"
#include "ui/UnitCheckByPatternDialog.h"
#include "ui/UnitExcludeDialog.h"
#include "ui/UnitFileListModel.h"
#include "ui/UnitGenerateBatchDialog.h"
#include "ui/UnitQtText.h"
#include "ui/UnitWindowParts.h"

namespace {

QMenu* MenuCaptioned(QMainWindow& window, const QString& caption) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->menu() != nullptr && action->text().remove(QLatin1Char('&')) == caption) {
      return action->menu();
    }
  }
  return nullptr;
}

// The action after "Invert", where the check commands follow.
QAction* AfterCheckCommands(QMenu& menu) {
  const QList<QAction*> actions = menu.actions();
  for (qsizetype i = 0; i + 1 < actions.size(); ++i) {
    if (actions[i]->text() == QObject::tr("Invert")) return actions[i + 1];
  }
  return nullptr;
}

// Shows the checks changed by a dialog and lets the status line and the
// auto-preview follow, as a click on a check box does.
void ChecksChanged(const TWindowParts& window) {
  window.model.Refreshed();
  emit window.model.CheckChanged();
}

QAction* InsertItem(QMenu& menu, QAction* before, const QString& caption, const char* name) {
  auto* item = new QAction(caption, &menu);
  item->setObjectName(QString::fromLatin1(name));
  menu.insertAction(before, item);
  return item;
}

void InstallSelectItems(const TWindowParts& window, QMenu& select) {
  QAction* before = AfterCheckCommands(select);
  QAction* pattern = InsertItem(select, before, QObject::tr("Check by Pattern..."), "mnuCheckByPattern");
  QAction* exclude = InsertItem(select, before, QObject::tr("Exclude List..."), "mnuExcludeList");
  QAction* now = InsertItem(select, before, QObject::tr("&Exclude Now"), "mnuExcludeNow");
  TSession& session = window.app.session;
  auto last = std::make_shared<TCheckPattern>();
  QObject::connect(pattern, &QAction::triggered, &window.window, [window, &session, last] {
    TFrmFilter dialog(*last, [&session](const TCheckPattern& check) {
      return CheckByPattern(session.list, check);
    }, &window.window);
    if (dialog.exec() != QDialog::Accepted) return;
    *last = dialog.Check();
    ChecksChanged(window);
  });
  QObject::connect(exclude, &QAction::triggered, &window.window, [window, &session] {
    const std::u16string file = session.appFolder + std::u16string(TFrmExclude::kFileName);
    TFrmExcludeDialog dialog(session.exclude, [&session, file](const TFrmExclude& list) {
      return list.Save(session.fs, file);
    }, &window.window);
    if (dialog.exec() != QDialog::Accepted) return;
    session.exclude = dialog.List();
    (void)session.exclude.ExcludeNow(session.list);
    ChecksChanged(window);
  });
  QObject::connect(now, &QAction::triggered, &window.window, [window, &session] {
    (void)session.exclude.ExcludeNow(session.list);
    ChecksChanged(window);
  });
}

// Why `batch` cannot be written, or an empty text.
QString BatchProblem(const TfrmGenerateBatch& batch) {
  // An empty command would make every line run the file it names.
  if (Trim(batch.txtCommand).empty()) return QObject::tr("Give the command that renames one file.");
  if (batch.txtName.find_first_of(std::u16string_view(u"/\0", 2)) != std::u16string::npos) {
    return QObject::tr("The batch file name cannot hold \"/\": it is a name in the "
                       "application folder.");
  }
  return {};
}

}  // namespace

bool SaveBatchFile(const TWindowParts& window, const TfrmGenerateBatch& batch, QWidget& dialog) {
  const QString title = dialog.windowTitle();
  if (const QString problem = BatchProblem(batch); !problem.isEmpty()) {
    QMessageBox::warning(&dialog, title, problem);
    return false;
  }
  window.preview();  // the new names as they are now
  TSession& session = window.app.session;
  TIgnoreRenameErrors unused;
  const TRenameCommand rename(session, window.app.undo, window.app.store, unused);
  const std::vector<TPlannedRename> plan = rename.PlanRenames();
  std::u16string base = session.list.ListedFolder();
  if (base.empty() || base.back() != u'/') base += u'/';
  const std::vector<TRenamePair> moves = BatchMoves(plan, base);
  const size_t leftOut = plan.size() - moves.size();
  if (moves.empty()) {
    QMessageBox::information(&dialog, title,
                             leftOut == 0 ? QObject::tr("No checked entry has a new name: "
                                                        "no batch file was written.")
                                          : QObject::tr("No new name of the checked entries can "
                                                        "be carried out: no batch file was written."));
    return true;
  }
  const std::u16string fullname = batch.FullName(session.appFolder);
  if (session.fs.Exists(fullname) &&
      QMessageBox::question(&dialog, title,
                            ToQt(fullname) + QObject::tr("\nalready exists. Replace it?")) !=
          QMessageBox::Yes) {
    return false;
  }
  const TStatus written = batch.GenerateScript(session.fs, fullname, false, moves);
  if (!written.ok()) {
    QMessageBox::warning(&dialog, title, ToQt(written.Message()));
    return false;
  }
  (void)session.fs.MakeExecutable(fullname);  // a convenience: "sh file" runs it anyway
  QString saved = QObject::tr("Batch file saved to: ") + ToQt(fullname);
  if (leftOut > 0) {
    saved += QObject::tr(" (%1 entries left out: their new names cannot be carried out)")
                 .arg(static_cast<qulonglong>(leftOut));
  }
  window.status.setText(saved);
  return true;
}

void InstallListDialogs(const TWindowParts& window) {
  if (QMenu* select = MenuCaptioned(window.window, QObject::tr("Select"))) {
    InstallSelectItems(window, *select);
  }
  QMenu* rename = MenuCaptioned(window.window, QObject::tr("Rename"));
  if (rename == nullptr) return;
  QAction* generate = rename->addAction(QObject::tr("Generate Batch File ..."));
  generate->setObjectName(QStringLiteral("mnuGenerateBatchFile"));
  auto last = std::make_shared<TfrmGenerateBatch>();
  QObject::connect(generate, &QAction::triggered, &window.window, [window, last] {
    TFrmGenerateBatchDialog dialog(*last, [window](const TfrmGenerateBatch& batch, QWidget& shown) {
      return SaveBatchFile(window, batch, shown);
    }, &window.window);
    if (dialog.exec() == QDialog::Accepted) *last = dialog.Batch();
  });
}
