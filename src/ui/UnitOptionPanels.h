// The renaming options beside the script, bound to the main-window model:
// counting, case, matching style and the text file. Every edit goes into the
// model and is announced, so the preview follows.
#pragma once

#include <QTabWidget>
#include <functional>

struct TMainModel;

class TOptionPanels : public QTabWidget {
  Q_OBJECT

 public:
  // REQUIRES: `model` outlives the panels. `changed` is called after every edit.
  TOptionPanels(TMainModel& model, std::function<void()> changed, QWidget* parent = nullptr);

  // Shows the model's values again (after a script was loaded).
  void Reload();

 private:
  QWidget* Counting();
  QWidget* Case();
  QWidget* Matching();
  QWidget* TextFile();

  TMainModel& model_;
  std::function<void()> changed_;
  std::vector<std::function<void()>> reloads_;  // one per control: model -> control
};
