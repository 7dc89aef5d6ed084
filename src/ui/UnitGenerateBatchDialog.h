// "Generate Batch File": asks for the file name and the command that renames
// one file, and hands them to the writer on "Save".
#pragma once

#include <QDialog>
#include <functional>

#include "rename/UnitGenerateBatch.h"

class QLineEdit;
class QPushButton;

class TFrmGenerateBatchDialog : public QDialog {
  Q_OBJECT

 public:
  // `save` writes the file for the edited values; the dialog closes when it
  // returns true and stays open (it has shown why) when it returns false.
  TFrmGenerateBatchDialog(const TfrmGenerateBatch& batch,
                          std::function<bool(const TfrmGenerateBatch&, QWidget&)> save,
                          QWidget* parent = nullptr);

  TfrmGenerateBatch Batch() const;

 private:
  std::function<bool(const TfrmGenerateBatch&, QWidget&)> save_;
  QLineEdit* name_;
  QLineEdit* command_;
  QPushButton* saveButton_;
};
