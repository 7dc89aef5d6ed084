// The meta-variable picker: the catalogue by family with its captions, a
// format part, and the value of the chosen variable for one file. "Insert"
// closes with the variable (and its format part) as `Chosen`.
#pragma once

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "cli/UnitVariablesCommand.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class TSession;

// "?name?" with `format` as "?name:format?"; the variable as it is when the
// format is empty.
std::u16string WithFormatPart(std::u16string_view variable, std::u16string_view format);

class TFrmMetaVariables : public QDialog {
  Q_OBJECT

 public:
  // `file` is the full path of the file whose values are shown; empty for none.
  TFrmMetaVariables(TSession& session, std::u16string file, QWidget* parent = nullptr);

  // Shows the page of `family` (a name of VariableFamilies); unknown names
  // leave the page as it is.
  void ShowFamily(std::u16string_view family);
  // Selects the variable named `variable` on the shown page; false when the
  // page holds none of that name.
  bool SelectVariable(std::u16string_view variable);
  QLineEdit& FormatBox() { return *format_; }
  QLabel& ValueLabel() { return *value_; }
  // The selected variable with the format part; empty when none is selected.
  std::u16string Chosen() const;

 private:
  void FillFamily(int row);
  void ShowValue();

  TSession& session_;
  std::u16string file_;
  std::vector<TVariableRow> catalogue_;
  std::vector<std::u16string_view> families_;
  QListWidget* familyList_ = nullptr;
  QTreeWidget* variables_ = nullptr;
  QLineEdit* format_ = nullptr;
  QLabel* value_ = nullptr;
  QLabel* thumbnail_ = nullptr;
};
