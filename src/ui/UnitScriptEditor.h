// The script editor: every step as its numbered sentence (text parameters
// bold, choices underlined, the " >> " markers of Skip/Execute, disabled
// steps faded), the editor of the selected step below, and the commands on
// steps: add, move up and down (Shift: top and bottom), drag to reorder,
// toggle, reset, delete (Shift: reset), Auto-Split.
#pragma once

#include <QWidget>
#include <functional>

class QListWidget;
class QMenu;
class TFrmScriptActions;
class TStepEditor;
class TAutoSplitSource;
class TScriptStep;

class TScriptEditor : public QWidget {
  Q_OBJECT

 public:
  // REQUIRES: `script` and `names` outlive the editor.
  TScriptEditor(TFrmScriptActions& script, const TAutoSplitSource& names,
                QWidget* parent = nullptr);

  // Draws the sentences again (after any change of the script); the controls
  // of the step being edited stay.
  void Redraw();
  // Draws everything again, the step's controls too (after a script loaded).
  void Reload();
  // The menu of the step kinds; choosing one appends a step.
  QMenu* AddStepMenu() const { return addMenu_; }
  TStepEditor& StepEditor() { return *stepEditor_; }
  int Selected() const;
  void Select(int index);

 private:
  void BuildButtons();
  void MoveSelected(bool up);
  void DeleteSelected();
  void ToggleSelected();
  void ResetSelected();
  void AutoSplitSelected();
  void ShowStepEditor();
  bool ShiftHeld() const;

  TFrmScriptActions& script_;
  const TAutoSplitSource& names_;
  QListWidget* list_;
  TStepEditor* stepEditor_;
  QMenu* addMenu_;
  bool redrawing_ = false;
  TScriptStep* shownStep_ = nullptr;  // the step whose controls are shown
  int shownCount_ = -1;               // the number of steps when they were built
};
