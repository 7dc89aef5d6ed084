// The pieces of the main window that its tools (columns, picker, menu files)
// work on, handed to them so they need not know the window itself.
#pragma once

#include <functional>

class QLabel;
class QMainWindow;
class QTableView;
class TApplication;
class TFileListModel;
class TStepEditor;

struct TWindowParts {
  QMainWindow& window;
  TApplication& app;
  QTableView& list;
  TFileListModel& model;
  TStepEditor& stepEditor;
  QLabel& status;                // the status panel for messages
  std::function<void()> preview;  // runs the preview
  std::function<void()> refresh = {};  // reads the folder again; none: nothing
};
