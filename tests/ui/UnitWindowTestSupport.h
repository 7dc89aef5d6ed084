// What the window tests share beside their base fixture: answering the next
// modal dialog, finding a menu item by caption and adding a step through the
// menus.
#pragma once

#include <QString>
#include <functional>

class QAction;
class QWidget;
class TFrmMain;

// Runs `answer` on the next modal dialog, looked for from `afterMs` on and
// after the answers asked for before this one.
void WithNextDialog(std::function<void(QWidget&)> answer, int afterMs = 50);
// Clicks the button named `name` (object name or caption) of the next modal dialog.
void AnswerNextDialog(const char* name, int afterMs = 50);
// The item captioned `caption` ("&" left out) in the window's menus, or null.
QAction* FindMenuItem(TFrmMain& window, const QString& caption);
// Adds a "Find and Replace" step through the Add Step menu and types its
// phrases into the step editor, as a person would.
void AddFindAndReplace(TFrmMain& window, const QString& phrase, const QString& with);
