// The editor of one step, built from the parameters its kind declares and
// laid out as the kind's sentence: an edit box per text (a spin box where the
// text has a range), a drop-down list per choice, a check box per flag and
// radio buttons per group of "rb" flags, between the sentence's labels. Every edit goes straight into the step. Text boxes offer the insert
// menu of meta variables.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "config/UnitInsertMenuFile.h"
#include "config/UnitMenuEntry.h"

class QVBoxLayout;
struct TLayoutPiece;
class QLineEdit;
class QMenu;
class TScriptStep;

// A readable label for a parameter name: "txtReplacePhrase" -> "Replace phrase".
QString ParameterLabel(std::u16string_view name);

class TStepEditor : public QWidget {
  Q_OBJECT

 public:
  explicit TStepEditor(QWidget* parent = nullptr);

  // Shows the controls of `step` (null: none). The step must outlive the
  // editor's showing it.
  void Show(TScriptStep* step);
  void SetInsertMenu(std::vector<TMenuEntry> menu) { insertMenu_ = std::move(menu); }
  // Opens the meta-variable picker for the "More ..." items of the insert
  // menu; without one those items insert nothing.
  using TPickerOpener = std::function<void(TInsertAction, QLineEdit*)>;
  void SetPickerOpener(TPickerOpener opener) { openPicker_ = std::move(opener); }

 private:
  QWidget* PieceWidget(const TLayoutPiece& piece, size_t lineLength);
  QWidget* TextControl(int index);
  QWidget* ChoiceControl(int index);
  QWidget* FlagControl(int index);
  void OfferInsertMenu(QLineEdit* edit);
  void FillMenu(QMenu& menu, const std::vector<TMenuEntry>& entries, QLineEdit* edit);

  QVBoxLayout* outer_;
  QWidget* body_ = nullptr;  // the shown step's controls
  TScriptStep* step_ = nullptr;
  std::vector<TMenuEntry> insertMenu_;
  TPickerOpener openPicker_;
};
