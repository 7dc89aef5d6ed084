#include "UnitWindowTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/UnitFrmMain.h"
#include "ui/UnitScriptEditor.h"

namespace {

QAction* FindItem(QMenu& menu, const QString& caption) {
  for (QAction* action : menu.actions()) {
    if (action->text().remove(QLatin1Char('&')) == caption) return action;
    if (action->menu() != nullptr) {
      if (QAction* inner = FindItem(*action->menu(), caption)) return inner;
    }
  }
  return nullptr;
}

}  // namespace

void WithNextDialog(std::function<void(QWidget&)> answer, int afterMs) {
  QTimer::singleShot(afterMs, [answer] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
}

void AnswerNextDialog(const char* name, int afterMs) {
  WithNextDialog(
      [name](QWidget& dialog) {
        auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        if (button == nullptr) {
          for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text().remove(QLatin1Char('&')) == QString::fromLatin1(name)) button = b;
          }
        }
        ASSERT_NE(button, nullptr) << name;
        button->click();
      },
      afterMs);
}

QAction* FindMenuItem(TFrmMain& window, const QString& caption) {
  for (QAction* top : window.menuBar()->actions()) {
    if (top->menu() == nullptr) continue;
    if (QAction* item = FindItem(*top->menu(), caption)) return item;
  }
  return nullptr;
}

void AddFindAndReplace(TFrmMain& window, const QString& phrase, const QString& with) {
  QMenu* menu = window.ScriptEditor().AddStepMenu();
  for (QAction* action : menu->actions()) {
    if (action->text().endsWith(QStringLiteral("Find and Replace"))) action->trigger();
  }
  auto* find = window.findChild<QLineEdit*>(QStringLiteral("txtReplacePhrase"));
  auto* replace = window.findChild<QLineEdit*>(QStringLiteral("txtReplaceWith"));
  ASSERT_NE(find, nullptr);
  ASSERT_NE(replace, nullptr);
  find->setText(phrase);
  emit find->textEdited(phrase);
  replace->setText(with);
  emit replace->textEdited(with);
}
