// What the window tests share: the services a window runs on over a
// temporary application folder, answering the next modal dialog, finding a
// menu item by caption and adding a step through the menus.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "cli/UnitCliServices.h"
#include "cli/UnitCommandOutput.h"
#include "metadata/UnitFileTags.h"
#include "platform/UnitFileSystem.h"
#include "support/UnitFakeServices.h"
#include "support/UnitTempFolder.h"

class QAction;
class QWidget;
class TFrmMain;

// The real file system under a temporary folder `root`, with
// TALLOWICK_HOME at root + "/home".
struct TWindowTestServices {
  TWindowTestServices();

  TTempFolder temp;
  std::u16string root;
  std::unique_ptr<TFileSystem> fs = NewPosixFileSystem();
  TFixedClock clock{46000};
  TMapEnvironment env;
  TFileTagReader tags{*fs, u"/nowhere/debug"};
  TStringOutput output;
  TCliServices services{*fs, clock, env, tags, output};
};

// Runs `answer` on the modal dialog that is showing `afterMs` from now.
void WithNextDialog(std::function<void(QWidget&)> answer, int afterMs = 50);
// Clicks the button named `name` (object name or caption) of the next modal dialog.
void AnswerNextDialog(const char* name, int afterMs = 50);
// The item captioned `caption` ("&" left out) in the window's menus, or null.
QAction* FindMenuItem(TFrmMain& window, const QString& caption);
// Adds a "Find and Replace" step through the Add Step menu and types its
// phrases into the step editor, as a person would.
void AddFindAndReplace(TFrmMain& window, const QString& phrase, const QString& with);
