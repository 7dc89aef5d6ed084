#include "ui/UnitDesktopTools.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTableView>
#include <vector>

#include "config/UnitMenuShortcutsFile.h"
#include "session/UnitSession.h"
#include "ui/UnitFileTagsWindow.h"
#include "cli/UnitApplication.h"
#include "ui/UnitMetaVariablePicker.h"
#include "ui/UnitQtText.h"
#include "ui/UnitOptionPanels.h"
#include "ui/UnitStepEditor.h"
#include "ui/UnitWindowParts.h"

namespace {

// The items on the second level: the entries of each top-level menu that
// are neither separators nor submenus.
std::vector<QAction*> SecondLevelItems(QMenuBar& bar) {
  std::vector<QAction*> items;
  for (QAction* top : bar.actions()) {
    if (top->menu() == nullptr) continue;
    for (QAction* item : top->menu()->actions()) {
      if (!item->isSeparator() && item->menu() == nullptr) items.push_back(item);
    }
  }
  return items;
}

// The full path of the entry at the list's current row; empty for none.
std::u16string SelectedFile(const TWindowParts& window) {
  if (!window.list.currentIndex().isValid()) return {};
  TSession& session = window.app.session;
  const TFileListData* entry = session.list.GetFileData(window.list.currentIndex().row());
  if (entry == nullptr) return {};
  std::u16string folder = session.model.folder;
  if (!folder.empty() && folder.back() != u'/') folder += u'/';
  return folder + entry->caption;
}

void AddInsertItems(QMenu& menu, const std::vector<TMenuEntry>& entries, QLineEdit* edit,
                    const TWindowParts& window) {
  for (const TMenuEntry& entry : entries) {
    if (entry.separator) {
      menu.addSeparator();
    } else if (!entry.children.empty()) {
      AddInsertItems(*menu.addMenu(ToQt(entry.caption)), entry.children, edit, window);
    } else {
      QAction* action = menu.addAction(ToQt(entry.caption));
      action->setEnabled(entry.enabled);
      const TInsertAction kind = InsertActionOf(entry.text);
      QObject::connect(action, &QAction::triggered, edit, [edit, kind, window, text = entry.text] {
        if (kind != TInsertAction::InsertText) {
          OpenMetaVariablePicker(window, kind, edit);
          return;
        }
        edit->insert(ToQt(text));
        emit edit->textEdited(edit->text());
      });
    }
  }
}

// The option panels' text boxes get the same "Insert" menu as the step editor's.
void OfferInsertMenus(const TWindowParts& window) {
  auto* panels = window.window.findChild<TOptionPanels*>();
  if (panels == nullptr) return;
  std::vector<TMenuEntry> menu;
  (void)LoadInsertMenu(window.app.session.fs, window.app.session.appFolder, menu);
  for (QLineEdit* edit : panels->findChildren<QLineEdit*>()) {
    if (qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) != nullptr) continue;
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(edit, &QWidget::customContextMenuRequested, edit,
                     [edit, window, menu](const QPoint& at) {
                       QMenu* context = edit->createStandardContextMenu();
                       context->addSeparator();
                       AddInsertItems(*context->addMenu(QObject::tr("Insert")), menu, edit, window);
                       context->exec(edit->mapToGlobal(at));
                       delete context;
                     });
  }
}

}  // namespace

QString MenuItemName(const QAction& action) {
  if (!action.objectName().isEmpty()) return action.objectName();
  QString name = QStringLiteral("mnu");
  for (const QChar c : action.text()) {
    if (c.isLetterOrNumber() && c.unicode() < 128) name += c;
  }
  return name;
}

TStatus ApplyMenuShortcuts(QMenuBar& bar, TFileSystem& fs, const std::u16string& appFolder) {
  const std::vector<QAction*> actions = SecondLevelItems(bar);
  std::vector<TMenuShortcut> items;
  items.reserve(actions.size());
  for (const QAction* action : actions) {
    items.push_back({FromQt(MenuItemName(*action)),
                     FromQt(action->shortcut().toString(QKeySequence::PortableText))});
  }
  const TStatus status = LoadMenuShortcuts(fs, appFolder, items);
  for (size_t i = 0; i < actions.size(); ++i) {
    actions[i]->setShortcut(QKeySequence::fromString(ToQt(items[i].shortcut),
                                                     QKeySequence::PortableText));
  }
  return status;
}

std::u16string_view PickerFamilyOf(TInsertAction action) {
  const std::vector<std::u16string_view> families = VariableFamilies();
  switch (action) {
    case TInsertAction::PickerJpeg: return u"JPEG";
    case TInsertAction::PickerMp3: return u"MP3 tags";
    case TInsertAction::PickerProperties: return u"file and folder";
    default: return families.front();
  }
}

void OpenMetaVariablePicker(const TWindowParts& window, TInsertAction action, QLineEdit* edit) {
  QPointer<QLineEdit> target(edit);
  TFrmMetaVariables picker(window.app.session, SelectedFile(window), &window.window);
  picker.ShowFamily(PickerFamilyOf(action));
  if (picker.exec() != QDialog::Accepted || target.isNull()) return;
  const std::u16string chosen = picker.Chosen();
  if (chosen.empty()) return;
  target->insert(ToQt(chosen));
  emit target->textEdited(target->text());
}

void InstallDesktopTools(const TWindowParts& window) {
  QMenuBar& bar = *window.window.menuBar();
  auto* tools = new QMenu(QObject::tr("&Tools"), &window.window);
  QAction* help = bar.actions().isEmpty() ? nullptr : bar.actions().back();
  bar.insertMenu(help, tools);
  QAction* insert = tools->addAction(QObject::tr("Insert Meta-Variables..."));
  insert->setObjectName(QStringLiteral("mnuInsertMetaVariables"));
  insert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  // The picker inserts into the text box that had the focus when it opened.
  QObject::connect(insert, &QAction::triggered, &window.window, [window] {
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    OpenMetaVariablePicker(window, TInsertAction::PickerMain, edit);
  });
  QAction* fileTags = tools->addAction(QObject::tr("File Tags..."));
  fileTags->setObjectName(QStringLiteral("mnuFileTags"));
  QObject::connect(fileTags, &QAction::triggered, &window.window, [window] {
    TFrmFileTags tags(window.app.Tags(), SelectedFile(window), &window.window);
    tags.exec();
  });
  window.stepEditor.SetPickerOpener(
      [window](TInsertAction action, QLineEdit* edit) {
        OpenMetaVariablePicker(window, action, edit);
      });
  OfferInsertMenus(window);
  const TStatus shortcuts =
      ApplyMenuShortcuts(bar, window.app.session.fs, window.app.session.appFolder);
  if (!shortcuts.ok()) window.status.setText(ToQt(shortcuts.Message()));
}
