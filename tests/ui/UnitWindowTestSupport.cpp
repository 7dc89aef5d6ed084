#include "UnitWindowTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

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


// Answers are given in the order they were asked for, each to a dialog other
// than the one its predecessor answered. A loaded machine may show a dialog
// long after the time a test expects it: a single look at that time would
// miss it and leave the dialog waiting for ever.
constexpr int kLookEveryMs = 20;
constexpr int kGiveUpAfterMs = 60000;
int askedAnswers = 0;
int startedAnswers = 0;
QPointer<QWidget> lastAnswered;

void AnswerWhenShown(std::function<void(QWidget&)> answer, int ticket, int waitedMs) {
  QWidget* dialog = QApplication::activeModalWidget();
  if (dialog != lastAnswered) lastAnswered = nullptr;  // closed: it may show again
  const bool ready = ticket == startedAnswers && dialog != nullptr && dialog != lastAnswered;
  if (!ready && waitedMs < kGiveUpAfterMs) {
    QTimer::singleShot(kLookEveryMs, [answer = std::move(answer), ticket, waitedMs] {
      AnswerWhenShown(answer, ticket, waitedMs + kLookEveryMs);
    });
    return;
  }
  // The next answer may be for a dialog this one opens.
  startedAnswers = std::max(startedAnswers, ticket + 1);
  ASSERT_TRUE(ready) << "no dialog showed within " << kGiveUpAfterMs << " ms";
  lastAnswered = dialog;
  answer(*dialog);
}

}  // namespace

void WithNextDialog(std::function<void(QWidget&)> answer, int afterMs) {
  const int ticket = askedAnswers++;
  QTimer::singleShot(afterMs, [answer = std::move(answer), ticket, afterMs] {
    AnswerWhenShown(answer, ticket, afterMs);
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
